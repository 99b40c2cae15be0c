#include "afx/afx.h"
#include "support/pump.h"
#include "resource.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

// A dialog whose OnInitDialog runs a scripted action once its window exists.
class CScriptedDialog : public CDialog {
public:
    explicit CScriptedDialog(UINT nIDTemplate = IDD_TEST) : CDialog(nIDTemplate) {}

    std::function<void(CScriptedDialog&)> m_onInit;
    std::vector<std::string> m_log;
    CTreeCtrl m_tree;
    CButton m_button;
    int m_nExchanges = 0;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        ++m_nExchanges;
        DDX_Control(pDX, IDC_TREE, m_tree);
        DDX_Control(pDX, IDC_BUTTON, m_button);
    }
    void OnOK() override
    {
        m_log.push_back("OnOK");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        m_log.push_back("OnCancel");
        CDialog::OnCancel();
    }
    void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        EndDialog(static_cast<int>(nIDEvent));
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptedDialog, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(DialogTest, ModalDialogEndsTheWayThePlatformEndsIt)
{
    struct {
        const char* action;
        std::function<void(CScriptedDialog&)> run;
        INT_PTR result;
        const char* handler;
    } cases[] = {
        {"Enter", [](CScriptedDialog& d) { d.PostMessage(WM_KEYDOWN, VK_RETURN, 0); }, IDOK, "OnOK"},
        {"Escape", [](CScriptedDialog& d) { d.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL, "OnCancel"},
        {"WM_CLOSE", [](CScriptedDialog& d) { d.PostMessage(WM_CLOSE); }, IDCANCEL, "OnCancel"},
        {"close box", [](CScriptedDialog& d) { d.PostMessage(WM_SYSCOMMAND, SC_CLOSE); }, IDCANCEL,
         "OnCancel"},
        {"OK button",
         [](CScriptedDialog& d) { ::PostMessageA(::GetDlgItem(d.m_hWnd, IDOK), BM_CLICK, 0, 0); }, IDOK,
         "OnOK"},
    };
    for (const auto& c : cases) {
        CScriptedDialog dialog;
        dialog.m_onInit = c.run;
        EXPECT_EQ(dialog.DoModal(), c.result) << c.action;
        EXPECT_THAT(dialog.m_log, ElementsAre(c.handler)) << c.action;
        EXPECT_EQ(dialog.m_hWnd, nullptr) << c.action << ": window gone, object unbound";
    }
}

TEST(DialogTest, TimerReachesTheMapInsideTheModalLoop)
{
    CScriptedDialog dialog;
    dialog.m_onInit = [](CScriptedDialog& d) { d.SetTimer(4096, 10); };
    EXPECT_EQ(dialog.DoModal(), 4096);
}

TEST(DialogTest, DoModalReportsAMissingTemplate)
{
    CScriptedDialog dialog(9999);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(DialogTest, DataExchangeBindsControlsOnTheFirstExchangeOnly)
{
    CScriptedDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST));
    HWND hTree = ::GetDlgItem(dialog.m_hWnd, IDC_TREE);
    EXPECT_EQ(dialog.m_nExchanges, 1);
    EXPECT_EQ(dialog.m_tree.m_hWnd, hTree);
    EXPECT_EQ(CWnd::FromHandlePermanent(hTree), &dialog.m_tree);
    EXPECT_EQ(dialog.m_button.m_hWnd, ::GetDlgItem(dialog.m_hWnd, IDC_BUTTON));

    dialog.UpdateData(FALSE);
    EXPECT_EQ(dialog.m_nExchanges, 2);
    EXPECT_EQ(dialog.m_tree.m_hWnd, hTree);
    // The tree still works: its own procedure is reached exactly once per message.
    HTREEITEM hItem = dialog.m_tree.InsertItem("item");
    ASSERT_NE(hItem, nullptr);
    EXPECT_STREQ(dialog.m_tree.GetItemText(hItem), "item");
    EXPECT_EQ(dialog.m_tree.GetCount(), 1u);

    dialog.DestroyWindow();
    EXPECT_EQ(dialog.m_tree.m_hWnd, nullptr) << "controls are unbound with their windows";
    EXPECT_EQ(CWnd::FromHandlePermanent(hTree), nullptr);
}

class CTestApp : public CWinApp {
public:
    std::vector<std::string> m_log;

protected:
    void OnHelpProbe() { m_log.push_back("app: ID_HELP"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelpProbe)
END_MESSAGE_MAP()

TEST(DialogTest, CommandsTheDialogDoesNotHandleGoOnToTheApplication)
{
    CTestApp app;
    CScriptedDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST));

    HELPINFO help = {sizeof(help), HELPINFO_WINDOW, IDC_TREE};
    dialog.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    EXPECT_THAT(app.m_log, ElementsAre("app: ID_HELP")) << "F1 (WM_HELP) becomes ID_HELP";

    app.m_log.clear();
    dialog.SendMessage(WM_COMMAND, ID_HELP);
    EXPECT_THAT(app.m_log, ElementsAre("app: ID_HELP"));

    app.m_log.clear();
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON, BN_CLICKED));
    EXPECT_TRUE(app.m_log.empty()) << "control notifications stay in the dialog";
}

TEST(DialogTest, ModalBoxWithoutParentIsOwnedByTheMainWindow)
{
    CWinApp app;
    CScriptedDialog mainDialog;
    ASSERT_TRUE(mainDialog.Create(IDD_TEST));
    app.m_pMainWnd = &mainDialog;

    HWND hOwner = nullptr;
    BOOL bMainEnabled = TRUE;
    CScriptedDialog about;
    about.m_onInit = [&](CScriptedDialog& d) {
        hOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
        bMainEnabled = mainDialog.IsWindowEnabled();
        d.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    };
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_EQ(hOwner, mainDialog.m_hWnd);
    EXPECT_FALSE(bMainEnabled) << "the owner is disabled while the box runs";
    EXPECT_TRUE(mainDialog.IsWindowEnabled());
    app.m_pMainWnd = nullptr;
}

}  // namespace
