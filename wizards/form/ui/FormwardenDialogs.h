// The form wizard's dialogs and its validation editor area: the element
// editor, the per-type validation editors, the custom validation function,
// the regular-expression chooser and the "Errors!" window. The pages call
// only what this header declares; every rule these windows follow is the
// core's (FormRules.h, Validations.h, RegExpCatalogue.h).
#pragma once

#include <QIcon>
#include <QWidget>
#include <memory>
#include <string>

#include "formwarden/FormModel.h"
#include "ondrelo/ListCtrlEx.h"

namespace formwarden {

// ---- control numbers (ondrelo::FindControl finds a control by its number) ----

// Element editor ("Add New Form Element" / "Modify Form Element").
enum EElementEditorControl : int {
    IDD_ELEMENT_EDITOR = 1100,
    IDC_EL_NAME = 1101,
    IDC_EL_CAPTION = 1102,
    IDC_EL_TYPE = 1103,  // the "Type" choice, type codes in order
    IDC_EL_DETAILS = 1104,  // "&Details >>" / "<< &Details"
    IDC_EL_PAGES = 1105,    // the stack of property pages
    // Property pages' fields.
    IDC_EL_TEXT_VALUE = 1110,
    IDC_EL_TEXT_SIZE = 1111,
    IDC_EL_TEXT_PASSWORD = 1112,
    IDC_EL_CHECK_VALUE = 1113,
    IDC_EL_CHECK_CHECKED = 1114,
    IDC_EL_FILE_SIZE = 1115,
    IDC_EL_HIDDEN_VALUE = 1116,
    IDC_EL_BUTTON_SUBMIT = 1117,
    IDC_EL_BUTTON_RESET = 1118,
    IDC_EL_BUTTON_GENERAL = 1119,
    IDC_EL_MULTI_ROWS = 1120,
    IDC_EL_MULTI_COLUMNS = 1121,
    IDC_EL_MULTI_TEXT = 1122,
    IDC_EL_LIST_ROWS = 1123,
    IDC_EL_LIST_COMBO = 1124,
    IDC_EL_LIST_MULTIPLE = 1125,
    IDC_EL_LIST_ITEMS = 1126,
    IDC_EL_LIST_ITEM_NAME = 1127,
    IDC_EL_LIST_ITEM_VALUE = 1128,
    IDC_EL_LIST_ITEM_SELECTED = 1129,
    IDC_EL_LIST_ADD_NEW = 1130,
    IDC_EL_LIST_UPDATE = 1131,
    IDC_EL_LIST_REMOVE = 1132,
    IDC_EL_LIST_LOAD = 1133,
    IDC_EL_RADIO_VALUE = 1134,
    IDC_EL_RADIO_CHECKED = 1135,
};

// Validation editors (one per element type) inside the Validations page's area.
enum EValidationEditorControl : int {
    IDC_VAL_AREA = 1200,
    IDC_VAL_NONE = 1201,  // "No Validations"
    // Textbox, "Properties".
    IDC_VAL_TEXT_TABS = 1210,
    IDC_VAL_MANDATORY = 1211,
    IDC_VAL_ALPHA = 1212,
    IDC_VAL_ALNUM = 1213,
    IDC_VAL_NUMERIC = 1214,
    IDC_VAL_EMAIL = 1215,
    IDC_VAL_ANY = 1216,
    IDC_VAL_SPACES = 1217,
    IDC_VAL_MAXLEN = 1218,
    IDC_VAL_MAXLEN_VALUE = 1219,
    IDC_VAL_MINLEN = 1220,
    IDC_VAL_MINLEN_VALUE = 1221,
    IDC_VAL_LESS = 1222,
    IDC_VAL_LESS_VALUE = 1223,
    IDC_VAL_GREATER = 1224,
    IDC_VAL_GREATER_VALUE = 1225,
    IDC_VAL_REGEXP = 1226,
    IDC_VAL_REGEXP_VALUE = 1227,
    IDC_VAL_REGEXP_LIST = 1228,
    // Textbox, "Comparison".
    IDC_VAL_CMP_LIST = 1240,
    IDC_VAL_CMP_OPERATOR = 1241,
    IDC_VAL_CMP_OTHER = 1242,
    IDC_VAL_CMP_ADD = 1243,
    IDC_VAL_CMP_UPDATE = 1244,
    IDC_VAL_CMP_REMOVE = 1245,
    // Checkbox and Radio Button.
    IDC_VAL_GROUP_LINE = 1250,
    IDC_VAL_CHECK_SELECT = 1251,  // "User should select this check box" / "... at least"
    IDC_VAL_CHECK_COUNT = 1252,
    IDC_VAL_CHECK_AFTER = 1253,  // "checkboxes from the group ..."
    IDC_VAL_CHECK_DONT = 1254,   // "User should not select this check box"
    IDC_VAL_RADIO_DONT = 1255,   // "User should not select this option"
    IDC_VAL_RADIO_ONE = 1256,    // the group choice
    // ListBox.
    IDC_VAL_LIST_DONT = 1260,
    IDC_VAL_LIST_OPTION = 1261,
    // File.
    IDC_VAL_FILE_MANDATORY = 1265,
    // Multiline Text.
    IDC_VAL_MULTI_MAX = 1270,
    IDC_VAL_MULTI_MAX_VALUE = 1271,
    IDC_VAL_MULTI_MIN = 1272,
    IDC_VAL_MULTI_MIN_VALUE = 1273,
    IDC_VAL_MULTI_MANDATORY = 1274,
};

// "Custom Validation", "Regular Expressions" and "Errors!".
enum EFormDialogControl : int {
    IDD_CUSTOM_VALIDATION = 1400,
    IDC_CUSTOM_HEADER = 1401,
    IDC_CUSTOM_BODY = 1402,
    IDC_CUSTOM_FOOTER = 1403,
    IDD_REGEXP_CHOOSER = 1450,
    IDC_REGEXP_LIST = 1451,
    IDC_REGEXP_FIELD = 1452,
    IDC_REGEXP_HELP = 1453,
    IDD_ERRORS = 1480,
    IDC_ERRORS_TEXT = 1481,
};

// ---- type icons ----

// The 16x16 icon of an element type (codes 0 to 7); a null icon otherwise.
QIcon ElementTypeIcon(int type);
// The eight icons in type-code order, for CListCtrlEx::SetImageList.
const CImageList& ElementTypeImageList();

// ---- element editor ----

// Opens the element editor (modal) for element `edited` of the form, or for
// a new element when `edited` is -1, starting on `presetType` (a new
// element; -1 gives Textbox). OK applies the name and type checks and
// stores the element; returns its index, or -1 when the user cancelled.
int EditFormElement(QWidget* parent, CHtmlForm& form, int edited, int presetType);

// Whether the element editor shows its property pages: starts shown and is
// kept for the life of the module.
bool ElementEditorDetailsShown();
void SetElementEditorDetailsShown(bool shown);

// ---- validation editors ----

// The fixed area of the Validations page that shows the validation editor
// of one element's type.
class CValidationEditorArea : public QWidget {
public:
    explicit CValidationEditorArea(QWidget* parent);
    ~CValidationEditorArea() override;

