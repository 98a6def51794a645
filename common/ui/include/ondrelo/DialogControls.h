// Building blocks for the pages and dialogs of the wizards: numbered
// controls placed in dialog units, the text conversions at the Qt boundary,
// the Copy buttons' clipboard step, and Tab navigation for IsDialogMessage.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <string>

#include "ondrelo/QtWindow.h"
#include "ondrelo/common_export.h"

class CButtonST;
class QFont;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace ondrelo {

// The dialog font's base units in pixels: the average width of the 52
// letters A-Z and a-z (rounded to whole pixels) and the font's height.
ONDCOMMON_EXPORT QSize DialogBaseUnits(const QFont& font);

// A rectangle given in dialog units, in pixels: a horizontal dialog unit is
// a quarter of the average character width, a vertical one an eighth of the
// character height, both of the dialog's font, so a layout grows and shrinks
// with the font the user chose. Each edge is converted on its own (rounded),
// so controls that touch in dialog units touch in pixels too.
ONDCOMMON_EXPORT QRect DialogRect(const QFont& font, int x, int y, int width, int height);
// The same for the font of the dialog the control goes into.
ONDCOMMON_EXPORT QRect DialogRect(const QWidget* dialog, int x, int y, int width, int height);
// The same for the application's font, for code that has no dialog yet.
ONDCOMMON_EXPORT QRect DialogRect(int x, int y, int width, int height);

// A text of the system (UTF-8 bytes) for a control, and back.
ONDCOMMON_EXPORT QString ToQt(const std::string& text);
ONDCOMMON_EXPORT std::string FromQt(const QString& text);
// Generated code for a text box: its CR LF line ends become plain lines.
ONDCOMMON_EXPORT QString ToQtLines(const std::string& text);
// The other way: a field's lines (LF, or CR LF pasted in) as CR LF lines.
ONDCOMMON_EXPORT std::string FromQtLines(const QString& text);

// A control of the given type with its number, placed in the parent.
template <class T>
T* MakeControl(QWidget* parent, int id, const QRect& rect) {
    auto* control = new T(parent);
    SetControlId(control, id);
    control->setGeometry(rect);
    return control;
}
// The same with a caption (buttons, radio buttons, check boxes).
template <class T>
T* MakeCaptioned(QWidget* parent, int id, const QString& caption, const QRect& rect) {
    auto* control = MakeControl<T>(parent, id, rect);
    control->setText(caption);
    return control;
}
// A word-wrapped static text, aligned top left.
ONDCOMMON_EXPORT QLabel* MakeLabel(QWidget* parent, int id, const QString& text, const QRect& rect);
ONDCOMMON_EXPORT QLineEdit* MakeReadOnlyField(QWidget* parent, int id, const QRect& rect);
// A push button with the wizards' standard look (InitOndButton), never the
// default button of its dialog.
ONDCOMMON_EXPORT CButtonST* MakeOndButton(QWidget* parent, int id, const QString& text,
                                          const QRect& rect);

// The Copy buttons: select the whole text, copy it, remove the selection.
ONDCOMMON_EXPORT void CopyAllToClipboard(QLineEdit* box);
ONDCOMMON_EXPORT void CopyAllToClipboard(QPlainTextEdit* box);

// For a plain Tab or Shift+Tab press meant for the dialog or one of its
// controls: 1 to move forward, -1 to move back; 0 for every other message.
ONDCOMMON_EXPORT int DialogTabDirection(const QWidget* dialog, const MSG* msg);

}  // namespace ondrelo
