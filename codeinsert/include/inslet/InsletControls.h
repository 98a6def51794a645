// Numbers of the component's dialogs and controls; ondrelo::FindControl
// finds a control by its number. The inner wizard's buttons use the wizard
// button numbers of Common (ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDCANCEL).
#pragma once

namespace inslet {

// Dialog templates.
inline constexpr int IDD_CODE_INSERT = 130;
inline constexpr int IDD_AUTO_INSERT_CODE = 131;
inline constexpr int IDD_MANUAL_CODE_COPY = 132;
inline constexpr int IDD_WARNINGS = 133;
inline constexpr int IDD_SPECIFY_HTML_FILE = 134;
inline constexpr int IDD_COPY_JS_FILE = 135;
inline constexpr int IDD_PLACE_CODE = 136;
inline constexpr int IDD_INSERT_CODE_RESULT = 137;
inline constexpr int IDD_INNER_WIZARD = 138;

// Container.
inline constexpr int IDC_SHEET_PLACEHOLDER = 1000;
inline constexpr int IDC_TAB_SHEET = 1001;

// "Auto Insert Code".
inline constexpr int IDC_START_WIZARD = 1010;
inline constexpr int IDC_FILE_LABEL = 1011;
inline constexpr int IDC_FILE_FIELD = 1012;
inline constexpr int IDC_SCRIPT_LABEL = 1013;
inline constexpr int IDC_SCRIPT_FIELD = 1014;
inline constexpr int IDC_OPEN_IN_BROWSER = 1015;
inline constexpr int IDC_REGENERATE = 1016;

// "Manualy Copy the Code".
inline constexpr int IDC_MANUAL_GROUP = 1020;
inline constexpr int IDC_MANUAL_SCRIPT_TEXT = 1021;
inline constexpr int IDC_COPY_JS_FILE = 1022;
inline constexpr int IDC_COPIED_PATH = 1023;
inline constexpr int IDC_SUB_COMMENT = 1024;
inline constexpr int IDC_SUB_CODE = 1025;
inline constexpr int IDC_COPY_SUB_CODE = 1026;
inline constexpr int IDC_MAIN_COMMENT = 1027;
inline constexpr int IDC_MAIN_CODE = 1028;
inline constexpr int IDC_COPY_MAIN_CODE = 1029;

// "Warnings".
inline constexpr int IDC_WARNINGS_GROUP = 1030;
inline constexpr int IDC_WARNINGS_TEXT = 1031;

// "Specify HTML File".
inline constexpr int IDC_SPECIFY_GROUP = 1040;
inline constexpr int IDC_CREATE_NEW = 1041;
inline constexpr int IDC_INSERT_EXISTING = 1042;
inline constexpr int IDC_PATH_LABEL = 1043;
inline constexpr int IDC_HTML_PATH = 1044;
inline constexpr int IDC_BROWSE = 1045;

// "Place the Script".
inline constexpr int IDC_PLACE_SCRIPT_GROUP = 1050;
inline constexpr int IDC_PLACE_SCRIPT_TEXT = 1051;
inline constexpr int IDC_DESTINATION = 1052;
inline constexpr int IDC_CHANGE_DESTINATION = 1053;

// "Place the code".
inline constexpr int IDC_PLACE_CODE_GROUP = 1060;
inline constexpr int IDC_PLACE_BEGINNING = 1061;
inline constexpr int IDC_PLACE_LOCATION = 1062;
inline constexpr int IDC_PLACE_TEXT = 1063;
inline constexpr int IDC_PLACEHOLDER_TEXT = 1064;
inline constexpr int IDC_COPY_PLACEHOLDER = 1065;

// "Create New File".
inline constexpr int IDC_RESULT_GROUP = 1070;
inline constexpr int IDC_RESULT_TEXT = 1071;

// The message shown instead of the component when it cannot be created.
inline constexpr int IDC_COMPONENT_MISSING = 1080;

// Help page of the library (Qt resource :/Inslet/html/100.html) on the code
// page's two ways of taking the code, for a wizard's help pane.
inline constexpr unsigned IDH_INSERTING_CODE = 100;

}  // namespace inslet
