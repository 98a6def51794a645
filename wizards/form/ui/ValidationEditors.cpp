// The validation editors of the Validations page, one per element type,
// shown one at a time in a fixed area. Each editor fills its controls from
// the core's Load function and stores through the core's Store function; a
// number field that cannot be read refuses the store (message, focus on the
// field) and leaves the element's validations as they were.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <climits>
#include <optional>

#include "FormDialogsInternal.h"
#include "formwarden/FormResources.h"
#include "formwarden/FormRules.h"
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

namespace {

// One editor: loads an element's validations into its controls and stores
// them back. Store returns false (nothing stored) when a field is refused.
class CEditor : public QWidget {
public:
    explicit CEditor(QWidget* area) : QWidget(area), m_area(area) {}
    virtual void Load(const CHtmlForm& form, int index) = 0;
    virtual bool Store(CHtmlForm& form, int index) = 0;
    // The check-box and radio-button editors both have a group line: only
    // the shown one carries its number, so that FindControl finds that one.
    virtual void SetShown(bool /*shown*/) {}

protected:
    QRect Rect(int x, int y, int w, int h) const { return DialogRect(m_area, x, y, w, h); }

    // A checked length field: an integer of 0 or more, else the refusal.
    static std::optional<int> ReadLength(QLineEdit* field, const QString& caption,
                                         const std::string& element, int min = 0) {
        const std::optional<int> value = ReadNumberField(FromQt(field->text()), min, INT_MAX);
        if (!value) {
            Refuse(field, caption, element, NumberFieldMessage(min, INT_MAX));
        }
        return value;
    }
    static std::optional<double> ReadBound(QLineEdit* field, const QString& caption,
                                           const std::string& element) {
        const std::optional<double> value = ReadDecimalField(FromQt(field->text()));
        if (!value) {
            Refuse(field, caption, element, kDecimalFieldMessage);
        }
        return value;
    }
    static void Refuse(QLineEdit* field, const QString& caption, const std::string& element,
                       const std::string& expected) {
        QString plain = caption;
        plain.remove('&');
        FormMessageBox(UnreadableValidationNumber(FromQt(plain), element, expected),
                       MB_OK | MB_ICONERROR, ondrelo::ToHwnd(field->window()));
        field->setFocus();
        field->selectAll();
    }
    // A number field used only while its check is on.
    static void Follow(QCheckBox* check, QLineEdit* field) {
        field->setEnabled(check->isChecked());
        QObject::connect(check, &QCheckBox::toggled, field, &QWidget::setEnabled);
    }

    QWidget* m_area;
};

// ---- Textbox: "Properties" and "Comparison" ----

class CTextEditor : public CEditor {
public:
    explicit CTextEditor(QWidget* area);
    void Load(const CHtmlForm& form, int index) override;
    bool Store(CHtmlForm& form, int index) override;

private:
    void BuildProperties(QWidget* page);
    void BuildComparison(QWidget* page);
    void FillComparisons(int select);
    void OnComparisonChosen();
    SComparison EnteredComparison() const;
    void ChooseFromCatalogue();

    QTabWidget* m_tabs = nullptr;
    QCheckBox* m_mandatory = nullptr;
    std::array<QRadioButton*, 5> m_inputTypes{};
    QCheckBox* m_spaces = nullptr;
    QCheckBox* m_maxLength = nullptr;
    QLineEdit* m_maxValue = nullptr;
    QCheckBox* m_minLength = nullptr;
    QLineEdit* m_minValue = nullptr;
    QCheckBox* m_less = nullptr;
    QLineEdit* m_lessValue = nullptr;
    QCheckBox* m_greater = nullptr;
    QLineEdit* m_greaterValue = nullptr;
    QCheckBox* m_regExp = nullptr;
    QLineEdit* m_regExpValue = nullptr;

    QListWidget* m_list = nullptr;
    QLabel* m_elementName = nullptr;
    QComboBox* m_operator = nullptr;
    QComboBox* m_other = nullptr;
    std::string m_name;
    std::vector<SComparison> m_comparisons;
};

CTextEditor::CTextEditor(QWidget* area) : CEditor(area) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabWidget(this);
    SetControlId(m_tabs, IDC_VAL_TEXT_TABS);
    layout->addWidget(m_tabs);
    auto* properties = new QWidget(m_tabs);
    auto* comparison = new QWidget(m_tabs);
    m_tabs->addTab(properties, "Properties");
    m_tabs->addTab(comparison, "Comparison");
    BuildProperties(properties);
    BuildComparison(comparison);
}

