#include "FormwardenPages.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "formwarden/FormInsertion.h"
#include "formwarden/FormResources.h"
#include "formwarden/FormRules.h"
#include "formwarden/Validations.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/Common.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/ListCtrlEx.h"
#include "ondrelo/Prompt.h"
#include "ondrelo/QtWindow.h"
#include "ondrelo/Text.h"

namespace formwarden {

using ondrelo::DialogRect;
using ondrelo::FromQt;
using ondrelo::MakeCaptioned;
using ondrelo::MakeControl;
using ondrelo::MakeLabel;
using ondrelo::MakeOndButton;
using ondrelo::ToQt;

const char* const kRestartOfferText =
    "You were half-way in creating your form and validations. If you go back to the first "
    "page, this information will be lost. \n"
    "Press Save button below to save the form data as a template.\n"
    "Press Proceed to clear data and go to the first page.\n"
    "Press the Cancel button to cancel the operation.";

namespace {

// The texts the insertion component shows beside the code.
constexpr const char* kSubCodeComment =
    "Copy the following code just after the </HEAD> tag in the HTML page. Make sure that the "
    "path in 'src' attribute is the relative path of the file you copied in step 1 (see help "
    "for details)";
constexpr const char* kMainCodeComment =
    "Code Of the HTML form along with validations. Copy && Paste this code to the HTML page";
constexpr const char* kValidatorScript = "gen_validatorv3.js";
constexpr const char* kObjectName = "Form";

// The captions of the type buttons, in type-code order.
constexpr const char* kTypeButtons[kElementTypeCount] = {
    "&Textbox", "&CheckBox", "Fi&le", "Hi&dden", "B&utton", "MultiLine", "Li&stbox", "Radi&o"};

// A caption on one line beside a control.
QLabel* Caption(QWidget* parent, const char* text, const QRect& rect) {
    QLabel* label = MakeLabel(parent, 0, ToQt(text), rect);
    label->setWordWrap(false);
    return label;
}

// Counts the messages shown while it lives, so that a failure that has
// already been explained is not reported a second time.
class CCountingPrompt : public ondrelo::IPrompt {
public:
    CCountingPrompt() : m_inner(&ondrelo::Prompt()) { m_previous = ondrelo::SetPrompt(this); }
    ~CCountingPrompt() override { ondrelo::SetPrompt(m_previous); }
    CCountingPrompt(const CCountingPrompt&) = delete;
    CCountingPrompt& operator=(const CCountingPrompt&) = delete;

