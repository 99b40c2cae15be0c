// The monitor's main dialog, seen from another process: found by its class
// and caption, read and driven with window messages. Every message is sent
// with a deadline, so a monitor that stops answering makes an error, not a
// hang.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "remotememory.h"

struct TreeLine {
    int nDepth;
    std::string label;
    bool bExpanded;
    bool bSelected;
    bool operator==(const TreeLine& other) const
    {
        return nDepth == other.nDepth && label == other.label && bExpanded == other.bExpanded &&
               bSelected == other.bSelected;
    }
};

class MonitorWindow {
public:
    enum Ids { kTree = 1000, kList = 1001, kInfo = 1002, kDiscovery = 1003, kReset = 1004 };

    // The monitor's dialogs: top-level "#32770" windows captioned "Portolan",
    // of a process running exePath when that is given.
    static std::vector<HWND> FindAll(const std::string& exePath);

    MonitorWindow() = default;
    // Opens the window's process; false (see Error) when that fails.
    bool Attach(HWND hWnd);
    HWND Handle() const { return m_hWnd; }
    HANDLE Process() const { return m_hProcess.get(); }
    const std::string& Error() const { return m_error; }

    // The whole tree, depth first, hidden items included. Reads until two
    // reads in a row agree, since the monitor rebuilds its tree every two
    // seconds.
    bool ReadTree(std::vector<TreeLine>* pLines);
    // The item at a path of labels from the top, separated by '/'; nullptr
    // when there is none.
    HTREEITEM FindItem(const std::string& path);
    bool SelectItem(HTREEITEM hItem);
    bool ExpandItem(HTREEITEM hItem);
    HTREEITEM SelectedItem();

    bool ReadColumns(std::vector<std::string>* pTitles);
    bool ReadRows(std::vector<std::vector<std::string>>* pRows);
    bool ReadText(int nID, std::string* pText);
    bool IsEnabled(int nID) const;

    // Sends the dialog WM_NULL and asks the tree for its item count; false
    // when either is not answered within timeoutMs. *pElapsedMs: how long
    // both took.
    bool Ping(DWORD timeoutMs, double* pElapsedMs);

    bool ClickButton(int nID);
    bool PressKey(UINT nVirtualKey);
    bool CloseBox();

private:
    struct HandleCloser {
        void operator()(HANDLE h) const { ::CloseHandle(h); }
    };
    static const size_t kTextOffset = 512;
    static const size_t kTextSize = 1024;
    static const DWORD kAnswerMs = 5000;

    bool Send(int nID, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult = nullptr);
    bool SendTo(HWND hTarget, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    HTREEITEM NextItem(HTREEITEM hItem, UINT nCode);
    // False for an item that no longer exists.
    bool ReadItem(HTREEITEM hItem, std::string* pLabel, UINT* pState);
    bool ReadTreeOnce(std::vector<TreeLine>* pLines);
    std::string RemoteText();
    bool Fail(const std::string& error);

    HWND m_hWnd = nullptr;
    std::unique_ptr<void, HandleCloser> m_hProcess;
    std::unique_ptr<RemoteMemory> m_memory;
    std::string m_error;
};
