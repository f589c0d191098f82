/*
 * Helpers of the shell integration tests: direct registry reads and writes for setting up
 * and checking state, the shell folders, reading a shortcut back through the shell's
 * link object, and scratch installation folders holding a copy of the shell_step helper.
 */
#ifndef ZELKOR_TESTS_SHELL_TEST_SUPPORT_H
#define ZELKOR_TESTS_SHELL_TEST_SUPPORT_H

#include <windows.h>
#include <string>
#include <vector>

namespace shelltest {

extern const char ClassId32[];
extern const char ClassId64[];
extern const char ApprovedKey[];

// Every extension of the 14 groups, in table order.
const std::vector<std::string>& AllExtensions();

struct RegValue {
    bool Present = false;
    DWORD Type = 0;
    std::string Data;   // for strings without the terminator
};

RegValue ReadValue(HKEY root, const std::string& key, const std::string& name, REGSAM view = 0);
// The string value, or "<missing>" when it is absent.
std::string Text(HKEY root, const std::string& key, const std::string& name, REGSAM view = 0);
bool KeyPresent(HKEY root, const std::string& key, REGSAM view = 0);
std::vector<std::string> ValueNames(HKEY root, const std::string& key, REGSAM view = 0);
void SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text);
void SetDwordValue(HKEY root, const std::string& key, const std::string& name, DWORD value);
void RemoveTree(HKEY root, const std::string& key, REGSAM view = 0);

std::string ShellFolder(int csidl);   // "" when the folder has no path

struct LinkInfo {
    bool Loaded = false;
    std::string Path;
    std::string Description;
};
LinkInfo ReadLink(const std::string& linkPath);

// Message text of the program's string table, as the integration takes it.
std::string Message(int id);
// The file name a group entry gets from a message text: characters no file name may hold
// become '_' (the Chinese texts arrive as "????" on code page 1252).
std::string EntryFileName(int id);

// A scratch installation folder with shell_step.exe and, when asked, fake kpxext.dll and
// kpxext64.dll. Returns the folder (no trailing backslash).
std::string MakeInstallFolder(const std::string& folder, bool withLibraries);
// Runs shell_step.exe from the folder with the arguments; true when it ended with 0.
bool RunStep(const std::string& folder, const std::string& arguments);

// The bytes of the empty-archive templates as the tests expect them.
std::string ExpectedNativeTemplate();
std::string ExpectedZipTemplate();

bool UnderWow64();

}  // namespace shelltest

#endif
