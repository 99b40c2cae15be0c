// ssinspect: reads and drives the running monitor's main dialog from
// outside, for tests and the demo.
#include "monitorwindow.h"
#include "remoteagent.h"
#include "systemmenu.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kHelp[] =
    "Usage: ssinspect [OPTION...] COMMAND [ARG] [COMMAND [ARG]...]\n"
    "\n"
    "Reads and drives the monitor's main dialog (a top-level \"#32770\" window captioned\n"
    "\"Portolan\") from another process of the same Wine session or Windows desktop.\n"
    "Commands run in the order given; the first that fails ends the run. The first one\n"
    "that needs the window waits for it.\n"
    "\n"
    "Reading:\n"
    "  tree            the tree, one item a line, indented two spaces a level, hidden items\n"
    "                  included; marks: [expanded] (TVIS_EXPANDED), [selected] (the caret)\n"
    "  columns         the list's column titles, separated by tabs\n"
    "  list            the list's rows, one a line, columns separated by tabs\n"
    "  info            the information box's text on one line: tab, CR, LF and backslash\n"
    "                  written \\t \\r \\n \\\\, other control bytes \\xNN\n"
    "  enabled         'ID<tab>enabled' or 'ID<tab>disabled' for controls 1000-1004, 1, 2\n"
    "  sysmenu         the system menu: 'ID<tab>TEXT' (escaped as by 'info'), a third\n"
    "                  column 'grayed' or 'disabled' when so; a separator is '-'. Loads\n"
    "                  ssinspect_agent.dll (beside this program) into the monitor's\n"
    "                  process to read it\n"
    "\n"
    "Driving (PATH is the item's labels from the top, joined by '/', as in\n"
    "ZQ5518LB/127.0.0.2/Laser2F; the first item with a label is taken; commands with a\n"
    "PATH wait until the tree is enabled and the item exists):\n"
    "  select PATH     select the item (TVM_SELECTITEM), as a click on it would; the tree\n"
    "                  expands the items above it\n"
    "  expand PATH     expand the item (TVM_EXPAND)\n"
    "  dblclick PATH   select the item, then send the tree WM_LBUTTONDBLCLK and WM_LBUTTONUP\n"
    "                  on its label, which must be shown (expand the items above it); done\n"
    "                  on the tree's thread by ssinspect_agent.dll, so that no rebuild of\n"
    "                  the tree comes between\n"
    "  click ID        wait until button ID is enabled, then press it (BM_CLICK)\n"
    "  key KEY         post KEY (escape or enter) as WM_KEYDOWN and WM_KEYUP to the\n"
    "                  control with the focus, or to the dialog when none has it, where\n"
    "                  the dialog's message loop takes it as it takes a typed key\n"
    "  close           the close box: WM_SYSCOMMAND with SC_CLOSE\n"
    "\n"
    "Waiting:\n"
    "  wait-window     wait until the window exists\n"
    "  wait-tree TEXT  wait until 'tree' prints TEXT (\\n in TEXT is a line break, \\\\ a\n"
    "                  backslash; a trailing line break does not matter)\n"
    "  wait-gone       wait until the window no longer exists\n"
    "\n"
    "Measuring:\n"
    "  responsive SEC  for SEC seconds, ten times a second, send the dialog WM_NULL and the\n"
    "                  tree TVM_GETCOUNT; fails when the two take longer than --limit\n"
    "                  milliseconds (default 1000); prints the number of probes and the\n"
    "                  slowest\n"
    "\n"
    "Options:\n"
    "  --exe PATH      only a window of the process running PATH (a Windows path, or a\n"
    "                  Unix path, taken as Z: followed by it); without it, more than one\n"
    "                  monitor window is an error\n"
    "  --timeout SEC   how long each wait lasts (default 10)\n"
    "  --plain         'tree' and 'wait-tree' without marks\n"
    "  --limit MS      the longest answer 'responsive' accepts (default 1000)\n"
    "  --help          show this help\n"
    "\n"
    "Options apply to the whole run, wherever they stand.\n"
    "\n"
    "Every message to the monitor has a deadline of its own (5 s): a monitor that stops\n"
    "answering is reported, not waited for.\n"
    "\n"
    "Exit status: 0 done; 1 no such window or item, an action failed, or a wait timed out;\n"
    "2 bad arguments.\n"
    "\n"
    "Example: expand the tree, select a printer, show the list\n"
    "  ssinspect wait-tree 'ZQ5518LB\\n  127.0.0.2' expand ZQ5518LB \\\n"
    "            select ZQ5518LB/127.0.0.2/Laser2F list\n";

const int kPollMs = 100;

struct Options {
    std::string exe;
    DWORD timeoutMs = 10000;
    DWORD limitMs = 1000;
    bool bPlain = false;
};

