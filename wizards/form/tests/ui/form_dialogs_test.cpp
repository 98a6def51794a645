// The form wizard's dialogs on the offscreen platform: the element editor,
// the validation editors, the custom function, the expression chooser and
// the "Errors!" window. Dialogs are built without running them and driven
// by control number; the modal entry points are driven through a timer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "../core/FormTestUtil.h"
#include "FormDialogsInternal.h"
#include "formwarden/ErrorsDialog.h"
#include "formwarden/FormResources.h"
#include "formwarden/FormRules.h"
#include "formwarden/RegExpCatalogue.h"
#include "formwarden/Validations.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/ScriptedPrompt.h"
#include "ondrelo/testsupport/ScratchDir.h"

namespace formwarden {
namespace {

using namespace formwarden::test;
using ondrelo::FindControl;
using ondrelo::FindControlAs;
using ondrelo::FromQt;
using ondrelo::ToQt;

template <class T>
T* Get(const QWidget* dialog, int id) {
    T* control = FindControlAs<T>(dialog, id);
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

void Type(const QWidget* dialog, int id, const std::string& text) {
    Get<QLineEdit>(dialog, id)->setText(ToQt(text));
}

void Click(const QWidget* dialog, int id) {
    Get<QAbstractButton>(dialog, id)->click();
}

std::string Text(const QWidget* dialog, int id) {
    return FromQt(Get<QLineEdit>(dialog, id)->text());
}

// Runs `drive` on the modal window once it is up, while `open` runs it.
void WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& drive) {
    bool driven = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        driven = true;
        drive(modal);
    });
    open();
    EXPECT_TRUE(driven);
}

// Each test gets its own settings store and scripted prompt.
class FormDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        SetElementEditorDetailsShown(true);
        COndRegistryHandler::SetSettingsValue("LoadFromFileShown", "1");
    }

    ondrelo::test::CScratchDir scratch;
    ondrelo::CScriptedPrompt prompt;
    CHtmlForm form;
};

// ---- type icons ----

TEST(TypeIcons, EightDistinctSmallIcons) {
    const CImageList& icons = ElementTypeImageList();
    ASSERT_EQ(icons.size(), kElementTypeCount);
    std::vector<QImage> images;
    for (int type = 0; type < kElementTypeCount; ++type) {
        const QIcon icon = ElementTypeIcon(type);
        ASSERT_FALSE(icon.isNull()) << type;
        const QImage image = icon.pixmap(16, 16).toImage();
        EXPECT_EQ(image.size(), QSize(16, 16));
        for (const QImage& earlier : images) {
            EXPECT_NE(image, earlier) << "type " << type << " looks like another";
        }
        images.push_back(image);
    }
    EXPECT_TRUE(ElementTypeIcon(-1).isNull());
    EXPECT_TRUE(ElementTypeIcon(kElementTypeCount).isNull());
}

// ---- element editor ----

TEST_F(FormDialogs, EditorTitlesTypesAndPresetPage) {
    form.AppendElement(Textbox("t", "T"));
    CElementEditorDialog add(nullptr, form, -1, kTypeListbox);
    EXPECT_EQ(add.windowTitle(), "Add New Form Element");
    auto* types = Get<QComboBox>(&add, IDC_EL_TYPE);
    ASSERT_EQ(types->count(), kElementTypeCount);
    for (int t = 0; t < kElementTypeCount; ++t) {
        EXPECT_EQ(FromQt(types->itemText(t)), ElementTypeLabel(t));
    }
    EXPECT_EQ(add.ShownType(), kTypeListbox);
    types->setCurrentIndex(kTypeRadio);
    EXPECT_EQ(add.ShownType(), kTypeRadio);
    EXPECT_EQ(Get<QStackedWidget>(&add, IDC_EL_PAGES)->currentIndex(), kTypeRadio);

    CElementEditorDialog preset(nullptr, form, -1, -1);
    EXPECT_EQ(preset.ShownType(), kTypeTextbox);
    CElementEditorDialog modify(nullptr, form, 0, kTypeRadio);
    EXPECT_EQ(modify.windowTitle(), "Modify Form Element");
    EXPECT_EQ(modify.ShownType(), kTypeTextbox);
    EXPECT_EQ(Text(&modify, IDC_EL_NAME), "t");
    EXPECT_EQ(Get<QLineEdit>(&add, IDC_EL_NAME)->maxLength(), kMaxElementNameLength);
}

TEST_F(FormDialogs, EmptyNamesBecomeDefaultNames) {
    struct Case {
        int type;
        std::string caption;  // typed
        std::string name, shownCaption;
    };
    const Case cases[] = {
        {kTypeTextbox, "", "Textbox2", "Textbox2"},  // Textbox1 exists
        {kTypeTextbox, "typed", "Textbox2", "Textbox2"},
        {kTypeHidden, "", "Hidden1", ""},  // Hidden fills only the name
        {kTypeHidden, "kept", "Hidden1", "kept"},
        {kTypeRadio, "", "Radio1", "Radio1"},
        {kTypeMultiline, "", "Multiline1", "Multiline1"},
    };
    for (const Case& c : cases) {
        CHtmlForm f;
        f.AppendElement(Textbox("textbox1", "first"));
        CElementEditorDialog dialog(nullptr, f, -1, c.type);
        Type(&dialog, IDC_EL_NAME, "   ");
        Type(&dialog, IDC_EL_CAPTION, c.caption);
        Click(&dialog, IDC_DLG_OK);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(dialog.ResultIndex(), 1);
        EXPECT_EQ(Text(&dialog, IDC_EL_NAME), c.name);
        EXPECT_EQ(Text(&dialog, IDC_EL_CAPTION), c.shownCaption);
        EXPECT_EQ(f.GetElement(1).m_strName, c.name);
        EXPECT_EQ(f.GetElement(1).m_strCaption, c.shownCaption);
        EXPECT_EQ(f.GetElement(1).m_nType, c.type);
        EXPECT_TRUE(f.m_bModified);
    }
    // The counter starts again at 1 each time the editor opens.
    CHtmlForm f;
    f.AppendElement(Textbox("Textbox2", ""));
    for (const char* expected : {"Textbox1", "Textbox3"}) {
        CElementEditorDialog dialog(nullptr, f, -1, kTypeTextbox);
        Click(&dialog, IDC_DLG_OK);
        EXPECT_EQ(f.GetElement(dialog.ResultIndex()).m_strName, expected);
    }
}

TEST_F(FormDialogs, RefusedNamesKeepTheEditorOpenAndTheInput) {
    form.AppendElement(Textbox("colors", "C"));
    form.AppendElement(Checkbox("opt", "O", "1"));
    struct Case {
        int type;
        std::string name;
        std::string message;  // empty: accepted
    };
    const Case cases[] = {
        {kTypeTextbox, "first-name", FormString(IDS_NAME_ALNUM_ONLY)},
        {kTypeTextbox, "COLORS",
         "This name (COLORS) already exists in the list of elements.Please Select a diferent "
         "name"},
        {kTypeCheckbox, "Opt", ""},  // check boxes share names: a group
        {kTypeTextbox, "2nd", ""},
    };
    for (const Case& c : cases) {
        CHtmlForm f = form;
        prompt.Clear();
        CElementEditorDialog dialog(nullptr, f, -1, c.type);
        dialog.show();
        Type(&dialog, IDC_EL_NAME, c.name);
        Type(&dialog, IDC_EL_CAPTION, "caption");
        Click(&dialog, IDC_DLG_OK);
        SCOPED_TRACE(c.name);
        if (c.message.empty()) {
            EXPECT_TRUE(prompt.MessageTexts().empty());
            EXPECT_EQ(dialog.ResultIndex(), 2);
            continue;
        }
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{c.message});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.ResultIndex(), -1);
        EXPECT_EQ(Text(&dialog, IDC_EL_NAME), c.name);
        EXPECT_EQ(Text(&dialog, IDC_EL_CAPTION), "caption");
        EXPECT_EQ(dialog.focusWidget(), FindControl(&dialog, IDC_EL_NAME));
        EXPECT_EQ(f.GetElementCount(), 2);
        EXPECT_FALSE(f.m_bModified);
    }
}

