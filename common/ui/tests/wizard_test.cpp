#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextDocument>
#include <memory>

#include "TestWizard.h"
#include "ondrelo/BrowserWnd.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/QtWindow.h"

namespace {

// A pane with a three-page test wizard created in the test module's scope.
struct WizardFixture : ::testing::Test {
    WizardFixture() {
        InitCommonDLL();
        pane = std::make_unique<QWidget>();
        pane->resize(700, 460);
        sheet = new CTestSheet;
        ondrelo::CModuleResourceScope scope(&TestWizardResources());
        created = sheet->Create(pane.get(), pane->rect());
        sheet->show();
        pane->show();
    }
    ~WizardFixture() override {
        pane.reset();
        TermCommonDLL();
    }

    CButtonST* Step(int i) const {
        return ondrelo::FindControlAs<CButtonST>(sheet, ID_PAGE_BUTTON_FIRST + i);
    }

    std::unique_ptr<QWidget> pane;
    CTestSheet* sheet = nullptr;
    bool created = false;
};

using WizardSheet = WizardFixture;

TEST_F(WizardSheet, StepButtonsStandInPageOrderJustLeftOfBack) {
    ASSERT_TRUE(created);
    const QRect back = sheet->GetBackButton()->geometry();
    const char* labels[] = {"Start", "Details", "No Title Specified !"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(Step(i), nullptr) << i;
        EXPECT_EQ(Step(i)->text(), labels[i]);
        EXPECT_EQ(Step(i)->geometry().top(), back.top());
        EXPECT_EQ(Step(i)->geometry().bottom(), back.bottom());
        const int textWidth = Step(i)->fontMetrics().horizontalAdvance(labels[i]);
        EXPECT_EQ(Step(i)->width(), textWidth + 12);
    }
    // One free pixel left of Back; the step buttons touch each other.
    EXPECT_EQ(Step(2)->geometry().right(), back.left() - 2);
    EXPECT_EQ(Step(1)->geometry().right() + 1, Step(2)->geometry().left());
    EXPECT_EQ(Step(0)->geometry().right() + 1, Step(1)->geometry().left());
    EXPECT_EQ(ondrelo::FindControl(sheet, ID_PAGE_BUTTON_FIRST + 3), nullptr);
}

TEST_F(WizardSheet, PagesAreBuiltWhenFirstShownAndStepButtonsWaitForAVisit) {
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_EQ(sheet->first->initCount, 1);
    EXPECT_FALSE(sheet->middle->IsCreated());
    EXPECT_TRUE(Step(0)->isEnabled());
    EXPECT_FALSE(Step(1)->isEnabled());
    EXPECT_FALSE(Step(2)->isEnabled());

    // A step button of a page never shown does nothing.
    Step(1)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 0);

    sheet->GetNextButton()->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(sheet->middle->initCount, 1);
    EXPECT_TRUE(Step(1)->isEnabled());
    EXPECT_FALSE(Step(2)->isEnabled());

    Step(0)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    Step(1)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(sheet->middle->initCount, 1) << "a page is built once";
}

