#include "inslet/InsertWizardModel.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "ondrelo/Common.h"
#include "ondrelo/Format.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Prompt.h"

namespace inslet {

const char* const kSuccessText = "The Code is Successfully Inserted";

namespace {

const ondrelo::StringTable kStrings = {
    {IDS_COPY_FAILED,
     "Failed copying the JavaScript File to the destination: %s.Please make sure that you have "
     "write access in this folder"},
    {IDS_FILE_EXISTS,
     "The file %s already exists! If you proceed, the file will be overwritten. Proceed?"},
    {IDS_SELECT_SCRIPT_DEST,
     "Please select the destination folder to copy the JavaScript file.Click the \"Change The "
     "Destination Path\" button to select the destination path"},
    {IDS_SELECT_HTML_FILE, "Please select the HTML file to insert the Form"},
};

const ondrelo::SModuleResources kResources{"Inslet", &kStrings, ":/Inslet"};

}  // namespace

void SplitForDialog(const std::string& path, std::string& folder, std::string& name) {
    folder.clear();
    name.clear();
    if (path.empty()) {
        return;
    }
    const std::filesystem::path p(path);
    if (path.back() == '/') {
        folder = path;
        return;
    }
    folder = p.parent_path().string();
    name = p.filename().string();
}

namespace {

// Looks a message up in this component's table, whoever is calling.
std::string Message(unsigned id) {
    ondrelo::CModuleResourceScope scope(&kResources);
    return ondrelo::ResString(id);
}

bool IsExistingFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

const char* const kHtmlFilter = "Html Files(*.html,*.htm)|*.html; *.htm|All Files (*.*)|*.*||";

}  // namespace

const ondrelo::SModuleResources& InsletResources() {
    return kResources;
}

const char* PageCaption(EInnerPage page) {
    switch (page) {
        case EInnerPage::SpecifyHtmlFile:
            return "Specify HTML File";
        case EInnerPage::PlaceScript:
            return "Place the Script";
        case EInnerPage::PlaceCode:
            return "Place the code";
        case EInnerPage::Result:
            return "Create New File";
    }
    return "";
}

CInsertWizardModel::CInsertWizardModel() {
    Reset();
}

bool CInsertWizardModel::HasPage(EInnerPage page) const {
    return std::find(m_pages.begin(), m_pages.end(), page) != m_pages.end();
}

void CInsertWizardModel::Remove(EInnerPage page) {
    m_pages.erase(std::remove(m_pages.begin(), m_pages.end(), page), m_pages.end());
}

SPageButtons CInsertWizardModel::ButtonsFor(EInnerPage page) const {
    switch (page) {
        case EInnerPage::SpecifyHtmlFile:
            return {false, true, false};
        case EInnerPage::PlaceScript: {
            bool last = !m_pages.empty() && m_pages.back() == EInnerPage::PlaceScript;
            return {true, !last, last};
        }
        case EInnerPage::PlaceCode:
        case EInnerPage::Result:
            return {true, false, true};
    }
    return {};
}

void CInsertWizardModel::BeginRun() {
    if (m_strScriptName.empty()) {
        Remove(EInnerPage::PlaceScript);
    }
}

void CInsertWizardModel::OnSpecifyActivated() {
    m_bChosenByBrowsing = false;
    m_strPathAtActivation = m_strPath;
}

void CInsertWizardModel::OnPathEdited(const std::string& path) {
    m_strPath = path;
    m_bChosenByBrowsing = false;
}

bool CInsertWizardModel::Browse() {
    ondrelo::SFileDialogSpec request;
    request.open = m_nFileOption != 0;
    request.title = request.open ? "Open HTML File" : "Create New HTML File";
    request.overwritePrompt = !request.open;
    request.fileMustExist = request.open;
    request.defaultExt = "*.html";
    request.filter = kHtmlFilter;
    request.hideReadOnly = true;
    // Start where the typed path points, so that a path typed by hand and
    // then refined by browsing keeps its folder.
    SplitForDialog(m_strPath, request.initialDir, request.fileName);
    std::string chosen;
    if (!ondrelo::Prompt().FileDialog(request, chosen)) {
        return false;
    }
    m_strPath = chosen;
    m_bChosenByBrowsing = true;
    return true;
}

bool CInsertWizardModel::LeaveSpecifyForward() {
    m_bFocusPath = false;
    if (m_strPath.empty()) {
        CCommon::ShowMessageBox(Message(IDS_SELECT_HTML_FILE), nullptr, MB_OK | MB_ICONWARNING);
        m_bFocusPath = true;
        return false;
    }
    if (m_nFileOption == 0 && !m_bChosenByBrowsing && m_strPath != m_strPathAtActivation &&
        IsExistingFile(m_strPath)) {
        std::string text = ondrelo::FormatText(Message(IDS_FILE_EXISTS), {m_strPath});
        if (CCommon::ShowMessageBox(text, nullptr, MB_YESNO | MB_ICONQUESTION) == IDNO) {
            return false;
        }
    }
    AdjustPages(m_nFileOption == 0);
    return true;
}

void CInsertWizardModel::AdjustPages(bool createNew) {
    Remove(EInnerPage::Result);
    if (createNew || m_strPlaceholder.empty()) {
        Remove(EInnerPage::PlaceCode);
    } else if (!HasPage(EInnerPage::PlaceCode)) {
        m_pages.push_back(EInnerPage::PlaceCode);
    }
    // A fixed file without a script file can leave no page at all when the
    // file is fixed again after a run; the result page keeps the wizard
    // startable then too.
    if (m_pages.size() <= 1) {
        m_pages.push_back(EInnerPage::Result);
        m_strResultText =
            ondrelo::FormatText("File Path: %s. The code will be inserted in this file.",
                                {m_bFileFixed ? m_strFixedFile : m_strPath});
    }
}

void CInsertWizardModel::OnPlaceScriptActivated() {
    if (!m_strDestination.empty()) {
        return;
    }
    std::string folder = COndRegistryHandler::GetPreviousScriptCopyPath();
    if (!folder.empty()) {
        m_strDestination = folder + "/" + m_strScriptName;
    }
}

bool CInsertWizardModel::ChangeDestination() {
    std::string folder, name;
    SplitForDialog(m_strDestination, folder, name);
    if (folder.empty() && COndRegistryHandler::GetPreviousScriptCopyPath().empty()) {
        // No script was placed before: start beside the page, where the
        // script usually goes, rather than wherever the program started.
        SplitForDialog(m_strPath, folder, name);
    }
    std::string chosen;
    if (!CCommon::ShowCopyJSFile(m_strScriptName, chosen, folder)) {
        return false;
    }
    m_strDestination = chosen;
    return true;
}

bool CInsertWizardModel::LeavePlaceScriptForward() {
    if (!m_strDestination.empty()) {
        return true;
    }
    CCommon::ShowMessageBox(Message(IDS_SELECT_SCRIPT_DEST), nullptr, MB_OK | MB_ICONWARNING);
    return false;
}

std::string CInsertWizardModel::DestinationText() const {
    if (m_strDestination.empty()) {
        return {};
    }
    return "The Script will be copied here: " + m_strDestination;
}

void CInsertWizardModel::SetInsertIntoExistingFile(const std::string& path) {
    m_bFileFixed = !path.empty();
    if (!m_bFileFixed) {
        return;
    }
    Remove(EInnerPage::SpecifyHtmlFile);
    m_strFixedFile = path;
    AdjustPages(true);
}

void CInsertWizardModel::Reset() {
    m_nFileOption = 0;
    m_strPath.clear();
    m_bChosenByBrowsing = false;
    m_strPathAtActivation.clear();
    m_strDestination.clear();
    m_nPlaceOption = 0;
    m_strResultText.clear();
    m_bFileFixed = false;
    m_strFixedFile.clear();
    m_bFocusPath = false;
    m_pages = {EInnerPage::SpecifyHtmlFile, EInnerPage::PlaceScript};
}

std::string CInsertWizardModel::HtmlFile() const {
    return m_bFileFixed ? m_strFixedFile : m_strPath;
}

bool CAutoInsertState::CopyScript(const std::string& scriptName, const std::string& destination) {
    std::string source = COndRegistryHandler::GetScriptsPath() + "/" + scriptName;
    if (CCommon::CopyScriptFile(source, destination)) {
        return true;
    }
    CCommon::ShowMessageBox(ondrelo::FormatText(Message(IDS_COPY_FAILED), {destination}), nullptr,
                            MB_OK | MB_ICONERROR);
    return false;
}

void CAutoInsertState::FinishRun(const std::function<void()>& showChoices) {
    m_strHtmlFile = m_model.HtmlFile();
    m_strScriptDestination = m_model.m_strDestination;
    m_bCreateFile = m_model.CreateFile();
    m_bPlaceAfterBody = m_model.PlaceAfterBody();
    m_bRunFinished = true;
    // The page shows the file and the script's place before any message of
    // the copy or the insertion comes up over it.
    if (showChoices) {
        showChoices();
    }
    if (!m_model.ScriptName().empty()) {
        CopyScript(m_model.ScriptName(), m_strScriptDestination);
    }
    Insert();
}

void CAutoInsertState::Insert() {
    int result = m_handler ? m_handler() : 0;
    m_bInserted = result == 1;
    if (m_bInserted) {
        CCommon::ShowMessageBox(kSuccessText, nullptr, MB_OK | MB_ICONINFORMATION);
        m_bChanged = false;
    }
}

void CAutoInsertState::Activate() {
    if (m_bInserted) {
        m_bChanged = true;
    }
}

void CAutoInsertState::Reset() {
    m_bInserted = false;
    m_bChanged = false;
    m_bRunFinished = false;
    m_strHtmlFile.clear();
    m_strScriptDestination.clear();
    m_bCreateFile = true;
    m_bPlaceAfterBody = true;
    m_model.Reset();
}

const std::string& CAutoInsertState::HtmlFile() const {
    return m_model.FileFixed() ? m_model.FixedFile() : m_strHtmlFile;
}

bool CAutoInsertState::CreateFile() const {
    if (m_model.FileFixed()) {
        return true;
    }
    return m_bRunFinished ? m_bCreateFile : m_model.CreateFile();
}

bool CAutoInsertState::PlaceAfterBody() const {
    return m_bRunFinished ? m_bPlaceAfterBody : m_model.PlaceAfterBody();
}

std::string CAutoInsertState::FileFieldText() const {
    return FileShown() ? HtmlFile() : std::string();
}

}  // namespace inslet
