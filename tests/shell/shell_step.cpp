/*
 * The helper the shell tests run from scratch installation folders (the integration takes
 * its folder from the running executable). One step per run: "apply FLAGS" (20 '0'/'1'
 * flags; ApplySetupOptions, WriteUninstallEntry, the group folder into group-folder.txt),
 * "app-path", "uninstall-entry" or "remove". Exit code 0, or 2 for a bad command line.
 */
#include <windows.h>
#include <ole2.h>
#include <cstdio>
#include <cstring>

#include "lang/resource_module.h"
#include "shell/registration.h"

namespace {

bool ParseRecord(const char* flags, SetupOptions& options)
{
    if (strlen(flags) != sizeof options)
        return false;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&options);
    for (size_t i = 0; i < sizeof options; i++) {
        if (flags[i] != '0' && flags[i] != '1')
            return false;
        bytes[i] = static_cast<unsigned char>(flags[i] - '0');
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    LoadResourceModule(GetModuleHandleA(nullptr));
    OleInitialize(nullptr);
    int result = 0;
    if (!strcmp(argv[1], "apply") && argc == 3) {
        SetupOptions options;
        if (ParseRecord(argv[2], options)) {
            char groupFolder[1024] = "";
            ApplySetupOptions(options, groupFolder);
            WriteUninstallEntry();
            char report[1024];
            DWORD length = GetModuleFileNameA(nullptr, report, sizeof report);
            char* name = strrchr(report, '\\');
            if (length > 0 && length < sizeof report && name &&
                static_cast<size_t>(name + 1 - report) + sizeof "group-folder.txt" <= sizeof report) {
                strcpy(name + 1, "group-folder.txt");
                if (FILE* file = fopen(report, "wb")) {
                    fputs(groupFolder, file);
                    fclose(file);
                }
            }
        } else {
            result = 2;
        }
    } else if (!strcmp(argv[1], "app-path")) {
        RegisterAppPath();
    } else if (!strcmp(argv[1], "uninstall-entry")) {
        WriteUninstallEntry();
    } else if (!strcmp(argv[1], "remove")) {
        RemoveRegistration();
    } else {
        result = 2;
    }
    OleUninitialize();
    return result;
}
