// procfix.exe as a process under Wine's own spooler. The printer is added
// through the spooler API with a driver registered from Wine's PostScript
// driver file; the XP version is given to procfix.exe alone through Wine's
// per-program settings, so the prefix keeps its default version.
#include "procfix/resetrules.h"

#include "afx/winheaders.h"

#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kDriver[] = "Spoolscope Test Driver";
const char kPrinter[] = "Spoolscope Test Printer";
const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\procfix.exe";
const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";

const std::string kStars = std::string(12, ' ') + std::string(45, '*') + "\r\n";
const std::string kBanner = kStars + std::string(12, ' ') + "*\t Checking started,please waiting..." +
                            std::string(5, ' ') + "*\r\n" + kStars + "\r\n";
const std::string kEnd = "\r\nPress any key to exit .\r\n";

std::string WindowsPath(const char* pszUnixPath)
{
    std::string path = std::string("Z:") + pszUnixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

struct ProcessRun {
    DWORD dwExitCode = 0xFFFFFFFF;
    std::string output;
};

// Runs procfix.exe with stdin a pipe that never delivers a key: a program
// that waits for one does not end.
ProcessRun RunProcfix(const std::string& arguments)
{
    ProcessRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE hOutRead, hOutWrite, hInRead, hInWrite;
    if (!::CreatePipe(&hOutRead, &hOutWrite, &inherit, 65536))
        return run;
    if (!::CreatePipe(&hInRead, &hInWrite, &inherit, 0)) {
        ::CloseHandle(hOutRead);
        ::CloseHandle(hOutWrite);
        return run;
    }
    ::SetHandleInformation(hOutRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(hInWrite, HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = "\"" + WindowsPath(PROCFIX_PATH) + "\"" + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = hInRead;
    startup.hStdOutput = hOutWrite;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    BOOL bStarted = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                     &startup, &process);
    ::CloseHandle(hOutWrite);
    ::CloseHandle(hInRead);
    if (bStarted) {
        if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
            ::GetExitCodeProcess(process.hProcess, &run.dwExitCode);
        } else {
            ::TerminateProcess(process.hProcess, 99);
            run.output = "(did not end)";
        }
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        char buffer[4096];
        DWORD dwRead;
        while (::ReadFile(hOutRead, buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0)
            run.output.append(buffer, dwRead);
    }
    ::CloseHandle(hInWrite);
    ::CloseHandle(hOutRead);
    return run;
}

struct Level2 {
    bool bRead = false;
    DWORD dwAttributes = 0;
    std::string printProcessor, datatype, port, driver, comment;
    std::vector<BYTE> devMode;
};

std::string Str(const char* psz)
{
    return psz != nullptr ? psz : "(null)";
}

Level2 ReadLevel2()
{
    Level2 result;
    HANDLE hPrinter;
    if (!::OpenPrinterA(const_cast<char*>(kPrinter), &hPrinter, nullptr))
        return result;
    DWORD dwNeeded = 0;
    ::GetPrinterA(hPrinter, 2, nullptr, 0, &dwNeeded);
    std::vector<BYTE> buffer(dwNeeded + 1);
    if (dwNeeded != 0 && ::GetPrinterA(hPrinter, 2, buffer.data(), dwNeeded, &dwNeeded)) {
        const PRINTER_INFO_2A* p = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        result.bRead = true;
        result.dwAttributes = p->Attributes;
        result.printProcessor = Str(p->pPrintProcessor);
        result.datatype = Str(p->pDatatype);
        result.port = Str(p->pPortName);
        result.driver = Str(p->pDriverName);
        result.comment = Str(p->pComment);
        if (p->pDevMode != nullptr) {
            const BYTE* pMode = reinterpret_cast<const BYTE*>(p->pDevMode);
            result.devMode.assign(pMode, pMode + p->pDevMode->dmSize + p->pDevMode->dmDriverExtra);
        }
    }
    ::ClosePrinter(hPrinter);
    return result;
}

std::vector<std::string> PrinterNames()
{
    std::vector<std::string> names;
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPrintersKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return names;
    char szName[260];
    for (DWORD i = 0; ::RegEnumKeyA(hKey, i, szName, sizeof(szName)) == ERROR_SUCCESS; ++i)
        names.push_back(szName);
    ::RegCloseKey(hKey);
    return names;
}

void RemoveTestPrinter()
{
    HANDLE hPrinter;
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (::OpenPrinterA(const_cast<char*>(kPrinter), &hPrinter, &defaults)) {
        ::DeletePrinter(hPrinter);
        ::ClosePrinter(hPrinter);
    }
    ::DeletePrinterDriverA(nullptr, nullptr, const_cast<char*>(kDriver));
}

bool SetProcfixVersion(const char* pszVersion)
{
    HKEY hKey;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return false;
    LONG lResult = ::RegSetValueExA(hKey, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(pszVersion),
                                    static_cast<DWORD>(strlen(pszVersion) + 1));
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

void RemoveProcfixVersion()
{
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kAppDefaults);
}

// Leaves the prefix as it was, whatever the test's outcome.
class CleanUp {
public:
    CleanUp()
    {
        RemoveProcfixVersion();
        RemoveTestPrinter();
    }
    ~CleanUp()
    {
        RemoveProcfixVersion();
        RemoveTestPrinter();
    }
};

TEST(ProcfixProcessTest, ResetsAPrinterOfWinesSpooler)
{
    CleanUp cleanUp;

    // Wine's default version (the test's own) is not one procfix supports.
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    ::GetVersionExA(&version);
    if (resetrules::PlatformKindOf(version.dwPlatformId, version.dwMajorVersion) ==
        resetrules::kPlatformUnsupported) {
        ProcessRun run = RunProcfix(" /reset now");
        EXPECT_EQ(run.dwExitCode, 0u);
        EXPECT_EQ(run.output, kBanner +
                                  "Only support Win98/ME/2000/XP !\r\nCheck over...\r\n"
                                  "Note: No printer need to be reset !\r\n" +
                                  kEnd);
    }

    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>(kDriver);
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = const_cast<char*>("wineps.drv");
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    driver.pDefaultDataType = const_cast<char*>("RAW");
    if (!::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver)))
        GTEST_SKIP() << "Wine refuses AddPrinterDriverA with wineps.drv, error " << ::GetLastError();
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<char*>(kPrinter);
    info.pDriverName = const_cast<char*>(kDriver);
    info.pPortName = const_cast<char*>("FILE:");
    info.pPrintProcessor = const_cast<char*>("winprint");
    info.pDatatype = const_cast<char*>("NT EMF 1.008");
    info.pComment = const_cast<char*>("procfix test");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_ENABLE_BIDI;
    HANDLE hAdded = ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (hAdded == nullptr)
        GTEST_SKIP() << "Wine refuses AddPrinterA, error " << ::GetLastError();
    ::ClosePrinter(hAdded);
    std::vector<std::string> names = PrinterNames();
    if (names != std::vector<std::string>{kPrinter})
        GTEST_SKIP() << "the prefix has printers besides the test's own (" << names.size()
                     << "): procfix's output cannot be known";

    const Level2 before = ReadLevel2();
    ASSERT_TRUE(before.bRead);
    ASSERT_TRUE(SetProcfixVersion("winxp64"));

    ProcessRun run = RunProcfix("");
    EXPECT_EQ(run.dwExitCode, 0u);
    EXPECT_EQ(run.output, kBanner + kPrinter + " Configure data need reset ...\r\nReset " + kPrinter +
                              " OK !!!\r\n\r\nCheck over...\r\n" + kEnd);

    const Level2 after = ReadLevel2();
    ASSERT_TRUE(after.bRead);
    EXPECT_EQ(after.dwAttributes,
              (before.dwAttributes | PRINTER_ATTRIBUTE_RAW_ONLY) & ~PRINTER_ATTRIBUTE_ENABLE_BIDI);
    EXPECT_EQ(after.printProcessor, "WinPrint");
    EXPECT_EQ(after.datatype, "RAW");
    EXPECT_EQ(after.port, before.port);
    EXPECT_EQ(after.driver, before.driver);
    EXPECT_EQ(after.comment, before.comment);
    EXPECT_EQ(after.devMode, before.devMode);

    // Nothing left to do, and arguments change nothing.
    for (const char* arguments : {"", " -x anything"}) {
        run = RunProcfix(arguments);
        EXPECT_EQ(run.dwExitCode, 0u) << arguments;
        EXPECT_EQ(run.output, kBanner + "Check over...\r\nNote: No printer need to be reset !\r\n" + kEnd)
            << arguments;
    }
}

}  // namespace
