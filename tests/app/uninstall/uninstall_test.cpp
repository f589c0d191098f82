// Process tests of the uninstall: the built uninstall.exe runs in a scratch installation
// folder over a real Uninstall.lst; the stand-in COMSPEC records the self-removal script
// and (on the NT family) hands it to cmd.exe, so the tests see the folder disappear.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "bed.h"
#include "driver.h"
#include "snapshot.h"

namespace {

const char PendingKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char PendingValue[] = "PendingFileRenameOperations";

std::string Ansi(const char* utf8) { return bed::AnsiFromUtf8(utf8); }

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string EnvValue(const char* name, bool* present = nullptr)
{
    char buffer[2048];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (present)
        *present = n > 0 && n < sizeof buffer;
    return (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

std::string TempScriptPath()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "Uninstall_Kpx.Bat";
}

std::string ShortName(const std::string& path)
{
    char out[1024];
    DWORD n = GetShortPathNameA(path.c_str(), out, sizeof out);
    return (n > 0 && n < sizeof out) ? std::string(out) : path;
}

// The expected script, written out independently of the program's own builder.
std::string ExpectedScript(bool nt, const std::string& exe, const std::string& folder,
                           const std::string& script)
{
    std::string q = "\"";
    std::string text = nt ? q + exe + q + " /wait\r\n" : "start /wait " + q + exe + q + " /wait\r\n";
    for (int i = 0; i < 5; ++i)
        text += "del " + q + exe + q + "\r\nrd " + q + folder + q + "\r\nif not exist " + q + exe +
                q + " goto done\r\n";
    text += ":done\r\nif exist " + q + exe + q + " " + q + exe + q + " /warning\r\ndel " + q +
            script + q;
    return text;
}

// The sources of PendingFileRenameOperations (every first string of a pair), lower case.
std::vector<std::string> PendingDeletions(std::string* raw = nullptr, bool* present = nullptr)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PendingKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExA(key, PendingValue, nullptr, &type, nullptr, &size);
    std::string data(size, '\0');
    if (status == ERROR_SUCCESS && size)
        RegQueryValueExA(key, PendingValue, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    RegCloseKey(key);
    if (present)
        *present = status == ERROR_SUCCESS;
    if (raw)
        *raw = data;
    std::vector<std::string> strings;
    size_t start = 0;
    for (size_t i = 0; i < data.size(); ++i)
        if (data[i] == '\0') {
            strings.push_back(data.substr(start, i - start));
            start = i + 1;
        }
    for (size_t i = 0; i + 1 < strings.size(); i += 2)
        if (!strings[i].empty() && strings[i + 1].empty())
            names.push_back(Lower(strings[i]));
    return names;
}

void RestorePending(const std::string& raw, bool present)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PendingKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (present)
        RegSetValueExA(key, PendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(raw.data()),
                       static_cast<DWORD>(raw.size()));
    else
        RegDeleteValueA(key, PendingValue);
    RegCloseKey(key);
}

std::string WininitPath()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\wininit.ini";
}

// The values of the NUL lines of [Rename], lower case.
std::vector<std::string> WininitDeletions()
{
    std::vector<std::string> names;
    char section[32768] = {};
    GetPrivateProfileSectionA("Rename", section, sizeof section, WininitPath().c_str());
    for (const char* p = section; *p; p += strlen(p) + 1) {
        std::string entry = Lower(p);
        if (entry.compare(0, 4, "nul=") == 0)
            names.push_back(entry.substr(4));
    }
    return names;
}

size_t CountOf(const std::vector<std::string>& names, const std::string& name)
{
    return std::count(names.begin(), names.end(), Lower(name));
}

