#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>

#include "ondrelo/ButtonST.h"
#include "ondrelo/HyperLink.h"

using State = CButtonST::EState;

TEST(ButtonST, ColoursAreKeptPerStateAndDefaultToThePalette) {
    CButtonST button("&Next");
    const QColor paletteText = button.palette().color(QPalette::ButtonText);
    EXPECT_EQ(button.GetTextColor(State::Hover), paletteText);

    button.SetTextColor(State::Normal, QColor(0, 0, 255));
    button.SetBackColor(State::Hover, QColor(230, 230, 255));
    EXPECT_EQ(button.GetTextColor(State::Normal), QColor(0, 0, 255));
    EXPECT_EQ(button.GetTextColor(State::Focus), paletteText);
    EXPECT_EQ(button.GetBackColor(State::Hover), QColor(230, 230, 255));

    button.SetDefaultColors();
    EXPECT_EQ(button.GetTextColor(State::Normal), paletteText);
}

TEST(ButtonST, MouseOverWinsOverFocus) {
    QWidget window;
    CButtonST button("x", &window);
    window.show();
    button.setFocus();
    QApplication::processEvents();
    // The offscreen cursor may rest over the new window; start outside.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.CurrentState(), State::Focus);

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(button.CurrentState(), State::Hover);

    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.CurrentState(), State::Focus);
}

TEST(ButtonST, PaintsWithIconOnEitherSide) {
    CButtonST button("&Next");
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    button.SetIcon(QIcon(pixmap));
    for (auto align : {CButtonST::EIconAlign::Left, CButtonST::EIconAlign::Right}) {
        button.SetIconAlign(align);
        EXPECT_EQ(button.GetIconAlign(), align);
        const QImage image = button.grab().toImage();
        EXPECT_FALSE(image.isNull());
        // The red icon is painted in the half its alignment names.
        bool redLeft = false, redRight = false;
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, image.height() / 2) == QColor(Qt::red)) {
                (x < image.width() / 2 ? redLeft : redRight) = true;
            }
        }
        EXPECT_EQ(redLeft, align == CButtonST::EIconAlign::Left);
        EXPECT_EQ(redRight, align == CButtonST::EIconAlign::Right);
    }
}

TEST(HyperLink, ColourFollowsVisitedAndHover) {
    CHyperLink link("Velmora", "https://example.org/");
    link.SetColours(Qt::blue, Qt::darkMagenta, Qt::red);
    EXPECT_TRUE(link.GetUnderline());
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.CurrentColour(), QColor(Qt::blue));
    link.SetVisited(true);
    EXPECT_EQ(link.CurrentColour(), QColor(Qt::darkMagenta));
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(Qt::darkMagenta));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&link, &enter);
    EXPECT_EQ(link.CurrentColour(), QColor(Qt::red));
    link.SetUnderline(false);
    EXPECT_FALSE(link.font().underline());
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
