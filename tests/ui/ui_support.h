/*
 * Helpers of the dialog tests: a modal dialog run on a worker thread of the test process
 * (so the test thread drives it like a user), a stand-in help viewer (a window of class
 * MS_WINHELP that records the requests WinHelpA sends it as WM_COPYDATA), translation
 * files written and loaded for a test, and saving and restoring registry values.
 */
#ifndef ZELKOR_TESTS_UI_SUPPORT_H
#define ZELKOR_TESTS_UI_SUPPORT_H

#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ui {

// The bytes of a UTF-8 text in the ANSI code page of this process.
std::string Ansi(const char* utf8);

// Prepares the process as the entry point would: resource module, riched32, icon, font.
void PrepareProcess();

class ModalDialog {
public:
    // DialogBoxParamA(CurrentResourceModule, name, owner, proc, 0) on a new thread.
    ModalDialog(const char* name, DLGPROC proc);
    // DialogBoxIndirectParamA of an in-memory template.
    ModalDialog(const std::vector<WORD>& indirectTemplate, DLGPROC proc);
    ~ModalDialog();   // cancels the dialogs of the thread if they are still open
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    HWND Window(DWORD timeoutMs = 10000);   // the visible dialog of the thread
    bool Finished(DWORD timeoutMs = 10000);
    INT_PTR Result() const { return Outcome; }
    DWORD ThreadId() const { return Id; }

    const char* Name = nullptr;
    std::vector<WORD> Indirect;
    DLGPROC Proc = nullptr;
    INT_PTR Outcome = -2;

private:
    void Start();
    HANDLE Thread = nullptr;
    DWORD Id = 0;
};

struct HelpRequest {
    UINT Command;
    LONG Data;
    std::string File;
    HWND Caller;
};

class HelpReceiver {
public:
    HelpReceiver();
    ~HelpReceiver();
    HelpReceiver(const HelpReceiver&) = delete;
    HelpReceiver& operator=(const HelpReceiver&) = delete;
    std::vector<HelpRequest> Requests();
    // Waits until at least count requests arrived.
    bool WaitFor(size_t count, DWORD timeoutMs);

    HWND Window = nullptr;
    HANDLE Thread = nullptr;
    HANDLE Ready = nullptr;
    CRITICAL_SECTION Lock;
    std::vector<HelpRequest> Received;
};

struct Translation {
    char Kind;                 // 's' or '$'
    std::string Context;       // template name for dialog texts
    std::string Text;          // ANSI source text
    std::string Value;         // ANSI replacement
};

// Writes uninstall.lng into folder with these entries; returns its path.
std::string WriteLanguageFile(const std::string& folder, const std::vector<Translation>& entries);
// Loads a translation file into the process-wide Language (and decides right to left);
// Unload empties it again.
void LoadLanguage(const std::string& path);
void UnloadLanguage();

// The default value of HKEY_CLASSES_ROOT\key as it was, restored on destruction.
class ClassKeyGuard {
public:
    explicit ClassKeyGuard(const std::string& key);
    ~ClassKeyGuard();
    ClassKeyGuard(const ClassKeyGuard&) = delete;
    ClassKeyGuard& operator=(const ClassKeyGuard&) = delete;
    void Set(const std::string& value);

private:
    std::string Key;
    bool Existed = false;
    bool HadValue = false;
    std::string Value;
};

void DeleteProductRoot();   // HKCU\Software\Zelkor and everything under it
bool UserDwordExists(const std::string& key, const std::string& name, DWORD* value);
// The REG_DWORD exists under the product root and holds expected.
::testing::AssertionResult UserDwordIs(const std::string& key, const std::string& name, DWORD expected);
void SetUserDword(const std::string& key, const std::string& name, DWORD value);

// Control rectangles in the dialog's client coordinates.
RECT ClientRectOf(HWND dialog, HWND child);

}  // namespace ui

#endif
