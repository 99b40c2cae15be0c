// Message maps: static tables of entries that bind messages, commands and
// notifications to handlers, each table chained to its base class's table.
//
// An entry matches on (message, code, id): plain window messages carry code
// and id 0, WM_COMMAND entries the command or control id and the notification
// code, WM_NOTIFY entries the control id and the code. Reflected notifications
// are looked up in the control's own map under WM_REFLECT_BASE + WM_NOTIFY.
// Each entry calls its handler through a small typed thunk; "handled" and the
// handler's result are kept apart.
#pragma once

#include "afx/winheaders.h"

#include <type_traits>

class CCmdTarget;

// Calls one handler with the decoded arguments and stores its result in
// *pResult; returns TRUE when the message counts as handled.
typedef BOOL (*AFX_THUNK)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    AFX_THUNK pfn;  // nullptr ends a table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // nullptr at the root of the chain
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define WM_REFLECT_BASE 0xBC00

// clang-format off

#define DECLARE_MESSAGE_MAP()                       \
protected:                                          \
    static const AFX_MSGMAP* GetThisMessageMap();   \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                              \
    {                                                                            \
        typedef theClass ThisClass;                                              \
        typedef baseClass TheBaseClass;                                          \
        static_assert(std::is_class<ThisClass>::value, "");                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                     \
        {0, 0, 0, nullptr}};                                                                  \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap;                                                                   \
    }

#define AFX_THUNK_ARGS CCmdTarget *pTarget, WPARAM wParam, LPARAM lParam, LRESULT *pResult
#define AFX_THUNK_UNUSED (void)pTarget, (void)wParam, (void)lParam, (void)pResult
#define AFX_THIS (static_cast<ThisClass*>(pTarget))

// ON_WM_TIMER: void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()                                                                    \
    {WM_TIMER, 0, 0, [](AFX_THUNK_ARGS) -> BOOL {                                        \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->OnTimer(static_cast<UINT_PTR>(wParam));                               \
         return TRUE;                                                                    \
     }},

// ON_WM_DESTROY: void OnDestroy()
#define ON_WM_DESTROY()                                                                  \
    {WM_DESTROY, 0, 0, [](AFX_THUNK_ARGS) -> BOOL {                                      \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->OnDestroy();                                                          \
         return TRUE;                                                                    \
     }},

// ON_WM_PAINT: void OnPaint()
#define ON_WM_PAINT()                                                                    \
    {WM_PAINT, 0, 0, [](AFX_THUNK_ARGS) -> BOOL {                                        \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->OnPaint();                                                            \
         return TRUE;                                                                    \
     }},

// ON_WM_SYSCOMMAND: void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND()                                                               \
    {WM_SYSCOMMAND, 0, 0, [](AFX_THUNK_ARGS) -> BOOL {                                   \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->OnSysCommand(static_cast<UINT>(wParam), lParam);                      \
         return TRUE;                                                                    \
     }},

// ON_WM_QUERYDRAGICON: HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                            \
    {WM_QUERYDRAGICON, 0, 0, [](AFX_THUNK_ARGS) -> BOOL {                                \
         AFX_THUNK_UNUSED;                                                               \
         *pResult = reinterpret_cast<LRESULT>(AFX_THIS->OnQueryDragIcon());              \
         return TRUE;                                                                    \
     }},

#define AFX_ON_MOUSE(message, handler)                                                   \
    {message, 0, 0, [](AFX_THUNK_ARGS) -> BOOL {                                         \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->handler(static_cast<UINT>(wParam), CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))); \
         return TRUE;                                                                    \
     }},

// ON_WM_LBUTTONDOWN: void OnLButtonDown(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDOWN() AFX_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
// ON_WM_LBUTTONUP: void OnLButtonUp(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONUP() AFX_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
// ON_WM_LBUTTONDBLCLK: void OnLButtonDblClk(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDBLCLK() AFX_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
// ON_WM_NCLBUTTONDBLCLK: void OnNcLButtonDblClk(UINT nHitTest, CPoint point), point in screen coordinates
#define ON_WM_NCLBUTTONDBLCLK() AFX_ON_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)

// ON_MESSAGE: LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFxn)                                                   \
    {static_cast<UINT>(message), 0, 0, [](AFX_THUNK_ARGS) -> BOOL {                      \
         AFX_THUNK_UNUSED;                                                               \
         *pResult = AFX_THIS->memberFxn(wParam, lParam);                                 \
         return TRUE;                                                                    \
     }},

// ON_COMMAND: void memberFxn(); a menu or accelerator command, or a button's BN_CLICKED (0)
#define ON_COMMAND(id, memberFxn)                                                        \
    {WM_COMMAND, 0, static_cast<UINT>(id), [](AFX_THUNK_ARGS) -> BOOL {                  \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->memberFxn();                                                          \
         return TRUE;                                                                    \
     }},

// ON_CONTROL: void memberFxn(); notification code wNotifyCode from control id
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                           \
    {WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), [](AFX_THUNK_ARGS) -> BOOL { \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->memberFxn();                                                          \
         return TRUE;                                                                    \
     }},

// ON_BN_CLICKED: void memberFxn()
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// ON_NOTIFY: void memberFxn(NMHDR* pNMHDR, LRESULT* pResult); code from control id, in the parent
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                            \
    {WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), [](AFX_THUNK_ARGS) -> BOOL { \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->memberFxn(reinterpret_cast<NMHDR*>(lParam), pResult);                 \
         return TRUE;                                                                    \
     }},

// ON_NOTIFY_REFLECT: void memberFxn(NMHDR* pNMHDR, LRESULT* pResult); in the control itself,
// which consumes the notification: the parent's map does not see it.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                        \
    {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(wNotifyCode), 0, [](AFX_THUNK_ARGS) -> BOOL { \
         AFX_THUNK_UNUSED;                                                               \
         AFX_THIS->memberFxn(reinterpret_cast<NMHDR*>(lParam), pResult);                 \
         return TRUE;                                                                    \
     }},
// clang-format on
