// The splash window: shown once, bitmap 102 at its exact size, gone after
// 750 ms or at the first key or mouse press, which it swallows.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "HostTestSupport.h"
#include "SplashWnd.h"

namespace {

using hosttest::WaitFor;

class SplashTest : public testing::Test {
protected:
    void SetUp() override {
        CSplashWnd::EnableSplashScreen(true);
        auto* layout = new QVBoxLayout(&m_main);
        m_edit = new QLineEdit(&m_main);
        m_button = new QPushButton(QStringLiteral("Press"), &m_main);
        layout->addWidget(m_edit);
        layout->addWidget(m_button);
        QObject::connect(m_button, &QPushButton::clicked, [this] { ++m_clicks; });
        m_main.show();
        m_main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_main));
        m_edit->setFocus();
    }
    void TearDown() override {
        CSplashWnd::HideSplashScreen();
        QTest::qWait(1);  // delete the dismissed window
    }

    QWidget m_main;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_button = nullptr;
    int m_clicks = 0;
};

TEST_F(SplashTest, ShowsTheBitmapCentredOnceAtATime) {
    CSplashWnd::ShowSplashScreen(&m_main);
    CSplashWnd* splash = CSplashWnd::Instance();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(550, 191));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    const QImage shown = splash->grab().toImage();
    EXPECT_NE(shown.pixel(10, 10), shown.pixel(100, 80));  // painted, not blank
    CSplashWnd::ShowSplashScreen(&m_main);
    EXPECT_EQ(CSplashWnd::Instance(), splash);
}

TEST_F(SplashTest, DisabledByTheSwitchNothingIsShown) {
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen(&m_main);
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);
}

TEST_F(SplashTest, KeyPressEndsItAndIsSwallowed) {
    CSplashWnd::ShowSplashScreen(&m_main);
    ASSERT_NE(CSplashWnd::Instance(), nullptr);
    QTest::keyClick(m_edit, Qt::Key_A);
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);
    EXPECT_EQ(m_edit->text(), "");
    // The next key is an ordinary one again.
    QTest::keyClick(m_edit, Qt::Key_B);
    EXPECT_EQ(m_edit->text(), "b");
}

TEST_F(SplashTest, MousePressEndsItAndIsSwallowed) {
    CSplashWnd::ShowSplashScreen(&m_main);
    ASSERT_NE(CSplashWnd::Instance(), nullptr);
    QTest::mouseClick(m_button, Qt::LeftButton);
    EXPECT_EQ(CSplashWnd::Instance(), nullptr);
    EXPECT_EQ(m_clicks, 0);
    QTest::mouseClick(m_button, Qt::LeftButton);
    EXPECT_EQ(m_clicks, 1);
}

TEST_F(SplashTest, TimerEndsItNoEarlierThan750ms) {
    QElapsedTimer clock;
    clock.start();
    CSplashWnd::ShowSplashScreen(&m_main);
    ASSERT_NE(CSplashWnd::Instance(), nullptr);
    QTest::qWait(400);
    EXPECT_NE(CSplashWnd::Instance(), nullptr);
    ASSERT_TRUE(WaitFor([] { return CSplashWnd::Instance() == nullptr; }));
    EXPECT_GE(clock.elapsed(), CSplashWnd::kTimeoutMs);
    QTest::keyClick(m_edit, Qt::Key_C);  // nothing swallowed any more
    EXPECT_EQ(m_edit->text(), "c");
}

}  // namespace
