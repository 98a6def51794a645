// The button wizard's sheet on the offscreen platform: the page flow with
// its checks, the image page filling the record, the test area's rollover
// under real mouse events, and starting over with "&Create New Button".
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "../core/ImageWriters.h"
#include "MoverButtonPages.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/testsupport/StoreFixture.h"

namespace {

using namespace hoverkit;
using namespace ondrelo::registry::testing;

class ButtonSheet : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            imagetest::SGifLayout s;
            s.width = 40;
            s.height = 20;
            s.tableBits = 1;
            s.pixels.assign(40 * 20, static_cast<std::uint8_t>(i == 0 ? 0 : 1));
            files[i] = m_dir + "/button" + std::to_string(i) + ".gif";
            WriteFile(files[i], imagetest::MakeGif(s));
        }
        parent.resize(760, 560);
        sheet = new CMoverButtonSheet;
        ASSERT_TRUE(sheet->Create(ondrelo::ToHwnd(&parent), RECT{0, 0, 760, 560}));
        sheet->OnParentResize();
        sheet->show();
        parent.show();
    }
    void TearDown() override {
        delete sheet;
        StoreTest::TearDown();
    }

    CSelectImagesPage* Images() { return sheet->ImagesPage(); }
    void EnterPath(int index, const std::string& path) {
        Images()->PathBox(index)->setText(QString::fromStdString(path));
        Images()->OnPathLeft(index);
    }
    // The colour at the middle of the test area as painted.
    QRgb TestAreaCentre() {
        CImageTestAreaWnd* area = Images()->TestArea();
        return area->grab().toImage().pixel(area->width() / 2, area->height() / 2);
    }

    ondrelo::CScriptedPrompt prompt;
    QWidget parent;
    CMoverButtonSheet* sheet = nullptr;
    std::string files[3];
};

TEST_F(ButtonSheet, FlowWithChecksOfTheImagePage) {
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_FALSE(sheet->PageOne()->CreateButton()->isEnabled());
    sheet->PressNext();
    ASSERT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_TRUE(sheet->PageOne()->CreateButton()->isEnabled());

    sheet->PressNext();
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Please select the Normal Image"});

    EnterPath(kNormalImage, files[0]);
    EXPECT_EQ(Images()->WidthBox(kNormalImage)->text(), "40");
    EXPECT_EQ(Images()->HeightBox(kNormalImage)->text(), "20");
    prompt.Clear();
    sheet->PressNext();
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Please select active image or click image"});

    EnterPath(kClickImage, files[2]);
    Images()->WidthBox(kNormalImage)->setText("50");
    Images()->OnSizeLeft(kNormalImage);
    sheet->PressNext();
    ASSERT_EQ(sheet->GetActiveIndex(), 2);
    std::string code, inclusion, unused, warnings;
    sheet->Generator().GetCode(code, inclusion, unused, warnings);
    EXPECT_NE(code.find("SetNormalImage(\"button0.gif\",50,20);"), std::string::npos) << code;
    EXPECT_NE(code.find("SetClickImage(\"button2.gif\",40,20);"), std::string::npos) << code;
    EXPECT_EQ(warnings, "Target URL is empty! Making the HREF to # (same page)\r\n");

    sheet->PressBack();
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(Images()->PathBox(kClickImage)->text().toStdString(), files[2]);
}

TEST_F(ButtonSheet, ImageErrorsGoToTheMessageLine) {
    sheet->PressNext();
    WriteFile(m_dir + "/picture.bmp", "BM");
    EnterPath(kNormalImage, m_dir + "/picture.bmp");
    EXPECT_EQ(Images()->MessageLine()->text(), "Unsupported image file format");
    EnterPath(kActiveImage, m_dir + "/missing.JPEG");
    EXPECT_EQ(Images()->MessageLine()->text(), "Cannot read the image file");
    EXPECT_EQ(Images()->WidthBox(kActiveImage)->text(), "0");
    // The record keeps the paths; "Next" only checks that they are there.
    EXPECT_EQ(sheet->ButtonInfo().m_strActiveImage, m_dir + "/missing.JPEG");
}

TEST_F(ButtonSheet, TestAreaFollowsHoverAndPress) {
    sheet->PressNext();
    EnterPath(kNormalImage, files[0]);
    EnterPath(kActiveImage, files[1]);
    EnterPath(kClickImage, files[2]);
    CImageTestAreaWnd* area = Images()->TestArea();
    const QPoint centre(area->width() / 2, area->height() / 2);
    EXPECT_EQ(TestAreaCentre(), imagetest::GifColour(0));

    QTest::mouseMove(area, centre);
    EXPECT_TRUE(area->Area().IsMouseOver());
    EXPECT_EQ(area->Area().SlotToDraw(), kActiveImage);
    EXPECT_EQ(TestAreaCentre(), imagetest::GifColour(1));

    QTest::mousePress(area, Qt::LeftButton, {}, centre);
    EXPECT_EQ(area->Area().SlotToDraw(), kClickImage);
    QTest::mouseRelease(area, Qt::LeftButton, {}, centre);
    EXPECT_EQ(area->Area().SlotToDraw(), kActiveImage);

    QTest::mouseMove(area, QPoint(1, 1));
    EXPECT_EQ(area->Area().SlotToDraw(), kNormalImage);
    EXPECT_EQ(TestAreaCentre(), imagetest::GifColour(0));
}

TEST_F(ButtonSheet, CreateNewButtonStartsOver) {
    sheet->PressNext();
    EnterPath(kNormalImage, files[0]);
    EnterPath(kActiveImage, files[1]);
    Images()->findChild<QLineEdit*>()->setFocus();
    sheet->PressNext();
    ASSERT_EQ(sheet->GetActiveIndex(), 2);
    const std::string page = m_dir + "/index.html";
    WriteFile(page, "<html><head></head><body></body></html>");
    EXPECT_EQ(sheet->CodePage()->InsertCode(page, "", false, true), 1);

    ASSERT_TRUE(sheet->SetActivePage(0));
    sheet->PageOne()->CreateButton()->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(Images()->PathBox(kNormalImage)->text(), "");
    EXPECT_EQ(Images()->WidthBox(kNormalImage)->text(), "0");
    EXPECT_EQ(Images()->TestArea()->Area().SlotToDraw(), -1);
    EXPECT_EQ(sheet->ButtonInfo().m_strNormalImage, "");
    EXPECT_EQ(sheet->Generator().GetPagePath(), "");
    EXPECT_FALSE(sheet->Generator().GetScanner().IsOpen(page));
}

}  // namespace
