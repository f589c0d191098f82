/*
 * CRC-32 (reflected polynomial 0xEDB88320) and the translation keys built from it: the
 * CRC of a one-byte kind prefix, the context and the text, printed as "%08x".
 */
#ifndef ZELKOR_LANG_CRC32_H
#define ZELKOR_LANG_CRC32_H

#include <cstddef>
#include <cstdint>

enum TranslationKind : char { MessageKind = 's', DialogKind = '$' };

uint32_t Crc32Update(uint32_t value, const void* data, size_t count);
uint32_t TranslationKeyValue(TranslationKind kind, const char* context, const char* text);
// key receives 8 lowercase hexadecimal digits and a terminator.
void TranslationKey(TranslationKind kind, const char* context, const char* text, char key[9]);

#endif
