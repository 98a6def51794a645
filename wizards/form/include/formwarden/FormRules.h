// Editing rules of the form model: element and form name checks, the type
// change question, confirming the element editor, and list-box items.
// Violations are shown to the user through the form wizard's message box;
// the functions say which field should get the focus.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formwarden/FormModel.h"

namespace formwarden {

// Where the editor puts the focus after a refused check.
enum EEditorFocus : int { kFocusNone = 0, kFocusName = 1, kFocusAddButton = 2 };

// The element editor's name check. `edited` is the index of the element
// being edited, -1 for a new one; `counter` is the default-name counter
// (1 when the editor opens, kept across tries). An empty name becomes a
// default name (and, except for Hidden, the caption too). Returns
// kFocusNone when the name is accepted, else the message was shown.
EEditorFocus CheckElementName(const CHtmlForm& form, int edited, int type, std::string& name,
                              std::string& caption, int& counter);

// The first "<base><n>" from `counter` on that no other element has; the
// counter ends just after the number used.
std::string MakeDefaultElementName(const CHtmlForm& form, int edited, int type, int& counter);

// The form page's check when leaving it: kFocusNone when accepted.
EEditorFocus CheckFormName(const CHtmlForm& form);

// True when the name consists of letters, digits and underscores only.
bool IsAlnumName(const std::string& name);

// Asks whether an element may change from one type to another; true on "Yes".
bool ConfirmTypeChange(int oldType, int newType);

// Confirming the element editor: a new element (edited = -1) is appended,
// an existing one gets name, caption, type and a clone of the page's data
// (its old data destroyed). An element that keeps its type keeps its
// validations; a new element or a type change starts without any. Returns
// the element's index; marks the form modified.
int ApplyElementEdit(CHtmlForm& form, int edited, const std::string& name,
                     const std::string& caption, const CElementData& pageData);

// "Update" of the list-box items: the name is required (message 110), an
// empty value becomes the name; chosen = -1 appends, else replaces. Returns
// the item's index, or -1 when refused.
int AddOrChangeListItem(std::vector<SListItem>& items, int chosen, const std::string& name,
                        const std::string& value, bool selected);

// Items from the text of a list file: one per line, "name<TAB>value" or
// "name value" (split at the last tab, else the last space).
std::vector<SListItem> ParseListItems(const std::string& text);

// The list file dialog and its texts.
inline constexpr const char* kListFileDialogTitle = "Open the Text File Containing the List Items";
inline constexpr const char* kListFileFilter = "Text files (*.txt)|*.txt|All Files(*.*)|*.*||";
extern const char* const kListFileExplanation;
inline constexpr const char* kListReplaceQuestion =
    "All the existing list items will be removed  before loading from the file. Proceed ? ";
inline constexpr const char* kListLoadFailed = "Failed loading from the file ";

// "Load from File ...": the explanation the first time (remembered as the
// setting "LoadFromFileShown"), the question when the list is not empty,
// the file dialog, then the file's items replace the list. False (the
// list unchanged) when the user declines or the file cannot be read.
bool LoadListItemsFromFile(std::vector<SListItem>& items);
// Same with the file already chosen (no dialog; the explanation and the
// question are still asked).
bool LoadListItemsFromPath(std::vector<SListItem>& items, const std::string& path);

// ---- number fields of the editors ----

// A whole number typed into a field (blanks around it allowed) that lies
// within [min, max]; nullopt for any other text, so that a field that cannot
// be read is refused instead of storing a number nobody typed.
std::optional<int> ReadNumberField(const std::string& text, int min, int max);
// The refusal of such a field: "Please enter an integer between 1 and 999."
// ("... of 0 or more." without an upper limit).
std::string NumberFieldMessage(int min, int max);

// A decimal number typed into a field (the bounds of "Less than" and
// "Greater than"): nullopt when the text is not a finite number.
std::optional<double> ReadDecimalField(const std::string& text);
// The shortest text that reads back as the same number, so that showing a
// bound and storing it again does not change it.
std::string DecimalFieldText(double value);
inline constexpr const char* kDecimalFieldMessage = "Please enter a number.";

// A validation editor's refusal to store: the field's caption, the element's
// name and what the field needs. The element's validations stay as they were.
std::string UnreadableValidationNumber(const std::string& field, const std::string& element,
                                       const std::string& expected);

// ---- values brought in from templates and pages ----

// Brings every number the element editor limits (a Textbox's or File's
// size, a text area's rows and columns, a list's visible rows) into the
// editor's range. Returns one line per value changed ("The text area
// 'notes': rows 0 changed to 1"), empty when all were within range.
std::vector<std::string> ClampToEditorLimits(CHtmlForm& form);
// The load report for those lines: "" when there are none.
std::string EditorLimitsReport(const std::vector<std::string>& changes);

}  // namespace formwarden
