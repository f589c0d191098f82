/*
 * Helpers of the localization tests; see lang_support.h.
 */
#include "lang_support.h"

#include <windows.h>

#include <cstdlib>

#include "bed.h"

namespace langtest {

const char Marker[] = "***messages***";

std::string Key(TranslationKind kind, const char* context, const std::string& text)
{
    char key[9];
    TranslationKey(kind, context, text.c_str(), key);
    return key;
}

std::string Entry(TranslationKind kind, const char* context, const std::string& text,
                  const std::string& value)
{
    return Key(kind, context, text) + "=\"" + value + "\"";
}

std::string OwnString(int id)
{
    char text[512] = "";
    LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
    return text;
}

std::string MessageEntry(int id, const std::string& value)
{
    return Entry(MessageKind, nullptr, OwnString(id), value);
}

std::string ChildMode()
{
    char mode[64];
    DWORD n = GetEnvironmentVariableA("ZELKOR_LANG_CHILD", mode, sizeof mode);
    return (n > 0 && n < sizeof mode) ? std::string(mode, n) : std::string();
}

std::string TestLibrary(const std::string& variant)
{
    return bed::BuildPath("tests/lang/" + variant + "/kpxlng.dll");
}

namespace {

int Attribute(const std::string& xml, const std::string& name)
{
    size_t at = xml.find(" " + name + "=\"");
    return at == std::string::npos ? -1 : atoi(xml.c_str() + at + name.size() + 3);
}

int Occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace

ChildRun RunCopiedTests(const std::string& folderName, const std::string& library,
                        const std::string& languageFile, const std::string& filter,
                        const std::string& mode)
{
    ChildRun run;
    std::string folder = bed::ScratchFolder(folderName);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string program = folder + "\\lang_child.exe";
    bool ready = bed::CopyFileTo(self, program) &&
                 (library.empty() || bed::CopyFileTo(library, folder + "\\kpxlng.dll")) &&
                 (languageFile.empty() || bed::WriteFileBytes(folder + "\\uninstall.lng", languageFile));
    if (ready) {
        std::string report = folder + "\\report.xml";
        SetEnvironmentVariableA("ZELKOR_LANG_CHILD", mode.c_str());
        bed::ProcessResult result = bed::RunProcess(
            "\"" + program + "\" --gtest_filter=" + filter + " --gtest_output=xml:" + report, 60000, folder);
        SetEnvironmentVariableA("ZELKOR_LANG_CHILD", nullptr);
        std::string xml = bed::ReadFileBytes(report);
        if (result.Started && result.Finished && !xml.empty()) {
            size_t root = xml.find("<testsuites");
            std::string head = root == std::string::npos ? "" : xml.substr(root, xml.find('>', root) - root);
            run.Ran = true;
            run.Tests = Attribute(head, "tests");
            run.Failures = Attribute(head, "failures") + Occurrences(xml, "<skipped") +
                           (result.ExitCode != 0 ? 1 : 0);
        }
    }
    bed::RemoveTree(folder);
    return run;
}

}  // namespace langtest
