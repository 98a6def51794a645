// The inner wizard's page list, the checks on leaving its pages, and the
// insertion runs of the "Auto Insert Code" tab.
#include <gtest/gtest.h>

#include <filesystem>

#include "ondrelo/testsupport/StoreFixture.h"
#include "inslet/InsertWizardModel.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/registry.h"

namespace fs = std::filesystem;
using inslet::CAutoInsertState;
using inslet::CInsertWizardModel;
using inslet::EInnerPage;
using ondrelo::CScriptedPrompt;
using Pages = std::vector<EInnerPage>;

namespace {

// A scratch settings store and folder per test.
class InsertWizardTest : public ondrelo::registry::testing::StoreTest {};

}  // namespace

TEST_F(InsertWizardTest, PageListsForTheCommonCases) {
    struct Case {
        const char* name;
        std::string script;
        std::string placeholder;
        int fileOption;
        Pages expected;
    } cases[] = {
        {"no script, no placeholder, new file",
         "",
         "",
         0,
         {EInnerPage::SpecifyHtmlFile, EInnerPage::Result}},
        {"no script, no placeholder, existing file",
         "",
         "",
         1,
         {EInnerPage::SpecifyHtmlFile, EInnerPage::Result}},
        {"script and placeholder, existing file",
         "mover2.js",
         "_PLACE_THE_BUTTON_HERE_",
         1,
         {EInnerPage::SpecifyHtmlFile, EInnerPage::PlaceScript, EInnerPage::PlaceCode}},
        {"script and placeholder, new file",
         "mover2.js",
         "_PLACE_",
         0,
         {EInnerPage::SpecifyHtmlFile, EInnerPage::PlaceScript}},
        {"placeholder, no script, existing file",
         "",
         "_PLACE_",
         1,
         {EInnerPage::SpecifyHtmlFile, EInnerPage::PlaceCode}},
        {"script, no placeholder, existing file",
         "cookies.js",
         "",
         1,
         {EInnerPage::SpecifyHtmlFile, EInnerPage::PlaceScript}},
    };
    for (const auto& c : cases) {
        CScriptedPrompt prompt;
        CInsertWizardModel model;
        model.SetScriptName(c.script);
        model.SetPlaceholder(c.placeholder);
        model.BeginRun();
        model.OnSpecifyActivated();
        model.m_nFileOption = c.fileOption;
        model.m_strPath = (Dir() / "page.html").string();
        ASSERT_TRUE(model.LeaveSpecifyForward()) << c.name;
        EXPECT_EQ(model.Pages(), c.expected) << c.name;
        EXPECT_TRUE(prompt.Records().empty()) << c.name;
        if (model.HasPage(EInnerPage::Result)) {
            EXPECT_EQ(model.m_strResultText, "File Path: " + model.m_strPath +
                                                 ". The code will be inserted in this file.");
        }
    }
}

TEST_F(InsertWizardTest, GoingBackAndChangingTheOptionRebuildsTheList) {
    CScriptedPrompt prompt;
    CInsertWizardModel model;
    model.SetScriptName("mover2.js");
    model.SetPlaceholder("_PLACE_");
    model.BeginRun();
    model.m_nFileOption = 1;
    model.m_strPath = "/site/a.html";
    ASSERT_TRUE(model.LeaveSpecifyForward());
    EXPECT_TRUE(model.HasPage(EInnerPage::PlaceCode));
    model.m_nFileOption = 0;  // back, then Create New
    model.OnSpecifyActivated();
    ASSERT_TRUE(model.LeaveSpecifyForward());
    EXPECT_EQ(model.Pages(), (Pages{EInnerPage::SpecifyHtmlFile, EInnerPage::PlaceScript}));
}

TEST_F(InsertWizardTest, EmptyPathIsRefusedWithTheFocusInTheField) {
    CScriptedPrompt prompt;
    CInsertWizardModel model;
    model.OnSpecifyActivated();
    EXPECT_FALSE(model.LeaveSpecifyForward());
    EXPECT_TRUE(model.FocusPathField());
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(prompt.MessageTexts()[0], "Please select the HTML file to insert the Form");
}

