// A push button that paints itself: text and background colours for each
// state (normal, mouse over, focused) and an icon left or right of the text.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPushButton>

#include "ondrelo/ui_export.h"

namespace ondrelo {
// A caption as the platform's controls draw it: "&&" stands for one
// ampersand, a single "&" marks the mnemonic and is not drawn.
ONDUI_EXPORT QString WithoutMnemonic(const QString& text);
}  // namespace ondrelo

class ONDUI_EXPORT CButtonST : public QPushButton {
    Q_OBJECT
public:
    enum class EState { Normal, Hover, Focus };
    enum class EIconAlign { Left, Right };

    explicit CButtonST(QWidget* parent = nullptr);
    CButtonST(const QString& text, QWidget* parent = nullptr);

    void SetTextColor(EState state, const QColor& color, bool repaint = true);
    void SetBackColor(EState state, const QColor& color, bool repaint = true);
    QColor GetTextColor(EState state) const;
    QColor GetBackColor(EState state) const;
    // Colours back to the palette's button colours.
    void SetDefaultColors(bool repaint = true);

    void SetIcon(const QIcon& icon, bool repaint = true);
    void SetIconAlign(EIconAlign align, bool repaint = true);
    EIconAlign GetIconAlign() const { return m_align; }

    // The state whose colours are painted now: the mouse over the button
    // wins over the focus.
    EState CurrentState() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    static int Index(EState state) { return static_cast<int>(state); }

    QColor m_text[3];
    QColor m_back[3];
    EIconAlign m_align = EIconAlign::Left;
    bool m_hover = false;
};
