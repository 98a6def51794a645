#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <cmath>

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

TEST(DialogControls, DialogUnitsFollowTheDialogFont) {
    QFont font = QApplication::font();
    QSize previous;
    QRect previousRect;
    for (int points : {9, 11, 14, 18}) {
        font.setPointSize(points);
        const QFontMetrics metrics(font);
        const QSize base = ondrelo::DialogBaseUnits(font);
        SCOPED_TRACE(points);
        // The average width of the 52 letters, to the nearest pixel, and
        // the font's height.
        const double average =
            metrics.horizontalAdvance(
                QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
            52.0;
        EXPECT_LE(std::abs(base.width() - average), 0.5 + 1e-9);
        EXPECT_EQ(base.height(), metrics.height());

        // 4 horizontal and 8 vertical units are one average character.
        const QRect rect = ondrelo::DialogRect(font, 4, 8, 40, 16);
        EXPECT_EQ(rect, QRect(base.width(), base.height(), 10 * base.width(), 2 * base.height()));
        if (previous.isValid()) {
            EXPECT_GE(base.width(), previous.width());
            EXPECT_GT(base.height(), previous.height());
            EXPECT_GT(rect.width(), previousRect.width());
        }
        previous = base;
        previousRect = rect;

        // A dialog's controls take its font, set on it or inherited.
        QWidget dialog;
        dialog.setFont(font);
        QWidget child(&dialog);
        EXPECT_EQ(ondrelo::DialogRect(&child, 4, 8, 40, 16), rect);
    }

    // Edges are converted on their own, so neighbours stay neighbours at
    // every font: one control ends where the next begins.
    font.setPointSize(11);
    for (int x = 0; x < 12; ++x) {
        const QRect left = ondrelo::DialogRect(font, x, 0, 7, 10);
        const QRect right = ondrelo::DialogRect(font, x + 7, 0, 5, 10);
        EXPECT_EQ(left.right() + 1, right.left()) << x;
    }
}