class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Base = bed::ScratchFolder("uninstall");
        Record = Base + "\\record";
        CreateDirectoryA(Record.c_str(), nullptr);
        UseFolder(Base + "\\inst");
        SavedComspec = EnvValue("COMSPEC", &HadComspec);
        Comspec = bed::BuildPath("tests/app/uninstall/uninstall_comspec.exe");
        SetEnvironmentVariableA("COMSPEC", Comspec.c_str());
        SetEnvironmentVariableA("ZELKOR_COMSPEC_RECORD", Record.c_str());
        // The older family's start line does not run under Wine's cmd.exe: record only.
        SetEnvironmentVariableA("ZELKOR_COMSPEC_HANDOVER", bed::OlderFamily() ? "0" : "1");
        Script = TempScriptPath();
        DeleteFileA(Script.c_str());
        PendingRaw.clear();
        PendingDeletions(&PendingRaw, &PendingPresent);
        WininitBefore = bed::ReadFileBytes(WininitPath());
        WininitExisted = bed::FileExists(WininitPath());
        WininitNulBefore = WininitDeletions().size();
    }

    void TearDown() override
    {
        Holders.clear();
        if (SelfRemovalRuns() && bed::FileExists(Record + "\\command.txt"))
            WaitForScriptEnd();
        SetEnvironmentVariableA("COMSPEC", HadComspec ? SavedComspec.c_str() : nullptr);
        SetEnvironmentVariableA("ZELKOR_COMSPEC_RECORD", nullptr);
        SetEnvironmentVariableA("ZELKOR_COMSPEC_HANDOVER", nullptr);
        RestorePending(PendingRaw, PendingPresent);
        if (WininitExisted)
            bed::WriteFileBytes(WininitPath(), WininitBefore);
        else
            DeleteFileA(WininitPath().c_str());
        DeleteFileA(Script.c_str());
        bed::RemoveTree(Base);
    }

    void UseFolder(const std::string& folder)
    {
        Inst = folder;
        CreateDirectoryA(Inst.c_str(), nullptr);
        Exe = Inst + (Inst.back() == '\\' ? "" : "\\") + "uninstall.exe";
        ASSERT_TRUE(bed::CopyFileTo(bed::ProgramPath(), Exe)) << Exe;
    }

    std::string In(const std::string& name) const
    {
        return Inst + (Inst.back() == '\\' ? "" : "\\") + name;
    }

    void Write(const std::string& name, const std::string& bytes = "x", DWORD attributes = 0)
    {
        ASSERT_TRUE(bed::WriteFileBytes(In(name), bytes)) << name;
        if (attributes)
            SetFileAttributesA(In(name).c_str(), attributes);
    }
    void Folder(const std::string& name) { CreateDirectoryA(In(name).c_str(), nullptr); }

    bool SelfRemovalRuns() const { return !bed::OlderFamily(); }

    // Runs the uninstall and waits for it; any window it shows fails the test.
    void RunSilentExpectingNoWindow()
    {
        bed::RunningProcess process("\"" + Exe + "\" /s", Base);
        ASSERT_TRUE(process.Started());
        for (DWORD start = GetTickCount(); GetTickCount() - start < 120000;) {
            if (process.Wait(50))
                return;
            HWND window = driver::WaitForWindow(process.Id(), 0);
            if (window) {
                ADD_FAILURE() << "unexpected window: " << driver::Text(window) << " / "
                              << (driver::MessageLines(window).empty() ? "" : driver::MessageLines(window).back());
                driver::Answer(window, IDOK);
            }
        }
        FAIL() << "the uninstall did not end";
    }

    // Waits for the script to delete the executable and itself.
    void WaitForScriptEnd()
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(100))
            if (!bed::FileExists(Exe) && !bed::FileExists(Script) &&
                bed::FileExists(Record + "\\done.txt"))
                return;
    }

    // The interpreter starts as the uninstall ends; give it time to write its record.
    bool WaitForRecord()
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(50))
            if (bed::FileExists(Record + "\\script.bat")) {
                Sleep(100);
                return true;
            }
        return false;
    }

    void ExpectRecordedScript(const std::string& folder)
    {
        EXPECT_TRUE(WaitForRecord());
        EXPECT_EQ(bed::ReadFileBytes(Record + "\\command.txt"), Comspec + " /c \"" + Script + "\"");
        EXPECT_EQ(bed::ReadFileBytes(Record + "\\script.bat"),
                  ExpectedScript(!bed::OlderFamily(), Exe, folder, Script));
    }

    std::string Base, Record, Inst, Exe, Comspec, Script;
    std::string SavedComspec;
    bool HadComspec = false;
    std::string PendingRaw;
    bool PendingPresent = false;
    std::string WininitBefore;
    bool WininitExisted = false;
    size_t WininitNulBefore = 0;
    std::vector<std::unique_ptr<bed::RunningProcess>> Holders;
};

