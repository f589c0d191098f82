/*
 * The import-table hook and the child-process runner of the support tests.
 */
#include "import_hook.h"

#include <cstring>

static void** FindImportSlot(const char* function)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return nullptr;
    auto descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; descriptor->Name != 0; ++descriptor) {
        if (descriptor->OriginalFirstThunk == 0)
            continue;
        auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

static void WriteSlot(void** slot, void* value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

ImportHook::ImportHook(const char* function, void* replacement)
{
    Slot = FindImportSlot(function);
    if (!Slot)
        return;
    Original = *Slot;
    WriteSlot(Slot, replacement);
}

ImportHook::~ImportHook()
{
    if (Slot)
        WriteSlot(Slot, Original);
}

bool IsChild()
{
    return std::strstr(GetCommandLineA(), " --zelkor-child") != nullptr;
}

ChildResult RunChild(const std::string& test)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder = bed::ScratchFolder("support-child");
    std::string report = folder + "\\child.xml";
    ChildResult result;
    result.Process = bed::RunProcess("\"" + std::string(self) + "\" --gtest_filter=" + test +
                                         " --gtest_output=xml:" + report + " --zelkor-child",
                                     60000);
    std::string xml = bed::ReadFileBytes(report);
    std::string name = test.substr(test.find('.') + 1);
    result.Passed = result.Process.Finished && result.Process.ExitCode == 0 &&
                    xml.find("name=\"" + name + "\"") != std::string::npos &&
                    xml.find("result=\"completed\"") != std::string::npos &&
                    xml.find("<failure") == std::string::npos;
    bed::RemoveTree(folder);
    return result;
}
