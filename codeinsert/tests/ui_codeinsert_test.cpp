// The component through the adapter, as a wizard's last page uses it: the
// registration, the tabs, the inner wizard, the script copy and the client's
// insertion.
#include <QClipboard>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QRadioButton>
#include <QUrl>

#include "InsletFixture.h"
#include "ondrelo/OndException.h"
#include "ondrelo/ScriptedPrompt.h"

using namespace insletest;
using namespace inslet;
using ondrelo::CScriptedPrompt;

namespace {

const std::string kSuccess = "The Code is Successfully Inserted";

// Catches the pages "O&pen In Browser" opens.
class CUrlRecorder : public QObject {
    Q_OBJECT
public:
    CUrlRecorder() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~CUrlRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
    std::vector<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

std::string Key(const std::string& key) {
    std::string value;
    return ondrelo::registry::ReadString(HKEY_CLASSES_ROOT, key, "", value) ? value : "<missing>";
}

}  // namespace

TEST_F(InsletTest, RegistrationWritesTheClassAndTheTypeLibraryAndRemovesThem) {
    Register();
    const std::string clsid = "CLSID\\{E9AC4199-58F0-4A01-8ACB-977F0C7716E3}";
    const struct {
        std::string key;
        std::string value;
    } entries[] = {
        {"Inslet.CodeInsertUI.1", "CodeInsertUI Class"},
        {"Inslet.CodeInsertUI.1\\CLSID", "{E9AC4199-58F0-4A01-8ACB-977F0C7716E3}"},
        {"Inslet.CodeInsertUI", "CodeInsertUI Class"},
        {"Inslet.CodeInsertUI\\CurVer", "Inslet.CodeInsertUI.1"},
        {clsid, "CodeInsertUI Class"},
        {clsid + "\\ProgID", "Inslet.CodeInsertUI.1"},
        {clsid + "\\VersionIndependentProgID", "Inslet.CodeInsertUI"},
        {clsid + "\\InprocServer32", fs::canonical(INSLET_LIBRARY_PATH).string()},
        {clsid + "\\TypeLib", "{3626C8F3-87E6-4B53-992F-E9B6AABB005E}"},
        {"TypeLib\\{3626C8F3-87E6-4B53-992F-E9B6AABB005E}\\1.0", "Inslet 1.0 Type Library"},
    };
    for (const auto& e : entries) {
        EXPECT_EQ(Key(e.key), e.value) << e.key;
    }
    std::string model;
    EXPECT_FALSE(ondrelo::registry::ReadString(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32",
                                               "ThreadingModel", model));

    ASSERT_EQ(CallEntry("DllUnregisterServer"), S_OK);
    for (const auto& e : entries) {
        EXPECT_EQ(Key(e.key), "<missing>") << e.key;
    }
}

TEST_F(InsletTest, AnUnregisteredComponentGivesAClearMessageOnThePage) {
    CCIWImpl ciw(&m_handler);
    EXPECT_FALSE(ciw.Create(m_placeholder, m_page.get()));
    EXPECT_EQ(ciw.CreateStatus(), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(ciw.Component(), nullptr);
    auto* label = Control<QLabel>(IDC_COMPONENT_MISSING);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().startsWith(QString::fromUtf8(kComponentMissingText)));
    EXPECT_EQ(label->geometry(), m_placeholder->geometry());
    // The page goes on working without it.
    ciw.SetStaticInfo("a", "b", "mover2.js", "", "Button");
    ciw.SetCode("sub", "main", "warn");
    ciw.SetInsertToExistingFile("/site/a.html");
    ciw.Activate();
    ciw.Reset();
    BOOL inserted = 7;
    EXPECT_EQ(ciw.InsertCode(&inserted), S_OK);
    EXPECT_EQ(inserted, 0);
    EXPECT_TRUE(m_handler.calls.empty());
}

TEST_F(InsletTest, InstructionsShowOneAmpersandAndALongOneEndsInItsOwnLine) {
    MakeComponent();
    const std::string longSub =
        "Copy the following code just after the </HEAD> tag in the HTML page. Make sure that "
        "the path in 'src' attribute is the relative path of the file you copied in step 1 "
        "(see help for details)";
    m_ciw->SetStaticInfo(longSub.c_str(), "Copy && Paste this code to the HTML page",
                         "gen_validatorv3.js", "", "Form");
    m_ciw->Activate();
    auto* sub = Control<QLabel>(IDC_SUB_COMMENT);
    auto* main = Control<QLabel>(IDC_MAIN_COMMENT);
    EXPECT_EQ(main->text(), "Copy & Paste this code to the HTML page");
    EXPECT_EQ(main->toolTip(), "");
    // The long one is cut to the label's width, and whole in the tool tip.
    EXPECT_TRUE(sub->text().startsWith("Copy the following code")) << sub->text().toStdString();
    EXPECT_TRUE(sub->text().endsWith(QChar(0x2026))) << sub->text().toStdString();
    EXPECT_LE(sub->fontMetrics().horizontalAdvance(sub->text()), sub->width());
    EXPECT_EQ(sub->toolTip().toStdString(), longSub);
}

TEST_F(InsletTest, TextsReachTheManualPageAndTheWarningsTabComesAndGoes) {
    MakeComponent("mover2.js", "", "Image missing");
    EXPECT_EQ(TabTexts(),
              (std::vector<QString>{"Auto Insert Code", "Manualy Copy the Code", "Warnings"}));
    EXPECT_EQ(Tabs()->tabText(Tabs()->currentIndex()), "Warnings");
    EXPECT_EQ(Control<QPlainTextEdit>(IDC_WARNINGS_TEXT)->toPlainText(), "Image missing");
    EXPECT_EQ(Control<QLabel>(IDC_SUB_COMMENT)->text(), "Sub instruction");
    EXPECT_EQ(Control<QLabel>(IDC_MAIN_COMMENT)->text(), "Main instruction");
    EXPECT_EQ(Control<QPlainTextEdit>(IDC_SUB_CODE)->toPlainText(),
              "<script src=\"mover2.js\"></script>\n");
    EXPECT_EQ(Control<QPlainTextEdit>(IDC_MAIN_CODE)->toPlainText(), "<a href=\"x\">x</a>\n");
    EXPECT_TRUE(Control(IDC_COPY_JS_FILE)->isEnabled());

    Tabs()->setCurrentIndex(0);
    m_ciw->SetCode("s", "m", "");
    m_ciw->Activate();
    EXPECT_EQ(TabTexts(), (std::vector<QString>{"Auto Insert Code", "Manualy Copy the Code"}));
    EXPECT_EQ(Tabs()->currentIndex(), 0);

    m_ciw->SetMainScript("");  // a text set after the code reaches the page on Activate
    m_ciw->SetCode("s", "m", "Second warning");
    m_ciw->Activate();
    EXPECT_EQ(TabTexts().size(), 3u);
    EXPECT_EQ(Tabs()->tabText(Tabs()->currentIndex()), "Warnings");
    EXPECT_EQ(Control<QPlainTextEdit>(IDC_WARNINGS_TEXT)->toPlainText(), "Second warning");
    for (int id : {IDC_MANUAL_SCRIPT_TEXT, IDC_COPY_JS_FILE, IDC_COPIED_PATH}) {
        EXPECT_FALSE(Control(id)->isEnabled()) << id;
    }
}

TEST_F(InsletTest, CopyButtonsPutTheWholeBoxOnTheClipboardAndDeselect) {
    MakeComponent();
    for (auto [button, box] : {std::pair{IDC_COPY_SUB_CODE, IDC_SUB_CODE},
                               std::pair{IDC_COPY_MAIN_CODE, IDC_MAIN_CODE}}) {
        QApplication::clipboard()->clear();
        Click(button);
        auto* edit = Control<QPlainTextEdit>(box);
        EXPECT_EQ(QApplication::clipboard()->text(), edit->toPlainText()) << box;
        EXPECT_FALSE(edit->textCursor().hasSelection()) << box;
    }
}

TEST_F(InsletTest, CopyJavaScriptFileCopiesFromTheScriptsFolder) {
    MakeComponent();
    CScriptedPrompt prompt;
    const std::string target = (Dir() / "site" / "js" / "mover2.js").string();
    prompt.AnswerFile(target);
    prompt.AnswerFile((Dir() / "missing" / "dir" / "mover2.js").string());
    Click(IDC_COPY_JS_FILE);
    ASSERT_EQ(prompt.Records().size(), 1u);
    const auto& d = prompt.Records()[0].dialog;
    EXPECT_FALSE(d.open);
    EXPECT_EQ(d.title, "Copy JavaScript File");
    EXPECT_EQ(d.defaultExt, "*.js");
    EXPECT_EQ(d.fileName, "mover2.js");
    EXPECT_EQ(d.filter, "JavaScript Files(*.js)|*.js|All Files (*.*)|*.*||");
    EXPECT_TRUE(d.hideReadOnly);
    EXPECT_EQ(Read(target), "function MouseOverButton(){}\n");
    EXPECT_EQ(FieldText(IDC_COPIED_PATH), target);

    Click(IDC_COPY_JS_FILE);  // into a folder that does not exist
    ASSERT_EQ(prompt.Records().size(), 3u);
    EXPECT_EQ(prompt.Records()[2].text,
              "Failed copying the JavaScript File to the destination: " +
                  (Dir() / "missing" / "dir" / "mover2.js").string() +
                  ".Please make sure that you have write access in this folder");
    EXPECT_EQ(prompt.Records()[2].style, MB_OK | MB_ICONERROR);
    EXPECT_EQ(FieldText(IDC_COPIED_PATH), target);
}

TEST_F(InsletTest, NewFileRunCopiesTheScriptInsertsAndRegeneratesWithoutTheWizard) {
    MakeComponent();
    ASSERT_TRUE(
        COndRegistryHandler::SetSettingsValue("lastscriptpath", (Dir() / "site" / "js").string()));
    CScriptedPrompt prompt;
    CUrlRecorder browser;
    EXPECT_FALSE(Control(IDC_FILE_LABEL)->isVisible());
    EXPECT_FALSE(Control(IDC_SCRIPT_LABEL)->isVisible());
    EXPECT_FALSE(Control(IDC_OPEN_IN_BROWSER)->isEnabled());
    EXPECT_FALSE(Control(IDC_REGENERATE)->isEnabled());

    const std::string page = (Dir() / "site" / "new.html").string();
    const std::string dest = (Dir() / "site" / "js" / "mover2.js").string();
    m_handler.onInsert = [&] { Write("site/new.html", "<html></html>\n"); };
    std::vector<std::string> titles;
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        titles.push_back(Title(w));
        EXPECT_FALSE(In(w, ID_WIZBACK)->isEnabled());
        EXPECT_TRUE(In(w, ID_WIZNEXT)->isVisible());
        EXPECT_FALSE(In(w, ID_WIZFINISH)->isVisible());
        TypePath(w, page);
        Press(w, ID_WIZNEXT);
        titles.push_back(Title(w));
        EXPECT_EQ(qobject_cast<QLineEdit*>(In(w, IDC_DESTINATION))->text().toStdString(),
                  "The Script will be copied here: " + dest);
        EXPECT_TRUE(In(w, ID_WIZBACK)->isEnabled());
        EXPECT_TRUE(In(w, ID_WIZFINISH)->isVisible());
        Press(w, ID_WIZFINISH);
    }));
    EXPECT_EQ(titles, (std::vector<std::string>{"Specify HTML File", "Place the Script"}));
    EXPECT_EQ(Read(dest), "function MouseOverButton(){}\n");
    ASSERT_EQ(m_handler.calls.size(), 1u);
    EXPECT_EQ(m_handler.calls[0].page, page);
    EXPECT_EQ(m_handler.calls[0].script, dest);
    EXPECT_TRUE(m_handler.calls[0].createFile);
    EXPECT_TRUE(m_handler.calls[0].placeAfterBody);
    ASSERT_EQ(prompt.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_EQ(prompt.Records()[0].style, MB_OK | MB_ICONINFORMATION);

    EXPECT_TRUE(Control(IDC_FILE_LABEL)->isVisible());
    EXPECT_TRUE(Control(IDC_SCRIPT_LABEL)->isVisible());
    EXPECT_EQ(FieldText(IDC_FILE_FIELD), page);
    EXPECT_EQ(FieldText(IDC_SCRIPT_FIELD), dest);
    EXPECT_TRUE(Control(IDC_OPEN_IN_BROWSER)->isEnabled());
    EXPECT_FALSE(Control(IDC_REGENERATE)->isEnabled());

    Click(IDC_OPEN_IN_BROWSER);
    ASSERT_EQ(browser.urls.size(), 1u);
    EXPECT_EQ(browser.urls[0], QUrl::fromLocalFile(QString::fromStdString(page)));

    // The wizard shows its last page again: the same choices once more,
    // without the inner wizard.
    m_ciw->SetCode("s2", "m2", "");
    m_ciw->Activate();
    EXPECT_TRUE(Control(IDC_REGENERATE)->isEnabled());
    bool wizardShown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            wizardShown = true;
            qobject_cast<QDialog*>(w)->reject();
        }
    });
    Click(IDC_REGENERATE);
    QApplication::processEvents();
    EXPECT_FALSE(wizardShown);
    ASSERT_EQ(m_handler.calls.size(), 2u);
    EXPECT_EQ(m_handler.calls[1].page, page);
    EXPECT_EQ(m_handler.calls[1].script, dest);
    EXPECT_EQ(prompt.MessageTexts(), (std::vector<std::string>{kSuccess, kSuccess}));
    EXPECT_FALSE(Control(IDC_REGENERATE)->isEnabled());
}