// ---- whole runs ----

bed::Snapshot RegistrySnapshot()
{
    bed::Snapshot snapshot;
    bed::AddRegistryTree(snapshot, HKEY_CLASSES_ROOT, "");
    bed::AddRegistryTree(snapshot, HKEY_LOCAL_MACHINE, "Software");
    bed::AddRegistryTree(snapshot, HKEY_CURRENT_USER, "Software");
    return snapshot;
}

// What a whole run may leave changed: Wine's own display state, and the empty handler
// keys (and their parents) that the integration's removal leaves on purpose under the
// classes *, Folder, Drive, Directory and exefile.
bool LeftOnPurpose(const bed::SnapshotChange& change)
{
    std::string name = Lower(change.Name);
    const std::string wine = "hkcu\\software\\wine\\";
    if (name.compare(0, wine.size(), wine) == 0)
        return true;
    if (!change.Added() || change.After != "(key)")
        return false;
    for (const char* root : {"hkcr\\", "hklm\\software\\classes\\"}) {
        std::string prefix = root;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string rest = name.substr(prefix.size());
        std::string cls = rest.substr(0, rest.find('\\'));
        bool handlerClass = cls == "*" || cls == "folder" || cls == "drive" ||
                            cls == "directory" || cls == "exefile";
        return handlerClass && (rest == cls || rest.find("\\shellex") == cls.size());
    }
    return false;
}

TEST_F(UninstallTest, WholeRunRemovesEverythingAndTheRegistryIsAsBeforeSetup)
{
    bed::Snapshot before = RegistrySnapshot();
    bed::ProcessResult setup = bed::RunProcess("\"" + Exe + "\" /setup /s", 120000, Base);
    ASSERT_TRUE(setup.Finished);

    Folder("sub");
    Folder("sub\\deep");
    Folder("sub\\deep\\deeper");
    Folder("readonly folder");
    SetFileAttributesA(In("readonly folder").c_str(), FILE_ATTRIBUTE_READONLY);
    Write("sub\\deep\\deeper\\file.dat", "data", FILE_ATTRIBUTE_READONLY);
    Write("sub\\a.txt");
    Write("Zelkor.exe");
    Write("readonly.txt", "r", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Write(" lead.txt");
    Write("zelkor.gid");
    Write("zelkor.fts");
    ASSERT_TRUE(bed::WriteFileBytes(Base + "\\sentinel.txt", "keep"));
    Write("Uninstall.lst",
          "sub\r\n"
          "\r\n"
          "   \t \r\n"
          "sub\\deep\r\n"
          "sub\\deep\\deeper\r\n"
          "sub\\deep\\deeper\\file.dat   \r\n"
          "readonly folder\n"
          "Zelkor.exe\t \r\n"
          "readonly.txt\n"
          " lead.txt\r\n"
          "sub\\a.txt\r\r\n"
          "missing.txt\r\n"
          "kpxnew.dat\r\n"
          "zipnew.dat\r\n"
          "uninstall.exe\r\n"
          "Uninstall.lst");

    RunSilentExpectingNoWindow();
    for (const char* name : {"sub", "readonly folder", "Zelkor.exe", "readonly.txt", " lead.txt",
                             "zelkor.gid", "zelkor.fts", "Uninstall.lst"})
        EXPECT_FALSE(bed::FileExists(In(name))) << name;
    EXPECT_TRUE(bed::FileExists(Base + "\\sentinel.txt"));

    if (SelfRemovalRuns()) {
        WaitForScriptEnd();
        EXPECT_FALSE(bed::FileExists(Exe));
        EXPECT_FALSE(bed::FileExists(Inst));
        EXPECT_FALSE(bed::FileExists(Script));
        EXPECT_EQ(bed::ReadFileBytes(Record + "\\done.txt"), "0");
    }
    ExpectRecordedScript(Inst);

    std::vector<bed::SnapshotChange> unexpected;
    for (const bed::SnapshotChange& change : bed::DiffSnapshots(before, RegistrySnapshot()))
        if (!LeftOnPurpose(change))
            unexpected.push_back(change);
    EXPECT_EQ("", bed::DescribeChanges(unexpected));
}

// ---- the confirmation ----

struct AnswerCase {
    int Answer;
    bool Removed;
};

class ConfirmationTest : public UninstallTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ConfirmationTest, AnswerDecides)
{
    Folder("sub");
    Write("sub\\a.txt");
    Write("Uninstall.lst", "sub\r\nsub\\a.txt\r\nuninstall.exe\r\nUninstall.lst\r\n");
    bed::RunningProcess process("\"" + Exe + "\"", Base);
    ASSERT_TRUE(process.Started());
    HWND box = driver::WaitForWindow(process.Id(), 30000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver::Text(box), Ansi("卸载 Zelkor"));
    std::vector<std::string> lines = driver::MessageLines(box);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Ansi("确实要卸载 Zelkor 吗?"));
    driver::Answer(box, GetParam().Answer);
    ASSERT_TRUE(process.Wait(60000));
    EXPECT_EQ(bed::FileExists(In("sub\\a.txt")), !GetParam().Removed);
    EXPECT_EQ(bed::FileExists(In("Uninstall.lst")), !GetParam().Removed);
    if (GetParam().Removed) {
        ExpectRecordedScript(Inst);
    } else {
        EXPECT_FALSE(bed::FileExists(Record + "\\command.txt"));
    }
    if (!GetParam().Removed) {
        EXPECT_TRUE(bed::FileExists(Exe));
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ConfirmationTest,
                         ::testing::Values(AnswerCase{IDNO, false}, AnswerCase{IDYES, true}));

