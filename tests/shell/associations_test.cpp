/*
 * ApplyExtensionAssociation's edge cases, called in this process (no templates, so the
 * installation folder is not involved) or, for the template files, through shell_step in
 * a scratch folder.
 */
#include <gtest/gtest.h>

#include <cstdio>

#include "bed.h"
#include "registry/registry.h"
#include "shell/associations.h"
#include "shell_test_support.h"

namespace {

using namespace shelltest;

std::string Volume(int i)
{
    char name[8];
    snprintf(name, sizeof name, ".k%02d", i);
    return name;
}

void ClearExtension(const std::string& extension)
{
    RemoveTree(HKEY_CLASSES_ROOT, extension);
    RemoveTree(HKEY_CURRENT_USER, "Software\\Zelkor\\Setup\\" + extension);
}

void ClearNativeGroup()
{
    ClearExtension(".kpx");
    for (int i = 0; i < 100; i++)
        RemoveTree(HKEY_CLASSES_ROOT, Volume(i));
}

TEST(Associations, GivingBackAnExtensionAnotherProgramTookMeanwhileChangesNothing)
{
    ClearExtension(".arj");
    SetText(HKEY_CLASSES_ROOT, ".arj", "", "First.Owner");
    ApplyExtensionAssociation(".arj", true, false, false, false);
    ASSERT_EQ("Zelkor", Text(HKEY_CLASSES_ROOT, ".arj", ""));
    SetText(HKEY_CLASSES_ROOT, ".arj", "", "Thief.Archive");
    SetText(HKEY_CLASSES_ROOT, ".arj", "Content Type", "application/x-thief");
    ApplyExtensionAssociation(".arj", false, false, false, false);
    EXPECT_EQ("Thief.Archive", Text(HKEY_CLASSES_ROOT, ".arj", ""));
    EXPECT_EQ("application/x-thief", Text(HKEY_CLASSES_ROOT, ".arj", "Content Type"));
    ClearExtension(".arj");

    // For the native group, the volume extensions stay too.
    ClearNativeGroup();
    ApplyExtensionAssociation(".kpx", true, false, false, true);
    SetText(HKEY_CLASSES_ROOT, ".kpx", "", "Thief.Archive");
    ApplyExtensionAssociation(".kpx", false, false, false, true);
    EXPECT_EQ("Thief.Archive", Text(HKEY_CLASSES_ROOT, ".kpx", ""));
    EXPECT_EQ("Zelkor", Text(HKEY_CLASSES_ROOT, ".k05", ""));
    ClearNativeGroup();
}

TEST(Associations, ABackupNamingOneOfOurClassesRestoresAnEmptyClass)
{
    for (const char* saved : {"Zelkor", "zelkor", "ZELKOR.zip", "Zelkor.ZIP"}) {
        SCOPED_TRACE(saved);
        ClearExtension(".ace");
        SetText(HKEY_CLASSES_ROOT, ".ace", "", "Zelkor");
        SetDwordValue(HKEY_CURRENT_USER, "Software\\Zelkor\\Setup\\.ace", "Exist", 1);
        SetText(HKEY_CURRENT_USER, "Software\\Zelkor\\Setup\\.ace", "Type", saved);
        ApplyExtensionAssociation(".ace", false, false, false, false);
        RegValue value = ReadValue(HKEY_CLASSES_ROOT, ".ace", "");
        EXPECT_TRUE(value.Present);
        EXPECT_EQ("", value.Data);
    }
    ClearExtension(".ace");
}

TEST(Associations, FirstBackupSurvivesRepeatedTakeOvers)
{
    ClearExtension(".7z");
    SetText(HKEY_CLASSES_ROOT, ".7z", "", "Seven.Archive");
    SetText(HKEY_CLASSES_ROOT, ".7z", "Content Type", "application/x-7z");
    ApplyExtensionAssociation(".7z", true, false, false, false);
    ApplyExtensionAssociation(".7z", true, false, false, false);
    EXPECT_EQ("Seven.Archive", Text(HKEY_CURRENT_USER, "Software\\Zelkor\\Setup\\.7z", "Type"));
    EXPECT_EQ("application/x-7z", Text(HKEY_CURRENT_USER, "Software\\Zelkor\\Setup\\.7z", "Content"));
    ApplyExtensionAssociation(".7z", false, false, false, false);
    EXPECT_EQ("Seven.Archive", Text(HKEY_CLASSES_ROOT, ".7z", ""));
    EXPECT_EQ("application/x-7z", Text(HKEY_CLASSES_ROOT, ".7z", "Content Type"));
    ClearExtension(".7z");
}

TEST(Associations, AnAbsentExtensionIsDeletedWhenGivenBack)
{
    ClearExtension(".tbz2");
    ApplyExtensionAssociation(".tbz2", true, false, false, false);
    EXPECT_EQ(0u, ReadDword(HKEY_CURRENT_USER, "Setup\\.tbz2", "Exist", 7));
    EXPECT_EQ("Zelkor", Text(HKEY_CLASSES_ROOT, ".tbz2", ""));
    ApplyExtensionAssociation(".tbz2", false, false, false, false);
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, ".tbz2"));
    ClearExtension(".tbz2");
}

