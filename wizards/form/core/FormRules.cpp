#include "formwarden/FormRules.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Text.h"
#include "formwarden/FormResources.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndRegistryHandler.h"

namespace formwarden {

const char* const kListFileExplanation =
    "You can load the items in the list box from a text file.\n The format of the text file "
    "is:\n ItemName1\tItemValue1 \n ItemName2\tItemValue2 \n etc The 'ItemValue' is optional. \n "
    "Example: \n Red\t1\n Blue\t2\n Green\t3\n Yellow\t4\n Blue\t5\n Creates a list of colors.";

namespace {
const char* const kLoadFromFileShown = "LoadFromFileShown";
}

bool IsAlnumName(const std::string& name) {
    return CCommon::RexExpMatch("[[:alnum:]_]*", name);
}

std::string MakeDefaultElementName(const CHtmlForm& form, int edited, int type, int& counter) {
    const std::string base = ElementTypeBaseName(type);
    for (;;) {
        std::string candidate = base + std::to_string(counter++);
        if (form.FindElement(candidate, edited) < 0) {
            return candidate;
        }
    }
}

EEditorFocus CheckElementName(const CHtmlForm& form, int edited, int type, std::string& name,
                              std::string& caption, int& counter) {
    name = text::Trim(name);
    if (name.empty()) {
        name = MakeDefaultElementName(form, edited, type, counter);
        if (type != kTypeHidden) {
            caption = name;
        }
    }
    if (!IsAlnumName(name)) {
        FormMessageBox(IDS_NAME_ALNUM_ONLY, MB_OK | MB_ICONERROR);
        return kFocusName;
    }
    if (type != kTypeCheckbox && type != kTypeRadio && form.FindElement(name, edited) >= 0) {
        FormMessageBox(text::Format(FormString(IDS_NAME_EXISTS), name.c_str()),
                       MB_OK | MB_ICONERROR);
        return kFocusName;
    }
    return kFocusNone;
}

EEditorFocus CheckFormName(const CHtmlForm& form) {
    const std::string& name = form.m_strName;
    if (name.empty()) {
        FormMessageBox(IDS_FORM_NAME_EMPTY, MB_OK | MB_ICONERROR);
        return kFocusName;
    }
    if (!IsAlnumName(name) || std::isdigit(static_cast<unsigned char>(name[0]))) {
        FormMessageBox(IDS_FORM_NAME_INVALID, MB_OK | MB_ICONERROR);
        return kFocusName;
    }
    if (form.GetElementCount() == 0) {
        FormMessageBox(IDS_NO_ELEMENTS, MB_OK | MB_ICONERROR);
        return kFocusAddButton;
    }
    return kFocusNone;
}

bool ConfirmTypeChange(int oldType, int newType) {
    std::string question = text::Format(FormString(IDS_TYPE_CHANGE), ElementTypeLabel(oldType),
                                        ElementTypeLabel(newType));
    return FormMessageBox(question, MB_YESNO | MB_ICONWARNING) == IDYES;
}

int ApplyElementEdit(CHtmlForm& form, int edited, const std::string& name,
                     const std::string& caption, const CElementData& pageData) {
    form.m_bModified = true;
    if (edited >= 0 && edited < form.GetElementCount()) {
        CFormElement& element = form.GetElement(edited);
        std::unique_ptr<CElementData> data = pageData.Clone();
        // The validations stay with an element that keeps its type and go
        // with a type change, whatever the page's data object carries.
        if (element.GetData() && element.GetData()->GetType() == data->GetType()) {
            data->CopyValidations(*element.GetData());
        } else {
            data->m_Validations.clear();
        }
        element.m_strName = name;
        element.m_strCaption = caption;
        element.SetData(std::move(data));
        return edited;
    }
    std::unique_ptr<CElementData> data = pageData.Clone();
    data->m_Validations.clear();
    return form.AppendElement(CFormElement(name, caption, std::move(data)));
}

int AddOrChangeListItem(std::vector<SListItem>& items, int chosen, const std::string& name,
                        const std::string& value, bool selected) {
    if (name.empty()) {
        FormMessageBox(IDS_LIST_ITEM_NAME, MB_OK | MB_ICONERROR);
        return -1;
    }
    SListItem item{name, value.empty() ? name : value, selected};
    if (chosen < 0 || chosen >= static_cast<int>(items.size())) {
        items.push_back(std::move(item));
        return static_cast<int>(items.size()) - 1;
    }
    items[static_cast<std::size_t>(chosen)] = std::move(item);
    return chosen;
}

std::vector<SListItem> ParseListItems(const std::string& content) {
    std::vector<SListItem> items;
    std::istringstream in(content);
    std::string line;
    while (std::getline(in, line)) {
        line = text::TrimRight(line);
        std::string name = line;
        std::string value;
        auto split = line.rfind('\t');
        if (split == std::string::npos) {
            split = line.rfind(' ');
        }
        if (split != std::string::npos) {
            name = line.substr(0, split);
            value = line.substr(split + 1);
        }
        name = text::Trim(name);
        value = text::Trim(value);
        if (name.empty() && value.empty()) {
            continue;
        }
        if (value.empty()) {
            value = name;
        }
        if (name.empty()) {
            name = value;
        }
        items.push_back(SListItem{name, value, false});
    }
    return items;
}

namespace {

// The explanation once, then the question when items would be lost.
bool PrepareListLoad(const std::vector<SListItem>& items) {
    std::string shown;
    if (!COndRegistryHandler::GetSettingsValue(kLoadFromFileShown, shown) || shown != "1") {
        FormMessageBox(kListFileExplanation, MB_OK | MB_ICONINFORMATION);
        COndRegistryHandler::SetSettingsValue(kLoadFromFileShown, "1");
    }
    if (!items.empty() &&
        FormMessageBox(kListReplaceQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    return true;
}

bool ReadListFile(std::vector<SListItem>& items, const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        FormMessageBox(kListLoadFailed, MB_OK | MB_ICONERROR);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (in) {
        content << in.rdbuf();
    }
    if (!in || in.bad()) {
        FormMessageBox(kListLoadFailed, MB_OK | MB_ICONERROR);
        return false;
    }
    items = ParseListItems(content.str());
    return true;
}

}  // namespace

bool LoadListItemsFromPath(std::vector<SListItem>& items, const std::string& path) {
    return PrepareListLoad(items) && ReadListFile(items, path);
}

bool LoadListItemsFromFile(std::vector<SListItem>& items) {
    if (!PrepareListLoad(items)) {
        return false;
    }
    ondrelo::SFileDialogSpec dialog;
    dialog.open = true;
    dialog.title = kListFileDialogTitle;
    dialog.filter = kListFileFilter;
    dialog.fileMustExist = true;
    std::string path;
    if (!ondrelo::Prompt().FileDialog(dialog, path)) {
        return false;
    }
    return ReadListFile(items, path);
}

// ---- number fields of the editors ----

std::optional<int> ReadNumberField(const std::string& text, int min, int max) {
    const std::string trimmed = text::Trim(text);
    std::string_view digits = trimmed;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.front() == '+') {
        return std::nullopt;
    }
    long long value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || stop != end || value < min || value > max) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string NumberFieldMessage(int min, int max) {
    if (max == INT_MAX) {
        return "Please enter an integer of " + std::to_string(min) + " or more.";
    }
    return "Please enter an integer between " + std::to_string(min) + " and " +
           std::to_string(max) + ".";
}

std::optional<double> ReadDecimalField(const std::string& text) {
    const std::string trimmed = text::Trim(text);
    std::string_view digits = trimmed;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.front() == '+') {
        return std::nullopt;
    }
    double value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] =
        std::from_chars(digits.data(), end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string DecimalFieldText(double value) {
    char buffer[64];
    const auto [stop, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) {
        return "0";
    }
    return std::string(buffer, stop);
}

std::string UnreadableValidationNumber(const std::string& field, const std::string& element,
                                       const std::string& expected) {
    return "The value of \"" + field + "\" for " + element + " cannot be used. " + expected +
           "\nThe validations of " + element + " were left as they were.";
}

// ---- values brought in from templates and pages ----

namespace {

void Clamp(int& value, int low, int high, const std::string& what, const char* field,
           std::vector<std::string>& changes) {
    const int clamped = value < low ? low : value > high ? high : value;
    if (clamped == value) {
        return;
    }
    changes.push_back(text::Format("%s: %s %d changed to %d", what.c_str(), field, value, clamped));
    value = clamped;
}

}  // namespace

std::vector<std::string> ClampToEditorLimits(CHtmlForm& form) {
    std::vector<std::string> changes;
    for (CFormElement& element : form.m_Elements) {
        CElementData* data = element.GetData();
        const std::string what = text::Format("The %s '%s'", ElementTypeLabel(element.m_nType),
                                              element.m_strName.c_str());
        if (auto* box = dynamic_cast<CTextData*>(data)) {
            Clamp(box->m_nSize, kMinTextSize, kMaxTextSize, what, "size", changes);
        } else if (auto* file = dynamic_cast<CFileData*>(data)) {
            Clamp(file->m_nSize, kMinFileSize, kMaxFileSize, what, "size", changes);
        } else if (auto* area = dynamic_cast<CMultilineData*>(data)) {
            Clamp(area->m_nRows, kMinMultilineRows, kMaxMultilineRows, what, "rows", changes);
            Clamp(area->m_nColumns, kMinMultilineColumns, kMaxMultilineColumns, what, "columns",
                  changes);
        } else if (auto* list = dynamic_cast<CListboxData*>(data)) {
            Clamp(list->m_nVisibleRows, kMinListboxRows, kMaxListboxRows, what, "visible rows",
                  changes);
        }
    }
    return changes;
}

std::string EditorLimitsReport(const std::vector<std::string>& changes) {
    if (changes.empty()) {
        return {};
    }
    std::string report =
        "Some values were outside the limits of the element editor and were changed:\n";
    for (const std::string& change : changes) {
        report += "\n" + change;
    }
    return report;
}

}  // namespace formwarden
