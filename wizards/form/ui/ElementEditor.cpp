// The element editor of the Form Elements page: name, caption, type and the
// type's property page. Every check is the core's (FormRules.h); the dialog
// keeps one data object per type, so that switching the type back and forth
// keeps what was typed on each page.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <algorithm>
#include <array>

#include "FormDialogsInternal.h"
#include "formwarden/FormResources.h"
#include "formwarden/FormRules.h"
#include "ondrelo/DialogControls.h"

namespace formwarden {

using ondrelo::DialogRect;
using ondrelo::FromQt;
using ondrelo::MakeCaptioned;
using ondrelo::MakeControl;
using ondrelo::MakeLabel;
using ondrelo::SetControlId;
using ondrelo::ToQt;

namespace {

bool g_detailsShown = true;

// Size of the dialog in dialog units, with and without the property pages.
constexpr int kDialogWidth = 266;
constexpr int kPagesTop = 62;
constexpr int kPagesHeight = 148;
constexpr int kCollapsedHeight = 64;

const char* const kDetailsShow = "&Details >>";
const char* const kDetailsHide = "<< &Details";

void SetLimitedText(QLineEdit* field, const std::string& value, int limit) {
    field->setMaxLength(FieldLimit(value, limit));
    field->setText(ToQt(value));
}

}  // namespace

int FieldLimit(const std::string& value, int limit) {
    return std::max(limit, static_cast<int>(ToQt(value).size()));
}

bool ElementEditorDetailsShown() {
    return g_detailsShown;
}

void SetElementEditorDetailsShown(bool shown) {
    g_detailsShown = shown;
}

struct CElementEditorDialog::SImpl {
    CElementEditorDialog* dialog = nullptr;
    CHtmlForm& form;
    int edited = -1;
    int result = -1;
    int counter = 1;  // default names start at 1 each time the editor opens
    std::array<std::unique_ptr<CElementData>, kElementTypeCount> data;

    QLineEdit* name = nullptr;
    QLineEdit* caption = nullptr;
    QComboBox* type = nullptr;
    QPushButton* details = nullptr;
    QStackedWidget* pages = nullptr;

    // Property pages.
    QLineEdit* textValue = nullptr;
    QLineEdit* textSize = nullptr;
    QCheckBox* textPassword = nullptr;
    QLineEdit* checkValue = nullptr;
    QCheckBox* checkChecked = nullptr;
    QLineEdit* fileSize = nullptr;
    QLineEdit* hiddenValue = nullptr;
    std::array<QRadioButton*, 3> buttonKinds{};
    QLineEdit* multiRows = nullptr;
    QLineEdit* multiColumns = nullptr;
    QPlainTextEdit* multiText = nullptr;
    QLineEdit* listRows = nullptr;
    QCheckBox* listCombo = nullptr;
    QCheckBox* listMultiple = nullptr;
    CListCtrlEx* listItems = nullptr;
    QLineEdit* itemName = nullptr;
    QLineEdit* itemValue = nullptr;
    QCheckBox* itemSelected = nullptr;
    QPushButton* itemRemove = nullptr;
    int chosenItem = -1;  // the item "Update" changes; -1 appends
    QLineEdit* radioValue = nullptr;
    QCheckBox* radioChecked = nullptr;

    SImpl(CElementEditorDialog* d, CHtmlForm& f, int e) : dialog(d), form(f), edited(e) {}

    QRect Rect(int x, int y, int w, int h) const { return DialogRect(dialog, x, y, w, h); }
    QWidget* AddPage();
    QLineEdit* AddField(QWidget* page, int id, const char* caption, int y, int width);
    void BuildPages();
    void LoadPages();
    bool ReadPage(int type);
    bool ReadNumber(QLineEdit* field, int min, int max, int& value);
    void ShowDetails();
    void Ok();