TEST(Associations, OtherGroupsRestoreTheirShellNewFileNameOnly)
{
    ClearExtension(".tar");
    SetText(HKEY_CLASSES_ROOT, ".tar", "", "Tar.Archive");
    SetText(HKEY_CLASSES_ROOT, ".tar\\ShellNew", "FileName", "C:\\Other\\empty.tar");
    ApplyExtensionAssociation(".tar", true, true, false, false);
    EXPECT_EQ("C:\\Other\\empty.tar", Text(HKEY_CLASSES_ROOT, ".tar\\ShellNew", "FileName"));
    SetText(HKEY_CLASSES_ROOT, ".tar\\ShellNew", "FileName", "C:\\Meanwhile\\changed.tar");
    ApplyExtensionAssociation(".tar", false, true, false, false);
    EXPECT_EQ("C:\\Other\\empty.tar", Text(HKEY_CLASSES_ROOT, ".tar\\ShellNew", "FileName"));
    EXPECT_EQ("Tar.Archive", Text(HKEY_CLASSES_ROOT, ".tar", ""));
    ClearExtension(".tar");
}

// Volume extensions: 30 on the NT family, 100 on the older one; given back, every one
// that is still ours is restored or deleted, and another program's is left alone.
TEST(Associations, VolumeExtensionsFollowTheNativeGroup)
{
    ClearNativeGroup();
    SetText(HKEY_CLASSES_ROOT, ".k31", "", "Other.Volume");
    ApplyExtensionAssociation(".kpx", true, false, false, true);
    int taken = bed::OlderFamily() ? 100 : 30;
    for (int i = 0; i < 100; i++) {
        std::string volume = Volume(i);
        if (i < taken)
            EXPECT_EQ("Zelkor", Text(HKEY_CLASSES_ROOT, volume, "")) << volume;
        else if (i == 31)
            EXPECT_EQ("Other.Volume", Text(HKEY_CLASSES_ROOT, volume, ""));
        else
            EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, volume)) << volume;
    }
    ApplyExtensionAssociation(".kpx", false, false, false, true);
    for (int i = 0; i < 100; i++) {
        std::string volume = Volume(i);
        if (i == 31 && taken == 30)
            EXPECT_EQ("Other.Volume", Text(HKEY_CLASSES_ROOT, volume, ""));
        else
            EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, volume)) << volume;
    }
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, ".kpx"));

    // A previous owner of .kpx gets its class back on the volumes that were ours.
    ClearNativeGroup();
    SetText(HKEY_CLASSES_ROOT, ".kpx", "", "Old.Kpx");
    SetText(HKEY_CLASSES_ROOT, ".kpx", "Content Type", "application/x-old");
    ApplyExtensionAssociation(".kpx", true, false, false, true);
    ApplyExtensionAssociation(".kpx", false, false, false, true);
    EXPECT_EQ("Old.Kpx", Text(HKEY_CLASSES_ROOT, ".k00", ""));
    EXPECT_EQ("application/x-old", Text(HKEY_CLASSES_ROOT, ".k29", "Content Type"));
    EXPECT_EQ(bed::OlderFamily(), KeyPresent(HKEY_CLASSES_ROOT, ".k30"));
    ClearNativeGroup();
}

