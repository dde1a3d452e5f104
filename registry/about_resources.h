#pragma once

// Resource and control ids of the About dialog, shared by briskspi.rc and the code.
#define IDD_ABOUT 101
#define IDB_ABOUT_PICTURE 102
#define IDC_PLUGIN_LIST 1000
#define IDC_PLUGIN_ABOUT 1001
#define IDC_PLUGIN_CONFIG 1002
