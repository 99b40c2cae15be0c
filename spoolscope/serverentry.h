// ServerEntry: one discovered print server and the printer records last
// received for it, which it owns.
#pragma once

#include "afx/afx.h"
#include "spoolscope/printerrecord.h"

struct ServerEntry {
    CString address;                 // dotted-decimal, as the presence reply's sender
    CArray<PrinterRecord*> records;  // in arrival order
};
