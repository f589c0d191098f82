/*
 * Snapshots for before-and-after comparisons: registry key trees (every key and value,
 * optionally in the 64-bit or 32-bit view) and folder trees (every folder and file with
 * its size and a content hash), gathered into one sorted map, and the differences of two.
 * Entry names: "HKCR\.zip" for a key, "HKCR\.zip > Content Type" for a value ("@" is the
 * default value), "HKLM64\..." / "HKLM32\..." with a view, and the full path of a file.
 */
#ifndef ZELKOR_TESTS_SNAPSHOT_H
#define ZELKOR_TESTS_SNAPSHOT_H

#include <windows.h>
#include <map>
#include <string>
#include <vector>

namespace bed {

using Snapshot = std::map<std::string, std::string>;

// Adds root\key and everything below it; view is 0, KEY_WOW64_64KEY or KEY_WOW64_32KEY.
// An empty key takes the whole root. A missing key adds nothing.
void AddRegistryTree(Snapshot& snapshot, HKEY root, const std::string& key, REGSAM view = 0);
// Adds a folder, its subfolders and files; a missing folder adds nothing.
void AddFolderTree(Snapshot& snapshot, const std::string& folder);

// The name a registry key gets in a snapshot: "HKCR\.zip", "HKLM64\Software".
std::string RegistryEntryName(HKEY root, const std::string& key, REGSAM view = 0);

struct SnapshotChange {
    std::string Name;
    std::string Before;   // empty: added
    std::string After;    // empty: removed
    bool Added() const { return Before.empty(); }
    bool Removed() const { return After.empty(); }
    std::string Describe() const;
};

std::vector<SnapshotChange> DiffSnapshots(const Snapshot& before, const Snapshot& after);
// One change per line, for test messages.
std::string DescribeChanges(const std::vector<SnapshotChange>& changes);

}  // namespace bed

#endif
