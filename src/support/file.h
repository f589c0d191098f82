/*
 * File: a read-only object over a Win32 file handle. Opens existing files only, reads
 * blocks, tells and sets the 64-bit position, and closes on destruction.
 */
#ifndef ZELKOR_SUPPORT_FILE_H
#define ZELKOR_SUPPORT_FILE_H

#include <windows.h>

class File {
public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    virtual ~File();

    bool Open(const char* path, bool shareWrite);
    int Read(void* buffer, int count);      // bytes read, 0 at end of file, -1 on failure
    bool IsDevice() const;                  // character device or pipe
    long long Tell() const;
    void Seek(long long position);
    bool Close();

    HANDLE Handle = INVALID_HANDLE_VALUE;
};

#endif
