#include "ondrelo/QtWindow.h"

#include <QCursor>
#include <QKeyEvent>
#include <QWidget>

namespace ondrelo {

namespace {
constexpr char kIdProperty[] = "ondId";
}

void SetControlId(QWidget* control, int id) {
    if (control) {
        control->setProperty(kIdProperty, id);
    }
}

int GetControlId(const QWidget* control) {
    if (!control) {
        return 0;
    }
    const QVariant v = control->property(kIdProperty);
    return v.isValid() ? v.toInt() : 0;
}

QWidget* FindControl(const QWidget* dialog, int id) {
    if (!dialog) {
        return nullptr;
    }
    // Breadth first, so that a dialog's own control wins over one of the
    // same number inside an embedded child dialog.
    QList<QWidget*> level = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    while (!level.isEmpty()) {
        QList<QWidget*> next;
        for (QWidget* w : level) {
            if (GetControlId(w) == id) {
                return w;
            }
            next += w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        }
        level = next;
    }
    return nullptr;
}

std::uint32_t VirtualKeyOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<std::uint32_t>('A' + key - Qt::Key_A);
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<std::uint32_t>('0' + key - Qt::Key_0);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 0x70 + static_cast<std::uint32_t>(key - Qt::Key_F1);
    }
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Delete:
            return 0x2E;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        default:
            return 0;
    }
}

MSG MakeMsg(QWidget* target, QEvent* event) {
    MSG msg;
    msg.hwnd = ToHwnd(target);
    msg.event = event;
    const QPoint cursor = QCursor::pos();
    msg.pt.x = cursor.x();
    msg.pt.y = cursor.y();
    if (event && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->modifiers() & Qt::AltModifier;
        const bool press = event->type() == QEvent::KeyPress;
        msg.message = press ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
        msg.wParam = VirtualKeyOf(key->key());
        // Repeat count 1; bit 29 for Alt, bits 30 and 31 for a release.
        std::uint32_t lParam = 1;
        if (alt) {
            lParam |= 1u << 29;
        }
        if (!press) {
            lParam |= 3u << 30;
        }
        msg.lParam = static_cast<std::int32_t>(lParam);
        msg.time = static_cast<std::uint32_t>(key->timestamp());
    }
    return msg;
}

}  // namespace ondrelo
