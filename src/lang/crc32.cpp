/*
 * CRC-32 over the reflected polynomial 0xEDB88320, with its table built lazily on first
 * use, and the translation keys: the CRC of kind prefix, context and text, as "%08x".
 * The update loop takes 8 bytes a pass once aligned; it gives the same value as the
 * plain byte loop for any start and length.
 */
#include "lang/crc32.h"

#include <cstdio>
#include <cstring>

namespace {

uint32_t CrcTable[256];

void BuildCrcTable()
{
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t entry = i;
        for (int step = 0; step < 8; ++step)
            entry = (entry & 1) ? (entry >> 1) ^ 0xEDB88320u : entry >> 1;
        CrcTable[i] = entry;
    }
}

inline uint32_t ByteStep(uint32_t value, unsigned char b)
{
    return CrcTable[(value ^ b) & 255] ^ (value >> 8);
}

inline uint32_t TableSteps(uint32_t value)
{
    value = CrcTable[value & 255] ^ (value >> 8);
    value = CrcTable[value & 255] ^ (value >> 8);
    value = CrcTable[value & 255] ^ (value >> 8);
    return CrcTable[value & 255] ^ (value >> 8);
}

// The word in the byte order the CRC consumes, whatever the host's byte order.
inline uint32_t LittleEndianWord(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

uint32_t Crc32Update(uint32_t value, const void* data, size_t count)
{
    if (CrcTable[1] == 0)
        BuildCrcTable();
    const unsigned char* p = static_cast<const unsigned char*>(data);
    while (count > 0 && (reinterpret_cast<uintptr_t>(p) & 7) != 0) {
        value = ByteStep(value, *p++);
        --count;
    }
    while (count >= 8) {
        value = TableSteps(value ^ LittleEndianWord(p));
        value = TableSteps(value ^ LittleEndianWord(p + 4));
        p += 8;
        count -= 8;
    }
    while (count > 0) {
        value = ByteStep(value, *p++);
        --count;
    }
    return value;
}

uint32_t TranslationKeyValue(TranslationKind kind, const char* context, const char* text)
{
    const char prefix = static_cast<char>(kind);
    uint32_t value = Crc32Update(0xFFFFFFFFu, &prefix, 1);
    if (context)
        value = Crc32Update(value, context, strlen(context));
    if (text)
        value = Crc32Update(value, text, strlen(text));
    return value ^ 0xFFFFFFFFu;
}

void TranslationKey(TranslationKind kind, const char* context, const char* text, char key[9])
{
    snprintf(key, 9, "%08x", static_cast<unsigned>(TranslationKeyValue(kind, context, text)));
}