    CListboxData& List() { return static_cast<CListboxData&>(*data[kTypeListbox]); }
    void FillItems(int select);
    void OnItemChosen();
    void OnComboBox();
};

QWidget* CElementEditorDialog::SImpl::AddPage() {
    auto* page = new QWidget(pages);
    pages->addWidget(page);
    return page;
}

// A caption at the left and its field beside it.
QLineEdit* CElementEditorDialog::SImpl::AddField(QWidget* page, int id, const char* text, int y,
                                                 int width) {
    MakeLabel(page, 0, text, Rect(0, y + 2, 60, 9));
    return MakeControl<QLineEdit>(page, id, Rect(62, y, width, 12));
}

void CElementEditorDialog::SImpl::BuildPages() {
    // Textbox.
    QWidget* page = AddPage();
    textValue = AddField(page, IDC_EL_TEXT_VALUE, "Value", 0, 180);
    textSize = AddField(page, IDC_EL_TEXT_SIZE, "Size", 16, 30);
    textPassword =
        MakeCaptioned<QCheckBox>(page, IDC_EL_TEXT_PASSWORD, "Password", Rect(62, 32, 120, 10));
    // Checkbox.
    page = AddPage();
    checkValue = AddField(page, IDC_EL_CHECK_VALUE, "Value", 0, 180);
    checkChecked =
        MakeCaptioned<QCheckBox>(page, IDC_EL_CHECK_CHECKED, "Checked", Rect(62, 16, 120, 10));
    // File.
    page = AddPage();
    fileSize = AddField(page, IDC_EL_FILE_SIZE, "Size", 0, 30);
    // Hidden.
    page = AddPage();
    hiddenValue = AddField(page, IDC_EL_HIDDEN_VALUE, "Value", 0, 180);
    // Button.
    page = AddPage();
    MakeControl<QGroupBox>(page, 0, Rect(0, 0, 140, 52))->setTitle("Button type");
    const std::array<const char*, 3> kinds = {"Submit", "Reset", "General button"};
    auto* kindGroup = new QButtonGroup(page);
    for (int i = 0; i < 3; ++i) {
        buttonKinds[i] = MakeCaptioned<QRadioButton>(page, IDC_EL_BUTTON_SUBMIT + i, kinds[i],
                                                     Rect(8, 12 + 12 * i, 120, 10));
        kindGroup->addButton(buttonKinds[i], i);
    }
    // Multiline Text.
    page = AddPage();
    multiRows = AddField(page, IDC_EL_MULTI_ROWS, "Rows", 0, 30);
    multiColumns = AddField(page, IDC_EL_MULTI_COLUMNS, "Columns", 16, 30);
    MakeLabel(page, 0, "Default text", Rect(0, 34, 120, 9));
    multiText = MakeControl<QPlainTextEdit>(page, IDC_EL_MULTI_TEXT, Rect(0, 45, 250, 100));
    // ListBox.
    page = AddPage();
    MakeLabel(page, 0, "Number of visible items", Rect(0, 2, 96, 9));
    listRows = MakeControl<QLineEdit>(page, IDC_EL_LIST_ROWS, Rect(98, 0, 28, 12));
    listCombo =
        MakeCaptioned<QCheckBox>(page, IDC_EL_LIST_COMBO, "Combo box", Rect(132, 1, 56, 10));
    listMultiple = MakeCaptioned<QCheckBox>(page, IDC_EL_LIST_MULTIPLE, "Multiple select",
                                            Rect(190, 1, 66, 10));
    MakeControl<QGroupBox>(page, 0, Rect(0, 16, 250, 131))->setTitle("Listbox Items");
    listItems = MakeControl<CListCtrlEx>(page, IDC_EL_LIST_ITEMS, Rect(6, 28, 150, 94));
    listItems->AddColumn("Name", 0);
    listItems->AddColumn("Value", 1);
    listItems->setColumnWidth(0, Rect(0, 0, 80, 0).width());
    listItems->setColumnWidth(1, Rect(0, 0, 60, 0).width());
    MakeLabel(page, 0, "Name", Rect(162, 28, 80, 9));
    itemName = MakeControl<QLineEdit>(page, IDC_EL_LIST_ITEM_NAME, Rect(162, 38, 82, 12));
    MakeLabel(page, 0, "Value", Rect(162, 56, 80, 9));
    itemValue = MakeControl<QLineEdit>(page, IDC_EL_LIST_ITEM_VALUE, Rect(162, 66, 82, 12));
    itemSelected = MakeCaptioned<QCheckBox>(page, IDC_EL_LIST_ITEM_SELECTED, "Selected",
                                            Rect(162, 84, 82, 10));
    auto* addNew =
        MakeCaptioned<QPushButton>(page, IDC_EL_LIST_ADD_NEW, "Add New", Rect(6, 127, 46, 14));
    auto* update =
        MakeCaptioned<QPushButton>(page, IDC_EL_LIST_UPDATE, "Update", Rect(56, 127, 46, 14));
    itemRemove =
        MakeCaptioned<QPushButton>(page, IDC_EL_LIST_REMOVE, "Remove Item", Rect(106, 127, 58, 14));
    auto* load = MakeCaptioned<QPushButton>(page, IDC_EL_LIST_LOAD, "Load from File ...",
                                            Rect(168, 127, 76, 14));
    for (QPushButton* b : {addNew, update, itemRemove, load}) {
        b->setAutoDefault(false);
    }
    // Radio Button.
    page = AddPage();
    radioValue = AddField(page, IDC_EL_RADIO_VALUE, "Value", 0, 180);
    radioChecked =
        MakeCaptioned<QCheckBox>(page, IDC_EL_RADIO_CHECKED, "Checked", Rect(62, 16, 120, 10));

    QObject::connect(listItems, &QTableWidget::itemSelectionChanged, dialog,
                     [this] { OnItemChosen(); });
    QObject::connect(listCombo, &QCheckBox::toggled, dialog, [this] { OnComboBox(); });
    QObject::connect(addNew, &QPushButton::clicked, dialog, [this] {
        chosenItem = -1;
        listItems->clearSelection();
        itemName->clear();
        itemValue->clear();
        itemSelected->setChecked(false);
        itemName->setFocus();
    });
    QObject::connect(update, &QPushButton::clicked, dialog, [this] {
        const int index = AddOrChangeListItem(List().m_Items, chosenItem, FromQt(itemName->text()),
                                              FromQt(itemValue->text()), itemSelected->isChecked());
        if (index < 0) {
            itemName->setFocus();
            return;
        }
        FillItems(index);
    });
    QObject::connect(itemRemove, &QPushButton::clicked, dialog, [this] {
        const int row = listItems->currentRow();
        auto& items = List().m_Items;
        if (row < 0 || row >= static_cast<int>(items.size()) ||
            listItems->selectedItems().empty()) {
            return;
        }
        items.erase(items.begin() + row);
        FillItems(-1);
    });
    QObject::connect(load, &QPushButton::clicked, dialog, [this] {
        if (LoadListItemsFromFile(List().m_Items)) {
            FillItems(-1);
        }
    });
}

// Shows the items and selects one (-1: none, the fields emptied for a new item).
void CElementEditorDialog::SImpl::FillItems(int select) {
    const auto& items = List().m_Items;
    const QSignalBlocker block(listItems);
    listItems->setRowCount(0);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        listItems->AddItem(i, 0, items[static_cast<std::size_t>(i)].m_strName);
        listItems->AddItem(i, 1, items[static_cast<std::size_t>(i)].m_strValue);
    }
    if (select >= 0 && select < static_cast<int>(items.size())) {
        listItems->selectRow(select);
        listItems->setCurrentCell(select, 0);
    } else {
        listItems->clearSelection();
        listItems->setCurrentCell(-1, -1);
    }
    OnItemChosen();
}

