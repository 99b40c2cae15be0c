// Resource and control ids of the monitor.
#pragma once

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SPOOLSCOPE_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_TREE_SERVERS 1000
#define IDC_LIST_PRINTERS 1001
#define IDC_EDIT_INFO 1002
#define IDC_BTN_DISCOVERY 1003
#define IDC_BTN_RESET 1004
