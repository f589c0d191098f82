/*
 * File-type associations. A take-over backs up the previous owner (class, "Content Type",
 * ShellNew entry) under Setup\<extension> unless the extension is ours already; a give-back
 * restores it, only while the extension is still ours. The native group brings .k00 to
 * .k99; with shell integration the native and ZIP groups get a New-menu template.
 */
#include "shell/associations.h"

#include <cstdio>
#include <cstring>

#include "registry/registry.h"
#include "shell/archive_templates.h"
#include "shell/install_folder.h"
#include "support/system.h"

namespace {

const DWORD TextSize = 512;
const DWORD FileNameSize = 1024;
const DWORD NullFileSize = 10;
const int KeySize = 256;
const int VolumeCount = 100;
const int NtVolumeCount = 30;
const char OwnClass[] = "Zelkor";
const char OwnZipClass[] = "Zelkor.ZIP";

void VolumeExtension(int number, char* out, size_t size)
{
    snprintf(out, size, ".k%02d", number);
}

// Windows Me, 2000 and later take a template file; 95, 98 and NT 4.0 the bytes themselves.
bool TemplateAsFile()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwMajorVersion > 4 || version.dwMinorVersion > 10;
}

void WriteTemplateFile(const char* path, const unsigned char* bytes, size_t count)
{
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return;
    FILE* file = fopen(path, "wb");
    if (!file)
        return;
    fwrite(bytes, 1, count, file);
    fclose(file);
}

void InstallTemplate(const char* shellNewKey, bool nativeGroup)
{
    const unsigned char* bytes = nativeGroup ? NativeTemplate : ZipTemplate;
    DWORD count = nativeGroup ? NativeTemplateSize : ZipTemplateSize;
    DeleteKey(HKEY_CLASSES_ROOT, shellNewKey);
    if (!TemplateAsFile()) {
        WriteBinary(HKEY_CLASSES_ROOT, shellNewKey, "Data", bytes, count);
        return;
    }
    char path[ShellPathSize];
    if (!InstallFolderFile(nativeGroup ? "kpxnew.dat" : "zipnew.dat", path, sizeof path))
        return;
    WriteTemplateFile(path, bytes, count);
    WriteString(HKEY_CLASSES_ROOT, shellNewKey, "FileName", path);
}

// Our template bytes in a ShellNew "Data" value are removed when the extension is given
// back: the backup holds no "Data", so after a take-over with templates the value is ours.
void RemoveOwnTemplateData(const char* shellNewKey, bool nativeGroup)
{
    const unsigned char* bytes = nativeGroup ? NativeTemplate : ZipTemplate;
    size_t count = nativeGroup ? NativeTemplateSize : ZipTemplateSize;
    char stored[ZipTemplateSize + 2];
    if (!ReadString(HKEY_CLASSES_ROOT, shellNewKey, "Data", stored, "", sizeof stored))
        return;
    if (memcmp(stored, bytes, count) == 0)
        DeleteValue(HKEY_CLASSES_ROOT, shellNewKey, "Data");
}

void BackUpPreviousOwner(const char* extension, const char* shellNewKey, const char* backupKey)
{
    char oldClass[TextSize];
    char oldContent[TextSize];
    char oldFileName[FileNameSize];
    char nullFile[NullFileSize];
    ReadString(HKEY_CLASSES_ROOT, extension, "", oldClass, "", sizeof oldClass);
    ReadString(HKEY_CLASSES_ROOT, extension, "Content Type", oldContent, "", sizeof oldContent);
    ReadString(HKEY_CLASSES_ROOT, shellNewKey, "FileName", oldFileName, "", sizeof oldFileName);
    bool hadNullFile = ReadString(HKEY_CLASSES_ROOT, shellNewKey, "NullFile", nullFile, "",
                                  sizeof nullFile);
    WriteUserDword(backupKey, "Exist", KeyExists(HKEY_CLASSES_ROOT, extension) ? 1 : 0);
    WriteUserString(backupKey, "Type", oldClass);
    WriteUserString(backupKey, "Content", oldContent);
    WriteUserString(backupKey, "ShellNew", oldFileName[0] == '\0' && hadNullFile ? "*" : oldFileName);
}