TEST_F(InsletTest, FailedScriptCopyIsReportedAndTheCodeStillInserted) {
    MakeComponent();
    ASSERT_TRUE(ondrelo::registry::WriteString(HKEY_LOCAL_MACHINE,
                                               COndRegistryHandler::kInstallationKey, "scriptspath",
                                               (Dir() / "noscripts").string()));
    CScriptedPrompt prompt;
    const std::string dest = (Dir() / "site" / "js" / "mover2.js").string();
    prompt.AnswerFile(dest);  // "&Change The Destination Path "
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        TypePath(w, (Dir() / "site" / "p.html").string());
        Press(w, ID_WIZNEXT);
        Press(w, IDC_CHANGE_DESTINATION);
        Press(w, ID_WIZFINISH);
    }));
    ASSERT_EQ(m_handler.calls.size(), 1u);
    EXPECT_EQ(m_handler.calls[0].script, dest);
    ASSERT_EQ(
        prompt.MessageTexts(),
        (std::vector<std::string>{"Failed copying the JavaScript File to the destination: " + dest +
                                      ".Please make sure that you have write access in this folder",
                                  kSuccess}));
    EXPECT_EQ(prompt.Records()[1].style, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(fs::exists(dest));
}

TEST_F(InsletTest, AFailingClientLeavesTheFileButtonsDisabled) {
    MakeComponent("", "");
    m_handler.result = 0;
    CScriptedPrompt prompt;
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        TypePath(w, "/site/p.html");
        Press(w, ID_WIZNEXT);
        Press(w, ID_WIZFINISH);
    }));
    EXPECT_EQ(m_handler.calls.size(), 1u);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_FALSE(Control(IDC_OPEN_IN_BROWSER)->isEnabled());
    m_ciw->Activate();
    EXPECT_FALSE(Control(IDC_REGENERATE)->isEnabled());
}

