#include <gtest/gtest.h>

#include <QLineEdit>

#include "ondrelo/ButtonST.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/QtPrompt.h"
#include "ondrelo/QtResources.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/ScriptedPrompt.h"

using namespace ondrelo;
using B = QMessageBox;

namespace {

TEST(QtPrompt, StylesMapOntoButtonsIconsAndDefaults) {
    struct Case {
        unsigned style;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton, escapeButton;
        QMessageBox::Icon icon;
    } cases[] = {
        {MB_OK, B::Ok, B::Ok, B::Ok, B::NoIcon},
        {MB_OK | MB_ICONERROR, B::Ok, B::Ok, B::Ok, B::Critical},
        {MB_OKCANCEL | MB_ICONQUESTION, B::Ok | B::Cancel, B::Ok, B::Cancel, B::Question},
        {MB_YESNO | MB_ICONWARNING, B::Yes | B::No, B::Yes, B::NoButton, B::Warning},
        {MB_YESNOCANCEL | MB_ICONINFORMATION, B::Yes | B::No | B::Cancel, B::Yes, B::Cancel,
         B::Information},
        // Second and third default button.
        {MB_YESNO | 0x100, B::Yes | B::No, B::No, B::NoButton, B::NoIcon},
        {MB_YESNOCANCEL | 0x200, B::Yes | B::No | B::Cancel, B::Cancel, B::Cancel, B::NoIcon},
        // A default past the last button falls back to the first.
        {MB_OK | 0x200, B::Ok, B::Ok, B::Ok, B::NoIcon},
        // Unknown button bits give an OK box rather than one without buttons.
        {0x0F, B::Ok, B::Ok, B::Ok, B::NoIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        const SMessageBoxLook look = MapMessageBoxStyle(c.style);
        EXPECT_EQ(look.buttons, c.buttons);
        EXPECT_EQ(look.defaultButton, c.defaultButton);
        EXPECT_EQ(look.escapeButton, c.escapeButton);
        EXPECT_EQ(look.icon, c.icon);
    }
}

TEST(QtPrompt, ButtonsGiveTheirNumbersAndClosingIsCautious) {
    EXPECT_EQ(MapMessageBoxResult(B::Ok, MB_OK), IDOK);
    EXPECT_EQ(MapMessageBoxResult(B::Cancel, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MapMessageBoxResult(B::Yes, MB_YESNO), IDYES);
    EXPECT_EQ(MapMessageBoxResult(B::No, MB_YESNO), IDNO);
    EXPECT_EQ(MapMessageBoxResult(B::NoButton, MB_YESNOCANCEL), CautiousAnswer(MB_YESNOCANCEL));
    EXPECT_EQ(MapMessageBoxResult(B::NoButton, MB_YESNO), CautiousAnswer(MB_YESNO));
}

TEST(QtPrompt, FiltersBecomeQtNameFilters) {
    struct Case {
        const char* filter;
        QStringList expected;
    } cases[] = {
        {"HTML Files (*.html;*.htm)|*.html; *.htm||", {"HTML Files (*.html *.htm)"}},
        {"JavaScript Files(*.js)|*.js|All Files (*.*)|*.*||",
         {"JavaScript Files (*.js)", "All Files (*)"}},
        {"Form Templates|*.ft||", {"Form Templates (*.ft)"}},
        // Without the closing "||", and with a text but no pattern.
        {"Text Files|*.txt", {"Text Files (*.txt)"}},
        {"Anything||", {"Anything (*)"}},
        {"", {}},
        // Nothing after the terminator counts.
        {"A|*.a||B|*.b||", {"A (*.a)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(ConvertFilter(c.filter), c.expected);
    }
}

TEST(QtPrompt, DefaultSuffix) {
    EXPECT_EQ(DefaultSuffix("*.js"), "js");
    EXPECT_EQ(DefaultSuffix(".html"), "html");
    EXPECT_EQ(DefaultSuffix("ft"), "ft");
    EXPECT_EQ(DefaultSuffix("*.*"), "");
    EXPECT_EQ(DefaultSuffix(""), "");
}

TEST(InitCommonDLL, InstallsTheQtPromptAndNestedCallsUndoOnce) {
    IPrompt* before = &Prompt();
    InitCommonDLL();
    EXPECT_NE(dynamic_cast<CQtPrompt*>(&Prompt()), nullptr);
    InitCommonDLL();
    TermCommonDLL();
    EXPECT_NE(dynamic_cast<CQtPrompt*>(&Prompt()), nullptr) << "one caller still running";
    TermCommonDLL();
    EXPECT_EQ(&Prompt(), before);
    TermCommonDLL();  // one too many does nothing
    EXPECT_EQ(&Prompt(), before);
}

TEST(InitCommonDLL, APromptInstalledLaterStaysAtTheEnd) {
    InitCommonDLL();
    {
        CScriptedPrompt scripted;
        TermCommonDLL();
        EXPECT_EQ(&Prompt(), &scripted);
    }
    // The scripted prompt put the Qt prompt back; it is still a live object.
    EXPECT_NE(dynamic_cast<CQtPrompt*>(&Prompt()), nullptr);
    SetPrompt(nullptr);
}

TEST(Resources, CommonIconsAndModuleFirstLookup) {
    EXPECT_FALSE(LoadResIcon(14000).isNull());
    EXPECT_FALSE(LoadResIcon(14001).isNull());
    EXPECT_TRUE(LoadResIcon(9999).isNull());
    const SModuleResources module{"Other", nullptr, ":/NoSuchModule"};
    CModuleResourceScope scope(&module);
    // Not in the module: Common's.
    EXPECT_EQ(FindQtResource("icons/14000.png"), QString(":/Common/icons/14000.png"));
    QByteArray html;
    EXPECT_FALSE(LoadResHtml(100, html));
}

TEST(CommonUI, OndButtonLook) {
    CButtonST button("&Next");
    InitOndButton(button);
    using S = CButtonST::EState;
    for (S s : {S::Normal, S::Hover, S::Focus}) {
        EXPECT_EQ(button.GetTextColor(s), QColor(0, 0, 255));
    }
    EXPECT_EQ(button.GetBackColor(S::Hover), QColor(230, 230, 255));
    EXPECT_EQ(button.GetBackColor(S::Normal), button.palette().color(QPalette::Base));
    EXPECT_EQ(button.GetBackColor(S::Focus), button.palette().color(QPalette::Base));
}

TEST(CommonUI, MoveWindowOverTakesThePlaceholdersRectangle) {
    QWidget page;
    page.resize(400, 300);
    auto* box = new QWidget(&page);
    box->setGeometry(20, 30, 300, 200);
    auto* placeholder = new QWidget(box);
    placeholder->setGeometry(5, 7, 100, 50);
    auto* target = new QLineEdit(&page);
    page.show();
    MoveWindowOver(ToHwnd(placeholder), ToHwnd(target), ToHwnd(&page));
    EXPECT_EQ(target->geometry(), QRect(25, 37, 100, 50));
    EXPECT_TRUE(placeholder->isHidden());
    MoveWindowOver(static_cast<HWND>(nullptr), ToHwnd(target), ToHwnd(&page));  // does nothing
    EXPECT_EQ(target->geometry(), QRect(25, 37, 100, 50));
}

}  // namespace