void TakeOver(const char* extension, const char* shellNewKey, const char* backupKey,
              bool withTemplates, bool zipClass, bool nativeGroup)
{
    if (!IsOwnAssociation(extension))
        BackUpPreviousOwner(extension, shellNewKey, backupKey);
    WriteString(HKEY_CLASSES_ROOT, extension, "", zipClass ? OwnZipClass : OwnClass);
    DeleteValue(HKEY_CLASSES_ROOT, extension, "Content Type");
    if (nativeGroup) {
        int count = WinNtMajorVersion() != 0 ? NtVolumeCount : VolumeCount;
        for (int i = 0; i < count; i++) {
            char volume[8];
            VolumeExtension(i, volume, sizeof volume);
            WriteString(HKEY_CLASSES_ROOT, volume, "", OwnClass);
            DeleteValue(HKEY_CLASSES_ROOT, volume, "Content Type");
        }
    }
    if (withTemplates && (zipClass || nativeGroup))
        InstallTemplate(shellNewKey, nativeGroup);
}

void GiveBack(const char* extension, const char* shellNewKey, const char* backupKey,
              bool zipClass, bool nativeGroup)
{
    if (!IsOwnAssociation(extension))
        return;
    bool existed = ReadUserDword(backupKey, "Exist", 1) != 0;
    char savedType[TextSize];
    char savedContent[TextSize];
    ReadUserString(backupKey, "Type", savedType, "", sizeof savedType);
    ReadUserString(backupKey, "Content", savedContent, "", sizeof savedContent);
    if (IsOwnClass(savedType))
        savedType[0] = '\0';

    if (existed) {
        WriteString(HKEY_CLASSES_ROOT, extension, "", savedType);
        if (savedContent[0] != '\0')
            WriteString(HKEY_CLASSES_ROOT, extension, "Content Type", savedContent);
        else
            DeleteValue(HKEY_CLASSES_ROOT, extension, "Content Type");
        char savedShellNew[FileNameSize];
        ReadUserString(backupKey, "ShellNew", savedShellNew, "", sizeof savedShellNew);
        DeleteValue(HKEY_CLASSES_ROOT, shellNewKey, "FileName");
        if (zipClass || nativeGroup)
            RemoveOwnTemplateData(shellNewKey, nativeGroup);
        if (savedShellNew[0] == '*')
            WriteString(HKEY_CLASSES_ROOT, shellNewKey, "NullFile", "");
        else if (savedShellNew[0] != '\0')
            WriteString(HKEY_CLASSES_ROOT, shellNewKey, "FileName", savedShellNew);
    } else {
        DeleteKey(HKEY_CLASSES_ROOT, shellNewKey);
        DeleteKey(HKEY_CLASSES_ROOT, extension);
    }

    if (!nativeGroup)
        return;
    // All 100 are walked whichever family took them over; one that another program
    // claimed meanwhile (or never was ours) is left alone, like the main extension.
    for (int i = 0; i < VolumeCount; i++) {
        char volume[8];
        VolumeExtension(i, volume, sizeof volume);
        if (!IsOwnAssociation(volume))
            continue;
        if (existed && savedType[0] != '\0') {
            WriteString(HKEY_CLASSES_ROOT, volume, "", savedType);
            if (savedContent[0] != '\0')
                WriteString(HKEY_CLASSES_ROOT, volume, "Content Type", savedContent);
        } else {
            DeleteKey(HKEY_CLASSES_ROOT, volume);
        }
    }
}

}  // namespace

void ApplyAssociations(const SetupOptions& options)
{
    for (int group = 0; group < AssociationGroupCount; group++) {
        const char* list = AssociationGroups[group].Extensions;
        const char* start = list;
        while (*start != '\0') {
            const char* end = start + 1;
            while (*end != '\0' && *end != '.')
                ++end;
            char extension[16];
            size_t length = static_cast<size_t>(end - start);
            if (length < sizeof extension) {
                memcpy(extension, start, length);
                extension[length] = '\0';
                ApplyExtensionAssociation(extension, options.Associate[group] != 0,
                                          options.ShellExt != 0, group == ZipGroup,
                                          group == NativeGroup);
            }
            start = end;
        }
    }
}

void ApplyExtensionAssociation(const char* extension, bool associate, bool withTemplates,
                               bool zipClass, bool nativeGroup)
{
    CompleteArchiveTemplates();
    char shellNewKey[KeySize];
    char backupKey[KeySize];
    int a = snprintf(shellNewKey, sizeof shellNewKey, "%s\\ShellNew", extension);
    int b = snprintf(backupKey, sizeof backupKey, "Setup\\%s", extension);
    if (a < 0 || a >= KeySize || b < 0 || b >= KeySize)
        return;
    if (associate)
        TakeOver(extension, shellNewKey, backupKey, withTemplates, zipClass, nativeGroup);
    else
        GiveBack(extension, shellNewKey, backupKey, zipClass, nativeGroup);
}
