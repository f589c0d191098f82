/*
 * The round trip of the integration: previous owners seeded, a record with every flag
 * applied (checked value by value), applied again (nothing changes, the first backups
 * stay), then RemoveRegistration. The registry (HKCU\Software and HKLM\Software, both
 * views under WOW64, and with them HKCR) and the shortcut folders must then be as before,
 * except for the keys the unregistration leaves on purpose, named below.
 */
#include <gtest/gtest.h>

#include <shlobj.h>
#include <cctype>
#include <map>

#include "bed.h"
#include "shell_test_support.h"
#include "snapshot.h"

namespace {

using namespace shelltest;

const char AllFlags[] = "apply 11111111111111111111";

struct Backup {
    DWORD Exist;
    std::string Type, Content, ShellNew;
};

// What the take-over must save, read from the state before it.
Backup ExpectedBackup(const std::string& extension)
{
    Backup backup;
    backup.Exist = KeyPresent(HKEY_CLASSES_ROOT, extension) ? 1 : 0;
    RegValue type = ReadValue(HKEY_CLASSES_ROOT, extension, "");
    RegValue content = ReadValue(HKEY_CLASSES_ROOT, extension, "Content Type");
    RegValue fileName = ReadValue(HKEY_CLASSES_ROOT, extension + "\\ShellNew", "FileName");
    RegValue nullFile = ReadValue(HKEY_CLASSES_ROOT, extension + "\\ShellNew", "NullFile");
    backup.Type = type.Data;
    backup.Content = content.Data;
    backup.ShellNew = fileName.Data;
    if (backup.ShellNew.empty() && nullFile.Present)
        backup.ShellNew = "*";
    return backup;
}

void SeedPreviousOwners()
{
    RemoveTree(HKEY_CLASSES_ROOT, ".zip");
    SetText(HKEY_CLASSES_ROOT, ".zip", "", "OtherZip.Archive");
    SetText(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/x-other-zip");
    SetText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "NullFile", "");
    RemoveTree(HKEY_CLASSES_ROOT, ".jar");
    SetText(HKEY_CLASSES_ROOT, ".jar", "", "OtherJar.File");
    RemoveTree(HKEY_CLASSES_ROOT, ".lha");
    RemoveTree(HKEY_CLASSES_ROOT, ".cab");
    SetText(HKEY_CLASSES_ROOT, ".cab", "", "OtherCab.File");
    SetText(HKEY_CLASSES_ROOT, ".cab\\ShellNew", "FileName", "C:\\Other\\empty.cab");
}

void RemoveSeeds()
{
    for (const char* key : {".zip", ".jar", ".lha", ".cab"})
        RemoveTree(HKEY_CLASSES_ROOT, key);
}

std::vector<std::string> ShortcutFolders()
{
    std::vector<std::string> folders = {ShellFolder(CSIDL_DESKTOPDIRECTORY),
                                        ShellFolder(CSIDL_STARTMENU)};
    // Wine reports an all-users Programs folder in win98 mode too; nothing may land there.
    std::string common = ShellFolder(CSIDL_COMMON_PROGRAMS);
    if (!common.empty() || !bed::OlderFamily())
        folders.push_back(common);
    return folders;
}

// HKEY_CLASSES_ROOT is the merged view of HKLM\Software\Classes and HKCU\Software\Classes
// (with Wow6432Node\Classes behind its 32-bit view): walking HKLM\Software in both views
// and HKCU\Software covers every key of it, at half the cost of walking it again.
bed::Snapshot TakeSnapshot(const std::vector<std::string>& folders)
{
    bed::Snapshot snapshot;
    if (UnderWow64()) {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
            bed::AddRegistryTree(snapshot, HKEY_LOCAL_MACHINE, "Software", view);
    } else {
        bed::AddRegistryTree(snapshot, HKEY_LOCAL_MACHINE, "Software");
    }
    bed::AddRegistryTree(snapshot, HKEY_CURRENT_USER, "Software");
    for (const std::string& folder : folders)
        bed::AddFolderTree(snapshot, folder);
    return snapshot;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

// The differences the removal leaves on purpose: the handler keys named by the handler
// name under *, Folder, Drive and Directory stay without a default value, together with
// the parents created for them; and the empty parents of the handler key under exefile.
bool LeftOnPurpose(const bed::SnapshotChange& change, const std::vector<std::string>& handlerNames)
{
    if (!change.Added() || change.After != "(key)")
        return false;
    std::string name = Lower(change.Name);
    static const char* const roots[] = {"hkcr\\", "hkcr64\\", "hkcr32\\",
                                        "hklm\\software\\classes\\",
                                        "hklm64\\software\\classes\\",
                                        "hklm32\\software\\classes\\",
                                        "hklm\\software\\wow6432node\\classes\\",
                                        "hklm64\\software\\wow6432node\\classes\\"};
    std::string rest;
    for (const char* root : roots) {
        std::string prefix = root;
        if (name.compare(0, prefix.size(), prefix) == 0 && name.size() > prefix.size()) {
            rest = name.substr(prefix.size());
            break;
        }
    }
    if (rest.empty())
        return false;
    if (rest == "exefile\\shellex" || rest == "exefile\\shellex\\propertysheethandlers")
        return true;
    static const char* const chains[] = {
        "*\\shellex\\contextmenuhandlers\\",       "folder\\shellex\\contextmenuhandlers\\",
        "folder\\shellex\\dragdrophandlers\\",     "drive\\shellex\\dragdrophandlers\\",
        "directory\\shellex\\contextmenuhandlers\\", "directory\\shellex\\dragdrophandlers\\"};
    for (const char* chain : chains) {
        for (const std::string& handler : handlerNames) {
            std::string full = chain + Lower(handler);
            // The handler key itself or one of its parents below the class.
            if (full.compare(0, rest.size(), rest) == 0 &&
                (rest.size() == full.size() || full[rest.size()] == '\\') &&
                rest.find('\\') != std::string::npos)
                return true;
            if ((rest == "drive" || rest == "directory") && full.compare(0, rest.size() + 1, rest + "\\") == 0)
                return true;
        }
    }
    return false;
}

void ExpectLink(const std::string& link, const std::string& target)
{
    LinkInfo info = ReadLink(link);
    ASSERT_TRUE(info.Loaded) << link;
    EXPECT_EQ(Lower(target), Lower(info.Path)) << link;
    EXPECT_EQ(Message(5113), info.Description) << link;
}

void CheckApplied(const std::string& dir, const std::map<std::string, Backup>& backups)
{
    bool nt = !bed::OlderFamily();
    SCOPED_TRACE(nt ? "NT family" : "older family");
    for (const std::string& extension : AllExtensions()) {
        SCOPED_TRACE(extension);
        EXPECT_EQ(extension == ".zip" ? "Zelkor.ZIP" : "Zelkor", Text(HKEY_CLASSES_ROOT, extension, ""));
        EXPECT_FALSE(ReadValue(HKEY_CLASSES_ROOT, extension, "Content Type").Present);
        const Backup& expected = backups.at(extension);
        std::string key = "Software\\Zelkor\\Setup\\" + extension;
        RegValue exist = ReadValue(HKEY_CURRENT_USER, key, "Exist");
        ASSERT_TRUE(exist.Present && exist.Type == REG_DWORD);
        EXPECT_EQ(expected.Exist, *reinterpret_cast<const DWORD*>(exist.Data.data()));
        EXPECT_EQ(expected.Type, Text(HKEY_CURRENT_USER, key, "Type"));
        EXPECT_EQ(expected.Content, Text(HKEY_CURRENT_USER, key, "Content"));
        EXPECT_EQ(expected.ShellNew, Text(HKEY_CURRENT_USER, key, "ShellNew"));
    }
    // The seeded previous owners, as saved.
    EXPECT_EQ("OtherZip.Archive", backups.at(".zip").Type);
    EXPECT_EQ("*", backups.at(".zip").ShellNew);
    EXPECT_EQ(0u, backups.at(".lha").Exist);
    EXPECT_EQ("C:\\Other\\empty.cab", backups.at(".cab").ShellNew);

    for (int i = 0; i < 100; i++) {
        char volume[8];
        snprintf(volume, sizeof volume, ".k%02d", i);
        if (i < 30 || !nt)
            EXPECT_EQ("Zelkor", Text(HKEY_CLASSES_ROOT, volume, "")) << volume;
        else
            EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, volume)) << volume;
    }

