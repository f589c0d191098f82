/*
 * The program identifiers, application path and uninstall entry, and the sequences'
 * edge cases: another program's DefaultIcon, bare paths with blanks, a drive root, the
 * shell extension switched off, and a removal on a system where nothing was registered.
 */
#include <gtest/gtest.h>

#include <shlobj.h>

#include "bed.h"
#include "registry/registry.h"
#include "shell/registration.h"
#include "shell_test_support.h"
#include "snapshot.h"

namespace {

using namespace shelltest;

const std::string AppPathKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Zelkor.exe";
const std::string UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver";

void RemoveProgIds()
{
    for (const char* key : {"Zelkor", "Zelkor.ZIP", "Zelkor.REV", ".rev"})
        RemoveTree(HKEY_CLASSES_ROOT, key);
}

TEST(Registration, ADefaultIconAlreadySetIsNeverReplaced)
{
    RemoveProgIds();
    SetText(HKEY_CLASSES_ROOT, "Zelkor\\DefaultIcon", "", "C:\\Other\\icons.dll,3");
    SetText(HKEY_CLASSES_ROOT, "Zelkor.ZIP\\DefaultIcon", "", "");
    RegisterProgIds();
    RegisterProgIds();
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string archiver = self;
    archiver = archiver.substr(0, archiver.rfind('\\') + 1) + "Zelkor.exe";
    EXPECT_EQ("C:\\Other\\icons.dll,3", Text(HKEY_CLASSES_ROOT, "Zelkor\\DefaultIcon", ""));
    EXPECT_EQ(archiver + ",0", Text(HKEY_CLASSES_ROOT, "Zelkor.ZIP\\DefaultIcon", ""));
    EXPECT_EQ(archiver + ",1", Text(HKEY_CLASSES_ROOT, "Zelkor.REV\\DefaultIcon", ""));
    EXPECT_EQ("Zelkor.REV", Text(HKEY_CLASSES_ROOT, ".rev", ""));
    RemoveProgIds();
}

TEST(Registration, UninstallStringIsTheBarePathEvenWithBlanks)
{
    std::string dir = MakeInstallFolder("C:\\zelkor-tests\\folder with blanks", false);
    ASSERT_TRUE(RunStep(dir, "uninstall-entry"));
    EXPECT_EQ(dir + "\\shell_step.exe", Text(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"));
    EXPECT_EQ(Message(5101), Text(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName"));
    ASSERT_TRUE(RunStep(dir, "remove"));
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, UninstallKey));
    bed::RemoveTree(dir);
}

TEST(Registration, AppPathOfAnInstallationAtADriveRootKeepsItsBackslash)
{
    ASSERT_TRUE(bed::CopyFileTo(bed::BuildPath("tests\\shell\\shell_step.exe"), "C:\\shell_step.exe"));
    bool ran = RunStep("C:\\", "app-path");
    std::string path = Text(HKEY_LOCAL_MACHINE, AppPathKey, "Path");
    std::string archiver = Text(HKEY_LOCAL_MACHINE, AppPathKey, "");
    RemoveTree(HKEY_LOCAL_MACHINE, AppPathKey);
    DeleteFileA("C:\\shell_step.exe");
    ASSERT_TRUE(ran);
    EXPECT_EQ("C:\\", path);
    EXPECT_EQ("C:\\Zelkor.exe", archiver);

    std::string dir = MakeInstallFolder("C:\\zelkor-tests\\app path", false);
    ASSERT_TRUE(RunStep(dir, "app-path"));
    EXPECT_EQ(dir, Text(HKEY_LOCAL_MACHINE, AppPathKey, "Path"));
    RemoveTree(HKEY_LOCAL_MACHINE, AppPathKey);
    bed::RemoveTree(dir);
}

TEST(Registration, WithoutShellIntegrationTheExtensionIsUnregisteredAndTheRestWritten)
{
    std::string dir = MakeInstallFolder("C:\\zelkor-tests\\no shell", true);
    ASSERT_TRUE(RunStep(dir, "apply 00000000000000000100"));
    ASSERT_TRUE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId32));
    ASSERT_TRUE(RunStep(dir, "apply 00000000000000000000"));
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId32));
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, "Zelkor\\shellex\\DropHandler"));
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, ApprovedKey, ClassId32).Present);
    EXPECT_EQ(dir + "\\Zelkor.exe", Text(HKEY_LOCAL_MACHINE, AppPathKey, ""));
    EXPECT_EQ(Message(5109), Text(HKEY_CLASSES_ROOT, "Zelkor", ""));
    EXPECT_EQ("Zelkor.REV", Text(HKEY_CLASSES_ROOT, ".rev", ""));
    ASSERT_TRUE(RunStep(dir, "remove"));
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, "Zelkor"));
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, AppPathKey));
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, "Software\\Zelkor"));
    bed::RemoveTree(dir);
}

TEST(Registration, RemovalWhereNothingWasRegisteredChangesNothing)
{
    auto take = [] {
        bed::Snapshot snapshot;
        // HKCR is HKLM\Software\Classes merged with HKCU\Software\Classes.
        bed::AddRegistryTree(snapshot, HKEY_LOCAL_MACHINE, "Software");
        bed::AddRegistryTree(snapshot, HKEY_CURRENT_USER, "Software");
        bed::AddFolderTree(snapshot, ShellFolder(CSIDL_DESKTOPDIRECTORY));
        bed::AddFolderTree(snapshot, ShellFolder(CSIDL_STARTMENU));
        return snapshot;
    };
    RemoveRegistration();   // whatever an earlier test left
    bed::Snapshot before = take();
    RemoveRegistration();
    EXPECT_EQ("", bed::DescribeChanges(bed::DiffSnapshots(before, take())));
}

}  // namespace