    int MessageBox(HWND owner, const std::string& caption, const std::string& text,
                   unsigned style) override {
        ++m_count;
        return m_inner->MessageBox(owner, caption, text, style);
    }
    bool FileDialog(const ondrelo::SFileDialogSpec& request, std::string& path) override {
        return m_inner->FileDialog(request, path);
    }
    int ChooseOfThree(HWND owner, const std::string& caption, const std::string& text,
                      const std::string (&buttons)[3]) override {
        ++m_count;
        return m_inner->ChooseOfThree(owner, caption, text, buttons);
    }
    int Count() const { return m_count; }

private:
    ondrelo::IPrompt* m_inner;
    ondrelo::IPrompt* m_previous = nullptr;
    int m_count = 0;
};

// Fills a list with the form's elements: name and caption, the type's icon.
void FillElementList(CListCtrlEx* list, const CHtmlForm& form) {
    list->setRowCount(0);
    for (int i = 0; i < form.GetElementCount(); ++i) {
        const CFormElement& element = form.GetElement(i);
        list->AddItem(i, 0, element.m_strName, element.m_nType);
        list->AddItem(i, 1, element.m_strCaption);
    }
}

CListCtrlEx* MakeElementList(QWidget* page, int id, const QRect& rect) {
    auto* list = MakeControl<CListCtrlEx>(page, id, rect);
    list->SetImageList(&ElementTypeImageList(), LVSIL_SMALL);
    list->AddColumn("Name", 0);
    list->AddColumn("Caption", 1);
    // The names get half the width, the captions the rest.
    list->setColumnWidth(0, rect.width() / 2);
    list->horizontalHeader()->setStretchLastSection(true);
    return list;
}

}  // namespace

// ---- shared ----------------------------------------------------------------------

CFormwardenSheet* CFormPage::Sheet() const {
    return dynamic_cast<CFormwardenSheet*>(GetSheet());
}

bool CFormPage::OnSetActive() {
    if (CFormwardenSheet* sheet = Sheet()) {
        sheet->StoreShownPages();
    }
    return COndWizPage::OnSetActive();
}

void CFormPage::PlaceHelp(const QRect& rect, unsigned htmlId) {
    MakeControl<QFrame>(this, IDC_HELP_PANE, rect);
    InitBrowserWnd(IDC_HELP_PANE, htmlId);
}

// ---- Introduction ----------------------------------------------------------------

CFormIntroPage::CFormIntroPage() : CFormPage(141) {
    SetPageType(PAGE_FIRST);
}

bool CFormIntroPage::OnInitDialog() {
    setWindowTitle(QStringLiteral("Form Validation Wizard Introduction"));
    PlaceHelp(DialogRect(this, 4, 4, 112, 199), IDH_INTRODUCTION);
    m_existing = MakeCaptioned<QRadioButton>(
        this, IDC_INTRO_EXISTING, QStringLiteral("Add &validations to an existing HTML form"),
        DialogRect(this, 124, 20, 230, 10));
    m_fileLabel = Caption(this, "File:", DialogRect(this, 136, 37, 22, 8));
    m_file = MakeControl<QLineEdit>(this, IDC_INTRO_FILE, DialogRect(this, 160, 35, 194, 12));
    AddAnchor(m_file, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);
    m_browse = MakeOndButton(this, IDC_INTRO_BROWSE, QStringLiteral("Bro&wse ..."),
                             DialogRect(this, 298, 51, 56, 14));
    AddAnchor(m_browse, ondrelo::ANCHOR_TOP_RIGHT);
    m_new = MakeCaptioned<QRadioButton>(this, IDC_INTRO_NEW,
                                        QStringLiteral("&Create a new HTML form"),
                                        DialogRect(this, 124, 80, 230, 10));
    m_another = MakeOndButton(this, IDC_INTRO_ANOTHER, QStringLiteral("Ano&ther Form"),
                              DialogRect(this, 124, 189, 72, 14));
    AddAnchor(m_another, ondrelo::ANCHOR_BOTTOM_LEFT);
    m_existing->setChecked(true);
    QObject::connect(m_existing, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    QObject::connect(m_browse, &QPushButton::clicked, this, [this] { OnBrowse(); });
    QObject::connect(m_another, &QPushButton::clicked, this, [this] { OnAnotherForm(); });
    UpdateControls();
    return CFormPage::OnInitDialog();
}

bool CFormIntroPage::ExistingFormChosen() const {
    return m_existing && m_existing->isChecked();
}

void CFormIntroPage::UpdateControls() {
    const bool file = !m_bChoicesLocked && ExistingFormChosen();
    m_existing->setEnabled(!m_bChoicesLocked);
    m_new->setEnabled(!m_bChoicesLocked);
    m_fileLabel->setEnabled(file);
    m_file->setEnabled(file);
    m_browse->setEnabled(file);
    m_another->setEnabled(m_bChoicesLocked);
}

bool CFormIntroPage::OnSetActive() {
    CCommon::SetMessageTitle(kFormWizardTitle);
    CFormwardenSheet* sheet = Sheet();
    // Coming back from a later page with unsaved work offers to keep it.
    if (sheet && m_bLeft) {
        sheet->StoreShownPages();
        if (sheet->FormSource().m_bModified && !sheet->OfferRestartOnBack()) {
            return false;
        }
        m_bLeft = false;
    }
    if (sheet) {
        sheet->SetWizardButtons(PSWIZB_NEXT);
    }
    return CFormPage::OnSetActive();
}

void CFormIntroPage::OnBrowse() {
    std::string path;
    ondrelo::SFileDialogSpec request;
    request.open = true;
    request.owner = ondrelo::ToHwnd(this);
    request.filter = "HTML Files (*.html;*.htm)|*.html; *.htm||";
    request.fileMustExist = true;
    // The dialog starts where the typed path points.
    const std::string typed = FromQt(m_file->text());
    const std::size_t slash = typed.find_last_of('/');
    if (slash != std::string::npos) {
        request.initialDir = typed.substr(0, slash);
    }
    if (ondrelo::Prompt().FileDialog(request, path)) {
        m_file->setText(ToQt(path));
    }
}

bool CFormIntroPage::OnWizardNext() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet) {
        return false;
    }
    const bool existing = ExistingFormChosen();
    if (existing) {
        const std::string path = ondrelo::Trim(FromQt(m_file->text()));
        if (path != m_strLoadedPath || m_strLoadedPath.empty()) {
            if (path.empty()) {
                FormMessageBox(IDS_FILE_PATH_EMPTY, MB_OK | MB_ICONERROR, ondrelo::ToHwnd(this));
                m_file->setFocus();
                return false;
            }
            CHtmlForm form;
            if (!m_scanner.LoadPage(path, form)) {
                m_file->setFocus();
                return false;
            }
            sheet->PageForm() = std::move(form);
            m_strLoadedPath = path;
        }
        sheet->SetFormSource(true);
    }
    sheet->EnableFormElementsPage(!existing);
    m_bChoicesLocked = true;
    m_bLeft = true;
    UpdateControls();
    return true;
}

