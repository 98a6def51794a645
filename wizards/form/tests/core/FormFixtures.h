// Fixtures shared by the template, page-reading and insertion tests: a
// scratch folder, whole-file reads and writes, and a form that uses every
// element type and every validation kind.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ondrelo/testsupport/ScratchDir.h"
#include "formwarden/FormModel.h"

namespace formtest {

using namespace formwarden;

using ondrelo::test::CScratchDir;
using ondrelo::test::ReadFile;
using ondrelo::test::WriteFile;

inline CValidation Val(int kind, std::string message, std::string text = {}, int number = 0,
                       int option = 0) {
    CValidation v(kind, std::move(message));
    v.m_strText = std::move(text);
    v.SetInt(number);
    v.m_nOption = option;
    return v;
}

inline CValidation DoubleVal(int kind, std::string message, double bound) {
    CValidation v(kind, std::move(message));
    v.SetDouble(bound);
    return v;
}

template <class Data>
Data& AddElement(CHtmlForm& form, const std::string& name, const std::string& caption) {
    auto data = std::make_unique<Data>();
    Data& ref = *data;
    form.AppendElement(CFormElement(name, caption, std::move(data)));
    return ref;
}

// A form with all eight element types and all nineteen validation kinds,
// with messages that hold quotes, line breaks, backslashes and "</SCRIPT>".
inline CHtmlForm MakeFullForm() {
    CHtmlForm form;
    form.m_strName = "order";
    form.m_strAction = "cgi-bin/order.cgi";
    form.m_nMethod = kMethodPost;
    form.m_bTableLayout = false;
    form.m_strCustomValidation = "\r\n  return document.forms[0].qty.value != \"0\";";

    auto& name = AddElement<CTextData>(form, "fullname", "Your \"name\"");
    name.m_strValue = "O'Neil";
    name.m_nSize = 30;
    name.m_Validations = {Val(kValRequired, "Please enter the value for fullname"),
                          Val(kValAlpha, "Letters only, \"please\"", "", 0, kOptionAllowSpaces),
                          Val(kValMaxLength, "At most 40\ncharacters", "", 40),
                          Val(kValMinLength, "At least 2 characters for C:\\names\\", "", 2)};

    auto& code = AddElement<CTextData>(form, "code", "Code");
    code.m_bPassword = true;
    code.m_Validations = {Val(kValAlnum, "Alpha-Numeric input expected for code"),
                          Val(kValRegExp, "Say \\d then \"quote\"", "^\\d{3}-[a-z\"]+\\\\$")};

    auto& qty = AddElement<CTextData>(form, "qty", "Quantity");
    qty.m_Validations = {Val(kValNumeric, "Please input a numeric value for qty"),
                         DoubleVal(kValLessThan, "less than 2.5 </SCRIPT>", 2.5),
                         DoubleVal(kValGreaterThan, "greater than -10", -10.0),
                         Val(kValEqualTo, "qty must be Equal to code", "code"),
                         Val(kValLessThanElement, "lt", "code"),
                         Val(kValLessEqualElement, "le", "code"),
                         Val(kValGreaterThanElement, "gt", "code"),
                         Val(kValGreaterEqualElement, "ge", "code"),
                         Val(kValNotEqualElement, "ne", "code")};

    auto& mail = AddElement<CTextData>(form, "mail", "E-mail");
    mail.m_Validations = {Val(kValEmail, "Please provide a valid email address")};

    auto& opt1 = AddElement<CCheckboxData>(form, "opt", "One");
    opt1.m_strValue = "1";
    opt1.m_bChecked = true;
    opt1.m_Validations = {Val(kValSelectMin, "Please select at least 1  check boxes for opt", "", 1,
                              kOptionGroupCarrier)};
    auto& opt2 = AddElement<CCheckboxData>(form, "opt", "Two");
    opt2.m_strValue = "2";
    opt2.m_Validations = {Val(kValSelectMin, "Please select at least 1  check boxes for opt", "", 1,
                              kOptionGroupHolder),
                          Val(kValDontSelect, "Can't proceed due to your selection for '2'", "2")};

    auto& upload = AddElement<CFileData>(form, "upload", "File");
    upload.m_nSize = 40;
    upload.m_Validations = {Val(kValRequired, "Please select the file to upload.")};

    AddElement<CHiddenData>(form, "secret", "").m_strValue = "x'y";

    AddElement<CButtonData>(form, "send", "Send").m_nKind = kButtonReset;

    auto& notes = AddElement<CMultilineData>(form, "notes", "Notes");
    notes.m_nRows = 3;
    notes.m_nColumns = 50;
    notes.m_strDefaultText = "first line";
    notes.m_Validations = {
        Val(kValMaxLength, "The input you provided for notes exceeds the limit(200 characters)", "",
            200),
        Val(kValRequired, "Please provide value for notes")};

    auto& colour = AddElement<CListboxData>(form, "colour", "Colour");
    colour.m_nVisibleRows = 3;
    colour.m_bMultiple = true;
    colour.m_Items = {{"Red", "1", false}, {"Green", "2", true}, {"Blue", "3", false}};
    colour.m_Validations = {Val(kValDontSelect, "Please select an option from the list", "", 2)};

    auto& yes = AddElement<CRadioData>(form, "answer", "Yes");
    yes.m_strValue = "y";
    yes.m_Validations = {
        Val(kValSelectOne, "Please select one option", "", 0, kOptionGroupCarrier)};
    auto& no = AddElement<CRadioData>(form, "answer", "No");
    // A value with an apostrophe and a trailing backslash, which the page and
    // the script string must both carry unharmed.
    no.m_strValue = "n'o\\";
    no.m_bChecked = true;
    no.m_Validations = {Val(kValSelectOne, "Please select one option", "", 0, kOptionGroupHolder),
                        Val(kValDontSelect, "Can't proceed as you selected this option.", "n'o\\")};
    return form;
}

}  // namespace formtest
