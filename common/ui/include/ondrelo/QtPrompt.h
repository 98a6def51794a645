// The prompt of the running program: Qt message boxes and file dialogs.
// The mapping from the message-box styles and filter texts onto Qt is kept
// in plain functions so it can be checked without a modal window.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "ondrelo/Prompt.h"
#include "ondrelo/common_export.h"

namespace ondrelo {

struct SMessageBoxLook {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Buttons (low four bits), icon (0x10 error ... 0x40 information) and the
// default button (0x100 second, 0x200 third) of a style.
ONDCOMMON_EXPORT SMessageBoxLook MapMessageBoxStyle(unsigned style);
// IDOK, IDCANCEL, IDYES, IDNO (and 3, 4, 5 for Abort, Retry, Ignore); a box
// closed without a button gives the cautious answer of the style.
ONDCOMMON_EXPORT int MapMessageBoxResult(QMessageBox::StandardButton button, unsigned style);

// "HTML Files (*.html;*.htm)|*.html; *.htm||" -> {"HTML Files (*.html *.htm)"}:
// pairs of text and patterns up to the empty text; the patterns replace a
// parenthesised list at the end of the text, "*.*" stands for every file.
ONDCOMMON_EXPORT QStringList ConvertFilter(const std::string& filter);
// "*.js" -> "js"; empty for "*.*" or nothing.
ONDCOMMON_EXPORT QString DefaultSuffix(const std::string& defaultExt);

class ONDCOMMON_EXPORT CQtPrompt : public IPrompt {
public:
    int MessageBox(HWND owner, const std::string& caption, const std::string& text,
                   unsigned style) override;
    bool FileDialog(const SFileDialogSpec& request, std::string& path) override;
    int ChooseOfThree(HWND owner, const std::string& caption, const std::string& text,
                      const std::string (&buttons)[3]) override;
};

}  // namespace ondrelo