void CFormIntroPage::OnAnotherForm() {
    if (CFormwardenSheet* sheet = Sheet()) {
        sheet->StoreShownPages();
        sheet->OfferAnotherForm();
    }
}

void CFormIntroPage::ResetChoices() {
    m_bChoicesLocked = false;
    m_strLoadedPath.clear();
    if (IsCreated()) {
        m_existing->setChecked(true);
        m_file->clear();
        UpdateControls();
    }
}

void CFormIntroPage::ClearData() {
    ResetChoices();
    CFormPage::ClearData();
}

// ---- Form Elements ------------------------------------------------------------------

CFormElementsPage::CFormElementsPage() : CFormPage(142) {}

bool CFormElementsPage::OnInitDialog() {
    setWindowTitle(QStringLiteral("Create New Form"));
    PlaceHelp(DialogRect(this, 4, 4, 112, 199), IDH_ELEMENTS);

    auto* properties =
        MakeControl<QGroupBox>(this, IDC_FORM_PROPERTIES, DialogRect(this, 120, 2, 236, 70));
    properties->setTitle(QStringLiteral("Form Properties"));
    AddAnchor(properties, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);
    Caption(this, "Name of the Form", DialogRect(this, 126, 16, 82, 8));
    m_name = MakeControl<QLineEdit>(this, IDC_FORM_NAME, DialogRect(this, 210, 14, 140, 12));
    Caption(this, "Action URL", DialogRect(this, 126, 31, 82, 8));
    m_action = MakeControl<QLineEdit>(this, IDC_FORM_ACTION, DialogRect(this, 210, 29, 140, 12));
    Caption(this, "Data Sending Method", DialogRect(this, 126, 46, 82, 8));
    m_method = MakeControl<QComboBox>(this, IDC_FORM_METHOD, DialogRect(this, 210, 44, 50, 12));
    m_method->addItem(QStringLiteral("Get"));
    m_method->addItem(QStringLiteral("Post"));
    m_table = MakeCaptioned<QCheckBox>(this, IDC_FORM_TABLE,
                                       QStringLiteral("&Use table to align elements"),
                                       DialogRect(this, 126, 59, 200, 10));
    for (QWidget* field : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_action)}) {
        AddAnchor(field, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_TOP_RIGHT);
    }

    auto* elements =
        MakeControl<QGroupBox>(this, IDC_ELEMENTS_GROUP, DialogRect(this, 120, 74, 236, 131));
    elements->setTitle(QStringLiteral("Input Elements in the Form"));
    AddAnchor(elements, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    m_list = MakeElementList(this, IDC_ELEMENTS, DialogRect(this, 126, 86, 152, 66));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->installEventFilter(this);
    AddAnchor(m_list, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    m_add = MakeOndButton(this, IDC_ADD, QStringLiteral("&Add"), DialogRect(this, 282, 86, 68, 13));
    m_remove = MakeOndButton(this, IDC_REMOVE, QStringLiteral("R&emove"),
                             DialogRect(this, 282, 101, 68, 13));
    m_modify = MakeOndButton(this, IDC_MODIFY, QStringLiteral("&Modify"),
                             DialogRect(this, 282, 116, 68, 13));
    m_up = MakeOndButton(this, IDC_MOVE_UP, QStringLiteral("Move U&p"),
                         DialogRect(this, 282, 131, 68, 13));
    m_down = MakeOndButton(this, IDC_MOVE_DOWN, QStringLiteral("Move Do&wn"),
                           DialogRect(this, 282, 146, 68, 13));
    for (QWidget* button : {static_cast<QWidget*>(m_add), static_cast<QWidget*>(m_remove),
                            static_cast<QWidget*>(m_modify), static_cast<QWidget*>(m_up),
                            static_cast<QWidget*>(m_down)}) {
        AddAnchor(button, ondrelo::ANCHOR_TOP_RIGHT);
    }
    for (int type = 0; type < kElementTypeCount; ++type) {
        const int x = 126 + (type % 4) * 56;
        const int y = 157 + (type / 4) * 15;
        CButtonST* button = MakeOndButton(this, IDC_TYPE_FIRST + type, ToQt(kTypeButtons[type]),
                                          DialogRect(this, x, y, 54, 13));
        button->setIcon(ElementTypeIcon(type));
        AddAnchor(button, ondrelo::ANCHOR_BOTTOM_LEFT);
        QObject::connect(button, &QPushButton::clicked, this, [this, type] { AddElement(type); });
    }
    CButtonST* load = MakeOndButton(this, IDC_LOAD_TEMPLATE,
                                    QStringLiteral("Load Fo&rm From Template ..."),
                                    DialogRect(this, 126, 188, 130, 13));
    AddAnchor(load, ondrelo::ANCHOR_BOTTOM_LEFT);

    QObject::connect(m_add, &QPushButton::clicked, this, [this] { AddElement(kTypeUnset); });
    QObject::connect(m_remove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    QObject::connect(m_modify, &QPushButton::clicked, this, [this] { ModifySelected(); });
    QObject::connect(m_up, &QPushButton::clicked, this, [this] { MoveSelected(true); });
    QObject::connect(m_down, &QPushButton::clicked, this, [this] { MoveSelected(false); });
    QObject::connect(load, &QPushButton::clicked, this, [this] { LoadTemplate(); });
    QObject::connect(m_list, &QTableWidget::cellDoubleClicked, this,
                     [this](int, int) { ModifySelected(); });
    QObject::connect(m_list, &QTableWidget::itemSelectionChanged, this,
                     [this] { UpdateButtons(); });
    return CFormPage::OnInitDialog();
}

bool CFormElementsPage::OnSetActive() {
    CFormwardenSheet* sheet = Sheet();
    if (sheet) {
        sheet->SetFormSource(false);
    }
    FillProperties();
    FillList();
    if (sheet) {
        sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    }
    return CFormPage::OnSetActive();
}

void CFormElementsPage::FillProperties() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet || !IsCreated()) {
        return;
    }
    const CHtmlForm& form = sheet->DesignedForm();
    m_name->setText(ToQt(form.m_strName));
    m_action->setText(ToQt(form.m_strAction));
    m_method->setCurrentIndex(form.m_nMethod == kMethodPost ? 1 : 0);
    m_table->setChecked(form.m_bTableLayout);
}