TEST_F(FormDialogs, TypeChangeAsksAndNoReturnsToTheOldPage) {
    CFormElement box = Textbox("t", "T", "v", 20);
    box.Validations()->push_back(Val(kValRequired, "a"));
    box.Validations()->push_back(Val(kValAlpha, "b"));
    box.Validations()->push_back(Val(kValMaxLength, "c", 5));
    form.AppendElement(box);
    const CHtmlForm before = form;

    CElementEditorDialog dialog(nullptr, form, 0, -1);
    dialog.show();
    EXPECT_EQ(Text(&dialog, IDC_EL_TEXT_VALUE), "v");
    EXPECT_EQ(Text(&dialog, IDC_EL_TEXT_SIZE), "20");
    Get<QComboBox>(&dialog, IDC_EL_TYPE)->setCurrentIndex(kTypeCheckbox);
    Type(&dialog, IDC_EL_CHECK_VALUE, "yes");
    prompt.AnswerMessage(IDNO);
    Click(&dialog, IDC_DLG_OK);
    ASSERT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(prompt.MessageTexts()[0],
              "You are about to change the type of the element \n(from Textbox to Checkbox) If "
              "you proceed, it will replace the properties of the existing element. Do you want "
              "to proceed? ");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ShownType(), kTypeTextbox);
    EXPECT_EQ(Get<QComboBox>(&dialog, IDC_EL_TYPE)->currentIndex(), kTypeTextbox);
    EXPECT_EQ(form.GetElement(0).m_nType, kTypeTextbox);
    EXPECT_EQ(*form.GetElement(0).Validations(), *before.GetElement(0).Validations());

    // Yes: the Checkbox page's values, the validations dropped.
    Get<QComboBox>(&dialog, IDC_EL_TYPE)->setCurrentIndex(kTypeCheckbox);
    EXPECT_EQ(Text(&dialog, IDC_EL_CHECK_VALUE), "yes");  // kept while switching
    prompt.AnswerMessage(IDYES);
    Click(&dialog, IDC_DLG_OK);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ResultIndex(), 0);
    ASSERT_EQ(form.GetElement(0).m_nType, kTypeCheckbox);
    EXPECT_EQ(static_cast<CCheckboxData*>(form.GetElement(0).GetData())->m_strValue, "yes");
    EXPECT_TRUE(form.GetElement(0).Validations()->empty());
}

TEST_F(FormDialogs, ModifyingLoadsThePageAndKeepsValidations) {
    auto area = std::make_unique<CMultilineData>();
    area->m_nRows = 7;
    area->m_nColumns = 30;
    area->m_strDefaultText = "line one\r\nline two";
    area->m_Validations = {Val(kValRequired, "typed message")};
    form.AppendElement(CFormElement("notes", "Notes", std::move(area)));
    auto list = std::make_unique<CListboxData>();
    list->m_nVisibleRows = 4;
    list->m_bMultiple = true;
    list->m_Items = {{"Red", "1", false}, {"Blue", "2", true}};
    form.AppendElement(CFormElement("colors", "Colors", std::move(list)));
    // A name read from a page may be longer than the editor lets one type.
    const std::string longName(130, 'n');
    form.AppendElement(Textbox(longName, "Long", std::string(600, 'v')));
    const CHtmlForm before = form;

    for (int index = 0; index < 3; ++index) {
        CElementEditorDialog dialog(nullptr, form, index, -1);
        Click(&dialog, IDC_DLG_OK);
        EXPECT_EQ(dialog.ResultIndex(), index);
    }
    for (int index = 0; index < 3; ++index) {
        const CFormElement& now = form.GetElement(index);
        const CFormElement& was = before.GetElement(index);
        EXPECT_EQ(now.m_strName, was.m_strName);
        EXPECT_EQ(*now.Validations(), *was.Validations());
    }
    const auto& area2 = static_cast<const CMultilineData&>(*form.GetElement(0).GetData());
    EXPECT_EQ(area2.m_nRows, 7);
    EXPECT_EQ(area2.m_nColumns, 30);
    EXPECT_EQ(area2.m_strDefaultText, "line one\r\nline two");
    const auto& list2 = static_cast<const CListboxData&>(*form.GetElement(1).GetData());
    EXPECT_EQ(list2.m_nVisibleRows, 4);
    EXPECT_TRUE(list2.m_bMultiple);
    EXPECT_EQ(list2.m_Items,
              static_cast<const CListboxData&>(*before.GetElement(1).GetData()).m_Items);
    EXPECT_EQ(static_cast<const CTextData&>(*form.GetElement(2).GetData()).m_strValue.size(), 600u);

    CElementEditorDialog dialog(nullptr, form, 1, -1);
    EXPECT_EQ(Text(&dialog, IDC_EL_LIST_ROWS), "4");
    EXPECT_FALSE(Get<QCheckBox>(&dialog, IDC_EL_LIST_COMBO)->isChecked());
    EXPECT_EQ(Get<CListCtrlEx>(&dialog, IDC_EL_LIST_ITEMS)->rowCount(), 2);
}

