// Small builders of form elements and validations for the tests.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "formwarden/FormModel.h"

namespace formwarden::test {

inline CValidation Val(int kind, std::string message, int number = 0, int option = 0,
                       std::string text = {}) {
    CValidation v(kind, std::move(message));
    v.SetInt(number);
    v.m_nOption = option;
    v.m_strText = std::move(text);
    return v;
}

inline CFormElement Textbox(std::string name, std::string caption, std::string value = {},
                            int size = 10) {
    auto data = std::make_unique<CTextData>();
    data->m_strValue = std::move(value);
    data->m_nSize = size;
    return CFormElement(std::move(name), std::move(caption), std::move(data));
}

inline CFormElement Checkbox(std::string name, std::string caption, std::string value = {},
                             bool checked = false) {
    auto data = std::make_unique<CCheckboxData>();
    data->m_strValue = std::move(value);
    data->m_bChecked = checked;
    return CFormElement(std::move(name), std::move(caption), std::move(data));
}

inline CFormElement Radio(std::string name, std::string caption, std::string value = {},
                          bool checked = false) {
    auto data = std::make_unique<CRadioData>();
    data->m_strValue = std::move(value);
    data->m_bChecked = checked;
    return CFormElement(std::move(name), std::move(caption), std::move(data));
}

inline CFormElement Button(std::string name, std::string caption, int kind = kButtonSubmit) {
    auto data = std::make_unique<CButtonData>();
    data->m_nKind = kind;
    return CFormElement(std::move(name), std::move(caption), std::move(data));
}

// An element of the given type with its default data.
inline CFormElement Of(int type, std::string name, std::string caption = {}) {
    return CFormElement(std::move(name), std::move(caption), CElementData::CreateDefault(type));
}

}  // namespace formwarden::test
