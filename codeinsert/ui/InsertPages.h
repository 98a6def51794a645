// The windows of the insertion component: the container with its three
// tabs and the modal inner wizard with its four pages. They show the state
// of CInsertWizardModel / CAutoInsertState and forward the user's actions;
// every decision is taken there.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <string>

#include "inslet/CodeInsertUI.h"
#include "inslet/InsertWizardModel.h"
#include "ondrelo/DialogControls.h"
#include "ondrelo/OndPropertySheet.h"
#include "ondrelo/QtWindow.h"

class CButtonST;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace inslet {

using ondrelo::CopyAllToClipboard;
using ondrelo::DialogRect;
using ondrelo::FromQt;
using ondrelo::MakeCaptioned;
using ondrelo::MakeControl;
using ondrelo::MakeLabel;
using ondrelo::MakeOndButton;
using ondrelo::MakeReadOnlyField;
// The component's texts are mostly generated code: shown with plain line ends.
inline QString ToQt(const std::string& text) {
    return ondrelo::ToQtLines(text);
}

// Everything InitData hands over.
struct SInsertTexts {
    std::string codeSub;
    std::string codeMain;
    std::string warnings;
    std::string commentSub;
    std::string commentMain;
    std::string masterScript;
    std::string replaceCode;
    std::string objectName;
};

// ---- The inner wizard ---------------------------------------------------

class CPageSpecifyHtmlFile : public QWidget {
public:
    explicit CPageSpecifyHtmlFile(CInsertWizardModel& model, QWidget* parent);
    void OnSetActive();
    QLineEdit* PathField() const { return m_path; }

private:
    CInsertWizardModel& m_model;
    QRadioButton* m_create;
    QRadioButton* m_existing;
    QLineEdit* m_path;
};

class CCopyJSFilePage : public QWidget {
public:
    explicit CCopyJSFilePage(CInsertWizardModel& model, QWidget* parent);
    void OnSetActive();

private:
    void ShowDestination();

    CInsertWizardModel& m_model;
    QLineEdit* m_destination;
};

class CPagePlaceCode : public QWidget {
public:
    explicit CPagePlaceCode(CInsertWizardModel& model, QWidget* parent);
    void OnSetActive();

private:
    void EnableControls();

    CInsertWizardModel& m_model;
    QRadioButton* m_beginning;
    QRadioButton* m_location;
    QLabel* m_text;
    QLineEdit* m_placeholder;
    QPushButton* m_copy;
};

class CPageInsertCodeResult : public QWidget {
public:
    explicit CPageInsertCodeResult(CInsertWizardModel& model, QWidget* parent);
    void OnSetActive();

private:
    CInsertWizardModel& m_model;
    QLineEdit* m_result;
};

// The modal wizard: its page list is the model's, rebuilt as the user goes.
class CInnerWizardDlg : public QDialog {
public:
    CInnerWizardDlg(CInsertWizardModel& model, QWidget* parent);
    EInnerPage CurrentPage() const { return m_current; }

private:
    QWidget* PageWidget(EInnerPage page) const;
    void ShowPage(EInnerPage page);
    void OnBack();
    void OnNext();
    void OnFinish();

    CInsertWizardModel& m_model;
    QStackedWidget* m_stack;
    CPageSpecifyHtmlFile* m_specify;
    CCopyJSFilePage* m_script;
    CPagePlaceCode* m_place;
    CPageInsertCodeResult* m_result;
    QPushButton* m_back;
    QPushButton* m_next;
    QPushButton* m_finish;
    EInnerPage m_current = EInnerPage::SpecifyHtmlFile;
};

// Runs the inner wizard modally over the owner; true on Finish.
bool RunInnerWizard(CInsertWizardModel& model, QWidget* owner);

// ---- The tabs -----------------------------------------------------------

class CPageAutoInsertCode : public COndPropertyPage {
public:
    CPageAutoInsertCode(CInsertWizardModel& model, CAutoInsertState& state);
    void SetEventHandler(ICIWEventHandler2* handler) { m_handler = handler; }
    // Shows the state: the two fields with their labels and the buttons.
    void UpdateControls();

protected:
    bool OnInitDialog() override;

private:
    void OnStartWizard();
    void OnOpenInBrowser();
    void OnRegenerate();
    int CallHandler();

    CInsertWizardModel& m_model;
    CAutoInsertState& m_state;
    ICIWEventHandler2* m_handler = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLineEdit* m_file = nullptr;
    QLabel* m_scriptLabel = nullptr;
    QLineEdit* m_script = nullptr;
    CButtonST* m_open = nullptr;
    CButtonST* m_regenerate = nullptr;
};

class CPageManualCodeCopy : public COndPropertyPage {
public:
    CPageManualCodeCopy();
    void SetTexts(const SInsertTexts& texts);
    void Reset();

protected:
    bool OnInitDialog() override;

private:
    void ShowTexts();
    void OnCopyScript();

    SInsertTexts m_texts;
    std::string m_strCopiedPath;
    QLabel* m_scriptText = nullptr;
    CButtonST* m_copyScript = nullptr;
    QLineEdit* m_copiedPath = nullptr;
    QLabel* m_subComment = nullptr;
    QPlainTextEdit* m_subCode = nullptr;
    QLabel* m_mainComment = nullptr;
    QPlainTextEdit* m_mainCode = nullptr;
};

class CPageWarnings : public COndPropertyPage {
public:
    CPageWarnings();
    void SetWarnings(const std::string& text);

protected:
    bool OnInitDialog() override;

private:
    std::string m_strWarnings;
    QPlainTextEdit* m_text = nullptr;
};

// ---- The container ------------------------------------------------------

class CCodeInsertDlg : public COndSubDlg {
public:
    explicit CCodeInsertDlg(QWidget* parent);
    ~CCodeInsertDlg() override;

    void SetEventHandler(ICIWEventHandler2* handler);
    void InitData(const SInsertTexts& texts);
    void Activate();
    void SetInsertIntoExistingFile(const std::string& path);
    void Reset();
    bool IsDialogMessageA(MSG* msg);

    const CAutoInsertState& State() const { return m_state; }
    COndPropertySheet* Sheet() const { return m_sheet; }

    // Containers alive in this process (the library stays loaded while any is).
    static int LiveCount();

protected:
    bool OnInitDialog() override;

private:
    CInsertWizardModel m_model;
    CAutoInsertState m_state{m_model};
    COndPropertySheet* m_sheet = nullptr;
    CPageAutoInsertCode* m_auto = nullptr;
    CPageManualCodeCopy* m_manual = nullptr;
    // Owned by the container while it is not a tab.
    CPageWarnings* m_warnings = nullptr;
};

}  // namespace inslet