void CFormElementsPage::FillList() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet || !IsCreated()) {
        return;
    }
    FillElementList(m_list, sheet->DesignedForm());
    UpdateButtons();
}

void CFormElementsPage::UpdateButtons() {
    const bool selected = !SelectedRows().empty();
    for (CButtonST* button : {m_remove, m_modify, m_up, m_down}) {
        button->setEnabled(selected);
    }
}

std::vector<int> CFormElementsPage::SelectedRows() const {
    std::vector<int> rows;
    if (!m_list) {
        return rows;
    }
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CFormElementsPage::SelectRow(int row) {
    // Straight through the selection model: the list's own selection calls
    // would read the keyboard's modifiers, and Ctrl (held for Ctrl+Up)
    // would turn the selection off again.
    QItemSelectionModel* selection = m_list->selectionModel();
    selection->clearSelection();
    if (row >= 0 && row < m_list->rowCount()) {
        const QModelIndex index = m_list->model()->index(row, 0);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
        m_list->scrollTo(index);
    }
    UpdateButtons();
}

void CFormElementsPage::StoreShown() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet || !IsCreated()) {
        return;
    }
    CHtmlForm& form = sheet->DesignedForm();
    const std::string name = FromQt(m_name->text());
    const std::string action = FromQt(m_action->text());
    const int method = m_method->currentIndex() == 1 ? kMethodPost : kMethodGet;
    const bool table = m_table->isChecked();
    if (name != form.m_strName || action != form.m_strAction || method != form.m_nMethod ||
        table != form.m_bTableLayout) {
        form.m_strName = name;
        form.m_strAction = action;
        form.m_nMethod = method;
        form.m_bTableLayout = table;
        form.m_bModified = true;
    }
}

bool CFormElementsPage::OnWizardNext() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet) {
        return false;
    }
    StoreShown();
    switch (CheckFormName(sheet->DesignedForm())) {
    case kFocusNone:
        return true;
    case kFocusAddButton:
        m_add->setFocus();
        return false;
    default:
        m_name->setFocus();
        m_name->selectAll();
        return false;
    }
}

void CFormElementsPage::AddElement(int presetType) {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet) {
        return;
    }
    const int index = sheet->editElement(this, sheet->DesignedForm(), -1, presetType);
    if (index >= 0) {
        FillList();
        SelectRow(index);
        m_list->setFocus();
    }
}