TEST_F(FormDialogs, EveryPageStoresItsFields) {
    struct Case {
        int type;
        std::function<void(QWidget*)> fill;
        std::function<void(const CElementData&)> check;
    };
    const Case cases[] = {
        {kTypeTextbox,
         [](QWidget* d) {
             Type(d, IDC_EL_TEXT_VALUE, "hello");
             Type(d, IDC_EL_TEXT_SIZE, " 999 ");
             Click(d, IDC_EL_TEXT_PASSWORD);
         },
         [](const CElementData& data) {
             const auto& t = static_cast<const CTextData&>(data);
             EXPECT_EQ(t.m_strValue, "hello");
             EXPECT_EQ(t.m_nSize, 999);
             EXPECT_TRUE(t.m_bPassword);
         }},
        {kTypeFile, [](QWidget* d) { Type(d, IDC_EL_FILE_SIZE, "0"); },
         [](const CElementData& data) {
             EXPECT_EQ(static_cast<const CFileData&>(data).m_nSize, 0);
         }},
        {kTypeButton, [](QWidget* d) { Click(d, IDC_EL_BUTTON_GENERAL); },
         [](const CElementData& data) {
             EXPECT_EQ(static_cast<const CButtonData&>(data).m_nKind, kButtonGeneral);
         }},
        {kTypeMultiline,
         [](QWidget* d) {
             Type(d, IDC_EL_MULTI_ROWS, "1024");
             Type(d, IDC_EL_MULTI_COLUMNS, "1");
             auto* text = Get<QPlainTextEdit>(d, IDC_EL_MULTI_TEXT);
             text->selectAll();
             text->insertPlainText("a\nb");
         },
         [](const CElementData& data) {
             const auto& m = static_cast<const CMultilineData&>(data);
             EXPECT_EQ(m.m_nRows, 1024);
             EXPECT_EQ(m.m_nColumns, 1);
             EXPECT_EQ(m.m_strDefaultText, "a\nb");
         }},
        {kTypeRadio,
         [](QWidget* d) {
             Type(d, IDC_EL_RADIO_VALUE, "r");
             Click(d, IDC_EL_RADIO_CHECKED);
         },
         [](const CElementData& data) {
             EXPECT_EQ(static_cast<const CRadioData&>(data).m_strValue, "r");
             EXPECT_TRUE(static_cast<const CRadioData&>(data).m_bChecked);
         }},
        {kTypeListbox,
         [](QWidget* d) {
             Click(d, IDC_EL_LIST_COMBO);  // off: the rows field opens
             Type(d, IDC_EL_LIST_ROWS, "6");
             Click(d, IDC_EL_LIST_MULTIPLE);
         },
         [](const CElementData& data) {
             EXPECT_EQ(static_cast<const CListboxData&>(data).m_nVisibleRows, 6);
             EXPECT_TRUE(static_cast<const CListboxData&>(data).m_bMultiple);
         }},
    };
    for (const Case& c : cases) {
        CHtmlForm f;
        CElementEditorDialog dialog(nullptr, f, -1, c.type);
        Type(&dialog, IDC_EL_NAME, "e");
        c.fill(&dialog);
        Click(&dialog, IDC_DLG_OK);
        SCOPED_TRACE(c.type);
        ASSERT_EQ(dialog.ResultIndex(), 0);
        ASSERT_EQ(f.GetElement(0).m_nType, c.type);
        c.check(*f.GetElement(0).GetData());
    }
}

TEST_F(FormDialogs, OutOfRangeNumbersAreRefused) {
    struct Case {
        int type;
        int field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {kTypeTextbox, IDC_EL_TEXT_SIZE, "0", "Please enter an integer between 1 and 999."},
        {kTypeTextbox, IDC_EL_TEXT_SIZE, "1000", "Please enter an integer between 1 and 999."},
        {kTypeTextbox, IDC_EL_TEXT_SIZE, "ten", "Please enter an integer between 1 and 999."},
        {kTypeFile, IDC_EL_FILE_SIZE, "-1", "Please enter an integer between 0 and 1024."},
        {kTypeFile, IDC_EL_FILE_SIZE, "1025", "Please enter an integer between 0 and 1024."},
        {kTypeMultiline, IDC_EL_MULTI_ROWS, "0", "Please enter an integer between 1 and 1024."},
        {kTypeMultiline, IDC_EL_MULTI_COLUMNS, "1025",
         "Please enter an integer between 1 and 1024."},
        {kTypeMultiline, IDC_EL_MULTI_COLUMNS, "", "Please enter an integer between 1 and 1024."},
        {kTypeListbox, IDC_EL_LIST_ROWS, "1000", "Please enter an integer between 1 and 999."},
    };
    for (const Case& c : cases) {
        CHtmlForm f;
        prompt.Clear();
        CElementEditorDialog dialog(nullptr, f, -1, c.type);
        dialog.show();
        if (c.type == kTypeListbox) {
            Click(&dialog, IDC_EL_LIST_COMBO);
        }
        Type(&dialog, IDC_EL_NAME, "e");
        Type(&dialog, c.field, c.text);
        Click(&dialog, IDC_DLG_OK);
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.field));
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{c.message});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(f.GetElementCount(), 0);
        EXPECT_EQ(Text(&dialog, c.field), c.text);
        EXPECT_EQ(dialog.focusWidget(), FindControl(&dialog, c.field));
    }
}

TEST_F(FormDialogs, DetailsStateLastsBetweenOpenings) {
    int fullHeight = 0;
    {
        CElementEditorDialog dialog(nullptr, form, -1, -1);
        fullHeight = dialog.height();
        EXPECT_FALSE(Get<QWidget>(&dialog, IDC_EL_PAGES)->isHidden());
        EXPECT_EQ(Get<QPushButton>(&dialog, IDC_EL_DETAILS)->text(), "<< &Details");
        Click(&dialog, IDC_EL_DETAILS);
        EXPECT_FALSE(ElementEditorDetailsShown());
        EXPECT_LT(dialog.height(), fullHeight);
    }
    {
        CElementEditorDialog dialog(nullptr, form, -1, -1);
        EXPECT_TRUE(Get<QWidget>(&dialog, IDC_EL_PAGES)->isHidden());
        EXPECT_EQ(Get<QPushButton>(&dialog, IDC_EL_DETAILS)->text(), "&Details >>");
        EXPECT_LT(dialog.height(), fullHeight);
        // Hidden pages are still stored.
        Type(&dialog, IDC_EL_NAME, "t");
        Click(&dialog, IDC_DLG_OK);
        EXPECT_EQ(dialog.ResultIndex(), 0);
        Click(&dialog, IDC_EL_DETAILS);
        EXPECT_TRUE(ElementEditorDetailsShown());
        EXPECT_EQ(dialog.height(), fullHeight);
    }
}

TEST_F(FormDialogs, ListBoxItemsAddUpdateRemove) {
    CElementEditorDialog dialog(nullptr, form, -1, kTypeListbox);
    auto* list = Get<CListCtrlEx>(&dialog, IDC_EL_LIST_ITEMS);
    auto* remove = Get<QPushButton>(&dialog, IDC_EL_LIST_REMOVE);
    EXPECT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "Name");
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), "Value");
    EXPECT_TRUE(Get<QCheckBox>(&dialog, IDC_EL_LIST_COMBO)->isChecked());
    EXPECT_FALSE(Get<QLineEdit>(&dialog, IDC_EL_LIST_ROWS)->isEnabled());
    EXPECT_FALSE(remove->isEnabled());

    // A name is required.
    Click(&dialog, IDC_EL_LIST_UPDATE);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Please provide a name for the list item"});
    EXPECT_EQ(list->rowCount(), 0);

    Type(&dialog, IDC_EL_LIST_ITEM_NAME, "Red");
    Click(&dialog, IDC_EL_LIST_UPDATE);  // the value becomes the name
    Click(&dialog, IDC_EL_LIST_ADD_NEW);
    EXPECT_EQ(Text(&dialog, IDC_EL_LIST_ITEM_NAME), "");
    EXPECT_EQ(Text(&dialog, IDC_EL_LIST_ITEM_VALUE), "");
    Type(&dialog, IDC_EL_LIST_ITEM_NAME, "Blue");
    Type(&dialog, IDC_EL_LIST_ITEM_VALUE, "2");
    Click(&dialog, IDC_EL_LIST_ITEM_SELECTED);
    Click(&dialog, IDC_EL_LIST_UPDATE);
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->ItemText(0, 1), "Red");
    EXPECT_TRUE(remove->isEnabled());  // the item just updated is selected

    // Choosing an item loads it; Update changes it in place.
    list->selectRow(0);
    EXPECT_EQ(Text(&dialog, IDC_EL_LIST_ITEM_NAME), "Red");
    EXPECT_FALSE(Get<QCheckBox>(&dialog, IDC_EL_LIST_ITEM_SELECTED)->isChecked());
    Type(&dialog, IDC_EL_LIST_ITEM_VALUE, "1");
    Click(&dialog, IDC_EL_LIST_UPDATE);
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->ItemText(0, 1), "1");

    list->selectRow(1);
    EXPECT_TRUE(Get<QCheckBox>(&dialog, IDC_EL_LIST_ITEM_SELECTED)->isChecked());
    Click(&dialog, IDC_EL_LIST_REMOVE);
    EXPECT_EQ(list->rowCount(), 1);
    EXPECT_FALSE(remove->isEnabled());

    Type(&dialog, IDC_EL_NAME, "colors");
    Click(&dialog, IDC_DLG_OK);
    ASSERT_EQ(dialog.ResultIndex(), 0);
    const auto& data = static_cast<const CListboxData&>(*form.GetElement(0).GetData());
    EXPECT_EQ(data.m_Items, (std::vector<SListItem>{{"Red", "1", false}}));
    EXPECT_EQ(data.m_nVisibleRows, 1);
}

