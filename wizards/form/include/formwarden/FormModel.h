// The form being designed: the form record, its ordered element list, the
// eight kinds of type data and the validations every element carries.
// Toolkit-free; the wizard pages, the generator, the template file and the
// page reader all work on these records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace formwarden {

// Element type codes: the index of the type in the editor's type list.
enum EElementType : int {
    kTypeUnset = -1,
    kTypeTextbox = 0,
    kTypeCheckbox = 1,
    kTypeFile = 2,
    kTypeHidden = 3,
    kTypeButton = 4,
    kTypeMultiline = 5,
    kTypeListbox = 6,
    kTypeRadio = 7,
};
inline constexpr int kElementTypeCount = 8;

// "Textbox", "Checkbox", ... as the editor lists them; empty for other codes.
const char* ElementTypeLabel(int type);
// "Textbox", "Checkbox", "File", "Hidden", "Button", "Multiline", "Listbox",
// "Radio": the stem of default element names; empty for other codes.
const char* ElementTypeBaseName(int type);

// Limits the element editor enforces.
inline constexpr int kMaxElementNameLength = 125;
inline constexpr int kMaxTextValueLength = 512;
inline constexpr int kMaxCheckboxValueLength = 125;
inline constexpr int kMaxHiddenValueLength = 1024;
inline constexpr int kMaxRadioValueLength = 255;
inline constexpr int kMinTextSize = 1, kMaxTextSize = 999;
inline constexpr int kMinFileSize = 0, kMaxFileSize = 1024;
inline constexpr int kMinMultilineRows = 1, kMaxMultilineRows = 1024;
inline constexpr int kMinMultilineColumns = 1, kMaxMultilineColumns = 1024;
inline constexpr int kMinListboxRows = 1, kMaxListboxRows = 999;

// Button kinds of CButtonData.
enum EButtonKind : int { kButtonSubmit = 0, kButtonReset = 1, kButtonGeneral = 2 };

// Sending methods of a form.
enum EFormMethod : int { kMethodGet = 0, kMethodPost = 1 };

// Field-by-field reader or writer of a form template. Each record's
// Serialize names its fields in file order; the archive decides the bytes
// and raises ondrelo::CArchiveException or ondrelo::CFileException when the
// input is short or malformed.
class IFormArchive {
public:
    virtual ~IFormArchive() = default;
    virtual bool IsStoring() const = 0;
    // Four bytes, little-endian.
    virtual void SerializeDword(std::uint32_t& value) = 0;
    // Eight bytes, little-endian (the validation's number slot, or a DOUBLE).
    virtual void SerializeQword(std::uint64_t& value) = 0;
    // Length prefix, then the characters.
    virtual void SerializeString(std::string& value) = 0;

    void SerializeInt(int& value) {
        auto bits = static_cast<std::uint32_t>(value);
        SerializeDword(bits);
        value = static_cast<int>(bits);
    }
    void SerializeFlag(bool& value) {
        std::uint32_t bits = value ? 1 : 0;
        SerializeDword(bits);
        value = bits != 0;
    }
};

// One option of a ListBox.
struct SListItem {
    std::string m_strName;   // the text shown
    std::string m_strValue;  // the submitted value
    bool m_bSelected = false;

    bool operator==(const SListItem&) const = default;
};

// Validation kind codes (1 to 19); 0 is unset.
enum EValidationKind : int {
    kValUnset = 0,
    kValRequired = 1,
    kValAlpha = 2,
    kValAlnum = 3,
    kValNumeric = 4,
    kValEmail = 5,
    kValRegExp = 6,
    kValMaxLength = 7,
    kValMinLength = 8,
    kValLessThan = 9,
    kValGreaterThan = 10,
    kValEqualTo = 11,
    kValLessThanElement = 12,
    kValLessEqualElement = 13,
    kValGreaterThanElement = 14,
    kValGreaterEqualElement = 15,
    kValNotEqualElement = 16,
    kValSelectMin = 17,
    kValSelectOne = 18,
    kValDontSelect = 19,
};
inline constexpr int kValidationKindCount = 19;

// Options of a validation.
inline constexpr int kOptionAllowSpaces = 1;    // Alphabetic and AlphaNumeric
inline constexpr int kOptionGroupCarrier = 10;  // this member generates the group rule
inline constexpr int kOptionGroupHolder = 25;   // another member generates it

// One validation of an element.
class CValidation {
public:
    int m_nKind = kValUnset;
    // Regular expression, the other element of a comparison, or the value
    // of the check box or radio button that must not be chosen.
    std::string m_strText;
    // The 8-byte number slot: an integer in the low 4 bytes, or, for the
    // bounds of "less than" and "greater than", a double in all 8.
    std::uint64_t m_nNumber = 0;
    int m_nOption = 0;
    std::string m_strMessage;

