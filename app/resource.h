// Resources of the shell. Pages keep their templates and identifiers beside their code.
#pragma once

#define IDI_LUMASPAN 128
#define IDD_MAIN 129
#define IDD_START 130
#define IDD_PAGE 131  // the generic page: 382 x 266 units, "MS Sans Serif" 8, borderless child
#define IDD_ABOUT 247

#define IDC_BUTTON_MENU 1000
#define IDC_WEBSITE 1069
#define IDC_SUPPORT 1070
#define IDC_ABOUT_NAME 1124
#define IDC_ABOUT_LEGAL 1127
#define IDC_ABOUT_OWNER 1128
#define IDC_ABOUT_WEBSITE_LABEL 1129
#define IDC_ABOUT_SUPPORT_LABEL 1130

#define LUMASPAN_VERSION_BINARY 3, 1, 1, 10079
#define LUMASPAN_VERSION_TEXT "3.1.1.10079"
