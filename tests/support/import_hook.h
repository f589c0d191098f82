/*
 * Test helpers of the support tests. ImportHook swaps one entry of this executable's
 * import table for the lifetime of the object, so a test can count or refuse the calls
 * the code under test makes into a system DLL. RunChild re-runs this test program for one
 * test (marked with --zelkor-child) and reports how that process ended.
 */
#ifndef ZELKOR_TESTS_SUPPORT_IMPORT_HOOK_H
#define ZELKOR_TESTS_SUPPORT_IMPORT_HOOK_H

#include <windows.h>
#include <string>

#include "bed/bed.h"

class ImportHook {
public:
    ImportHook(const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;
    bool Installed() const { return Slot != nullptr; }

    void* Original = nullptr;

private:
    void** Slot = nullptr;
};

// True in a process started by RunChild; the child-only tests skip themselves otherwise.
bool IsChild();

struct ChildResult {
    bed::ProcessResult Process;
    bool Passed = false;   // the named test ran to its end without a failure
};

// Runs "<this program> --gtest_filter=<test> --zelkor-child" and waits up to 60 s.
ChildResult RunChild(const std::string& test);

#endif