class Deadline {
public:
    explicit Deadline(DWORD ms) : m_start(::GetTickCount()), m_ms(ms) {}
    bool Passed() const { return ::GetTickCount() - m_start >= m_ms; }

private:
    DWORD m_start;
    DWORD m_ms;
};

int Failed(const std::string& error)
{
    fflush(stdout);
    fprintf(stderr, "ssinspect: %s\n", error.c_str());
    return 1;
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (c < 0x20 || c == 0x7F) {
            char sz[8];
            snprintf(sz, sizeof(sz), "\\x%02X", c);
            out += sz;
        } else
            out += static_cast<char>(c);
    }
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[i + 1] == 'n' ? '\n' : '\\';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string TrimEnd(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::string FormatTree(const std::vector<TreeLine>& lines, bool bPlain)
{
    std::string out;
    for (const TreeLine& line : lines) {
        out += std::string(2 * line.nDepth, ' ') + line.label;
        if (!bPlain && line.bExpanded)
            out += " [expanded]";
        if (!bPlain && line.bSelected)
            out += " [selected]";
        out += '\n';
    }
    return out;
}

std::string Join(const std::vector<std::string>& texts)
{
    std::string out;
    for (size_t i = 0; i < texts.size(); ++i)
        out += (i > 0 ? "\t" : "") + texts[i];
    return out;
}

class Session {
public:
    explicit Session(const Options& options) : m_options(options) {}

    // Finds the window once, waiting for it.
    bool Attach()
    {
        if (m_bAttached)
            return true;
        Deadline deadline(m_options.timeoutMs);
        for (;;) {
            std::vector<HWND> found = MonitorWindow::FindAll(m_options.exe);
            if (found.size() > 1) {
                Failed("several monitor windows are open: name the program with --exe");
                return false;
            }
            if (found.size() == 1) {
                if (!m_window.Attach(found[0])) {
                    Failed(m_window.Error());
                    return false;
                }
                m_bAttached = true;
                return true;
            }
            if (deadline.Passed()) {
                Failed("no monitor window" + (m_options.exe.empty() ? "" : " of " + m_options.exe) +
                       " within " + std::to_string(m_options.timeoutMs) + " ms");
                return false;
            }
            ::Sleep(kPollMs);
        }
    }

    int Run(const std::string& command, const std::string& arg);

private:
    int WithItem(const std::string& path, const char* pszAction, bool (Session::*act)(HTREEITEM));
    bool Select(HTREEITEM hItem) { return m_window.SelectItem(hItem); }
    bool Expand(HTREEITEM hItem) { return m_window.ExpandItem(hItem); }
    int DoubleClick(const std::string& path);
    int WaitGone();
    int WaitTree(const std::string& expected);
    int Responsive(double seconds);

    Options m_options;
    MonitorWindow m_window;
    bool m_bAttached = false;
};

// Acts as a user would once the tree is enabled and shows the item:
// retries until the deadline, since the item may not exist yet, or a
// rebuild of the tree may take it away between finding and acting.
int Session::WithItem(const std::string& path, const char* pszAction, bool (Session::*act)(HTREEITEM))
{
    Deadline deadline(m_options.timeoutMs);
    for (;;) {
        std::string why = "the tree is disabled";
        if (m_window.IsEnabled(MonitorWindow::kTree)) {
            HTREEITEM hItem = m_window.FindItem(path);
            if (hItem != nullptr && (this->*act)(hItem))
                return 0;
            why = m_window.Error().empty() ? "there is no such item" : m_window.Error();
        }
        if (!::IsWindow(m_window.Handle()))
            return Failed("the monitor's window is gone");
        if (deadline.Passed())
            return Failed(std::string("cannot ") + pszAction + " " + path + ": " + why);
        ::Sleep(kPollMs);
    }
}

int Session::DoubleClick(const std::string& path)
{
    DoubleClickBlock block = {};
    block.hTree = ::GetDlgItem(m_window.Handle(), MonitorWindow::kTree);
    if (path.size() >= sizeof(block.szPath))
        return Failed("the path is too long: " + path);
    memcpy(block.szPath, path.c_str(), path.size() + 1);
    Deadline deadline(m_options.timeoutMs);
    for (;;) {
        DoubleClickBlock request = block;
        DWORD nRan = 0;
        std::string error;
        if (!RunAgentRoutine(m_window.Process(), INSPECT_DOUBLE_CLICK, &request, sizeof(request),
                             m_options.timeoutMs, &nRan, &error))
            return Failed(error);
        if (nRan != 1)
            return Failed("the tree's thread did not take the double-click");
        std::string why;
        switch (request.nResult) {
        case DoubleClickBlock::kDone:
            return 0;
        case DoubleClickBlock::kMoved:
            // The monitor may have acted on another item: not repeatable.
            return Failed("the selection moved during the double-click on " + path);
        case DoubleClickBlock::kNoItem:
            why = "there is no such item";
            break;
        case DoubleClickBlock::kNotShown:
            why = "the item is not shown: expand the items above it first";
            break;
        case DoubleClickBlock::kDisabled:
            why = "the tree is disabled";
            break;
        default:
            why = "the request failed";
            break;
        }
        if (deadline.Passed())
            return Failed("cannot double-click " + path + ": " + why);
        ::Sleep(kPollMs);
    }
}

int Session::WaitGone()
{
    Deadline deadline(m_options.timeoutMs);
    for (;;) {
        bool bGone =
            m_bAttached ? !::IsWindow(m_window.Handle()) : MonitorWindow::FindAll(m_options.exe).empty();
        if (bGone)
            return 0;
        if (deadline.Passed())
            return Failed("the monitor's window is still there after " + std::to_string(m_options.timeoutMs) +
                          " ms");
        ::Sleep(kPollMs);
    }
}

int Session::WaitTree(const std::string& expected)
{
    std::string want = TrimEnd(Unescape(expected));
    std::string have;
    Deadline deadline(m_options.timeoutMs);
    for (;;) {
        std::vector<TreeLine> lines;
        if (m_window.ReadTree(&lines)) {
            have = TrimEnd(FormatTree(lines, m_options.bPlain));
            if (have == want)
                return 0;
        } else if (!::IsWindow(m_window.Handle())) {
            return Failed(m_window.Error());
        }
        if (deadline.Passed())
            return Failed("the tree did not become, within " + std::to_string(m_options.timeoutMs) +
                          " ms:\n" + want + "\nit is:\n" + have);
        ::Sleep(kPollMs);
    }
}

int Session::Responsive(double seconds)
{
    Deadline deadline(static_cast<DWORD>(seconds * 1000));
    int nProbes = 0;
    double slowestMs = 0;
    do {
        double elapsedMs = 0;
        bool bAnswered = m_window.Ping(m_options.limitMs, &elapsedMs);
        ++nProbes;
        if (elapsedMs > slowestMs)
            slowestMs = elapsedMs;
        if (!bAnswered || elapsedMs > m_options.limitMs)
            return Failed("probe " + std::to_string(nProbes) + ": " +
                          (bAnswered ? "answered after " + std::to_string(static_cast<int>(elapsedMs)) + " ms"
                                     : m_window.Error()));
        ::Sleep(kPollMs);
    } while (!deadline.Passed());
    printf("%d probes, slowest %.1f ms\n", nProbes, slowestMs);
    fflush(stdout);
    return 0;
}

int Session::Run(const std::string& command, const std::string& arg)
{
    if (command == "wait-gone")
        return WaitGone();
    if (!Attach())
        return 1;
    if (command == "wait-window")
        return 0;
    if (command == "tree") {
        std::vector<TreeLine> lines;
        if (!m_window.ReadTree(&lines))
            return Failed(m_window.Error());
        fputs(FormatTree(lines, m_options.bPlain).c_str(), stdout);
    } else if (command == "columns") {
        std::vector<std::string> titles;
        if (!m_window.ReadColumns(&titles))
            return Failed(m_window.Error());
        printf("%s\n", Join(titles).c_str());
    } else if (command == "list") {
        std::vector<std::vector<std::string>> rows;
        if (!m_window.ReadRows(&rows))
            return Failed(m_window.Error());
        for (const auto& row : rows)
            printf("%s\n", Join(row).c_str());
    } else if (command == "info") {
        std::string text;
        if (!m_window.ReadText(MonitorWindow::kInfo, &text))
            return Failed(m_window.Error());
        printf("%s\n", Escape(text).c_str());
    } else if (command == "enabled") {
        const int ids[] = {MonitorWindow::kTree,
                           MonitorWindow::kList,
                           MonitorWindow::kInfo,
                           MonitorWindow::kDiscovery,
                           MonitorWindow::kReset,
                           IDOK,
                           IDCANCEL};
        for (int nID : ids)
            printf("%d\t%s\n", nID, m_window.IsEnabled(nID) ? "enabled" : "disabled");
    } else if (command == "sysmenu") {
        std::vector<SystemMenuBlock::Item> items;
        std::string error;
        if (!ReadSystemMenu(m_window.Process(), m_window.Handle(), m_options.timeoutMs, &items, &error))
            return Failed(error);
        for (const auto& item : items) {
            if (item.nType & MFT_SEPARATOR) {
                printf("-\n");
                continue;
            }
            const char* pszState = (item.nState & MFS_GRAYED) == MFS_GRAYED ? "\tgrayed"
                                   : (item.nState & MFS_DISABLED)           ? "\tdisabled"
                                                                            : "";
            printf("%u\t%s%s\n", item.nID, Escape(item.szText).c_str(), pszState);
        }
    } else if (command == "select") {
        return WithItem(arg, "select", &Session::Select);
    } else if (command == "expand") {
        return WithItem(arg, "expand", &Session::Expand);
    } else if (command == "dblclick") {
        return DoubleClick(arg);
    } else if (command == "click") {
        // Digits only (checked with the arguments); strtol saturates where atoi would overflow.
        int nID = static_cast<int>(strtol(arg.c_str(), nullptr, 10));
        if (::GetDlgItem(m_window.Handle(), nID) == nullptr)
            return Failed("the monitor's window has no control " + arg);
        Deadline deadline(m_options.timeoutMs);
        while (!m_window.IsEnabled(nID)) {
            if (deadline.Passed())
                return Failed("button " + arg + " is not enabled");
            ::Sleep(kPollMs);
        }
        if (!m_window.ClickButton(nID))
            return Failed(m_window.Error());
    } else if (command == "key") {
        if (!m_window.PressKey(arg == "escape" ? VK_ESCAPE : VK_RETURN))
            return Failed(m_window.Error());
    } else if (command == "close") {
        if (!m_window.CloseBox())
            return Failed(m_window.Error());
    } else if (command == "wait-tree") {
        return WaitTree(arg);
    } else if (command == "responsive") {
        return Responsive(strtod(arg.c_str(), nullptr));
    }
    fflush(stdout);
    return 0;
}

struct CommandSpec {
    const char* pszName;
    bool bHasArg;
};

const CommandSpec kCommands[] = {
    {"tree", false},        {"columns", false},  {"list", false},      {"info", false},
    {"enabled", false},     {"sysmenu", false},  {"select", true},     {"expand", true},
    {"dblclick", true},     {"click", true},     {"key", true},        {"close", false},
    {"wait-window", false}, {"wait-tree", true}, {"wait-gone", false}, {"responsive", true},
};

int Usage(const std::string& error)
{
    fprintf(stderr, "ssinspect: %s\nTry 'ssinspect --help'.\n", error.c_str());
    return 2;
}

bool IsNumber(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

int main(int argc, char** argv)
{
    // Lines end in LF alone, for the scripts that read them.
    _setmode(_fileno(stdout), _O_BINARY);
    Options options;
    std::vector<std::pair<std::string, std::string>> commands;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--help") {
            fputs(kHelp, stdout);
            return 0;
        }
        if (word == "--plain") {
            options.bPlain = true;
            continue;
        }
        if (word == "--exe" || word == "--timeout" || word == "--limit") {
            if (i + 1 >= argc)
                return Usage(word + " needs a value");
            std::string value = argv[++i];
            if (word == "--exe") {
                options.exe = value;
                continue;
            }
            if (word == "--limit") {
                if (!IsNumber(value) || value.size() > 6)
                    return Usage("bad --limit: " + value);
                options.limitMs = static_cast<DWORD>(strtoul(value.c_str(), nullptr, 10));
                continue;
            }
            char* pEnd = nullptr;
            double seconds = strtod(value.c_str(), &pEnd);
            if (pEnd == value.c_str() || *pEnd != '\0' || !(seconds >= 0 && seconds <= 86400))
                return Usage("bad --timeout: " + value);
            options.timeoutMs = static_cast<DWORD>(seconds * 1000);
            continue;
        }
        const CommandSpec* pSpec = nullptr;
        for (const CommandSpec& spec : kCommands) {
            if (word == spec.pszName)
                pSpec = &spec;
        }
        if (pSpec == nullptr)
            return Usage("unknown command or option: " + word);
        std::string arg;
        if (pSpec->bHasArg) {
            if (i + 1 >= argc)
                return Usage(word + " needs an argument");
            arg = argv[++i];
        }
        if (word == "click" && !IsNumber(arg))
            return Usage("click needs a control id: " + arg);
        if (word == "responsive") {
            char* pEnd = nullptr;
            double seconds = strtod(arg.c_str(), &pEnd);
            if (pEnd == arg.c_str() || *pEnd != '\0' || !(seconds > 0 && seconds <= 86400))
                return Usage("responsive needs a number of seconds: " + arg);
        }
        if (word == "key" && arg != "escape" && arg != "enter")
            return Usage("key is escape or enter: " + arg);
        commands.emplace_back(word, arg);
    }
    if (commands.empty())
        return Usage("no command");

    Session session(options);
    for (const auto& command : commands) {
        int nStatus = session.Run(command.first, command.second);
        if (nStatus != 0)
            return nStatus;
    }
    return 0;
}
