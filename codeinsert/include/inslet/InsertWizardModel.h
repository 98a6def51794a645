// What the code-insertion component decides, free of any window: the pages
// of its inner wizard and their order, the user's choices on them, the
// checks made when the user leaves a page, and the insertion run that
// copies the script file and calls the client back. The Qt pages only show
// this state and forward the user's actions.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ondrelo/Resources.h"

namespace inslet {

// Message numbers of the component's string table.
inline constexpr unsigned IDS_COPY_FAILED = 105;
inline constexpr unsigned IDS_FILE_EXISTS = 114;
inline constexpr unsigned IDS_SELECT_SCRIPT_DEST = 115;
inline constexpr unsigned IDS_SELECT_HTML_FILE = 116;
extern const char* const kSuccessText;  // "The Code is Successfully Inserted"

// The component's string table, searched before Common's.
const ondrelo::SModuleResources& InsletResources();

enum class EInnerPage { SpecifyHtmlFile, PlaceScript, PlaceCode, Result };
const char* PageCaption(EInnerPage page);

// Where a file dialog starts for a path already typed: its folder and its
// file name ("/site/index.html" -> "/site", "index.html"; a path ending in
// a slash is a folder). Both empty for an empty path.
void SplitForDialog(const std::string& path, std::string& folder, std::string& name);

// Wizard buttons of an inner page.
struct SPageButtons {
    bool back = false;
    bool next = false;
    bool finish = false;
};

class CInsertWizardModel {
public:
    CInsertWizardModel();

    // Texts from the client.
    void SetScriptName(const std::string& name) { m_strScriptName = name; }
    void SetPlaceholder(const std::string& text) { m_strPlaceholder = text; }
    void SetObjectName(const std::string& name) { m_strObjectName = name; }
    const std::string& ScriptName() const { return m_strScriptName; }
    const std::string& Placeholder() const { return m_strPlaceholder; }
    const std::string& ObjectName() const { return m_strObjectName; }

    // The inner wizard's pages, in order.
    const std::vector<EInnerPage>& Pages() const { return m_pages; }
    bool HasPage(EInnerPage page) const;
    SPageButtons ButtonsFor(EInnerPage page) const;

    // Before each run: without a script file the script page goes.
    void BeginRun();

    // "Specify HTML File": 0 = create a new file, 1 = insert into an existing one.
    int m_nFileOption = 0;
    std::string m_strPath;
    bool m_bChosenByBrowsing = false;
    void OnSpecifyActivated();
    // The user typed in the path field: a path changed by hand was not
    // chosen in a dialog, whatever was browsed before.
    void OnPathEdited(const std::string& path);
    // "&Browse ...": a save dialog (create) or an open dialog (existing).
    bool Browse();
    // Leaving the page forward; false keeps the user on it (after a message).
    bool LeaveSpecifyForward();
    // True when the last refusal wants the focus in the path field.
    bool FocusPathField() const { return m_bFocusPath; }

    // "Place the Script".
    std::string m_strDestination;
    void OnPlaceScriptActivated();
    bool ChangeDestination();
    bool LeavePlaceScriptForward();
    // The read-only field's text (empty while there is no destination).
    std::string DestinationText() const;

    // "Place the code": 0 = after the body tag, 1 = at the placeholder.
    int m_nPlaceOption = 0;
    bool PlaceholderControlsEnabled() const { return m_nPlaceOption == 1; }

    // "Create New File".
    std::string m_strResultText;

    // Fixing the file in advance (empty turns the fixing off only).
    void SetInsertIntoExistingFile(const std::string& path);
    bool FileFixed() const { return m_bFileFixed; }
    const std::string& FixedFile() const { return m_strFixedFile; }

    // Back to the initial pages, choices and state.
    void Reset();

    // Result of a finished run: the choices the client reads back.
    std::string HtmlFile() const;
    bool CreateFile() const { return m_nFileOption == 0; }
    bool PlaceAfterBody() const { return m_nPlaceOption == 0; }

private:
    void AdjustPages(bool createNew);
    void Remove(EInnerPage page);

    std::vector<EInnerPage> m_pages;
    std::string m_strScriptName;
    std::string m_strPlaceholder;
    std::string m_strObjectName;
    std::string m_strPathAtActivation;
    bool m_bFileFixed = false;
    std::string m_strFixedFile;
    bool m_bFocusPath = false;
};

// The "Auto Insert Code" tab: the runs of the inner wizard and the client
// call-backs, with the state that enables its buttons.
class CAutoInsertState {
public:
    // The client's insertion; returns 1 when the code was inserted.
    using InsertHandler = std::function<int()>;

    explicit CAutoInsertState(CInsertWizardModel& model) : m_model(model) {}
    void SetHandler(InsertHandler handler) { m_handler = std::move(handler); }

    // After the inner wizard finished: take its choices, let the page show
    // them (showChoices), copy the script file and insert.
    void FinishRun(const std::function<void()>& showChoices = {});
    // "Re&generate": insert again with the same choices.
    void Regenerate() { Insert(); }
    // The wizard showed its last page again.
    void Activate();
    void Reset();

    bool Inserted() const { return m_bInserted; }
    bool ChangedSinceInsertion() const { return m_bChanged; }
    bool OpenEnabled() const { return m_bInserted && !HtmlFile().empty(); }
    bool RegenerateEnabled() const { return m_bInserted && m_bChanged; }
    // The labels and fields are shown once a run finished or a file was fixed.
    bool FileShown() const { return m_bRunFinished || m_model.FileFixed(); }
    bool ScriptShown() const { return m_bRunFinished; }
    // The choices the client reads back: the fixed file when one is fixed,
    // else those of the last finished run. A cancelled run changes none of
    // them, so that "Re&generate" inserts exactly as the run before did.
    const std::string& HtmlFile() const;
    const std::string& ScriptDestination() const { return m_strScriptDestination; }
    bool CreateFile() const;
    bool PlaceAfterBody() const;
    // The file field's text.
    std::string FileFieldText() const;

    // Copies the script file from the installed scripts folder; reports a
    // failure with message 105. Used by the manual-copy tab too.
    static bool CopyScript(const std::string& scriptName, const std::string& destination);

private:
    void Insert();

    CInsertWizardModel& m_model;
    InsertHandler m_handler;
    bool m_bInserted = false;
    bool m_bChanged = false;
    bool m_bRunFinished = false;
    std::string m_strHtmlFile;
    std::string m_strScriptDestination;
    bool m_bCreateFile = true;
    bool m_bPlaceAfterBody = true;
};

}  // namespace inslet
