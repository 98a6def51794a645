// The form wizard run in the host as a web author runs it: the installed
// libraries registered in a store of their own, the wizard chosen in the
// tree, a form of every element type designed through the element editor,
// validations set in the editors, the code inserted into a new page by the
// insertion component's wizard; then the same page read back through the
// first page, and validations added to a hand-written form. The pages it
// writes are opened in a browser by the form wizard's browser tests.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "FormwardenDialogs.h"
#include "FormwardenPages.h"
#include "HostTestSupport.h"
#include "MainFrame.h"
#include "ModulesView.h"
#include "OndreloApp.h"
#include "OndreloView.h"
#include "inslet/InsletControls.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/OndWizSheet.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/com.h"
#include "ondrelo/gen/GenCommand.h"
#include "ondrelo/registry.h"
#include "ondrelo/testsupport/EntryPoints.h"

namespace {

using namespace formwarden;
namespace fs = std::filesystem;

const QStringList kArgs{QStringLiteral("Ondrelo"), QStringLiteral("--nosplash")};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

QWidget* In(QWidget* window, int id) {
    QWidget* control = ondrelo::FindControl(window, id);
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

void Press(QWidget* window, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(In(window, id))) {
        EXPECT_TRUE(button->isEnabled()) << "button " << id;
        button->click();
    }
}

// Types into whatever kind of field the control is.
void Type(QWidget* window, int id, const std::string& text) {
    QWidget* control = In(window, id);
    const QString value = QString::fromStdString(text);
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->setText(value);
        emit line->textEdited(value);
        emit line->editingFinished();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->setPlainText(value);
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(value.toInt());
    } else if (auto* dspin = qobject_cast<QDoubleSpinBox*>(control)) {
        dspin->setValue(value.toDouble());
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int index = combo->findText(value);
        if (index >= 0) {
            combo->setCurrentIndex(index);
        } else {
            combo->setEditText(value);
        }
    } else {
        ADD_FAILURE() << "control " << id << " takes no text";
    }
}

void Choose(QWidget* window, int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(In(window, id));
    ASSERT_NE(combo, nullptr) << "choice " << id;
    combo->setCurrentIndex(index);
}

void Tick(QWidget* window, int id) {
    auto* button = qobject_cast<QAbstractButton*>(In(window, id));
    ASSERT_NE(button, nullptr) << "check " << id;
    if (!button->isChecked()) {
        button->click();
    }
}

// The button of a dialog with the caption given (without its mnemonic).
void PressCaption(QWidget* dialog, const QString& caption) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == caption) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
}

// Runs the steps on the modal window that `open` brings up; false when
// none came.
bool OnModal(const std::function<void()>& open, const std::function<void(QWidget*)>& steps) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) {
            return;
        }
        shown = true;
        steps(dialog);
        if (dialog->isVisible()) {
            if (auto* d = qobject_cast<QDialog*>(dialog)) {
                ADD_FAILURE() << "the window " << d->windowTitle().toStdString()
                              << " stayed open";
                d->reject();
            }
        }
    });
    open();
    return shown;
}

// An element's validations and messages as the Error Strings page lists them.
using CMessages = std::map<std::string, std::vector<std::string>>;

class FormRun : public testing::Test {
protected:
    void SetUp() override {
        m_out = fs::path(FORM_RUN_OUT_DIR);
        fs::remove_all(m_out);
        fs::create_directories(m_out);
        // The store and the installation of this run.
        ASSERT_EQ(ondrelo::test::CallEntry(INSLET_LIBRARY_PATH, "DllRegisterServer"), S_OK);
        ASSERT_EQ(ondrelo::test::CallEntry(FORMWARDEN_LIBRARY_PATH, "DllRegisterServer"), S_OK);
        ASSERT_TRUE(ondrelo::registry::WriteString(
            HKEY_LOCAL_MACHINE, COndRegistryHandler::kInstallationKey, "scriptspath",
            SCRIPTS_DIR));
        ASSERT_TRUE(app.InitInstance(kArgs));
        CModulesView* tree = app.MainFrame()->ModulesView();
        QTreeWidgetItem* root = tree->RootItem();
        QTreeWidgetItem* item = nullptr;
        for (int i = 0; i < root->childCount(); ++i) {
            if (root->child(i)->text(0) == QLatin1String("HTML Form Wizard")) {
                item = root->child(i);
            }
        }
        ASSERT_NE(item, nullptr) << "the form wizard is not in the tree";
        tree->setCurrentItem(item);
        for (QWidget* w : app.MainFrame()->ModulePane()->findChildren<QWidget*>()) {
            if (auto* s = dynamic_cast<COndWizSheet*>(w); s && s->isVisible()) {
                sheet = s;
            }
        }
        ASSERT_NE(sheet, nullptr);
    }
    void TearDown() override { app.ExitInstance(); }

