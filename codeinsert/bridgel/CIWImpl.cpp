#include "bridgel/CIWImpl.h"

#include <QLabel>
#include <QWidget>
#include <exception>

#include "inslet/InsletControls.h"
#include "ondrelo/Common.h"
#include "ondrelo/OndException.h"
#include "ondrelo/QtWindow.h"

const char* const kComponentMissingText =
    "The code insertion component is not installed or not registered, so the generated code "
    "cannot be shown here. Please install the program again.";

ICodeWizEventHandler::~ICodeWizEventHandler() = default;

void InitBridgel() {}

CCIWImpl::CCIWImpl(ICodeWizEventHandler* handler) : m_handler(handler) {}

CCIWImpl::~CCIWImpl() {
    Destroy();
}

bool CCIWImpl::Create(HWND placeholder, HWND page) {
    return Create(ondrelo::ToWidget(placeholder), ondrelo::ToWidget(page));
}

bool CCIWImpl::Create(QWidget* placeholder, QWidget* page) {
    if (page == nullptr) {
        return false;
    }
    Destroy();
    QRect area = placeholder ? placeholder->geometry() : QRect(QPoint(0, 0), page->size());
    if (placeholder && placeholder->parentWidget() != page) {
        area.moveTopLeft(page->mapFromGlobal(placeholder->mapToGlobal(QPoint(0, 0))));
    }
    void* itf = nullptr;
    m_createStatus = CoCreateInstance(inslet::CLSID_CodeInsertUI, nullptr, CLSCTX_INPROC_SERVER,
                                      inslet::IID_ICodeInsertUI, &itf);
    if (FAILED(m_createStatus) || itf == nullptr) {
        // The page says what is wrong where the component would be.
        m_missing = new QLabel(page);
        ondrelo::SetControlId(m_missing, inslet::IDC_COMPONENT_MISSING);
        m_missing->setText(QString::fromUtf8(kComponentMissingText) +
                           QStringLiteral(" (status 0x%1)")
                               .arg(static_cast<quint32>(m_createStatus), 8, 16, QChar('0')));
        m_missing->setWordWrap(true);
        m_missing->setAlignment(Qt::AlignCenter);
        m_missing->setFrameShape(QFrame::Box);
        m_missing->setGeometry(area.isEmpty() ? QRect(0, 0, 400, 120) : area);
        m_missing->show();
        if (placeholder) {
            placeholder->hide();
        }
        if (SUCCEEDED(m_createStatus)) {
            m_createStatus = E_NOINTERFACE;
        }
        return false;
    }
    m_pUI = static_cast<ICodeInsertUI*>(itf);
    m_pUI->Create(ondrelo::ToHwnd(page));
    RECT rect;
    rect.left = area.left();
    rect.top = area.top();
    rect.right = area.left() + area.width();
    rect.bottom = area.top() + area.height();
    m_pUI->Move(&rect);
    m_pUI->SetEventHandler(this);
    m_pUI->ShowWindow(TRUE);
    if (placeholder) {
        placeholder->hide();
    }
    return true;
}

void CCIWImpl::Destroy() {
    delete m_missing.data();
    if (m_pUI != nullptr) {
        m_pUI->Destroy();
        ondrelo::com::SafeRelease(m_pUI);
    }
}

void CCIWImpl::SetStaticInfo(const std::string& subCodeComment, const std::string& mainCodeComment,
                             const std::string& mainScript, const std::string& replaceCode,
                             const std::string& objectName) {
    m_strSubComment = subCodeComment;
    m_strMainComment = mainCodeComment;
    m_strMainScript = mainScript;
    m_strReplaceCode = replaceCode;
    m_strObjectName = objectName;
    m_bTextsChanged = true;
}

void CCIWImpl::SetSubCodeComment(const std::string& text) {
    Set(m_strSubComment, text);
}
void CCIWImpl::SetMainCodeComment(const std::string& text) {
    Set(m_strMainComment, text);
}
void CCIWImpl::SetMainScript(const std::string& text) {
    Set(m_strMainScript, text);
}
void CCIWImpl::SetReplaceCode(const std::string& text) {
    Set(m_strReplaceCode, text);
}
void CCIWImpl::SetObjectName(const std::string& text) {
    Set(m_strObjectName, text);
}

void CCIWImpl::Set(std::string& member, const std::string& text) {
    m_bTextsChanged = m_bTextsChanged || member != text;
    member = text;
}

void CCIWImpl::SetInsertToExistingFile(const std::string& path) {
    if (m_pUI) {
        m_pUI->SetInsertIntoExistingFile(path.c_str());
    }
}

void CCIWImpl::SetCode(const std::string& subCode, const std::string& mainCode,
                       const std::string& warnings) {
    m_strSubCode = subCode;
    m_strMainCode = mainCode;
    m_strWarnings = warnings;
    SendTexts();
}

void CCIWImpl::SendTexts() {
    m_bTextsChanged = false;
    if (!m_pUI) {
        return;
    }
    m_pUI->InitData(m_strSubCode.c_str(), m_strMainCode.c_str(), m_strWarnings.c_str(),
                    m_strSubComment.c_str(), m_strMainComment.c_str(), m_strMainScript.c_str(),
                    m_strReplaceCode.c_str(), m_strObjectName.c_str());
}

void CCIWImpl::Activate() {
    if (!m_pUI) {
        return;
    }
    // Texts set after the code still reach the component before it is told.
    if (m_bTextsChanged) {
        SendTexts();
    }
    m_pUI->Activate();
}

void CCIWImpl::Reset() {
    if (m_pUI) {
        m_pUI->Reset();
    }
}

bool CCIWImpl::IsDialogMessage(MSG* msg) {
    if (!m_pUI) {
        return false;
    }
    BOOL used = FALSE;
    return SUCCEEDED(m_pUI->IsDialogMessage(msg, &used)) && used == TRUE;
}

HRESULT CCIWImpl::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, inslet::IID_ICIWEventHandler2)) {
        *ppv = static_cast<ICIWEventHandler2*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CCIWImpl::AddRef() {
    return ++m_ref;
}

ULONG CCIWImpl::Release() {
    return m_ref > 1 ? --m_ref : 1;
}

HRESULT CCIWImpl::InsertCode(BOOL* pbInserted) {
    int result = 0;
    if (m_pUI && m_handler) {
        const char* html = nullptr;
        const char* script = nullptr;
        BOOL create = TRUE;
        BOOL afterBody = TRUE;
        m_pUI->GetData(&html, &script, &create, &afterBody);
        // Copies: the component's texts live only until its next GetData.
        const std::string page = html ? html : "";
        const std::string scriptCopy = script ? script : "";
        try {
            result = m_handler->InsertCode(page, scriptCopy, create != 0, afterBody != 0);
        } catch (COndException* e) {
            e->ReportError();
            delete e;
            result = 0;
        } catch (const std::exception& e) {
            CCommon::ShowErrorMessage(e.what());
            result = 0;
        }
    }
    if (pbInserted) {
        *pbInserted = result == 1 ? 1 : 0;
    }
    return S_OK;
}
