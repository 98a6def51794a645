// The Qt side of the window stand-ins: a window handle is a QWidget*, a
// queued message carries its Qt event, and controls are found by the number
// their dialog gives them (dynamic property "ondId").
#pragma once

#include <QPoint>
#include <QRect>
#include <cstdint>

#include "ondrelo/Window.h"
#include "ondrelo/common_export.h"

class QEvent;
class QWidget;

namespace ondrelo {

inline QWidget* ToWidget(HWND hwnd) {
    return reinterpret_cast<QWidget*>(hwnd);
}
inline HWND ToHwnd(QWidget* widget) {
    return reinterpret_cast<HWND>(widget);
}

// RECT holds edges with the right and bottom ones exclusive; QRect holds an
// origin and a size.
inline QRect ToQRect(const RECT& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
inline RECT ToRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// Gives a control its number; FindControl finds it again.
ONDCOMMON_EXPORT void SetControlId(QWidget* control, int id);
// The control's number, or 0 when it has none.
ONDCOMMON_EXPORT int GetControlId(const QWidget* control);
// The first descendant of the dialog with the number, or null.
ONDCOMMON_EXPORT QWidget* FindControl(const QWidget* dialog, int id);
template <class T>
T* FindControlAs(const QWidget* dialog, int id) {
    return dynamic_cast<T*>(FindControl(dialog, id));
}

}  // namespace ondrelo

// Keyboard messages of a queued message.
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;

// Virtual-key codes used by dialog navigation.
inline constexpr std::uint32_t VK_TAB = 0x09;
inline constexpr std::uint32_t VK_RETURN = 0x0D;
inline constexpr std::uint32_t VK_ESCAPE = 0x1B;
inline constexpr std::uint32_t VK_LEFT = 0x25;
inline constexpr std::uint32_t VK_UP = 0x26;
inline constexpr std::uint32_t VK_RIGHT = 0x27;
inline constexpr std::uint32_t VK_DOWN = 0x28;

struct tagMSG {
    HWND hwnd = nullptr;
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::int32_t lParam = 0;
    std::uint32_t time = 0;
    POINT pt;
    QEvent* event = nullptr;  // the Qt event the message was made from; not owned
};

namespace ondrelo {

// The queued message for a Qt event sent to a widget: key presses become
// WM_KEYDOWN (WM_SYSKEYDOWN with Alt) with the virtual-key code in wParam,
// key releases WM_KEYUP; the text of a press is not split into WM_CHAR.
// Other events give message 0 and only carry the event.
ONDCOMMON_EXPORT MSG MakeMsg(QWidget* target, QEvent* event);
// The virtual-key code of a Qt key (letters upper case), 0 when unknown.
ONDCOMMON_EXPORT std::uint32_t VirtualKeyOf(int qtKey);

}  // namespace ondrelo