TEST_F(FormDialogs, ListBoxItemsLoadFromFile) {
    const std::string path = scratch / "colors.txt";
    ondrelo::test::WriteFile(path, "Light Blue\t7\r\nDark Red 3\r\n\r\nGreen\r\n");
    CElementEditorDialog dialog(nullptr, form, -1, kTypeListbox);
    auto* list = Get<CListCtrlEx>(&dialog, IDC_EL_LIST_ITEMS);
    Type(&dialog, IDC_EL_LIST_ITEM_NAME, "Old");
    Click(&dialog, IDC_EL_LIST_UPDATE);

    // Declining the question keeps the list; then the file replaces it.
    prompt.AnswerMessage(IDNO);
    Click(&dialog, IDC_EL_LIST_LOAD);
    EXPECT_EQ(list->rowCount(), 1);
    prompt.AnswerMessage(IDYES);
    prompt.AnswerFile(path);
    Click(&dialog, IDC_EL_LIST_LOAD);
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->ItemText(0, 0), "Light Blue");
    EXPECT_EQ(list->ItemText(0, 1), "7");
    EXPECT_EQ(list->ItemText(1, 0), "Dark Red");
    EXPECT_EQ(list->ItemText(1, 1), "3");
    EXPECT_EQ(list->ItemText(2, 1), "Green");
    ASSERT_FALSE(prompt.Records().empty());
    EXPECT_EQ(prompt.Records().back().dialog.title, kListFileDialogTitle);

    Type(&dialog, IDC_EL_NAME, "colors");
    Click(&dialog, IDC_DLG_OK);
    ASSERT_EQ(dialog.ResultIndex(), 0);
    EXPECT_EQ(static_cast<const CListboxData&>(*form.GetElement(0).GetData()).m_Items.size(), 3u);
}

TEST_F(FormDialogs, ModalEditorReturnsTheIndexOrMinusOne) {
    form.AppendElement(Textbox("a", "A"));
    int index = 0;
    WithModal([&] { index = EditFormElement(nullptr, form, -1, kTypeHidden); },
              [](QWidget* modal) {
                  EXPECT_EQ(ondrelo::GetControlId(modal), IDD_ELEMENT_EDITOR);
                  Type(modal, IDC_EL_HIDDEN_VALUE, "secret");
                  Click(modal, IDC_DLG_OK);
              });
    EXPECT_EQ(index, 1);
    EXPECT_EQ(static_cast<const CHiddenData&>(*form.GetElement(1).GetData()).m_strValue, "secret");
    WithModal([&] { index = EditFormElement(nullptr, form, 0, -1); },
              [](QWidget* modal) {
                  Type(modal, IDC_EL_NAME, "changed");
                  Click(modal, IDC_DLG_CANCEL);
              });
    EXPECT_EQ(index, -1);
    EXPECT_EQ(form.GetElement(0).m_strName, "a");
}

// ---- validation editors ----

// A form whose element 0 carries the validations an editor state gives.
struct SRoundTrip {
    const char* what;
    std::function<void(CHtmlForm&)> build;
    int shown;
};

std::vector<CValidationList> AllLists(const CHtmlForm& form) {
    std::vector<CValidationList> lists;
    for (const CFormElement& e : form.m_Elements) {
        lists.push_back(*e.Validations());
    }
    return lists;
}

TEST_F(FormDialogs, EveryEditorStoresWhatItLoaded) {
    const SRoundTrip cases[] = {
        {"textbox, every kind",
         [](CHtmlForm& f) {
             f.AppendElement(Textbox("a", "A"));
             f.AppendElement(Textbox("b", "B"));
             f.AppendElement(Textbox("c", "C"));
             STextValidationState s;
             s.m_bMandatory = true;
             s.m_nInputType = kInputAlphaNumeric;
             s.m_bAllowSpaces = true;
             s.m_bMaxLength = true;
             s.m_nMaxLength = 20;
             s.m_bMinLength = true;
             s.m_nMinLength = 0;
             s.m_bLessThan = true;
             s.m_dLessThan = 0.1;
             s.m_bGreaterThan = true;
             s.m_dGreaterThan = -2.5;
             s.m_bRegExp = true;
             s.m_strRegExp = "^\\d+$";
             s.m_Comparisons = {{0, "b"}, {5, "c"}, {3, "b"}};
             StoreTextValidations(f, 0, s);
             (*f.GetElement(0).Validations())[0].m_strMessage = "edited by the user";
         },
         0},
        {"textbox, email only",
         [](CHtmlForm& f) {
             f.AppendElement(Textbox("a", "A"));
             STextValidationState s;
             s.m_nInputType = kInputEmail;
             StoreTextValidations(f, 0, s);
         },
         0},
        {"textbox, nothing", [](CHtmlForm& f) { f.AppendElement(Textbox("a", "A")); }, 0},
        {"check box group, count",
         [](CHtmlForm& f) {
             f.AppendElement(Checkbox("opt", "1", "one"));
             f.AppendElement(Checkbox("OPT", "2", "two"));
             f.AppendElement(Checkbox("opt", "3", "three"));
             StoreCheckboxValidations(f, 1, {kCheckboxSelectAtLeast, 2});
         },
         1},
        {"check box, alone and checked",
         [](CHtmlForm& f) {
             f.AppendElement(Checkbox("agree", "A", "yes"));
             StoreCheckboxValidations(f, 0, {kCheckboxSelectAtLeast, 1});
         },
         0},
        {"check box, must not be chosen",
         [](CHtmlForm& f) {
             f.AppendElement(Checkbox("opt", "1", "one"));
             f.AppendElement(Checkbox("opt", "2", "two"));
             StoreCheckboxValidations(f, 0, {kCheckboxDontSelect, 1});
         },
         0},
        {"radio group, both",
         [](CHtmlForm& f) {
             f.AppendElement(Radio("r", "1", "one"));
             f.AppendElement(Radio("r", "2", "two"));
             f.AppendElement(Radio("r", "3", "three"));
             StoreRadioValidations(f, 2, {true, true});
         },
         2},
        {"list, option",
         [](CHtmlForm& f) {
             auto data = std::make_unique<CListboxData>();
             data->m_Items = {{"a", "1", false}, {"b", "2", false}, {"c", "3", false}};
             f.AppendElement(CFormElement("l", "L", std::move(data)));
             StoreListboxValidations(f, 0, {true, 2});
         },
         0},
        {"list, option no longer there",
         [](CHtmlForm& f) {
             auto data = std::make_unique<CListboxData>();
             data->m_Items = {{"a", "1", false}};
             f.AppendElement(CFormElement("l", "L", std::move(data)));
             StoreListboxValidations(f, 0, {true, 4});
         },
         0},
        {"file",
         [](CHtmlForm& f) {
             f.AppendElement(Of(kTypeFile, "upload"));
             StoreFileValidations(f, 0, {true});
         },
         0},
        {"multiline",
         [](CHtmlForm& f) {
             f.AppendElement(Of(kTypeMultiline, "notes"));
             StoreMultilineValidations(f, 0, {true, 200, true, 3, true});
         },
         0},
        {"hidden", [](CHtmlForm& f) { f.AppendElement(Of(kTypeHidden, "h")); }, 0},
        {"button", [](CHtmlForm& f) { f.AppendElement(Button("go", "Go")); }, 0},
    };
    CValidationEditorArea area(nullptr);
    for (const SRoundTrip& c : cases) {
        SCOPED_TRACE(c.what);
        CHtmlForm f;
        c.build(f);
        f.m_bModified = false;
        const auto before = AllLists(f);
        area.ShowElement(&f, c.shown);
        EXPECT_EQ(area.ShownElement(), c.shown);
        EXPECT_TRUE(area.TryStoreShown());
        EXPECT_EQ(AllLists(f), before);
        EXPECT_TRUE(prompt.MessageTexts().empty());
    }
    area.ShowElement(nullptr, 0);
    EXPECT_EQ(area.ShownElement(), -1);
    area.StoreShown();  // nothing shown: nothing happens
}

