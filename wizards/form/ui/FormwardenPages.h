// The form wizard's sheet and its five pages: Introduction, Form Elements,
// Validations, Error Strings and Take the Code. The pages show and collect;
// the rules they follow (names, validations, templates, insertion) are the
// core's.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "FormwardenDialogs.h"
#include "bridgel/CIWImpl.h"
#include "formwarden/FormCodeGen.h"
#include "formwarden/FormModel.h"
#include "formwarden/FormPageScanner.h"
#include "formwarden/FormTemplate.h"
#include "ondrelo/OndWizSheet.h"
#include "ondrelo/Resources.h"

class CButtonST;
class CListCtrlEx;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace formwarden {

inline constexpr const char* kFormwardenDisplayName = "HTML Form Wizard";

// Control numbers of the pages.
enum EFormPageControl : int {
    IDC_HELP_PANE = 300,
    // Introduction.
    IDC_INTRO_EXISTING = 301,
    IDC_INTRO_FILE_LABEL = 302,
    IDC_INTRO_FILE = 303,
    IDC_INTRO_BROWSE = 304,
    IDC_INTRO_NEW = 305,
    IDC_INTRO_ANOTHER = 306,
    // Form Elements.
    IDC_FORM_PROPERTIES = 310,
    IDC_FORM_NAME = 311,
    IDC_FORM_ACTION = 312,
    IDC_FORM_METHOD = 313,
    IDC_FORM_TABLE = 314,
    IDC_ELEMENTS_GROUP = 315,
    IDC_ELEMENTS = 316,
    IDC_ADD = 317,
    IDC_REMOVE = 318,
    IDC_MODIFY = 319,
    IDC_MOVE_UP = 320,
    IDC_MOVE_DOWN = 321,
    IDC_TYPE_FIRST = 322,  // one button per type code, 322 to 329
    IDC_LOAD_TEMPLATE = 330,
    // Validations.
    IDC_VALIDATION_ELEMENTS = 340,
    IDC_VALIDATION_AREA = 341,
    IDC_CUSTOM_FUNCTION = 342,
    // Error Strings.
    IDC_ERROR_TREE = 350,
    IDC_ERROR_MESSAGE_LABEL = 351,
    IDC_ERROR_MESSAGE = 352,
    IDC_ERROR_HELP = 353,
    // Take the Code.
    IDC_CODE_PLACE = 360,
    IDC_SAVE_TEMPLATE = 361,
};

// Help pages of the steps.
enum EFormHelp : unsigned {
    IDH_INTRODUCTION = 201,
    IDH_ELEMENTS = 202,
    IDH_VALIDATIONS = 203,
    IDH_ERROR_STRINGS = 204,
    IDH_TAKE_CODE = 205,
};

// The lines and buttons of the offer made when the user goes back to the
// first page with unsaved work.
extern const char* const kRestartOfferText;
inline constexpr const char* kAnotherFormQuestion = "Do you want to save the form as a template?";

class CFormwardenSheet;

// A page of the form wizard: finds its sheet and stores what the other
// pages show before it becomes active (the step buttons leave a page
// without asking it).
class CFormPage : public COndWizPage {
public:
    using COndWizPage::COndWizPage;
    CFormwardenSheet* Sheet() const;
    bool OnSetActive() override;
    // Keeps what the user entered on this page in the form (without
    // messages); the sheet calls it for every page before another one shows.
    virtual void StoreShown() {}

protected:
    void PlaceHelp(const QRect& rect, unsigned htmlId);
};

class CFormIntroPage : public CFormPage {
public:
    CFormIntroPage();
    std::string GetPageLabel() override { return "&Introduction"; }
    bool OnSetActive() override;
    bool OnWizardNext() override;
    void ClearData() override;

    bool ExistingFormChosen() const;
    CFormPageScanner& Scanner() { return m_scanner; }

protected:
    bool OnInitDialog() override;

private:
    void UpdateControls();
    void OnBrowse();
    void OnAnotherForm();
    void ResetChoices();

    CFormPageScanner m_scanner;
    std::string m_strLoadedPath;  // the page read last, empty when none
    bool m_bChoicesLocked = false;
    bool m_bLeft = false;  // Next led on to the later pages
    QRadioButton* m_existing = nullptr;
    QRadioButton* m_new = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLineEdit* m_file = nullptr;
    CButtonST* m_browse = nullptr;
    CButtonST* m_another = nullptr;
};

class CFormElementsPage : public CFormPage {
public:
    CFormElementsPage();
    std::string GetPageLabel() override { return "F&orm Elements"; }
    bool OnSetActive() override;
    bool OnWizardNext() override;
    void StoreShown() override;
    void ClearData() override;

    // The buttons' actions, also reached from the keyboard.
    void AddElement(int presetType);
    void ModifySelected();
    void RemoveSelected();
    void MoveSelected(bool up);
    void LoadTemplate();

