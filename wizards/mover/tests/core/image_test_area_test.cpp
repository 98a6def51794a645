// The test area's slots, placement and rollover imitation, and the image
// page's rules (reloading a slot into the record, the check of "Next",
// browsing with the remembered folder).
#include <gtest/gtest.h>

#include "ImageWriters.h"
#include "hoverkit/HoverkitResources.h"
#include "hoverkit/ImageTestArea.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/testsupport/StoreFixture.h"

namespace {

using namespace hoverkit;
using namespace ondrelo::registry::testing;

class CFakeView : public ITestAreaView {
public:
    void Repaint() override { ++repaints; }
    void CaptureMouse(bool c) override { captured = c; }
    void GetClientSize(int& w, int& h) const override {
        w = width;
        h = height;
    }
    int width = 200, height = 100, repaints = 0;
    bool captured = false;
};

class TestArea : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            imagetest::SGifLayout s;
            s.width = 40 + 10 * i;
            s.height = 20;
            files[i] = m_dir + "/img" + std::to_string(i) + ".GIF";
            WriteFile(files[i], imagetest::MakeGif(s));
        }
        area.SetView(&view);
    }
    CFakeView view;
    CImageTestArea area;
    std::string files[3];
};

TEST(ImageFormat, ByExtensionInAnyCase) {
    const std::pair<const char*, int> cases[] = {
        {"a.gif", 1}, {"a.GIF", 1}, {"a.jpg", 2},        {"b.JPEG", 2},     {"c.Png", 3},
        {"x.bmp", 0}, {"noext", 0}, {"dir.png/file", 0}, {"a.jpeg.txt", 0},
    };
    for (auto [path, format] : cases) {
        EXPECT_EQ(ImageFormatFromPath(path), format) << path;
    }
}

TEST(ImagePlacement, CentredOrCutAtTheAreaEdge) {
    struct Case {
        int w, h, W, H;
        SRect expected;
    };
    const Case cases[] = {
        {100, 30, 200, 100, {50, 35, 150, 65}}, {101, 31, 200, 100, {49, 34, 150, 65}},
        {300, 30, 200, 100, {0, 35, 200, 65}},  {100, 300, 200, 100, {50, 0, 150, 100}},
        {300, 300, 200, 100, {0, 0, 200, 100}}, {0, 0, 200, 100, {100, 50, 100, 50}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceInArea(c.w, c.h, c.W, c.H), c.expected) << c.w << "x" << c.h;
    }
}

TEST_F(TestArea, LoadPlacesAtNaturalSize) {
    ASSERT_TRUE(area.Load(files[0], kNormalImage));
    const SButtonImage& slot = area.GetSlot(kNormalImage);
    EXPECT_EQ(slot.m_nWidth, 40);
    EXPECT_EQ(slot.m_nFormat, CImageFile::kFormatGif);
    EXPECT_EQ(slot.m_rcPlacement, (SRect{80, 40, 120, 60}));
    EXPECT_EQ(area.SlotToDraw(), kNormalImage);
}

TEST_F(TestArea, UnsupportedExtensionLeavesTheSlotOtherFailuresClearIt) {
    ASSERT_TRUE(area.Load(files[0], kNormalImage));
    EXPECT_FALSE(area.Load(m_dir + "/picture.bmp", kNormalImage));
    EXPECT_EQ(area.GetLastError(), "Unsupported image file format");
    EXPECT_TRUE(area.GetSlot(kNormalImage).HasImage());

    WriteFile(m_dir + "/broken.gif", ReadFile(files[0]).substr(0, 60));
    EXPECT_FALSE(area.Load(m_dir + "/broken.gif", kNormalImage));
    EXPECT_FALSE(area.GetSlot(kNormalImage).HasImage());
    EXPECT_EQ(area.GetSlot(kNormalImage).m_nWidth, 0);
    EXPECT_EQ(area.GetLastError(), "The GIF file is truncated");
}

TEST_F(TestArea, ImageLargerThanTheAreaIsCroppedFromItsTopLeft) {
    view.width = 30;
    view.height = 10;
    ASSERT_TRUE(area.Load(files[0], kNormalImage));
    const SButtonImage& slot = area.GetSlot(kNormalImage);
    EXPECT_EQ(slot.m_nWidth, 40);  // natural size still reported
    EXPECT_EQ(slot.m_rcPlacement, (SRect{0, 0, 30, 10}));
    EXPECT_EQ(slot.m_pImage->GetWidth(), 30);
    EXPECT_EQ(slot.m_pImage->GetHeight(), 10);
}

TEST_F(TestArea, ResizeStartsFromTheFileEachTime) {
    ASSERT_TRUE(area.Load(files[0], kNormalImage));
    area.ResizeSlot(kNormalImage, 5, 2);
    area.ResizeSlot(kNormalImage, 50, 20);
    const SButtonImage& slot = area.GetSlot(kNormalImage);
    EXPECT_EQ(slot.m_nWidth, 50);
    EXPECT_EQ(slot.m_pImage->GetWidth(), 50);
    EXPECT_EQ(slot.m_rcPlacement, (SRect{75, 40, 125, 60}));
    const CImageFile natural(files[0], CImageFile::kFormatGif);
    EXPECT_EQ(slot.m_pImage->GetPixel(49, 19), natural.GetPixel(39, 19));

    area.ResizeSlot(kActiveImage, 10, 10);  // empty slot: nothing happens
    EXPECT_FALSE(area.GetSlot(kActiveImage).m_pImage);

    area.ResizeSlot(kNormalImage, 100000, 100000);  // refused, kept as it was
    EXPECT_EQ(area.GetSlot(kNormalImage).m_nWidth, 50);
    EXPECT_EQ(area.GetLastError(), "The image is too large");
}

