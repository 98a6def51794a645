// The main window, its menu and help commands, the About box and the
// module pane's routing, each without the rest of the program.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <filesystem>
#include <fstream>

#include "AboutDlg.h"
#include "HostTestSupport.h"
#include "MainFrame.h"
#include "ModulesView.h"
#include "OndreloView.h"
#include "SplashWnd.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/Format.h"
#include "ondrelo/HyperLink.h"
#include "ondrelo/ModuleCatalogue.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/QtWindow.h"

namespace {

using hosttest::CTempStore;

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        CSplashWnd::EnableSplashScreen(false);
        ASSERT_TRUE(m_frame.Create());
    }
    void TearDown() override { CSplashWnd::EnableSplashScreen(true); }
    CMainFrame m_frame;
};

TEST_F(FrameTest, CannotShrinkBelowMinimumAndStartsWithTheTree170Wide) {
    EXPECT_EQ(m_frame.minimumSize(), QSize(700, 460));
    m_frame.show();
    m_frame.resize(300, 200);
    QApplication::processEvents();
    EXPECT_GE(m_frame.width(), 700);
    EXPECT_GE(m_frame.height(), 460);
    EXPECT_EQ(m_frame.Splitter()->sizes().value(0), 170);
    EXPECT_EQ(m_frame.Splitter()->widget(0), m_frame.ModulesView());
    EXPECT_EQ(m_frame.Splitter()->widget(1), m_frame.ModulePane());
}

TEST_F(FrameTest, MenuHoldsTheCommandsByNumber) {
    const QList<QAction*> menus = m_frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Help");
    struct Case {
        int id;
        const char* text;
    };
    for (const Case& c : {Case{57665, "E&xit"}, Case{32771, "&Contents"}, Case{32772, "&Tutorials"},
                          Case{57664, "&About Ondrelo..."}}) {
        QAction* action = m_frame.Command(c.id);
        ASSERT_NE(action, nullptr) << c.id;
        EXPECT_EQ(action->text(), c.text);
    }
    m_frame.show();
    m_frame.Command(57665)->trigger();
    EXPECT_FALSE(m_frame.isVisible());
}

TEST_F(FrameTest, F6AndShiftF6MoveTheFocusBetweenThePanes) {
    auto* edit = new QLineEdit(m_frame.ModulePane());
    m_frame.show();
    m_frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_frame));
    m_frame.ModulesView()->setFocus();
    ASSERT_TRUE(m_frame.ModulesView()->hasFocus());
    QTest::keyClick(m_frame.ModulesView(), Qt::Key_F6);
    EXPECT_TRUE(edit->hasFocus());  // the pane's first control
    QTest::keyClick(edit, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(m_frame.ModulesView()->hasFocus());
    QTest::keyClick(m_frame.ModulesView(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(edit->hasFocus());
    delete edit;
    // An empty pane takes the focus itself.
    m_frame.ModulesView()->setFocus();
    m_frame.ActivateNextPane(true);
    EXPECT_TRUE(m_frame.ModulePane()->hasFocus());
}

TEST_F(FrameTest, HelpCommandsOpenPagesOfTheHelpFolder) {
    std::vector<QUrl> opened;
    bool started = true;
    const CMainFrame::UrlOpener previous = CMainFrame::SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return started;
    });
    const std::filesystem::path root =
        std::filesystem::path(testing::TempDir()) / ("ondrelo_help_" + std::to_string(::getpid()));
    for (const char* folder : {"help", "help dir"}) {
        std::filesystem::create_directories(root / folder);
        std::ofstream(root / folder / "index.html") << "<html></html>\n";
        std::ofstream(root / folder / "index-t.html") << "<html></html>\n";
    }
    struct Case {
        std::string helppath;
        std::string contents;
        std::string tutorials;
    };
    const Case cases[] = {
        {(root / "help").string(), (root / "help" / "index.html").string(),
         (root / "help" / "index-t.html").string()},
        {(root / "help dir").string() + "/", (root / "help dir" / "index.html").string(),
         (root / "help dir" / "index-t.html").string()},
    };
    ondrelo::CScriptedPrompt prompt;
    for (const Case& c : cases) {
        CTempStore store;
        store.SetHelpPath(c.helppath);
        opened.clear();
        m_frame.Command(32771)->trigger();
        m_frame.Command(32772)->trigger();
        ASSERT_EQ(opened.size(), 2u) << c.helppath;
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(c.contents)));
        EXPECT_EQ(opened[1], QUrl::fromLocalFile(QString::fromStdString(c.tutorials)));
    }
    EXPECT_TRUE(prompt.Records().empty());
    {
        CTempStore empty;  // no setting at all
        opened.clear();
        m_frame.OnHelpContents();
        empty.SetHelpPath("");  // an empty setting
        m_frame.OnHelpTutorials();
        EXPECT_TRUE(opened.empty());
        EXPECT_TRUE(prompt.Records().empty());
    }
    {
        // A folder without the pages, and a browser that does not start,
        // are reported rather than passed over in silence.
        CTempStore store;
        store.SetHelpPath((root / "nowhere").string());
        opened.clear();
        m_frame.OnHelpContents();
        EXPECT_TRUE(opened.empty());
        store.SetHelpPath((root / "help").string());
        started = false;
        m_frame.OnHelpTutorials();
        EXPECT_EQ(opened.size(), 1u);
        const std::string contents = (root / "nowhere" / "index.html").string();
        const std::string tutorials = (root / "help" / "index-t.html").string();
        EXPECT_EQ(prompt.MessageTexts(),
                  (std::vector<std::string>{
                      ondrelo::FormatText(ondrelo::kBrowserFileMissing, {contents}),
                      ondrelo::FormatText(ondrelo::kBrowserNotStarted, {tutorials})}));
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // wait cursor restored
    CMainFrame::SetUrlOpener(previous);
    std::filesystem::remove_all(root);
}

