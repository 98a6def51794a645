#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTabBar>

#include "ondrelo/ListCtrlEx.h"
#include "ondrelo/OndPropertySheet.h"

namespace {

class CCountingPage : public COndPropertyPage {
public:
    CCountingPage(const char* caption) : COndPropertyPage(400) { SetCaption(caption); }
    bool OnKillActive() override { return allowLeave; }
    int inits = 0;
    bool allowLeave = true;

protected:
    bool OnInitDialog() override {
        ++inits;
        return true;
    }
};

struct PropertySheet : ::testing::Test {
    PropertySheet() {
        for (const char* caption : {"Manualy Copy the Code", "Auto Insert Code", "Warnings"}) {
            pages.push_back(new CCountingPage(caption));
            sheet.AddPage(pages.back());
        }
        sheet.show();
    }
    void ExpectSelectedBlack(int selected) {
        for (int i = 0; i < sheet.count(); ++i) {
            EXPECT_EQ(sheet.tabBar()->tabTextColor(i),
                      i == selected ? QColor(0, 0, 0) : QColor(0, 0, 255))
                << i;
        }
    }
    COndPropertySheet sheet;
    std::vector<CCountingPage*> pages;
};

TEST_F(PropertySheet, CaptionsAreBlueAndTheSelectedOneBlack) {
    EXPECT_EQ(sheet.tabText(1), "Auto Insert Code");
    ExpectSelectedBlack(0);
    sheet.SetActivePage(2);
    ExpectSelectedBlack(2);
    sheet.setCurrentIndex(1);
    ExpectSelectedBlack(1);
}

TEST_F(PropertySheet, PagesAreBuiltOnceWhenFirstShown) {
    EXPECT_EQ(pages[0]->inits, 1);
    EXPECT_EQ(pages[1]->inits, 0);
    sheet.SetActivePage(1);
    sheet.SetActivePage(0);
    sheet.SetActivePage(1);
    EXPECT_EQ(pages[1]->inits, 1);
    EXPECT_FALSE(sheet.SetActivePage(7));
}

TEST_F(PropertySheet, APageMayKeepTheSelection) {
    pages[0]->allowLeave = false;
    EXPECT_FALSE(sheet.SetActivePage(2));
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    ExpectSelectedBlack(0);
}

TEST(SubDlg, BuildsItsControlsOnce) {
    struct CDlg : COndSubDlg {
        using COndSubDlg::COndSubDlg;
        int inits = 0;
        bool OnInitDialog() override { return ++inits > 0; }
    };
    QWidget parent;
    auto* dlg = new CDlg(500, &parent);
    EXPECT_TRUE(dlg->Create());
    parent.show();
    dlg->hide();
    dlg->show();
    EXPECT_EQ(dlg->inits, 1);
    EXPECT_EQ(dlg->palette().color(QPalette::Window), dlg->palette().color(QPalette::Base));
}

TEST(ListCtrlEx, ColumnsAreAsWideAsTheirHeadingPlusFifteen) {
    CListCtrlEx list;
    const int width = list.horizontalHeader()->fontMetrics().horizontalAdvance("Link Text");
    EXPECT_EQ(list.AddColumn("Link Text", 0), 0);
    EXPECT_EQ(list.columnWidth(0), width + 15);
    // Past the end appends; the sub-item is the index when given as -1.
    EXPECT_EQ(list.AddColumn("Address", 9, -1, LVCF_SUBITEM), 1);
    EXPECT_EQ(list.ColumnSubItem(1), 1);
    EXPECT_EQ(list.AddColumn("Target", 1, 5, LVCF_SUBITEM, LVCFMT_RIGHT), 1);
    EXPECT_EQ(list.ColumnSubItem(1), 5);
    EXPECT_EQ(list.ColumnSubItem(0), -1);
    EXPECT_EQ(list.horizontalHeaderItem(2)->text(), "Address");
    EXPECT_EQ(list.AddColumn("Bad", -1), -1);
}

TEST(ListCtrlEx, CellsOfMissingRowsAreNotChanged) {
    CListCtrlEx list;
    list.AddColumn("A", 0);
    list.AddColumn("B", 1);
    EXPECT_EQ(list.AddItem(1, 1, "nowhere"), 0);
    EXPECT_EQ(list.rowCount(), 0);

    EXPECT_EQ(list.AddItem(5, 0, "first"), 0) << "appended at the end";
    EXPECT_EQ(list.AddItem(0, 0, "second"), 0);
    EXPECT_EQ(list.AddItem(1, 1, "cell"), 1);
    EXPECT_EQ(list.ItemText(0, 0), "second");
    EXPECT_EQ(list.ItemText(1, 0), "first");
    EXPECT_EQ(list.ItemText(1, 1), "cell");
    EXPECT_EQ(list.ChangeItem(1, 2, "no column"), 0);
    EXPECT_EQ(list.ChangeItem(0, 1, "changed"), 1);
    EXPECT_EQ(list.ItemText(0, 1), "changed");

    QPixmap red(16, 16);
    red.fill(Qt::red);
    const CImageList images{QIcon(red)};
    EXPECT_EQ(list.SetImageList(&images, LVSIL_SMALL), nullptr);
    EXPECT_EQ(list.ChangeItem(0, 0, "with icon", 0), 1);
    EXPECT_FALSE(list.item(0, 0)->icon().isNull());
    EXPECT_EQ(list.SetImageList(nullptr, LVSIL_SMALL), &images);
}

}  // namespace
