// The form wizard's sheet on the offscreen platform: the flow between the
// five pages, the checks that keep the user on a page, the restart offers,
// the Form Elements page's list actions, and the code page's insertion.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "../core/FormTestUtil.h"
#include "FormwardenPages.h"
#include "formwarden/FormResources.h"
#include "formwarden/FormTemplate.h"
#include "formwarden/Validations.h"
#include "ondrelo/Common.h"
#include "inslet/InsletControls.h"
#include "ondrelo/BrowserWnd.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/CodeGen.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/ListCtrlEx.h"
#include "ondrelo/ModuleClasses.h"
#include "ondrelo/ModuleObject.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/QtResources.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/com.h"
#include "ondrelo/registry.h"
#include "ondrelo/testsupport/EntryPoints.h"
#include "ondrelo/testsupport/StoreFixture.h"

namespace {

using namespace formwarden;
using formwarden::test::Checkbox;
using formwarden::test::Of;
using formwarden::test::Textbox;
using formwarden::test::Val;
using ondrelo::registry::testing::ReadFile;
using ondrelo::registry::testing::WriteFile;

enum EPage { kIntro, kElements, kValidations, kErrors, kCode };

HRESULT RegisterInslet() {
    return ondrelo::test::CallEntry(INSLET_LIBRARY_PATH, "DllRegisterServer");
}

class FormSheet : public ondrelo::registry::testing::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        CoInitialize(nullptr);
        ASSERT_EQ(RegisterInslet(), S_OK);
        ASSERT_TRUE(ondrelo::registry::WriteString(
            HKEY_LOCAL_MACHINE, COndRegistryHandler::kInstallationKey, "scriptspath", m_dir));
        WriteFile(m_dir + "/gen_validatorv3.js", "// validator\n");
        CCodeGen::SetFixedRandomNumbers({1, 2});
        parent = std::make_unique<QWidget>();
        parent->resize(800, 560);
        sheet = new CFormwardenSheet;
        // The element editor is replaced by one that appends what the test
        // queued, so that the flow can be driven without modal windows.
        sheet->editElement = [this](QWidget*, CHtmlForm& form, int edited, int preset) {
            editorCalls.push_back({edited, preset});
            if (queued.empty()) {
                return -1;
            }
            CFormElement element = std::move(queued.front());
            queued.erase(queued.begin());
            if (edited >= 0) {
                form.ReplaceElement(edited, std::move(element));
                form.m_bModified = true;
                return edited;
            }
            form.m_bModified = true;
            return form.AppendElement(std::move(element));
        };
        {
            ondrelo::CModuleResourceScope scope(&FormwardenResources());
            ASSERT_TRUE(sheet->Create(parent.get(), QRect(0, 0, 800, 560)));
        }
        sheet->show();
        parent->show();
    }
    void TearDown() override {
        parent.reset();
        CCodeGen::SetFixedRandomNumbers({});
        CCommon::SetMessageTitle("");
        CoFreeUnusedLibraries();
        CoUninitialize();
        StoreTest::TearDown();
    }

    template <class T = QWidget>
    T* Control(int page, int id) {
        auto* control = ondrelo::FindControlAs<T>(sheet->GetPage(page), id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    void Click(int page, int id) { Control<QAbstractButton>(page, id)->click(); }
    void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
    }
    // A designed form with the elements given, reached through the pages.
    void Design(std::vector<CFormElement> elements) {
        Click(kIntro, IDC_INTRO_NEW);
        sheet->PressNext();
        ASSERT_EQ(sheet->GetActiveIndex(), kElements);
        for (CFormElement& element : elements) {
            queued.push_back(std::move(element));
            Click(kElements, IDC_ADD);
        }
    }
    std::vector<std::string> ListNames(int page, int id) {
        std::vector<std::string> names;
        auto* list = Control<CListCtrlEx>(page, id);
        for (int row = 0; row < list->rowCount(); ++row) {
            names.push_back(list->ItemText(row, 0));
        }
        return names;
    }
    std::string Code(int id) {
        auto* box = ondrelo::FindControlAs<QPlainTextEdit>(sheet->GetPage(kCode), id);
        return box ? ondrelo::FromQt(box->toPlainText()) : std::string();
    }

    ondrelo::CScriptedPrompt prompt;
    std::unique_ptr<QWidget> parent;
    CFormwardenSheet* sheet = nullptr;
    std::vector<CFormElement> queued;
    std::vector<std::pair<int, int>> editorCalls;
};

