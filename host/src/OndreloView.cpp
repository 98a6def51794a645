#include "OndreloView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "ondrelo/CommonUI.h"
#include "ondrelo/QtWindow.h"

namespace {

bool CanTakeTabFocus(const QWidget* w) {
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) != 0 &&
           w->focusProxy() == nullptr;
}

// Controls that use Return themselves.
bool WantsReturn(const QWidget* w) {
    return qobject_cast<const QTextEdit*>(w) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(w) != nullptr;
}

}  // namespace

COndreloView::COndreloView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("COndreloView"));
    setFocusPolicy(Qt::ClickFocus);
    // Painted in the system window colour, like the wizards inside it.
    ondrelo::UseWindowBackground(this);
    qApp->installEventFilter(this);
}

COndreloView::~COndreloView() {
    qApp->removeEventFilter(this);
}

void COndreloView::ShowNote(const QString& text) {
    if (text.isEmpty()) {
        delete m_note;
        m_note = nullptr;
        return;
    }
    if (m_note == nullptr) {
        m_note = new QLabel(this);
        m_note->setObjectName(QStringLiteral("EmptyPaneNote"));
        m_note->setWordWrap(true);
        m_note->setAlignment(Qt::AlignCenter);
        m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_note->setFocusPolicy(Qt::NoFocus);
        m_note->setContentsMargins(24, 24, 24, 24);
    }
    m_note->setText(text);
    m_note->setGeometry(rect());
    m_note->show();
}

void COndreloView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_note != nullptr) {
        m_note->setGeometry(rect());
    }
    if (m_host != nullptr) {
        m_host->Resize();
    }
}

void COndreloView::TakeFocus() {
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && CanTakeTabFocus(w)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    setFocus(Qt::OtherFocusReason);
}

bool COndreloView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (target == nullptr || (target != this && !isAncestorOf(target))) {
        return false;
    }
    // A key that the focused control ignores travels up its parents as the
    // same event. It is one message: offer it only at its first receiver,
    // so that a control that owns a key (a read-only text view and Return)
    // keeps it from the dialog navigation of the windows around it.
    const QWidget* focus = QApplication::focusWidget();
    if (event == m_lastKey && focus != nullptr && target != focus && target->isAncestorOf(focus)) {
        return false;
    }
    m_lastKey = event;
    return PreTranslateMessage(target, event);
}

bool COndreloView::PreTranslateMessage(QWidget* target, QEvent* event) {
    if (m_host != nullptr) {
        MSG msg = ondrelo::MakeMsg(target, event);
        if (m_host->IsDialogMessage(&msg)) {
            return true;
        }
        if (!m_host->HasActiveModule()) {
            return false;
        }
    }
    return event->type() == QEvent::KeyPress &&
           DialogNavigate(target, static_cast<QKeyEvent*>(event));
}

bool COndreloView::DialogNavigate(QWidget* target, QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() == Qt::Key_Tab && mods == Qt::NoModifier) || key->key() == Qt::Key_Backtab) {
        const bool forward = key->key() == Qt::Key_Tab;
        QWidget* start = target;
        QWidget* w = start;
        do {
            w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
            if (w != this && isAncestorOf(w) && CanTakeTabFocus(w)) {
                w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                break;
            }
        } while (w != start);
        return true;  // a dialog keeps Tab to itself even without controls
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (mods == Qt::NoModifier)) {
        if (WantsReturn(target)) {
            return false;
        }
        if (auto* button = qobject_cast<QPushButton*>(target);
            button != nullptr && button->isEnabled()) {
            button->click();
            return true;
        }
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isDefault() && button->isVisible() && button->isEnabled()) {
                button->click();
                return true;
            }
        }
    }
    return false;
}
