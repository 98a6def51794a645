#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>

#include "AboutDlg.h"
#include "HelpPath.h"
#include "ModulesView.h"
#include "OndreloView.h"
#include "Resources.h"
#include "SplashWnd.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/QtWindow.h"

namespace {

// Shows the wait cursor while it lives.
class CWaitCursor {
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

}  // namespace

CMainFrame::UrlOpener CMainFrame::SetUrlOpener(UrlOpener opener) {
    return ondrelo::SetUrlOpener(std::move(opener));
}

CMainFrame::CMainFrame() {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Ondrelo"));
    setWindowIcon(ondrelo::host::ProgramIcon());
    FitToScreen();
}

QSize CMainFrame::MinimumTrackSize(const QSize& available) {
    QSize size(kMinWidth, kMinHeight);
    if (available.isValid() && !available.isEmpty()) {
        size = size.boundedTo(available);
    }
    return size;
}

QRect CMainFrame::NormalGeometry(const QRect& available) {
    if (!available.isValid() || available.isEmpty()) {
        return QRect(QPoint(0, 0), QSize(kMinWidth, kMinHeight));
    }
    const QSize size = QSize(available.width() * 3 / 4, available.height() * 3 / 4)
                           .expandedTo(MinimumTrackSize(available.size()))
                           .boundedTo(available.size());
    QRect rect(QPoint(0, 0), size);
    rect.moveCenter(available.center());
    return rect;
}

void CMainFrame::FitToScreen() {
    const QScreen* display = screen();
    if (display == nullptr) {
        display = QGuiApplication::primaryScreen();
    }
    if (display == nullptr) {
        setMinimumSize(kMinWidth, kMinHeight);
        return;
    }
    const QRect available = display->availableGeometry();
    setMinimumSize(MinimumTrackSize(available.size()));
    // The frame (title bar included) goes to the top-left corner of the
    // place: move() places the frame, resize() the inside.
    const QRect normal = NormalGeometry(available);
    resize(normal.size());
    move(normal.topLeft());
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::AddCommand(QMenu* menu, const QString& text, int id) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::number(id));
    action->setData(id);
    return action;
}

QAction* CMainFrame::Command(int id) const {
    return findChild<QAction*>(QString::number(id));
}

bool CMainFrame::Create() {
    using namespace ondrelo::host;
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(AddCommand(file, QStringLiteral("E&xit"), ID_APP_EXIT), &QAction::triggered, this,
            &QWidget::close);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(AddCommand(help, QStringLiteral("&Contents"), ID_HELP_CONTENTS), &QAction::triggered,
            this, &CMainFrame::OnHelpContents);
    connect(AddCommand(help, QStringLiteral("&Tutorials"), ID_HELP_TUTORIALS), &QAction::triggered,
            this, &CMainFrame::OnHelpTutorials);
    help->addSeparator();
    connect(AddCommand(help, QStringLiteral("&About Ondrelo..."), ID_APP_ABOUT),
            &QAction::triggered, this, &CMainFrame::OnAppAbout);

    // Accelerators: F6 and Shift+F6 cycle through the panes.
    auto* nextPane = new QAction(this);
    nextPane->setObjectName(QStringLiteral("NextPane"));
    nextPane->setShortcut(QKeySequence(Qt::Key_F6));
    connect(nextPane, &QAction::triggered, this, [this] { ActivateNextPane(true); });
    auto* previousPane = new QAction(this);
    previousPane->setObjectName(QStringLiteral("PreviousPane"));
    previousPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(previousPane, &QAction::triggered, this, [this] { ActivateNextPane(false); });
    addAction(nextPane);
    addAction(previousPane);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setChildrenCollapsible(false);
    m_tree = new CModulesView(m_splitter);
    m_view = new COndreloView(m_splitter);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_view);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kTreeWidth, kMinWidth - kTreeWidth});
    setCentralWidget(m_splitter);
    m_tree->OnInitialUpdate();

    CSplashWnd::ShowSplashScreen(this);
    return true;
}

void CMainFrame::ActivateNextPane(bool next) {
    // Two panes: the next and the previous one are the same, the other one.
    Q_UNUSED(next);
    QWidget* focus = QApplication::focusWidget();
    const bool inTree = focus != nullptr && (focus == m_tree || m_tree->isAncestorOf(focus));
    if (inTree) {
        m_view->TakeFocus();
    } else {
        m_tree->setFocus(Qt::OtherFocusReason);
    }
}

void CMainFrame::OpenHelpPage(const char* page) {
    CWaitCursor wait;
    std::string folder;
    if (!COndRegistryHandler::GetSettingsValue(ondrelo::host::kHelpPathSetting, folder) ||
        folder.empty()) {
        return;
    }
    // A missing page or no browser to start is reported, not passed over.
    ondrelo::OpenInBrowser(ondrelo::host::HelpPagePath(folder, page), ondrelo::ToHwnd(this));
}

void CMainFrame::OnHelpContents() {
    OpenHelpPage(ondrelo::host::kHelpContentsPage);
}

void CMainFrame::OnHelpTutorials() {
    OpenHelpPage(ondrelo::host::kHelpTutorialsPage);
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about(this);
    about.exec();
}
