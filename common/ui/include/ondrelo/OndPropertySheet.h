// Plain building blocks with the wizard's look: a tabbed sheet whose tab
// captions are blue (the selected one black), its pages, and a child dialog.
// All paint their background in the system window colour; their pages and
// dialogs build their controls once, when first shown (OnInitDialog).
#pragma once

#include <QColor>
#include <QTabWidget>
#include <QWidget>
#include <vector>

#include "ondrelo/common_export.h"

class ONDCOMMON_EXPORT COndPropertyPage : public QWidget {
public:
    explicit COndPropertyPage(int templateId, QWidget* parent = nullptr);
    int GetTemplateId() const { return m_templateId; }
    // The caption of the page's tab.
    void SetCaption(const QString& caption) { m_caption = caption; }
    QString GetCaption() const { return m_caption; }
    bool IsCreated() const { return m_created; }
    void EnsureCreated();

    virtual bool OnSetActive() { return true; }
    // False keeps the page selected.
    virtual bool OnKillActive() { return true; }

protected:
    virtual bool OnInitDialog() { return true; }

private:
    int m_templateId;
    QString m_caption;
    bool m_created = false;
};

class ONDCOMMON_EXPORT COndPropertySheet : public QTabWidget {
public:
    static const QColor kCaptionColour;          // blue
    static const QColor kSelectedCaptionColour;  // black

    explicit COndPropertySheet(QWidget* parent = nullptr);

    // Takes ownership of the page; its caption names the tab.
    void AddPage(COndPropertyPage* page);
    int GetPageCount() const { return count(); }
    COndPropertyPage* GetPage(int index) const;
    COndPropertyPage* GetActivePage() const { return GetPage(currentIndex()); }
    int GetActiveIndex() const { return currentIndex(); }
    bool SetActivePage(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnCurrentChanged(int index);
    void UpdateCaptionColours();

    int m_shown = -1;
    bool m_switching = false;
};

class ONDCOMMON_EXPORT COndSubDlg : public QWidget {
public:
    COndSubDlg(int templateId, QWidget* parent);
    int GetTemplateId() const { return m_templateId; }
    // Builds the controls (once) and shows the dialog.
    bool Create();
    bool IsCreated() const { return m_created; }

protected:
    virtual bool OnInitDialog() { return true; }
    void showEvent(QShowEvent* event) override;

private:
    int m_templateId;
    bool m_created = false;
};
