// The popup wizard's code generator: the popup script (text 1), the HTML
// that calls it (text 2: a button, a link or a body tag), the instruction
// line (text 3) and the warnings; and the insertion of that code into a page.
#pragma once

#include <string>

#include "ondrelo/CodeGen.h"
#include "popkin/PopupScanner.h"

namespace popkin {

// How the popup is opened.
enum EInvocationKind : int {
    kInvokeButton = 0,
    kInvokeLink = 1,
    kInvokePageEntry = 2,
    kInvokePageExit = 3,
};

// Runtime script that the once-per-visitor and reappear options rely on.
inline constexpr const char* kCookieScriptFileName = "cookies.js";
// Days the cookie of a once-per-visitor popup is kept.
inline constexpr int kOncePerVisitorDays = 1000;
// Title of a page the wizard creates for its code.
inline constexpr const char* kNewPageTitle = "Popup Wizard Generated File";

// Messages of the insertion.
inline constexpr const char* kMsgOpenFailed = "Failed opening the Html file";
inline constexpr const char* kMsgScriptInsertFailed =
    "Could not insert the Script. Please check whether the HTML file is formated properly";
inline constexpr const char* kMsgAfterBodyFailed = "Failed inserting the code after <body> tag.";
inline constexpr const char* kMsgReplaceFailed = "Could not find the Replace code in the file";

// Warnings of the generation.
inline constexpr const char* kWarnEmptyUrl = "The URL mentioned for the Popup is empty!";
inline constexpr const char* kWarnNegativeLocation =
    " The location of the window contain negative values. It may not work in some browsers.";
inline constexpr const char* kWarnZeroSize =
    "The Width/Height is zero!. The popup may not work in some browsers.";
inline constexpr const char* kWarnEmptyButtonLabel = "The label of the button is empty!";
inline constexpr const char* kWarnEmptyLinkLabel = "The label of the link is empty!";

// Everything the pages collect about one popup.
struct SPopupSettings {
    int center = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int location = 0;
    int scrollbars = 0;
    int menubar = 0;
    int toolbar = 0;
    int status = 0;
    int resizable = 0;
    int directories = 0;
    int urlMode = 0;
    std::string url;
    std::string htmlContent;
    int kind = kInvokePageEntry;
    std::string label;
    int popUnder = 0;
    int oncePerVisitor = 0;
    int reappearDays = 0;
    int delaySeconds = 0;

    // The cookie decides whether the popup opens: once per visitor, or
    // again only after some days.
    bool UsesCookie() const { return oncePerVisitor == 1 || reappearDays > 0; }
    bool operator==(const SPopupSettings&) const = default;
};

class CPopupCodeGen : public CCodeGen {
public:
    CPopupCodeGen();
    ~CPopupCodeGen() override;
    CPopupCodeGen(const CPopupCodeGen&) = delete;
    CPopupCodeGen& operator=(const CPopupCodeGen&) = delete;

    // Each setter marks the generator modified only when a value differs.
    void SetPosition(int center, int left, int top, int width, int height);
    void SetFeatures(int location, int scrollbars, int menubar, int toolbar, int status,
                     int resizable, int directories);
    void SetContent(int urlMode, const std::string& url, const std::string& htmlContent);
    void SetInvocation(int kind, const std::string& label);
    void SetOptions(int popUnder, int oncePerVisitor, int reappearDays, int delaySeconds);

    const SPopupSettings& Settings() const { return m_settings; }
    // Name of the function of the last generation.
    const std::string& GetFunctionName() const { return m_strFunctionName; }

    // Builds the three texts and the warnings, with new names; returns 1.
    int GenerateCode() override;

    // What the insertion component needs: the placeholder a user pastes into
    // a page, the object's name, and the script to copy ("cookies.js" when
    // the cookie is used; otherwise scriptFile is left as passed).
    void GetInsertInfo(std::string& placeholder, std::string& objectName,
                       std::string& scriptFile) const;

    // Puts freshly generated code into the page. Returns 1 when the page was
    // written, 0 after telling the user why not. File errors while reading
    // or writing the page are raised to the caller.
    int InsertCode(const std::string& pagePath, int createNewFile, int placeAfterBody);

    CPopupScanner& GetScanner() { return m_scanner; }

private:
    template <class T>
    void Update(T& field, const T& value) {
        if (!(field == value)) {
            field = value;
            SetModified(true);
        }
    }

    std::string BuildScript(const std::string& windowName);
    std::string BuildCallingHtml();
    std::string CallExpression() const;
    bool InsertScriptIntoHead(const std::string& script);
    void AddBodyAttribute(const std::string& attribute);

    SPopupSettings m_settings;
    std::string m_strFunctionName;
    CPopupScanner m_scanner;
};

// The parts of the generated code that carry user text, made safe for where
// they stand. A JavaScript string between double quotes: backslash and
// double quote are escaped, and "</script" is written "<\/script" so that it
// cannot end the page's script element.
std::string EscapeForScriptString(const std::string& text);
// An attribute value between double quotes: a double quote becomes &quot;.
std::string EscapeForAttribute(const std::string& text);

}  // namespace popkin
