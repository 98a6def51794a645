// The custom validation function, the regular-expression chooser and the
// "Errors!" window.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "FormDialogsInternal.h"
#include "formwarden/ErrorsDialog.h"
#include "formwarden/RegExpCatalogue.h"
#include "formwarden/Validations.h"
#include "ondrelo/DialogControls.h"

namespace formwarden {

using ondrelo::DialogRect;
using ondrelo::FromQt;
using ondrelo::MakeCaptioned;
using ondrelo::MakeControl;
using ondrelo::MakeLabel;
using ondrelo::SetControlId;
using ondrelo::ToQt;
using ondrelo::ToQtLines;

// ---- "Custom Validation" ----

CCustomValidationDialog::CCustomValidationDialog(QWidget* parent, CHtmlForm& form)
    : CResizeDialog(IDD_CUSTOM_VALIDATION, parent), m_form(form) {
    SetControlId(this, IDD_CUSTOM_VALIDATION);
    setWindowTitle("Custom Validation");
}

bool CCustomValidationDialog::OnInitDialog() {
    resize(DialogRect(this, 0, 0, 260, 190).size());
    auto* header =
        MakeLabel(this, IDC_CUSTOM_HEADER, ToQtLines(CustomValidationHeader(m_form.m_strName)),
                  DialogRect(this, 7, 7, 246, 20));
    header->setWordWrap(false);
    header->setTextFormat(Qt::PlainText);
    auto* body =
        MakeControl<QPlainTextEdit>(this, IDC_CUSTOM_BODY, DialogRect(this, 7, 28, 246, 124));
    body->setPlainText(ToQtLines(CustomValidationInitialText(m_form)));
    body->document()->setModified(false);
    body->setLineWrapMode(QPlainTextEdit::NoWrap);
    MakeLabel(this, IDC_CUSTOM_FOOTER, kCustomValidationFooter, DialogRect(this, 7, 154, 40, 10));
    auto* ok =
        MakeCaptioned<QPushButton>(this, IDC_DLG_OK, "OK", DialogRect(this, 149, 169, 50, 14));
    auto* cancel = MakeCaptioned<QPushButton>(this, IDC_DLG_CANCEL, "Cancel",
                                              DialogRect(this, 203, 169, 50, 14));
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    // The body takes the change of size; the footer and the buttons follow
    // the bottom edge, the buttons the right one too.
    Resizer().SetResize(IDC_CUSTOM_HEADER, 0, 0, 1, 0);
    Resizer().SetResize(IDC_CUSTOM_BODY, 0, 0, 1, 1);
    Resizer().SetResize(IDC_CUSTOM_FOOTER, 0, 1, 0, 1);
    Resizer().SetResize(IDC_DLG_OK, 1, 1, 1, 1);
    Resizer().SetResize(IDC_DLG_CANCEL, 1, 1, 1, 1);
    QObject::connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    QObject::connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    body->setFocus();
    return true;
}

void CCustomValidationDialog::OnOk() {
    auto* body = ondrelo::FindControlAs<QPlainTextEdit>(this, IDC_CUSTOM_BODY);
    ApplyCustomValidation(m_form, ondrelo::FromQtLines(body->toPlainText()),
                          body->document()->isModified());
    accept();
}

bool EditCustomValidation(QWidget* parent, CHtmlForm& form) {
    CCustomValidationDialog dialog(parent, form);
    return dialog.exec() == QDialog::Accepted;
}

// ---- "Regular Expressions" ----

struct CRegExpChooserDialog::SImpl {
    CRegExpCatalogue catalogue;
    CRegExpChooser chooser{catalogue};
    std::string result;
    QListWidget* list = nullptr;
    QLineEdit* field = nullptr;
    QPlainTextEdit* help = nullptr;

    // The chooser's field and help text into the controls.
    void ShowSelection() {
        const QSignalBlocker block(field);
        field->setText(ToQt(chooser.GetExpressionField()));
        help->setPlainText(ToQtLines(chooser.GetHelpText()));
    }
};

CRegExpChooserDialog::CRegExpChooserDialog(QWidget* parent, const std::string& current)
    : QDialog(parent), m(std::make_unique<SImpl>()) {
    SetControlId(this, IDD_REGEXP_CHOOSER);
    setWindowTitle("Regular Expressions");
    setFixedSize(DialogRect(this, 0, 0, 250, 186).size());
    m->catalogue.ReadFromSettings();
    m->chooser.Open(current);

    m->list = MakeControl<QListWidget>(this, IDC_REGEXP_LIST, DialogRect(this, 7, 7, 180, 82));
    for (int row = 0; row < m->chooser.GetRowCount(); ++row) {
        m->list->addItem(ToQt(m->chooser.GetRowName(row)));
    }
    MakeLabel(this, 0, "Regular Expression:", DialogRect(this, 7, 95, 180, 9));
    m->field = MakeControl<QLineEdit>(this, IDC_REGEXP_FIELD, DialogRect(this, 7, 105, 236, 12));
    m->help = MakeControl<QPlainTextEdit>(this, IDC_REGEXP_HELP, DialogRect(this, 7, 123, 236, 56));
    m->help->setReadOnly(true);
    auto* ok = MakeCaptioned<QPushButton>(this, IDC_DLG_OK, "OK", DialogRect(this, 193, 7, 50, 14));
    auto* cancel = MakeCaptioned<QPushButton>(this, IDC_DLG_CANCEL, "Cancel",
                                              DialogRect(this, 193, 24, 50, 14));
    ok->setDefault(true);
    cancel->setAutoDefault(false);

    if (m->chooser.GetSelectedRow() >= 0) {
        m->list->setCurrentRow(m->chooser.GetSelectedRow());
    }
    m->ShowSelection();
    QObject::connect(m->list, &QListWidget::currentRowChanged, this, [this](int row) {
        m->chooser.SelectRow(row);
        m->ShowSelection();
    });
    QObject::connect(m->field, &QLineEdit::textChanged, this,
                     [this](const QString& text) { m->chooser.SetExpressionField(FromQt(text)); });
    QObject::connect(ok, &QPushButton::clicked, this, [this] {
        if (m->chooser.Ok(m->result)) {
            accept();
        }
    });
    QObject::connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CRegExpChooserDialog::~CRegExpChooserDialog() = default;

const std::string& CRegExpChooserDialog::Result() const {
    return m->result;
}

bool ChooseRegExp(QWidget* parent, const std::string& current, std::string& result) {
    CRegExpChooserDialog dialog(parent, current);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    result = dialog.Result();
    return true;
}

// ---- "Errors!" ----

CErrorsWindow::CErrorsWindow(QWidget* parent, const std::string& text) : QDialog(parent) {
    SetControlId(this, IDD_ERRORS);
    setWindowTitle("Errors!");
    setFixedSize(DialogRect(this, 0, 0, 260, 160).size());
    auto* box =
        MakeControl<QPlainTextEdit>(this, IDC_ERRORS_TEXT, DialogRect(this, 7, 7, 246, 126));
    box->setReadOnly(true);
    box->setPlainText(ToQtLines(text));
    auto* close = MakeCaptioned<QPushButton>(this, IDC_DLG_CANCEL, "Close",
                                             DialogRect(this, 105, 139, 50, 14));
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void ShowErrorsWindow(QWidget* parent, const std::string& text) {
    CErrorsWindow window(parent, text);
    window.exec();
}

void InstallErrorsWindow() {
    SetErrorsDialogHandler(
        [](const std::string& text) { ShowErrorsWindow(QApplication::activeWindow(), text); });
}

}  // namespace formwarden
