/*
 * The system probes and helpers against the real Wine configurations: the lead-byte table
 * of the configured code page, the locale comparison, wide-to-ANSI conversion, the cached
 * version and WOW64 probes (counted through the import table in a fresh child process),
 * the program launcher and the file calls that take the wide name on the NT family only.
 */
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bed/bed.h"
#include "import_hook.h"
#include "support/paths.h"
#include "support/system.h"

namespace {

// ---- AnsiCodePageLeadTable -----------------------------------------------------------

TEST(LeadTable, MatchesTheConfiguredCodePage)
{
    MbcsLeadTable table = AnsiCodePageLeadTable();
    bool chinese = bed::CodePage936();
    EXPECT_EQ(chinese ? 936u : 1252u, GetACP());
    EXPECT_EQ(chinese ? 1 : 0, table.Multibyte);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(chinese && b >= 0x81 && b <= 0xFE ? 1 : 0, table.Lead[b]) << b;
}

TEST(LeadTable, TheStaticTableIsBuiltFromTheCodePage)
{
    MbcsLeadTable table = AnsiCodePageLeadTable();
    EXPECT_EQ(table.Multibyte, LeadTable.Multibyte);
    EXPECT_EQ(0, memcmp(table.Lead, LeadTable.Lead, sizeof table.Lead));
}

TEST(LeadTable, PathWalksFollowTheCodePage)
{
    // 0x95 0x5C is one character in GBK; on 1252 the 0x5C is a backslash.
    const char path[] = "C:\\dir\\\x95\x5c.txt";
    EXPECT_STREQ(bed::CodePage936() ? "\x95\x5c.txt" : ".txt", FileNamePart(path));
}

// ---- ComparePaths --------------------------------------------------------------------

TEST(ComparePaths, IgnoresCaseAndGivesTheOrder)
{
    EXPECT_EQ(0, ComparePaths("Uninstall.LST", "uninstall.lst"));
    EXPECT_EQ(0, ComparePaths("C:\\Program Files\\Zelkor", "c:\\PROGRAM FILES\\zelkor"));
    EXPECT_EQ(0, ComparePaths("", ""));
    EXPECT_LT(ComparePaths("a.txt", "b.txt"), 0);
    EXPECT_GT(ComparePaths("b.txt", "A.txt"), 0);
    EXPECT_NE(0, ComparePaths("kpxext.dll", "kpxext64.dll"));
    EXPECT_EQ(0, ComparePaths("RICHEDIT", "RichEdit"));
}

TEST(ComparePaths, AFailedComparisonIsMinusTwo)
{
    EXPECT_EQ(-2, ComparePaths(nullptr, "a"));
}

// ---- WideToAnsi ----------------------------------------------------------------------

TEST(WideToAnsi, ConvertsToTheAnsiCodePage)
{
    char buffer[16];
    ASSERT_TRUE(WideToAnsi(L"Zelkor.lnk", buffer, sizeof buffer));
    EXPECT_STREQ("Zelkor.lnk", buffer);
    if (bed::CodePage936()) {
        ASSERT_TRUE(WideToAnsi(L"\x4E2D\x6587", buffer, sizeof buffer));
        EXPECT_STREQ("\xD6\xD0\xCE\xC4", buffer);
    } else {
        ASSERT_TRUE(WideToAnsi(L"caf\x00E9", buffer, sizeof buffer));
        EXPECT_STREQ("caf\xE9", buffer);
    }
}

TEST(WideToAnsi, FailsWhenTheBufferIsTooSmall)
{
    char buffer[4];
    EXPECT_FALSE(WideToAnsi(L"abcdef", buffer, sizeof buffer));
    EXPECT_TRUE(WideToAnsi(L"abc", buffer, sizeof buffer));
    EXPECT_STREQ("abc", buffer);
}

// ---- WinNtMajorVersion ---------------------------------------------------------------

TEST(WinNtMajorVersion, IsZeroExactlyOnTheOlderFamily)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    if (bed::OlderFamily()) {
        EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS), version.dwPlatformId);
        EXPECT_EQ(0u, WinNtMajorVersion());
    } else {
        EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), version.dwPlatformId);
        EXPECT_NE(0u, WinNtMajorVersion());
        EXPECT_EQ(version.dwMajorVersion, WinNtMajorVersion());
    }
}

int GetVersionCalls = 0;
decltype(&GetVersionExA) RealGetVersionExA = nullptr;

