#include "ondrelo/DialogControls.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "ondrelo/ButtonST.h"
#include "ondrelo/CommonUI.h"

namespace ondrelo {

QRect DialogRect(int x, int y, int width, int height) {
    return QRect(x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8);
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
    if (!dialog || !msg || !msg->event || msg->event->type() != QEvent::KeyPress)
        return 0;
    const QWidget* target = ToWidget(msg->hwnd);
    if (!target || (target != dialog && !dialog->isAncestorOf(target)))
        return 0;
    const auto* key = static_cast<const QKeyEvent*>(msg->event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return 0;
    if (key->key() == Qt::Key_Backtab)
        return -1;
    if (key->key() == Qt::Key_Tab)
        return (key->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    return 0;
}

}  // namespace ondrelo