// The window and the screen: also run at a 200 % scale factor, where the
// offscreen screen offers less than the usual minimum size.
TEST(HostScreen, MinimumAndNormalSizeStayWithinTheScreen) {
    struct Case {
        QRect available;
        QSize minimum;
        QRect normal;
    };
    const Case cases[] = {
        {QRect(0, 0, 1920, 1040), QSize(700, 460), QRect(240, 130, 1440, 780)},
        // Three quarters would be below the minimum size.
        {QRect(0, 24, 800, 576), QSize(700, 460), QRect(50, 82, 700, 460)},
        // A screen smaller than the minimum size (200 % of 1280 x 800).
        {QRect(0, 0, 640, 400), QSize(640, 400), QRect(0, 0, 640, 400)},
        {QRect(1920, 0, 1280, 1024), QSize(700, 460), QRect(2080, 128, 960, 768)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.available.width());
        EXPECT_EQ(CMainFrame::MinimumTrackSize(c.available.size()), c.minimum);
        EXPECT_EQ(CMainFrame::NormalGeometry(c.available), c.normal);
    }

    CSplashWnd::EnableSplashScreen(false);
    CMainFrame frame;
    ASSERT_TRUE(frame.Create());
    frame.FitToScreen();
    frame.showMaximized();
    QApplication::processEvents();
    const QRect available = frame.screen()->availableGeometry();
    EXPECT_LE(frame.minimumWidth(), available.width());
    EXPECT_LE(frame.minimumHeight(), available.height());
    // Un-maximizing returns to a window inside the screen, title bar and all.
    frame.showNormal();
    QApplication::processEvents();
    const QRect normal = frame.frameGeometry();
    EXPECT_TRUE(available.contains(normal.topLeft()))
        << normal.x() << "," << normal.y() << " in " << available.width() << "x"
        << available.height();
    EXPECT_LE(frame.width(), available.width());
    EXPECT_LE(frame.height(), available.height());
    CSplashWnd::EnableSplashScreen(true);
}