TEST_F(FormDialogs, EditorNeverStoresIntoAnotherElement) {
    struct Case {
        const char* what;
        std::function<void(CHtmlForm&)> change;
    };
    const Case cases[] = {
        {"removed", [](CHtmlForm& f) { f.RemoveElements({0}); }},
        {"moved", [](CHtmlForm& f) { f.MoveElementDown(0); }},
        {"retyped",
         [](CHtmlForm& f) { f.GetElement(0).SetData(CElementData::CreateDefault(kTypeFile)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CHtmlForm f;
        f.AppendElement(Textbox("a", "A"));
        f.AppendElement(Textbox("b", "B"));
        CValidationEditorArea area(nullptr);
        area.ShowElement(&f, 0);
        Click(&area, IDC_VAL_MANDATORY);
        c.change(f);
        EXPECT_TRUE(area.TryStoreShown());
        for (const CFormElement& e : f.m_Elements) {
            EXPECT_TRUE(e.Validations()->empty()) << e.m_strName;
        }
    }
}

TEST_F(FormDialogs, TextboxEditorControls) {
    form.AppendElement(Textbox("a", "A"));
    form.AppendElement(Checkbox("b", "B"));
    form.AppendElement(Textbox("c", "C"));
    CValidationEditorArea area(nullptr);
    area.ShowElement(&form, 0);
    auto* tabs = Get<QTabWidget>(&area, IDC_VAL_TEXT_TABS);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Properties");
    EXPECT_EQ(tabs->tabText(1), "Comparison");
    EXPECT_TRUE(Get<QRadioButton>(&area, IDC_VAL_ANY)->isChecked());

    struct Case {
        const char* what;
        std::function<void()> set;
        std::vector<int> kinds;
    };
    const Case cases[] = {
        {"any with spaces gives nothing",
         [&] {
             Click(&area, IDC_VAL_ANY);
             Click(&area, IDC_VAL_SPACES);
         },
         {}},
        {"alphabetic with spaces",
         [&] {
             Click(&area, IDC_VAL_ALPHA);
             Get<QCheckBox>(&area, IDC_VAL_SPACES)->setChecked(true);
         },
         {kValAlpha}},
        {"mandatory and a bound",
         [&] {
             Click(&area, IDC_VAL_MANDATORY);
             Click(&area, IDC_VAL_GREATER);
             Type(&area, IDC_VAL_GREATER_VALUE, "10");
         },
         {kValRequired, kValGreaterThan}},
        {"an unchecked field is not read",
         [&] {
             Type(&area, IDC_VAL_MAXLEN_VALUE, "garbage");
             Click(&area, IDC_VAL_NUMERIC);
         },
         {kValNumeric}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.GetElement(0).Validations()->clear();
        area.ShowElement(&form, 0);
        c.set();
        ASSERT_TRUE(area.TryStoreShown());
        std::vector<int> kinds;
        for (const CValidation& v : *form.GetElement(0).Validations()) {
            kinds.push_back(v.m_nKind);
        }
        EXPECT_EQ(kinds, c.kinds);
    }
    EXPECT_EQ(form.GetElement(0).Validations()->back().m_strMessage,
              "Please input a numeric value for a");
    // The alphabetic case's option.
    area.ShowElement(&form, 0);
    Click(&area, IDC_VAL_ALPHA);
    Get<QCheckBox>(&area, IDC_VAL_SPACES)->setChecked(true);
    area.StoreShown();
    EXPECT_EQ(form.GetElement(0).Validations()->front().m_nOption, kOptionAllowSpaces);
    EXPECT_FALSE(Get<QLineEdit>(&area, IDC_VAL_MAXLEN_VALUE)->isEnabled());
}

TEST_F(FormDialogs, ComparisonsAddUpdateRemoveAndRefuseDuplicates) {
    form.AppendElement(Textbox("a", "A"));
    form.AppendElement(Checkbox("x", "X"));
    form.AppendElement(Textbox("b", "B"));
    form.AppendElement(Textbox("c", "C"));
    CValidationEditorArea area(nullptr);
    area.ShowElement(&form, 0);
    auto* list = Get<QListWidget>(&area, IDC_VAL_CMP_LIST);
    auto* op = Get<QComboBox>(&area, IDC_VAL_CMP_OPERATOR);
    auto* other = Get<QComboBox>(&area, IDC_VAL_CMP_OTHER);
    ASSERT_EQ(op->count(), 6);
    EXPECT_EQ(op->itemText(2), " <= ");
    ASSERT_EQ(other->count(), 2);  // the other textboxes only
    EXPECT_EQ(other->itemText(0), "b");
    EXPECT_EQ(other->itemText(1), "c");

    op->setCurrentIndex(1);
    other->setCurrentIndex(1);
    Click(&area, IDC_VAL_CMP_ADD);
    op->setCurrentIndex(0);
    other->setCurrentIndex(0);
    Click(&area, IDC_VAL_CMP_ADD);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(FromQt(list->item(0)->text()), ComparisonEntryText("a", {1, "c"}));
    EXPECT_EQ(list->currentRow(), 1);

    // The same operator and element again: refused, the existing one selected.
    op->setCurrentIndex(1);
    other->setCurrentIndex(1);
    Click(&area, IDC_VAL_CMP_ADD);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"This Comparison already exists in the list"});
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 0);

    // Choosing an entry shows it; Update replaces it; a duplicate update is refused.
    list->setCurrentRow(1);
    EXPECT_EQ(op->currentIndex(), 0);
    EXPECT_EQ(other->currentText(), "b");
    op->setCurrentIndex(4);
    Click(&area, IDC_VAL_CMP_UPDATE);
    EXPECT_EQ(FromQt(list->item(1)->text()), ComparisonEntryText("a", {4, "b"}));
    prompt.Clear();
    op->setCurrentIndex(1);
    other->setCurrentIndex(1);
    Click(&area, IDC_VAL_CMP_UPDATE);
    EXPECT_EQ(prompt.MessageTexts().size(), 1u);
    EXPECT_EQ(FromQt(list->item(1)->text()), ComparisonEntryText("a", {4, "b"}));

    list->setCurrentRow(0);
    Click(&area, IDC_VAL_CMP_REMOVE);
    ASSERT_EQ(list->count(), 1);
    area.StoreShown();
    const CValidationList& stored = *form.GetElement(0).Validations();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].m_nKind, kValGreaterEqualElement);  // operator 4
    EXPECT_EQ(stored[0].m_strText, "b");

    // A form without a second textbox: "Please select the second element".
    CHtmlForm lone;
    lone.AppendElement(Textbox("a", "A"));
    area.ShowElement(&lone, 0);
    prompt.Clear();
    Click(&area, IDC_VAL_CMP_ADD);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Please select the second element"});
    EXPECT_EQ(list->count(), 0);
}

