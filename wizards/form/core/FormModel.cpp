#include "formwarden/FormModel.h"

#include <strings.h>
#include <algorithm>
#include <bit>

#include "ondrelo/OndException.h"

namespace formwarden {

namespace {

struct STypeNames {
    const char* label;
    const char* baseName;
};

constexpr STypeNames kTypeNames[kElementTypeCount] = {
    {"Textbox", "Textbox"}, {"Checkbox", "Checkbox"},  {"File", "File"},
    {"Hidden", "Hidden"},   {"Button", "Button"},      {"Multiline Text", "Multiline"},
    {"ListBox", "Listbox"}, {"Radio Button", "Radio"},
};

// Assigns the own fields of `other` when it is of class T, then its validations.
template <class T>
void AssignSameClass(T& self, const CElementData& other) {
    if (const auto* same = dynamic_cast<const T*>(&other)) {
        if (same != &self) {
            self = *same;
        }
    } else {
        self.CopyValidations(other);
    }
}

}  // namespace

const char* ElementTypeLabel(int type) {
    return type >= 0 && type < kElementTypeCount ? kTypeNames[type].label : "";
}

const char* ElementTypeBaseName(int type) {
    return type >= 0 && type < kElementTypeCount ? kTypeNames[type].baseName : "";
}

// ---- CValidation ----

double CValidation::GetDouble() const {
    return std::bit_cast<double>(m_nNumber);
}

void CValidation::SetDouble(double value) {
    m_nNumber = std::bit_cast<std::uint64_t>(value);
}

void CValidation::Serialize(IFormArchive& ar) {
    ar.SerializeInt(m_nKind);
    ar.SerializeString(m_strText);
    if (ar.IsStoring() && !HasDoubleNumber(m_nKind)) {
        // An integer parameter lives in the first four bytes; the last four
        // are written as zero whatever the slot holds.
        std::uint64_t low = m_nNumber & 0xFFFFFFFFu;
        ar.SerializeQword(low);
    } else {
        ar.SerializeQword(m_nNumber);
    }
    if (!ar.IsStoring() && !HasDoubleNumber(m_nKind)) {
        m_nNumber &= 0xFFFFFFFFu;
    }
    ar.SerializeInt(m_nOption);
    ar.SerializeString(m_strMessage);
}

// ---- CElementData ----

CElementData::~CElementData() = default;

void CElementData::CopyValidations(const CElementData& other) {
    if (&other != this) {
        m_Validations = other.m_Validations;
    }
}

void CElementData::Serialize(IFormArchive& ar) {
    std::uint32_t count = static_cast<std::uint32_t>(m_Validations.size());
    ar.SerializeDword(count);
    if (ar.IsStoring()) {
        for (auto& validation : m_Validations) {
            validation.Serialize(ar);
        }
    } else {
        // No reserve: a corrupt count must run into the end of the file, not
        // into a huge allocation.
        m_Validations.clear();
        for (std::uint32_t i = 0; i < count; ++i) {
            CValidation validation;
            validation.Serialize(ar);
            m_Validations.push_back(std::move(validation));
        }
    }
}

void CElementData::Assign(const CElementData& other) {
    CopyValidations(other);
}

std::unique_ptr<CElementData> CElementData::CreateDefault(int type) {
    switch (type) {
        case kTypeTextbox:
            return std::make_unique<CTextData>();
        case kTypeCheckbox:
            return std::make_unique<CCheckboxData>();
        case kTypeFile:
            return std::make_unique<CFileData>();
        case kTypeHidden:
            return std::make_unique<CHiddenData>();
        case kTypeButton:
            return std::make_unique<CButtonData>();
        case kTypeMultiline:
            return std::make_unique<CMultilineData>();
        case kTypeListbox:
            return std::make_unique<CListboxData>();
        case kTypeRadio:
            return std::make_unique<CRadioData>();
        default:
            return nullptr;
    }
}

// ---- the eight data classes ----

std::unique_ptr<CElementData> CTextData::Clone() const {
    return std::make_unique<CTextData>(*this);
}
void CTextData::Serialize(IFormArchive& ar) {
    CElementData::Serialize(ar);
    ar.SerializeString(m_strValue);
    ar.SerializeInt(m_nSize);
    ar.SerializeFlag(m_bPassword);
}
void CTextData::Assign(const CElementData& other) {
    AssignSameClass(*this, other);
}

std::unique_ptr<CElementData> CCheckboxData::Clone() const {
    return std::make_unique<CCheckboxData>(*this);
}
void CCheckboxData::Serialize(IFormArchive& ar) {
    CElementData::Serialize(ar);
    ar.SerializeString(m_strValue);
    ar.SerializeFlag(m_bChecked);
}
void CCheckboxData::Assign(const CElementData& other) {
    AssignSameClass(*this, other);
}

std::unique_ptr<CElementData> CFileData::Clone() const {
    return std::make_unique<CFileData>(*this);
}
void CFileData::Serialize(IFormArchive& ar) {
    CElementData::Serialize(ar);
    ar.SerializeInt(m_nSize);
}
void CFileData::Assign(const CElementData& other) {
    AssignSameClass(*this, other);
}

std::unique_ptr<CElementData> CHiddenData::Clone() const {
    return std::make_unique<CHiddenData>(*this);
}
void CHiddenData::Serialize(IFormArchive& ar) {
    CElementData::Serialize(ar);
    ar.SerializeString(m_strValue);
}
void CHiddenData::Assign(const CElementData& other) {
    AssignSameClass(*this, other);
}

std::unique_ptr<CElementData> CButtonData::Clone() const {
    return std::make_unique<CButtonData>(*this);
}
void CButtonData::Serialize(IFormArchive& ar) {
    CElementData::Serialize(ar);
    ar.SerializeInt(m_nKind);
}
void CButtonData::Assign(const CElementData& other) {
    AssignSameClass(*this, other);
}

std::unique_ptr<CElementData> CMultilineData::Clone() const {
    return std::make_unique<CMultilineData>(*this);
}
void CMultilineData::Serialize(IFormArchive& ar) {
    CElementData::Serialize(ar);
    ar.SerializeInt(m_nRows);
    ar.SerializeInt(m_nColumns);
    ar.SerializeString(m_strDefaultText);
}
void CMultilineData::Assign(const CElementData& other) {
    AssignSameClass(*this, other);
}

std::unique_ptr<CElementData> CListboxData::Clone() const {
    return std::make_unique<CListboxData>(*this);
}
void CListboxData::Serialize(IFormArchive& ar) {
    CElementData::Serialize(ar);
    ar.SerializeInt(m_nVisibleRows);
    ar.SerializeFlag(m_bMultiple);
    std::uint32_t count = static_cast<std::uint32_t>(m_Items.size());
    ar.SerializeDword(count);
    if (ar.IsStoring()) {
        for (auto& item : m_Items) {
            ar.SerializeString(item.m_strName);
            ar.SerializeString(item.m_strValue);
            ar.SerializeFlag(item.m_bSelected);
        }
    } else {
        m_Items.clear();
        for (std::uint32_t i = 0; i < count; ++i) {
            SListItem item;
            ar.SerializeString(item.m_strName);
            ar.SerializeString(item.m_strValue);
            ar.SerializeFlag(item.m_bSelected);
            m_Items.push_back(std::move(item));
        }
    }
}
void CListboxData::Assign(const CElementData& other) {
    AssignSameClass(*this, other);
}

std::unique_ptr<CElementData> CRadioData::Clone() const {
    return std::make_unique<CRadioData>(*this);
}
void CRadioData::Serialize(IFormArchive& ar) {
    CElementData::Serialize(ar);
    ar.SerializeString(m_strValue);
    ar.SerializeFlag(m_bChecked);
}
void CRadioData::Assign(const CElementData& other) {
    AssignSameClass(*this, other);
}

// ---- CFormElement ----

CFormElement::CFormElement(std::string name, std::string caption,
                           std::unique_ptr<CElementData> data)
    : m_strName(std::move(name)), m_strCaption(std::move(caption)) {
    SetData(std::move(data));
}

CFormElement::CFormElement(const CFormElement& other)
    : m_strName(other.m_strName),
      m_strCaption(other.m_strCaption),
      m_nType(other.m_nType),
      m_pData(other.m_pData ? other.m_pData->Clone() : nullptr),
      m_nTagOffset(other.m_nTagOffset) {}

CFormElement& CFormElement::operator=(const CFormElement& other) {
    if (this != &other) {
        CFormElement copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CFormElement::~CFormElement() = default;

void CFormElement::SetData(std::unique_ptr<CElementData> data) {
    m_pData = std::move(data);
    if (m_pData) {
        m_nType = m_pData->GetType();
    }
}

void CFormElement::Serialize(IFormArchive& ar) {
    ar.SerializeString(m_strName);
    ar.SerializeString(m_strCaption);
    if (ar.IsStoring()) {
        int type = m_pData ? m_pData->GetType() : m_nType;
        if (!m_pData) {
            // An element without data cannot be written in a readable way.
            throw ondrelo::CArchiveException(ondrelo::CArchiveException::badClass, "",
                                             "Form element without type data");
        }
        ar.SerializeInt(type);
        m_pData->Serialize(ar);
    } else {
        int type = kTypeUnset;
        ar.SerializeInt(type);
        auto data = CElementData::CreateDefault(type);
        if (!data) {
            throw ondrelo::CArchiveException(ondrelo::CArchiveException::badClass, "",
                                             "Unknown form element type " + std::to_string(type));
        }
        data->Serialize(ar);
        SetData(std::move(data));
    }
}

// ---- CFormElementList ----

void CFormElementList::Serialize(IFormArchive& ar) {
    std::uint32_t count = static_cast<std::uint32_t>(m_Elements.size());
    ar.SerializeDword(count);
    if (ar.IsStoring()) {
        for (auto& element : m_Elements) {
            element.Serialize(ar);
        }
    } else {
        m_Elements.clear();
        for (std::uint32_t i = 0; i < count; ++i) {
            CFormElement element;
            element.Serialize(ar);
            m_Elements.push_back(std::move(element));
        }
    }
}

// ---- CHtmlForm ----

CHtmlForm::~CHtmlForm() = default;

void CHtmlForm::Serialize(IFormArchive& ar) {
    ar.SerializeString(m_strName);
    ar.SerializeString(m_strAction);
    ar.SerializeInt(m_nMethod);
    ar.SerializeFlag(m_bTableLayout);
    ar.SerializeString(m_strCustomValidation);
    m_Elements.Serialize(ar);
}

void CHtmlForm::Reset() {
    m_Elements.ClearData();
    m_strName = "myform";
    m_strAction.clear();
    m_nMethod = kMethodGet;
    m_bTableLayout = true;
    m_bReadFromPage = false;
    m_nFormEndOffset = m_nFormStartOffset = m_nAttribTextStart = 0;
}

int CHtmlForm::AppendElement(CFormElement element) {
    m_Elements.m_Elements.push_back(std::move(element));
    return m_Elements.GetCount() - 1;
}

bool CHtmlForm::ReplaceElement(int index, CFormElement element) {
    if (index < 0 || index >= GetElementCount()) {
        return false;
    }
    m_Elements[index] = std::move(element);
    return true;
}

void CHtmlForm::RemoveElements(std::vector<int> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    // From the back, so that the remaining indices stay valid.
    for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
        if (*it >= 0 && *it < GetElementCount()) {
            m_Elements.m_Elements.erase(m_Elements.m_Elements.begin() + *it);
        }
    }
}

bool CHtmlForm::MoveElementUp(int index) {
    if (index <= 0 || index >= GetElementCount()) {
        return false;
    }
    std::swap(m_Elements[index], m_Elements[index - 1]);
    return true;
}

bool CHtmlForm::MoveElementDown(int index) {
    if (index < 0 || index >= GetElementCount() - 1) {
        return false;
    }
    std::swap(m_Elements[index], m_Elements[index + 1]);
    return true;
}

int CHtmlForm::FindElement(const std::string& name, int except) const {
    for (int i = 0; i < GetElementCount(); ++i) {
        if (i != except && strcasecmp(m_Elements[i].m_strName.c_str(), name.c_str()) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace formwarden
