// The container and its tabs "Auto Insert Code", "Manualy Copy the Code"
// and "Warnings".
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>
#include <atomic>
#include <exception>
#include <utility>

#include "InsertPages.h"
#include "inslet/InsletControls.h"
#include "ondrelo/ButtonST.h"
#include "ondrelo/Common.h"
#include "ondrelo/CommonUI.h"
#include "ondrelo/OndException.h"
#include "ondrelo/Prompt.h"

namespace inslet {

using ondrelo::SetControlId;

namespace {

std::atomic<int> g_liveContainers{0};

void SetField(QLineEdit* field, const std::string& text) {
    field->setText(ToQt(text));
    field->setCursorPosition(0);
}

}  // namespace

// ---- "Auto Insert Code" ---------------------------------------------------

CPageAutoInsertCode::CPageAutoInsertCode(CInsertWizardModel& model, CAutoInsertState& state)
    : COndPropertyPage(IDD_AUTO_INSERT_CODE), m_model(model), m_state(state) {
    SetCaption(QStringLiteral("Auto Insert Code"));
    m_state.SetHandler([this] { return CallHandler(); });
}

bool CPageAutoInsertCode::OnInitDialog() {
    auto* start =
        MakeOndButton(this, IDC_START_WIZARD, QStringLiteral("Code Insertion Wi&zard ..."),
                      DialogRect(this, 20, 14, 120, 16));
    m_fileLabel =
        MakeLabel(this, IDC_FILE_LABEL, QStringLiteral("File:"), DialogRect(this, 20, 46, 30, 10));
    m_file = MakeReadOnlyField(this, IDC_FILE_FIELD, DialogRect(this, 54, 44, 262, 14));
    m_scriptLabel = MakeLabel(this, IDC_SCRIPT_LABEL, QStringLiteral("Script:"),
                              DialogRect(this, 20, 66, 30, 10));
    m_script = MakeReadOnlyField(this, IDC_SCRIPT_FIELD, DialogRect(this, 54, 64, 262, 14));
    m_open = MakeOndButton(this, IDC_OPEN_IN_BROWSER, QStringLiteral("O&pen In Browser"),
                           DialogRect(this, 54, 90, 90, 16));
    m_regenerate = MakeOndButton(this, IDC_REGENERATE, QStringLiteral("Re&generate"),
                                 DialogRect(this, 152, 90, 90, 16));
    connect(start, &QPushButton::clicked, this, [this] { OnStartWizard(); });
    connect(m_open, &QPushButton::clicked, this, [this] { OnOpenInBrowser(); });
    connect(m_regenerate, &QPushButton::clicked, this, [this] { OnRegenerate(); });
    UpdateControls();
    return true;
}

void CPageAutoInsertCode::UpdateControls() {
    if (!IsCreated()) {
        return;
    }
    m_fileLabel->setVisible(m_state.FileShown());
    SetField(m_file, m_state.FileFieldText());
    m_scriptLabel->setVisible(m_state.ScriptShown());
    SetField(m_script, m_state.ScriptShown() ? m_state.ScriptDestination() : std::string());
    m_open->setEnabled(m_state.Inserted());
    m_regenerate->setEnabled(m_state.RegenerateEnabled());
}

void CPageAutoInsertCode::OnStartWizard() {
    if (!RunInnerWizard(m_model, this)) {
        return;  // Cancel changes nothing
    }
    m_state.FinishRun([this] { UpdateControls(); });
    UpdateControls();
}

void CPageAutoInsertCode::OnOpenInBrowser() {
    const std::string& file = m_state.HtmlFile();
    if (file.empty()) {
        m_open->setEnabled(false);
        return;
    }
    ondrelo::OpenInBrowser(file, ondrelo::ToHwnd(this));
}

void CPageAutoInsertCode::OnRegenerate() {
    if (!m_state.RegenerateEnabled()) {
        return;
    }
    m_state.Regenerate();
    UpdateControls();
}

int CPageAutoInsertCode::CallHandler() {
    if (m_handler == nullptr) {
        return 0;
    }
    // Whatever the client does, nothing it throws may leave through the
    // button's handler: an error is reported and counts as a failure.
    BOOL inserted = 0;
    try {
        m_handler->InsertCode(&inserted);
    } catch (COndException* e) {
        e->ReportError();
        delete e;
        return 0;
    } catch (const std::exception& e) {
        CCommon::ShowErrorMessage(e.what());
        return 0;
    }
    return inserted == 1 ? 1 : 0;
}

// ---- "Manualy Copy the Code" ----------------------------------------------

CPageManualCodeCopy::CPageManualCodeCopy() : COndPropertyPage(IDD_MANUAL_CODE_COPY) {
    SetCaption(QStringLiteral("Manualy Copy the Code"));
}

bool CPageManualCodeCopy::OnInitDialog() {
    auto* group = MakeControl<QGroupBox>(this, IDC_MANUAL_GROUP, DialogRect(this, 4, 2, 328, 146));
    group->setTitle(QStringLiteral("Generated Code"));
    m_scriptText =
        MakeLabel(this, IDC_MANUAL_SCRIPT_TEXT,
                  QStringLiteral("The master JavaScript File need to be placed in the scripts "
                                 "folder. Place the script in a folder easily accessible from the "
                                 "HTML file."),
                  DialogRect(this, 10, 13, 316, 17));
    m_copyScript = MakeOndButton(this, IDC_COPY_JS_FILE, QStringLiteral("Copy &JavaScript File .."),
                                 DialogRect(this, 10, 31, 100, 14));
    m_copiedPath = MakeReadOnlyField(this, IDC_COPIED_PATH, DialogRect(this, 114, 31, 212, 14));
    m_subComment =
        MakeLabel(this, IDC_SUB_COMMENT,
                  QStringLiteral("Copy the following code just after the </HEAD> tag in the HTML "
                                 "page. "),
                  DialogRect(this, 10, 47, 316, 9));
    m_subCode = MakeControl<QPlainTextEdit>(this, IDC_SUB_CODE, DialogRect(this, 10, 57, 266, 24));
    auto* copySub = MakeOndButton(this, IDC_COPY_SUB_CODE, QStringLiteral("&Copy"),
                                  DialogRect(this, 280, 57, 46, 14));
    m_mainComment = MakeLabel(this, IDC_MAIN_COMMENT, QStringLiteral("Copy the Code below"),
                              DialogRect(this, 10, 84, 316, 9));
    m_mainCode =
        MakeControl<QPlainTextEdit>(this, IDC_MAIN_CODE, DialogRect(this, 10, 94, 266, 50));
    m_mainCode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* copyMain = MakeOndButton(this, IDC_COPY_MAIN_CODE, QStringLiteral("Cop&y"),
                                   DialogRect(this, 280, 94, 46, 14));
    for (QPlainTextEdit* box : {m_subCode, m_mainCode}) {
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
    }

    connect(m_copyScript, &QPushButton::clicked, this, [this] { OnCopyScript(); });
    connect(copySub, &QPushButton::clicked, this, [this] { CopyAllToClipboard(m_subCode); });
    connect(copyMain, &QPushButton::clicked, this, [this] { CopyAllToClipboard(m_mainCode); });
    ShowTexts();
    return true;
}

void CPageManualCodeCopy::SetTexts(const SInsertTexts& texts) {
    if (texts.masterScript != m_texts.masterScript) {
        m_strCopiedPath.clear();
    }
    m_texts = texts;
    ShowTexts();
}

void CPageManualCodeCopy::Reset() {
    m_strCopiedPath.clear();
    ShowTexts();
}

void CPageManualCodeCopy::ShowTexts() {
    if (!IsCreated()) {
        return;
    }
    // The instructions are written for a static text, "&&" for one "&".
    // Each has one line: a longer one ends in "..." rather than in half a
    // second line, and its whole text is the label's tool tip.
    for (auto [label, text] : {std::pair{m_subComment, &m_texts.commentSub},
                               std::pair{m_mainComment, &m_texts.commentMain}}) {
        const QString shown = ondrelo::WithoutMnemonic(ToQt(*text));
        label->setWordWrap(false);
        label->ensurePolished();
        const QString fitted =
            label->fontMetrics().elidedText(shown, Qt::ElideRight, label->width());
        label->setText(fitted);
        label->setToolTip(fitted == shown ? QString() : shown);
    }
    m_subCode->setPlainText(ToQt(m_texts.codeSub));
    m_mainCode->setPlainText(ToQt(m_texts.codeMain));
    const bool script = !m_texts.masterScript.empty();
    m_scriptText->setEnabled(script);
    m_copyScript->setEnabled(script);
    m_copiedPath->setEnabled(script);
    SetField(m_copiedPath, script ? m_strCopiedPath : std::string());
}

void CPageManualCodeCopy::OnCopyScript() {
    if (m_texts.masterScript.empty()) {
        return;
    }
    ondrelo::SFileDialogSpec request;
    request.open = false;
    request.owner = ondrelo::ToHwnd(this);
    request.title = "Copy JavaScript File";
    request.defaultExt = "*.js";
    request.fileName = m_texts.masterScript;
    // Again into the folder of the last copy, when there was one.
    std::string lastName;
    SplitForDialog(m_strCopiedPath, request.initialDir, lastName);
    request.filter = "JavaScript Files(*.js)|*.js|All Files (*.*)|*.*||";
    request.hideReadOnly = true;
    request.overwritePrompt = true;
    std::string path;
    if (!ondrelo::Prompt().FileDialog(request, path)) {
        return;
    }
    if (CAutoInsertState::CopyScript(m_texts.masterScript, path)) {
        m_strCopiedPath = path;
        SetField(m_copiedPath, path);
    }
}

// ---- "Warnings" -----------------------------------------------------------

CPageWarnings::CPageWarnings() : COndPropertyPage(IDD_WARNINGS) {
    SetCaption(QStringLiteral("Warnings"));
}

bool CPageWarnings::OnInitDialog() {
    auto* group =
        MakeControl<QGroupBox>(this, IDC_WARNINGS_GROUP, DialogRect(this, 4, 2, 328, 146));
    group->setTitle(QStringLiteral("Warnings"));
    m_text =
        MakeControl<QPlainTextEdit>(this, IDC_WARNINGS_TEXT, DialogRect(this, 10, 14, 316, 128));
    m_text->setReadOnly(true);
    m_text->setPlainText(ToQt(m_strWarnings));
    return true;
}

void CPageWarnings::SetWarnings(const std::string& text) {
    m_strWarnings = text;
    if (IsCreated()) {
        m_text->setPlainText(ToQt(text));
    }
}

// ---- The container --------------------------------------------------------

CCodeInsertDlg::CCodeInsertDlg(QWidget* parent) : COndSubDlg(IDD_CODE_INSERT, parent) {
    ++g_liveContainers;
    SetControlId(this, IDD_CODE_INSERT);
    setFixedSize(DialogRect(this, 0, 0, 350, 180).size());
}

// A warnings page out of the sheet is a hidden child of the container and
// goes with it.
CCodeInsertDlg::~CCodeInsertDlg() {
    --g_liveContainers;
}

int CCodeInsertDlg::LiveCount() {
    return g_liveContainers.load();
}

bool CCodeInsertDlg::OnInitDialog() {
    auto* placeholder =
        MakeControl<QFrame>(this, IDC_SHEET_PLACEHOLDER, DialogRect(this, 7, 7, 336, 166));
    m_sheet = new COndPropertySheet(this);
    SetControlId(m_sheet, IDC_TAB_SHEET);
    m_auto = new CPageAutoInsertCode(m_model, m_state);
    m_manual = new CPageManualCodeCopy;
    m_warnings = new CPageWarnings;
    // Every page builds its controls now, so that the texts handed over
    // before a tab is first shown have their place.
    for (COndPropertyPage* page :
         {static_cast<COndPropertyPage*>(m_auto), static_cast<COndPropertyPage*>(m_manual),
          static_cast<COndPropertyPage*>(m_warnings)}) {
        m_sheet->AddPage(page);
        page->EnsureCreated();
    }
    MoveWindowOver(placeholder, m_sheet, this);
    m_sheet->show();
    return true;
}

void CCodeInsertDlg::SetEventHandler(ICIWEventHandler2* handler) {
    if (m_auto) {
        m_auto->SetEventHandler(handler);
    }
}

void CCodeInsertDlg::InitData(const SInsertTexts& texts) {
    if (!m_sheet) {
        return;
    }
    m_manual->SetTexts(texts);
    m_model.SetScriptName(texts.masterScript);
    m_model.SetPlaceholder(texts.replaceCode);
    m_model.SetObjectName(texts.objectName);

    const int index = m_sheet->indexOf(m_warnings);
    if (texts.warnings.empty()) {
        if (index >= 0) {
            m_sheet->removeTab(index);
            m_warnings->setParent(this);
            m_warnings->hide();
        }
        return;
    }
    if (index < 0) {
        m_sheet->AddPage(m_warnings);
    }
    m_warnings->SetWarnings(texts.warnings);
    m_sheet->SetActivePage(m_sheet->indexOf(m_warnings));
}

void CCodeInsertDlg::Activate() {
    m_state.Activate();
    if (m_auto) {
        m_auto->UpdateControls();
    }
}

void CCodeInsertDlg::SetInsertIntoExistingFile(const std::string& path) {
    m_model.SetInsertIntoExistingFile(path);
    if (m_auto) {
        m_auto->UpdateControls();
    }
}

void CCodeInsertDlg::Reset() {
    m_state.Reset();
    if (m_manual) {
        m_manual->Reset();
    }
    if (m_auto) {
        m_auto->UpdateControls();
    }
}

bool CCodeInsertDlg::IsDialogMessageA(MSG* msg) {
    const int direction = ondrelo::DialogTabDirection(this, msg);
    return direction != 0 && focusNextPrevChild(direction > 0);
}

}  // namespace inslet