TEST_F(FormSheet, PagesInOrderWithLabelsTitlesAndHelp) {
    const char* labels[] = {"&Introduction", "F&orm Elements", "V&alidations", "E&rror Strings",
                            "&Take The Code!"};
    const char* titles[] = {"Form Validation Wizard Introduction", "Create New Form",
                            "Add Validations", "Edit Error strings", "Take the Code"};
    ASSERT_EQ(sheet->GetPageCount(), 5);
    EXPECT_EQ(sheet->GetPage(kIntro)->GetPageType(), PAGE_FIRST);
    EXPECT_EQ(sheet->GetPage(kCode)->GetPageType(), PAGE_CODE);
    EXPECT_EQ(CCommon::GetMessageTitle(), kFormWizardTitle);
    Design({Textbox("email", "E-mail")});
    for (int i = kElements; i <= kCode; ++i) {
        ASSERT_EQ(sheet->GetActiveIndex(), i);
        EXPECT_EQ(sheet->GetPage(i)->GetPageLabel(), labels[i]);
        ASSERT_NE(sheet->GetPage(i)->GetHelpPane(), nullptr) << i;
        EXPECT_FALSE(sheet->GetPage(i)->GetHelpPane()->toPlainText().isEmpty()) << i;
        sheet->PressNext();
    }
    for (int i = kIntro; i <= kCode; ++i) {
        EXPECT_EQ(sheet->GetPage(i)->GetPageLabel(), labels[i]);
        EXPECT_EQ(ondrelo::FromQt(sheet->GetPage(i)->windowTitle()), titles[i]);
    }
}

TEST_F(FormSheet, FirstPageRefusesAnEmptyPathAndUnreadablePages) {
    struct SCase {
        const char* path;
        const char* page;  // written first when not null
        const char* message;
    } cases[] = {
        {"", nullptr, "File Path is Empty! Please select the HTML File that contains the Form"},
        {"   ", nullptr,
         "File Path is Empty! Please select the HTML File that contains the Form"},
        {"missing.html", nullptr, "Could not Open HTML file!"},
    };
    for (const SCase& c : cases) {
        prompt.Clear();
        const std::string path = *c.path && std::string(c.path).find('.') != std::string::npos
                                     ? m_dir + "/" + c.path
                                     : c.path;
        Control<QLineEdit>(kIntro, IDC_INTRO_FILE)->setText(ondrelo::ToQt(path));
        sheet->PressNext();
        EXPECT_EQ(sheet->GetActiveIndex(), kIntro) << c.path;
        ASSERT_FALSE(prompt.MessageTexts().empty()) << c.path;
        EXPECT_EQ(prompt.MessageTexts().front(), c.message);
        EXPECT_TRUE(Control(kIntro, IDC_INTRO_EXISTING)->isEnabled());
    }
}