    // Selected rows, in ascending order.
    std::vector<int> SelectedRows() const;
    void SelectRow(int row);

protected:
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillProperties();
    void FillList();
    void UpdateButtons();

    QLineEdit* m_name = nullptr;
    QLineEdit* m_action = nullptr;
    QComboBox* m_method = nullptr;
    QCheckBox* m_table = nullptr;
    CListCtrlEx* m_list = nullptr;
    CButtonST* m_add = nullptr;
    CButtonST* m_remove = nullptr;
    CButtonST* m_modify = nullptr;
    CButtonST* m_up = nullptr;
    CButtonST* m_down = nullptr;
};

class CFormValidationsPage : public CFormPage {
public:
    CFormValidationsPage();
    std::string GetPageLabel() override { return "V&alidations"; }
    bool OnSetActive() override;
    bool OnWizardNext() override;
    bool OnWizardBack() override;
    void StoreShown() override;
    void ClearData() override;

    void SelectElement(int row);
    CValidationEditorArea* Area() const { return m_area; }

protected:
    bool OnInitDialog() override;

private:
    bool LeavePage();

    CListCtrlEx* m_list = nullptr;
    CValidationEditorArea* m_area = nullptr;
    bool m_bFilling = false;
};

class CFormErrorStringsPage : public CFormPage {
public:
    CFormErrorStringsPage();
    std::string GetPageLabel() override { return "E&rror Strings"; }
    bool OnSetActive() override;
    bool OnWizardNext() override;
    bool OnWizardBack() override;
    void StoreShown() override;
    void ClearData() override;

    QTreeWidget* Tree() const { return m_tree; }

protected:
    bool OnInitDialog() override;

private:
    void FillTree();
    void ShowNode(QTreeWidgetItem* item);

    QTreeWidget* m_tree = nullptr;
    QPlainTextEdit* m_message = nullptr;
    QLabel* m_help = nullptr;
    // The validation whose message the field shows: element and position.
    int m_nShownElement = -1;
    int m_nShownValidation = -1;
    bool m_bFilling = false;
};

// The last page: the insertion component shows the code and inserts it
// through the wizard's three insertion operations.
class CFormTakeCodePage : public CFormPage, public ICodeWizEventHandler {
public:
    CFormTakeCodePage();
    ~CFormTakeCodePage() override;
    std::string GetPageLabel() override { return "&Take The Code!"; }
    bool OnSetActive() override;
    bool IsDialogMessageA(MSG* msg) override;
    void ClearData() override;
    int InsertCode(const std::string& pagePath, const std::string& scriptCopyPath,
                   bool createFile, bool placeAfterBody) override;
    CCIWImpl* Adapter() const { return m_pCIW; }

protected:
    bool OnInitDialog() override;

private:
    CCIWImpl* m_pCIW;
};

class CFormwardenSheet : public COndWizSheet {
public:
    CFormwardenSheet();
    ~CFormwardenSheet() override;
    void AddPages() override;
    bool IsDialogMessageA(MSG* msg) override;

    // The two forms and which one the later pages work on.
    CHtmlForm& DesignedForm() { return m_designed; }
    CHtmlForm& PageForm() { return m_pageForm; }
    CHtmlForm& FormSource() { return m_bPageFormSource ? m_pageForm : m_designed; }
    bool IsPageFormSource() const { return m_bPageFormSource; }
    void SetFormSource(bool pageForm) { m_bPageFormSource = pageForm; }
    void EnableFormElementsPage(bool enable);

    CFormCodeGen& Generator() { return m_gen; }
    CFormTemplateFile& Templates() { return m_templates; }

    CFormIntroPage& IntroPage() { return *m_intro; }
    CFormElementsPage& ElementsPage() { return *m_elements; }
    CFormValidationsPage& ValidationsPage() { return *m_validations; }
    CFormErrorStringsPage& ErrorStringsPage() { return *m_errors; }
    CFormTakeCodePage& TakeCodePage() { return *m_code; }

    // Stores what every page shown so far holds into the form source.
    void StoreShownPages();
    // Going back to the first page with unsaved work: "&Save" saves a
    // template and restarts, "&Proceed" restarts, "&Cancel" stays. True when
    // the wizard may go to the first page.
    bool OfferRestartOnBack();
    // "Ano&ther Form": the yes/no/cancel question when there is unsaved work.
    // True when the wizard was restarted.
    bool OfferAnotherForm();
    // Clears the data of every page and both forms.
    void Restart();

    // Opens the element editor; tests may put their own in its place.
    std::function<int(QWidget*, CHtmlForm&, int, int)> editElement = &EditFormElement;

private:
    CFormCodeGen m_gen;
    CFormTemplateFile m_templates;
    CHtmlForm m_designed;
    CHtmlForm m_pageForm;
    bool m_bPageFormSource = false;
    CFormIntroPage* m_intro;
    CFormElementsPage* m_elements;
    CFormValidationsPage* m_validations;
    CFormErrorStringsPage* m_errors;
    CFormTakeCodePage* m_code;
};

}  // namespace formwarden
