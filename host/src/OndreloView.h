// The module pane: every module's wizard window lives in it, only the
// selected one visible. Every size change goes to the catalogue's host
// interface, which fits the visible module to the pane; every key message
// for the pane or a window inside it is first offered to the visible module
// and otherwise gets the pane's dialog-style navigation.
#pragma once

#include <QWidget>

#include "ondrelo/ModuleCatalogue.h"

class QKeyEvent;
class QLabel;

class COndreloView : public QWidget {
public:
    explicit COndreloView(QWidget* parent = nullptr);
    ~COndreloView() override;

    // The catalogue's host interface (not owned); null until the modules
    // are loaded.
    void SetHost(IModuleHost* host) { m_host = host; }
    IModuleHost* Host() const { return m_host; }

    // Shows a note in the middle of the pane while no module window is
    // there to fill it (an empty text removes it).
    void ShowNote(const QString& text);
    QLabel* Note() const { return m_note; }

    // Gives the focus to the first control of the pane, or the pane itself.
    void TakeFocus();

    // Dialog-style keyboard navigation over the pane and its children: Tab
    // and Shift+Tab cycle through the controls, Return presses the focused
    // or the default button. True when the key was used.
    bool DialogNavigate(QWidget* target, QKeyEvent* key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Handles a key message for a window of the pane; true when consumed.
    bool PreTranslateMessage(QWidget* target, QEvent* event);

    IModuleHost* m_host = nullptr;
    QLabel* m_note = nullptr;
    // The key event last offered, to recognise it when it is passed on to
    // a parent (compared only, never dereferenced).
    const QEvent* m_lastKey = nullptr;
};