TEST_F(WizardSheet, WizardButtonsFollowThePageType) {
    CButtonST* back = sheet->GetBackButton();
    CButtonST* next = sheet->GetNextButton();
    CButtonST* finish = sheet->GetFinishButton();
    EXPECT_TRUE(sheet->GetCancelButton()->isHidden());
    EXPECT_EQ(back->text(), "&Back");
    EXPECT_FALSE(back->icon().isNull());
    EXPECT_FALSE(next->icon().isNull());
    EXPECT_FALSE(finish->icon().isNull());
    EXPECT_EQ(next->GetIconAlign(), CButtonST::EIconAlign::Right);
    EXPECT_EQ(back->GetIconAlign(), CButtonST::EIconAlign::Left);

    struct Expect {
        bool backEnabled;
        bool nextShown;
        const char* nextText;
        bool finishShown;
        bool finishEnabled;
    };
    const Expect pages[] = {
        {false, true, "&Next", false, false},   // first page
        {true, true, "&Finish", false, false},  // finishing page
        {true, false, nullptr, true, false},    // code page: disabled Finish
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(sheet->GetActiveIndex(), i);
        EXPECT_EQ(back->isEnabled(), pages[i].backEnabled);
        EXPECT_EQ(!next->isHidden(), pages[i].nextShown);
        if (pages[i].nextText) {
            EXPECT_EQ(next->text(), pages[i].nextText);
        }
        EXPECT_EQ(!finish->isHidden(), pages[i].finishShown);
        if (pages[i].finishShown) {
            EXPECT_EQ(finish->isEnabled(), pages[i].finishEnabled);
        }
        next->click();
    }
    // Next is hidden on the code page: pressing it anyway stays.
    sheet->PressNext();
    EXPECT_EQ(sheet->GetActiveIndex(), 2);

    // Back to the finishing page: Next reads "&Finish" again, and on an
    // inner page it reads "&Next" again.
    back->click();
    EXPECT_EQ(next->text(), "&Finish");
    sheet->middle->SetPageType(PAGE_INNER);
    sheet->SetActivePage(1);
    EXPECT_EQ(next->text(), "&Next");
    EXPECT_TRUE(back->isEnabled());
    EXPECT_TRUE(finish->isHidden());
}

TEST_F(WizardSheet, DisabledMiddlePageIsHiddenAndSkipped) {
    sheet->middle->Enable(false);
    sheet->EnablePageButtons();
    EXPECT_TRUE(Step(1)->isHidden());
    EXPECT_FALSE(Step(0)->isHidden());

    sheet->GetNextButton()->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 2);
    EXPECT_FALSE(sheet->middle->IsCreated());
    sheet->GetBackButton()->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    EXPECT_TRUE(Step(1)->isHidden());

    // With every later page disabled, Next stays where it is.
    sheet->last->Enable(false);
    sheet->GetNextButton()->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
}

TEST_F(WizardSheet, RefusedNextStaysOnThePage) {
    sheet->GetNextButton()->click();
    sheet->middle->m_acceptNext = false;
    sheet->GetNextButton()->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_FALSE(sheet->last->IsCreated());
}

TEST_F(WizardSheet, ClearingAllPagesLeavesOnlyTheFirstStepButton) {
    sheet->GetNextButton()->click();
    sheet->GetNextButton()->click();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Step(i)->isEnabled()) << i;
    }

    sheet->ClearAllPages();
    EXPECT_TRUE(sheet->first->m_cleared && sheet->middle->m_cleared && sheet->last->m_cleared);
    EXPECT_TRUE(Step(0)->isEnabled());
    EXPECT_FALSE(Step(1)->isEnabled());
    EXPECT_FALSE(Step(2)->isEnabled());
    Step(1)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 2);
    // The first step button stays enabled and so still leads back.
    Step(0)->click();
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
}

TEST_F(WizardSheet, ShowPageButtonsNeverHidesTheFirst) {
    sheet->ShowPageButtons(false);
    EXPECT_FALSE(Step(0)->isHidden());
    EXPECT_TRUE(Step(1)->isHidden());
    EXPECT_TRUE(Step(2)->isHidden());
    sheet->ShowPageButtons(true);
    EXPECT_FALSE(Step(2)->isHidden());
}

TEST_F(WizardSheet, ButtonsMoveWithTheBottomRightCornerAndPagesStretch) {
    const QRect step = Step(1)->geometry();
    const QRect back = sheet->GetBackButton()->geometry();
    auto* name = ondrelo::FindControlAs<QLineEdit>(sheet->first, IDC_NAME);
    ASSERT_NE(name, nullptr);
    const QRect field = name->geometry();

    pane->resize(pane->width() + 100, pane->height() + 50);
    sheet->OnParentResize();
    EXPECT_EQ(sheet->size(), pane->size());
    EXPECT_EQ(Step(1)->geometry(), step.translated(100, 50));
    EXPECT_EQ(sheet->GetBackButton()->geometry(), back.translated(100, 50));
    // The name field is anchored top-left to top-right: it only widens.
    EXPECT_EQ(name->geometry(), field.adjusted(0, 0, 100, 0));
}

