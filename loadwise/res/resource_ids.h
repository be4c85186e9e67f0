#pragma once
// Fixed numbers of Loadwise's resources and controls.

namespace loadwise {

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_LOADWISE_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;
constexpr int IDB_CHECKBOXES = 130;

// The window-menu command that opens the About box.
constexpr unsigned IDM_ABOUTBOX = 0x0010;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_LIST_PRIMARY = 1000;
constexpr int IDC_LIST_SECONDARY = 1002;
constexpr int IDC_KIT_TAB = 1012;
constexpr int IDC_DESCRIPTION = 1015;
constexpr int IDC_SELECT_ALL = 1017;
constexpr int IDC_UNSELECT_ALL = 1018;
constexpr int IDC_SELECTED_COUNT = 1019;
constexpr int IDC_LIST_SPECIAL = 1020;
constexpr int IDC_ABOUT = 1021;
constexpr int IDC_MULTIPLAYER_ONLY = 1025;

}  // namespace loadwise
