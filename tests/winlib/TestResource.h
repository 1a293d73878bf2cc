// Resource ids of the class layer's test dialogs and strings.
#pragma once

#define IDD_PLAIN 200          // extended template, hidden, no centring style
#define IDD_PLAIN_OLD 201      // the same in the plain template form
#define IDD_ABSALIGN 202       // extended template placed by DS_ABSALIGN
#define IDD_ABSALIGN_OLD 203   // the same in the plain template form
#define IDD_VISIBLE 204        // WS_VISIBLE, like a program's main dialog
#define IDD_MISSING 299        // no such template

#define IDC_FIRST 1000
#define IDC_SECOND 1001
#define IDC_THIRD 1002
#define IDC_BUTTON 1006

#define IDS_MENU_TEXT 300
#define IDS_LONG 301
#define IDS_MISSING 399