void CFormElementsPage::ModifySelected() {
    CFormwardenSheet* sheet = Sheet();
    const std::vector<int> rows = SelectedRows();
    if (!sheet || rows.empty()) {
        return;
    }
    const int row = m_list->currentRow() >= 0 &&
                            std::find(rows.begin(), rows.end(), m_list->currentRow()) != rows.end()
                        ? m_list->currentRow()
                        : rows.front();
    CHtmlForm& form = sheet->DesignedForm();
    const int index = sheet->editElement(this, form, row, form.GetElement(row).m_nType);
    if (index >= 0) {
        FillList();
        SelectRow(index);
    }
}

void CFormElementsPage::RemoveSelected() {
    CFormwardenSheet* sheet = Sheet();
    const std::vector<int> rows = SelectedRows();
    if (!sheet || rows.empty()) {
        return;
    }
    if (FormMessageBox(IDS_REMOVE_ELEMENTS, MB_YESNO | MB_ICONQUESTION, ondrelo::ToHwnd(this)) !=
        IDYES) {
        return;
    }
    CHtmlForm& form = sheet->DesignedForm();
    form.RemoveElements(rows);
    form.m_bModified = true;
    FillList();
    SelectRow(std::min(rows.front(), form.GetElementCount() - 1));
}

void CFormElementsPage::MoveSelected(bool up) {
    CFormwardenSheet* sheet = Sheet();
    const std::vector<int> rows = SelectedRows();
    if (!sheet || rows.size() != 1) {
        return;
    }
    CHtmlForm& form = sheet->DesignedForm();
    const int row = rows.front();
    const bool moved = up ? form.MoveElementUp(row) : form.MoveElementDown(row);
    if (!moved) {
        return;
    }
    form.m_bModified = true;
    FillList();
    SelectRow(up ? row - 1 : row + 1);
}

void CFormElementsPage::LoadTemplate() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet) {
        return;
    }
    StoreShown();
    if (sheet->Templates().Load(sheet->DesignedForm(), ondrelo::ToHwnd(this))) {
        FillProperties();
        FillList();
        SelectRow(0);
    }
}

bool CFormElementsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ModifySelected();
            return true;
        case Qt::Key_Delete:
            RemoveSelected();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (ctrl) {
                MoveSelected(key->key() == Qt::Key_Up);
                return true;
            }
            break;
        default:
            break;
        }
    }
    return CFormPage::eventFilter(watched, event);
}

void CFormElementsPage::ClearData() {
    FillProperties();
    FillList();
    CFormPage::ClearData();
}

// ---- Validations ------------------------------------------------------------------

CFormValidationsPage::CFormValidationsPage() : CFormPage(143) {}

bool CFormValidationsPage::OnInitDialog() {
    setWindowTitle(QStringLiteral("Add Validations"));
    m_list = MakeElementList(this, IDC_VALIDATION_ELEMENTS, DialogRect(this, 4, 4, 112, 100));
    AddAnchor(m_list, ondrelo::ANCHOR_TOP_LEFT);
    PlaceHelp(DialogRect(this, 4, 108, 112, 95), IDH_VALIDATIONS);
    m_area = new CValidationEditorArea(this);
    ondrelo::SetControlId(m_area, IDC_VALIDATION_AREA);
    m_area->setGeometry(DialogRect(this, 120, 4, 236, 180));
    CButtonST* custom = MakeOndButton(this, IDC_CUSTOM_FUNCTION,
                                      QStringLiteral("&Custom Validation Function"),
                                      DialogRect(this, 120, 189, 120, 14));
    AddAnchor(custom, ondrelo::ANCHOR_BOTTOM_LEFT);
    QObject::connect(m_list, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!m_bFilling) {
            SelectElement(m_list->currentRow());
        }
    });
    QObject::connect(custom, &QPushButton::clicked, this, [this] {
        if (CFormwardenSheet* sheet = Sheet()) {
            m_area->StoreShown();
            EditCustomValidation(this, sheet->FormSource());
        }
    });
    return CFormPage::OnInitDialog();
}

bool CFormValidationsPage::OnSetActive() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet) {
        return false;
    }
    // The other pages store first: the editor may show an element whose
    // list is about to be rebuilt.
    if (!CFormPage::OnSetActive()) {
        return false;
    }
    CHtmlForm& form = sheet->FormSource();
    m_bFilling = true;
    FillElementList(m_list, form);
    m_bFilling = false;
    m_area->ShowElement(nullptr, -1);
    SelectElement(form.GetElementCount() > 0 ? 0 : -1);
    sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    return true;
}