    // Explorer's New menu: a file name on the NT family, the bytes on the older one.
    struct Template { const char* Extension; const char* File; std::string Bytes; };
    for (const Template& t : {Template{".kpx", "kpxnew.dat", ExpectedNativeTemplate()},
                              Template{".zip", "zipnew.dat", ExpectedZipTemplate()}}) {
        std::string key = std::string(t.Extension) + "\\ShellNew";
        std::string file = dir + "\\" + t.File;
        std::vector<std::string> names = ValueNames(HKEY_CLASSES_ROOT, key);
        ASSERT_EQ(1u, names.size()) << key;
        if (nt) {
            EXPECT_EQ("FileName", names[0]);
            EXPECT_EQ(file, Text(HKEY_CLASSES_ROOT, key, "FileName"));
            EXPECT_EQ(t.Bytes, bed::ReadFileBytes(file));
        } else {
            EXPECT_EQ("Data", names[0]);
            RegValue data = ReadValue(HKEY_CLASSES_ROOT, key, "Data");
            EXPECT_EQ(static_cast<DWORD>(REG_BINARY), data.Type);
            EXPECT_EQ(t.Bytes, data.Data);
            EXPECT_FALSE(bed::FileExists(file));
        }
    }
    EXPECT_EQ("C:\\Other\\empty.cab", Text(HKEY_CLASSES_ROOT, ".cab\\ShellNew", "FileName"));