void CTextEditor::BuildProperties(QWidget* page) {
    MakeControl<QGroupBox>(page, 0, Rect(3, 2, 106, 24))->setTitle("Is input mandatory?");
    m_mandatory = MakeCaptioned<QCheckBox>(page, IDC_VAL_MANDATORY, "Yes", Rect(9, 13, 90, 10));

    MakeControl<QGroupBox>(page, 0, Rect(3, 28, 106, 74))->setTitle("Input Type");
    const std::array<const char*, 5> kinds = {"Alphabetic", "Alpha Numeric", "Numeric", "Email",
                                              "Any"};
    auto* group = new QButtonGroup(page);
    for (int i = 0; i < 5; ++i) {
        auto* radio =
            MakeCaptioned<QRadioButton>(page, IDC_VAL_ALPHA + i, kinds[static_cast<std::size_t>(i)],
                                        Rect(9, 39 + 10 * i, 96, 10));
        group->addButton(radio, i);
        m_inputTypes[static_cast<std::size_t>(i)] = radio;
    }
    m_spaces = MakeCaptioned<QCheckBox>(page, IDC_VAL_SPACES, "Allow Spaces", Rect(9, 89, 96, 10));

    MakeControl<QGroupBox>(page, 0, Rect(113, 2, 110, 38))->setTitle("Length of Input");
    m_maxLength =
        MakeCaptioned<QCheckBox>(page, IDC_VAL_MAXLEN, "Max. Length", Rect(117, 14, 62, 10));
    m_maxValue = MakeControl<QLineEdit>(page, IDC_VAL_MAXLEN_VALUE, Rect(181, 13, 38, 11));
    m_minLength =
        MakeCaptioned<QCheckBox>(page, IDC_VAL_MINLEN, "Min. Length", Rect(117, 27, 62, 10));
    m_minValue = MakeControl<QLineEdit>(page, IDC_VAL_MINLEN_VALUE, Rect(181, 26, 38, 11));

    MakeControl<QGroupBox>(page, 0, Rect(113, 42, 110, 38))->setTitle("Range of Numeric Value");
    m_less = MakeCaptioned<QCheckBox>(page, IDC_VAL_LESS, "Less than", Rect(117, 54, 62, 10));
    m_lessValue = MakeControl<QLineEdit>(page, IDC_VAL_LESS_VALUE, Rect(181, 53, 38, 11));
    m_greater =
        MakeCaptioned<QCheckBox>(page, IDC_VAL_GREATER, "Greater than", Rect(117, 67, 62, 10));
    m_greaterValue = MakeControl<QLineEdit>(page, IDC_VAL_GREATER_VALUE, Rect(181, 66, 38, 11));

    m_regExp =
        MakeCaptioned<QCheckBox>(page, IDC_VAL_REGEXP, "Regular Expression", Rect(3, 105, 120, 10));
    m_regExpValue = MakeControl<QLineEdit>(page, IDC_VAL_REGEXP_VALUE, Rect(3, 116, 184, 12));
    auto* list =
        MakeCaptioned<QPushButton>(page, IDC_VAL_REGEXP_LIST, "List", Rect(191, 115, 32, 14));
    list->setAutoDefault(false);

    Follow(m_maxLength, m_maxValue);
    Follow(m_minLength, m_minValue);
    Follow(m_less, m_lessValue);
    Follow(m_greater, m_greaterValue);
    QObject::connect(list, &QPushButton::clicked, this, [this] { ChooseFromCatalogue(); });
}

