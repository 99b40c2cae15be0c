// CSpoolscopeApp: the monitor's application object. It runs the main dialog
// modally; the program ends when the dialog closes.
#pragma once

#include "afx/afx.h"

class CSpoolscopeApp : public CWinApp {
public:
    CSpoolscopeApp() = default;
    ~CSpoolscopeApp() override = default;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