    // Program identifiers, application path, uninstall entry.
    std::string archiver = dir + "\\Zelkor.exe";
    std::string command = "\"" + archiver + "\" \"%1\"";
    EXPECT_EQ(Message(5109), Text(HKEY_CLASSES_ROOT, "Zelkor", ""));
    EXPECT_EQ(Message(5110), Text(HKEY_CLASSES_ROOT, "Zelkor.ZIP", ""));
    EXPECT_EQ(Message(5111), Text(HKEY_CLASSES_ROOT, "Zelkor.REV", ""));
    for (const char* id : {"Zelkor", "Zelkor.ZIP", "Zelkor.REV"})
        EXPECT_EQ(command, Text(HKEY_CLASSES_ROOT, std::string(id) + "\\shell\\open\\command", ""));
    EXPECT_EQ(archiver + ",0", Text(HKEY_CLASSES_ROOT, "Zelkor\\DefaultIcon", ""));
    EXPECT_EQ(archiver + ",0", Text(HKEY_CLASSES_ROOT, "Zelkor.ZIP\\DefaultIcon", ""));
    EXPECT_EQ(archiver + ",1", Text(HKEY_CLASSES_ROOT, "Zelkor.REV\\DefaultIcon", ""));
    EXPECT_EQ("Zelkor.REV", Text(HKEY_CLASSES_ROOT, ".rev", ""));
    const std::string appPath = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Zelkor.exe";
    EXPECT_EQ(archiver, Text(HKEY_LOCAL_MACHINE, appPath, ""));
    EXPECT_EQ(dir, Text(HKEY_LOCAL_MACHINE, appPath, "Path"));
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver";
    EXPECT_EQ(Message(5101), Text(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"));
    EXPECT_EQ(dir + "\\shell_step.exe", Text(HKEY_LOCAL_MACHINE, uninstall, "UninstallString"));

    // Shell extension: the 32-bit server always, the 64-bit one under WOW64.
    bool wow64 = UnderWow64();
    struct Server { const char* Id; const char* Library; const char* Handler; REGSAM View; };
    std::vector<Server> servers = {{ClassId32, "kpxext.dll", wow64 ? "Zelkor32" : "Zelkor", 0}};
    if (wow64)
        servers.push_back({ClassId64, "kpxext64.dll", "Zelkor", KEY_WOW64_64KEY});
    for (const Server& server : servers) {
        SCOPED_TRACE(server.Id);
        std::string clsid = std::string("CLSID\\") + server.Id;
        EXPECT_EQ("Zelkor", Text(HKEY_CLASSES_ROOT, clsid, "", server.View));
        EXPECT_EQ(dir + "\\" + server.Library, Text(HKEY_CLASSES_ROOT, clsid + "\\InProcServer32", "", server.View));
        EXPECT_EQ("Apartment", Text(HKEY_CLASSES_ROOT, clsid + "\\InProcServer32", "ThreadingModel", server.View));
        for (const char* format : {"Zelkor\\shellex\\ContextMenuHandlers\\", "Zelkor\\shellex\\PropertySheetHandlers\\",
                                   "Zelkor.ZIP\\shellex\\ContextMenuHandlers\\",
                                   "Zelkor.ZIP\\shellex\\PropertySheetHandlers\\",
                                   "exefile\\shellex\\PropertySheetHandlers\\"})
            EXPECT_EQ("", Text(HKEY_CLASSES_ROOT, format + std::string(server.Id), ""));
        for (const char* shared : {"*\\shellex\\ContextMenuHandlers\\", "Folder\\shellex\\ContextMenuHandlers\\",
                                   "Folder\\shellex\\DragDropHandlers\\", "Drive\\shellex\\DragDropHandlers\\",
                                   "Directory\\shellex\\ContextMenuHandlers\\",
                                   "Directory\\shellex\\DragDropHandlers\\"})
            EXPECT_EQ(server.Id, Text(HKEY_CLASSES_ROOT, shared + std::string(server.Handler), ""));
        EXPECT_EQ("Zelkor shell extension", Text(HKEY_LOCAL_MACHINE, ApprovedKey, server.Id));
    }
    const char* lastId = wow64 ? ClassId64 : ClassId32;
    EXPECT_EQ(lastId, Text(HKEY_CLASSES_ROOT, "Zelkor\\shellex\\DropHandler", ""));
    EXPECT_EQ(lastId, Text(HKEY_CLASSES_ROOT, "Zelkor.ZIP\\shellex\\DropHandler", ""));
    if (!wow64) {
        EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId64));
    }