void CTextEditor::BuildComparison(QWidget* page) {
    MakeLabel(page, 0, "Comparison between input elements", Rect(3, 2, 220, 9));
    m_list = MakeControl<QListWidget>(page, IDC_VAL_CMP_LIST, Rect(3, 12, 220, 66));
    m_elementName = MakeLabel(page, 0, {}, Rect(3, 85, 66, 9));
    m_elementName->setWordWrap(false);
    m_operator = MakeControl<QComboBox>(page, IDC_VAL_CMP_OPERATOR, Rect(71, 82, 44, 14));
    for (int op = 0; op < 6; ++op) {
        m_operator->addItem(ComparisonOperatorWord(op));
    }
    m_other = MakeControl<QComboBox>(page, IDC_VAL_CMP_OTHER, Rect(119, 82, 104, 14));
    auto* add = MakeCaptioned<QPushButton>(page, IDC_VAL_CMP_ADD, "Add New", Rect(3, 100, 52, 14));
    auto* update =
        MakeCaptioned<QPushButton>(page, IDC_VAL_CMP_UPDATE, "Update", Rect(59, 100, 52, 14));
    auto* remove =
        MakeCaptioned<QPushButton>(page, IDC_VAL_CMP_REMOVE, "Remove", Rect(115, 100, 52, 14));
    for (QPushButton* b : {add, update, remove}) {
        b->setAutoDefault(false);
    }
    QObject::connect(m_list, &QListWidget::currentRowChanged, this,
                     [this] { OnComparisonChosen(); });
    QObject::connect(add, &QPushButton::clicked, this, [this] {
        int selected = -1;
        AddComparison(m_comparisons, EnteredComparison(), selected);
        FillComparisons(selected);
    });
    QObject::connect(update, &QPushButton::clicked, this, [this] {
        int selected = -1;
        const int row = m_list->currentRow();
        if (UpdateComparison(m_comparisons, row, EnteredComparison(), selected) < 0 &&
            selected < 0) {
            selected = row;
        }
        FillComparisons(selected);
    });
    QObject::connect(remove, &QPushButton::clicked, this, [this] {
        const int row = m_list->currentRow();
        if (RemoveComparison(m_comparisons, row)) {
            FillComparisons(std::min(row, static_cast<int>(m_comparisons.size()) - 1));
        }
    });
}

SComparison CTextEditor::EnteredComparison() const {
    SComparison entry;
    entry.m_nOperator = m_operator->currentIndex();
    entry.m_strOther = m_other->currentIndex() >= 0 ? FromQt(m_other->currentText()) : "";
    return entry;
}

void CTextEditor::FillComparisons(int select) {
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const SComparison& c : m_comparisons) {
        m_list->addItem(ToQt(ComparisonEntryText(m_name, c)));
    }
    m_list->setCurrentRow(select >= 0 && select < m_list->count() ? select : -1);
    OnComparisonChosen();
}

// The chosen entry's operator and other element into the choices.
void CTextEditor::OnComparisonChosen() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= static_cast<int>(m_comparisons.size())) {
        return;
    }
    const SComparison& c = m_comparisons[static_cast<std::size_t>(row)];
    m_operator->setCurrentIndex(c.m_nOperator);
    const int other = m_other->findText(ToQt(c.m_strOther), Qt::MatchFixedString);
    m_other->setCurrentIndex(other);
}

// "List": the chosen expression goes into the field; the check stays as set.
void CTextEditor::ChooseFromCatalogue() {
    std::string result;
    if (ChooseRegExp(window(), FromQt(m_regExpValue->text()), result)) {
        m_regExpValue->setText(ToQt(result));
    }
}

void CTextEditor::Load(const CHtmlForm& form, int index) {
    const STextValidationState s = LoadTextValidations(form, index);
    m_name = form.GetElement(index).m_strName;
    m_mandatory->setChecked(s.m_bMandatory);
    const int input = s.m_nInputType >= 0 && s.m_nInputType < 5 ? s.m_nInputType : kInputAny;
    m_inputTypes[static_cast<std::size_t>(input)]->setChecked(true);
    m_spaces->setChecked(s.m_bAllowSpaces);
    m_maxLength->setChecked(s.m_bMaxLength);
    m_maxValue->setText(s.m_bMaxLength ? QString::number(s.m_nMaxLength) : QString());
    m_minLength->setChecked(s.m_bMinLength);
    m_minValue->setText(s.m_bMinLength ? QString::number(s.m_nMinLength) : QString());
    m_less->setChecked(s.m_bLessThan);
    m_lessValue->setText(s.m_bLessThan ? ToQt(DecimalFieldText(s.m_dLessThan)) : QString());
    m_greater->setChecked(s.m_bGreaterThan);
    m_greaterValue->setText(s.m_bGreaterThan ? ToQt(DecimalFieldText(s.m_dGreaterThan))
                                             : QString());
    m_regExp->setChecked(s.m_bRegExp);
    m_regExpValue->setText(ToQt(s.m_strRegExp));

    m_elementName->setText(ToQt(m_name));
    m_other->clear();
    for (const std::string& name : ComparisonCandidates(form, index)) {
        m_other->addItem(ToQt(name));
    }
    m_operator->setCurrentIndex(0);
    m_comparisons = s.m_Comparisons;
    FillComparisons(-1);
    m_tabs->setCurrentIndex(0);
}

