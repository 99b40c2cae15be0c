// The Windows headers, in the one order that lets Winsock 2 be used beside
// everything else: winsock2.h must come before windows.h.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