BOOL WINAPI CountingGetVersionExA(LPOSVERSIONINFOA version)
{
    ++GetVersionCalls;
    return RealGetVersionExA(version);
}

TEST(ProbeChild, VersionIsAskedOnce)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as the child of WinNtMajorVersion.AsksTheSystemOnce";
    ImportHook hook("GetVersionExA", reinterpret_cast<void*>(&CountingGetVersionExA));
    ASSERT_TRUE(hook.Installed());
    RealGetVersionExA = reinterpret_cast<decltype(&GetVersionExA)>(hook.Original);
    DWORD first = WinNtMajorVersion();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(first, WinNtMajorVersion());
    EXPECT_EQ(1, GetVersionCalls);
    EXPECT_EQ(bed::OlderFamily(), first == 0);
}

TEST(WinNtMajorVersion, AsksTheSystemOnce)
{
    EXPECT_TRUE(RunChild("ProbeChild.VersionIsAskedOnce").Passed);
}

// ---- RunningUnderWow64 ---------------------------------------------------------------

TEST(RunningUnderWow64, AgreesWithTheSystemAndIsFalseFor64BitCode)
{
    BOOL wow64 = TRUE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_EQ(wow64 != FALSE, RunningUnderWow64());
    if (sizeof(void*) == 8) {
        EXPECT_FALSE(RunningUnderWow64());
    }
}

int Wow64Lookups = 0;
bool HideIsWow64Process = false;
decltype(&GetProcAddress) RealGetProcAddress = nullptr;

FARPROC WINAPI CountingGetProcAddress(HMODULE module, LPCSTR name)
{
    if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && strcmp(name, "IsWow64Process") == 0) {
        ++Wow64Lookups;
        if (HideIsWow64Process) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return nullptr;
        }
    }
    return RealGetProcAddress(module, name);
}

TEST(ProbeChild, Wow64IsCachedOnlyOnceAnswered)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as the child of RunningUnderWow64.CachesOnlyAnAnswer";
    ImportHook hook("GetProcAddress", reinterpret_cast<void*>(&CountingGetProcAddress));
    ASSERT_TRUE(hook.Installed());
    RealGetProcAddress = reinterpret_cast<decltype(&GetProcAddress)>(hook.Original);

    // A system without the function: false, and looked up again on every call.
    HideIsWow64Process = true;
    EXPECT_FALSE(RunningUnderWow64());
    EXPECT_FALSE(RunningUnderWow64());
    EXPECT_EQ(2, Wow64Lookups);

    // Once the function answers, the answer is kept.
    HideIsWow64Process = false;
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    EXPECT_EQ(wow64 != FALSE, RunningUnderWow64());
    EXPECT_EQ(3, Wow64Lookups);
    EXPECT_EQ(wow64 != FALSE, RunningUnderWow64());
    EXPECT_EQ(3, Wow64Lookups);
}

TEST(RunningUnderWow64, CachesOnlyAnAnswer)
{
    EXPECT_TRUE(RunChild("ProbeChild.Wow64IsCachedOnlyOnceAnswered").Passed);
}

// ---- LaunchProgram -------------------------------------------------------------------

class LaunchProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = bed::ScratchFolder("support-launch");
        GetCurrentDirectoryA(sizeof SavedFolder, SavedFolder);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(SavedFolder);
        bed::RemoveTree(Folder);
    }

    std::string Folder;
    char SavedFolder[MAX_PATH] = "";
};

TEST_F(LaunchProgramTest, RunsTheCommandLineInTheGivenFolderAndWaits)
{
    EXPECT_TRUE(LaunchProgram("cmd.exe /c echo launched>launched.txt", Folder.c_str(), 30000));
    EXPECT_EQ("launched\r\n", bed::ReadFileBytes(Folder + "\\launched.txt"));
}

TEST_F(LaunchProgramTest, WithoutAFolderTheCurrentFolderIsUsed)
{
    ASSERT_TRUE(SetCurrentDirectoryA(Folder.c_str()));
    EXPECT_TRUE(LaunchProgram("cmd.exe /c echo here>here.txt", nullptr, 30000));
    SetCurrentDirectoryA(SavedFolder);
    EXPECT_EQ("here\r\n", bed::ReadFileBytes(Folder + "\\here.txt"));
}

