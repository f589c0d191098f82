/*
 * Shell extension registration: class keys only when the library file exists, the
 * handler keys either way, and unregistering when nothing is registered changes nothing.
 * The registering runs go through shell_step in scratch folders with and without the
 * library files.
 */
#include <gtest/gtest.h>

#include "bed.h"
#include "shell/options.h"
#include "shell/shell_extension.h"
#include "shell_test_support.h"
#include "snapshot.h"

namespace {

using namespace shelltest;

// Shell integration only: no groups, no shortcuts.
const char ShellExtOnly[] = "apply 00000000000000000100";

bed::Snapshot ShellKeys()
{
    bed::Snapshot snapshot;
    std::vector<REGSAM> views = {0};
    if (UnderWow64())
        views = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    for (REGSAM view : views) {
        bed::AddRegistryTree(snapshot, HKEY_CLASSES_ROOT, "CLSID", view);
        for (const char* key : {"*", "Folder", "Drive", "Directory", "exefile", "Zelkor", "Zelkor.ZIP"})
            bed::AddRegistryTree(snapshot, HKEY_CLASSES_ROOT, key, view);
        bed::AddRegistryTree(snapshot, HKEY_LOCAL_MACHINE, ApprovedKey, view);
    }
    return snapshot;
}

TEST(ShellExtension, MissingLibrariesLeaveOutOnlyTheClassKeys)
{
    std::string dir = MakeInstallFolder("C:\\zelkor-tests\\no libraries", false);
    ASSERT_TRUE(RunStep(dir, ShellExtOnly));
    for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY)}) {
        EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId32, view));
        EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId64, view));
    }
    std::string handler = UnderWow64() ? "Zelkor32" : "Zelkor";
    EXPECT_EQ(ClassId32, Text(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\" + handler, ""));
    EXPECT_EQ("", Text(HKEY_CLASSES_ROOT, std::string("exefile\\shellex\\PropertySheetHandlers\\") + ClassId32, ""));
    EXPECT_EQ("Zelkor shell extension", Text(HKEY_LOCAL_MACHINE, ApprovedKey, ClassId32));
    ASSERT_TRUE(RunStep(dir, "remove"));
    bed::RemoveTree(dir);
}

TEST(ShellExtension, ClassKeysPointAtTheLibraryUnquoted)
{
    std::string dir = MakeInstallFolder("C:\\zelkor-tests\\with libraries", true);
    ASSERT_TRUE(RunStep(dir, ShellExtOnly));
    std::string server = std::string("CLSID\\") + ClassId32 + "\\InProcServer32";
    EXPECT_EQ(dir + "\\kpxext.dll", Text(HKEY_CLASSES_ROOT, server, ""));
    EXPECT_EQ("Apartment", Text(HKEY_CLASSES_ROOT, server, "ThreadingModel"));
    if (UnderWow64()) {
        std::string server64 = std::string("CLSID\\") + ClassId64 + "\\InProcServer32";
        EXPECT_EQ(dir + "\\kpxext64.dll", Text(HKEY_CLASSES_ROOT, server64, "", KEY_WOW64_64KEY));
        EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId64, KEY_WOW64_32KEY));
        EXPECT_EQ(ClassId64, Text(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Zelkor", ""));
        EXPECT_EQ(ClassId32, Text(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Zelkor32", ""));
    } else {
        EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId64));
    }
    ASSERT_TRUE(RunStep(dir, "remove"));
    // Nothing of ours stays in either view: both servers' class keys are gone.
    for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY), REGSAM(KEY_WOW64_32KEY)}) {
        EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId32, view));
        EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId64, view));
    }
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, ApprovedKey, ClassId32).Present);
    bed::RemoveTree(dir);
}

TEST(ShellExtension, MissingKpxext64UnderWow64WritesNothingInThe64BitView)
{
    if (!UnderWow64())
        GTEST_SKIP() << "only the 32-bit program under WOW64 registers the 64-bit server";
    std::string dir = MakeInstallFolder("C:\\zelkor-tests\\no kpxext64", true);
    DeleteFileA((dir + "\\kpxext64.dll").c_str());
    ASSERT_TRUE(RunStep(dir, ShellExtOnly));
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId64, KEY_WOW64_64KEY));
    EXPECT_TRUE(KeyPresent(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId32));
    EXPECT_EQ(ClassId64, Text(HKEY_CLASSES_ROOT, "Zelkor\\shellex\\DropHandler", ""));
    ASSERT_TRUE(RunStep(dir, "remove"));
    bed::RemoveTree(dir);
}

TEST(ShellExtension, UnregisteringWhenNothingIsRegisteredChangesNothing)
{
    bed::Snapshot before = ShellKeys();
    SetupOptions none = {};
    RegisterShellExtensions(none);
    RegisterShellExtensions(none);
    EXPECT_EQ("", bed::DescribeChanges(bed::DiffSnapshots(before, ShellKeys())));
}

}  // namespace
