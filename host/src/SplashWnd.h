// The splash window shown while the main window is being created: bitmap
// 102 in a borderless window of its exact size, centred on the screen. It
// goes away after 750 ms or at the first key or mouse press, which it
// swallows.
#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class CSplashWnd : public QWidget {
public:
    static constexpr int kTimeoutMs = 750;

    // The command line's splash switch; on for an ordinary start.
    static void EnableSplashScreen(bool enable);
    static bool IsEnabled();
    // Shows the splash owned by the main window, if enabled and none is up
    // and bitmap 102 can be loaded.
    static void ShowSplashScreen(QWidget* mainWindow);
    // The one splash window, or null.
    static CSplashWnd* Instance();
    // Destroys the splash (if any) and repaints the main window at once.
    static void HideSplashScreen();

    ~CSplashWnd() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    CSplashWnd(QWidget* mainWindow, const QPixmap& bitmap);
    void Dismiss();

    QPixmap m_bitmap;
    QBasicTimer m_timer;
    QPointer<QWidget> m_mainWindow;
    bool m_dismissed = false;

    static bool s_enabled;
    static CSplashWnd* s_instance;
};
