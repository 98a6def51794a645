// The application object: start-up and shutdown in their fixed order.
#pragma once

#include <QStringList>
#include <memory>

class CMainFrame;
class CModuleCatalogue;

class COndreloApp {
public:
    static const char* const kNoSplashSwitch;  // "--nosplash"
    static const char* const kFailedLoadingPlugins;
    // The module pane's note when no module is installed.
    static const char* const kNoWizardInstalled;

    COndreloApp();
    ~COndreloApp();
    COndreloApp(const COndreloApp&) = delete;
    COndreloApp& operator=(const COndreloApp&) = delete;

    // Initialises the component library and Common, creates the main window
    // and loads the modules; shows the main window maximized. False when
    // start-up failed; ExitInstance must run in either case.
    bool InitInstance(const QStringList& arguments);
    // Destroys the main window (and with it every module window), releases
    // the modules, ends Common and the component library. Safe to call
    // after a failed or partial start-up, and more than once.
    void ExitInstance();

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    CModuleCatalogue* Catalogue() const { return m_pCatalogue; }

private:
    std::unique_ptr<CMainFrame> m_mainFrame;
    CModuleCatalogue* m_pCatalogue = nullptr;
    bool m_comInitialised = false;
    bool m_commonInitialised = false;
};