TEST_F(FormSheet, AnExistingFormSkipsTheDesignAndHandsOverOnlyItsScript) {
    const std::string page = m_dir + "/contact.html";
    WriteFile(page,
              "<html><head><title>t</title></head><body>\r\n"
              "<form name=\"contact\" action=\"send.php\" method=\"post\">\r\n"
              "<input type=\"text\" name=\"email\">\r\n"
              "<input type=\"checkbox\" name=\"news\" value=\"yes\">\r\n"
              "</form>\r\n</body></html>\r\n");
    Control<QLineEdit>(kIntro, IDC_INTRO_FILE)->setText(ondrelo::ToQt(page));
    sheet->PressNext();
    ASSERT_EQ(sheet->GetActiveIndex(), kValidations);
    EXPECT_TRUE(sheet->IsPageFormSource());
    EXPECT_FALSE(sheet->GetPage(kElements)->IsEnabled());
    EXPECT_EQ(ListNames(kValidations, IDC_VALIDATION_ELEMENTS),
              (std::vector<std::string>{"email", "news"}));
    EXPECT_EQ(sheet->ValidationsPage().Area()->ShownElement(), 0);

    // Leaving the Validations page stores its editor, which counts as work:
    // going back to the first page asks before it is dropped.
    prompt.AnswerMessage(IDCANCEL);
    sheet->PressBack();
    EXPECT_EQ(sheet->GetActiveIndex(), kValidations);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, kRestartOfferText);

    // A validation added through the form source reaches the code page.
    sheet->PageForm().GetElement(0).Validations()->push_back(
        Val(kValRequired, "Please enter the value for email"));
    sheet->PressNext();
    sheet->PressNext();
    ASSERT_EQ(sheet->GetActiveIndex(), kCode);
    const std::string main = Code(inslet::IDC_MAIN_CODE);
    EXPECT_EQ(main.find("<FORM"), std::string::npos);
    EXPECT_NE(main.find("contactValidator.addValidation(\"email\",\"req\""), std::string::npos);
    EXPECT_NE(Code(inslet::IDC_SUB_CODE).find("gen_validatorv3.js"), std::string::npos);

    // Inserting puts the script after the form and saves the page.
    EXPECT_EQ(sheet->TakeCodePage().InsertCode(page, m_dir + "/gen_validatorv3.js", false, true),
              1);
    const std::string written = ReadFile(page);
    EXPECT_LT(written.find("</form>"), written.find("contactValidator"));
    EXPECT_NE(written.find("<SCRIPT src=\"gen_validatorv3.js\""), std::string::npos);
    EXPECT_FALSE(sheet->PageForm().m_bModified);
}

TEST_F(FormSheet, FormElementsPageChecksTheFormBeforeLeaving) {
    Design({});
    auto* name = Control<QLineEdit>(kElements, IDC_FORM_NAME);
    EXPECT_EQ(ondrelo::FromQt(name->text()), "myform");
    struct SCase {
        const char* name;
        bool withElement;
        const char* message;  // null: accepted
    } cases[] = {
        {"order", false,
         "No form elements created! Press the 'Add' button to create new form element"},
        {"", true, "Please enter the name of the Form"},
        {"2nd", true,
         "The form name can contain alpha numeric characters only.The name should start with an "
         "alphabetic character"},
        {"my-form", true,
         "The form name can contain alpha numeric characters only.The name should start with an "
         "alphabetic character"},
        {"order_2", true, nullptr},
    };
    for (const SCase& c : cases) {
        prompt.Clear();
        if (c.withElement && sheet->DesignedForm().GetElementCount() == 0) {
            queued.push_back(Textbox("email", "E-mail"));
            Click(kElements, IDC_ADD);
        }
        name->setText(c.name);
        sheet->PressNext();
        if (c.message) {
            EXPECT_EQ(sheet->GetActiveIndex(), kElements) << c.name;
            EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{c.message}) << c.name;
        } else {
            EXPECT_EQ(sheet->GetActiveIndex(), kValidations) << c.name;
            EXPECT_TRUE(prompt.MessageTexts().empty());
        }
    }
    EXPECT_EQ(sheet->DesignedForm().m_strName, "order_2");
}

TEST_F(FormSheet, FormPropertiesReachTheForm) {
    Design({Textbox("email", "E-mail")});
    Control<QLineEdit>(kElements, IDC_FORM_ACTION)->setText("send.php");
    Control<QComboBox>(kElements, IDC_FORM_METHOD)->setCurrentIndex(1);
    Click(kElements, IDC_FORM_TABLE);
    sheet->PressNext();
    const CHtmlForm& form = sheet->DesignedForm();
    EXPECT_EQ(form.m_strAction, "send.php");
    EXPECT_EQ(form.m_nMethod, kMethodPost);
    EXPECT_FALSE(form.m_bTableLayout);
}