    // Shortcuts, read back through the shell's link object.
    ExpectLink(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Zelkor.lnk", archiver);
    ExpectLink(ShellFolder(CSIDL_STARTMENU) + "\\Zelkor.lnk", archiver);
    std::vector<std::string> groups = {ShellFolder(CSIDL_PROGRAMS) + "\\Zelkor"};
    if (nt)
        groups.push_back(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Zelkor");
    else
        EXPECT_FALSE(bed::FileExists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Zelkor"));
    for (const std::string& group : groups) {
        ExpectLink(group + "\\Zelkor.lnk", archiver);
        ExpectLink(group + "\\" + EntryFileName(5102) + ".lnk", dir + "\\Zelkor.hlp");
        ExpectLink(group + "\\" + EntryFileName(5103) + ".lnk", dir + "\\Kpx.txt");
    }
    EXPECT_EQ(groups[0], bed::ReadFileBytes(dir + "\\group-folder.txt"));
}

TEST(RoundTrip, ApplyTwiceThenRemoveLeavesEverythingAsItWas)
{
    SeedPreviousOwners();
    std::string dir = MakeInstallFolder("C:\\zelkor-tests\\round trip", true);
    std::vector<std::string> folders = ShortcutFolders();
    for (const std::string& folder : folders)
        ASSERT_FALSE(folder.empty());
    std::map<std::string, Backup> backups;
    for (const std::string& extension : AllExtensions())
        backups[extension] = ExpectedBackup(extension);
    bed::Snapshot before = TakeSnapshot(folders);

    ASSERT_TRUE(RunStep(dir, AllFlags));
    {
        SCOPED_TRACE("first apply");
        CheckApplied(dir, backups);
    }
    bed::Snapshot afterFirst = TakeSnapshot(folders);

    ASSERT_TRUE(RunStep(dir, AllFlags));
    {
        SCOPED_TRACE("second apply");
        CheckApplied(dir, backups);
    }
    bed::Snapshot afterSecond = TakeSnapshot(folders);
    // The Start-menu and group links are rewritten on every run (Wine's link bytes may then
    // differ, as under win98), and their contents were read back above; anything else
    // must be unchanged.
    std::vector<bed::SnapshotChange> secondRun;
    for (const bed::SnapshotChange& change : bed::DiffSnapshots(afterFirst, afterSecond)) {
        bool rewrittenLink = !change.Added() && !change.Removed() && change.Name.size() > 4 &&
                             Lower(change.Name.substr(change.Name.size() - 4)) == ".lnk";
        if (!rewrittenLink)
            secondRun.push_back(change);
    }
    EXPECT_EQ("", bed::DescribeChanges(secondRun));

    ASSERT_TRUE(RunStep(dir, "remove"));
    bed::Snapshot after = TakeSnapshot(folders);
    std::vector<std::string> handlerNames = {"Zelkor"};
    if (UnderWow64())
        handlerNames.push_back("Zelkor32");
    std::vector<bed::SnapshotChange> unexpected, onPurpose;
    for (const bed::SnapshotChange& change : bed::DiffSnapshots(before, after))
        (LeftOnPurpose(change, handlerNames) ? onPurpose : unexpected).push_back(change);
    EXPECT_EQ("", bed::DescribeChanges(unexpected));
    // The handler key for all files is there, without its default value.
    EXPECT_TRUE(KeyPresent(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Zelkor"));
    EXPECT_FALSE(ReadValue(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Zelkor", "").Present);
    printf("left on purpose:\n%s", bed::DescribeChanges(onPurpose).c_str());

    RemoveSeeds();
    bed::RemoveTree(dir);
}

}  // namespace
