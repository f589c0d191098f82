/*
 * File: read-only access to an existing file through a Win32 handle, with the 64-bit
 * position. A large read that a pipe or character device refuses is repeated once with a
 * block of 20000 bytes, the most such devices are known to take in one read.
 */
#include "support/file.h"

static const int DeviceReadLimit = 20000;

File::~File()
{
    Close();
}

bool File::Open(const char* path, bool shareWrite)
{
    DWORD share = FILE_SHARE_READ | (shareWrite ? FILE_SHARE_WRITE : 0);
    HANDLE handle = CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    Close();
    Handle = handle;
    return true;
}

int File::Read(void* buffer, int count)
{
    if (count < 0)
        return -1;
    DWORD got = 0;
    if (ReadFile(Handle, buffer, static_cast<DWORD>(count), &got, nullptr))
        return static_cast<int>(got);
    if (count > DeviceReadLimit && IsDevice())
        return Read(buffer, DeviceReadLimit);
    return -1;
}

bool File::IsDevice() const
{
    if (Handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD type = GetFileType(Handle);
    return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE;
}

long long File::Tell() const
{
    LONG high = 0;
    DWORD low = SetFilePointer(Handle, 0, &high, FILE_CURRENT);
    unsigned long long position = (static_cast<unsigned long long>(static_cast<DWORD>(high)) << 32) | low;
    return static_cast<long long>(position);
}

void File::Seek(long long position)
{
    if (Handle == INVALID_HANDLE_VALUE)
        return;
    LONG high = static_cast<LONG>(position >> 32);
    SetFilePointer(Handle, static_cast<LONG>(position & 0xFFFFFFFF), &high, FILE_BEGIN);
}

bool File::Close()
{
    if (Handle == INVALID_HANDLE_VALUE)
        return true;
    BOOL closed = CloseHandle(Handle);
    Handle = INVALID_HANDLE_VALUE;
    return closed != 0;
}