bool CTextEditor::Store(CHtmlForm& form, int index) {
    STextValidationState s;
    s.m_bMandatory = m_mandatory->isChecked();
    for (int i = 0; i < 5; ++i) {
        if (m_inputTypes[static_cast<std::size_t>(i)]->isChecked()) {
            s.m_nInputType = i;
        }
    }
    s.m_bAllowSpaces = m_spaces->isChecked();
    const std::string& name = form.GetElement(index).m_strName;
    s.m_bMaxLength = m_maxLength->isChecked();
    s.m_bMinLength = m_minLength->isChecked();
    s.m_bLessThan = m_less->isChecked();
    s.m_bGreaterThan = m_greater->isChecked();
    if (s.m_bMaxLength) {
        const auto value = ReadLength(m_maxValue, m_maxLength->text(), name);
        if (!value) {
            m_tabs->setCurrentIndex(0);
            return false;
        }
        s.m_nMaxLength = *value;
    }
    if (s.m_bMinLength) {
        const auto value = ReadLength(m_minValue, m_minLength->text(), name);
        if (!value) {
            m_tabs->setCurrentIndex(0);
            return false;
        }
        s.m_nMinLength = *value;
    }
    if (s.m_bLessThan) {
        const auto value = ReadBound(m_lessValue, m_less->text(), name);
        if (!value) {
            m_tabs->setCurrentIndex(0);
            return false;
        }
        s.m_dLessThan = *value;
    }
    if (s.m_bGreaterThan) {
        const auto value = ReadBound(m_greaterValue, m_greater->text(), name);
        if (!value) {
            m_tabs->setCurrentIndex(0);
            return false;
        }
        s.m_dGreaterThan = *value;
    }
    s.m_bRegExp = m_regExp->isChecked();
    s.m_strRegExp = FromQt(m_regExpValue->text());
    s.m_Comparisons = m_comparisons;
    StoreTextValidations(form, index, s);
    return true;
}

// ---- Checkbox ----

class CCheckboxEditor : public CEditor {
public:
    explicit CCheckboxEditor(QWidget* area) : CEditor(area) {
        m_line = MakeLabel(this, IDC_VAL_GROUP_LINE, {}, Rect(3, 2, 222, 32));
        m_line->setTextFormat(Qt::PlainText);
        m_select = MakeControl<QCheckBox>(this, IDC_VAL_CHECK_SELECT, Rect(3, 38, 220, 10));
        m_count = MakeControl<QLineEdit>(this, IDC_VAL_CHECK_COUNT, Rect(127, 37, 30, 12));
        m_after = MakeLabel(this, IDC_VAL_CHECK_AFTER, {}, Rect(15, 52, 208, 20));
        m_after->setTextFormat(Qt::PlainText);
        m_dont =
            MakeCaptioned<QCheckBox>(this, IDC_VAL_CHECK_DONT,
                                     "User should not select this check box", Rect(3, 76, 220, 10));
        // The two choices exclude each other; neither is allowed too.
        QObject::connect(m_select, &QCheckBox::toggled, this, [this](bool on) {
            if (on) {
                m_dont->setChecked(false);
            }
            m_count->setEnabled(on);
        });
        QObject::connect(m_dont, &QCheckBox::toggled, this, [this](bool on) {
            if (on) {
                m_select->setChecked(false);
            }
        });
    }

