// What the user's selections, double-clicks and the Reset button do.
#include "testdialog.h"

#include "spoolscope/shellfunctions.h"
#include "support/simprocess.h"

#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

BOOL CALLBACK CountOtherVisibleWindows(HWND hWnd, LPARAM lParam)
{
    auto* p = reinterpret_cast<std::pair<HWND, int*>*>(lParam);
    if (hWnd != p->first && ::IsWindowVisible(hWnd))
        ++*p->second;
    return TRUE;
}

HWND g_hAboutFound;
HWND g_hAboutOwner;

// A thread timer: finds the About box, notes its owner and closes it.
void CALLBACK CloseAboutBox(HWND, UINT, UINT_PTR nId, DWORD)
{
    HWND hAbout = ::FindWindowA("#32770", "About spoolscope");
    if (hAbout == nullptr)
        return;
    g_hAboutFound = hAbout;
    g_hAboutOwner = ::GetWindow(hAbout, GW_OWNER);
    ::KillTimer(nullptr, nId);
    ::PostMessageA(hAbout, WM_COMMAND, IDOK, 0);
}

const char kQinstall[] = R"(no owner "open" "qinstall.exe" null "C:\Program Files\Spoolscope\" 0)";
const char kProcfix[] = R"(no owner "open" "procfix.exe" null "C:\Program Files\Spoolscope\" 0)";

class ActionsTest : public MonitorTest {
protected:
    void SetUp() override
    {
        MonitorTest::SetUp();
        OpenAndPoll("--server 127.0.0.2 --printer Alpha,jobs=2 --printer Beta,state=0x84"
                    " --server 127.0.0.3 --printer Other",
                    2, 2);
        m_hServer = FindChild(m_pDlg->m_hRoot, "127.0.0.2");
        m_hOther = FindChild(m_pDlg->m_hRoot, "127.0.0.3");
        m_hAlpha = FindChild(m_hServer, "Alpha");
        ASSERT_NE(m_hAlpha, nullptr);
        Launches().clear();
    }
    // The tree sends no double-click for empty space: as if it had.
    void DoubleClickNotification()
    {
        NMHDR nmhdr = {m_pDlg->m_tree.m_hWnd, IDC_TREE_SERVERS, static_cast<UINT>(NM_DBLCLK)};
        m_pDlg->SendMessage(WM_NOTIFY, IDC_TREE_SERVERS, reinterpret_cast<LPARAM>(&nmhdr));
    }
    void ShowAlpha()
    {
        m_pDlg->m_tree.SelectItem(m_hAlpha);
        ASSERT_EQ(m_pDlg->m_list.GetItemCount(), 2);
        ASSERT_NE(EditText(), "");
    }

    HTREEITEM m_hServer = nullptr, m_hOther = nullptr, m_hAlpha = nullptr;
};

TEST_F(ActionsTest, DoubleClickOnTheRootEmptiesListAndBoxAndStartsNothing)
{
    ShowAlpha();
    DoubleClick(m_pDlg->m_hRoot);
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 0);
    EXPECT_EQ(EditText(), "");
    EXPECT_THAT(Launches(), IsEmpty());
}

TEST_F(ActionsTest, DoubleClickOnAServerOpensItsPageAndListsItsPrinters)
{
    ShowAlpha();
    DoubleClick(m_hServer);
    EXPECT_THAT(Launches(), ElementsAre(R"(owner "open" "explorer" "http://127.0.0.2" null 1)"));
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 2);
    EXPECT_EQ(EditText(), "");

    Launches().clear();
    DoubleClick(m_hOther);  // a server that was never polled has no printers
    EXPECT_THAT(Launches(), ElementsAre(R"(owner "open" "explorer" "http://127.0.0.3" null 1)"));
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 0);
}

TEST_F(ActionsTest, DoubleClickOnAPrinterShowsItAndStartsTheWizard)
{
    DoubleClick(m_hAlpha);
    EXPECT_THAT(Launches(), ElementsAre(kQinstall));
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 2) << "the printers of its server";
    EXPECT_EQ(EditText().find("Printer Name:\t\tAlpha "), 0u);
}

TEST_F(ActionsTest, DoubleClickWithNothingSelectedRefillsTheListOnly)
{
    ShowAlpha();
    ::SendMessageA(m_pDlg->m_tree.m_hWnd, TVM_SELECTITEM, TVGN_CARET, 0);
    ASSERT_EQ(m_pDlg->m_tree.GetSelectedItem(), nullptr);
    DoubleClickNotification();
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 2) << "refilled from the current server";
    EXPECT_EQ(EditText(), "");
    EXPECT_THAT(Launches(), IsEmpty());
}