    CValidation() = default;
    CValidation(int kind, std::string message) : m_nKind(kind), m_strMessage(std::move(message)) {}

    int GetInt() const { return static_cast<std::int32_t>(m_nNumber & 0xFFFFFFFFu); }
    void SetInt(int value) { m_nNumber = static_cast<std::uint32_t>(value); }
    double GetDouble() const;
    void SetDouble(double value);
    // True for the kinds whose number is a double (9 and 10).
    static bool HasDoubleNumber(int kind) {
        return kind == kValLessThan || kind == kValGreaterThan;
    }

    // kind, text, number, option, message.
    void Serialize(IFormArchive& ar);

    bool operator==(const CValidation&) const = default;
};

using CValidationList = std::vector<CValidation>;

// Type-specific data of an element; the dynamic type matches the type code.
class CElementData {
public:
    CValidationList m_Validations;

    CElementData() = default;
    CElementData(const CElementData&) = default;
    CElementData& operator=(const CElementData&) = default;

    // 1. destroy
    virtual ~CElementData();
    // 2. the element type code
    virtual int GetType() const = 0;
    // 3. a new object of the same class with the same fields and validations
    virtual std::unique_ptr<CElementData> Clone() const = 0;
    // 4. the element's HTML for the given name and caption; captionPlaced
    //    says whether the HTML already shows the caption
    virtual std::string GenerateHTML(const std::string& name, const std::string& caption,
                                     bool& captionPlaced) const = 0;
    // 5. replaces the validation list with a copy of another object's
    virtual void CopyValidations(const CElementData& other);
    // 6. the validation list, then the type's own fields
    virtual void Serialize(IFormArchive& ar);
    // 7. the type's own fields of another object of the same class, then
    //    its validations; an object of another class gives only validations
    virtual void Assign(const CElementData& other);

    // Default data object for a type code; null for a code outside 0 to 7.
    static std::unique_ptr<CElementData> CreateDefault(int type);
};

class CTextData : public CElementData {
public:
    std::string m_strValue;
    int m_nSize = 10;
    bool m_bPassword = false;

    int GetType() const override { return kTypeTextbox; }
    std::unique_ptr<CElementData> Clone() const override;
    std::string GenerateHTML(const std::string& name, const std::string& caption,
                             bool& captionPlaced) const override;
    void Serialize(IFormArchive& ar) override;
    void Assign(const CElementData& other) override;
};

class CCheckboxData : public CElementData {
public:
    std::string m_strValue;
    bool m_bChecked = false;

    int GetType() const override { return kTypeCheckbox; }
    std::unique_ptr<CElementData> Clone() const override;
    std::string GenerateHTML(const std::string& name, const std::string& caption,
                             bool& captionPlaced) const override;
    void Serialize(IFormArchive& ar) override;
    void Assign(const CElementData& other) override;
};

class CFileData : public CElementData {
public:
    int m_nSize = 10;

    int GetType() const override { return kTypeFile; }
    std::unique_ptr<CElementData> Clone() const override;
    std::string GenerateHTML(const std::string& name, const std::string& caption,
                             bool& captionPlaced) const override;
    void Serialize(IFormArchive& ar) override;
    void Assign(const CElementData& other) override;
};

class CHiddenData : public CElementData {
public:
    std::string m_strValue;

    int GetType() const override { return kTypeHidden; }
    std::unique_ptr<CElementData> Clone() const override;
    std::string GenerateHTML(const std::string& name, const std::string& caption,
                             bool& captionPlaced) const override;
    void Serialize(IFormArchive& ar) override;
    void Assign(const CElementData& other) override;
};

class CButtonData : public CElementData {
public:
    int m_nKind = kButtonSubmit;

    int GetType() const override { return kTypeButton; }
    std::unique_ptr<CElementData> Clone() const override;
    std::string GenerateHTML(const std::string& name, const std::string& caption,
                             bool& captionPlaced) const override;
    void Serialize(IFormArchive& ar) override;
    void Assign(const CElementData& other) override;
};

class CMultilineData : public CElementData {
public:
    int m_nRows = 5;
    int m_nColumns = 25;
    std::string m_strDefaultText;

    int GetType() const override { return kTypeMultiline; }
    std::unique_ptr<CElementData> Clone() const override;
    std::string GenerateHTML(const std::string& name, const std::string& caption,
                             bool& captionPlaced) const override;
    void Serialize(IFormArchive& ar) override;
    void Assign(const CElementData& other) override;
};

class CListboxData : public CElementData {
public:
    int m_nVisibleRows = 1;
    bool m_bMultiple = false;
    std::vector<SListItem> m_Items;

