#include "ondrelo/DialogControls.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "ondrelo/ButtonST.h"
#include "ondrelo/CommonUI.h"

namespace ondrelo {

QSize DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Half-pixel rounding of letters / 52.
    const int width = (letters / 26 + 1) / 2;
    return QSize(std::max(width, 1), std::max(metrics.height(), 1));
}

namespace {

// units * base / divisor, rounded half away from zero.
int Scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

QRect DialogRect(const QFont& font, int x, int y, int width, int height) {
    const QSize base = DialogBaseUnits(font);
    const int left = Scale(x, base.width(), 4);
    const int top = Scale(y, base.height(), 8);
    const int right = Scale(x + width, base.width(), 4);
    const int bottom = Scale(y + height, base.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}

QRect DialogRect(const QWidget* dialog, int x, int y, int width, int height) {
    return DialogRect(dialog ? dialog->font() : QApplication::font(), x, y, width, height);
}

QRect DialogRect(int x, int y, int width, int height) {
    // Fonts cannot be measured before the application object exists (a
    // layout constant built while a library loads): use the base units of
    // a 9 point font then, 6 x 13 pixels.
    if (QGuiApplication::instance() == nullptr) {
        auto scale = [](int v, int base, int divisor) {
            return (v * base + divisor / 2) / divisor;
        };
        const int left = scale(x, 6, 4), top = scale(y, 13, 8);
        return QRect(left, top, scale(x + width, 6, 4) - left, scale(y + height, 13, 8) - top);
    }
    return DialogRect(QApplication::font(), x, y, width, height);
}

QString ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString ToQtLines(const std::string& text) {
    QString result = ToQt(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

std::string FromQtLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return FromQt(lines);
}

QLabel* MakeLabel(QWidget* parent, int id, const QString& text, const QRect& rect) {
    auto* label = MakeControl<QLabel>(parent, id, rect);
    label->setText(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* MakeReadOnlyField(QWidget* parent, int id, const QRect& rect) {
    auto* field = MakeControl<QLineEdit>(parent, id, rect);
    field->setReadOnly(true);
    return field;
}

CButtonST* MakeOndButton(QWidget* parent, int id, const QString& text, const QRect& rect) {
    auto* button = MakeControl<CButtonST>(parent, id, rect);
    button->setText(text);
    button->setAutoDefault(false);
    InitOndButton(*button);
    return button;
}

void CopyAllToClipboard(QLineEdit* box) {
    box->selectAll();
    QApplication::clipboard()->setText(box->selectedText());
    box->deselect();
}

void CopyAllToClipboard(QPlainTextEdit* box) {
    box->selectAll();
    box->copy();
    QTextCursor cursor = box->textCursor();
    cursor.clearSelection();
    box->setTextCursor(cursor);
}

int DialogTabDirection(const QWidget* dialog, const MSG* msg) {
    if (!dialog || !msg || !msg->event || msg->event->type() != QEvent::KeyPress) {
        return 0;
    }
    const QWidget* target = ToWidget(msg->hwnd);
    if (!target || (target != dialog && !dialog->isAncestorOf(target))) {
        return 0;
    }
    const auto* key = static_cast<const QKeyEvent*>(msg->event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return 0;
    }
    if (key->key() == Qt::Key_Backtab) {
        return -1;
    }
    if (key->key() == Qt::Key_Tab) {
        return (key->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    }
    return 0;
}

}  // namespace ondrelo