void CFormValidationsPage::SelectElement(int row) {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet) {
        return;
    }
    if (m_area->ShownElement() == row && row >= 0) {
        return;
    }
    // An editor that cannot be stored keeps its element chosen.
    if (!m_area->TryStoreShown()) {
        const int shown = m_area->ShownElement();
        m_bFilling = true;
        m_list->selectRow(shown);
        m_list->setCurrentCell(shown, 0);
        m_bFilling = false;
        return;
    }
    CHtmlForm& form = sheet->FormSource();
    if (row < 0 || row >= form.GetElementCount()) {
        m_area->ShowElement(nullptr, -1);
        return;
    }
    if (m_list->currentRow() != row) {
        m_bFilling = true;
        m_list->selectRow(row);
        m_list->setCurrentCell(row, 0);
        m_bFilling = false;
    }
    m_area->ShowElement(&form, row);
}

void CFormValidationsPage::StoreShown() {
    // The editor lets go of its element: the Form Elements page may remove
    // or move it before this page shows again.
    if (IsCreated()) {
        m_area->StoreShown();
        m_area->ShowElement(nullptr, -1);
    }
}

bool CFormValidationsPage::LeavePage() {
    // A number the editor cannot read keeps the user here, on that field.
    if (!IsCreated()) {
        return true;
    }
    if (!m_area->TryStoreShown()) {
        return false;
    }
    m_area->ShowElement(nullptr, -1);
    return true;
}

bool CFormValidationsPage::OnWizardNext() {
    return LeavePage();
}

bool CFormValidationsPage::OnWizardBack() {
    return LeavePage();
}

void CFormValidationsPage::ClearData() {
    if (IsCreated()) {
        m_area->ShowElement(nullptr, -1);
        m_bFilling = true;
        m_list->setRowCount(0);
        m_bFilling = false;
    }
    CFormPage::ClearData();
}

// ---- Error Strings ------------------------------------------------------------------

CFormErrorStringsPage::CFormErrorStringsPage() : CFormPage(144) {}

bool CFormErrorStringsPage::OnInitDialog() {
    setWindowTitle(QStringLiteral("Edit Error strings"));
    PlaceHelp(DialogRect(this, 4, 4, 112, 199), IDH_ERROR_STRINGS);
    m_tree = MakeControl<QTreeWidget>(this, IDC_ERROR_TREE, DialogRect(this, 120, 4, 236, 106));
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(16, 16));
    AddAnchor(m_tree, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    QLabel* label = Caption(this, "Error Message", DialogRect(this, 120, 114, 120, 8));
    ondrelo::SetControlId(label, IDC_ERROR_MESSAGE_LABEL);
    AddAnchor(label, ondrelo::ANCHOR_BOTTOM_LEFT);
    m_message =
        MakeControl<QPlainTextEdit>(this, IDC_ERROR_MESSAGE, DialogRect(this, 120, 124, 236, 38));
    AddAnchor(m_message, ondrelo::ANCHOR_BOTTOM_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    m_help = MakeLabel(this, IDC_ERROR_HELP, ToQt(kSelectValidationHelp),
                       DialogRect(this, 120, 166, 236, 37));
    m_help->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_help->setMargin(4);
    AddAnchor(m_help, ondrelo::ANCHOR_BOTTOM_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    QObject::connect(m_tree, &QTreeWidget::currentItemChanged, this,
                     [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
                         if (!m_bFilling) {
                             ShowNode(item);
                         }
                     });
    return CFormPage::OnInitDialog();
}

void CFormErrorStringsPage::FillTree() {
    CFormwardenSheet* sheet = Sheet();
    m_bFilling = true;
    m_tree->clear();
    m_nShownElement = m_nShownValidation = -1;
    QTreeWidgetItem* first = nullptr;
    if (sheet) {
        const SErrorStringTree tree = BuildErrorStringTree(sheet->FormSource());
        auto* root = new QTreeWidgetItem(m_tree, QStringList(ToQt(tree.m_strRoot)));
        for (const SErrorStringElement& element : tree.m_Elements) {
            auto* node = new QTreeWidgetItem(root, QStringList(ToQt(element.m_strName)));
            node->setIcon(0, ElementTypeIcon(element.m_nType));
            for (const SErrorStringNode& validation : element.m_Validations) {
                auto* leaf = new QTreeWidgetItem(node, QStringList(ToQt(validation.m_strLabel)));
                leaf->setData(0, Qt::UserRole, validation.m_nElement);
                leaf->setData(0, Qt::UserRole + 1, validation.m_nValidation);
                if (!first) {
                    first = leaf;
                }
            }
        }
        m_tree->expandAll();
    }
    m_bFilling = false;
    if (first) {
        m_tree->setCurrentItem(first);
    } else {
        ShowNode(nullptr);
    }
}

void CFormErrorStringsPage::ShowNode(QTreeWidgetItem* item) {
    StoreShown();
    CFormwardenSheet* sheet = Sheet();
    const CValidation* validation = nullptr;
    SErrorStringNode node;
    if (sheet && item && item->data(0, Qt::UserRole).isValid()) {
        node.m_nElement = item->data(0, Qt::UserRole).toInt();
        node.m_nValidation = item->data(0, Qt::UserRole + 1).toInt();
        validation = FindValidation(sheet->FormSource(), node);
    }
    if (!validation) {
        m_nShownElement = m_nShownValidation = -1;
        m_message->clear();
        m_message->setEnabled(false);
        m_help->setText(ToQt(kSelectValidationHelp));
        return;
    }
    m_nShownElement = node.m_nElement;
    m_nShownValidation = node.m_nValidation;
    m_message->setEnabled(true);
    m_message->setPlainText(ToQt(validation->m_strMessage));
    m_help->setText(ToQt(ValidationKindHelp(validation->m_nKind)));
}

void CFormErrorStringsPage::StoreShown() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet || !IsCreated() || m_nShownElement < 0) {
        return;
    }
    SErrorStringNode node;
    node.m_nElement = m_nShownElement;
    node.m_nValidation = m_nShownValidation;
    // The field shows plain lines; a message keeps its line feeds.
    SetValidationMessage(sheet->FormSource(), node, FromQt(m_message->toPlainText()));
    m_nShownElement = m_nShownValidation = -1;
}

