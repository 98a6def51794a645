// The main window: the module tree on the left and the module pane on the
// right in a splitter, the File and Help menus, F6 and Shift+F6 moving the
// focus between the panes, and the help and About commands.
#pragma once

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <string>

class CModulesView;
class COndreloView;
class QAction;
class QSplitter;

class CMainFrame : public QMainWindow {
public:
    static constexpr int kTreeWidth = 170;
    static constexpr int kMinWidth = 700;
    static constexpr int kMinHeight = 460;

    // How help pages are opened; the desktop's default opener unless
    // replaced (tests record the address instead).
    using UrlOpener = std::function<bool(const QUrl&)>;
    static UrlOpener SetUrlOpener(UrlOpener opener);

    CMainFrame();
    ~CMainFrame() override;

    // The smallest size the user can give the window: 700 x 460, but never
    // more than the screen offers (a small screen, or a large scale factor).
    static QSize MinimumTrackSize(const QSize& available);
    // The window's place when it is not maximized: three quarters of the
    // screen's free area in each direction (at least the minimum size, at
    // most the whole area), centred, so that un-maximizing leaves the
    // title bar on screen.
    static QRect NormalGeometry(const QRect& available);
    // Fits the minimum size to the screen the window is on and places the
    // window there as NormalGeometry says.
    void FitToScreen();

    // Builds the splitter with both panes and shows the splash window;
    // false when the window cannot be made.
    bool Create();

    CModulesView* ModulesView() const { return m_tree; }
    COndreloView* ModulePane() const { return m_view; }
    QSplitter* Splitter() const { return m_splitter; }
    // The menu command with the given number (57665, 32771, 32772, 57664).
    QAction* Command(int id) const;

    // Moves the focus to the next (or previous) splitter pane.
    void ActivateNextPane(bool next);

    void OnHelpContents();
    void OnHelpTutorials();
    void OnAppAbout();

private:
    // Opens one page of the folder in the setting "helppath"; nothing when
    // the setting is empty.
    void OpenHelpPage(const char* page);
    QAction* AddCommand(QMenu* menu, const QString& text, int id);

    QSplitter* m_splitter = nullptr;
    CModulesView* m_tree = nullptr;
    COndreloView* m_view = nullptr;
};
