// The program's own resources, by number: bitmaps, the icon, the dialog
// and control numbers, the menu commands.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace ondrelo::host {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDB_SPLASH = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDB_TREE_ITEM = 130;
inline constexpr int IDB_TREE_SELECTED = 131;
inline constexpr int IDC_SUPPORT_LINK = 1010;
inline constexpr int IDC_HOME_LINK = 1011;
inline constexpr int IDC_VERSION = 1014;

inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_HELP_CONTENTS = 32771;
inline constexpr int ID_HELP_TUTORIALS = 32772;

// A bitmap of the program; a null pixmap when there is none by that number.
QPixmap LoadProgramBitmap(int id);
// The program icon in all its sizes.
QIcon ProgramIcon();

}  // namespace ondrelo::host
