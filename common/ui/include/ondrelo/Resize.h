// Proportional resizing: every registered control edge moves by a fraction
// of the window's change in size. CResize does the work for one window; the
// dialog, page, sheet and form-view classes below carry one each.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTabWidget>
#include <string>
#include <vector>

#include "ondrelo/Layout.h"
#include "ondrelo/common_export.h"

class ONDCOMMON_EXPORT CResize : public QObject {
public:
    enum EFlags : unsigned {
        eNoSizeGrip = 0x01,
        eFixedWidth = 0x02,
        eFixedHeight = 0x04,
        eNoMinSize = 0x08,  // do not take the initial size as the minimum
        eNoClipChildren = 0x10,
        eNoTransparentGroups = 0x20,  // leave group boxes, check boxes and radios as they are
    };
    static constexpr int kSizeGripId = 32767;

    explicit CResize(QWidget* window, unsigned flags = 0);
    ~CResize() override;

    // At the window's initialisation: remembers its size (the minimum unless
    // eNoMinSize), adds the size grip unless eNoSizeGrip, applies the limits
    // and follows the window's size changes from now on.
    void Init();
    // Registers the control with that number, or adds to the fractions of
    // one already registered. Unknown numbers do nothing.
    void SetResize(int id, const REALRECT& fractions);
    void SetResize(int id, float left, float top, float right, float bottom) {
        SetResize(id, REALRECT{left, top, right, bottom});
    }
    // The same for a control without a number.
    void SetResize(QWidget* control, const REALRECT& fractions);
    void SetMinSize(SIZE size);
    void SetMaxSize(SIZE size);
    // Lays the controls out for the window's current size.
    void Size();
    // The window's size limits as they apply now.
    ondrelo::STrackLimits GetMinMaxInfo() const;

    // Restores or stores the window's placement as the raw-bytes entry
    // "WindowPlacement" of the section of the application's profile.
    // A missing or damaged entry leaves the window as it is.
    bool LoadPlacement(const std::string& section);
    void SavePlacement(const std::string& section);

    unsigned Flags() const { return m_flags; }
    QWidget* Window() const { return m_window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SItem {
        QPointer<QWidget> control;
        REALRECT fractions;
        CRealRect position;
        bool ownsWindow = false;
    };
    void ApplyLimits();

    QWidget* m_window;
    unsigned m_flags;
    std::vector<SItem> m_items;
    SIZE m_last{};
    SIZE m_initial{};
    bool m_initialised = false;
    SIZE m_minSize{};
    SIZE m_maxSize{};
};

// A dialog laid out by CResize. Build the controls in OnInitDialog (called
// once, before the dialog is first shown) and register them there.
class ONDCOMMON_EXPORT CResizeDialog : public QDialog {
public:
    CResizeDialog(int templateId, QWidget* parent = nullptr, unsigned flags = 0);
    int GetTemplateId() const { return m_templateId; }
    CResize& Resizer() { return m_resize; }
    // Builds the controls now instead of at the first show.
    void EnsureInitialised();

protected:
    virtual bool OnInitDialog() { return true; }
    void showEvent(QShowEvent* event) override;

private:
    int m_templateId;
    CResize m_resize;
    bool m_initialised = false;
};

// A page laid out by CResize; it never has a size grip.
class ONDCOMMON_EXPORT CResizePropertyPage : public QWidget {
public:
    explicit CResizePropertyPage(int templateId, QWidget* parent = nullptr, unsigned flags = 0);
    int GetTemplateId() const { return m_templateId; }
    CResize& Resizer() { return m_resize; }
    void EnsureInitialised();

protected:
    virtual bool OnInitDialog() { return true; }
    void showEvent(QShowEvent* event) override;

private:
    int m_templateId;
    CResize m_resize;
    bool m_initialised = false;
};

// A tabbed dialog laid out by CResize; its tab widget has fractions
// (0, 0, 1, 1) unless the caller registers it otherwise.
class ONDCOMMON_EXPORT CResizePropertySheet : public QDialog {
public:
    explicit CResizePropertySheet(QWidget* parent = nullptr, unsigned flags = 0);
    QTabWidget* Tabs() const { return m_tabs; }
    CResize& Resizer() { return m_resize; }
    void EnsureInitialised();

protected:
    virtual bool OnInitDialog() { return true; }
    void showEvent(QShowEvent* event) override;

private:
    QTabWidget* m_tabs;
    CResize m_resize;
    bool m_initialised = false;
};

// A view laid out by CResize.
class ONDCOMMON_EXPORT CResizeFormView : public QWidget {
public:
    explicit CResizeFormView(int templateId, QWidget* parent = nullptr, unsigned flags = 0);
    int GetTemplateId() const { return m_templateId; }
    CResize& Resizer() { return m_resize; }
    void EnsureInitialised();

protected:
    virtual bool OnInitDialog() { return true; }
    void showEvent(QShowEvent* event) override;

private:
    int m_templateId;
    CResize m_resize;
    bool m_initialised = false;
};