void CElementEditorDialog::SImpl::OnItemChosen() {
    const auto& items = List().m_Items;
    const int row = listItems->selectedItems().empty() ? -1 : listItems->currentRow();
    itemRemove->setEnabled(row >= 0);
    if (row < 0 || row >= static_cast<int>(items.size())) {
        chosenItem = -1;
        itemName->clear();
        itemValue->clear();
        itemSelected->setChecked(false);
        return;
    }
    chosenItem = row;
    const SListItem& item = items[static_cast<std::size_t>(row)];
    itemName->setText(ToQt(item.m_strName));
    itemValue->setText(ToQt(item.m_strValue));
    itemSelected->setChecked(item.m_bSelected);
}

// A drop-down list shows one row: the rows field is set to 1 and disabled.
void CElementEditorDialog::SImpl::OnComboBox() {
    if (listCombo->isChecked()) {
        listRows->setText("1");
    }
    listRows->setEnabled(!listCombo->isChecked());
}

void CElementEditorDialog::SImpl::LoadPages() {
    const auto& text = static_cast<const CTextData&>(*data[kTypeTextbox]);
    SetLimitedText(textValue, text.m_strValue, kMaxTextValueLength);
    textSize->setText(QString::number(text.m_nSize));
    textPassword->setChecked(text.m_bPassword);

    const auto& check = static_cast<const CCheckboxData&>(*data[kTypeCheckbox]);
    SetLimitedText(checkValue, check.m_strValue, kMaxCheckboxValueLength);
    checkChecked->setChecked(check.m_bChecked);

    fileSize->setText(QString::number(static_cast<const CFileData&>(*data[kTypeFile]).m_nSize));

    SetLimitedText(hiddenValue, static_cast<const CHiddenData&>(*data[kTypeHidden]).m_strValue,
                   kMaxHiddenValueLength);

    const int kind = static_cast<const CButtonData&>(*data[kTypeButton]).m_nKind;
    buttonKinds[static_cast<std::size_t>(kind >= 0 && kind < 3 ? kind : 0)]->setChecked(true);

    const auto& area = static_cast<const CMultilineData&>(*data[kTypeMultiline]);
    multiRows->setText(QString::number(area.m_nRows));
    multiColumns->setText(QString::number(area.m_nColumns));
    multiText->setPlainText(ondrelo::ToQtLines(area.m_strDefaultText));
    multiText->document()->setModified(false);

    const CListboxData& list = List();
    listRows->setText(QString::number(list.m_nVisibleRows));
    listCombo->setChecked(list.m_nVisibleRows == 1);
    OnComboBox();
    listMultiple->setChecked(list.m_bMultiple);
    FillItems(-1);

    const auto& radio = static_cast<const CRadioData&>(*data[kTypeRadio]);
    SetLimitedText(radioValue, radio.m_strValue, kMaxRadioValueLength);
    radioChecked->setChecked(radio.m_bChecked);
}