TEST_F(FormSheet, ElementListButtonsAndKeys) {
    Design({Textbox("a", "A"), Textbox("b", "B"), Textbox("c", "C")});
    auto* list = Control<CListCtrlEx>(kElements, IDC_ELEMENTS);
    CFormElementsPage& page = sheet->ElementsPage();
    // The new element is selected; the list buttons follow the selection.
    EXPECT_EQ(page.SelectedRows(), std::vector<int>{2});
    page.SelectRow(-1);
    for (int id : {IDC_REMOVE, IDC_MODIFY, IDC_MOVE_UP, IDC_MOVE_DOWN}) {
        EXPECT_FALSE(Control(kElements, id)->isEnabled()) << id;
    }
    EXPECT_TRUE(Control(kElements, IDC_ADD)->isEnabled());

    // Type buttons open the editor preset to their type.
    Click(kElements, IDC_TYPE_FIRST + static_cast<int>(kTypeRadio));
    EXPECT_EQ(editorCalls.back(), std::make_pair(-1, static_cast<int>(kTypeRadio)));

    // Ctrl+Up and Ctrl+Down move; the first cannot go up, the last not down.
    page.SelectRow(2);
    Key(list, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(ListNames(kElements, IDC_ELEMENTS), (std::vector<std::string>{"a", "c", "b"}));
    Key(list, Qt::Key_Up, Qt::ControlModifier);
    Key(list, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(ListNames(kElements, IDC_ELEMENTS), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(page.SelectedRows(), std::vector<int>{0});
    page.SelectRow(2);
    Click(kElements, IDC_MOVE_DOWN);
    EXPECT_EQ(ListNames(kElements, IDC_ELEMENTS), (std::vector<std::string>{"c", "a", "b"}));

    // Enter modifies the selected element.
    page.SelectRow(1);
    queued.push_back(Textbox("a2", "A2"));
    Key(list, Qt::Key_Return);
    EXPECT_EQ(editorCalls.back(), std::make_pair(1, static_cast<int>(kTypeTextbox)));
    EXPECT_EQ(ListNames(kElements, IDC_ELEMENTS), (std::vector<std::string>{"c", "a2", "b"}));

    // Delete removes every selected element after the question; No keeps them.
    list->selectAll();
    prompt.AnswerMessage(IDNO);
    Key(list, Qt::Key_Delete);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Do you want to remove the selected input element(s)?"});
    EXPECT_EQ(sheet->DesignedForm().GetElementCount(), 3);
    list->clearSelection();
    list->selectRow(0);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    list->selectRow(2);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    prompt.AnswerMessage(IDYES);
    Click(kElements, IDC_REMOVE);
    EXPECT_EQ(ListNames(kElements, IDC_ELEMENTS), std::vector<std::string>{"a2"});
}

TEST_F(FormSheet, GoingBackWithUnsavedWorkOffersToKeepIt) {
    // Nothing changed: nothing asked, nothing lost.
    Click(kIntro, IDC_INTRO_NEW);
    sheet->PressNext();
    ASSERT_EQ(sheet->GetActiveIndex(), kElements);
    sheet->PressBack();
    EXPECT_EQ(sheet->GetActiveIndex(), kIntro);
    EXPECT_TRUE(prompt.Records().empty());

    sheet->PressNext();
    queued.push_back(Textbox("email", "E-mail"));
    Click(kElements, IDC_ADD);

    // Cancel (and the box closed) stays.
    prompt.AnswerMessage(IDCANCEL);
    sheet->PressBack();
    EXPECT_EQ(sheet->GetActiveIndex(), kElements);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, kRestartOfferText);
    EXPECT_EQ(prompt.Records()[0].caption, "Form Validation Wizard");

    // Save whose dialog is cancelled keeps the work too.
    prompt.AnswerMessage(IDYES);
    prompt.AnswerFile(std::nullopt);
    sheet->PressPageButton(kIntro);
    EXPECT_EQ(sheet->GetActiveIndex(), kElements);
    EXPECT_EQ(sheet->DesignedForm().GetElementCount(), 1);

    // Save with a file: the template holds the form, and the wizard restarts.
    const std::string file = m_dir + "/kept.ft";
    prompt.AnswerMessage(IDYES);
    prompt.AnswerFile(file);
    sheet->PressBack();
    EXPECT_EQ(sheet->GetActiveIndex(), kIntro);
    EXPECT_EQ(sheet->DesignedForm().GetElementCount(), 0);
    EXPECT_TRUE(Control(kIntro, IDC_INTRO_EXISTING)->isEnabled());
    EXPECT_TRUE(Control<QRadioButton>(kIntro, IDC_INTRO_EXISTING)->isChecked());
    CHtmlForm reread;
    ASSERT_EQ(ReadFormTemplate(ReadFile(file), reread), ETemplateRead::ok);
    EXPECT_EQ(reread.GetElementCount(), 1);

    // Proceed drops the work; the custom function stays, as on a restart.
    Click(kIntro, IDC_INTRO_NEW);
    sheet->PressNext();
    queued.push_back(Textbox("email", "E-mail"));
    Click(kElements, IDC_ADD);
    sheet->DesignedForm().m_strCustomValidation = "return true;";
    Control<QLineEdit>(kElements, IDC_FORM_NAME)->setText("other");
    prompt.AnswerMessage(IDNO);
    sheet->PressBack();
    EXPECT_EQ(sheet->GetActiveIndex(), kIntro);
    EXPECT_EQ(sheet->DesignedForm().GetElementCount(), 0);
    EXPECT_EQ(sheet->DesignedForm().m_strName, "myform");
    EXPECT_EQ(sheet->DesignedForm().m_strCustomValidation, "return true;");
    EXPECT_TRUE(sheet->Templates().GetPath().empty());
}

TEST_F(FormSheet, AnotherFormAsksOnlyWithUnsavedWork) {
    Click(kIntro, IDC_INTRO_NEW);
    EXPECT_FALSE(Control(kIntro, IDC_INTRO_ANOTHER)->isEnabled());
    sheet->PressNext();
    sheet->PressBack();
    ASSERT_EQ(sheet->GetActiveIndex(), kIntro);
    EXPECT_TRUE(Control(kIntro, IDC_INTRO_ANOTHER)->isEnabled());
    EXPECT_FALSE(Control(kIntro, IDC_INTRO_NEW)->isEnabled());

    // Not modified: restarts without a question.
    Click(kIntro, IDC_INTRO_ANOTHER);
    EXPECT_TRUE(prompt.Records().empty());
    EXPECT_TRUE(Control(kIntro, IDC_INTRO_NEW)->isEnabled());
    EXPECT_TRUE(Control<QRadioButton>(kIntro, IDC_INTRO_EXISTING)->isChecked());

    // Modified: Cancel keeps everything, No restarts.
    Click(kIntro, IDC_INTRO_NEW);
    sheet->PressNext();
    queued.push_back(Textbox("email", "E-mail"));
    Click(kElements, IDC_ADD);
    sheet->DesignedForm().m_bModified = false;  // as after a save
    sheet->PressBack();
    sheet->DesignedForm().m_bModified = true;
    prompt.AnswerMessage(IDCANCEL);
    Click(kIntro, IDC_INTRO_ANOTHER);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Do you want to save the form as a template?"});
    EXPECT_EQ(sheet->DesignedForm().GetElementCount(), 1);
    EXPECT_FALSE(Control(kIntro, IDC_INTRO_NEW)->isEnabled());
    prompt.AnswerMessage(IDNO);
    Click(kIntro, IDC_INTRO_ANOTHER);
    EXPECT_EQ(sheet->DesignedForm().GetElementCount(), 0);
    EXPECT_FALSE(sheet->DesignedForm().m_bModified);
    EXPECT_TRUE(Control(kIntro, IDC_INTRO_NEW)->isEnabled());
}

TEST_F(FormSheet, ErrorStringsShowTheFirstValidationAndKeepEdits) {
    CFormElement email = Textbox("email", "E-mail");
    email.Validations()->push_back(Val(kValRequired, "Please enter the value for email"));
    email.Validations()->push_back(Val(kValEmail, "Please provide a valid email address"));
    CFormElement first = Checkbox("opt", "One", "1");
    first.Validations()->push_back(Val(kValSelectMin, "Pick one", 1, kOptionGroupCarrier));
    CFormElement second = Checkbox("opt", "Two", "2");
    second.Validations()->push_back(Val(kValSelectMin, "Pick one", 1, kOptionGroupHolder));
    Design({std::move(email), std::move(first), std::move(second)});
    sheet->PressNext();
    sheet->PressNext();
    ASSERT_EQ(sheet->GetActiveIndex(), kErrors);
    QTreeWidget* tree = sheet->ErrorStringsPage().Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "myform");
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(0)->childCount(), 2);
    EXPECT_EQ(root->child(1)->childCount(), 1);
    EXPECT_EQ(root->child(2)->childCount(), 0);  // the group rule held for another member
    EXPECT_EQ(tree->currentItem(), root->child(0)->child(0));
    auto* message = Control<QPlainTextEdit>(kErrors, IDC_ERROR_MESSAGE);
    EXPECT_EQ(message->toPlainText(), "Please enter the value for email");

    // An edit is kept when another node is chosen, with its line break.
    message->setPlainText("Your e-mail,\nplease");
    tree->setCurrentItem(root->child(0)->child(1));
    EXPECT_EQ((*sheet->DesignedForm().GetElement(0).Validations())[0].m_strMessage,
              "Your e-mail,\nplease");
    EXPECT_EQ(message->toPlainText(), "Please provide a valid email address");

    // Choosing an element node shows no message.
    tree->setCurrentItem(root->child(1));
    EXPECT_TRUE(message->toPlainText().isEmpty());
    EXPECT_EQ(ondrelo::FromQt(Control<QLabel>(kErrors, IDC_ERROR_HELP)->text()),
              kSelectValidationHelp);

    // Leaving the page keeps the field too.
    tree->setCurrentItem(root->child(1)->child(0));
    message->setPlainText("Tick at least one");
    sheet->PressNext();
    EXPECT_EQ((*sheet->DesignedForm().GetElement(1).Validations())[0].m_strMessage,
              "Tick at least one");
}

