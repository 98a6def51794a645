// Start and stop of the Common library's Qt layer and the two window helpers
// every wizard page uses.
#pragma once

#include <functional>
#include <string>

#include "ondrelo/Window.h"
#include "ondrelo/common_export.h"

class CButtonST;
class QUrl;
class QWidget;

// Installs the Qt message boxes and file dialogs as the prompt and makes
// Common's Qt resources (icons 14000 and 14001, help pages) reachable.
// Every library calls it once when it starts; calls nest.
ONDCOMMON_EXPORT void InitCommonDLL();
// Undoes InitCommonDLL when the last caller ends.
ONDCOMMON_EXPORT void TermCommonDLL();

// Puts the target where the placeholder is (in the parent's client
// coordinates, with the placeholder's size), repaints it and hides the
// placeholder. Null handles do nothing.
ONDCOMMON_EXPORT void MoveWindowOver(HWND placeholder, HWND target, HWND parent);
ONDCOMMON_EXPORT void MoveWindowOver(QWidget* placeholder, QWidget* target, QWidget* parent);

// The standard look of a wizard button: blue text in every state, a light
// blue background under the mouse and the window colour otherwise.
ONDCOMMON_EXPORT void InitOndButton(CButtonST& button);

namespace ondrelo {
// Paints the widget and, through the palette, its labels and boxes on the
// system window colour.
ONDCOMMON_EXPORT void UseWindowBackground(QWidget* widget);

// Opens a local file (a page, a help file) with the desktop's program for
// it. A file that does not exist, or no program that could be started, is
// reported in an error message box and gives false; nothing fails silently.
ONDCOMMON_EXPORT bool OpenInBrowser(const std::string& path, HWND owner = nullptr);
// What hands the address to the desktop (QDesktopServices by default);
// tests put their own in. Returns the one it replaces.
using UrlOpener = std::function<bool(const QUrl&)>;
ONDCOMMON_EXPORT UrlOpener SetUrlOpener(UrlOpener opener);
// The two messages of OpenInBrowser, with %s for the path.
ONDCOMMON_EXPORT extern const char* const kBrowserFileMissing;
ONDCOMMON_EXPORT extern const char* const kBrowserNotStarted;
}  // namespace ondrelo