TEST_F(InsletTest, AClientThatThrowsIsReportedAndCountsAsAFailure) {
    MakeComponent("", "");
    m_handler.onInsert = [] { COndException::ThrowOndException("Cannot read the page", 12); };
    CScriptedPrompt prompt;
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        TypePath(w, "/site/p.html");
        Press(w, ID_WIZNEXT);
        Press(w, ID_WIZFINISH);
    }));
    ASSERT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Error 12: Cannot read the page"});
    EXPECT_FALSE(Control(IDC_OPEN_IN_BROWSER)->isEnabled());
}

TEST_F(InsletTest, WithoutScriptAndPlaceholderTheResultPageNamesTheFile) {
    MakeComponent("", "");
    CScriptedPrompt prompt;
    const std::string page = (Dir() / "site" / "only.html").string();
    std::vector<std::string> titles;
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        titles.push_back(Title(w));
        TypePath(w, page);
        Press(w, ID_WIZNEXT);
        titles.push_back(Title(w));
        EXPECT_EQ(qobject_cast<QLineEdit*>(In(w, IDC_RESULT_TEXT))->text().toStdString(),
                  "File Path: " + page + ". The code will be inserted in this file.");
        Press(w, ID_WIZFINISH);
    }));
    EXPECT_EQ(titles, (std::vector<std::string>{"Specify HTML File", "Create New File"}));
    ASSERT_EQ(m_handler.calls.size(), 1u);
    EXPECT_EQ(m_handler.calls[0].script, "");
    EXPECT_EQ(FieldText(IDC_SCRIPT_FIELD), "");
}