TEST_F(FormDialogs, GroupLinesAndChoices) {
    form.AppendElement(Checkbox("opt", "1", "red"));
    form.AppendElement(Checkbox("Opt", "2", ""));
    form.AppendElement(Checkbox("alone", "3", "x"));
    form.AppendElement(Radio("r", "1", "one"));
    form.AppendElement(Radio("single", "2", "s"));
    form.AppendElement(Radio("R", "3", "three"));
    CValidationEditorArea area(nullptr);
    area.show();

    area.ShowElement(&form, 1);
    EXPECT_EQ(Get<QLabel>(&area, IDC_VAL_GROUP_LINE)->text(),
              "Check box in the group \"Opt\" with value \"undefined\". There are 2 check boxes "
              "in this group");
    EXPECT_EQ(Get<QCheckBox>(&area, IDC_VAL_CHECK_SELECT)->text(), "User should select at least");
    EXPECT_EQ(Get<QLabel>(&area, IDC_VAL_CHECK_AFTER)->text(), "checkboxes from the group \"Opt\"");
    EXPECT_TRUE(Get<QWidget>(&area, IDC_VAL_CHECK_COUNT)->isVisible());
    EXPECT_FALSE(Get<QWidget>(&area, IDC_VAL_CHECK_COUNT)->isEnabled());
    Click(&area, IDC_VAL_CHECK_SELECT);
    EXPECT_TRUE(Get<QWidget>(&area, IDC_VAL_CHECK_COUNT)->isEnabled());
    Click(&area, IDC_VAL_CHECK_DONT);  // the choices exclude each other
    EXPECT_FALSE(Get<QCheckBox>(&area, IDC_VAL_CHECK_SELECT)->isChecked());
    EXPECT_FALSE(Get<QWidget>(&area, IDC_VAL_CHECK_COUNT)->isEnabled());
    Click(&area, IDC_VAL_CHECK_SELECT);
    Type(&area, IDC_VAL_CHECK_COUNT, "2");
    area.StoreShown();
    EXPECT_EQ(form.GetElement(0).Validations()->size(), 1u);  // shared with the group
    EXPECT_EQ(form.GetElement(1).Validations()->at(0).GetInt(), 2);

    area.ShowElement(&form, 2);
    EXPECT_FALSE(Get<QWidget>(&area, IDC_VAL_GROUP_LINE)->isVisible());
    EXPECT_EQ(Get<QCheckBox>(&area, IDC_VAL_CHECK_SELECT)->text(),
              "User should select this check box");
    EXPECT_FALSE(Get<QWidget>(&area, IDC_VAL_CHECK_COUNT)->isVisible());
    EXPECT_FALSE(Get<QWidget>(&area, IDC_VAL_CHECK_AFTER)->isVisible());

    area.ShowElement(&form, 3);
    EXPECT_EQ(Get<QLabel>(&area, IDC_VAL_GROUP_LINE)->text(),
              "Radio button in the group \"r\" with value \"one\". There are 2 radio buttons in "
              "this group");
    EXPECT_EQ(Get<QCheckBox>(&area, IDC_VAL_RADIO_ONE)->text(),
              "User should select one from the group \"r\"");
    EXPECT_TRUE(Get<QWidget>(&area, IDC_VAL_RADIO_ONE)->isEnabled());
    area.ShowElement(&form, 4);
    EXPECT_EQ(Get<QLabel>(&area, IDC_VAL_GROUP_LINE)->text(),
              "This Radio button is not the member of a group.To create a group, create radio "
              "buttons with the same name and different values");
    EXPECT_FALSE(Get<QWidget>(&area, IDC_VAL_RADIO_ONE)->isEnabled());

    area.ShowElement(&form, 0);
    EXPECT_TRUE(Get<QWidget>(&area, IDC_VAL_CHECK_SELECT)->isVisible());
    area.ShowElement(&form, 3);
    EXPECT_FALSE(Get<QWidget>(&area, IDC_VAL_CHECK_SELECT)->isVisible());
}

TEST_F(FormDialogs, OtherEditorsControls) {
    auto list = std::make_unique<CListboxData>();
    list->m_Items = {{"Red", "1", false}, {"Blue", "2", false}};
    form.AppendElement(CFormElement("l", "L", std::move(list)));
    form.AppendElement(Of(kTypeHidden, "h"));
    form.AppendElement(Of(kTypeMultiline, "m"));
    CValidationEditorArea area(nullptr);
    area.show();

    area.ShowElement(&form, 0);
    auto* option = Get<QComboBox>(&area, IDC_VAL_LIST_OPTION);
    ASSERT_EQ(option->count(), 2);
    EXPECT_EQ(option->itemText(1), "Blue");
    Click(&area, IDC_VAL_LIST_DONT);
    option->setCurrentIndex(1);
    area.StoreShown();
    EXPECT_EQ(form.GetElement(0).Validations()->at(0).GetInt(), 1);

    area.ShowElement(&form, 1);
    EXPECT_TRUE(Get<QWidget>(&area, IDC_VAL_NONE)->isVisible());
    EXPECT_EQ(Get<QLabel>(&area, IDC_VAL_NONE)->text(), "No Validations");

    area.ShowElement(&form, 2);
    Click(&area, IDC_VAL_MULTI_MIN);
    Type(&area, IDC_VAL_MULTI_MIN_VALUE, "4");
    Click(&area, IDC_VAL_MULTI_MANDATORY);
    area.StoreShown();
    ASSERT_EQ(form.GetElement(2).Validations()->size(), 2u);
    EXPECT_EQ(form.GetElement(2).Validations()->at(0).m_strMessage,
              "Please provide a value with minimum 4 characters");
    EXPECT_TRUE(form.m_bModified);
}