class FormInsertion : public FormSheet {
protected:
    void SetUp() override {
        FormSheet::SetUp();
        CFormElement email = Textbox("email", "E-mail");
        email.Validations()->push_back(Val(kValRequired, "Please enter the value for email"));
        Design({std::move(email), test::Button("send", "Send")});
        sheet->PressNext();
        sheet->PressNext();
        sheet->PressNext();
        ASSERT_EQ(sheet->GetActiveIndex(), kCode);
        prompt.Clear();
    }
};

TEST_F(FormInsertion, ANewFileIsAWholePageWithTheScriptBesideIt) {
    const std::string page = m_dir + "/out/new.html";
    std::filesystem::create_directories(m_dir + "/out");
    ASSERT_EQ(sheet->TakeCodePage().InsertCode(page, m_dir + "/out/gen_validatorv3.js", true, true),
              1);
    const std::string written = ReadFile(page);
    EXPECT_NE(written.find("<title>HTML Form:myform</title>"), std::string::npos) << written;
    EXPECT_NE(written.find("<SCRIPT src=\"gen_validatorv3.js\""), std::string::npos);
    EXPECT_NE(written.find("name='email'"), std::string::npos);
    EXPECT_EQ(ReadFile(m_dir + "/out/gen_validatorv3.js"), "// validator\n");
    EXPECT_FALSE(sheet->DesignedForm().m_bModified);
    EXPECT_TRUE(prompt.Records().empty());
}

