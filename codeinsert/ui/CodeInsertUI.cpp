// The class CodeInsertUI and the library's entry points: the component
// object owns one container window and the two texts GetData hands out.
#include <QPointer>

#include "InsertPages.h"
#include "inslet/CodeInsertUI.h"
#include "ondrelo/ModuleLibrary.h"
#include "ondrelo/QtModuleLibrary.h"

namespace inslet {
namespace {

const char* Text(const char* text) {
    return text ? text : "";
}

class CCodeInsertUI : public ICodeInsertUI {
public:
    CCodeInsertUI() = default;
    CCodeInsertUI(const CCodeInsertUI&) = delete;
    CCodeInsertUI& operator=(const CCodeInsertUI&) = delete;
    // The last release takes the window with it, unless its parent already did.
    virtual ~CCodeInsertUI() { delete m_dlg.data(); }

    void* GetInterface(REFIID riid) {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ICodeInsertUI)) {
            return static_cast<ICodeInsertUI*>(this);
        }
        return nullptr;
    }

    HRESULT Create(HWND hwndParent) override {
        ondrelo::CModuleResourceScope scope(&InsletResources());
        delete m_dlg.data();
        m_dlg = new CCodeInsertDlg(ondrelo::ToWidget(hwndParent));
        m_dlg->SetEventHandler(m_handler);
        m_dlg->Create();
        return S_OK;
    }

    HRESULT Move(const RECT* pRect) override {
        if (m_dlg.isNull()) {
            return S_FALSE;
        }
        if (pRect != nullptr) {
            m_dlg->move(pRect->left, pRect->top);
        }
        return S_OK;
    }

    HRESULT Destroy() override {
        delete m_dlg.data();
        return S_OK;
    }

    HRESULT IsDialogMessage(MSG* pMsg, BOOL* pResult) override {
        if (m_dlg.isNull()) {
            return S_OK;
        }
        const bool used = m_dlg->IsDialogMessageA(pMsg);
        if (pResult != nullptr) {
            *pResult = used ? TRUE : FALSE;
        }
        return S_OK;
    }

    HRESULT ShowWindow(BOOL bShow) override {
        if (!m_dlg.isNull()) {
            m_dlg->setVisible(bShow == 1);
        }
        return S_OK;
    }

    HRESULT SetEventHandler(ICIWEventHandler2* pEventHandler) override {
        m_handler = pEventHandler;
        if (!m_dlg.isNull()) {
            m_dlg->SetEventHandler(pEventHandler);
        }
        return S_OK;
    }

    HRESULT InitData(const char* lpszCodeSub, const char* lpszCodeMain, const char* lpszWarnings,
                     const char* lpszComentSubCode, const char* lpszComentMainCode,
                     const char* lpszMasterScript, const char* lpszReplaceCode,
                     const char* lpszObjectName) override {
        if (m_dlg.isNull()) {
            return S_OK;
        }
        ondrelo::CModuleResourceScope scope(&InsletResources());
        // The texts are copied; the caller's buffers may go after the call.
        m_dlg->InitData({Text(lpszCodeSub), Text(lpszCodeMain), Text(lpszWarnings),
                         Text(lpszComentSubCode), Text(lpszComentMainCode), Text(lpszMasterScript),
                         Text(lpszReplaceCode), Text(lpszObjectName)});
        return S_OK;
    }

    HRESULT Activate() override {
        if (!m_dlg.isNull()) {
            m_dlg->Activate();
        }
        return S_OK;
    }

    HRESULT GetData(const char** ppszHtmlFilePath, const char** ppszScriptCopyPath,
                    BOOL* pbCreateFile, BOOL* pbPlaceafterBody) override {
        bool create = true;
        bool afterBody = true;
        if (m_dlg.isNull()) {
            m_strHtmlFile.clear();
            m_strScriptCopy.clear();
        } else {
            const CAutoInsertState& state = m_dlg->State();
            m_strHtmlFile = state.HtmlFile();
            m_strScriptCopy = state.ScriptDestination();
            create = state.CreateFile();
            afterBody = state.PlaceAfterBody();
        }
        if (ppszHtmlFilePath != nullptr) {
            *ppszHtmlFilePath = m_strHtmlFile.c_str();
        }
        if (ppszScriptCopyPath != nullptr) {
            *ppszScriptCopyPath = m_strScriptCopy.c_str();
        }
        if (pbCreateFile != nullptr) {
            *pbCreateFile = create ? TRUE : FALSE;
        }
        if (pbPlaceafterBody != nullptr) {
            *pbPlaceafterBody = afterBody ? TRUE : FALSE;
        }
        return S_OK;
    }

    HRESULT SetInsertIntoExistingFile(const char* lpszFileName) override {
        if (!m_dlg.isNull()) {
            m_dlg->SetInsertIntoExistingFile(Text(lpszFileName));
        }
        return S_OK;
    }

    HRESULT Reset() override {
        m_strHtmlFile.clear();
        m_strScriptCopy.clear();
        if (!m_dlg.isNull()) {
            m_dlg->Reset();
        }
        return S_OK;
    }

private:
    QPointer<CCodeInsertDlg> m_dlg;
    ICIWEventHandler2* m_handler = nullptr;
    std::string m_strHtmlFile;
    std::string m_strScriptCopy;
};

// The library serves CodeInsertUI; it stays loaded while a container window
// lives.
ondrelo::CModuleLibrary g_library(
    InsletResources(),
    {ondrelo::ModuleClassEntry<CCodeInsertUI>(CLSID_CodeInsertUI,
                                              ondrelo::modules::kCodeInsertUIScript)},
    ondrelo::modules::kInsletTypeLib,
    ondrelo::QtModuleLibraryHooks([] { return CCodeInsertDlg::LiveCount() > 0; }));

}  // namespace
}  // namespace inslet

ONDRELO_MODULE_LIBRARY(inslet::g_library)
