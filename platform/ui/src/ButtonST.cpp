#include "ondrelo/ButtonST.h"

#include <QEnterEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int kIconGap = 4;

}  // namespace

QString ondrelo::WithoutMnemonic(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
        }
        out += text[i];
    }
    return out;
}

CButtonST::CButtonST(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
}

CButtonST::CButtonST(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
}

void CButtonST::SetTextColor(EState state, const QColor& color, bool repaint) {
    m_text[Index(state)] = color;
    if (repaint) {
        update();
    }
}

void CButtonST::SetBackColor(EState state, const QColor& color, bool repaint) {
    m_back[Index(state)] = color;
    if (repaint) {
        update();
    }
}

QColor CButtonST::GetTextColor(EState state) const {
    const QColor& c = m_text[Index(state)];
    return c.isValid() ? c : palette().color(QPalette::ButtonText);
}

QColor CButtonST::GetBackColor(EState state) const {
    const QColor& c = m_back[Index(state)];
    return c.isValid() ? c : palette().color(QPalette::Button);
}

void CButtonST::SetDefaultColors(bool repaint) {
    for (int i = 0; i < 3; ++i) {
        m_text[i] = QColor();
        m_back[i] = QColor();
    }
    if (repaint) {
        update();
    }
}

void CButtonST::SetIcon(const QIcon& icon, bool repaint) {
    setIcon(icon);
    if (repaint) {
        update();
    }
}

void CButtonST::SetIconAlign(EIconAlign align, bool repaint) {
    m_align = align;
    if (repaint) {
        update();
    }
}

CButtonST::EState CButtonST::CurrentState() const {
    if (m_hover) {
        return EState::Hover;
    }
    if (hasFocus()) {
        return EState::Focus;
    }
    return EState::Normal;
}

QSize CButtonST::sizeHint() const {
    QSize hint = QPushButton::sizeHint();
    return hint.expandedTo(QSize(75, 23));
}

void CButtonST::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QPushButton::enterEvent(event);
}

void CButtonST::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QPushButton::leaveEvent(event);
}

void CButtonST::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    const EState state = CurrentState();

    QStyleOptionButton option;
    initStyleOption(&option);
    const QString text = option.text;
    const QIcon icon = option.icon;
    option.text.clear();
    option.icon = QIcon();
    option.palette.setColor(QPalette::Button, GetBackColor(state));
    option.palette.setColor(QPalette::Window, GetBackColor(state));
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    // The bevel of some styles ignores the button colour; paint the face
    // inside the frame so the state colour always shows.
    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.fillRect(face, GetBackColor(state));

    // Icon and text as one block centred in the face.
    const QSize iconSize = icon.isNull() ? QSize() : option.iconSize;
    const int textWidth = fontMetrics().horizontalAdvance(ondrelo::WithoutMnemonic(text));
    const int iconWidth = icon.isNull() ? 0 : iconSize.width() + (text.isEmpty() ? 0 : kIconGap);
    const int total = textWidth + iconWidth;
    QRect content = face;
    if (isDown()) {
        content.translate(1, 1);
    }
    int x = content.left() + (content.width() - total) / 2;

    QRect textRect(x, content.top(), textWidth, content.height());
    if (!icon.isNull()) {
        QRect iconRect;
        if (m_align == EIconAlign::Left) {
            iconRect = QRect(x, content.top() + (content.height() - iconSize.height()) / 2,
                             iconSize.width(), iconSize.height());
            textRect.moveLeft(x + iconWidth);
        } else {
            iconRect = QRect(x + textWidth + (text.isEmpty() ? 0 : kIconGap),
                             content.top() + (content.height() - iconSize.height()) / 2,
                             iconSize.width(), iconSize.height());
        }
        icon.paint(&painter, iconRect, Qt::AlignCenter,
                   isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }

    QPalette textPalette = option.palette;
    // Disabled buttons keep the palette's greyed text.
    textPalette.setColor(QPalette::Active, QPalette::ButtonText, GetTextColor(state));
    textPalette.setColor(QPalette::Inactive, QPalette::ButtonText, GetTextColor(state));
    painter.drawItemText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, textPalette, isEnabled(),
                         text, QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face.adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