TEST_F(WizardSheet, HelpPaneShowsTheModulesPageWithItsPicture) {
    CBrowserWnd* help = sheet->first->GetHelpPane();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(ondrelo::FindControl(sheet->first, IDC_HELP_PLACEHOLDER)->isHidden());
    EXPECT_FALSE(help->isHidden());
    EXPECT_EQ(help->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(help->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(help->source().toString().toStdString(),
              CBrowserWnd::ResourceAddress(TestWizardResources(), IDH_START));
    EXPECT_TRUE(help->toPlainText().contains("three short steps"));
    const QUrl picture = help->source().resolved(QUrl("steps.png"));
    const QVariant image = help->loadResource(QTextDocument::ImageResource, picture);
    EXPECT_FALSE(image.toByteArray().isEmpty());
    EXPECT_FALSE(help->loadResource(QTextDocument::StyleSheetResource,
                                    help->source().resolved(QUrl("help.css")))
                     .toString()
                     .isEmpty());

    // The pane keeps its left edge and width and follows the page's height.
    const QRect before = help->geometry();
    pane->resize(pane->width() + 80, pane->height() + 40);
    sheet->OnParentResize();
    EXPECT_EQ(help->geometry(), before.adjusted(0, 0, 0, 40));
}

TEST(BrowserWnd, ExternalLinksLeaveThePaneAndUnknownPagesStayEmpty) {
    QWidget page;
    CBrowserWnd help;
    ASSERT_TRUE(help.Create(&page, QRect(0, 0, 200, 200)));
    {
        ondrelo::CModuleResourceScope scope(&TestWizardResources());
        ASSERT_TRUE(help.LoadFromResource(IDH_START));
    }
    QUrl opened;
    QObject::connect(&help, &CBrowserWnd::externalLinkOpened, [&](const QUrl& u) { opened = u; });
    const QUrl before = help.source();
    emit help.anchorClicked(QUrl("mailto:help@example.org"));
    EXPECT_EQ(opened, QUrl("mailto:help@example.org"));
    EXPECT_EQ(help.source(), before);

    // Paths climbing out of the module's pages are not served.
    EXPECT_FALSE(
        help.loadResource(QTextDocument::HtmlResource, before.resolved(QUrl("../../etc/passwd")))
            .isValid());
    // Common has no page of that number, so outside any module there is
    // nothing to show, and the pane keeps its page.
    EXPECT_FALSE(help.LoadFromResource(IDH_START));
    EXPECT_EQ(help.source(), before);
}

TEST(BrowserWnd, AddressesNameTheModuleByItsResourcePrefixNotByAFile) {
    EXPECT_EQ(CBrowserWnd::ResourceAddress(TestWizardResources(), 100), "res:///TestWizard/100");
    // Without Qt resources, or with a prefix no address can name, a module
    // has no pages to show.
    const ondrelo::SModuleResources none{"None", nullptr, nullptr};
    const ondrelo::SModuleResources nested{"Nested", nullptr, ":/wizards/nested"};
    for (const auto* module : {&none, &nested}) {
        EXPECT_EQ(CBrowserWnd::ResourceAddress(*module, 100), "") << module->name;
        CBrowserWnd help;
        ondrelo::CModuleResourceScope scope(module);
        EXPECT_FALSE(help.LoadFromResource(100)) << module->name;
    }

    struct Case {
        const char* address;
        const char* resource;  // empty: not served
    };
    const Case cases[] = {
        {"res:///TestWizard/100", ":/TestWizard/html/100.html"},
        {"res:///TestWizard/steps.png", ":/TestWizard/html/steps.png"},
        {"res:///TestWizard/help.css", ":/TestWizard/html/help.css"},
        // What a module lacks besides its pages comes from Common.
        {"res:///Common/help.css", ":/Common/html/help.css"},
        {"res:///NoSuchModule/help.css", ":/Common/html/help.css"},
        // A page never does: another module's page 100 is not this one's.
        {"res:///NoSuchModule/100", ""},
        {"res:///TestWizard/101", ""},
        {"res:///TestWizard/../Common/help.css", ""},
        {"res:///TestWizard/", ""},
        {"res:///TestWizard", ""},
        // The module is in the path: a host would be lower-cased by the
        // address parser and could not name a resource folder.
        {"res://TestWizard/100", ""},
        {"file:///etc/passwd", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CBrowserWnd::ResolveResource(QUrl(QString::fromLatin1(c.address))).toStdString(),
                  c.resource)
            << c.address;
    }
}

TEST_F(WizardSheet, TabOnAPageMovesTheFocusWithinIt) {
    auto* name = ondrelo::FindControlAs<QLineEdit>(sheet->first, IDC_NAME);
    QApplication::setActiveWindow(pane.get());
    name->setFocus();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    MSG msg = ondrelo::MakeMsg(name, &tab);
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_EQ(msg.wParam, VK_TAB);
    EXPECT_TRUE(sheet->IsDialogMessageA(&msg));

    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    MSG other = ondrelo::MakeMsg(name, &letter);
    EXPECT_EQ(other.wParam, static_cast<std::uint32_t>('A'));
    EXPECT_FALSE(sheet->IsDialogMessageA(&other));
    // A message for a window outside the page is not the page's.
    MSG outside = ondrelo::MakeMsg(pane.get(), &tab);
    EXPECT_FALSE(sheet->IsDialogMessageA(&outside));
}

// A sheet of 23 pages: identifiers run out at 620, so the last two step
// buttons exist but lead nowhere, even to pages already visited.
class CLongSheet : public COndWizSheet {
public:
    void AddPages() override {
        for (int i = 0; i < 23; ++i) {
            AddPage(
                new CTestPage(300 + i, "P" + std::to_string(i), i == 0 ? PAGE_FIRST : PAGE_INNER));
        }
    }
};

TEST(WizardSheetCreate, StepButtonsBeyondTheTwentyFirstDoNothing) {
    InitCommonDLL();
    {
        QWidget pane;
        pane.resize(1400, 460);
        auto* sheet = new CLongSheet;
        ASSERT_TRUE(sheet->Create(&pane, pane.rect()));
        for (int i = 1; i < 23; ++i) {
            sheet->PressNext();
        }
        ASSERT_EQ(sheet->GetActiveIndex(), 22);
        auto step = [&](int i) {
            return ondrelo::FindControlAs<CButtonST>(sheet, ID_PAGE_BUTTON_FIRST + i);
        };
        ASSERT_NE(step(22), nullptr);
        EXPECT_EQ(step(22)->text(), "P22");
        step(20)->click();
        EXPECT_EQ(sheet->GetActiveIndex(), 20);
        step(22)->click();
        sheet->PressPageButton(21);
        EXPECT_EQ(sheet->GetActiveIndex(), 20);
    }
    TermCommonDLL();
}

TEST(WizardSheetCreate, StepButtonsFitTheFontAStyleSheetGives) {
    // A larger font set by the application's style sheet reaches a button
    // only when it is polished; the step buttons are measured with it.
    InitCommonDLL();
    const QString previous = qApp->styleSheet();
    qApp->setStyleSheet(QStringLiteral("* { font-size: 17pt; }"));
    {
        QWidget pane;
        pane.resize(900, 460);
        auto* sheet = new CTestSheet;
        ondrelo::CModuleResourceScope scope(&TestWizardResources());
        ASSERT_TRUE(sheet->Create(&pane, pane.rect()));
        pane.show();
        for (int i = 0; i < 3; ++i) {
            auto* step = ondrelo::FindControlAs<CButtonST>(sheet, ID_PAGE_BUTTON_FIRST + i);
            ASSERT_NE(step, nullptr);
            EXPECT_EQ(step->font().pointSize(), 17) << i;
            EXPECT_EQ(step->width(), step->fontMetrics().horizontalAdvance(step->text()) + 12)
                << i;
        }
    }
    qApp->setStyleSheet(previous);
    TermCommonDLL();
}

TEST(WizardSheetCreate, FailsWithoutAParent) {
    CTestSheet sheet;
    EXPECT_FALSE(sheet.Create(static_cast<QWidget*>(nullptr), QRect(0, 0, 10, 10)));
    // The pages were added; the sheet owns them.
    EXPECT_EQ(sheet.GetPageCount(), 3);
}

}  // namespace
