#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "ondrelo/DialogControls.h"

using ondrelo::DialogTabDirection;
using ondrelo::ToHwnd;

TEST(DialogControls, TabDirectionOnlyForPlainTabsMeantForTheDialog) {
    QWidget dialog;
    auto* field = ondrelo::MakeControl<QLineEdit>(&dialog, 1001, ondrelo::DialogRect(4, 4, 40, 12));
    QWidget other;
    struct Case {
        const char* name;
        QWidget* target;
        QEvent::Type type;
        int key;
        Qt::KeyboardModifiers modifiers;
        int expected;
    } cases[] = {
        {"Tab on a control", field, QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, 1},
        {"Tab on the dialog", &dialog, QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, 1},
        {"Shift+Tab", field, QEvent::KeyPress, Qt::Key_Tab, Qt::ShiftModifier, -1},
        {"Backtab", field, QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier, -1},
        {"Ctrl+Tab belongs to tab sheets", field, QEvent::KeyPress, Qt::Key_Tab,
         Qt::ControlModifier, 0},
        {"another window", &other, QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, 0},
        {"release", field, QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, 0},
        {"other key", field, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) {
        QKeyEvent event(c.type, c.key, c.modifiers);
        MSG msg = ondrelo::MakeMsg(c.target, &event);
        EXPECT_EQ(DialogTabDirection(&dialog, &msg), c.expected) << c.name;
    }
    EXPECT_EQ(DialogTabDirection(&dialog, nullptr), 0);
    EXPECT_EQ(ondrelo::FindControl(&dialog, 1001), field);
}

TEST(DialogControls, TextsKeepTheirBytesAndCodeShowsPlainLines) {
    const std::string text = "caf\xc3\xa9 <b>\r\nline 2\n";
    EXPECT_EQ(ondrelo::FromQt(ondrelo::ToQt(text)), text);
    EXPECT_EQ(ondrelo::ToQtLines(text), QString::fromUtf8("caf\xc3\xa9 <b>\nline 2\n"));
}
