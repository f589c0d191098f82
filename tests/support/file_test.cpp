/*
 * File against real files, the NUL device and named pipes of the prefix: opening with and
 * without write sharing, reads up to and at the end, the 64-bit position, the closed
 * object, and the one retry with 20000 bytes when a device refuses a larger read.
 */
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bed/bed.h"
#include "import_hook.h"
#include "support/file.h"

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override { Folder = bed::ScratchFolder("support-file"); }
    void TearDown() override { bed::RemoveTree(Folder); }
    std::string Write(const char* name, const std::string& bytes)
    {
        std::string path = Folder + "\\" + name;
        EXPECT_TRUE(bed::WriteFileBytes(path, bytes));
        return path;
    }

    std::string Folder;
};

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 23);
    return bytes;
}

// The server end of a byte-mode named pipe that File opens as its client.
class PipeServer {
public:
    explicit PipeServer(const char* name) : Name(std::string("\\\\.\\pipe\\") + name)
    {
        Handle = CreateNamedPipeA(Name.c_str(), PIPE_ACCESS_OUTBOUND,
                                  PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 65536,
                                  65536, 0, nullptr);
    }
    ~PipeServer()
    {
        if (Handle != INVALID_HANDLE_VALUE)
            CloseHandle(Handle);
    }
    bool Send(const std::string& bytes)
    {
        DWORD written = 0;
        return WriteFile(Handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr) &&
               written == bytes.size();
    }

    std::string Name;
    HANDLE Handle = INVALID_HANDLE_VALUE;
};

// A buffer of which only the first `usable` bytes may be written; the page after them is
// inaccessible, so a read of more bytes than that fails inside the system call.
class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t usable)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        size_t page = info.dwPageSize;
        size_t committed = (usable + page - 1) / page * page;
        Base = static_cast<char*>(VirtualAlloc(nullptr, committed + page, MEM_RESERVE, PAGE_NOACCESS));
        if (Base)
            VirtualAlloc(Base, committed, MEM_COMMIT, PAGE_READWRITE);
        Start = Base ? Base + committed - usable : nullptr;
    }
    ~GuardedBuffer()
    {
        if (Base)
            VirtualFree(Base, 0, MEM_RELEASE);
    }

    char* Base = nullptr;
    char* Start = nullptr;
};

int ReadFileCalls = 0;
std::vector<DWORD> ReadCounts;
decltype(&ReadFile) RealReadFile = nullptr;

BOOL WINAPI CountingReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD got,
                             LPOVERLAPPED overlapped)
{
    ++ReadFileCalls;
    ReadCounts.push_back(count);
    return RealReadFile(file, buffer, count, got, overlapped);
}

int CloseHandleCalls = 0;
decltype(&CloseHandle) RealCloseHandle = nullptr;

BOOL WINAPI CountingCloseHandle(HANDLE handle)
{
    ++CloseHandleCalls;
    return RealCloseHandle(handle);
}

int SetFilePointerCalls = 0;
decltype(&SetFilePointer) RealSetFilePointer = nullptr;

DWORD WINAPI CountingSetFilePointer(HANDLE file, LONG low, PLONG high, DWORD method)
{
    ++SetFilePointerCalls;
    return RealSetFilePointer(file, low, high, method);
}

// ---- Open ----------------------------------------------------------------------------

TEST_F(FileTest, OpenOfAMissingFileFailsAndStaysClosed)
{
    File file;
    EXPECT_FALSE(file.Open((Folder + "\\missing.lng").c_str(), true));
    EXPECT_EQ(INVALID_HANDLE_VALUE, file.Handle);
    EXPECT_FALSE(file.Open((Folder + "\\no-folder\\x.lng").c_str(), false));
    EXPECT_EQ(INVALID_HANDLE_VALUE, file.Handle);
}

TEST_F(FileTest, OpenHonoursTheShareWriteFlag)
{
    std::string path = Write("shared.lng", "text");
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    {
        File refused;
        EXPECT_FALSE(refused.Open(path.c_str(), false));
        File shared;
        EXPECT_TRUE(shared.Open(path.c_str(), true));
        char buffer[8];
        EXPECT_EQ(4, shared.Read(buffer, sizeof buffer));
    }
    CloseHandle(writer);
    File alone;
    EXPECT_TRUE(alone.Open(path.c_str(), false));
}

TEST_F(FileTest, OpenNeverCreatesOrWrites)
{
    std::string path = Write("kept.lng", "abc");
    {
        File file;
        ASSERT_TRUE(file.Open(path.c_str(), true));
        DWORD written = 0;
        EXPECT_FALSE(WriteFile(file.Handle, "x", 1, &written, nullptr));
    }
    EXPECT_EQ("abc", bed::ReadFileBytes(path));
    File missing;
    EXPECT_FALSE(missing.Open((Folder + "\\new.lng").c_str(), true));
    EXPECT_FALSE(bed::FileExists(Folder + "\\new.lng"));
}