    QWidget* Page(int index) const { return sheet->GetPage(index); }
    void Next() { sheet->GetNextButton()->click(); }
    void Back() { sheet->GetBackButton()->click(); }

    // The element editor, opened by the type's button.
    void AddElement(int type, const std::string& name, const std::string& caption,
                    const std::function<void(QWidget*)>& properties = {}) {
        SCOPED_TRACE(name);
        const bool shown = OnModal([&] { Press(Page(1), IDC_TYPE_FIRST + type); },
                                   [&](QWidget* dialog) {
                                       EXPECT_EQ(dialog->windowTitle(),
                                                 QLatin1String("Add New Form Element"));
                                       Type(dialog, IDC_EL_NAME, name);
                                       Type(dialog, IDC_EL_CAPTION, caption);
                                       if (properties) {
                                           properties(dialog);
                                       }
                                       PressCaption(dialog, QStringLiteral("OK"));
                                   });
        EXPECT_TRUE(shown);
    }
    void AddListItem(QWidget* dialog, const std::string& name, const std::string& value) {
        Press(dialog, IDC_EL_LIST_ADD_NEW);
        Type(dialog, IDC_EL_LIST_ITEM_NAME, name);
        Type(dialog, IDC_EL_LIST_ITEM_VALUE, value);
        Press(dialog, IDC_EL_LIST_UPDATE);
    }

    // Chooses an element on the Validations page; its editor shows.
    QWidget* Validate(int row) {
        auto* list = qobject_cast<QTableWidget*>(In(Page(2), IDC_VALIDATION_ELEMENTS));
        list->setCurrentCell(row, 0);
        return In(Page(2), IDC_VALIDATION_AREA);
    }

    // The Error Strings page's tree: "element/label" -> messages.
    CMessages Messages() {
        CMessages messages;
        auto* tree = qobject_cast<QTreeWidget*>(In(Page(3), IDC_ERROR_TREE));
        auto* field = qobject_cast<QPlainTextEdit*>(In(Page(3), IDC_ERROR_MESSAGE));
        QTreeWidgetItem* root = tree->topLevelItem(0);
        for (int e = 0; root && e < root->childCount(); ++e) {
            QTreeWidgetItem* element = root->child(e);
            for (int v = 0; v < element->childCount(); ++v) {
                tree->setCurrentItem(element->child(v));
                messages[element->text(0).toStdString()].push_back(
                    element->child(v)->text(0).toStdString() + ": " +
                    field->toPlainText().toStdString());
            }
        }
        return messages;
    }

    // The insertion component's wizard, started from its first tab.
    void InsertWithTheComponent(const std::function<void(QWidget*)>& steps) {
        auto* tabs = qobject_cast<QTabWidget*>(In(Page(4), inslet::IDC_TAB_SHEET));
        ASSERT_NE(tabs, nullptr);
        tabs->setCurrentIndex(0);
        EXPECT_TRUE(OnModal([&] { Press(Page(4), inslet::IDC_START_WIZARD); }, steps));
    }

    hosttest::CTempStore store;
    ondrelo::CScriptedPrompt prompt;
    COndreloApp app;
    COndWizSheet* sheet = nullptr;
    fs::path m_out;
};