TEST_F(ActionsTest, SelectionsFillListAndBoxButNeverSelectARow)
{
    struct {
        const char* name;
        std::function<HTREEITEM()> item;
        int rows;
        const char* infoStart;  // nullptr: empty box
    } cases[] = {
        {"printer", [&] { return m_hAlpha; }, 2, "Printer Name:\t\tAlpha "},
        {"other server", [&] { return m_hOther; }, 0, nullptr},
        {"second printer", [&] { return FindChild(m_hServer, "Beta"); }, 2, "Printer Name:\t\tBeta "},
        {"server", [&] { return m_hServer; }, 2, nullptr},
        {"root keeps both", [&] { return m_pDlg->m_hRoot; }, 2, nullptr},
    };
    for (const auto& c : cases) {
        m_pDlg->m_tree.SelectItem(c.item());
        EXPECT_EQ(m_pDlg->m_list.GetItemCount(), c.rows) << c.name;
        EXPECT_EQ(m_pDlg->m_list.GetSelectedCount(), 0u) << c.name;
        if (c.infoStart != nullptr)
            EXPECT_EQ(EditText().find(c.infoStart), 0u) << c.name;
        else
            EXPECT_EQ(EditText(), "") << c.name;
    }
    EXPECT_THAT(Launches(), IsEmpty());
}

TEST_F(ActionsTest, ResetStartsOneProcfixPerPressEvenDuringADiscovery)
{
    auto press = [&] {
        m_pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_RESET, BN_CLICKED),
                            reinterpret_cast<LPARAM>(::GetDlgItem(m_pDlg->m_hWnd, IDC_BTN_RESET)));
    };
    press();
    press();
    ClickDiscovery();
    press();
    EXPECT_THAT(Launches(), ElementsAre(kProcfix, kProcfix, kProcfix));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_pDlg->m_hWnd, IDC_BTN_RESET)));
}

TEST_F(ActionsTest, OnlyTheRootIsInATreeWithoutServers)
{
    ShowAlpha();
    ClickDiscovery();
    m_pSim->Stop();
    PumpSockets([] { return false; }, 200);           // announcements still on their way
    m_pDlg->m_doc.GetServerAddresses()->RemoveAll();  // as if none had come
    FinishDiscovery();
    EXPECT_THAT(Children(m_pDlg->m_hRoot), IsEmpty());

    m_pDlg->m_tree.SelectItem(m_pDlg->m_hRoot);
    DoubleClickNotification();
    EXPECT_EQ(m_pDlg->m_list.GetItemCount(), 0);
    EXPECT_EQ(EditText(), "");
    EXPECT_THAT(Launches(), IsEmpty());
}

// The real shell: a missing wizard goes unnoticed, a present one starts in
// the monitor's own folder.
class RealLaunchTest : public ActionsTest {
protected:
    void SetUp() override
    {
        ActionsTest::SetUp();
        SetShellFunctions(nullptr);
        char szPath[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
        m_folder = szPath;
        m_folder = m_folder.substr(0, m_folder.rfind('\\'));
        m_out = m_folder + "\\launches.txt";  // written by the stand-ins
        ::DeleteFileA(m_out.c_str());
    }
    std::string ReadOut()
    {
        std::ifstream in(m_out);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string m_folder, m_out;
};

TEST_F(RealLaunchTest, CompanionProgramsStartFromTheMonitorsFolder)
{
    ::SetCurrentDirectoryA("C:\\");  // the folder must not come from the working directory
    m_pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_RESET, BN_CLICKED));
    DoubleClick(m_hAlpha);
    DWORD start = ::GetTickCount();
    std::string out;
    while ((out = ReadOut(), std::count(out.begin(), out.end(), '\n') < 2) &&
           ::GetTickCount() - start < 10000)
        ::Sleep(50);
    EXPECT_NE(out.find("procfix.exe cwd=" + m_folder + " args= show=0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("qinstall.exe cwd=" + m_folder + " args= show=0\n"), std::string::npos) << out;
}

TEST_F(RealLaunchTest, AMissingCompanionShowsNoMessage)
{
    std::string hidden = m_folder + "\\qinstall.exe";
    std::string moved = m_folder + "\\qinstall.exe.away";
    ASSERT_TRUE(::MoveFileA(hidden.c_str(), moved.c_str()));
    DoubleClick(m_hAlpha);
    ::Sleep(500);
    // No window of this thread but the dialog is visible.
    int nOthers = 0;
    std::pair<HWND, int*> search(m_pDlg->m_hWnd, &nOthers);
    ::EnumThreadWindows(::GetCurrentThreadId(), CountOtherVisibleWindows, reinterpret_cast<LPARAM>(&search));
    ::MoveFileA(moved.c_str(), hidden.c_str());
    EXPECT_EQ(nOthers, 0);
    EXPECT_EQ(EditText().find("Printer Name:\t\tAlpha "), 0u) << "the monitor goes on as before";
}

// The About box: system commands 16 to 31 open it, owned by the dialog.
TEST_F(MonitorTest, SystemCommandsSixteenToThirtyOneOpenTheAboutBox)
{
    Open();
    CWinApp app;  // the main window owns a box opened without a parent
    app.m_pMainWnd = m_pDlg.get();
    for (UINT nCommand : {16u, 17u, 31u}) {
        g_hAboutFound = g_hAboutOwner = nullptr;
        UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, CloseAboutBox);
        m_pDlg->SendMessage(WM_SYSCOMMAND, nCommand);
        ::KillTimer(nullptr, nTimer);
        EXPECT_NE(g_hAboutFound, nullptr) << nCommand;
        EXPECT_EQ(g_hAboutOwner, m_pDlg->m_hWnd) << nCommand;
    }
    EXPECT_EQ(::FindWindowA("#32770", "About spoolscope"), nullptr);
    app.m_pMainWnd = nullptr;
}

}  // namespace