TEST_F(FormInsertion, EveryFailureIsExplainedOnceAndLeavesThePage) {
    struct SCase {
        const char* name;
        const char* page;
        bool afterBody;
        const char* message;
    } cases[] = {
        // The placeholder is missing: the wizard's own message 106.
        {"no placeholder", "<html><head></head><body><p>x</p></body></html>", false,
         "Failed replacing the tring with the code Please verify that you have inserted the "
         "string properly."},
        // No body to go after: the scanner's message.
        {"no body", "<html><head></head><p>x</p></html>", true,
         "Error 1003: Inserting the code after the <body> tag failed"},
    };
    for (const SCase& c : cases) {
        prompt.Clear();
        const std::string page = m_dir + "/page.html";
        WriteFile(page, c.page);
        sheet->DesignedForm().m_bModified = true;
        EXPECT_EQ(sheet->TakeCodePage().InsertCode(page, m_dir + "/gen_validatorv3.js", false,
                                                   c.afterBody),
                  0)
            << c.name;
        EXPECT_EQ(ReadFile(page), c.page) << c.name;
        ASSERT_EQ(prompt.MessageTexts().size(), 1u) << c.name;
        EXPECT_NE(prompt.MessageTexts()[0].find(c.message), std::string::npos)
            << c.name << ": " << prompt.MessageTexts()[0];
        EXPECT_TRUE(sheet->DesignedForm().m_bModified) << c.name;
    }
}

