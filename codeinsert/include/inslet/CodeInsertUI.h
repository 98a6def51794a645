// The insertion component's two interfaces as its clients see them:
// ICodeInsertUI, implemented by the class CodeInsertUI in the Inslet
// library, and ICIWEventHandler2, the call-back a client implements to
// insert the code. The operations are declared in slot order; texts are
// zero-terminated 8-bit (UTF-8) strings.
#pragma once

#include <cstdint>

#include "ondrelo/ModuleClasses.h"
#include "ondrelo/Window.h"
#include "ondrelo/com.h"

namespace inslet {

inline constexpr CLSID CLSID_CodeInsertUI = ondrelo::modules::CLSID_CodeInsertUI;
inline constexpr IID IID_ICodeInsertUI = ondrelo::modules::IID_ICodeInsertUI;
inline constexpr IID IID_ICIWEventHandler2 = ondrelo::modules::IID_ICIWEventHandler2;
inline constexpr GUID LIBID_INSLETLib = ondrelo::modules::LIBID_Inslet;

}  // namespace inslet

// Implemented by the client; the component calls it while it handles one of
// its own buttons.
struct ICIWEventHandler2 : IUnknown {
    // Insert the code as GetData describes; *pbInserted = 1 on success.
    virtual HRESULT InsertCode(BOOL* pbInserted) = 0;

protected:
    ~ICIWEventHandler2() = default;
};

struct ICodeInsertUI : IUnknown {
    // Creates the container window as a child of the parent.
    virtual HRESULT Create(HWND hwndParent) = 0;
    // Moves the container's top-left corner to the rectangle's; 1 without a container.
    virtual HRESULT Move(const RECT* pRect) = 0;
    virtual HRESULT Destroy() = 0;
    // Offers a keyboard message for dialog navigation; *pResult says whether it was used.
    virtual HRESULT IsDialogMessage(MSG* pMsg, BOOL* pResult) = 0;
    // Shows the container for 1, hides it for anything else.
    virtual HRESULT ShowWindow(BOOL bShow) = 0;
    // No reference is taken: the caller keeps the handler alive.
    virtual HRESULT SetEventHandler(ICIWEventHandler2* pEventHandler) = 0;
    virtual HRESULT InitData(const char* lpszCodeSub, const char* lpszCodeMain,
                             const char* lpszWarnings, const char* lpszComentSubCode,
                             const char* lpszComentMainCode, const char* lpszMasterScript,
                             const char* lpszReplaceCode, const char* lpszObjectName) = 0;
    virtual HRESULT Activate() = 0;
    // The two texts stay valid until the next GetData, Reset or the release.
    virtual HRESULT GetData(const char** ppszHtmlFilePath, const char** ppszScriptCopyPath,
                            BOOL* pbCreateFile, BOOL* pbPlaceafterBody) = 0;
    virtual HRESULT SetInsertIntoExistingFile(const char* lpszFileName) = 0;
    virtual HRESULT Reset() = 0;

protected:
    ~ICodeInsertUI() = default;
};