// ---- Read, Tell, Seek ----------------------------------------------------------------

TEST_F(FileTest, ReadsBlocksAndReturnsZeroAtTheEnd)
{
    std::string bytes = Pattern(50000);
    std::string path = Write("blocks.lng", bytes);
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), true));
    EXPECT_FALSE(file.IsDevice());
    std::string read;
    char buffer[8192];
    int got;
    while ((got = file.Read(buffer, sizeof buffer)) > 0)
        read.append(buffer, got);
    EXPECT_EQ(0, got);
    EXPECT_EQ(bytes, read);
    EXPECT_EQ(50000, file.Tell());
    EXPECT_EQ(0, file.Read(buffer, sizeof buffer));
}

TEST_F(FileTest, ReadOfMoreThanTheFileHoldsReturnsTheRest)
{
    std::string path = Write("short.lng", "0123456789");
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), true));
    std::string buffer(100000, '\0');
    EXPECT_EQ(10, file.Read(&buffer[0], 100000));
    EXPECT_EQ("0123456789", buffer.substr(0, 10));
    EXPECT_EQ(0, file.Read(&buffer[0], 100000));
}

TEST_F(FileTest, SeekAndTellUseTheWholeSixtyFourBitPosition)
{
    std::string path = Write("seek.lng", "0123456789");
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), true));
    EXPECT_EQ(0, file.Tell());
    file.Seek(6);
    EXPECT_EQ(6, file.Tell());
    char buffer[8] = {};
    EXPECT_EQ(4, file.Read(buffer, sizeof buffer));
    EXPECT_STREQ("6789", buffer);
    EXPECT_EQ(10, file.Tell());

    const long long beyond4G = 0x123456789LL;
    file.Seek(beyond4G);
    EXPECT_EQ(beyond4G, file.Tell());
    EXPECT_EQ(0, file.Read(buffer, sizeof buffer));
    file.Seek(2);
    EXPECT_EQ(2, file.Tell());
    EXPECT_EQ(8, file.Read(buffer, sizeof buffer));
}

// ---- Closed objects ------------------------------------------------------------------

TEST_F(FileTest, ClosedFileDoesNothing)
{
    RealCloseHandle = &CloseHandle;
    RealSetFilePointer = &SetFilePointer;
    ImportHook closeHook("CloseHandle", reinterpret_cast<void*>(&CountingCloseHandle));
    ImportHook seekHook("SetFilePointer", reinterpret_cast<void*>(&CountingSetFilePointer));
    ASSERT_TRUE(closeHook.Installed());
    ASSERT_TRUE(seekHook.Installed());
    RealCloseHandle = reinterpret_cast<decltype(&CloseHandle)>(closeHook.Original);
    RealSetFilePointer = reinterpret_cast<decltype(&SetFilePointer)>(seekHook.Original);
    CloseHandleCalls = 0;
    SetFilePointerCalls = 0;
    {
        File file;
        file.Seek(10);
        EXPECT_TRUE(file.Close());
        EXPECT_FALSE(file.IsDevice());
        EXPECT_EQ(INVALID_HANDLE_VALUE, file.Handle);
        char buffer[4];
        EXPECT_EQ(-1, file.Read(buffer, sizeof buffer));
    }
    EXPECT_EQ(0, CloseHandleCalls);
    EXPECT_EQ(0, SetFilePointerCalls);
}

TEST_F(FileTest, CloseAndDestructionReleaseTheHandleOnce)
{
    std::string path = Write("close.lng", "x");
    RealCloseHandle = &CloseHandle;
    ImportHook closeHook("CloseHandle", reinterpret_cast<void*>(&CountingCloseHandle));
    ASSERT_TRUE(closeHook.Installed());
    RealCloseHandle = reinterpret_cast<decltype(&CloseHandle)>(closeHook.Original);
    CloseHandleCalls = 0;
    {
        File file;
        ASSERT_TRUE(file.Open(path.c_str(), false));
        EXPECT_TRUE(file.Close());
        EXPECT_EQ(INVALID_HANDLE_VALUE, file.Handle);
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(1, CloseHandleCalls);
    {
        File file;
        ASSERT_TRUE(file.Open(path.c_str(), false));
    }
    EXPECT_EQ(2, CloseHandleCalls);
    // Both handles are gone: the file can now be opened without any sharing.
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, exclusive);
    if (exclusive != INVALID_HANDLE_VALUE)
        RealCloseHandle(exclusive);
}

