// Ids shared by setup.rc and the program.
#ifndef QD_RESOURCE_H
#define QD_RESOURCE_H

#define IDI_SETUP 101
#define IDD_BROWSER 102

#define IDC_BROWSER_DIR 1001
#define IDC_BROWSE 1002
#define IDC_INSTALL 1003
#define IDC_EXIT 1006
#define IDC_SKIP 1008
#define IDC_LINE1 12
#define IDC_LINE2 13
#define IDC_LINE3 14

#define IDS_FOUND_NAVIGATOR 1
#define IDS_FOUND_WEBSURFER 2
#define IDS_SKIP_HINT 4
#define IDS_ENTER_LOCATION 5
#define IDS_THEN_INSTALL 6
#define IDS_FOUND_EXPLORER 7
#define IDS_CLICK_INSTALL 1005

#endif
