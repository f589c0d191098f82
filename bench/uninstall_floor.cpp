/*
 * The floor of the uninstall benchmark: deletes every entry of an Uninstall.lst once, in
 * the order listed (the best order: contents before folders), with exactly one call each,
 * RemoveDirectoryA for the benchmark's folders (names starting with "d") and DeleteFileA
 * for its files. Usage: uninstall_floor FOLDER. Prints the entries and the calls made.
 */
#include <windows.h>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    char listPath[1024];
    snprintf(listPath, sizeof listPath, "%s\\Uninstall.lst", argv[1]);
    FILE* list = fopen(listPath, "rb");
    if (!list)
        return 3;
    char line[2048], path[1024];
    long entries = 0, failed = 0;
    while (fgets(line, sizeof line, list)) {
        size_t n = strlen(line);
        while (n && (line[n - 1] == '\n' || line[n - 1] == '\r'))
            line[--n] = 0;
        if (!n)
            continue;
        snprintf(path, sizeof path, "%s\\%s", argv[1], line);
        const char* name = strrchr(line, '\\');
        name = name ? name + 1 : line;
        BOOL ok = name[0] == 'd' ? RemoveDirectoryA(path) : DeleteFileA(path);
        ++entries;
        failed += !ok;
    }
    fclose(list);
    printf("%ld entries, %ld calls, %ld failed\n", entries, entries, failed);
    return 0;
}
