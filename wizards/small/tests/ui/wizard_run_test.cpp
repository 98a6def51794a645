// Both wizards driven through their pages on the offscreen platform, with
// scripted answers, into a scratch page: the page on disk is checked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "LinkGrid.h"
#include "SmallsetPages.h"
#include "StoreFixture.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/CodeGen.h"
#include "ondrelo/Common.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/QtWindow.h"

namespace {

using namespace smallset;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

class WizardRun : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        CCodeGen::SetFixedRandomNumbers({7});
        parent.resize(640, 480);
        parent.show();
    }
    void TearDown() override {
        CCodeGen::SetFixedRandomNumbers({});
        StoreTest::TearDown();
    }
    template <class TSheet>
    void Start(TSheet& sheet) {
        ASSERT_TRUE(sheet.Create(&parent, QRect(0, 0, 640, 480)));
        sheet.show();
    }
    // Types into the current cell of a table and confirms.
    static void Type(CLinkGrid* grid, int row, int col, const char* text) {
        grid->SetCurrent(row, col);
        grid->OpenEditor("", false);
        QTest::keyClicks(grid->Editor(), text);
        grid->CommitEditor();
    }

    QWidget parent;
    ondrelo::CScriptedPrompt prompt;
};

TEST_F(WizardRun, DropDownListIntoAPage) {
    CDLinkSheet sheet;
    Start(sheet);
    EXPECT_EQ(CCommon::GetMessageTitle(), "Rorida Ziro Zover Wizard");
    sheet.PressNext();
    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    CLinkGrid* grid = sheet.LinkPage()->Group()->Grid();

    // Only the prompt row left: no way on.
    auto* remove = ondrelo::FindControlAs<QPushButton>(sheet.LinkPage(), IDC_DLINK_REMOVE);
    auto* add = ondrelo::FindControlAs<QPushButton>(sheet.LinkPage(), IDC_DLINK_ADD);
    grid->SetCurrent(2, 0);
    remove->click();
    remove->click();
    sheet.PressNext();
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    EXPECT_EQ(prompt.MessageTexts(), (std::vector<std::string>{"The last row can't be deleted!",
                                                               "Error: No links in the list"}));

    add->click();
    Type(grid, 2, 0, "Home");
    Type(grid, 2, 1, "index.html");
    Type(grid, 2, 2, "_self");
    grid->SetCurrent(1, 0);
    add->click();  // goes in below the prompt row, above Home
    Type(grid, 2, 0, "News");
    Type(grid, 2, 1, "news.html");
    sheet.PressNext();
    ASSERT_EQ(sheet.GetActiveIndex(), 2);
    ASSERT_EQ(sheet.List().GetCount(), 3);
    EXPECT_EQ(sheet.List().Get(1).m_strLabel, "News");
    EXPECT_EQ(sheet.List().Get(1).m_strTarget, "_blank");

    const std::string page = m_dir + "/site.html";
    WriteFile(page, "<html><head><title>s</title></head><body><p>_PLACE_DIRECT_LINK_COMBO_HERE_"
                    "</p></body></html>");
    ASSERT_EQ(sheet.CodePage()->InsertCode(page, m_dir + "/dlink.js", false, false), 1);
    EXPECT_EQ(ReadFile(page),
              "<html><head><title>s</title></head>\n<!--_DIRECT_LINK_WIZ_{-->\n"
              "<SCRIPT src='dlink.js' language='JavaScript'></SCRIPT>\n"
              "<!--}_DIRECT_LINK_WIZ_-->\n<body><p>"
              "<form name='DLinkFrm7' action=''>\r\n<select name='DLink7' size='1'>\r\n"
              "<option value='0' selected>Select Link ...\r\n<option value='1' >News\r\n"
              "<option value='2' >Home\r\n</select>\r\n</form>\r\n"
              "<SCRIPT LANGUAGE=\"JavaScript\">\r\n"
              "var DLinkObj7 = new DLinkCombo(document.forms[\"DLinkFrm7\"].elements[\"DLink7\"]);"
              "\r\nDLinkObj7.addLink(0,\"\",\"\");\r\nDLinkObj7.addLink(1,\"news.html\",\"_blank\");"
              "\r\nDLinkObj7.addLink(2,\"index.html\",\"_self\");\r\n\r\n</SCRIPT></p></body></html>");
}

TEST_F(WizardRun, LinkEditorRewritesThePage) {
    const std::string page = m_dir + "/links.html";
    const std::string original =
        "<p><a href=\"offers.html\">Offers</a> <abbr>X</abbr> "
        "<a href='it.html' onmouseover=\"window.status='Visit us'; return true;\">It</a></p>";
    WriteFile(page, original);

    CAffLinkSheet sheet;
    Start(sheet);
    sheet.PressNext();
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Please select the HTML file contaning the Links"});

    prompt.AnswerFile(page);  // Browse reads the page at once
    ondrelo::FindControlAs<QPushButton>(sheet.FilePage(), IDC_AFF_BROWSE)->click();
    EXPECT_EQ(sheet.FilePage()->PathBox()->text().toStdString(), page);
    EXPECT_EQ(sheet.List().GetCount(), 2);
    sheet.PressNext();
    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    EXPECT_EQ(sheet.Table().GetRows(), 3);
    EXPECT_EQ(sheet.Table().GetCell(2, kAffStatus), "Visit us");

    CLinkGrid* grid = sheet.LinkPage()->Group()->Grid();
    Type(grid, 1, kAffStatus, "Best deals");
    Type(grid, 1, kAffTarget, "_blank");
    Type(grid, 2, kAffStatus, "It's ours");
    Type(grid, 2, kAffLabel, "not stored");
    sheet.PressNext();
    ASSERT_EQ(sheet.GetActiveIndex(), 2);

    auto* modify = ondrelo::FindControlAs<QPushButton>(sheet.LastPage(), IDC_AFF_MODIFY);
    prompt.Clear();
    modify->click();
    const std::string expected =
        "<p><a href=\"offers.html\" target='_blank' onmouseover=\"javascript: "
        "window.status='Best deals'; return true;\" onmouseout=\"javascript: window.status=''; "
        "return true;\">Offers</a> <abbr>X</abbr> <a href='it.html' onmouseover=\"javascript: "
        "window.status='It\\'s ours'; return true;\"  onmouseout=\"javascript: "
        "window.status=''; return true;\">It</a></p>";
    EXPECT_EQ(ReadFile(page), expected);
    modify->click();  // the same again, from the page as read
    EXPECT_EQ(ReadFile(page), expected);
    EXPECT_TRUE(prompt.Records().empty());

    // Back to the file page and on again: the page is read anew and shows
    // what the user typed.
    sheet.PressBack();
    sheet.PressBack();
    sheet.PressNext();
    ASSERT_EQ(sheet.GetActiveIndex(), 1);
    EXPECT_EQ(sheet.Table().GetCell(2, kAffStatus), "It's ours");
}

}  // namespace
