/*
 * Shortcuts, called in this process: the target folder is this test program's, which is
 * all the links need. Links are read back through the shell's link object.
 */
#include <gtest/gtest.h>

#include <shlobj.h>
#include <cstring>

#include "bed.h"
#include "shell/options.h"
#include "shell/shortcuts.h"
#include "shell_test_support.h"
#include "snapshot.h"

namespace {

using namespace shelltest;

std::string OwnFolder()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.rfind('\\'));
}

SetupOptions Links(bool desktop, bool startMenu, bool programs)
{
    SetupOptions options = {};
    options.Desktop = desktop;
    options.StartMenu = startMenu;
    options.Programs = programs;
    return options;
}

std::string DesktopLink() { return ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Zelkor.lnk"; }
std::string StartMenuLink() { return ShellFolder(CSIDL_STARTMENU) + "\\Zelkor.lnk"; }
std::string UserGroup() { return ShellFolder(CSIDL_PROGRAMS) + "\\Zelkor"; }

TEST(Shortcuts, TheFoldersThisConfigurationReports)
{
    std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    std::string startMenu = ShellFolder(CSIDL_STARTMENU);
    std::string programs = ShellFolder(CSIDL_PROGRAMS);
    std::string common = ShellFolder(CSIDL_COMMON_PROGRAMS);
    printf("desktop %s\nstart menu %s\nprograms %s\nall-users programs %s\n", desktop.c_str(),
           startMenu.c_str(), programs.c_str(), common.empty() ? "(none)" : common.c_str());
    EXPECT_FALSE(desktop.empty());
    EXPECT_FALSE(startMenu.empty());
    EXPECT_FALSE(programs.empty());
    char buffer[1024];
    ASSERT_TRUE(DesktopFolderPath(buffer));
    EXPECT_EQ(desktop, buffer);
}

TEST(Shortcuts, AnExistingDesktopLinkStaysAndTheStartMenuLinkIsRewritten)
{
    ASSERT_TRUE(bed::WriteFileBytes(DesktopLink(), "the user's own link"));
    ASSERT_TRUE(bed::WriteFileBytes(StartMenuLink(), "an old link"));
    UpdateShortcuts(Links(true, true, false), nullptr);
    EXPECT_EQ("the user's own link", bed::ReadFileBytes(DesktopLink()));
    LinkInfo start = ReadLink(StartMenuLink());
    ASSERT_TRUE(start.Loaded);
    EXPECT_STRCASEEQ((OwnFolder() + "\\Zelkor.exe").c_str(), start.Path.c_str());
    EXPECT_EQ(Message(5113), start.Description);

    // Cleared, both go, the user's own desktop file included.
    UpdateShortcuts(Links(false, false, false), nullptr);
    EXPECT_FALSE(bed::FileExists(DesktopLink()));
    EXPECT_FALSE(bed::FileExists(StartMenuLink()));
}

TEST(Shortcuts, ANewDesktopLinkPointsAtTheArchiver)
{
    DeleteFileA(DesktopLink().c_str());
    UpdateShortcuts(Links(true, false, false), nullptr);
    LinkInfo link = ReadLink(DesktopLink());
    ASSERT_TRUE(link.Loaded);
    EXPECT_STRCASEEQ((OwnFolder() + "\\Zelkor.exe").c_str(), link.Path.c_str());
    EXPECT_EQ(Message(5113), link.Description);
    UpdateShortcuts(Links(false, false, false), nullptr);
    EXPECT_FALSE(bed::FileExists(DesktopLink()));
}

TEST(Shortcuts, ProgramGroupsPerUserAndOnTheNtFamilyForAllUsers)
{
    char groupFolder[1024] = "";
    UpdateShortcuts(Links(false, false, true), groupFolder);
    EXPECT_EQ(UserGroup(), groupFolder);
    std::vector<std::string> groups = {UserGroup()};
    std::string common = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Zelkor";
    if (!bed::OlderFamily())
        groups.push_back(common);
    else
        EXPECT_FALSE(bed::FileExists(common));
    for (const std::string& group : groups) {
        SCOPED_TRACE(group);
        struct Entry { std::string Name, Target; };
        for (const Entry& entry : {Entry{"Zelkor", "Zelkor.exe"}, Entry{EntryFileName(5102), "Zelkor.hlp"},
                                   Entry{EntryFileName(5103), "Kpx.txt"}}) {
            LinkInfo link = ReadLink(group + "\\" + entry.Name + ".lnk");
            ASSERT_TRUE(link.Loaded) << entry.Name;
            EXPECT_STRCASEEQ((OwnFolder() + "\\" + entry.Target).c_str(), link.Path.c_str());
            EXPECT_EQ(Message(5113), link.Description);
        }
    }
    // Cleared, every group goes with what the user put into it, without a question, and
    // the caller's buffer keeps what it held.
    ASSERT_TRUE(bed::WriteFileBytes(UserGroup() + "\\notes.txt", "mine"));
    CreateDirectoryA((UserGroup() + "\\more").c_str(), nullptr);
    strcpy(groupFolder, "kept");
    UpdateShortcuts(Links(false, false, false), groupFolder);
    EXPECT_STREQ("kept", groupFolder);
    for (const std::string& group : groups)
        EXPECT_FALSE(bed::FileExists(group)) << group;
    // Nothing there: nothing happens.
    UpdateShortcuts(Links(false, false, false), groupFolder);
    EXPECT_FALSE(bed::FileExists(UserGroup()));
}

TEST(Shortcuts, TheGroupPathIsReportedEvenWhenTheFolderCannotBeMade)
{
    // A file where the group folder would go.
    ASSERT_TRUE(bed::WriteFileBytes(UserGroup(), "a file, not a folder"));
    char groupFolder[1024] = "";
    UpdateShortcuts(Links(false, false, true), groupFolder);
    EXPECT_EQ(UserGroup(), groupFolder);
    EXPECT_EQ("a file, not a folder", bed::ReadFileBytes(UserGroup()));
    UpdateShortcuts(Links(false, false, false), nullptr);
    EXPECT_FALSE(bed::FileExists(UserGroup()));
}

// Where the desktop or the Start menu (and with it Programs) cannot be looked up, no link
// is made or deleted for it, and nothing lands in the current folder instead.
TEST(Shortcuts, FoldersThatCannotBeLookedUpAreSkipped)
{
    std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    std::string startMenu = ShellFolder(CSIDL_STARTMENU);
    ASSERT_FALSE(desktop.empty());
    ASSERT_FALSE(startMenu.empty());
    ASSERT_TRUE(MoveFileA(desktop.c_str(), (desktop + ".away").c_str()));
    ASSERT_TRUE(MoveFileA(startMenu.c_str(), (startMenu + ".away").c_str()));
    std::string scratch = bed::ScratchFolder("current folder");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(scratch.c_str());

    char buffer[1024] = "x";
    bool found = DesktopFolderPath(buffer);
    bed::Snapshot before;
    bed::AddFolderTree(before, scratch);
    char groupFolder[1024] = "";
    UpdateShortcuts(Links(true, true, true), groupFolder);
    bed::Snapshot afterSet;
    bed::AddFolderTree(afterSet, scratch);
    ASSERT_TRUE(bed::WriteFileBytes(scratch + "\\Zelkor.lnk", "not a desktop link"));
    CreateDirectoryA((scratch + "\\Zelkor").c_str(), nullptr);
    UpdateShortcuts(Links(false, false, false), nullptr);
    bool linkKept = bed::FileExists(scratch + "\\Zelkor.lnk");
    bool folderKept = bed::FileExists(scratch + "\\Zelkor");
    bool desktopMade = bed::FileExists(desktop);
    bool startMenuMade = bed::FileExists(startMenu);

    SetCurrentDirectoryA(previous);
    bed::RemoveTree(desktop);
    bed::RemoveTree(startMenu);
    MoveFileA((desktop + ".away").c_str(), desktop.c_str());
    MoveFileA((startMenu + ".away").c_str(), startMenu.c_str());
    bed::RemoveTree(scratch);

    EXPECT_FALSE(found);
    EXPECT_STREQ("", buffer);
    EXPECT_EQ("", bed::DescribeChanges(bed::DiffSnapshots(before, afterSet)));
    EXPECT_STREQ("", groupFolder);
    EXPECT_TRUE(linkKept);
    EXPECT_TRUE(folderKept);
    EXPECT_FALSE(desktopMade);
    EXPECT_FALSE(startMenuMade);
}

TEST(Shortcuts, CreateShellLinkAndRemoveFolderTreeReportFailures)
{
    std::string scratch = bed::ScratchFolder("links");
    EXPECT_TRUE(CreateShellLink("C:\\target.exe", (scratch + "\\ok.lnk").c_str(), "text"));
    EXPECT_FALSE(CreateShellLink("C:\\target.exe", (scratch + "\\missing\\no.lnk").c_str(), "text"));
    std::string longName = scratch + "\\" + std::string(300, 'n') + ".lnk";
    EXPECT_FALSE(CreateShellLink("C:\\target.exe", longName.c_str(), "text"));
    char missing[1024] = "C:\\zelkor-tests\\no such folder";
    EXPECT_FALSE(RemoveFolderTree(missing));
    char path[1024];
    snprintf(path, sizeof path, "%s", scratch.c_str());
    EXPECT_TRUE(RemoveFolderTree(path));
    EXPECT_FALSE(bed::FileExists(scratch));
}

}  // namespace