TEST(AboutBox, ShowsTheProgramVersionAndTwoBlueLinks) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Ondrelo");
    auto* version = ondrelo::FindControlAs<QLabel>(&about, 1014);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Ondrelo Version 1, 1, 4, 19");
    EXPECT_EQ(CAboutDlg::VersionLine(QString()), "Ondrelo Version ");

    struct Case {
        int id;
        const char* text;
        const char* url;
    };
    for (const Case& c : {Case{1010, "Support", CAboutDlg::kSupportUrl},
                          Case{1011, "Ondrelo Home", CAboutDlg::kHomeUrl}}) {
        auto* link = ondrelo::FindControlAs<CHyperLink>(&about, c.id);
        ASSERT_NE(link, nullptr) << c.id;
        EXPECT_EQ(link->text(), c.text);
        EXPECT_EQ(link->GetURL(), c.url);
        EXPECT_EQ(link->GetLinkColour(), QColor(0, 0, 255));
        EXPECT_EQ(link->GetVisitedColour(), QColor(0, 0, 255));
        EXPECT_EQ(link->GetHoverColour(), QColor(0, 0, 255));
        EXPECT_TRUE(link->GetUnderline());
    }
    about.show();
    auto* ok = ondrelo::FindControlAs<QAbstractButton>(&about, IDOK);
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

// A host that records what the pane asks of it.
struct CFakeHost : IModuleHost {
    bool consume = false;
    bool active = false;
    int resizes = 0;
    std::vector<MSG> messages;
    bool IsDialogMessage(MSG* msg) override {
        messages.push_back(*msg);
        return consume;
    }
    void Resize() override { ++resizes; }
    bool HasActiveModule() const override { return active; }
};

TEST(ModulePane, EverySizeChangeGoesToTheHostOnceItIsSet) {
    COndreloView pane;
    pane.resize(200, 100);
    pane.show();
    QApplication::processEvents();  // no host: nothing to call
    CFakeHost host;
    pane.SetHost(&host);
    pane.resize(300, 150);
    pane.resize(310, 150);
    pane.resize(310, 150);  // no change, no call
    QApplication::processEvents();
    EXPECT_EQ(host.resizes, 2);
    pane.SetHost(nullptr);
    pane.resize(100, 100);
    EXPECT_EQ(host.resizes, 2);
}

TEST(ModulePane, KeysAreOfferedToTheHostFirst) {
    QWidget window;
    auto* pane = new COndreloView(&window);
    auto* outside = new QLineEdit(&window);
    auto* inside = new QLineEdit(pane);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    CFakeHost host;
    host.consume = true;
    pane->SetHost(&host);

    inside->setFocus();
    QTest::keyClick(inside, Qt::Key_A);
    EXPECT_EQ(inside->text(), "");        // consumed by the module
    ASSERT_EQ(host.messages.size(), 2u);  // key down and key up
    EXPECT_EQ(host.messages[0].message, WM_KEYDOWN);
    EXPECT_EQ(host.messages[0].wParam, static_cast<std::uint32_t>('A'));
    EXPECT_EQ(host.messages[0].hwnd, ondrelo::ToHwnd(inside));
    EXPECT_EQ(host.messages[1].message, WM_KEYUP);

    // Windows outside the pane are not its business.
    host.messages.clear();
    outside->setFocus();
    QTest::keyClick(outside, Qt::Key_B);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(outside->text(), "b");

    // Not consumed and no module visible: the key passes undisturbed.
    host.consume = false;
    inside->setFocus();
    QTest::keyClick(inside, Qt::Key_C);
    EXPECT_EQ(inside->text(), "c");
    EXPECT_FALSE(host.messages.empty());

    // A key that a nested control ignores travels up to its parents; the
    // host still sees each message once, addressed to the control.
    auto* group = new QWidget(pane);
    auto* button = new QPushButton(QStringLiteral("Nested"), group);
    group->show();
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    host.messages.clear();
    QTest::keyClick(button, Qt::Key_D);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].hwnd, ondrelo::ToHwnd(button));
    EXPECT_EQ(host.messages[1].hwnd, ondrelo::ToHwnd(button));
}

TEST(ModulePane, ReturnInAReadOnlyTextViewDoesNotPressTheDefaultButton) {
    QWidget window;
    auto* pane = new COndreloView(&window);
    auto* view = new QTextEdit(pane);
    view->setReadOnly(true);
    auto* edit = new QLineEdit(pane);
    auto* defaultButton = new QPushButton(QStringLiteral("Default"), pane);
    defaultButton->setDefault(true);
    int clicks = 0;
    QObject::connect(defaultButton, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    CFakeHost host;
    host.active = true;  // a visible module that consumes nothing
    pane->SetHost(&host);

    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(clicks, 0);  // the text view owns Return, even read-only
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(clicks, 1);  // elsewhere Return presses the default button
}

}  // namespace