// A number field within its limits; otherwise the refusal, with the focus
// on the field (the dialog stays open).
bool CElementEditorDialog::SImpl::ReadNumber(QLineEdit* field, int min, int max, int& value) {
    const std::optional<int> number = ReadNumberField(FromQt(field->text()), min, max);
    if (!number) {
        FormMessageBox(NumberFieldMessage(min, max), MB_OK | MB_ICONERROR, ondrelo::ToHwnd(dialog));
        field->setFocus();
        field->selectAll();
        return false;
    }
    value = *number;
    return true;
}

// The shown page's fields into its type's data object.
bool CElementEditorDialog::SImpl::ReadPage(int type) {
    switch (type) {
        case kTypeTextbox: {
            auto& d = static_cast<CTextData&>(*data[kTypeTextbox]);
            int size = 0;
            if (!ReadNumber(textSize, kMinTextSize, kMaxTextSize, size)) {
                return false;
            }
            d.m_strValue = FromQt(textValue->text());
            d.m_nSize = size;
            d.m_bPassword = textPassword->isChecked();
            return true;
        }
        case kTypeCheckbox: {
            auto& d = static_cast<CCheckboxData&>(*data[kTypeCheckbox]);
            d.m_strValue = FromQt(checkValue->text());
            d.m_bChecked = checkChecked->isChecked();
            return true;
        }
        case kTypeFile:
            return ReadNumber(fileSize, kMinFileSize, kMaxFileSize,
                              static_cast<CFileData&>(*data[kTypeFile]).m_nSize);
        case kTypeHidden:
            static_cast<CHiddenData&>(*data[kTypeHidden]).m_strValue = FromQt(hiddenValue->text());
            return true;
        case kTypeButton: {
            auto& d = static_cast<CButtonData&>(*data[kTypeButton]);
            for (int i = 0; i < 3; ++i) {
                if (buttonKinds[static_cast<std::size_t>(i)]->isChecked()) {
                    d.m_nKind = i;
                }
            }
            return true;
        }
        case kTypeMultiline: {
            auto& d = static_cast<CMultilineData&>(*data[kTypeMultiline]);
            int rows = 0;
            int columns = 0;
            if (!ReadNumber(multiRows, kMinMultilineRows, kMaxMultilineRows, rows) ||
                !ReadNumber(multiColumns, kMinMultilineColumns, kMaxMultilineColumns, columns)) {
                return false;
            }
            d.m_nRows = rows;
            d.m_nColumns = columns;
            // An untouched text keeps its own line ends.
            if (multiText->document()->isModified()) {
                d.m_strDefaultText = FromQt(multiText->toPlainText());
            }
            return true;
        }
        case kTypeListbox: {
            CListboxData& d = List();
            int rows = 1;
            if (!listCombo->isChecked() &&
                !ReadNumber(listRows, kMinListboxRows, kMaxListboxRows, rows)) {
                return false;
            }
            d.m_nVisibleRows = rows;
            d.m_bMultiple = listMultiple->isChecked();
            return true;
        }
        case kTypeRadio: {
            auto& d = static_cast<CRadioData&>(*data[kTypeRadio]);
            d.m_strValue = FromQt(radioValue->text());
            d.m_bChecked = radioChecked->isChecked();
            return true;
        }
        default:
            return false;
    }
}

void CElementEditorDialog::SImpl::ShowDetails() {
    pages->setVisible(g_detailsShown);
    details->setText(g_detailsShown ? kDetailsHide : kDetailsShow);
    const int height = g_detailsShown ? kPagesTop + kPagesHeight + 6 : kCollapsedHeight;
    dialog->setFixedSize(Rect(0, 0, kDialogWidth, height).size());
}