TEST_F(InsertWizardTest, TypedExistingPathAsksBeforeOverwritingBrowsedOneDoesNot) {
    std::string existing = Write("old.html", "<html></html>");
    {
        CScriptedPrompt prompt;
        prompt.AnswerMessage(IDNO);
        CInsertWizardModel model;
        model.OnSpecifyActivated();
        model.m_strPath = existing;
        EXPECT_FALSE(model.LeaveSpecifyForward());  // No keeps the page
        ASSERT_EQ(prompt.Records().size(), 1u);
        EXPECT_EQ(prompt.Records()[0].text, "The file " + existing +
                                                " already exists! If you proceed, the file will "
                                                "be overwritten. Proceed?");
        EXPECT_EQ(prompt.Records()[0].style & 0x0F, MB_YESNO);
        prompt.AnswerMessage(IDYES);
        EXPECT_TRUE(model.LeaveSpecifyForward());
    }
    {
        CScriptedPrompt prompt;
        prompt.AnswerFile(existing);
        CInsertWizardModel model;
        model.OnSpecifyActivated();
        ASSERT_TRUE(model.Browse());
        EXPECT_EQ(model.m_strPath, existing);
        EXPECT_TRUE(model.LeaveSpecifyForward());
        ASSERT_EQ(prompt.Records().size(), 1u);  // the dialog only
        const auto& d = prompt.Records()[0].dialog;
        EXPECT_FALSE(d.open);
        EXPECT_EQ(d.title, "Create New HTML File");
        EXPECT_TRUE(d.overwritePrompt);
        EXPECT_EQ(d.filter, "Html Files(*.html,*.htm)|*.html; *.htm|All Files (*.*)|*.*||");
    }
    {
        // The path that was already there when the page was shown is not asked about again.
        CScriptedPrompt prompt;
        CInsertWizardModel model;
        model.m_strPath = existing;
        model.OnSpecifyActivated();
        EXPECT_TRUE(model.LeaveSpecifyForward());
        EXPECT_TRUE(prompt.Records().empty());
    }
    {
        // Inserting into an existing file asks nothing.
        CScriptedPrompt prompt;
        CInsertWizardModel model;
        model.OnSpecifyActivated();
        model.m_nFileOption = 1;
        model.m_strPath = existing;
        EXPECT_TRUE(model.LeaveSpecifyForward());
        EXPECT_TRUE(prompt.Records().empty());
    }
}

TEST_F(InsertWizardTest, BrowsingForAnExistingFileUsesTheOpenDialog) {
    CScriptedPrompt prompt;
    prompt.AnswerFile(std::nullopt);
    CInsertWizardModel model;
    model.m_nFileOption = 1;
    model.m_strPath = "typed";
    EXPECT_FALSE(model.Browse());
    EXPECT_EQ(model.m_strPath, "typed");
    const auto& d = prompt.Records().at(0).dialog;
    EXPECT_TRUE(d.open);
    EXPECT_TRUE(d.fileMustExist);
    EXPECT_EQ(d.title, "Open HTML File");
    EXPECT_EQ(d.defaultExt, "*.html");
}

TEST_F(InsertWizardTest, FixedFileRemovesTheFilePageAndResetBringsItBack) {
    CInsertWizardModel model;
    model.SetScriptName("gen_validatorv3.js");
    model.SetPlaceholder("_PLACE_THE_FORM_HERE_");
    model.SetInsertIntoExistingFile("/site/form.html");
    EXPECT_TRUE(model.FileFixed());
    EXPECT_EQ(model.Pages(), (Pages{EInnerPage::PlaceScript, EInnerPage::Result}));
    EXPECT_EQ(model.m_strResultText,
              "File Path: /site/form.html. The code will be inserted in this file.");
    EXPECT_EQ(model.HtmlFile(), "/site/form.html");
    EXPECT_TRUE(model.CreateFile());
    // Place the Script is not the last page: Back and Next.
    auto b = model.ButtonsFor(EInnerPage::PlaceScript);
    EXPECT_TRUE(b.back && b.next && !b.finish);

    // Without a script file the run drops "Place the Script"; fixing the
    // file again at the next showing still leaves a page to run.
    CInsertWizardModel noScript;
    noScript.SetInsertIntoExistingFile("/site/form.html");
    noScript.BeginRun();
    EXPECT_EQ(noScript.Pages(), Pages{EInnerPage::Result});
    noScript.SetInsertIntoExistingFile("/site/form.html");
    EXPECT_EQ(noScript.Pages(), Pages{EInnerPage::Result});
    EXPECT_EQ(noScript.m_strResultText,
              "File Path: /site/form.html. The code will be inserted in this file.");

    model.SetInsertIntoExistingFile("");  // only turns the fixing off
    EXPECT_FALSE(model.FileFixed());
    EXPECT_FALSE(model.HasPage(EInnerPage::SpecifyHtmlFile));
    model.Reset();
    EXPECT_EQ(model.Pages(), (Pages{EInnerPage::SpecifyHtmlFile, EInnerPage::PlaceScript}));
    EXPECT_TRUE(model.HtmlFile().empty());
}

