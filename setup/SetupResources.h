// Resource and control ids of the installer (setup.rc and the code).
#pragma once

#define IDI_SETUP 128
#define IDD_SETUP 102

#define IDC_DESTINATION 1000
#define IDC_DESTINATION_LABEL 1001
#define IDC_BROWSE 1002
#define IDC_INSTALL 1006
#define IDC_PROGRESS 1007

// The embedded payloads, raw data found by the names "#2001" and "#2002".
#define IDR_HELP_FILE 2001
#define IDR_PLUGIN 2002
