#include "OndreloApp.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <string>

#include "MainFrame.h"
#include "ModulesView.h"
#include "OndreloView.h"
#include "SplashWnd.h"
#include "StoreCheck.h"
#include "ondrelo/Common.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/ModuleCatalogue.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"

const char* const COndreloApp::kNoSplashSwitch = "--nosplash";
const char* const COndreloApp::kFailedLoadingPlugins = "Failed Loading Plugins";
const char* const COndreloApp::kNoWizardInstalled = "No wizard is installed.";

namespace {

// The pane's note for a store without modules: which store, and how to
// register the wizards.
QString NoWizardNote(const std::string& store) {
    return QStringLiteral(
               "<p><b>%1</b></p><p>The settings store %2 lists no wizard module that could be loaded.</p>"
               "<p>To register the wizards built in a source tree, start the program there "
               "with <tt>tools/run</tt>; after installing, run <tt>ondrelo-register</tt>.</p>")
        .arg(QString::fromLatin1(COndreloApp::kNoWizardInstalled),
             QString::fromStdString(store).toHtmlEscaped());
}

}  // namespace

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
        // Say which store was read and what is wrong with it, on standard
        // error too: the window may not be where the user looks.
        const std::string store = ondrelo::registry::StorePath();
        const std::string text =
            std::string(kFailedLoadingPlugins) + "\n\n" +
            ondrelo::host::StoreProblemText(store, ondrelo::host::CheckStoreFile(store));
        std::fprintf(stderr, "Ondrelo: %s\n", text.c_str());
        CCommon::ShowMessageBox(text, nullptr, MB_OK);
        return false;
    }
    if (m_pCatalogue->Entries().empty()) {
        m_mainFrame->ModulePane()->ShowNote(NoWizardNote(ondrelo::registry::StorePath()));
    }
    // 9. Tree and pane talk to the catalogue from now on.
    m_mainFrame->ModulesView()->SetCatalogue(m_pCatalogue);
    m_mainFrame->ModulePane()->SetHost(m_pCatalogue);
    QGuiApplication::restoreOverrideCursor();
    // 10. Maximized, over a normal place on the screen that un-maximizing
    // returns to.
    m_mainFrame->FitToScreen();
    m_mainFrame->showMaximized();
    if (CSplashWnd* splash = CSplashWnd::Instance()) {
        splash->raise();
    }
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
