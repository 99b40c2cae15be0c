// Resource ids of the control tests.
#pragma once

#define IDD_CONTROLS 300
#define IDC_TREE 1000
#define IDC_LIST 1001
#define IDC_MULTILIST 1002