TEST(Associations, AnExistingTemplateFileIsNotRewritten)
{
    ClearNativeGroup();
    ClearExtension(".zip");
    std::string dir = MakeInstallFolder("C:\\zelkor-tests\\templates", false);
    ASSERT_TRUE(bed::WriteFileBytes(dir + "\\kpxnew.dat", "the user's own file"));
    // KPX, ZIP and shell integration only.
    ASSERT_TRUE(RunStep(dir, "apply 11000000000000000100"));
    EXPECT_EQ("the user's own file", bed::ReadFileBytes(dir + "\\kpxnew.dat"));
    if (!bed::OlderFamily()) {
        EXPECT_EQ(dir + "\\kpxnew.dat", Text(HKEY_CLASSES_ROOT, ".kpx\\ShellNew", "FileName"));
        EXPECT_EQ(ExpectedZipTemplate(), bed::ReadFileBytes(dir + "\\zipnew.dat"));
    } else {
        EXPECT_FALSE(bed::FileExists(dir + "\\zipnew.dat"));
    }
    ASSERT_TRUE(RunStep(dir, "remove"));
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, ".kpx"));
    EXPECT_FALSE(KeyPresent(HKEY_CLASSES_ROOT, ".zip"));
    bed::RemoveTree(dir);
}

// On the older family the template bytes go into ShellNew "Data"; giving the extension
// back to a previous owner removes them again, so Explorer offers only the owner's entry.
TEST(Associations, GivingBackRemovesOurTemplateBytes)
{
    // On the NT family the template file lands beside this test program.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string templateFile = self;
    templateFile = templateFile.substr(0, templateFile.rfind('\\') + 1) + "zipnew.dat";
    bool hadTemplateFile = bed::FileExists(templateFile);
    ClearExtension(".zip");
    SetText(HKEY_CLASSES_ROOT, ".zip", "", "OtherZip.Archive");
    SetText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "NullFile", "");
    ApplyExtensionAssociation(".zip", true, true, true, false);
    ApplyExtensionAssociation(".zip", false, true, true, false);
    std::vector<std::string> names = ValueNames(HKEY_CLASSES_ROOT, ".zip\\ShellNew");
    ASSERT_EQ(1u, names.size());
    EXPECT_EQ("NullFile", names[0]);
    EXPECT_EQ("", Text(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "NullFile"));
    EXPECT_EQ("OtherZip.Archive", Text(HKEY_CLASSES_ROOT, ".zip", ""));

    // Another program's own "Data" stays when the group was taken over without templates.
    WriteBinary(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "Data", "other", 5);
    ApplyExtensionAssociation(".zip", true, false, true, false);
    ApplyExtensionAssociation(".zip", false, false, true, false);
    EXPECT_EQ("other", ReadValue(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "Data").Data);
    ClearExtension(".zip");
    RemoveTree(HKEY_CURRENT_USER, "Software\\Zelkor");
    if (!hadTemplateFile)
        DeleteFileA(templateFile.c_str());
}

}  // namespace

namespace {

// The templates are completed only at run time: neither signature is in the executables.
TEST(Associations, ExecutablesHoldNeitherTemplateSignature)
{
    std::string native = shelltest::ExpectedNativeTemplate().substr(0, 7);
    std::string zip = shelltest::ExpectedZipTemplate().substr(0, 4);
    for (const std::string& program : {bed::ProgramPath(), bed::BuildPath("tests\\shell\\shell_step.exe")}) {
        std::string bytes = bed::ReadFileBytes(program);
        ASSERT_GT(bytes.size(), 10000u) << program;
        EXPECT_EQ(std::string::npos, bytes.find(native)) << program;
        EXPECT_EQ(std::string::npos, bytes.find(zip)) << program;
    }
}

}  // namespace