TEST_F(LaunchProgramTest, FailsWhenNothingCanBeStarted)
{
    EXPECT_FALSE(LaunchProgram("C:\\zelkor-tests\\no-such-program.exe", nullptr, 0));
    EXPECT_FALSE(LaunchProgram("cmd.exe /c exit", (Folder + "\\missing").c_str(), 0));
}

TEST_F(LaunchProgramTest, WithoutAWaitItReturnsAtOnce)
{
    // The child waits for an event that only this test sets, so a launcher that waited
    // would never come back.
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "zelkor-launch-release");
    ASSERT_NE(nullptr, release);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string line = std::string("\"") + self +
                       "\" --gtest_filter=ProbeChild.WaitsForRelease --zelkor-child";
    EXPECT_TRUE(LaunchProgram(line.c_str(), nullptr, 0));
    SetEvent(release);
    CloseHandle(release);
}

TEST(ProbeChild, WaitsForRelease)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as the child of LaunchProgramTest.WithoutAWaitItReturnsAtOnce";
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, "zelkor-launch-release");
    if (release) {
        WaitForSingleObject(release, 60000);
        CloseHandle(release);
    }
}

// ---- DeleteFileEither, FileExistsEither ----------------------------------------------

class EitherNameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = bed::ScratchFolder("support-either");
        Existing = Folder + "\\present.txt";
        Missing = Folder + "\\absent.txt";
        ASSERT_TRUE(bed::WriteFileBytes(Existing, "x"));
        WideExisting = std::wstring(Existing.begin(), Existing.end());
        WideMissing = std::wstring(Missing.begin(), Missing.end());
    }
    void TearDown() override { bed::RemoveTree(Folder); }
    bool NtFamily() const { return !bed::OlderFamily(); }

    std::string Folder, Existing, Missing;
    std::wstring WideExisting, WideMissing;
};

TEST_F(EitherNameTest, ExistsTakesTheWideNameOnlyOnTheNtFamily)
{
    struct Case {
        const std::string* Ansi;
        const wchar_t* Wide;
        bool OnNt;
        bool OnOlder;
    } cases[] = {
        {&Existing, nullptr, true, true},
        {&Existing, L"", true, true},
        {&Missing, L"", false, false},
        {&Missing, nullptr, false, false},
        {&Missing, WideExisting.c_str(), true, false},
        {&Existing, WideMissing.c_str(), false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NtFamily() ? c.OnNt : c.OnOlder, FileExistsEither(c.Ansi->c_str(), c.Wide))
            << *c.Ansi << " wide " << (c.Wide ? (*c.Wide ? "given" : "empty") : "absent");
}

TEST_F(EitherNameTest, ExistsSeesAWideOnlyNameOnTheNtFamily)
{
    // A Hangul name has no form in code page 936 or 1252.
    std::wstring wide = std::wstring(Folder.begin(), Folder.end()) + L"\\\xD55C.txt";
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    char ansi[MAX_PATH];
    ASSERT_TRUE(WideToAnsi(wide.c_str(), ansi, sizeof ansi));
    EXPECT_EQ(NtFamily(), FileExistsEither(ansi, wide.c_str()));
    EXPECT_EQ(NtFamily(), DeleteFileEither(ansi, wide.c_str()));
    EXPECT_EQ(!NtFamily(), GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES);
    DeleteFileW(wide.c_str());
}

TEST_F(EitherNameTest, DeleteWithAnEmptyWideNameUsesTheAnsiName)
{
    EXPECT_TRUE(DeleteFileEither(Existing.c_str(), L""));
    EXPECT_FALSE(bed::FileExists(Existing));
    EXPECT_FALSE(DeleteFileEither(Existing.c_str(), L""));
    ASSERT_TRUE(bed::WriteFileBytes(Existing, "x"));
    EXPECT_TRUE(DeleteFileEither(Existing.c_str(), nullptr));
    EXPECT_FALSE(bed::FileExists(Existing));
}

TEST_F(EitherNameTest, DeleteTakesTheWideNameOnlyOnTheNtFamily)
{
    EXPECT_EQ(NtFamily(), DeleteFileEither(Missing.c_str(), WideExisting.c_str()));
    EXPECT_EQ(!NtFamily(), bed::FileExists(Existing));
    ASSERT_TRUE(bed::WriteFileBytes(Existing, "x"));
    EXPECT_EQ(!NtFamily(), DeleteFileEither(Existing.c_str(), WideMissing.c_str()));
    EXPECT_EQ(NtFamily(), bed::FileExists(Existing));
}

}  // namespace