// ---- the list cannot be opened ----

TEST_F(UninstallTest, MissingListIsReportedInSilentModeAndChangesNothing)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zelkor\\Setup", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    DWORD one = 1;
    RegSetValueExA(key, "Desktop", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), sizeof one);
    RegCloseKey(key);
    Write("a.txt");

    bed::RunningProcess process("\"" + Exe + "\" /s", Base);
    HWND box = driver::WaitForWindow(process.Id(), 30000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver::Text(box), Ansi("卸载 Zelkor"));
    std::vector<std::string> lines = driver::MessageLines(box);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Ansi("无法打开列表文件 ") + "Uninstall.lst");
    driver::Answer(box, IDOK);
    ASSERT_TRUE(process.Wait(60000));

    EXPECT_TRUE(bed::FileExists(In("a.txt")));
    EXPECT_FALSE(bed::FileExists(Record + "\\command.txt"));
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Zelkor\\Setup", "Desktop", RRF_RT_REG_DWORD,
                           nullptr, &value, &size), ERROR_SUCCESS);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zelkor\\Setup");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zelkor");
}

// ---- files in use ----

class LockedFileTest : public UninstallTest {
protected:
    void Hold(const std::string& commandLine)
    {
        static int count = 0;
        std::string event = "ZelkorUninstallHolder" + std::to_string(GetCurrentProcessId()) + "_" +
                            std::to_string(++count);
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
        Holders.emplace_back(new bed::RunningProcess(commandLine + " " + event, Base));
        ASSERT_TRUE(Holders.back()->Started()) << commandLine;
        EXPECT_EQ(WaitForSingleObject(ready, 30000), WAIT_OBJECT_0) << commandLine;
        CloseHandle(ready);
    }

    std::string Helper(const char* name) const
    {
        return bed::BuildPath(std::string("tests/app/uninstall/") + name);
    }

    // The scheduled names of this configuration's mechanism.
    std::vector<std::string> Scheduled() const
    {
        return bed::OlderFamily() ? WininitDeletions() : PendingDeletions();
    }
    std::string ScheduledForm(const std::string& path) const
    {
        return bed::OlderFamily() ? ShortName(path) : "\\??\\" + path;
    }
};

