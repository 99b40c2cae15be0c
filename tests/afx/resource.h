// Resource ids of the framework tests.
#pragma once

#define IDD_TEST 200
#define IDC_TREE 1000
#define IDC_LIST 1001
#define IDC_EDIT 1002
#define IDC_BUTTON 1003

#define IDS_SHORT 300
#define IDS_LONG 301
#define IDS_MISSING 399