TEST_F(InsletTest, ExistingFileWithAPlaceholderAsksWhereTheCodeGoes) {
    MakeComponent();
    const std::string page = Write("site/old.html", "<html><body></body></html>");
    CScriptedPrompt prompt;
    prompt.AnswerFile(page);  // "&Browse ..."
    prompt.AnswerFile((Dir() / "site" / "js" / "mover2.js").string());
    std::vector<std::string> titles;
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        Press(w, IDC_INSERT_EXISTING);
        EXPECT_EQ(qobject_cast<QAbstractButton*>(In(w, IDC_INSERT_EXISTING))->text(),
                  "&Insert the Button in Existing File");
        Press(w, IDC_BROWSE);
        Press(w, ID_WIZNEXT);
        titles.push_back(Title(w));
        Press(w, IDC_CHANGE_DESTINATION);
        Press(w, ID_WIZNEXT);
        titles.push_back(Title(w));
        EXPECT_FALSE(In(w, IDC_COPY_PLACEHOLDER)->isEnabled());
        Press(w, IDC_PLACE_LOCATION);
        for (int id : {IDC_PLACE_TEXT, IDC_PLACEHOLDER_TEXT, IDC_COPY_PLACEHOLDER}) {
            EXPECT_TRUE(In(w, id)->isEnabled()) << id;
        }
        Press(w, IDC_COPY_PLACEHOLDER);
        Press(w, ID_WIZFINISH);
    }));
    EXPECT_EQ(titles, (std::vector<std::string>{"Place the Script", "Place the code"}));
    EXPECT_EQ(QApplication::clipboard()->text(), "<!--_PLACE_THE_BUTTON_HERE_-->");
    ASSERT_EQ(prompt.Records().size(), 3u);  // two dialogs, the success; no 114
    EXPECT_EQ(prompt.Records()[0].dialog.title, "Open HTML File");
    ASSERT_EQ(m_handler.calls.size(), 1u);
    EXPECT_EQ(m_handler.calls[0].page, page);
    EXPECT_FALSE(m_handler.calls[0].createFile);
    EXPECT_FALSE(m_handler.calls[0].placeAfterBody);
}

