// Every question the program asks the user (message boxes and the file
// dialogs) goes through one prompt interface, so that the default Qt dialogs
// can be replaced by a script in tests.
#pragma once

#include <string>
#include <vector>

#include "ondrelo/Window.h"
#include "ondrelo/commoncore_export.h"

// Message box styles: buttons in the low four bits, icon above.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;

// Buttons a message box returns.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

namespace ondrelo {

enum class EPromptKind { MessageBox, OpenFile, SaveFile };

// A file dialog as the caller wants it. The filter uses the "Text|pattern|...||" form.
struct SFileDialogSpec {
    bool open = true;  // open dialog, else save-as dialog
    HWND owner = nullptr;
    std::string title;
    std::string defaultExt;
    std::string fileName;  // initial file name
    std::string filter;
    std::string initialDir;  // empty: let the dialog choose
    bool hideReadOnly = true;
    bool fileMustExist = false;
    bool overwritePrompt = false;
    bool resizable = true;
};

class ONDCORE_EXPORT IPrompt {
public:
    virtual ~IPrompt();
    // Shows a modal message box; returns the button pressed (IDOK, IDCANCEL, IDYES, IDNO).
    virtual int MessageBox(HWND owner, const std::string& caption, const std::string& text,
                           unsigned style) = 0;
    // Shows a file dialog; on OK sets path to the chosen full path and returns true.
    virtual bool FileDialog(const SFileDialogSpec& request, std::string& path) = 0;
    // Asks with three buttons of the caller's captions (such as "&Save",
    // "&Proceed", "&Cancel"); returns 0, 1 or 2 for the button pressed, 2
    // when the box is closed. The base asks a Yes/No/Cancel message box, so
    // Yes stands for the first button, No for the second and Cancel for the
    // third wherever no window shows the captions.
    virtual int ChooseOfThree(HWND owner, const std::string& caption, const std::string& text,
                              const std::string (&buttons)[3]);
};

// The prompt in use. Until one is installed it is a non-interactive prompt
// that writes the question to standard error and takes the cautious answer
// (No, Cancel; dialogs cancelled).
ONDCORE_EXPORT IPrompt& Prompt();
// Installs a prompt (null restores the non-interactive one); returns the previous one.
ONDCORE_EXPORT IPrompt* SetPrompt(IPrompt* prompt);

// The button a message box of the given style returns when nobody is there
// to choose: the cautious one.
ONDCORE_EXPORT int CautiousAnswer(unsigned style);

// Something that shows a text, such as an edit field on a page.
class ONDCORE_EXPORT ITextField {
public:
    virtual ~ITextField();
    virtual void SetText(const std::string& text) = 0;
};

}  // namespace ondrelo