bool CFormErrorStringsPage::OnSetActive() {
    if (!CFormPage::OnSetActive()) {
        return false;
    }
    FillTree();
    if (CFormwardenSheet* sheet = Sheet()) {
        sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    }
    return true;
}

bool CFormErrorStringsPage::OnWizardNext() {
    StoreShown();
    return true;
}

bool CFormErrorStringsPage::OnWizardBack() {
    StoreShown();
    return true;
}

void CFormErrorStringsPage::ClearData() {
    if (IsCreated()) {
        m_bFilling = true;
        m_tree->clear();
        m_bFilling = false;
        m_nShownElement = m_nShownValidation = -1;
        m_message->clear();
        m_help->setText(ToQt(kSelectValidationHelp));
    }
    CFormPage::ClearData();
}

// ---- Take the Code ----------------------------------------------------------------

CFormTakeCodePage::CFormTakeCodePage() : CFormPage(145), m_pCIW(new CCIWImpl(this)) {
    SetPageType(PAGE_CODE);
}

CFormTakeCodePage::~CFormTakeCodePage() {
    delete m_pCIW;
}

bool CFormTakeCodePage::OnInitDialog() {
    setWindowTitle(QStringLiteral("Take the Code"));
    PlaceHelp(DialogRect(this, 4, 4, 112, 178), IDH_TAKE_CODE);
    CButtonST* save = MakeOndButton(this, IDC_SAVE_TEMPLATE,
                                    QStringLiteral("&Save Form As Template"),
                                    DialogRect(this, 4, 188, 112, 14));
    AddAnchor(save, ondrelo::ANCHOR_BOTTOM_LEFT);
    QObject::connect(save, &QPushButton::clicked, this, [this] {
        if (CFormwardenSheet* sheet = Sheet()) {
            sheet->Templates().Save(sheet->FormSource(), ondrelo::ToHwnd(this));
        }
    });
    auto* place = MakeControl<QFrame>(this, IDC_CODE_PLACE, DialogRect(this, 120, 0, 238, 205));
    AddAnchor(place, ondrelo::ANCHOR_TOP_LEFT, ondrelo::ANCHOR_BOTTOM_RIGHT);
    m_pCIW->Create(place, this);
    m_pCIW->SetStaticInfo(kSubCodeComment, kMainCodeComment, kValidatorScript,
                          kFormPlaceholder, kObjectName);
    SetPageType(PAGE_CODE);
    return CFormPage::OnInitDialog();
}