// A running program and a loaded library cannot be deleted but can be renamed: they are
// renamed to the first free ".N.tmp" name and scheduled, and no notice is shown.
TEST_F(LockedFileTest, RunningProgramAndLoadedLibraryAreRenamedAndScheduled)
{
    ASSERT_TRUE(bed::CopyFileTo(Helper("uninstall_holder.exe"), In("tool.exe")));
    ASSERT_TRUE(bed::CopyFileTo(Helper("uninstall_held.dll"), In("held.dll")));
    Write("held.dll.0.tmp", "taken");
    Write("other.txt");
    Hold("\"" + In("tool.exe") + "\" run");
    Hold("\"" + Helper("uninstall_holder.exe") + "\" load \"" + In("held.dll") + "\"");
    Write("Uninstall.lst", "tool.exe\r\nheld.dll\r\nother.txt\r\nuninstall.exe\r\nUninstall.lst\r\n");

    RunSilentExpectingNoWindow();
    EXPECT_FALSE(bed::FileExists(In("tool.exe")));
    EXPECT_FALSE(bed::FileExists(In("held.dll")));
    EXPECT_FALSE(bed::FileExists(In("other.txt")));
    ASSERT_TRUE(bed::FileExists(In("tool.exe.0.tmp")));
    ASSERT_TRUE(bed::FileExists(In("held.dll.1.tmp")));
    EXPECT_EQ(bed::ReadFileBytes(In("held.dll.0.tmp")), "taken");

    std::vector<std::string> scheduled = Scheduled();
    EXPECT_EQ(CountOf(scheduled, ScheduledForm(In("tool.exe.0.tmp"))), 1u);
    EXPECT_EQ(CountOf(scheduled, ScheduledForm(In("held.dll.1.tmp"))), 1u);
    EXPECT_EQ(CountOf(scheduled, ScheduledForm(In("held.dll.0.tmp"))), 0u);
    EXPECT_EQ(CountOf(scheduled, ScheduledForm(Exe)), 0u);
    ExpectRecordedScript(Inst);
}

// A file held open without delete sharing can be neither deleted nor renamed: it is
// scheduled under its own name and the restart notice follows, in silent mode too. Two
// such files both stay scheduled (each gets its own NUL line in wininit.ini).
TEST_F(LockedFileTest, HeldOpenFilesAreScheduledUnderTheirNamesWithTheNotice)
{
    Folder("data");
    Write("data\\busy.txt", "busy");
    Write("second.txt", "busy too");
    Write("other.txt");
    Hold("\"" + Helper("uninstall_holder.exe") + "\" open \"" + In("data\\busy.txt") + "\"");
    Hold("\"" + Helper("uninstall_holder.exe") + "\" open \"" + In("second.txt") + "\"");
    Write("Uninstall.lst", "data\\busy.txt\r\nsecond.txt\r\nother.txt\r\ndata\r\nuninstall.exe\r\nUninstall.lst\r\n");

    bed::RunningProcess process("\"" + Exe + "\" /s", Base);
    HWND box = driver::WaitForWindow(process.Id(), 60000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver::Text(box), Ansi("卸载 Zelkor"));
    std::vector<std::string> lines = driver::MessageLines(box);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Ansi("你需要重新启动 Windows 来完全卸载 Zelkor。"));
    // The notice comes after the passes: the list is already gone.
    EXPECT_FALSE(bed::FileExists(In("Uninstall.lst")));
    EXPECT_FALSE(bed::FileExists(In("other.txt")));
    EXPECT_FALSE(bed::FileExists(Record + "\\command.txt"));
    driver::Answer(box, IDOK);
    ASSERT_TRUE(process.Wait(60000));

    EXPECT_TRUE(bed::FileExists(In("data\\busy.txt")));
    EXPECT_TRUE(bed::FileExists(In("second.txt")));
    EXPECT_FALSE(bed::FileExists(In("data\\busy.txt.0.tmp")));
    std::vector<std::string> scheduled = Scheduled();
    EXPECT_GE(CountOf(scheduled, ScheduledForm(In("data\\busy.txt"))), 1u);
    EXPECT_GE(CountOf(scheduled, ScheduledForm(In("second.txt"))), 1u);
    if (bed::OlderFamily()) {
        EXPECT_EQ(scheduled.size(), 2u + WininitNulBefore);
    }
    ExpectRecordedScript(Inst);
}

