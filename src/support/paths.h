/*
 * Path and text operations that step over double-byte characters of the ANSI code page.
 * Free of <windows.h>: the lead-byte table is filled by the platform side (system.h) or
 * by a test. Walks never read past a string's terminator, even when a lead byte is the
 * last byte; such a byte is taken as a single-byte character. Writers take the buffer size.
 */
#ifndef ZELKOR_SUPPORT_PATHS_H
#define ZELKOR_SUPPORT_PATHS_H

#include <cstddef>

struct MbcsLeadTable {
    unsigned char Lead[256];   // 1 for a lead byte of the ANSI code page
    unsigned char Multibyte;   // 1 when a character may take more than one byte
};

// The process-wide table, built before any other static object.
extern MbcsLeadTable LeadTable;

const char* NextChar(const MbcsLeadTable& table, const char* p);

bool IsPathSeparator(unsigned char c);
bool IsDriveColon(unsigned char c);

const char* FileNamePart(const char* path);
char* FileNamePart(char* path);
const char* LastCharacter(const char* s);
char* LastCharacter(char* s);

// Appends a backslash unless the path is empty or already ends in one; never writes
// past size bytes (a full buffer is left unchanged).
void AppendSeparator(char* path, size_t size);
void CutToParentFolder(char* path);
char* TrimTrailingSpace(char* s);

// Copies 16-bit characters up to and including the terminating zero.
void WideCopy(unsigned short* dst, const unsigned short* src);

#endif