TEST_F(InsletTest, RefusedPagesKeepTheUserOnThem) {
    MakeComponent();
    const std::string existing = Write("site/here.html", "<html></html>");
    CScriptedPrompt prompt;
    prompt.AnswerMessage(IDNO);
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        Press(w, ID_WIZNEXT);  // no path: 116
        EXPECT_EQ(Title(w), "Specify HTML File");
        EXPECT_EQ(w->focusWidget(), In(w, IDC_HTML_PATH));
        TypePath(w, existing);
        Press(w, ID_WIZNEXT);  // 114 answered No
        EXPECT_EQ(Title(w), "Specify HTML File");
        prompt.AnswerMessage(IDYES);
        Press(w, ID_WIZNEXT);
        EXPECT_EQ(Title(w), "Place the Script");
        Press(w, ID_WIZFINISH);  // no destination: 115
        EXPECT_EQ(Title(w), "Place the Script");
        EXPECT_TRUE(w->isVisible());
        Press(w, ID_WIZCANCEL);
    }));
    ASSERT_EQ(prompt.MessageTexts().size(), 4u);
    EXPECT_EQ(prompt.MessageTexts()[0], "Please select the HTML file to insert the Form");
    EXPECT_EQ(prompt.Records()[1].style & 0x0F, MB_YESNO);
    EXPECT_EQ(prompt.MessageTexts()[3],
              "Please select the destination folder to copy the JavaScript file.Click the "
              "\"Change The Destination Path\" button to select the destination path");
    // Cancel changes nothing.
    EXPECT_TRUE(m_handler.calls.empty());
    EXPECT_FALSE(Control(IDC_FILE_LABEL)->isVisible());
    EXPECT_EQ(FieldText(IDC_FILE_FIELD), "");
}

