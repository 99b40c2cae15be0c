// startup_bench: how long a dialog program takes from its start until its
// window is up, against a baseline program started the same way.
//
//   startup_bench PROGRAM BASELINE [--tree ID] [--runs N]
//
// PROGRAM is ready when it shows a dialog window and, with --tree, when
// that dialog's tree control ID holds a root item; BASELINE when it shows a
// dialog window. The runs alternate; each program is closed (WM_CLOSE) and
// awaited before the next starts. Prints
// "startup<TAB><PROGRAM median ms><TAB><BASELINE median ms>".
#include "bench/benchclock.h"
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const DWORD kGiveUpMs = 30000;

struct FindState {
    DWORD nProcessId;
    HWND hFound;
};

BOOL CALLBACK FindDialogOfProcess(HWND hWnd, LPARAM lParam)
{
    FindState* pState = reinterpret_cast<FindState*>(lParam);
    DWORD nProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcessId);
    char szClass[16] = {};
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (nProcessId != pState->nProcessId || strcmp(szClass, "#32770") != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    pState->hFound = hWnd;
    return FALSE;
}

// Starts the program and returns the milliseconds until it was ready, or a
// negative number when it never was.
double TimeStart(const std::string& program, int nTreeId)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + program + "\"";
    double start = NowMs();
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), ::GetLastError());
        return -1;
    }
    double elapsed = -1;
    FindState state = {pi.dwProcessId, nullptr};
    while (NowMs() - start < kGiveUpMs) {
        state.hFound = nullptr;
        ::EnumWindows(FindDialogOfProcess, reinterpret_cast<LPARAM>(&state));
        if (state.hFound != nullptr) {
            HWND hTree = nTreeId != 0 ? ::GetDlgItem(state.hFound, nTreeId) : nullptr;
            DWORD_PTR nRoot = 0;
            if (nTreeId == 0 ||
                (hTree != nullptr &&
                 ::SendMessageTimeoutA(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0, SMTO_BLOCK, 1000, &nRoot) &&
                 nRoot != 0)) {
                elapsed = NowMs() - start;
                break;
            }
        }
        ::Sleep(1);
    }
    if (state.hFound != nullptr)
        ::PostMessageA(state.hFound, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: startup_bench PROGRAM BASELINE [--tree ID] [--runs N]\n");
        return 2;
    }
    std::string program = argv[1], baseline = argv[2];
    int nTreeId = 0, nRuns = 5;
    for (int i = 3; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--tree") == 0)
            nTreeId = static_cast<int>(strtol(argv[i + 1], nullptr, 10));
        else if (strcmp(argv[i], "--runs") == 0)
            nRuns = std::max(1, static_cast<int>(strtol(argv[i + 1], nullptr, 10)));
    }
    // One start of each first: the files are then cached for both.
    if (TimeStart(program, nTreeId) < 0 || TimeStart(baseline, 0) < 0)
        return 1;
    std::vector<double> programTimes, baselineTimes;
    for (int i = 0; i < nRuns; ++i) {
        double programMs = TimeStart(program, nTreeId);
        double baselineMs = TimeStart(baseline, 0);
        if (programMs < 0 || baselineMs < 0)
            return 1;
        programTimes.push_back(programMs);
        baselineTimes.push_back(baselineMs);
    }
    double programMedian = Median(programTimes), baselineMedian = Median(baselineTimes);
    fprintf(stderr, "start-up over %d runs: %s %.1f ms, %s %.1f ms (medians)\n", nRuns, program.c_str(),
            programMedian, baseline.c_str(), baselineMedian);
    printf("startup\t%.1f\t%.1f\n", programMedian, baselineMedian);
    return 0;
}
