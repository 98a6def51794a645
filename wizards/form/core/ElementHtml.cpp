// The HTML of each element type. Values that stand between apostrophes have
// their apostrophes written as a character reference so that they cannot end
// the attribute; captions, option texts and default texts stay HTML as typed.
#include <string>

#include "ondrelo/Text.h"
#include "formwarden/FormCodeGen.h"
#include "formwarden/FormModel.h"

namespace formwarden {

namespace {

const char* const kNL = "\r\n";

using ondrelo::Trim;

}  // namespace

std::string EscapeApostrophes(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '\'') {
            out += "&#39;";
        } else {
            out += c;
        }
    }
    return out;
}

std::string CTextData::GenerateHTML(const std::string& name, const std::string&,
                                    bool& captionPlaced) const {
    captionPlaced = false;
    return "<INPUT type='" + std::string(m_bPassword ? "password" : "text") + "' name='" + name +
           "' size='" + std::to_string(m_nSize) + "' value='" + EscapeApostrophes(m_strValue) +
           "'>";
}

std::string CCheckboxData::GenerateHTML(const std::string& name, const std::string& caption,
                                        bool& captionPlaced) const {
    captionPlaced = true;
    return "<INPUT type='checkbox' name='" + name + "' value='" + EscapeApostrophes(m_strValue) +
           "' " + (m_bChecked ? "checked" : "") + ">" + caption;
}

std::string CFileData::GenerateHTML(const std::string& name, const std::string&,
                                    bool& captionPlaced) const {
    captionPlaced = false;
    return "<INPUT type='file' name='" + name + "' size='" + std::to_string(m_nSize) + "'>";
}

std::string CHiddenData::GenerateHTML(const std::string& name, const std::string&,
                                      bool& captionPlaced) const {
    // A hidden field never shows its caption.
    captionPlaced = true;
    return "<INPUT type='hidden' name='" + name + "' value='" + EscapeApostrophes(m_strValue) +
           "'>";
}

std::string CButtonData::GenerateHTML(const std::string& name, const std::string& caption,
                                      bool& captionPlaced) const {
    captionPlaced = true;
    const char* word = m_nKind == kButtonReset     ? "reset"
                       : m_nKind == kButtonGeneral ? "button"
                                                   : "submit";
    std::string value = Trim(caption);
    if (value.empty()) {
        value = word;
    }
    return "<INPUT type='" + std::string(word) + "' name='" + name + "' value='" +
           EscapeApostrophes(value) + "'>";
}

std::string CMultilineData::GenerateHTML(const std::string& name, const std::string&,
                                         bool& captionPlaced) const {
    captionPlaced = false;
    return "<TEXTAREA name='" + name + "' rows='" + std::to_string(m_nRows) + "' cols='" +
           std::to_string(m_nColumns) + "'>" + m_strDefaultText + "</TEXTAREA>";
}

std::string CListboxData::GenerateHTML(const std::string& name, const std::string&,
                                       bool& captionPlaced) const {
    captionPlaced = false;
    std::string html = "<SELECT name='" + name + "' size='" + std::to_string(m_nVisibleRows) +
                       "' " + (m_bMultiple ? "multiple" : "") + ">" + kNL;
    for (const auto& item : m_Items) {
        html += "<OPTION value='" + EscapeApostrophes(item.m_strValue) + "' " +
                (item.m_bSelected ? "selected" : "") + ">" + item.m_strName + kNL;
    }
    html += "</SELECT>";
    return html;
}

std::string CRadioData::GenerateHTML(const std::string& name, const std::string& caption,
                                     bool& captionPlaced) const {
    captionPlaced = true;
    return "<INPUT type='radio' name='" + name + "' value='" + EscapeApostrophes(m_strValue) +
           "' " + (m_bChecked ? "checked" : "") + ">" + caption;
}

}  // namespace formwarden
