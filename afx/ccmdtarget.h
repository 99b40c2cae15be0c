// CCmdTarget: the base of every object with a message map.
#pragma once

#include "afx/cobject.h"
#include "afx/msgmap.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Runs the first entry of the map chain, most derived map first, that
    // matches (nMessage, nCode, nID). FALSE when none matches.
    BOOL DispatchMsg(UINT nMessage, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Routes a command (WM_COMMAND code and id) to a handler; FALSE when
    // nobody handles it.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
};