TEST_F(FormDialogs, UnreadableNumbersLeaveTheValidations) {
    struct Case {
        int type;
        int check, field;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {kTypeTextbox, IDC_VAL_MAXLEN, IDC_VAL_MAXLEN_VALUE, "abc",
         "Please enter an integer of 0 or more."},
        {kTypeTextbox, IDC_VAL_MINLEN, IDC_VAL_MINLEN_VALUE, "-1",
         "Please enter an integer of 0 or more."},
        {kTypeTextbox, IDC_VAL_LESS, IDC_VAL_LESS_VALUE, "1,5", "Please enter a number."},
        {kTypeTextbox, IDC_VAL_GREATER, IDC_VAL_GREATER_VALUE, "", "Please enter a number."},
        {kTypeMultiline, IDC_VAL_MULTI_MAX, IDC_VAL_MULTI_MAX_VALUE, "1.5",
         "Please enter an integer of 0 or more."},
        {kTypeMultiline, IDC_VAL_MULTI_MIN, IDC_VAL_MULTI_MIN_VALUE, "99999999999",
         "Please enter an integer of 0 or more."},
        {kTypeCheckbox, IDC_VAL_CHECK_SELECT, IDC_VAL_CHECK_COUNT, "0",
         "Please enter an integer of 1 or more."},
    };
    for (const Case& c : cases) {
        CHtmlForm f;
        f.AppendElement(Of(c.type, "e"));
        f.AppendElement(Of(c.type, "e"));  // check boxes: a group
        f.GetElement(0).Validations()->push_back(Val(kValRequired, "old"));
        f.m_bModified = false;
        prompt.Clear();
        CValidationEditorArea area(nullptr);
        area.show();
        area.ShowElement(&f, 0);
        Get<QCheckBox>(&area, c.check)->setChecked(true);
        Type(&area, c.field, c.text);
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(area.TryStoreShown());
        ASSERT_EQ(prompt.MessageTexts().size(), 1u);
        EXPECT_NE(prompt.MessageTexts()[0].find(c.expected), std::string::npos)
            << prompt.MessageTexts()[0];
        EXPECT_NE(prompt.MessageTexts()[0].find("were left as they were"), std::string::npos);
        ASSERT_EQ(f.GetElement(0).Validations()->size(), 1u);
        EXPECT_EQ(f.GetElement(0).Validations()->at(0).m_strMessage, "old");
        EXPECT_FALSE(f.m_bModified);
        EXPECT_EQ(area.focusWidget(), FindControl(&area, c.field));
    }
}

// ---- "Regular Expressions" ----

class RegExpChooserDialog : public FormDialogs {
protected:
    void SetUp() override {
        FormDialogs::SetUp();
        const std::string path = scratch / "regexp.txt";
        ondrelo::test::WriteFile(path,
                                 "; catalogue\n"
                                 "EXPNAME=Beta\nREGEXP=^b$\nDESC=Only b\n"
                                 "EXPNAME=alpha\nREGEXP=^a$\nDESC=Only a\n"
                                 "EXPNAME=Gamma\nREGEXP=^g$\nDESC=Only g\n");
        COndRegistryHandler::SetSettingsValue(kRegExpFileSetting, path);
    }
};

TEST_F(RegExpChooserDialog, ListsSortedAndSelectsTheCurrentExpression) {
    struct Case {
        const char* current;
        int row;
        const char *field, *help;
    };
    const Case cases[] = {{"^g$", 2, "^g$", "Only g"}, {"nothing", 0, "^a$", "Only a"}};
    for (const Case& c : cases) {
        CRegExpChooserDialog dialog(nullptr, c.current);
        EXPECT_EQ(dialog.windowTitle(), "Regular Expressions");
        auto* list = Get<QListWidget>(&dialog, IDC_REGEXP_LIST);
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), "alpha");
        EXPECT_EQ(list->item(1)->text(), "Beta");
        EXPECT_EQ(list->currentRow(), c.row);
        EXPECT_EQ(Text(&dialog, IDC_REGEXP_FIELD), c.field);
        EXPECT_EQ(Get<QPlainTextEdit>(&dialog, IDC_REGEXP_HELP)->toPlainText(), c.help);
    }
}

TEST_F(RegExpChooserDialog, OkTakesTheFieldOrTheSelectedEntry) {
    {
        CRegExpChooserDialog dialog(nullptr, "");
        Get<QListWidget>(&dialog, IDC_REGEXP_LIST)->setCurrentRow(1);
        EXPECT_EQ(Text(&dialog, IDC_REGEXP_FIELD), "^b$");
        EXPECT_EQ(Get<QPlainTextEdit>(&dialog, IDC_REGEXP_HELP)->toPlainText(), "Only b");
        Type(&dialog, IDC_REGEXP_FIELD, "^typed$");
        Click(&dialog, IDC_DLG_OK);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Result(), "^typed$");
    }
    {
        CRegExpChooserDialog dialog(nullptr, "^g$");
        Type(&dialog, IDC_REGEXP_FIELD, "");
        Click(&dialog, IDC_DLG_OK);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Result(), "^g$");
    }
    // No catalogue: nothing selected, an empty field is refused.
    COndRegistryHandler::SetSettingsValue(kRegExpFileSetting, scratch / "missing.txt");
    CRegExpChooserDialog dialog(nullptr, "");
    dialog.show();
    EXPECT_EQ(Get<QListWidget>(&dialog, IDC_REGEXP_LIST)->count(), 0);
    Click(&dialog, IDC_DLG_OK);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"Please select a Regular expression from the list."});
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(RegExpChooserDialog, ListButtonFillsTheFieldAndLeavesTheCheck) {
    form.AppendElement(Textbox("zip", "Zip"));
    CValidationEditorArea area(nullptr);
    area.ShowElement(&form, 0);
    Type(&area, IDC_VAL_REGEXP_VALUE, "^b$");
    WithModal([&] { Click(&area, IDC_VAL_REGEXP_LIST); },
              [](QWidget* modal) {
                  EXPECT_EQ(Get<QListWidget>(modal, IDC_REGEXP_LIST)->currentRow(), 1);
                  Get<QListWidget>(modal, IDC_REGEXP_LIST)->setCurrentRow(2);
                  Click(modal, IDC_DLG_OK);
              });
    EXPECT_EQ(Text(&area, IDC_VAL_REGEXP_VALUE), "^g$");
    EXPECT_FALSE(Get<QCheckBox>(&area, IDC_VAL_REGEXP)->isChecked());
    // Cancel keeps the field.
    WithModal([&] { Click(&area, IDC_VAL_REGEXP_LIST); },
              [](QWidget* modal) { Click(modal, IDC_DLG_CANCEL); });
    EXPECT_EQ(Text(&area, IDC_VAL_REGEXP_VALUE), "^g$");
}

// ---- "Custom Validation" ----

TEST_F(FormDialogs, CustomValidationStoresOnlyAChangedBody) {
    struct Case {
        std::string body;    // the form's before
        std::string append;  // typed at the end; empty: untouched
        bool ok;
        std::string expected;  // the form's after
    };
    const Case cases[] = {
        {"", "", true, ""},  // the untouched suggestion leaves the body empty
        {"", "\nreturn false;", false, ""},
        {"", "\nx();", true, std::string(kCustomValidationSuggestion) + "\r\nx();"},
        {"return ok;\r\n", "", true, "return ok;\r\n"},
        {"return ok;", " // why", true, "return ok; // why"},
    };
    for (const Case& c : cases) {
        CHtmlForm f;
        f.m_strName = "order";
        f.m_strCustomValidation = c.body;
        CCustomValidationDialog dialog(nullptr, f);
        dialog.EnsureInitialised();
        EXPECT_EQ(dialog.windowTitle(), "Custom Validation");
        EXPECT_EQ(Get<QLabel>(&dialog, IDC_CUSTOM_HEADER)->text(),
                  "function validate_order ( )\n{");
        EXPECT_EQ(Get<QLabel>(&dialog, IDC_CUSTOM_FOOTER)->text(), "}");
        auto* body = Get<QPlainTextEdit>(&dialog, IDC_CUSTOM_BODY);
        EXPECT_EQ(FromQt(body->toPlainText()),
                  FromQt(ondrelo::ToQtLines(CustomValidationInitialText(f))));
        if (!c.append.empty()) {
            body->moveCursor(QTextCursor::End);
            body->insertPlainText(ToQt(c.append));
        }
        Click(&dialog, c.ok ? IDC_DLG_OK : IDC_DLG_CANCEL);
        SCOPED_TRACE(c.body + "|" + c.append);
        EXPECT_EQ(f.m_strCustomValidation, c.expected);
        EXPECT_EQ(f.m_bModified, c.expected != c.body);
    }
}