TEST_F(FormInsertion, AFailureNothingExplainedGetsTheGeneralMessage) {
    // The model is gone, so the insertion fails before anything could say why.
    sheet->Generator().SetModel(nullptr, nullptr, nullptr);
    EXPECT_EQ(sheet->TakeCodePage().InsertCode(m_dir + "/x.html", m_dir + "/gen_validatorv3.js",
                                               false, true),
              0);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Failed inserting code in to the HTML file. Ensure that "
                                       "the HTML code is formatted correctly."});
}

}  // namespace

namespace {

// The library as the host meets it.
using ondrelo::registry::testing::StoreTest;

class FormwardenLibrary : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoFreeUnusedLibraries();
        CoUninitialize();
        StoreTest::TearDown();
    }
};

TEST_F(FormwardenLibrary, RegistersAndServesTheFormModule) {
    ASSERT_EQ(RegisterInslet(), S_OK);
    ASSERT_EQ(ondrelo::test::CallEntry(FORMWARDEN_LIBRARY_PATH, "DllRegisterServer"), S_OK);
    const std::string clsid = ondrelo::com::GuidToString(ondrelo::modules::CLSID_FormwardenWizard);
    HKEY key = nullptr;
    std::string value;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\Ondrelo\\Modules\\Formwarden",
                            0, KEY_READ, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(ondrelo::registry::testing::QueryString(key, "CLSID", value), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(value, clsid);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + clsid + "\\Programmable"));

    IOndModule* module = nullptr;
    ASSERT_EQ(CoCreateInstance(ondrelo::modules::CLSID_FormwardenWizard, nullptr,
                               CLSCTX_INPROC_SERVER, IID_IOndModule,
                               reinterpret_cast<void**>(&module)),
              S_OK);
    LPCOLESTR name = nullptr;
    ASSERT_EQ(module->GetProperties(&name), S_OK);
    EXPECT_EQ(ondrelo::Utf16ToUtf8(name, 255), "HTML Form Wizard");
    EXPECT_EQ(module->Show(), 1);  // no sheet yet

    QWidget pane;
    pane.resize(700, 500);
    ASSERT_EQ(module->Create(ondrelo::ToHwnd(&pane), RECT{0, 0, 700, 500}), S_OK);
    EXPECT_EQ(module->Show(), S_OK);
    auto* sheet = pane.findChild<CFormwardenSheet*>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->GetPageCount(), 5);
    pane.resize(900, 600);
    EXPECT_EQ(module->Resize(), S_OK);
    EXPECT_EQ(sheet->size(), QSize(900, 600));
    EXPECT_EQ(module->Destroy(), S_OK);
    module->Release();
}

}  // namespace