    void Load(const CHtmlForm& form, int index) override {
        const SGroupDescription d = DescribeCheckboxGroup(form, index);
        const SCheckboxValidationState s = LoadCheckboxValidations(form, index);
        m_member = d.m_bGroupMember;
        m_line->setText(ToQt(d.m_strGroupLine));
        m_line->setVisible(!d.m_strGroupLine.empty());
        m_select->setText(ToQt(d.m_strGroupChoice));
        // A member's choice ends where its number field begins.
        m_select->setGeometry(m_member ? Rect(3, 38, 122, 10) : Rect(3, 38, 220, 10));
        m_count->setVisible(m_member);
        m_after->setVisible(m_member);
        m_after->setText(ToQt(d.m_strAfterCount));
        m_select->setChecked(s.m_nChoice == kCheckboxSelectAtLeast);
        m_dont->setChecked(s.m_nChoice == kCheckboxDontSelect);
        m_count->setText(QString::number(s.m_nMinCount));
        m_count->setEnabled(m_select->isChecked());
    }

    bool Store(CHtmlForm& form, int index) override {
        SCheckboxValidationState s;
        if (m_select->isChecked()) {
            s.m_nChoice = kCheckboxSelectAtLeast;
        } else if (m_dont->isChecked()) {
            s.m_nChoice = kCheckboxDontSelect;
        }
        if (m_member && s.m_nChoice == kCheckboxSelectAtLeast) {
            const auto count =
                ReadLength(m_count, m_select->text(), form.GetElement(index).m_strName, 1);
            if (!count) {
                return false;
            }
            s.m_nMinCount = *count;
        }
        StoreCheckboxValidations(form, index, s);
        return true;
    }

    void SetShown(bool shown) override { SetControlId(m_line, shown ? IDC_VAL_GROUP_LINE : 0); }

private:
    QLabel* m_line = nullptr;
    QCheckBox* m_select = nullptr;
    QLineEdit* m_count = nullptr;
    QLabel* m_after = nullptr;
    QCheckBox* m_dont = nullptr;
    bool m_member = false;
};

// ---- Radio Button ----

class CRadioEditor : public CEditor {
public:
    explicit CRadioEditor(QWidget* area) : CEditor(area) {
        m_line = MakeLabel(this, IDC_VAL_GROUP_LINE, {}, Rect(3, 2, 222, 32));
        m_line->setTextFormat(Qt::PlainText);
        m_dont = MakeCaptioned<QCheckBox>(
            this, IDC_VAL_RADIO_DONT, "User should not select this option", Rect(3, 38, 220, 10));
        m_one = MakeControl<QCheckBox>(this, IDC_VAL_RADIO_ONE, Rect(3, 52, 220, 10));
    }

    void Load(const CHtmlForm& form, int index) override {
        const SGroupDescription d = DescribeRadioGroup(form, index);
        const SRadioValidationState s = LoadRadioValidations(form, index);
        m_line->setText(ToQt(d.m_strGroupLine));
        m_one->setText(ToQt(d.m_strGroupChoice));
        m_one->setToolTip(ToQt(d.m_strGroupChoice));
        m_one->setEnabled(d.m_bGroupMember);
        m_dont->setChecked(s.m_bDontSelect);
        m_one->setChecked(s.m_bSelectOne);
    }

    bool Store(CHtmlForm& form, int index) override {
        SRadioValidationState s;
        s.m_bDontSelect = m_dont->isChecked();
        s.m_bSelectOne = m_one->isChecked();
        StoreRadioValidations(form, index, s);
        return true;
    }

    void SetShown(bool shown) override { SetControlId(m_line, shown ? IDC_VAL_GROUP_LINE : 0); }

private:
    QLabel* m_line = nullptr;
    QCheckBox* m_dont = nullptr;
    QCheckBox* m_one = nullptr;
};

// ---- ListBox ----

class CListboxEditor : public CEditor {
public:
    explicit CListboxEditor(QWidget* area) : CEditor(area) {
        m_dont = MakeCaptioned<QCheckBox>(this, IDC_VAL_LIST_DONT,
                                          "User should not select the following option",
                                          Rect(3, 4, 220, 10));
        m_option = MakeControl<QComboBox>(this, IDC_VAL_LIST_OPTION, Rect(15, 18, 150, 14));
    }