    // Loads the editor of the element's type from its validations and shows
    // it; a null form or -1 shows nothing. Does not store the shown editor
    // first: call StoreShown for that.
    void ShowElement(CHtmlForm* form, int index);
    // Rebuilds the shown element's validation list from the editor (the
    // core's Store functions: messages kept, groups shared, form modified).
    // Does nothing while no element is shown.
    void StoreShown();
    // The same, telling whether it stored: false when a number field of the
    // editor cannot be read (a checked length, bound or count). The user was
    // told which field, the focus is on it, and the element's validations
    // are left as they were, so the page can keep the user where he is.
    bool TryStoreShown();
    // The element shown, or -1.
    int ShownElement() const;

private:
    struct SImpl;
    std::unique_ptr<SImpl> m;
};

// ---- other dialogs ----

// "Custom Validation": edits the form's custom validation body. True when
// the user pressed OK.
bool EditCustomValidation(QWidget* parent, CHtmlForm& form);

// "Regular Expressions": the catalogue named by the settings, with the
// entry of `current` selected. True with the chosen expression on OK.
bool ChooseRegExp(QWidget* parent, const std::string& current, std::string& result);

// The "Errors!" window: lists the names of a page's form that fail the check.
void ShowErrorsWindow(QWidget* parent, const std::string& text);
// Makes the "Errors!" window the core's way of showing a page's problems
// (SetErrorsDialogHandler), owned by the application's active window.
void InstallErrorsWindow();

}  // namespace formwarden