TEST_F(InsletTest, AFixedFileLeavesOutTheFilePageUntilReset) {
    MakeComponent();
    ASSERT_TRUE(
        COndRegistryHandler::SetSettingsValue("lastscriptpath", (Dir() / "site" / "js").string()));
    CScriptedPrompt prompt;
    m_ciw->SetInsertToExistingFile("/site/form.html");
    EXPECT_TRUE(Control(IDC_FILE_LABEL)->isVisible());
    EXPECT_EQ(FieldText(IDC_FILE_FIELD), "/site/form.html");
    EXPECT_FALSE(Control(IDC_SCRIPT_LABEL)->isVisible());
    std::vector<std::string> titles;
    ASSERT_TRUE(RunWizard([&](QWidget* w) {
        titles.push_back(Title(w));
        Press(w, ID_WIZNEXT);
        titles.push_back(Title(w));
        EXPECT_EQ(qobject_cast<QLineEdit*>(In(w, IDC_RESULT_TEXT))->text(),
                  "File Path: /site/form.html. The code will be inserted in this file.");
        Press(w, ID_WIZFINISH);
    }));
    EXPECT_EQ(titles, (std::vector<std::string>{"Place the Script", "Create New File"}));
    ASSERT_EQ(m_handler.calls.size(), 1u);
    EXPECT_EQ(m_handler.calls[0].page, "/site/form.html");
    EXPECT_TRUE(m_handler.calls[0].createFile);

    m_ciw->Reset();
    EXPECT_FALSE(Control(IDC_FILE_LABEL)->isVisible());
    EXPECT_EQ(FieldText(IDC_FILE_FIELD), "");
    EXPECT_FALSE(Control(IDC_OPEN_IN_BROWSER)->isEnabled());
    titles.clear();
    ASSERT_TRUE(RunWizard([&](QWidget* w) { titles.push_back(Title(w)); }));
    EXPECT_EQ(titles, std::vector<std::string>{"Specify HTML File"});
}

TEST_F(InsletTest, TheComponentWithoutItsWindowAndTheTextsItHandsOut) {
    Register();
    void* itf = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_CodeInsertUI, nullptr, CLSCTX_INPROC_SERVER, IID_ICodeInsertUI,
                               &itf),
              S_OK);
    auto* ui = static_cast<ICodeInsertUI*>(itf);
    RECT rect;
    EXPECT_EQ(ui->Move(&rect), S_FALSE);
    EXPECT_EQ(ui->Activate(), S_OK);
    EXPECT_EQ(ui->InitData(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              S_OK);
    BOOL used = 5;
    EXPECT_EQ(ui->IsDialogMessage(nullptr, &used), S_OK);
    EXPECT_EQ(used, 5);
    const char* html = nullptr;
    const char* script = nullptr;
    BOOL create = 0;
    BOOL after = 0;
    EXPECT_EQ(ui->GetData(&html, &script, &create, &after), S_OK);
    EXPECT_STREQ(html, "");
    EXPECT_STREQ(script, "");
    EXPECT_EQ(create, 1);
    EXPECT_EQ(after, 1);

    ASSERT_EQ(ui->Create(ondrelo::ToHwnd(m_page.get())), S_OK);
    ui->SetInsertIntoExistingFile("/site/fixed.html");
    EXPECT_EQ(ui->GetData(&html, nullptr, nullptr, nullptr), S_OK);  // null outs are skipped
    EXPECT_STREQ(html, "/site/fixed.html");
    rect.left = 12;
    rect.top = 20;
    EXPECT_EQ(ui->Move(&rect), S_OK);
    QWidget* container = ondrelo::FindControl(m_page.get(), IDD_CODE_INSERT);
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->pos(), QPoint(12, 20));
    ui->ShowWindow(2);
    EXPECT_TRUE(container->isHidden());
    ui->ShowWindow(1);
    EXPECT_FALSE(container->isHidden());
    EXPECT_EQ(ui->Destroy(), S_OK);
    EXPECT_EQ(ondrelo::FindControl(m_page.get(), IDD_CODE_INSERT), nullptr);
    EXPECT_EQ(ui->Destroy(), S_OK);
    EXPECT_EQ(ui->Release(), 0u);
}

TEST_F(InsletTest, TabMovesTheFocusInsideTheComponentOtherKeysPass) {
    MakeComponent();
    Tabs()->setCurrentIndex(0);
    QWidget* start = Control(IDC_START_WIZARD);
    start->setFocus();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    MSG msg = ondrelo::MakeMsg(start, &tab);
    EXPECT_TRUE(m_ciw->IsDialogMessage(&msg));
    EXPECT_NE(m_page->focusWidget(), start);

    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    msg = ondrelo::MakeMsg(start, &letter);
    EXPECT_FALSE(m_ciw->IsDialogMessage(&msg));
    // A message for a window outside the component is not its business.
    msg = ondrelo::MakeMsg(m_page.get(), &tab);
    EXPECT_FALSE(m_ciw->IsDialogMessage(&msg));
}

#include "ui_codeinsert_test.moc"
