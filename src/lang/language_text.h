/*
 * The loaded translation text and its sorted index of line starts, with the byte-level
 * steps of loading (marker search, unescaping, indexing, sorting) and of lookup (binary
 * search, value copy). Free of <windows.h>; the file reading is in language_file.cpp.
 */
#ifndef ZELKOR_LANG_LANGUAGE_TEXT_H
#define ZELKOR_LANG_LANGUAGE_TEXT_H

#include <cstddef>
#include "lang/crc32.h"

template <class T> class Array {
public:
    Array() = default;
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;
    ~Array();
    void Append(T value);   // grows by a quarter plus 32; MemoryError when it cannot
    void Clear();

    T* Items = nullptr;
    int Count = 0;
    int Capacity = 0;
};

const int LanguageSectionSize = 65536;
const int MarkerBlockSize = 8192;
const int MarkerBlockCount = 64;
const int MarkerOverlap = 16;

class LanguageResources {
public:
    LanguageResources() = default;
    LanguageResources(const LanguageResources&) = delete;
    LanguageResources& operator=(const LanguageResources&) = delete;
    ~LanguageResources();
    bool HasText() const { return Text != nullptr; }
    void Release();

    char* Text = nullptr;
    int TextLength = 0;
    Array<int> LineStarts;
    bool RightToLeft = false;
};

extern LanguageResources Language;

// Offset of the marker in a block of count bytes (offsets 0 to count-16), or -1.
int FindMarker(const char* block, int count);
// Allocates Text and copies count section bytes into it (count <= 65536), then unescapes,
// indexes and sorts. false only when the buffer cannot be allocated.
bool LoadSectionText(LanguageResources& language, const char* section, int count);
// The two halves of LoadSectionText for a reader that fills Text itself: a buffer of
// 65536 bytes plus terminator (null when it cannot be allocated), then the unescaping,
// indexing and sorting of the count bytes read into it (a negative count reads as 0).
char* AllocateSectionText(LanguageResources& language);
void PrepareSectionText(LanguageResources& language, int count);
int UnescapeSection(char* text, int count);
void IndexLineStarts(LanguageResources& language);
void SortLineStarts(LanguageResources& language);
const char* SearchLineIndex(const LanguageResources& language, const char* key);
// Translates source into dest (which may be source) with the given language; the value
// is cut to fit destSize with its terminator.
void TranslateWith(const LanguageResources& language, const char* source, char* dest,
                   size_t destSize, const char* context, TranslationKind kind);

#endif
