#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenuBar>
#include <QSplitter>

#include "AboutDlg.h"
#include "HelpPath.h"
#include "ModulesView.h"
#include "OndreloView.h"
#include "Resources.h"
#include "SplashWnd.h"
#include "ondrelo/OndRegistryHandler.h"

namespace {

CMainFrame::UrlOpener& Opener() {
    static CMainFrame::UrlOpener opener = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

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
    UrlOpener previous = Opener();
    Opener() = std::move(opener);
    return previous;
}

CMainFrame::CMainFrame() {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Ondrelo"));
    setWindowIcon(ondrelo::host::ProgramIcon());
    setMinimumSize(kMinWidth, kMinHeight);
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
    const std::string path = ondrelo::host::HelpPagePath(folder, page);
    Opener()(QUrl::fromLocalFile(QString::fromStdString(path)));
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
