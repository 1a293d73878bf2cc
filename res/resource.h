// Resource ids shared by the resource script and the program's code.
#ifndef TESSARON_RES_RESOURCE_H
#define TESSARON_RES_RESOURCE_H

// Dialog templates and strings.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_LOOKUP_DIALOG 102

// Icon groups. IDR_MAINFRAME must keep the lowest id: the shell shows the first icon
// group of an executable as its file icon.
#define IDR_MAINFRAME 133
#define IDI_HANDSET 134
#define IDI_PIN 135
#define IDI_SEARCH 138
#define IDI_DATABASE 139

// Controls of the lookup dialog.
#define IDC_MOBILE 1000
#define IDC_PROVINCE 1001
#define IDC_CITY 1002
#define IDC_AREACODE 1003
#define IDC_POSTCODE 1004
#define IDC_TYPE 1005
#define IDC_QUERY 1006

// System menu command of the About item. The system keeps the low four bits of
// system command ids for itself, so this must be a multiple of 16.
#define IDM_ABOUTBOX 0x0010

#endif
