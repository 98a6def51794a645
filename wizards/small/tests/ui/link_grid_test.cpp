// The link table on the offscreen platform: the current cell, the in-place
// editor and the controls below the table that mirror the current cell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "LinkGrid.h"
#include "ondrelo/ButtonST.h"

namespace {

using namespace smallset;

class Grid : public ::testing::Test {
protected:
    // A window with the table group of one of the two link pages.
    void Make(bool dlink) {
        table = dlink ? MakeDLinkTable() : MakeAffLinkTable();
        if (!dlink) {
            table.SetCell(1, kAffLabel, "Home");
            table.SetCell(1, kAffLink, "index.html");
            table.SetCell(1, kAffStatus, "Welcome");
            table.SetCell(1, kAffTarget, "_top");
        }
        group = std::make_unique<CLinkTableGroup>(
            &window, table,
            CLinkTableGroup::SIds{1, 2, 3, dlink ? 4 : 0}, dlink ? int{kDLinkTarget} : int{kAffTarget},
            !dlink);
        group->Place(QRect(0, 0, 304, 200), QRect(0, 210, 200, 24), QRect(210, 210, 80, 24));
        window.resize(320, 250);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        grid()->setFocus();
    }
    CLinkGrid* grid() { return group->Grid(); }
    QLineEdit* lineEditor() { return qobject_cast<QLineEdit*>(grid()->Editor()); }
    QPoint Center(int row, int col) { return grid()->CellRect(row, col).center(); }

    QWidget window;
    CLinkTable table = MakeDLinkTable();
    std::unique_ptr<CLinkTableGroup> group;
};

TEST_F(Grid, ArrowsMoveTheCurrentCellAndTheBoxFollows) {
    Make(true);
    EXPECT_EQ(group->TextBox()->text(), "Select Link ...");
    QTest::keyClick(grid(), Qt::Key_Down);
    QTest::keyClick(grid(), Qt::Key_Right);
    QTest::keyClick(grid(), Qt::Key_Right);
    EXPECT_EQ(table.GetRow(), 2);
    EXPECT_EQ(table.GetCol(), kDLinkTarget);
    // The target column is shown in the drop-down, which takes the box's place.
    EXPECT_TRUE(group->DropDown()->isVisible());
    EXPECT_FALSE(group->TextBox()->isVisible());
    EXPECT_EQ(group->DropDown()->currentText(), "_blank");
    QTest::keyClick(grid(), Qt::Key_Up);
    QTest::keyClick(grid(), Qt::Key_Up);  // stops below the header
    EXPECT_EQ(table.GetRow(), 1);
    // A third of the inner width: the client width less 2 pixels each side.
    EXPECT_EQ(grid()->CellRect(1, 1).width(), (grid()->viewport()->width() - 4) / 3);
}

TEST_F(Grid, TypingOpensTheEditorWithTheCharacterAppended) {
    Make(true);
    QTest::keyClicks(grid(), "!x");
    ASSERT_TRUE(grid()->IsEditing());
    EXPECT_EQ(lineEditor()->text(), "Select Link ...!x");
    EXPECT_EQ(lineEditor()->font().family(), "Arial");
    EXPECT_EQ(lineEditor()->font().pixelSize(), 14);
    EXPECT_EQ(group->TextBox()->text(), "Select Link ...!x");  // mirrored while typing
    QTest::keyClick(lineEditor(), Qt::Key_Return);
    EXPECT_FALSE(grid()->IsEditing());
    EXPECT_EQ(table.GetCell(1, 0), "Select Link ...!x");
}

TEST_F(Grid, EscapeCancelsAndDoubleClickSelectsAll) {
    Make(true);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, Center(1, 0));
    ASSERT_TRUE(grid()->IsEditing());
    EXPECT_EQ(lineEditor()->selectedText(), "Select Link ...");
    QTest::keyClicks(lineEditor(), "Pick one");
    QTest::keyClick(lineEditor(), Qt::Key_Escape);
    EXPECT_FALSE(grid()->IsEditing());
    EXPECT_EQ(table.GetCell(1, 0), "Select Link ...");
    EXPECT_EQ(group->TextBox()->text(), "Select Link ...");
}

TEST_F(Grid, EditorIsWrittenWhenItsCellIsLeftOrTheBoxTakesFocus) {
    Make(true);
    QTest::keyClick(grid(), Qt::Key_F2);
    QTest::keyClicks(lineEditor(), " now");
    // Clicking another cell leaves the edited one.
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, Center(2, 1));
    EXPECT_EQ(table.GetCell(1, 0), "Select Link ... now");
    EXPECT_EQ(table.GetRow(), 2);

    QTest::keyClicks(grid(), "page.html");
    group->TextBox()->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(grid()->IsEditing());
    EXPECT_EQ(table.GetCell(2, 1), "page.html");
    EXPECT_EQ(group->TextBox()->text(), "page.html");

    // The box's text goes into the current cell with Update, and when it loses the focus.
    group->TextBox()->setText("other.html");
    group->UpdateButton()->click();
    EXPECT_EQ(table.GetCell(2, 1), "other.html");
    group->TextBox()->setFocus();
    group->TextBox()->selectAll();
    QTest::keyClicks(group->TextBox(), "last.html");
    grid()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(table.GetCell(2, 1), "last.html");
}

TEST_F(Grid, LinkEditorEditsTargetsInPlaceWithADropDown) {
    Make(false);
    table.SetCurrent(1, kAffTarget);
    grid()->Refresh();
    // The box below shows the other columns only.
    EXPECT_EQ(group->TextBox()->text(), "");
    EXPECT_FALSE(group->TextBox()->isEnabled());
    QTest::keyClick(grid(), Qt::Key_Return);
    auto* drop = qobject_cast<QComboBox*>(grid()->Editor());
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->currentText(), "_top");
    drop->setEditText("content");  // a frame name
    grid()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(table.GetCell(1, kAffTarget), "content");

    QTest::keyClick(grid(), Qt::Key_Left);
    EXPECT_EQ(group->TextBox()->text(), "Welcome");
    EXPECT_TRUE(group->TextBox()->isEnabled());
}

}  // namespace