TEST_F(InsertWizardTest, WizardButtonsByPage) {
    CInsertWizardModel model;
    auto s = model.ButtonsFor(EInnerPage::SpecifyHtmlFile);
    EXPECT_TRUE(!s.back && s.next && !s.finish);
    auto last = model.ButtonsFor(EInnerPage::PlaceScript);  // last page of the initial list
    EXPECT_TRUE(last.back && !last.next && last.finish);
    for (EInnerPage p : {EInnerPage::PlaceCode, EInnerPage::Result}) {
        auto b = model.ButtonsFor(p);
        EXPECT_TRUE(b.back && !b.next && b.finish);
    }
}

TEST_F(InsertWizardTest, ScriptDestinationDefaultsToTheLastFolderAndMustBeSet) {
    CScriptedPrompt prompt;
    CInsertWizardModel model;
    model.SetScriptName("mover2.js");
    model.OnPlaceScriptActivated();
    EXPECT_TRUE(model.m_strDestination.empty());
    EXPECT_TRUE(model.DestinationText().empty());
    EXPECT_FALSE(model.LeavePlaceScriptForward());
    EXPECT_EQ(prompt.MessageTexts().back(),
              "Please select the destination folder to copy the JavaScript file.Click the "
              "\"Change The Destination Path\" button to select the destination path");
    // The first choice of a place starts in the page's folder.
    model.m_strPath = "/site/pages/index.html";
    prompt.AnswerFile(std::nullopt);
    EXPECT_FALSE(model.ChangeDestination());
    EXPECT_EQ(prompt.Records().back().dialog.initialDir, "/site/pages");

    ASSERT_TRUE(COndRegistryHandler::SetSettingsValue("lastscriptpath", "/site/js"));
    model.OnPlaceScriptActivated();
    EXPECT_EQ(model.m_strDestination, "/site/js/mover2.js");
    EXPECT_EQ(model.DestinationText(), "The Script will be copied here: /site/js/mover2.js");
    EXPECT_TRUE(model.LeavePlaceScriptForward());

    prompt.AnswerFile(std::string("/elsewhere/mover2.js"));
    EXPECT_TRUE(model.ChangeDestination());
    // Once a folder was used, the dialog starts there, not beside the page.
    EXPECT_EQ(prompt.Records().back().dialog.initialDir, "/site/js");
    model.OnPlaceScriptActivated();  // a chosen destination stays
    EXPECT_EQ(model.m_strDestination, "/elsewhere/mover2.js");
}

TEST_F(InsertWizardTest, RunCopiesTheScriptInsertsAndEnablesButtons) {
    fs::create_directories(Dir() / "scripts");
    Write("scripts/mover2.js", "function mover(){}\n");
    ASSERT_TRUE(ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE,
                                               COndRegistryHandler::kInstallationKey, "scriptspath",
                                               (Dir() / "scripts").string()));
    CScriptedPrompt prompt;
    CInsertWizardModel model;
    model.SetScriptName("mover2.js");
    CAutoInsertState state(model);
    int calls = 0;
    state.SetHandler([&] {
        ++calls;
        return 1;
    });
    EXPECT_FALSE(state.FileShown());
    model.m_strPath = (Dir() / "page.html").string();
    model.m_strDestination = (Dir() / "mover2.js").string();
    state.FinishRun();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Read((Dir() / "mover2.js").string()), "function mover(){}\n");
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"The Code is Successfully Inserted"}));
    EXPECT_EQ(prompt.Records()[0].style, MB_OK | MB_ICONINFORMATION);
    EXPECT_TRUE(state.FileShown() && state.ScriptShown());
    EXPECT_EQ(state.FileFieldText(), model.m_strPath);
    EXPECT_TRUE(state.OpenEnabled());
    EXPECT_FALSE(state.RegenerateEnabled());

    state.Activate();
    EXPECT_TRUE(state.RegenerateEnabled());
    state.Regenerate();  // no inner wizard, same choices
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(state.RegenerateEnabled());

    state.Reset();
    EXPECT_FALSE(state.OpenEnabled());
    EXPECT_FALSE(state.FileShown());
    EXPECT_TRUE(state.HtmlFile().empty());
}