TEST_F(FormRun, DesignInsertReadBackAndAddToAHandWrittenForm) {
    // ---- a new form of every element type ----
    Press(Page(0), IDC_INTRO_NEW);
    Next();
    ASSERT_EQ(sheet->GetActiveIndex(), 1);
    Type(Page(1), IDC_FORM_NAME, "signup");
    Type(Page(1), IDC_FORM_ACTION, "/submit");
    Choose(Page(1), IDC_FORM_METHOD, 0);

    const char* textboxes[][2] = {{"fullname", "Full name"}, {"code", "Member code"},
                                  {"age", "Age"},           {"email", "E-mail"},
                                  {"email2", "E-mail again"}, {"low", "From"},
                                  {"high", "To"},           {"nick", "Nickname"}};
    for (const auto& t : textboxes) {
        AddElement(kTypeTextbox, t[0], t[1]);
    }
    AddElement(kTypeCheckbox, "topics", "News", [](QWidget* d) { Type(d, IDC_EL_CHECK_VALUE, "news"); });
    AddElement(kTypeCheckbox, "topics", "Sport",
               [](QWidget* d) { Type(d, IDC_EL_CHECK_VALUE, "sport"); });
    AddElement(kTypeCheckbox, "topics", "Tech", [](QWidget* d) { Type(d, IDC_EL_CHECK_VALUE, "tech"); });
    AddElement(kTypeCheckbox, "terms", "I accept the terms",
               [](QWidget* d) { Type(d, IDC_EL_CHECK_VALUE, "yes"); });
    AddElement(kTypeCheckbox, "spam", "Send me offers",
               [](QWidget* d) { Type(d, IDC_EL_CHECK_VALUE, "yes"); });
    AddElement(kTypeRadio, "size", "Small", [](QWidget* d) { Type(d, IDC_EL_RADIO_VALUE, "S"); });
    AddElement(kTypeRadio, "size", "Medium", [](QWidget* d) { Type(d, IDC_EL_RADIO_VALUE, "M"); });
    AddElement(kTypeRadio, "size", "Sold out", [](QWidget* d) { Type(d, IDC_EL_RADIO_VALUE, "X"); });
    AddElement(kTypeFile, "cv", "Your CV");
    AddElement(kTypeHidden, "source", "", [](QWidget* d) { Type(d, IDC_EL_HIDDEN_VALUE, "e2e"); });
    AddElement(kTypeMultiline, "notes", "Notes", [](QWidget* d) {
        Type(d, IDC_EL_MULTI_ROWS, "4");
        Type(d, IDC_EL_MULTI_COLUMNS, "30");
    });
    AddElement(kTypeListbox, "colour", "Colour", [this](QWidget* d) {
        AddListItem(d, "Pick one", "none");
        AddListItem(d, "Red", "red");
        AddListItem(d, "Blue", "blue");
    });
    AddElement(kTypeButton, "send", "Send");
    EXPECT_TRUE(prompt.MessageTexts().empty())
        << (prompt.MessageTexts().empty() ? "" : prompt.MessageTexts().front());
    auto* elements = qobject_cast<QTableWidget*>(In(Page(1), IDC_ELEMENTS));
    ASSERT_EQ(elements->rowCount(), 21);
    Next();
    ASSERT_EQ(sheet->GetActiveIndex(), 2);

    // ---- validations of every kind each type offers ----
    QWidget* area = Validate(0);  // fullname
    Tick(area, IDC_VAL_MANDATORY);
    Tick(area, IDC_VAL_ALPHA);
    Tick(area, IDC_VAL_SPACES);
    Tick(area, IDC_VAL_MAXLEN);
    Type(area, IDC_VAL_MAXLEN_VALUE, "30");
    Tick(area, IDC_VAL_MINLEN);
    Type(area, IDC_VAL_MINLEN_VALUE, "3");
    area = Validate(1);  // code
    Tick(area, IDC_VAL_ALNUM);
    Tick(area, IDC_VAL_REGEXP);
    Type(area, IDC_VAL_REGEXP_VALUE, "^[A-Z]{2}\\d+$");
    area = Validate(2);  // age
    Tick(area, IDC_VAL_NUMERIC);
    Tick(area, IDC_VAL_LESS);
    Type(area, IDC_VAL_LESS_VALUE, "130");
    Tick(area, IDC_VAL_GREATER);
    Type(area, IDC_VAL_GREATER_VALUE, "17");
    area = Validate(3);  // email
    Tick(area, IDC_VAL_EMAIL);
    // Comparisons: operator index 0 to 5 with the other element's name.
    auto compare = [&](int row, int op, const char* other) {
        QWidget* a = Validate(row);
        if (auto* tabs = qobject_cast<QTabWidget*>(In(a, IDC_VAL_TEXT_TABS))) {
            tabs->setCurrentIndex(1);
        }
        Choose(a, IDC_VAL_CMP_OPERATOR, op);
        Type(a, IDC_VAL_CMP_OTHER, other);
        Press(a, IDC_VAL_CMP_ADD);
    };
    compare(4, 0, "email");  // email2 = email
    compare(5, 1, "high");   // low < high
    compare(5, 2, "high");   // low <= high
    compare(6, 3, "low");    // high > low
    compare(6, 4, "low");    // high >= low
    compare(7, 5, "fullname");  // nick != fullname
    area = Validate(8);  // the first of the topics group
    Tick(area, IDC_VAL_CHECK_SELECT);
    Type(area, IDC_VAL_CHECK_COUNT, "2");
    area = Validate(11);  // terms
    Tick(area, IDC_VAL_CHECK_SELECT);
    area = Validate(12);  // spam
    Tick(area, IDC_VAL_CHECK_DONT);
    area = Validate(13);  // size, first
    Tick(area, IDC_VAL_RADIO_ONE);
    area = Validate(15);  // size X
    Tick(area, IDC_VAL_RADIO_DONT);
    area = Validate(16);  // cv
    Tick(area, IDC_VAL_FILE_MANDATORY);
    area = Validate(18);  // notes
    Tick(area, IDC_VAL_MULTI_MAX);
    Type(area, IDC_VAL_MULTI_MAX_VALUE, "200");
    Tick(area, IDC_VAL_MULTI_MIN);
    Type(area, IDC_VAL_MULTI_MIN_VALUE, "5");
    Tick(area, IDC_VAL_MULTI_MANDATORY);
    area = Validate(19);  // colour
    Tick(area, IDC_VAL_LIST_DONT);
    Choose(area, IDC_VAL_LIST_OPTION, 0);
    Next();
    ASSERT_EQ(sheet->GetActiveIndex(), 3);

    // A message of the author's own survives to the page.
    auto* tree = qobject_cast<QTreeWidget*>(In(Page(3), IDC_ERROR_TREE));
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->currentItem()->text(0), QLatin1String("Mandatory Field"));
    Type(Page(3), IDC_ERROR_MESSAGE, "Please tell us your name");
    const CMessages designed = Messages();
    ASSERT_EQ(designed.at("fullname").size(), 4u);
    EXPECT_EQ(designed.at("fullname")[0], "Mandatory Field: Please tell us your name");
    Next();
    ASSERT_EQ(sheet->GetActiveIndex(), 4);

    // ---- into a new page, the script copied beside it ----
    const fs::path page = m_out / "signup.html";
    prompt.AnswerMessage(IDOK);  // the component's success message
    InsertWithTheComponent([&](QWidget* w) {
        Press(w, inslet::IDC_CREATE_NEW);
        auto* field = qobject_cast<QLineEdit*>(In(w, inslet::IDC_HTML_PATH));
        field->setText(QString::fromStdString(page.string()));
        emit field->textEdited(field->text());
        Press(w, ID_WIZNEXT);
        // The script goes beside the page.
        prompt.AnswerFile((m_out / "gen_validatorv3.js").string());
        Press(w, inslet::IDC_CHANGE_DESTINATION);
        Press(w, ID_WIZFINISH);
    });
    ASSERT_TRUE(fs::exists(page)) << (prompt.MessageTexts().empty() ? "no message"
                                                                     : prompt.MessageTexts().back());
    EXPECT_TRUE(fs::exists(m_out / "gen_validatorv3.js"));
    const std::string html = ReadAll(page);
    EXPECT_NE(html.find("<title>HTML Form:signup</title>"), std::string::npos);
    EXPECT_NE(html.find("signupValidator.addValidation(\"code\",\"regexp=^[A-Z]{2}\\\\d+$\""),
              std::string::npos);

    // ---- the design kept as a template, and given to ondrelo-gen ----
    const fs::path saved = m_out / "signup.ft";
    prompt.AnswerFile(saved.string());
    Press(Page(4), IDC_SAVE_TEMPLATE);
    ASSERT_TRUE(fs::exists(saved));
    fs::create_directories(m_out / "gen");
    std::ostringstream genOut, genErr;
    const fs::path genPage = m_out / "gen" / "signup.html";
    ASSERT_EQ(ondrelo::gen::Run({"form", saved.string(), "--insert", genPage.string(), "--new"},
                                genOut, genErr),
              0)
        << genErr.str();
    EXPECT_EQ(ReadAll(genPage), html) << "ondrelo-gen wrote another page from the template";
    EXPECT_EQ(ReadAll(m_out / "gen" / "gen_validatorv3.js"),
              ReadAll(m_out / "gen_validatorv3.js"));

    // ---- the same page read back through the first page ----
    sheet->PressPageButton(0);
    ASSERT_EQ(sheet->GetActiveIndex(), 0);
    for (const auto& record : prompt.Records()) {
        EXPECT_NE(record.text, kRestartOfferText) << "restart offered although the page was saved";
    }
    Press(Page(0), IDC_INTRO_ANOTHER);
    Type(Page(0), IDC_INTRO_FILE, page.string());
    Next();
    ASSERT_EQ(sheet->GetActiveIndex(), 2) << (prompt.MessageTexts().empty()
                                                  ? "no message"
                                                  : prompt.MessageTexts().back());
    EXPECT_FALSE(sheet->GetPage(1)->IsEnabled());
    Next();
    ASSERT_EQ(sheet->GetActiveIndex(), 3);
    EXPECT_EQ(Messages(), designed);

    // ---- validations added to a hand-written form ----
    const fs::path contact = m_out / "contact.html";
    {
        std::ofstream out(contact, std::ios::binary);
        out << "<html>\n<head><title>Contact us</title></head>\n<body>\n<h1>Contact us</h1>\n"
               "<form name=\"contact\" action=\"/submit\" method=\"get\">\n"
               "<p>Name <input type=\"text\" name=\"who\"></p>\n"
               "<p>E-mail <input type = \"text\" name = \"mail\"></p>\n"
               "<p>Message <textarea name=\"text\" rows=\"3\" cols=\"30\"></textarea></p>\n"
               "<p><input type=\"submit\" name=\"go\" value=\"Send\"></p>\n"
               "</form>\n<p>We answer within a day.</p>\n</body>\n</html>\n";
    }
    // The Validations page was shown, which counts as work on the page read:
    // going back offers to keep it; Proceed starts afresh.
    prompt.Clear();
    prompt.AnswerMessage(IDNO);
    sheet->PressPageButton(0);
    ASSERT_EQ(sheet->GetActiveIndex(), 0);
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Records()[0].text, kRestartOfferText);
    EXPECT_TRUE(In(Page(0), IDC_INTRO_EXISTING)->isEnabled());
    Type(Page(0), IDC_INTRO_FILE, contact.string());
    Next();
    ASSERT_EQ(sheet->GetActiveIndex(), 2);
    area = Validate(0);  // who
    Tick(area, IDC_VAL_MANDATORY);
    area = Validate(1);  // mail
    Tick(area, IDC_VAL_MANDATORY);
    Tick(area, IDC_VAL_EMAIL);
    area = Validate(2);  // text, in page order before the button
    Tick(area, IDC_VAL_MULTI_MAX);
    Type(area, IDC_VAL_MULTI_MAX_VALUE, "50");
    Next();
    Next();
    ASSERT_EQ(sheet->GetActiveIndex(), 4);
    prompt.AnswerMessage(IDOK);
    InsertWithTheComponent([&](QWidget* w) {
        // The page is fixed: the wizard starts with the script's place.
        prompt.AnswerFile((m_out / "gen_validatorv3.js").string());
        Press(w, inslet::IDC_CHANGE_DESTINATION);
        Press(w, ID_WIZNEXT);
        Press(w, ID_WIZFINISH);
    });
    const std::string added = ReadAll(contact);
    EXPECT_NE(added.find("<h1>Contact us</h1>"), std::string::npos);
    EXPECT_NE(added.find("contactValidator.addValidation(\"mail\",\"email\""), std::string::npos);
    EXPECT_LT(added.find("</form>"), added.find("contactValidator"));
    EXPECT_NE(added.find("src=\"gen_validatorv3.js\""), std::string::npos);
    EXPECT_TRUE(fs::exists(m_out / "gen_validatorv3.js"));
}

}  // namespace
