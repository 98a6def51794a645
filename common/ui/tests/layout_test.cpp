#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QSettings>
#include <QSizeGrip>
#include <QTemporaryDir>

#include "ondrelo/Layout.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/Resize.h"

using namespace ondrelo;

namespace {

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Anchor, ControlsKeepTheirMarginsToTheirPoints) {
    // A control at (10, 20)-(60, 40) in a 200 x 100 parent, grown to 300 x 160.
    const RECT control{10, 20, 60, 40};
    struct Case {
        SAnchorPoint first, second;
        RECT expected;
    } cases[] = {
        {ANCHOR_TOP_LEFT, ANCHOR_NONE, {10, 20, 60, 40}},
        {ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT, {10, 20, 160, 100}},
        {ANCHOR_BOTTOM_RIGHT, ANCHOR_BOTTOM_RIGHT, {110, 80, 160, 100}},
        {ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_LEFT, {10, 20, 60, 100}},
        {ANCHOR_TOP_CENTER, ANCHOR_NONE, {60, 20, 110, 40}},
        {ANCHOR_MIDDLE_CENTER, ANCHOR_NONE, {60, 50, 110, 70}},
        {ANCHOR_MIDDLE_LEFT, ANCHOR_MIDDLE_RIGHT, {10, 50, 160, 70}},
        {ANCHOR_BOTTOM_CENTER, ANCHOR_NONE, {60, 80, 110, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first.x << "," << c.first.y << " " << c.second.x);
        const SAnchor a = MakeAnchor(control, c.first, c.second, 200, 100);
        EXPECT_TRUE(Same(ArrangeAnchor(a, 200, 100), control));
        EXPECT_TRUE(Same(ArrangeAnchor(a, 300, 160), c.expected));
    }
}

TEST(Anchor, MarginsUseTruncatingIntegerArithmetic) {
    // 50 % of 101 is 50 (not 50.5) when anchoring and when arranging.
    const SAnchor a = MakeAnchor({60, 0, 70, 10}, ANCHOR_TOP_CENTER, ANCHOR_NONE, 101, 10);
    EXPECT_EQ(a.left, 10);
    EXPECT_EQ(ArrangeAnchor(a, 103, 10).left, 61);
}

TEST(RealRect, ArithmeticAndConversion) {
    const CRealRect a(1.5f, 2.5f, 10.75f, 20.25f);
    const CRealRect b(0.5f, 0.5f, 0.25f, 0.25f);
    EXPECT_EQ(a + b, CRealRect(2, 3, 11, 20.5f));
    EXPECT_EQ(a - b, CRealRect(1, 2, 10.5f, 20));
    EXPECT_TRUE(Same(a.ToRect(), RECT{1, 2, 10, 20}));
    EXPECT_FLOAT_EQ(a.Width(), 9.25f);
    EXPECT_TRUE(a.IsNormalized());
    EXPECT_FALSE(CRealRect(5, 0, 4, 1).IsNormalized());
    EXPECT_EQ(CRealRect(RECT{1, 2, 3, 4}), CRealRect(1, 2, 3, 4));
}

TEST(ResizeArithmetic, FractionsMoveEdgesWithoutLosingPixels) {
    struct Case {
        REALRECT fractions;
        int dx, dy, steps;
        SMove expected;
    } cases[] = {
        // Stretches horizontally, keeps its height.
        {{0, 0, 1, 0}, 40, 30, 1, {10, 10, 90, 20}},
        // Moves with the bottom-right corner.
        {{1, 1, 1, 1}, 40, 30, 1, {50, 40, 50, 20}},
        // 3 pixels twice at 0.5 moves by 3 in total, not 1 + 1.
        {{0.5f, 0, 0.5f, 0}, 3, 0, 2, {13, 10, 50, 20}},
        // Shrinking works the same way.
        {{0, 0, 1, 1}, -20, -5, 1, {10, 10, 30, 15}},
    };
    for (const Case& c : cases) {
        CRealRect position(10, 10, 60, 30);
        for (int i = 0; i < c.steps; ++i) {
            EXPECT_TRUE(StepResize(position, c.fractions, c.dx, c.dy));
        }
        EXPECT_EQ(MoveOf(position), c.expected);
    }
    CRealRect unmoved(10, 10, 60, 30);
    EXPECT_FALSE(StepResize(unmoved, REALRECT{0, 0, 0, 0}, 50, 50));
    EXPECT_FALSE(StepResize(unmoved, REALRECT{0, 1, 0, 1}, 50, 0)) << "only dy counts for y";
}

TEST(ResizeArithmetic, TrackLimits) {
    const SIZE initial{300, 200};
    struct Case {
        unsigned flags;
        SIZE minSize, maxSize, minTrack, maxTrack;
    } cases[] = {
        {0, {}, {}, {0, 0}, {0, 0}},
        {2, {}, {}, {0, 0}, {300, 0}},
        {2 | 4, initial, {}, initial, initial},
        {0, {100, 50}, {400, 300}, {100, 50}, {400, 300}},
    };
    for (const Case& c : cases) {
        const STrackLimits l = ComputeTrackLimits(c.flags, initial, c.minSize, c.maxSize);
        EXPECT_EQ(l.minTrack.cx, c.minTrack.cx);
        EXPECT_EQ(l.minTrack.cy, c.minTrack.cy);
        EXPECT_EQ(l.maxTrack.cx, c.maxTrack.cx);
        EXPECT_EQ(l.maxTrack.cy, c.maxTrack.cy);
    }
}

TEST(Placement, RecordIsFortyFourLittleEndianBytes) {
    SWindowPlacement p;
    p.showCmd = SW_SHOWMAXIMIZED;
    p.normalPosition = {-10, 20, 810, 620};
    const std::string bytes = PackPlacement(p);
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(bytes[0], 44);
    EXPECT_EQ(bytes[8], 3);
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 0xF6u) << "-10, two's complement";

    SWindowPlacement back;
    ASSERT_TRUE(UnpackPlacement(bytes, back));
    EXPECT_EQ(back.showCmd, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(Same(back.normalPosition, p.normalPosition));
}

TEST(Placement, DamagedRecordsAreIgnored) {
    SWindowPlacement good;
    good.normalPosition = {0, 0, 100, 100};
    std::string bytes = PackPlacement(good);
    SWindowPlacement out;
    out.showCmd = 99;
    EXPECT_FALSE(UnpackPlacement(bytes.substr(0, 43), out));
    EXPECT_FALSE(UnpackPlacement(bytes + "x", out));
    EXPECT_FALSE(UnpackPlacement("", out));
    SWindowPlacement empty;
    empty.normalPosition = {50, 50, 50, 80};
    EXPECT_FALSE(UnpackPlacement(PackPlacement(empty), out));
    bytes[0] = 40;  // length field disagrees with the size
    EXPECT_FALSE(UnpackPlacement(bytes, out));
    EXPECT_EQ(out.showCmd, 99u) << "left unchanged";
}

// A dialog with one button, laid out by CResize.
class CTestResizeDialog : public CResizeDialog {
public:
    explicit CTestResizeDialog(unsigned flags) : CResizeDialog(300, nullptr, flags) {
        resize(200, 100);
    }
    QPushButton* button = nullptr;
    QCheckBox* check = nullptr;

protected:
    bool OnInitDialog() override {
        button = new QPushButton("OK", this);
        SetControlId(button, 1);
        button->setGeometry(10, 10, 50, 20);
        check = new QCheckBox("Check", this);
        check->setFocusPolicy(Qt::ClickFocus);
        SetControlId(check, 2);
        check->setGeometry(10, 40, 50, 20);
        return true;
    }
};

TEST(CResize, RegisteringTwiceAddsTheFractions) {
    CTestResizeDialog twice(CResize::eNoSizeGrip), once(CResize::eNoSizeGrip);
    twice.show();
    once.show();
    twice.Resizer().SetResize(1, 0, 0, 0.5f, 0);
    twice.Resizer().SetResize(1, 0, 0, 0.5f, 0);
    once.Resizer().SetResize(1, 0, 0, 1, 0);
    twice.Resizer().SetResize(999, 1, 1, 1, 1);  // no such control: nothing happens
    twice.resize(260, 130);
    once.resize(260, 130);
    EXPECT_EQ(twice.button->geometry(), QRect(10, 10, 110, 20));
    EXPECT_EQ(once.button->geometry(), twice.button->geometry());
}

TEST(CResize, SizeGripAndLimits) {
    CTestResizeDialog dialog(0);
    dialog.show();
    auto* grip = FindControlAs<QSizeGrip>(&dialog, CResize::kSizeGripId);
    ASSERT_NE(grip, nullptr);
    EXPECT_EQ(grip->geometry(), QRect(184, 84, 16, 16));
    dialog.resize(250, 150);
    EXPECT_EQ(grip->geometry(), QRect(234, 134, 16, 16));
    // The initial size is the minimum.
    EXPECT_EQ(dialog.minimumSize(), QSize(200, 100));
    dialog.resize(100, 50);
    EXPECT_EQ(dialog.size(), QSize(200, 100));

    CTestResizeDialog fixed(CResize::eFixedWidth | CResize::eFixedHeight | CResize::eNoSizeGrip);
    fixed.show();
    fixed.resize(400, 300);
    EXPECT_EQ(fixed.size(), QSize(200, 100));
    EXPECT_EQ(FindControl(&fixed, CResize::kSizeGripId), nullptr);

    CTestResizeDialog loose(CResize::eNoMinSize | CResize::eNoSizeGrip);
    loose.show();
    loose.resize(120, 60);
    EXPECT_EQ(loose.size(), QSize(120, 60));
}

TEST(CResize, CheckBoxesWithoutTabStopSitOnTheParent) {
    CTestResizeDialog dialog(CResize::eNoSizeGrip);
    dialog.EnsureInitialised();
    dialog.check->setAutoFillBackground(true);
    dialog.Resizer().SetResize(2, 0, 0, 0, 0);
    EXPECT_FALSE(dialog.check->autoFillBackground());

    CTestResizeDialog keep(CResize::eNoSizeGrip | CResize::eNoTransparentGroups);
    keep.EnsureInitialised();
    keep.check->setAutoFillBackground(true);
    keep.Resizer().SetResize(2, 0, 0, 0, 0);
    EXPECT_TRUE(keep.check->autoFillBackground());
}

TEST(CResize, PlacementRoundTripsThroughTheProfile) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setDefaultFormat(QSettings::NativeFormat);
    {
        QDialog window;
        CResize resize(&window, CResize::eNoSizeGrip);
        window.setGeometry(40, 50, 320, 240);
        resize.SavePlacement("Test");
    }
    QSettings profile;
    EXPECT_EQ(profile.value("Test/WindowPlacement").toByteArray().size(), 44);

    QDialog window;
    window.setGeometry(0, 0, 100, 100);
    CResize resize(&window, CResize::eNoSizeGrip);
    ASSERT_TRUE(resize.LoadPlacement("Test"));
    EXPECT_EQ(window.geometry(), QRect(40, 50, 320, 240));

    // An entry of another length is ignored.
    profile.setValue("Bad/WindowPlacement", QByteArray(40, '\1'));
    profile.sync();
    EXPECT_FALSE(resize.LoadPlacement("Bad"));
    EXPECT_FALSE(resize.LoadPlacement("Missing"));
    EXPECT_EQ(window.geometry(), QRect(40, 50, 320, 240));
}

}  // namespace
