#include "OndreloApp.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "MainFrame.h"
#include "ModulesView.h"
#include "OndreloView.h"
#include "SplashWnd.h"
#include "ondrelo/Common.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/ModuleCatalogue.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/com.h"

const char* const COndreloApp::kNoSplashSwitch = "--nosplash";
const char* const COndreloApp::kFailedLoadingPlugins = "Failed Loading Plugins";

COndreloApp::COndreloApp() = default;

COndreloApp::~COndreloApp() {
    ExitInstance();
}

bool COndreloApp::InitInstance(const QStringList& arguments) {
    // 1. The component library for this thread, a single-threaded apartment.
    m_comInitialised = SUCCEEDED(CoInitialize(nullptr));
    // 2. Common.
    InitCommonDLL();
    m_commonInitialised = true;
    // 3. Per-user settings of the framework (nothing reads them).
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("Ondrelo"));
    // 5. The splash switch of the command line.
    CSplashWnd::EnableSplashScreen(!arguments.contains(QString::fromLatin1(kNoSplashSwitch)));
    // 6. The main window, hidden, with its panes; its creation shows the splash.
    m_mainFrame = std::make_unique<CMainFrame>();
    if (!m_mainFrame->Create()) {
        return false;
    }
    // 7. The catalogue, between the tree and the module pane.
    m_pCatalogue = new CModuleCatalogue(
        m_mainFrame->ModulesView(), ondrelo::ToHwnd(m_mainFrame->ModulePane()), [](HWND pane) {
            const QWidget* widget = ondrelo::ToWidget(pane);
            return widget != nullptr ? RECT{0, 0, widget->width(), widget->height()} : RECT{};
        });
    // 8. The modules.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (!m_pCatalogue->Load()) {
        QGuiApplication::restoreOverrideCursor();
        CSplashWnd::HideSplashScreen();
        CCommon::ShowMessageBox(kFailedLoadingPlugins, nullptr, MB_OK);
        return false;
    }
    // 9. Tree and pane talk to the catalogue from now on.
    m_mainFrame->ModulesView()->SetCatalogue(m_pCatalogue);
    m_mainFrame->ModulePane()->SetHost(m_pCatalogue);
    QGuiApplication::restoreOverrideCursor();
    // 10. Maximized; the screen-sized geometry also holds where no window
    // manager carries out the maximizing.
    if (const QScreen* screen = m_mainFrame->screen()) {
        m_mainFrame->setGeometry(screen->availableGeometry());
    }
    m_mainFrame->showMaximized();
    return true;
}

void COndreloApp::ExitInstance() {
    // The main window goes first, and with the module pane every module window.
    if (m_mainFrame) {
        m_mainFrame->ModulesView()->SetCatalogue(nullptr);
        m_mainFrame->ModulePane()->SetHost(nullptr);
        m_mainFrame.reset();
    }
    if (m_pCatalogue != nullptr) {
        m_pCatalogue->ReleaseAll();
        delete m_pCatalogue;
        m_pCatalogue = nullptr;
    }
    if (m_commonInitialised) {
        TermCommonDLL();
        m_commonInitialised = false;
    }
    if (m_comInitialised) {
        CoUninitialize();
        m_comInitialised = false;
    }
}