void CElementEditorDialog::SImpl::Ok() {
    const int type = pages->currentIndex();
    std::string name = FromQt(this->name->text());
    std::string text = FromQt(caption->text());
    if (CheckElementName(form, edited, type, name, text, counter) != kFocusNone) {
        // A refused name stays as typed.
        this->name->setFocus();
        return;
    }
    this->name->setText(ToQt(name));
    caption->setText(ToQt(text));
    if (!ReadPage(type)) {
        return;
    }
    if (edited >= 0 && edited < form.GetElementCount()) {
        const CElementData* old = form.GetElement(edited).GetData();
        const int oldType = old ? old->GetType() : kTypeUnset;
        if (oldType != kTypeUnset && oldType != type && !ConfirmTypeChange(oldType, type)) {
            this->type->setCurrentIndex(oldType);
            return;
        }
    }
    result = ApplyElementEdit(form, edited, name, text, *data[static_cast<std::size_t>(type)]);
    dialog->accept();
}

CElementEditorDialog::CElementEditorDialog(QWidget* parent, CHtmlForm& form, int edited,
                                           int presetType)
    : QDialog(parent), m(std::make_unique<SImpl>(this, form, edited)) {
    SetControlId(this, IDD_ELEMENT_EDITOR);
    const bool modify = edited >= 0 && edited < form.GetElementCount();
    if (!modify) {
        m->edited = -1;
    }
    setWindowTitle(modify ? "Modify Form Element" : "Add New Form Element");

    int type = presetType >= 0 && presetType < kElementTypeCount ? presetType : kTypeTextbox;
    for (int t = 0; t < kElementTypeCount; ++t) {
        m->data[static_cast<std::size_t>(t)] = CElementData::CreateDefault(t);
    }
    const CFormElement* element = modify ? &form.GetElement(edited) : nullptr;
    if (element && element->GetData()) {
        type = element->GetData()->GetType();
        m->data[static_cast<std::size_t>(type)] = element->GetData()->Clone();
    }

    MakeLabel(this, 0, "Name", m->Rect(7, 9, 40, 9));
    m->name = MakeControl<QLineEdit>(this, IDC_EL_NAME, m->Rect(48, 7, 146, 12));
    MakeLabel(this, 0, "Caption", m->Rect(7, 25, 40, 9));
    m->caption = MakeControl<QLineEdit>(this, IDC_EL_CAPTION, m->Rect(48, 23, 146, 12));
    MakeLabel(this, 0, "Type", m->Rect(7, 42, 40, 9));
    m->type = MakeControl<QComboBox>(this, IDC_EL_TYPE, m->Rect(48, 39, 100, 14));
    for (int t = 0; t < kElementTypeCount; ++t) {
        m->type->addItem(ElementTypeIcon(t), ElementTypeLabel(t));
    }
    auto* ok = MakeCaptioned<QPushButton>(this, IDC_DLG_OK, "OK", m->Rect(204, 7, 56, 14));
    auto* cancel =
        MakeCaptioned<QPushButton>(this, IDC_DLG_CANCEL, "Cancel", m->Rect(204, 24, 56, 14));
    m->details =
        MakeCaptioned<QPushButton>(this, IDC_EL_DETAILS, kDetailsHide, m->Rect(204, 41, 56, 14));
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    m->details->setAutoDefault(false);
    m->pages = MakeControl<QStackedWidget>(this, IDC_EL_PAGES,
                                           m->Rect(7, kPagesTop, kDialogWidth - 12, kPagesHeight));
    m->BuildPages();

    if (element) {
        SetLimitedText(m->name, element->m_strName, kMaxElementNameLength);
        m->caption->setText(ToQt(element->m_strCaption));
    } else {
        m->name->setMaxLength(kMaxElementNameLength);
    }
    m->LoadPages();
    m->type->setCurrentIndex(type);
    m->pages->setCurrentIndex(type);
    QObject::connect(m->type, &QComboBox::currentIndexChanged, this,
                     [this](int index) { m->pages->setCurrentIndex(index); });
    QObject::connect(ok, &QPushButton::clicked, this, [this] { m->Ok(); });
    QObject::connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    QObject::connect(m->details, &QPushButton::clicked, this, [this] {
        g_detailsShown = !g_detailsShown;
        m->ShowDetails();
    });
    m->ShowDetails();
    m->name->setFocus();
}

CElementEditorDialog::~CElementEditorDialog() = default;

int CElementEditorDialog::ResultIndex() const {
    return m->result;
}

int CElementEditorDialog::ShownType() const {
    return m->pages->currentIndex();
}

int EditFormElement(QWidget* parent, CHtmlForm& form, int edited, int presetType) {
    CElementEditorDialog dialog(parent, form, edited, presetType);
    if (dialog.exec() != QDialog::Accepted) {
        return -1;
    }
    return dialog.ResultIndex();
}

}  // namespace formwarden
