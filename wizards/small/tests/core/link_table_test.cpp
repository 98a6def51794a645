// The link table and the rules of the two link pages.
#include <gtest/gtest.h>

#include "SmallsetTestUtil.h"
#include "smallset/LinkTable.h"
#include "ondrelo/ScriptedPrompt.h"

namespace {

using namespace smallset;

std::vector<std::string> Row(const CLinkTable& table, int row) {
    std::vector<std::string> cells;
    for (int col = 0; col < table.GetCols(); ++col) {
        cells.push_back(table.GetCell(row, col));
    }
    return cells;
}

TEST(LinkTable, StartsWithPromptRowAndEmptyBlankRow) {
    const CLinkTable table = MakeDLinkTable();
    ASSERT_EQ(table.GetRows(), 3);
    EXPECT_EQ(Row(table, 0), (std::vector<std::string>{"Label", "Link", "Target Window"}));
    EXPECT_EQ(Row(table, 1), (std::vector<std::string>{"Select Link ...", "", ""}));
    EXPECT_EQ(Row(table, 2), (std::vector<std::string>{"", "", "_blank"}));
}

TEST(LinkTable, CurrentCellStaysBelowHeaderAndInsideTable) {
    CLinkTable table = MakeDLinkTable();
    const struct {
        int row, col, expectedRow, expectedCol;
    } cases[] = {{0, 0, 1, 0}, {5, 7, 2, 2}, {-3, -1, 1, 0}, {2, 1, 2, 1}};
    for (const auto& c : cases) {
        table.SetCurrent(c.row, c.col);
        EXPECT_EQ(table.GetRow(), c.expectedRow);
        EXPECT_EQ(table.GetCol(), c.expectedCol);
    }
}

TEST(LinkTable, AddInsertsBelowCurrentAndRemoveStopsAtOneRow) {
    ondrelo::CScriptedPrompt prompt;
    CLinkTable table = MakeDLinkTable();
    table.SetCurrent(1, 0);
    AddDLinkRow(table);
    EXPECT_EQ(table.GetRows(), 4);
    EXPECT_EQ(table.GetRow(), 2);
    EXPECT_EQ(Row(table, 2), (std::vector<std::string>{"", "", "_blank"}));
    EXPECT_EQ(table.GetCell(1, 0), "Select Link ...");

    EXPECT_TRUE(RemoveDLinkRow(table));
    EXPECT_TRUE(RemoveDLinkRow(table));
    EXPECT_EQ(table.GetRows(), 2);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_FALSE(RemoveDLinkRow(table));
    EXPECT_EQ(table.GetRows(), 2);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"The last row can't be deleted!"});

    // Only one row left: the page cannot be left forwards.
    prompt.Clear();
    EXPECT_FALSE(DLinkTableHasLinks(table));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Error: No links in the list"});
}

TEST(LinkTable, DLinkListIsEveryRowInOrder) {
    CLinkTable table = MakeDLinkTable();
    table.SetCell(2, kDLinkLabel, "Home");
    table.SetCell(2, kDLinkLink, "index.html");
    CDLinkList list;
    list.Add("stale", "", "");
    TableToDLinkList(table, list);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.Get(0).m_strLabel, "Select Link ...");
    EXPECT_EQ(list.Get(1).m_strLink, "index.html");
    EXPECT_EQ(list.Get(1).m_strTarget, "_blank");
}

TEST(LinkTable, AffLinkTableRefillsOnlyAfterAScan) {
    CAffLinkList list;
    list.Links().resize(3);
    for (int i = 0; i < 3; ++i) {
        list.Links()[static_cast<std::size_t>(i)].m_strLabel = "L" + std::to_string(i);
        list.Links()[static_cast<std::size_t>(i)].m_strHref = "h" + std::to_string(i);
        list.Links()[static_cast<std::size_t>(i)].m_strStatusText = "s" + std::to_string(i);
        list.Links()[static_cast<std::size_t>(i)].m_strTarget = "t" + std::to_string(i);
    }
    list.SetChanged(true);
    CLinkTable table = MakeAffLinkTable();
    AffLinkListToTable(list, table);
    ASSERT_EQ(table.GetRows(), 4);
    EXPECT_EQ(Row(table, 3), (std::vector<std::string>{"L2", "h2", "s2", "t2"}));
    EXPECT_FALSE(list.IsChanged());

    // The user's edits survive showing the page again; label and link
    // edits are not stored.
    table.SetCell(1, kAffStatus, "edited");
    table.SetCell(1, kAffLabel, "not stored");
    table.SetCell(2, kAffTarget, "");
    AffLinkListToTable(list, table);
    EXPECT_EQ(table.GetCell(1, kAffStatus), "edited");
    TableToAffLinkList(table, list);
    EXPECT_EQ(list.Links()[0].m_strStatusText, "edited");
    EXPECT_EQ(list.Links()[0].m_strLabel, "L0");
    EXPECT_EQ(list.Links()[1].m_strTarget, "");

    // A new scan with fewer links empties the table down to them.
    list.Links().resize(1);
    list.SetChanged(true);
    AffLinkListToTable(list, table);
    EXPECT_EQ(table.GetRows(), 2);
}

TEST(LinkTable, ColumnsShareTheInnerWidth) {
    EXPECT_EQ(CLinkTable::ColumnWidth(304, 3), 100);
    EXPECT_EQ(CLinkTable::ColumnWidth(404, 4), 100);
    EXPECT_EQ(CLinkTable::ColumnWidth(2, 3), 0);
}

}  // namespace