    void Load(const CHtmlForm& form, int index) override {
        const SListboxValidationState s = LoadListboxValidations(form, index);
        m_loaded = s;
        m_option->clear();
        if (const auto* list =
                dynamic_cast<const CListboxData*>(form.GetElement(index).GetData())) {
            for (const SListItem& item : list->m_Items) {
                m_option->addItem(ToQt(item.m_strName));
            }
        }
        m_dont->setChecked(s.m_bDontSelect);
        m_option->setCurrentIndex(s.m_nOption < m_option->count() ? s.m_nOption : -1);
    }

    bool Store(CHtmlForm& form, int index) override {
        SListboxValidationState s;
        s.m_bDontSelect = m_dont->isChecked();
        // An index the options no longer reach is kept as it was stored.
        s.m_nOption = m_option->currentIndex() >= 0 ? m_option->currentIndex() : m_loaded.m_nOption;
        StoreListboxValidations(form, index, s);
        return true;
    }

private:
    QCheckBox* m_dont = nullptr;
    QComboBox* m_option = nullptr;
    SListboxValidationState m_loaded;
};

// ---- File ----

class CFileEditor : public CEditor {
public:
    explicit CFileEditor(QWidget* area) : CEditor(area) {
        m_mandatory = MakeCaptioned<QCheckBox>(this, IDC_VAL_FILE_MANDATORY, "Mandatory Input",
                                               Rect(3, 4, 150, 10));
    }
    void Load(const CHtmlForm& form, int index) override {
        m_mandatory->setChecked(LoadFileValidations(form, index).m_bMandatory);
    }
    bool Store(CHtmlForm& form, int index) override {
        SFileValidationState s;
        s.m_bMandatory = m_mandatory->isChecked();
        StoreFileValidations(form, index, s);
        return true;
    }

private:
    QCheckBox* m_mandatory = nullptr;
};

// ---- Multiline Text ----

class CMultilineEditor : public CEditor {
public:
    explicit CMultilineEditor(QWidget* area) : CEditor(area) {
        m_max = MakeCaptioned<QCheckBox>(this, IDC_VAL_MULTI_MAX, "Max Length", Rect(3, 5, 62, 10));
        m_maxValue = MakeControl<QLineEdit>(this, IDC_VAL_MULTI_MAX_VALUE, Rect(67, 4, 40, 12));
        m_min =
            MakeCaptioned<QCheckBox>(this, IDC_VAL_MULTI_MIN, "Min Length", Rect(3, 21, 62, 10));
        m_minValue = MakeControl<QLineEdit>(this, IDC_VAL_MULTI_MIN_VALUE, Rect(67, 20, 40, 12));
        m_mandatory = MakeCaptioned<QCheckBox>(this, IDC_VAL_MULTI_MANDATORY, "Mandatory Input",
                                               Rect(3, 37, 150, 10));
        Follow(m_max, m_maxValue);
        Follow(m_min, m_minValue);
    }

    void Load(const CHtmlForm& form, int index) override {
        const SMultilineValidationState s = LoadMultilineValidations(form, index);
        m_max->setChecked(s.m_bMaxLength);
        m_maxValue->setText(s.m_bMaxLength ? QString::number(s.m_nMaxLength) : QString());
        m_min->setChecked(s.m_bMinLength);
        m_minValue->setText(s.m_bMinLength ? QString::number(s.m_nMinLength) : QString());
        m_mandatory->setChecked(s.m_bMandatory);
    }

    bool Store(CHtmlForm& form, int index) override {
        SMultilineValidationState s;
        const std::string& name = form.GetElement(index).m_strName;
        s.m_bMaxLength = m_max->isChecked();
        s.m_bMinLength = m_min->isChecked();
        s.m_bMandatory = m_mandatory->isChecked();
        if (s.m_bMaxLength) {
            const auto value = ReadLength(m_maxValue, m_max->text(), name);
            if (!value) {
                return false;
            }
            s.m_nMaxLength = *value;
        }
        if (s.m_bMinLength) {
            const auto value = ReadLength(m_minValue, m_min->text(), name);
            if (!value) {
                return false;
            }
            s.m_nMinLength = *value;
        }
        StoreMultilineValidations(form, index, s);
        return true;
    }

private:
    QCheckBox* m_max = nullptr;
    QLineEdit* m_maxValue = nullptr;
    QCheckBox* m_min = nullptr;
    QLineEdit* m_minValue = nullptr;
    QCheckBox* m_mandatory = nullptr;
};

