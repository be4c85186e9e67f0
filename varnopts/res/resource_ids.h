#pragma once
// Resource numbers of varnopts: dialog templates, icon, string table entries,
// control ids and the system-menu command. Each control's id is also its
// widget's object name, by which the tests find it.

namespace varnopts::res {

// Dialog templates and the program icon.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_VARNOPTIONS_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;

// The window-menu command that opens the About box.
constexpr unsigned IDM_ABOUTBOX = 0x0010;

// Controls of the options window (template 102).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = -1;
constexpr int IDC_COMBO_MP_MODE = 1000;
constexpr int IDC_INSTALL = 1001;
constexpr int IDC_HELP_BUTTON = 1006;
constexpr int IDC_SLIDER_MOUSE = 1007;
constexpr int IDC_RESET = 1009;
constexpr int IDC_SAVE_MOUSE = 1010;
constexpr int IDC_COMBO_SOUND = 1013;
constexpr int IDC_COMBO_GOCODES = 1014;
constexpr int IDC_START_R6 = 1016;
constexpr int IDC_GROUP_INSTALL = 1017;
constexpr int IDC_LABEL_SOUND = 1019;
constexpr int IDC_LABEL_GOCODES = 1020;
constexpr int IDC_GROUP_MOUSE = 1021;
constexpr int IDC_LABEL_LOW = 1022;
constexpr int IDC_LABEL_HIGH = 1023;
constexpr int IDC_ABOUT = 1025;
constexpr int IDC_START_EW = 1026;
constexpr int IDC_COMBO_QUICK_WEAPON = 1030;
constexpr int IDC_UNINSTALL_ALL = 1032;
constexpr int IDC_LABEL_MP_MODE = 1033;

// Controls of the About box (template 100).
constexpr int IDC_ABOUT_ICON = 1100;
constexpr int IDC_ABOUT_VERSION = 1101;

// String table entries.
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDS_MP_TANGO = 103;
constexpr int IDS_MP_PISTOLS = 105;
constexpr int IDS_SOUND_HIGH = 107;
constexpr int IDS_SOUND_LOW = 108;
constexpr int IDS_GOCODES_MULTIPLAYER = 110;
constexpr int IDS_GOCODES_ORIGINAL = 111;
constexpr int IDS_ERROR_GAME_KEY = 112;
constexpr int IDS_ERROR_OPENING = 113;
constexpr int IDS_FAILED_TO_START = 114;
constexpr int IDS_REGISTRY_KEY = 115;
constexpr int IDS_INSTALL = 116;
constexpr int IDS_SOUND_TYPE = 118;
constexpr int IDS_GOCODES = 119;
constexpr int IDS_INSTALL_OPTIONS = 120;
constexpr int IDS_EXIT = 121;
constexpr int IDS_HELP = 122;
constexpr int IDS_START_R6 = 123;
constexpr int IDS_MOUSE_SENSITIVITY = 124;
constexpr int IDS_LOW = 125;
constexpr int IDS_HIGH = 126;
constexpr int IDS_RESET = 127;
constexpr int IDS_SAVE_MOUSE = 128;
constexpr int IDS_ABOUT = 130;
constexpr int IDS_START_EW = 131;

}  // namespace varnopts::res
