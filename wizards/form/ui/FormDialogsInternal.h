// The form wizard's dialog classes behind the functions of
// FormwardenDialogs.h. The functions run them modally; the ui tests build
// them without running them and press their buttons by control number.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "FormwardenDialogs.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/Resize.h"

namespace formwarden {

// The buttons that close the dialogs.
inline constexpr int IDC_DLG_OK = IDOK;
inline constexpr int IDC_DLG_CANCEL = IDCANCEL;

// "Add New Form Element" / "Modify Form Element".
class CElementEditorDialog : public QDialog {
public:
    CElementEditorDialog(QWidget* parent, CHtmlForm& form, int edited, int presetType);
    ~CElementEditorDialog() override;

    // The element's index after OK, -1 before.
    int ResultIndex() const;
    // The type whose property page is shown.
    int ShownType() const;

private:
    struct SImpl;
    std::unique_ptr<SImpl> m;
};

// "Custom Validation".
class CCustomValidationDialog : public CResizeDialog {
public:
    CCustomValidationDialog(QWidget* parent, CHtmlForm& form);

protected:
    bool OnInitDialog() override;

private:
    void OnOk();

    CHtmlForm& m_form;
};

// "Regular Expressions".
class CRegExpChooserDialog : public QDialog {
public:
    CRegExpChooserDialog(QWidget* parent, const std::string& current);
    ~CRegExpChooserDialog() override;

    // The chosen expression after OK.
    const std::string& Result() const;

private:
    struct SImpl;
    std::unique_ptr<SImpl> m;
};

// "Errors!".
class CErrorsWindow : public QDialog {
public:
    CErrorsWindow(QWidget* parent, const std::string& text);
};

// The fields of the dialogs keep a value longer than the limit the user may
// type (an element read from a page), so that opening and confirming a
// dialog never cuts a value short.
int FieldLimit(const std::string& value, int limit);

}  // namespace formwarden
