#include "SplashWnd.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "Resources.h"

bool CSplashWnd::s_enabled = true;
CSplashWnd* CSplashWnd::s_instance = nullptr;

void CSplashWnd::EnableSplashScreen(bool enable) {
    s_enabled = enable;
}

bool CSplashWnd::IsEnabled() {
    return s_enabled;
}

CSplashWnd* CSplashWnd::Instance() {
    return s_instance;
}

void CSplashWnd::ShowSplashScreen(QWidget* mainWindow) {
    if (!s_enabled || s_instance != nullptr) {
        return;
    }
    const QPixmap bitmap = ondrelo::host::LoadProgramBitmap(ondrelo::host::IDB_SPLASH);
    if (bitmap.isNull()) {
        return;
    }
    s_instance = new CSplashWnd(mainWindow, bitmap);
    s_instance->show();
}

void CSplashWnd::HideSplashScreen() {
    if (s_instance != nullptr) {
        s_instance->Dismiss();
    }
}

CSplashWnd::CSplashWnd(QWidget* mainWindow, const QPixmap& bitmap)
    // Above the main window also under a window manager, which would
    // otherwise raise the main window over it when that is shown.
    : QWidget(mainWindow, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_bitmap(bitmap),
      m_mainWindow(mainWindow) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_bitmap.deviceIndependentSize().toSize());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    // The application sees the input first: a press anywhere ends the splash.
    qApp->installEventFilter(this);
    // A precise timer: a coarse one may fire up to 5 % early.
    m_timer.start(kTimeoutMs, Qt::PreciseTimer, this);
}

CSplashWnd::~CSplashWnd() {
    qApp->removeEventFilter(this);
    if (s_instance == this) {
        s_instance = nullptr;
    }
}

void CSplashWnd::Dismiss() {
    if (m_dismissed) {
        return;
    }
    m_dismissed = true;
    m_timer.stop();
    qApp->removeEventFilter(this);
    s_instance = nullptr;
    hide();
    if (m_mainWindow && m_mainWindow->isVisible()) {
        m_mainWindow->repaint();
    }
    // Called from inside this object's own event handling: free it later.
    deleteLater();
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Claim the key so that no shortcut fires; its key press then
            // arrives here and is swallowed.
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            Dismiss();
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void CSplashWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId()) {
        Dismiss();
        return;
    }
    QWidget::timerEvent(event);
}
