/*
 * Helpers of the localization tests: translation lines keyed like the program keys them
 * (from this test program's own string table, which is the program's), language files in
 * a scratch folder, and the run of this test program copied beside a test kpxlng.dll.
 */
#ifndef ZELKOR_TESTS_LANG_SUPPORT_H
#define ZELKOR_TESTS_LANG_SUPPORT_H

#include <string>

#include "lang/crc32.h"

namespace langtest {

extern const char Marker[];   // "***messages***"

std::string Key(TranslationKind kind, const char* context, const std::string& text);
// key="value" (the value written as it stands in the file, escapes included).
std::string Entry(TranslationKind kind, const char* context, const std::string& text,
                  const std::string& value);
// The ANSI text of a string id in this executable's own table.
std::string OwnString(int id);
std::string MessageEntry(int id, const std::string& value);

// The child part of a test runs only inside the copied program, where the environment
// variable ZELKOR_LANG_CHILD names it.
std::string ChildMode();
struct ChildRun {
    bool Ran = false;      // started, finished and wrote its report
    int Tests = 0;         // tests it ran (skipped ones count as failures below)
    int Failures = 0;
};

// Copies this test program, with the given kpxlng.dll (none when empty) and an optional
// uninstall.lng, into a scratch folder and runs the tests matching filter there with
// ZELKOR_LANG_CHILD=mode; the folder is removed afterwards.
ChildRun RunCopiedTests(const std::string& folderName, const std::string& library,
                        const std::string& languageFile, const std::string& filter,
                        const std::string& mode);
// The test kpxlng.dll builds in the build tree: "strings" or "rtl".
std::string TestLibrary(const std::string& variant);

}  // namespace langtest

#endif