TEST_F(FormDialogs, CustomValidationBodyTakesTheChangeOfSize) {
    CCustomValidationDialog dialog(nullptr, form);
    dialog.show();
    auto* body = Get<QWidget>(&dialog, IDC_CUSTOM_BODY);
    auto* footer = Get<QWidget>(&dialog, IDC_CUSTOM_FOOTER);
    auto* ok = Get<QWidget>(&dialog, IDC_DLG_OK);
    const QRect bodyBefore = body->geometry();
    const QRect footerBefore = footer->geometry();
    const QRect okBefore = ok->geometry();
    dialog.resize(dialog.size() + QSize(100, 60));
    QApplication::processEvents();
    EXPECT_EQ(body->geometry().size(), bodyBefore.size() + QSize(100, 60));
    EXPECT_EQ(body->geometry().topLeft(), bodyBefore.topLeft());
    EXPECT_EQ(footer->geometry().topLeft(), footerBefore.topLeft() + QPoint(0, 60));
    EXPECT_EQ(ok->geometry().topLeft(), okBefore.topLeft() + QPoint(100, 60));
}

// ---- "Errors!" ----

TEST_F(FormDialogs, ErrorsWindowShowsTheTextReadOnly) {
    const std::string text = "Errors while parsing the form from the page:\r\n\r\n Bad name\r\n";
    CErrorsWindow window(nullptr, text);
    EXPECT_EQ(window.windowTitle(), "Errors!");
    auto* box = Get<QPlainTextEdit>(&window, IDC_ERRORS_TEXT);
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(box->toPlainText(), "Errors while parsing the form from the page:\n\n Bad name\n");
    EXPECT_EQ(Get<QPushButton>(&window, IDC_DLG_CANCEL)->text(), "Close");

    // Installed, the core's errors go to the window instead of a message box.
    InstallErrorsWindow();
    std::string shown;
    WithModal([] { ShowErrorsDialog("one\r\ntwo"); },
              [&](QWidget* modal) {
                  EXPECT_EQ(ondrelo::GetControlId(modal), IDD_ERRORS);
                  shown = FromQt(Get<QPlainTextEdit>(modal, IDC_ERRORS_TEXT)->toPlainText());
                  Click(modal, IDC_DLG_CANCEL);
              });
    EXPECT_EQ(shown, "one\ntwo");
    EXPECT_TRUE(prompt.MessageTexts().empty());
    SetErrorsDialogHandler({});
}

// ---- fonts ----

// Every caption fits its control at the fonts users choose: a one-line
// caption is not wider than its control, a wrapped one not taller.
std::vector<std::string> ClippedTexts(const QWidget* root) {
    std::vector<std::string> clipped;
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        QString text;
        int needed = 0;
        int available = w->width();
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            text = label->text();
            if (label->wordWrap()) {
                needed = label->heightForWidth(label->width());
                available = label->height();
            } else {
                needed = label->fontMetrics().horizontalAdvance(text);
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            text = button->text();
            needed = button->sizeHint().width();
            if (qobject_cast<const QPushButton*>(w)) {
                // A push button's hint adds a generous margin of its own.
                needed = button->fontMetrics().horizontalAdvance(QString(text).remove('&')) + 8;
            }
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            text = group->title();
            needed = group->fontMetrics().horizontalAdvance(text) + 8;
        }
        if (!text.isEmpty() && needed > available) {
            clipped.push_back(FromQt(text) + " (" + std::to_string(needed) + " > " +
                              std::to_string(available) + ")");
        }
    }
    return clipped;
}

// Pictures of the dialogs for a look by eye, written where ONDRELO_SHOTS points.
void Picture(QWidget* w, const std::string& name, int points) {
    const QByteArray dir = qgetenv("ONDRELO_SHOTS");
    if (dir.isEmpty()) {
        return;
    }
    w->show();
    QApplication::processEvents();
    w->grab().save(QString::fromUtf8(dir) + "/" + ToQt(name) + "_" + QString::number(points) +
                   "pt.png");
}

TEST_F(FormDialogs, NothingClippedAtNineElevenAndFourteenPoints) {
    const QFont original = QApplication::font();
    const std::string catalogue = scratch / "regexp.txt";
    ondrelo::test::WriteFile(catalogue,
                             "EXPNAME=Zip code\nREGEXP=^\\d{5}$\nDESC=Five digits\n"
                             "EXPNAME=Whole number\nREGEXP=^\\d+$\nDESC=Digits only, at least "
                             "one\n");
    COndRegistryHandler::SetSettingsValue(kRegExpFileSetting, catalogue);
    form.AppendElement(Textbox("a", "A"));
    form.AppendElement(Checkbox("opt", "1", "red"));
    form.AppendElement(Checkbox("opt", "2", "blue"));
    form.AppendElement(Radio("r", "3", "one"));
    form.AppendElement(Of(kTypeListbox, "l"));
    form.AppendElement(Of(kTypeMultiline, "m"));
    for (int points : {9, 11, 14}) {
        QFont font = original;
        font.setPointSize(points);
        QApplication::setFont(font);
        SCOPED_TRACE(points);
        for (int type = 0; type < kElementTypeCount; ++type) {
            CElementEditorDialog editor(nullptr, form, -1, type);
            EXPECT_EQ(ClippedTexts(&editor), std::vector<std::string>{}) << "page " << type;
            Picture(&editor, "element_editor_" + std::to_string(type), points);
        }
        CValidationEditorArea area(nullptr);
        area.resize(area.minimumSize());
        const std::vector<std::pair<int, int>> shown = {{0, 0}, {0, 1}, {1, 0},
                                                        {3, 0}, {4, 0}, {5, 0}};
        for (auto [element, tab] : shown) {
            area.ShowElement(&form, element);
            if (element == 0) {
                Get<QTabWidget>(&area, IDC_VAL_TEXT_TABS)->setCurrentIndex(tab);
            }
            area.show();
            QApplication::processEvents();
            std::vector<std::string> clipped;
            for (const QWidget* editor : area.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (editor->isVisible()) {
                    const auto more = ClippedTexts(editor);
                    clipped.insert(clipped.end(), more.begin(), more.end());
                }
            }
            EXPECT_EQ(clipped, std::vector<std::string>{}) << "element " << element;
            Picture(&area, "validations_" + std::to_string(element) + "_" + std::to_string(tab),
                    points);
        }
        CCustomValidationDialog custom(nullptr, form);
        custom.EnsureInitialised();
        EXPECT_EQ(ClippedTexts(&custom), std::vector<std::string>{});
        Picture(&custom, "custom_validation", points);
        CRegExpChooserDialog chooser(nullptr, "");
        EXPECT_EQ(ClippedTexts(&chooser), std::vector<std::string>{});
        Picture(&chooser, "regexp_chooser", points);
        CErrorsWindow errors(nullptr, "Errors while parsing the form from the page:\r\n");
        EXPECT_EQ(ClippedTexts(&errors), std::vector<std::string>{});
        Picture(&errors, "errors", points);
    }
    QApplication::setFont(original);
}

}  // namespace
}  // namespace formwarden
