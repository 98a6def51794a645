// The code-insert adapter between a wizard's last page and the insertion
// component CodeInsertUI: the wizard sets its texts here, and the
// component's InsertCode call-back reaches the wizard's own handler with the
// user's choices.
//
//     InitBridgel();                              // once, when the module starts
//     m_pCIW = new CCIWImpl(this);                // page construction
//     m_pCIW->Create(placeholder, this);          // page initialisation
//     m_pCIW->SetStaticInfo(subComment, mainComment, "mover2.js", placeholderText, "Button");
//     m_pCIW->SetCode(sub, main, warnings);       // every showing of the page
//     m_pCIW->Activate();
#pragma once

#include <QLabel>
#include <QPointer>
#include <string>

#include "inslet/CodeInsertUI.h"
#include "ondrelo/Window.h"
#include "ondrelo/bridgel_export.h"

// The wizard's insertion; returns 1 when the code was inserted.
class BRIDGEL_EXPORT ICodeWizEventHandler {
public:
    virtual ~ICodeWizEventHandler();
    virtual int InsertCode(const std::string& pagePath, const std::string& scriptCopyPath,
                           bool createFile, bool placeAfterBody) = 0;
};

// Start-up call of the library; safe to call more than once.
BRIDGEL_EXPORT void InitBridgel();

// The text shown in place of the component when it cannot be created.
BRIDGEL_EXPORT extern const char* const kComponentMissingText;

class BRIDGEL_EXPORT CCIWImpl : public ICIWEventHandler2 {
public:
    explicit CCIWImpl(ICodeWizEventHandler* handler);
    // Destroys the component's window and releases the component.
    virtual ~CCIWImpl();
    CCIWImpl(const CCIWImpl&) = delete;
    CCIWImpl& operator=(const CCIWImpl&) = delete;

    // Creates the component in the page at the placeholder's position. When
    // it cannot be created (not installed or not registered) a message takes
    // its place and the result is false.
    bool Create(HWND placeholder, HWND page);
    bool Create(QWidget* placeholder, QWidget* page);
    void Destroy();

    void SetStaticInfo(const std::string& subCodeComment, const std::string& mainCodeComment,
                       const std::string& mainScript, const std::string& replaceCode,
                       const std::string& objectName);
    void SetSubCodeComment(const std::string& text);
    void SetMainCodeComment(const std::string& text);
    void SetMainScript(const std::string& text);
    void SetReplaceCode(const std::string& text);
    void SetObjectName(const std::string& text);
    void SetInsertToExistingFile(const std::string& path);
    void SetCode(const std::string& subCode, const std::string& mainCode,
                 const std::string& warnings);
    // Hands the latest texts to the component and tells it the last page is shown again.
    void Activate();
    void Reset();
    // Offers a keyboard message to the component; true when it used it.
    bool IsDialogMessage(MSG* msg);

    // The component, or null when it could not be created.
    ICodeInsertUI* Component() const { return m_pUI; }
    // The status of the failed creation (S_OK when it succeeded or was not tried).
    HRESULT CreateStatus() const { return m_createStatus; }

    // The adapter belongs to the page: the counts do not delete it.
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT InsertCode(BOOL* pbInserted) override;

private:
    void SendTexts();
    void Set(std::string& member, const std::string& text);

    ICodeWizEventHandler* m_handler;
    ICodeInsertUI* m_pUI = nullptr;
    QPointer<QLabel> m_missing;
    HRESULT m_createStatus = S_OK;
    ULONG m_ref = 1;
    bool m_bTextsChanged = false;
    std::string m_strSubCode;
    std::string m_strMainCode;
    std::string m_strWarnings;
    std::string m_strSubComment;
    std::string m_strMainComment;
    std::string m_strMainScript;
    std::string m_strReplaceCode;
    std::string m_strObjectName;
};
