/*
 * Registration of the shell extension servers kpxext.dll and, under WOW64, kpxext64.dll:
 * class keys only when the library exists (the 64-bit server's in the 64-bit view), handler
 * keys and approval either way. Unregistering deletes ours key by key, the 64-bit class keys
 * in the 64-bit view too; the shared classes' handler keys stay, without a default value.
 */
#include "shell/shell_extension.h"

#include <cstdio>

#include "registry/registry.h"
#include "shell/install_folder.h"
#include "support/system.h"

namespace {

const char ClassId32[] = "{7A35C2E1-4F0B-4D6C-8E21-3B95D07A64FE}";
const char ClassId64[] = "{7A35C2E1-9C58-4D6C-8E21-3B95D07A64FE}";
const char ApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

// Handler keys of our own classes and of executables, named by the class id.
const char* const ClassIdHandlerKeys[] = {
    "Zelkor\\shellex\\ContextMenuHandlers\\%s",
    "Zelkor\\shellex\\PropertySheetHandlers\\%s",
    "Zelkor.ZIP\\shellex\\ContextMenuHandlers\\%s",
    "Zelkor.ZIP\\shellex\\PropertySheetHandlers\\%s",
    "exefile\\shellex\\PropertySheetHandlers\\%s",
};

const char* const DropHandlerKeys[] = {
    "Zelkor\\shellex\\DropHandler",
    "Zelkor.ZIP\\shellex\\DropHandler",
};

// Handler keys of the shared classes, named by the handler name, holding the class id.
const char* const SharedHandlerKeys[] = {
    "*\\shellex\\ContextMenuHandlers\\%s",
    "Folder\\shellex\\ContextMenuHandlers\\%s",
    "Folder\\shellex\\DragDropHandlers\\%s",
    "Drive\\shellex\\DragDropHandlers\\%s",
    "Directory\\shellex\\ContextMenuHandlers\\%s",
    "Directory\\shellex\\DragDropHandlers\\%s",
};

// Formats a key path into a 1024-byte buffer; false when it would not fit.
bool FormatKey(char* out, size_t size, const char* format, const char* text)
{
    int length = snprintf(out, size, format, text);
    return length >= 0 && static_cast<size_t>(length) < size;
}

void RegisterServer(const char* libraryFile, const char* classId, const char* handlerName,
                    bool server64)
{
    char key[ShellPathSize];
    char libraryPath[ShellPathSize];
    if (InstallFolderFile(libraryFile, libraryPath, sizeof libraryPath) &&
        GetFileAttributesA(libraryPath) != INVALID_FILE_ATTRIBUTES) {
        if (server64)
            Use64BitView(true);
        if (FormatKey(key, sizeof key, "CLSID\\%s", classId))
            WriteString(HKEY_CLASSES_ROOT, key, "", "Zelkor");
        if (FormatKey(key, sizeof key, "CLSID\\%s\\InProcServer32", classId)) {
            WriteString(HKEY_CLASSES_ROOT, key, "", libraryPath);
            WriteString(HKEY_CLASSES_ROOT, key, "ThreadingModel", "Apartment");
        }
        if (server64)
            Use64BitView(false);
    }
    for (const char* format : ClassIdHandlerKeys)
        if (FormatKey(key, sizeof key, format, classId))
            WriteString(HKEY_CLASSES_ROOT, key, "", "");
    for (const char* dropKey : DropHandlerKeys)
        WriteString(HKEY_CLASSES_ROOT, dropKey, "", classId);
    for (const char* format : SharedHandlerKeys)
        if (FormatKey(key, sizeof key, format, handlerName))
            WriteString(HKEY_CLASSES_ROOT, key, "", classId);
    WriteString(HKEY_LOCAL_MACHINE, ApprovedKey, classId, "Zelkor shell extension");
}

void UnregisterServer(const char* classId, const char* handlerName, bool server64)
{
    char key[ShellPathSize];
    char parent[ShellPathSize];
    bool child = FormatKey(key, sizeof key, "CLSID\\%s\\InProcServer32", classId);
    bool parentFits = FormatKey(parent, sizeof parent, "CLSID\\%s", classId);
    if (child)
        DeleteKey(HKEY_CLASSES_ROOT, key);
    if (parentFits)
        DeleteKey(HKEY_CLASSES_ROOT, parent);
    // The 64-bit server's class keys were written in the 64-bit view: delete them there too.
    if (server64) {
        if (child)
            DeleteKeyIn64BitView(HKEY_CLASSES_ROOT, key);
        if (parentFits)
            DeleteKeyIn64BitView(HKEY_CLASSES_ROOT, parent);
    }
    for (const char* format : ClassIdHandlerKeys)
        if (FormatKey(key, sizeof key, format, classId))
            DeleteKey(HKEY_CLASSES_ROOT, key);
    for (const char* dropKey : DropHandlerKeys)
        DeleteKey(HKEY_CLASSES_ROOT, dropKey);
    for (const char* format : SharedHandlerKeys)
        if (FormatKey(key, sizeof key, format, handlerName))
            DeleteValue(HKEY_CLASSES_ROOT, key, "");
    DeleteValue(HKEY_LOCAL_MACHINE, ApprovedKey, classId);
}

}  // namespace

void RegisterShellExtension(bool registering, const char* libraryFile, const char* classId,
                            const char* handlerName, bool server64)
{
    if (registering)
        RegisterServer(libraryFile, classId, handlerName, server64);
    else
        UnregisterServer(classId, handlerName, server64);
}

void RegisterShellExtensions(const SetupOptions& options)
{
    bool registering = options.ShellExt != 0;
    bool wow64 = RunningUnderWow64();
    RegisterShellExtension(registering, "kpxext.dll", ClassId32, wow64 ? "Zelkor32" : "Zelkor",
                           false);
    if (wow64)
        RegisterShellExtension(registering, "kpxext64.dll", ClassId64, "Zelkor", true);
}