TEST_F(TestArea, HoverAndPressShowTheirImages) {
    ASSERT_TRUE(area.Load(files[0], kNormalImage));
    ASSERT_TRUE(area.Load(files[1], kActiveImage));
    ASSERT_TRUE(area.Load(files[2], kClickImage));
    area.OnMouseMove(5, 5);  // outside the normal image
    EXPECT_EQ(area.SlotToDraw(), kNormalImage);
    area.OnMouseMove(100, 50);
    EXPECT_EQ(area.SlotToDraw(), kActiveImage);
    EXPECT_TRUE(view.captured);
    area.OnLeftButtonDown(100, 50);
    EXPECT_EQ(area.SlotToDraw(), kClickImage);
    area.OnLeftButtonUp(100, 50);
    EXPECT_EQ(area.SlotToDraw(), kActiveImage);
    area.OnMouseMove(199, 99);
    EXPECT_EQ(area.SlotToDraw(), kNormalImage);
    EXPECT_FALSE(view.captured);
}

TEST_F(TestArea, MissingActiveOrClickImageChangesNothing) {
    ASSERT_TRUE(area.Load(files[0], kNormalImage));
    area.OnMouseMove(100, 50);
    EXPECT_EQ(area.SlotToDraw(), kNormalImage);
    area.OnLeftButtonDown(100, 50);
    EXPECT_FALSE(area.IsPressed());
    EXPECT_EQ(area.SlotToDraw(), kNormalImage);
    // Without a normal image, movement is not followed at all.
    CImageTestArea empty(&view);
    empty.OnMouseMove(100, 50);
    EXPECT_FALSE(empty.IsMouseOver());
    EXPECT_EQ(empty.SlotToDraw(), -1);
}

TEST_F(TestArea, ReloadWritesTheSizeIntoTheRecord) {
    CMoverButtonInfo info;
    std::string message;
    info.m_strActiveImage = files[1];
    ReloadSlot(info, area, kActiveImage, message);
    EXPECT_EQ(info.m_nActiveWidth, 50);
    EXPECT_EQ(info.m_nActiveHeight, 20);
    EXPECT_EQ(message, "");

    info.m_strActiveImage = m_dir + "/photo.bmp";
    ReloadSlot(info, area, kActiveImage, message);
    EXPECT_EQ(message, "Unsupported image file format");
    EXPECT_EQ(info.m_nActiveWidth, 50);  // an unsupported name leaves the slot

    info.m_strActiveImage = m_dir + "/missing.gif";
    ReloadSlot(info, area, kActiveImage, message);
    EXPECT_EQ(info.m_nActiveWidth, 0);
    EXPECT_EQ(message, "Cannot read the image file");

    info.m_strActiveImage.clear();
    ReloadSlot(info, area, kActiveImage, message);
    EXPECT_EQ(info.m_nActiveHeight, 0);
    EXPECT_FALSE(area.GetSlot(kActiveImage).m_pImage);
}

TEST(ImagesPage, NextNeedsNormalAndAnotherImage) {
    struct Case {
        const char* normal;
        const char* active;
        const char* click;
        int focus;
        const char* message;
    };
    const Case cases[] = {
        {"", "a.gif", "c.gif", IDC_NORMAL_PATH, "Please select the Normal Image"},
        {"n.gif", "", "", IDC_ACTIVE_PATH, "Please select active image or click image"},
        {"n.gif", "a.gif", "", 0, ""},
        {"n.gif", "", "c.gif", 0, ""},
    };
    for (const Case& c : cases) {
        CMoverButtonInfo info;
        info.m_strNormalImage = c.normal;
        info.m_strActiveImage = c.active;
        info.m_strClickImage = c.click;
        std::string message;
        EXPECT_EQ(CheckImagesPage(info, message), c.focus) << c.normal << c.active << c.click;
        EXPECT_EQ(message, c.message);
    }
}

TEST_F(TestArea, BrowsingRemembersTheFolder) {
    ondrelo::CScriptedPrompt prompt;
    prompt.AnswerFile(m_dir + "/pics/home.png");
    prompt.AnswerFile(std::nullopt);
    EXPECT_EQ(BrowseForImage(), m_dir + "/pics/home.png");
    EXPECT_EQ(prompt.Records()[0].dialog.initialDir, "");
    EXPECT_EQ(prompt.Records()[0].dialog.filter,
              "Web Images (*.jpg,*.png,*.gif)|*.jpg; *.png;*.gif|All Files(*.*)|*.*||");
    EXPECT_EQ(BrowseForImage(), "");
    EXPECT_EQ(prompt.Records()[1].dialog.initialDir, m_dir + "/pics");
    std::string stored;
    EXPECT_TRUE(COndRegistryHandler::GetSettingsValue("LastImageCopyFolder", stored));
    EXPECT_EQ(stored, m_dir + "/pics");
}

}  // namespace
