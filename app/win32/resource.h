// Resource ids of the Windows application, shared by quillon.rc and the window code.
#pragma once

// Menu, accelerators, icon.
#define IDR_MAIN_MENU_NAME "TW_Menu"
#define IDR_ACCELERATORS 102
#define IDI_QUILLON 112

// Dialog templates.
#define IDD_COLOR_PICKER 103
#define IDD_ABOUT 104
#define IDD_OUTPUT 107
#define IDD_REFERENCE_LINKS 108

// Menu commands.
#define IDM_QUIT 40002
#define IDM_PICK_FONT 40006
#define IDM_ABOUT 40010
#define IDM_CONVERT_FILE 40014
#define IDM_PICK_COLORS 40020
#define IDM_HELP 40025
#define IDM_CONVERT_PROJECT 40030
#define IDM_DEFAULT_OUTPUT_DIRECTORY 40034
#define IDM_REFERENCE_LINKS 40038
#define IDM_LINE_NUMBERS 40040
#define IDM_MODERN_KEYWORDS 40042
#define IDM_CROSS_REFERENCES 40044
#define IDM_RICH_COLOURS 40046
#define IDM_THEME_LIGHT 40048
#define IDM_THEME_DARK 40050
#define IDM_TEXT_SEARCH 40052
#define IDM_INCREMENTAL 40054

// Color Picker: labels, swatch placeholders, example placeholder.
#define IDC_BACKGROUND_LABEL 1001
#define IDC_KEYWORD_LABEL 1002
#define IDC_DEFAULT_LABEL 1003
#define IDC_COMMENT_LABEL 1004
#define IDC_BACKGROUND_SWATCH 1005
#define IDC_DEFAULT_SWATCH 1006
#define IDC_COMMENT_SWATCH 1007
#define IDC_KEYWORD_SWATCH 1008
#define IDC_EXAMPLE 1029
#define IDC_STRING_LABEL 1030
#define IDC_NUMBER_LABEL 1031
#define IDC_PREPROCESSOR_LABEL 1032
#define IDC_STRING_SWATCH 1033
#define IDC_NUMBER_SWATCH 1034
#define IDC_PREPROCESSOR_SWATCH 1035

// Output dialog: the progress list (OK is IDOK, Stop is IDCANCEL).
#define IDC_OUTPUT_LIST 1011

// Custom Reference Links dialog.
#define IDC_LINK_LIST 1015
#define IDC_WORD 1016
#define IDC_LINK 1017
#define IDC_EDIT 1018
#define IDC_GO_TO_PAGE 1019
#define IDC_DELETE 1020
#define IDC_ADD 1021
#define IDC_CPP 1022
#define IDC_CSHARP 1023
#define IDC_JAVA 1024
#define IDC_VB 1025
#define IDC_ALL 1026
#define IDC_UPDATE 1027
#define IDC_DONE 1028

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
