/*
 * Resource ids shared by the .rc files and the code. Template and icon names are strings
 * and are named here as macros so both sides spell them once. Keep this file free of
 * anything windres cannot parse (no C++).
 */
#ifndef ZELKOR_RESOURCE_IDS_H
#define ZELKOR_RESOURCE_IDS_H

/* String table (language 2052) */
#define IDS_DISPLAY_NAME      5101
#define IDS_HELP_SHORTCUT     5102
#define IDS_MANUAL_SHORTCUT   5103
#define IDS_CAPTION           5104
#define IDS_UNINSTALL_DONE    5105
#define IDS_DELETE_BY_HAND    5106
#define IDS_CONFIRM_UNINSTALL 5107
#define IDS_LIST_OPEN_FAILED  5108
#define IDS_PROGID_NATIVE     5109
#define IDS_PROGID_ZIP        5110
#define IDS_PROGID_REV        5111
#define IDS_HOME_PAGE         5112
#define IDS_SHORTCUT_DESC     5113
#define IDS_RESTART_NEEDED    5114

/* Icons and templates */
#define ICON_FILE_NAME   "DELICON"
#define ICON_WINDOW_NAME "KPXICON"
#define DLG_SETUP        "SETUPDLG"
#define DLG_CONTEXTITEMS "CONTEXTITEMS"
#define DLG_DONE         "DONEDLG"
#define DLG_RTL_MARKER   "RTL"

/* Controls common to all dialogs */
#define IDC_HELPBUTTON 9

/* SETUPDLG: association boxes 5101..5114 are 5101 + group number */
#define IDC_ASSOC_FIRST    5101
#define IDC_ASSOC_LAST     5114
#define IDC_DESKTOP        5115
#define IDC_STARTMENU      5116
#define IDC_PROGRAMS       5117
#define IDC_SHELLEXT       5118
#define IDC_CASCADEDMENU   5119
#define IDC_MENUICONS      5120
#define IDC_SELECTALL      5121
#define IDC_EXPLANATION    5122
#define IDC_CONTEXTITEMS   5123

/* CONTEXTITEMS: the eleven menu items */
#define IDC_ITEM_FIRST 101
#define IDC_ITEM_LAST  111

/* DONEDLG */
#define IDC_DONE_FOLDER  5101
#define IDC_DONE_RUN     5102
#define IDC_DONE_HELP    5103
#define IDC_DONE_LICENSE 5104
#define IDC_DONE_ORDER   5105
#define IDC_DONE_HOME    5106
#define IDC_DONE_THANKS  5107
#define IDC_DONE_VISIT   5109

/* Help topics of zelkor.hlp */
#define HELP_SETUPDLG     4288
#define HELP_CONTEXTITEMS 4976

#endif
