/*
 * Registry and folder snapshots and their differences (see snapshot.h). Every entry's
 * content is a non-empty text, so an empty side of a change means "absent".
 */
#include "snapshot.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace bed {

namespace {

std::string RootLabel(HKEY root)
{
    if (root == HKEY_CLASSES_ROOT)
        return "HKCR";
    if (root == HKEY_CURRENT_USER)
        return "HKCU";
    if (root == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (root == HKEY_USERS)
        return "HKU";
    return "HKEY";
}

std::string Hex(const unsigned char* data, size_t count)
{
    std::string out;
    char pair[4];
    for (size_t i = 0; i < count; i++) {
        snprintf(pair, sizeof pair, "%02x", data[i]);
        out += pair;
    }
    return out;
}

std::string ValueText(DWORD type, const unsigned char* data, DWORD count)
{
    char number[32];
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        size_t length = strnlen(reinterpret_cast<const char*>(data), count);
        return std::string(type == REG_SZ ? "sz:" : "expand:") +
               std::string(reinterpret_cast<const char*>(data), length);
    }
    case REG_DWORD:
        if (count == 4) {
            DWORD value;
            memcpy(&value, data, 4);
            snprintf(number, sizeof number, "dword:%lu", static_cast<unsigned long>(value));
            return number;
        }
        break;
    default:
        break;
    }
    snprintf(number, sizeof number, "type%lu:", static_cast<unsigned long>(type));
    return number + Hex(data, count);
}

// Walks an open key; children are opened relative to it, which spares the registry the
// resolution of every full path from the root.
void AddOpenKey(Snapshot& snapshot, HKEY handle, REGSAM view, const std::string& name)
{
    snapshot[name] = "(key)";
    DWORD subkeys = 0, maxSubkey = 0, values = 0, maxValueName = 0, maxData = 0;
    RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr, &values,
                     &maxValueName, &maxData, nullptr, nullptr);
    std::vector<char> valueName(maxValueName + 2);
    std::vector<unsigned char> data(maxData + 2);
    for (DWORD i = 0; i < values; i++) {
        DWORD nameSize = static_cast<DWORD>(valueName.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        LONG status = RegEnumValueA(handle, i, valueName.data(), &nameSize, nullptr, &type,
                                    data.data(), &dataSize);
        if (status == ERROR_MORE_DATA) {
            valueName.resize(valueName.size() * 2 + 256);
            data.resize(data.size() * 2 + 256);
            i--;
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        std::string value(valueName.data(), nameSize);
        snapshot[name + " > " + (value.empty() ? "@" : value)] = ValueText(type, data.data(), dataSize);
    }
    std::vector<char> subkey(maxSubkey + 2 > 256 ? maxSubkey + 2 : 256);
    for (DWORD i = 0; i < subkeys; i++) {
        DWORD size = static_cast<DWORD>(subkey.size());
        if (RegEnumKeyExA(handle, i, subkey.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        std::string child(subkey.data(), size);
        HKEY childHandle;
        if (RegOpenKeyExA(handle, child.c_str(), 0, KEY_READ | view, &childHandle) != ERROR_SUCCESS)
            continue;
        AddOpenKey(snapshot, childHandle, view, name + "\\" + child);
        RegCloseKey(childHandle);
    }
}

void AddKey(Snapshot& snapshot, HKEY root, const std::string& key, REGSAM view,
            const std::string& name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.empty() ? nullptr : key.c_str(), 0, KEY_READ | view, &handle) !=
        ERROR_SUCCESS)
        return;
    AddOpenKey(snapshot, handle, view, name);
    RegCloseKey(handle);
}

uint64_t Fnv1a(const std::string& bytes)
{
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

void AddFolder(Snapshot& snapshot, const std::string& folder)
{
    snapshot[folder] = "(folder)";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> subfolders;
    do {
        if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, ".."))
            continue;
        std::string path = folder + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            subfolders.push_back(path);
            continue;
        }
        std::string bytes;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char buffer[65536];
            DWORD got = 0;
            while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
                bytes.append(buffer, got);
            CloseHandle(file);
        }
        char text[64];
        snprintf(text, sizeof text, "file, %zu bytes, hash %016llx", bytes.size(),
                 static_cast<unsigned long long>(Fnv1a(bytes)));
        snapshot[path] = text;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    for (const std::string& path : subfolders)
        AddFolder(snapshot, path);
}

}  // namespace

std::string RegistryEntryName(HKEY root, const std::string& key, REGSAM view)
{
    std::string label = RootLabel(root);
    if (view & KEY_WOW64_64KEY)
        label += "64";
    else if (view & KEY_WOW64_32KEY)
        label += "32";
    return key.empty() ? label : label + "\\" + key;
}

void AddRegistryTree(Snapshot& snapshot, HKEY root, const std::string& key, REGSAM view)
{
    AddKey(snapshot, root, key, view, RegistryEntryName(root, key, view));
}

void AddFolderTree(Snapshot& snapshot, const std::string& folder)
{
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    AddFolder(snapshot, folder);
}

std::string SnapshotChange::Describe() const
{
    if (Added())
        return "+ " + Name + " = " + After;
    if (Removed())
        return "- " + Name + " = " + Before;
    return "~ " + Name + ": " + Before + " -> " + After;
}

std::vector<SnapshotChange> DiffSnapshots(const Snapshot& before, const Snapshot& after)
{
    std::vector<SnapshotChange> changes;
    auto a = before.begin();
    auto b = after.begin();
    while (a != before.end() || b != after.end()) {
        if (b == after.end() || (a != before.end() && a->first < b->first)) {
            changes.push_back({a->first, a->second, ""});
            ++a;
        } else if (a == before.end() || b->first < a->first) {
            changes.push_back({b->first, "", b->second});
            ++b;
        } else {
            if (a->second != b->second)
                changes.push_back({a->first, a->second, b->second});
            ++a;
            ++b;
        }
    }
    return changes;
}

std::string DescribeChanges(const std::vector<SnapshotChange>& changes)
{
    std::string out;
    for (const SnapshotChange& change : changes)
        out += change.Describe() + "\n";
    return out;
}

}  // namespace bed