TEST_F(FileTest, OpeningAgainReleasesTheFirstHandle)
{
    std::string first = Write("first.lng", "1");
    std::string second = Write("second.lng", "22");
    File file;
    ASSERT_TRUE(file.Open(first.c_str(), false));
    ASSERT_TRUE(file.Open(second.c_str(), false));
    char buffer[4];
    EXPECT_EQ(2, file.Read(buffer, sizeof buffer));
    HANDLE exclusive = CreateFileA(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, exclusive);
    if (exclusive != INVALID_HANDLE_VALUE)
        CloseHandle(exclusive);
    // A failed open leaves the open file as it was.
    EXPECT_FALSE(file.Open((Folder + "\\missing.lng").c_str(), false));
    file.Seek(0);
    EXPECT_EQ(2, file.Read(buffer, sizeof buffer));
}

// ---- Devices and pipes ---------------------------------------------------------------

TEST_F(FileTest, NulIsADeviceThatReadsNothing)
{
    File file;
    ASSERT_TRUE(file.Open("NUL", true));
    EXPECT_TRUE(file.IsDevice());
    char buffer[100];
    EXPECT_EQ(0, file.Read(buffer, sizeof buffer));
}

TEST_F(FileTest, PipeIsADeviceAndDeliversWhatWasSent)
{
    PipeServer server("zelkor-file-plain");
    ASSERT_NE(INVALID_HANDLE_VALUE, server.Handle);
    File file;
    ASSERT_TRUE(file.Open(server.Name.c_str(), true));
    EXPECT_TRUE(file.IsDevice());
    ASSERT_TRUE(server.Send("hello"));
    std::string buffer(30000, '\0');
    EXPECT_EQ(5, file.Read(&buffer[0], 30000));
    EXPECT_EQ("hello", buffer.substr(0, 5));
}

TEST_F(FileTest, RefusedLargeDeviceReadIsRepeatedOnceWith20000Bytes)
{
    PipeServer server("zelkor-file-fallback");
    ASSERT_NE(INVALID_HANDLE_VALUE, server.Handle);
    File file;
    ASSERT_TRUE(file.Open(server.Name.c_str(), true));
    ASSERT_TRUE(server.Send(Pattern(100)));

    GuardedBuffer buffer(20000);
    ASSERT_NE(nullptr, buffer.Start);
    RealReadFile = &ReadFile;
    ImportHook hook("ReadFile", reinterpret_cast<void*>(&CountingReadFile));
    ASSERT_TRUE(hook.Installed());
    RealReadFile = reinterpret_cast<decltype(&ReadFile)>(hook.Original);
    ReadFileCalls = 0;
    ReadCounts.clear();
    int got = file.Read(buffer.Start, 40000);
    EXPECT_EQ(2, ReadFileCalls);
    EXPECT_EQ((std::vector<DWORD>{40000, 20000}), ReadCounts);
    EXPECT_EQ(100, got);
    EXPECT_EQ(Pattern(100), std::string(buffer.Start, 100));
}

TEST_F(FileTest, RefusedDiskReadIsNotRepeated)
{
    std::string path = Write("guarded.lng", Pattern(30000));
    File file;
    ASSERT_TRUE(file.Open(path.c_str(), true));
    GuardedBuffer buffer(20000);
    ASSERT_NE(nullptr, buffer.Start);
    RealReadFile = &ReadFile;
    ImportHook hook("ReadFile", reinterpret_cast<void*>(&CountingReadFile));
    ASSERT_TRUE(hook.Installed());
    RealReadFile = reinterpret_cast<decltype(&ReadFile)>(hook.Original);
    ReadFileCalls = 0;
    ReadCounts.clear();
    EXPECT_EQ(-1, file.Read(buffer.Start, 40000));
    EXPECT_EQ((std::vector<DWORD>{40000}), ReadCounts);
}

TEST_F(FileTest, LargeDeviceReadThatSucceedsIsNotRepeated)
{
    PipeServer server("zelkor-file-large");
    ASSERT_NE(INVALID_HANDLE_VALUE, server.Handle);
    File file;
    ASSERT_TRUE(file.Open(server.Name.c_str(), true));
    ASSERT_TRUE(server.Send(Pattern(30000)));
    std::string buffer(40000, '\0');
    RealReadFile = &ReadFile;
    ImportHook hook("ReadFile", reinterpret_cast<void*>(&CountingReadFile));
    ASSERT_TRUE(hook.Installed());
    RealReadFile = reinterpret_cast<decltype(&ReadFile)>(hook.Original);
    ReadCounts.clear();
    int got = file.Read(&buffer[0], 40000);
    EXPECT_EQ((std::vector<DWORD>{40000}), ReadCounts);
    ASSERT_GT(got, 0);
    EXPECT_EQ(Pattern(30000).substr(0, got), buffer.substr(0, got));
}

}  // namespace