// ---- an installation at a drive root ----

// T: is mapped by the bed to C:\zelkor-tests\drive-t.
TEST_F(UninstallTest, DriveRootJoinsNamesWithOneBackslashAndTheScriptNamesTheRoot)
{
    std::string root = bed::ScratchFolder("drive-t");
    DWORD rootAttributes = GetFileAttributesA("T:\\");
    ASSERT_TRUE(rootAttributes != INVALID_FILE_ATTRIBUTES && (rootAttributes & FILE_ATTRIBUTE_DIRECTORY))
        << "drive T: is not mapped";
    DeleteFileA(Exe.c_str());
    RemoveDirectoryA(Inst.c_str());
    UseFolder("T:\\");
    Folder("dir");
    Write("dir\\b.txt");
    Write("a.txt");
    Write("Uninstall.lst", "dir\r\na.txt\r\ndir\\b.txt\r\nuninstall.exe\r\nUninstall.lst\r\n");
    ASSERT_TRUE(bed::FileExists(root + "\\a.txt"));

    RunSilentExpectingNoWindow();
    EXPECT_FALSE(bed::FileExists(root + "\\a.txt"));
    EXPECT_FALSE(bed::FileExists(root + "\\dir"));
    EXPECT_FALSE(bed::FileExists(root + "\\Uninstall.lst"));
    ExpectRecordedScript("T:\\");
    if (SelfRemovalRuns()) {
        WaitForScriptEnd();
        EXPECT_FALSE(bed::FileExists(root + "\\uninstall.exe"));
        EXPECT_FALSE(bed::FileExists(Script));
    }
    bed::RemoveTree(root);
}

// ---- lines that reach outside the folder or do not fit ----

TEST_F(UninstallTest, UnsafeLinesDeleteNothingOutsideAndTheRestGoes)
{
    ASSERT_TRUE(bed::WriteFileBytes(Base + "\\sentinel.txt", "keep"));
    Folder("a");
    Write("a\\b.txt");
    Write("keep.txt", "a piece of an overlong line names me");
    Write("last.txt");
    std::string list =
        "..\\sentinel.txt\r\n"
        "a\\..\\..\\sentinel.txt\r\n"
        ".. \\sentinel.txt\r\n"
        ". .\\sentinel.txt\r\n"
        "...\\sentinel.txt\r\n"
        "../sentinel.txt\r\n"
        "a\\..\\.. \\sentinel.txt\r\n"
        "\\zelkor-tests\\uninstall\\sentinel.txt\r\n"
        "C:\\zelkor-tests\\uninstall\\sentinel.txt\r\n"
        "..\r\n";
    // One line longer than a read takes: its second piece would name keep.txt.
    list += std::string(2047, 'x') + "keep.txt\r\n";
    // A line whose joined path does not fit 1024 bytes.
    list += "a\\" + std::string(1100, 'y') + "\r\n";
    list += "a\\b.txt\r\na\r\nuninstall.exe\r\nUninstall.lst\r\nlast.txt";
    Write("Uninstall.lst", list);

    RunSilentExpectingNoWindow();
    EXPECT_EQ(bed::ReadFileBytes(Base + "\\sentinel.txt"), "keep");
    EXPECT_TRUE(bed::FileExists(In("keep.txt")));
    EXPECT_FALSE(bed::FileExists(In("a")));
    EXPECT_FALSE(bed::FileExists(In("last.txt")));
    EXPECT_FALSE(bed::FileExists(In("Uninstall.lst")));
    ExpectRecordedScript(Inst);
    if (SelfRemovalRuns()) {
        WaitForScriptEnd();
        EXPECT_FALSE(bed::FileExists(Exe));
        // keep.txt keeps the folder.
        EXPECT_TRUE(bed::FileExists(In("keep.txt")));
    }
}

}  // namespace