bool CFormTakeCodePage::OnSetActive() {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet || !CFormPage::OnSetActive()) {
        return false;
    }
    CHtmlForm& form = sheet->FormSource();
    CFormCodeGen& gen = sheet->Generator();
    CFormPageScanner* page = sheet->IsPageFormSource() ? &sheet->IntroPage().Scanner() : nullptr;
    gen.SetModel(&form, &form.m_Elements, page);
    gen.GenerateCode();
    std::string inclusion, code, instruction, warnings;
    gen.GetCode(inclusion, code, instruction, warnings);
    m_pCIW->SetMainCodeComment(instruction);
    if (page) {
        m_pCIW->SetInsertToExistingFile(page->GetFilePath());
    }
    m_pCIW->SetCode(inclusion, code, warnings);
    m_pCIW->Activate();
    sheet->SetWizardButtons(PSWIZB_BACK | PSWIZB_DISABLEDFINISH);
    return true;
}

bool CFormTakeCodePage::IsDialogMessageA(MSG* msg) {
    if (m_pCIW->IsDialogMessage(msg)) {
        return true;
    }
    return CFormPage::IsDialogMessageA(msg);
}

int CFormTakeCodePage::InsertCode(const std::string& pagePath, const std::string& scriptCopyPath,
                                  bool createFile, bool placeAfterBody) {
    CFormwardenSheet* sheet = Sheet();
    if (!sheet) {
        return 0;
    }
    CCountingPrompt counter;
    const bool done =
        InsertFormCode(sheet->Generator(), pagePath, scriptCopyPath, createFile,
                       placeAfterBody ? kPlaceAfterBodyTag : kPlaceAtPlaceholder);
    // The insertion component says only that the insertion failed; the
    // user learns why here, unless a message has already said it.
    if (!done && counter.Count() == 0) {
        FormErrorMessage(FormString(IDS_INSERT_FAILED));
    }
    return done ? 1 : 0;
}

void CFormTakeCodePage::ClearData() {
    if (IsCreated()) {
        m_pCIW->Reset();
    }
    CFormPage::ClearData();
}

// ---- Sheet ------------------------------------------------------------------------

CFormwardenSheet::CFormwardenSheet()
    : m_intro(new CFormIntroPage),
      m_elements(new CFormElementsPage),
      m_validations(new CFormValidationsPage),
      m_errors(new CFormErrorStringsPage),
      m_code(new CFormTakeCodePage) {
    InstallErrorsWindow();
}

CFormwardenSheet::~CFormwardenSheet() = default;

void CFormwardenSheet::AddPages() {
    AddPage(m_intro);
    AddPage(m_elements);
    AddPage(m_validations);
    AddPage(m_errors);
    AddPage(m_code);
}

void CFormwardenSheet::EnableFormElementsPage(bool enable) {
    m_elements->Enable(enable);
    EnablePageButtons();
}

void CFormwardenSheet::StoreShownPages() {
    m_elements->StoreShown();
    m_validations->StoreShown();
    m_errors->StoreShown();
}

bool CFormwardenSheet::OfferRestartOnBack() {
    static const std::string buttons[3] = {"&Save", "&Proceed", "&Cancel"};
    const int choice = ondrelo::Prompt().ChooseOfThree(ondrelo::ToHwnd(this), kFormWizardTitle,
                                                        kRestartOfferText, buttons);
    if (choice == 2) {
        return false;
    }
    // A template that was not written (the dialog cancelled, the disk
    // full) keeps the user where the work still is.
    if (choice == 0 && !m_templates.Save(FormSource(), ondrelo::ToHwnd(this))) {
        return false;
    }
    Restart();
    return true;
}

bool CFormwardenSheet::OfferAnotherForm() {
    if (FormSource().m_bModified) {
        const int answer = FormMessageBox(kAnotherFormQuestion, MB_YESNOCANCEL | MB_ICONQUESTION,
                                          ondrelo::ToHwnd(this));
        if (answer == IDCANCEL) {
            return false;
        }
        if (answer == IDYES && !m_templates.Save(FormSource(), ondrelo::ToHwnd(this))) {
            return false;
        }
    }
    Restart();
    return true;
}

void CFormwardenSheet::Restart() {
    m_designed.Reset();
    m_designed.m_bModified = false;
    m_pageForm = CHtmlForm();
    m_bPageFormSource = false;
    m_templates.ClearPath();
    m_gen.SetModel(nullptr, nullptr, nullptr);
    m_elements->Enable(true);
    ClearAllPages();
}

bool CFormwardenSheet::IsDialogMessageA(MSG* msg) {
    if (COndWizPage* page = GetActivePage()) {
        if (page->IsDialogMessageA(msg)) {
            return true;
        }
    }
    return COndWizSheet::IsDialogMessageA(msg);
}

}  // namespace formwarden