// ---- Hidden and Button ----

class CNoValidationsEditor : public CEditor {
public:
    explicit CNoValidationsEditor(QWidget* area) : CEditor(area) {
        MakeLabel(this, IDC_VAL_NONE, kNoValidations, Rect(3, 4, 150, 10));
    }
    void Load(const CHtmlForm& /*form*/, int /*index*/) override {}
    bool Store(CHtmlForm& /*form*/, int /*index*/) override { return true; }
};

}  // namespace

struct CValidationEditorArea::SImpl {
    CHtmlForm* form = nullptr;
    int index = -1;
    int type = kTypeUnset;
    const CElementData* data = nullptr;  // the shown element's data when loaded
    QStackedLayout* stack = nullptr;
    QWidget* empty = nullptr;
    std::array<CEditor*, kElementTypeCount> editors{};

    // The shown element is still at its index with the data its editor was
    // loaded from: an editor never stores into an element that was removed,
    // moved or given new data since.
    bool ShownIsCurrent() const {
        return form && index >= 0 && index < form->GetElementCount() && data &&
               form->GetElement(index).GetData() == data && data->GetType() == type;
    }
};

CValidationEditorArea::CValidationEditorArea(QWidget* parent)
    : QWidget(parent), m(std::make_unique<SImpl>()) {
    SetControlId(this, IDC_VAL_AREA);
    setMinimumSize(DialogRect(this, 0, 0, 230, 150).size());
    m->stack = new QStackedLayout(this);
    m->stack->setContentsMargins(0, 0, 0, 0);
    m->empty = new QWidget(this);
    m->stack->addWidget(m->empty);
    auto* none = new CNoValidationsEditor(this);
    m->editors[kTypeTextbox] = new CTextEditor(this);
    m->editors[kTypeCheckbox] = new CCheckboxEditor(this);
    m->editors[kTypeFile] = new CFileEditor(this);
    m->editors[kTypeHidden] = none;
    m->editors[kTypeButton] = none;
    m->editors[kTypeMultiline] = new CMultilineEditor(this);
    m->editors[kTypeListbox] = new CListboxEditor(this);
    m->editors[kTypeRadio] = new CRadioEditor(this);
    for (int t = 0; t < kElementTypeCount; ++t) {
        if (t != kTypeButton) {
            m->stack->addWidget(m->editors[static_cast<std::size_t>(t)]);
        }
    }
    m->stack->setCurrentWidget(m->empty);
}

CValidationEditorArea::~CValidationEditorArea() = default;

void CValidationEditorArea::ShowElement(CHtmlForm* form, int index) {
    m->form = form;
    m->index = -1;
    m->type = kTypeUnset;
    m->data = nullptr;
    if (!form || index < 0 || index >= form->GetElementCount() ||
        !form->GetElement(index).GetData()) {
        m->stack->setCurrentWidget(m->empty);
        return;
    }
    const int type = form->GetElement(index).GetData()->GetType();
    if (type < 0 || type >= kElementTypeCount) {
        m->stack->setCurrentWidget(m->empty);
        return;
    }
    m->index = index;
    m->type = type;
    m->data = form->GetElement(index).GetData();
    CEditor* editor = m->editors[static_cast<std::size_t>(type)];
    for (CEditor* other : m->editors) {
        other->SetShown(other == editor);
    }
    editor->Load(*form, index);
    m->stack->setCurrentWidget(editor);
}

void CValidationEditorArea::StoreShown() {
    TryStoreShown();
}

bool CValidationEditorArea::TryStoreShown() {
    if (!m->ShownIsCurrent()) {
        return true;
    }
    return m->editors[static_cast<std::size_t>(m->type)]->Store(*m->form, m->index);
}

int CValidationEditorArea::ShownElement() const {
    return m->index;
}

}  // namespace formwarden