    int GetType() const override { return kTypeListbox; }
    std::unique_ptr<CElementData> Clone() const override;
    std::string GenerateHTML(const std::string& name, const std::string& caption,
                             bool& captionPlaced) const override;
    void Serialize(IFormArchive& ar) override;
    void Assign(const CElementData& other) override;
};

class CRadioData : public CElementData {
public:
    std::string m_strValue;
    bool m_bChecked = false;

    int GetType() const override { return kTypeRadio; }
    std::unique_ptr<CElementData> Clone() const override;
    std::string GenerateHTML(const std::string& name, const std::string& caption,
                             bool& captionPlaced) const override;
    void Serialize(IFormArchive& ar) override;
    void Assign(const CElementData& other) override;
};

// One input element. Copies are deep: the copy owns a clone of the data.
class CFormElement {
public:
    std::string m_strName;
    std::string m_strCaption;
    int m_nType = kTypeUnset;
    std::unique_ptr<CElementData> m_pData;
    // Offset of the element's tag in the page it was read from (not stored).
    std::uint32_t m_nTagOffset = 0;

    CFormElement() = default;
    CFormElement(std::string name, std::string caption, std::unique_ptr<CElementData> data);
    CFormElement(const CFormElement& other);
    CFormElement& operator=(const CFormElement& other);
    CFormElement(CFormElement&&) noexcept = default;
    CFormElement& operator=(CFormElement&&) noexcept = default;
    ~CFormElement();

    // Replaces the type data (the old object is destroyed) and takes its type code.
    void SetData(std::unique_ptr<CElementData> data);
    CElementData* GetData() const { return m_pData.get(); }
    // The validation list, or null while the element has no data.
    CValidationList* Validations() const { return m_pData ? &m_pData->m_Validations : nullptr; }

    // name, caption, type code, then the type data. Reading an unknown type
    // code raises ondrelo::CArchiveException.
    void Serialize(IFormArchive& ar);
};

// The form's elements in page order; an element's index is its identity.
class CFormElementList {
public:
    std::vector<CFormElement> m_Elements;

    int GetCount() const { return static_cast<int>(m_Elements.size()); }
    bool IsEmpty() const { return m_Elements.empty(); }
    CFormElement& operator[](int index) { return m_Elements[static_cast<std::size_t>(index)]; }
    const CFormElement& operator[](int index) const {
        return m_Elements[static_cast<std::size_t>(index)];
    }
    auto begin() { return m_Elements.begin(); }
    auto end() { return m_Elements.end(); }
    auto begin() const { return m_Elements.begin(); }
    auto end() const { return m_Elements.end(); }

    // Destroys every element and its data.
    void ClearData() { m_Elements.clear(); }
    // Count, then each element. Reading replaces the list.
    void Serialize(IFormArchive& ar);
};

// One HTML form with its elements.
class CHtmlForm {
public:
    std::string m_strName = "myform";
    std::string m_strAction;
    int m_nMethod = kMethodGet;
    bool m_bTableLayout = true;
    std::string m_strCustomValidation;  // body of the custom function; empty: none
    CFormElementList m_Elements;

    // Working values, not stored in templates.
    bool m_bModified = false;
    bool m_bReadFromPage = false;
    std::uint32_t m_nFormEndOffset = 0;    // just after the form's end tag
    std::uint32_t m_nFormStartOffset = 0;  // the form's start tag
    std::uint32_t m_nAttribTextStart = 0;  // where the start tag's attributes begin

    CHtmlForm() = default;
    CHtmlForm(const CHtmlForm&) = default;
    CHtmlForm& operator=(const CHtmlForm&) = default;
    CHtmlForm(CHtmlForm&&) noexcept = default;
    CHtmlForm& operator=(CHtmlForm&&) noexcept = default;
    virtual ~CHtmlForm();

    // Name, action, method, layout, custom body, then the element list.
    virtual void Serialize(IFormArchive& ar);

    // Restart: elements destroyed; name, action, method and layout back to
    // their defaults; the custom validation body is kept.
    void Reset();

    int GetElementCount() const { return m_Elements.GetCount(); }
    CFormElement& GetElement(int index) { return m_Elements[index]; }
    const CFormElement& GetElement(int index) const { return m_Elements[index]; }
    // Appends at the end; returns the new index.
    int AppendElement(CFormElement element);
    // False when the index is out of range.
    bool ReplaceElement(int index, CFormElement element);
    // Removes the elements at the given indices (any order, duplicates and
    // indices out of range ignored).
    void RemoveElements(std::vector<int> indices);
    // Swaps with the neighbour; false (nothing moves) for the first / last.
    bool MoveElementUp(int index);
    bool MoveElementDown(int index);

    // Index of the first element with that name, compared without regard to
    // letter case, skipping the element at `except`; -1 when none.
    int FindElement(const std::string& name, int except = -1) const;
};

}  // namespace formwarden