TEST_F(InsertWizardTest, FailedCopyIsReportedAndTheInsertionStillRuns) {
    ASSERT_TRUE(ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE,
                                               COndRegistryHandler::kInstallationKey, "scriptspath",
                                               (Dir() / "noscripts").string()));
    CScriptedPrompt prompt;
    CInsertWizardModel model;
    model.SetScriptName("mover2.js");
    CAutoInsertState state(model);
    int calls = 0;
    state.SetHandler([&] {
        ++calls;
        return 0;  // the client failed too
    });
    model.m_strPath = "/site/page.html";
    model.m_strDestination = (Dir() / "out" / "mover2.js").string();
    state.FinishRun();
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text,
              "Failed copying the JavaScript File to the destination: " + model.m_strDestination +
                  ".Please make sure that you have write access in this folder");
    EXPECT_EQ(prompt.Records()[0].style, MB_OK | MB_ICONERROR);
    // A failing client leaves the file buttons disabled and shows no success.
    EXPECT_FALSE(state.Inserted());
    EXPECT_FALSE(state.OpenEnabled());
    state.Activate();
    EXPECT_FALSE(state.RegenerateEnabled());
}

TEST_F(InsertWizardTest, WithoutAScriptNothingIsCopied) {
    CScriptedPrompt prompt;
    CInsertWizardModel model;
    model.BeginRun();
    EXPECT_FALSE(model.HasPage(EInnerPage::PlaceScript));
    CAutoInsertState state(model);
    state.SetHandler([] { return 1; });
    model.m_strPath = "/site/page.html";
    state.FinishRun();
    EXPECT_EQ(prompt.MessageTexts(),
              (std::vector<std::string>{"The Code is Successfully Inserted"}));
    EXPECT_FALSE(state.ScriptDestination().size());
}

TEST_F(InsertWizardTest, TypingAfterBrowsingAsksAboutTheTypedFile) {
    std::string existing = Write("other.html", "<html></html>");
    CScriptedPrompt prompt;
    prompt.AnswerFile((Dir() / "new.html").string());
    prompt.AnswerMessage(IDNO);
    CInsertWizardModel model;
    model.OnSpecifyActivated();
    ASSERT_TRUE(model.Browse());
    model.OnPathEdited(existing);  // changed by hand after browsing
    EXPECT_FALSE(model.LeaveSpecifyForward());
    ASSERT_EQ(prompt.Records().size(), 2u);
    EXPECT_EQ(prompt.Records()[1].text, "The file " + existing +
                                            " already exists! If you proceed, the file will be "
                                            "overwritten. Proceed?");
}

TEST_F(InsertWizardTest, ChoicesReadBackAreThoseOfTheLastFinishedRun) {
    CScriptedPrompt prompt;
    CInsertWizardModel model;
    model.SetPlaceholder("_PLACE_");
    CAutoInsertState state(model);
    state.SetHandler([] { return 1; });
    // Before any run: the defaults of the pages.
    EXPECT_TRUE(state.CreateFile());
    EXPECT_TRUE(state.PlaceAfterBody());
    EXPECT_TRUE(state.HtmlFile().empty());

    model.m_nFileOption = 1;
    model.m_nPlaceOption = 1;
    model.m_strPath = "/site/existing.html";
    state.FinishRun();
    EXPECT_FALSE(state.CreateFile());
    EXPECT_FALSE(state.PlaceAfterBody());

    // A later run that is cancelled after changing the pages changes nothing
    // that "Re&generate" inserts with.
    model.m_nFileOption = 0;
    model.m_nPlaceOption = 0;
    model.OnPathEdited("/site/other.html");
    EXPECT_EQ(state.HtmlFile(), "/site/existing.html");
    EXPECT_FALSE(state.CreateFile());
    EXPECT_FALSE(state.PlaceAfterBody());

    // A file fixed afterwards wins, and is taken as a new file's target.
    model.SetInsertIntoExistingFile("/site/fixed.html");
    EXPECT_EQ(state.HtmlFile(), "/site/fixed.html");
    EXPECT_EQ(state.FileFieldText(), "/site/fixed.html");
    EXPECT_TRUE(state.CreateFile());

    state.Reset();
    EXPECT_TRUE(state.CreateFile());
    EXPECT_TRUE(state.PlaceAfterBody());
    EXPECT_TRUE(state.HtmlFile().empty());
}

TEST(InsertWizardDialogs, APathAlreadyTypedGivesTheDialogsFolderAndName) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"", "", ""},
        {"/site/index.html", "/site", "index.html"},
        {"/site/pages/", "/site/pages/", ""},
        {"index.html", "", "index.html"},
        {"/index.html", "/", "index.html"},
    };
    for (const Case& c : cases) {
        std::string folder = "stale", name = "stale";
        inslet::SplitForDialog(c.path, folder, name);
        EXPECT_EQ(folder, c.folder) << c.path;
        EXPECT_EQ(name, c.name) << c.path;
    }
}
