/*
 * The byte-level half of the translation file: the growable index array, the marker
 * search within a block, the section's unescaping, the index of line starts sorted by
 * their 8 key bytes, the binary search and the copy of a found value. Every read stays
 * within the NUL-terminated text and every write within the caller's destination.
 */
#include "lang/language_text.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "support/error_state.h"

namespace {

const char FormFeed = 12;
const int KeyLength = 8;
const int ValueOffset = 10;       // 8 key digits, '=', opening quote
const int UnendedValueLength = 255;
const char MarkerTail[] = "*messages**";   // follows two asterisks; 11 bytes

}  // namespace

template <class T> Array<T>::~Array()
{
    free(Items);
}

template <class T> void Array<T>::Append(T value)
{
    if (Count == INT_MAX)
        Errors.MemoryError();
    ++Count;
    if (Capacity < Count) {
        // Capacities run 32, 72, 122, 184, 262...; a size that does not fit an int or
        // the address space fails like an allocation would.
        long long grown = static_cast<long long>(Capacity) + Capacity / 4 + 32;
        if (grown < Count)
            grown = Count;
        if (grown > INT_MAX || static_cast<unsigned long long>(grown) > SIZE_MAX / sizeof(T)) {
            --Count;
            Errors.MemoryError();
        }
        void* items = realloc(Items, static_cast<size_t>(grown) * sizeof(T));
        if (!items) {
            --Count;
            Errors.MemoryError();
        }
        Items = static_cast<T*>(items);
        Capacity = static_cast<int>(grown);
    }
    Items[Count - 1] = value;
}

template <class T> void Array<T>::Clear()
{
    free(Items);
    Items = nullptr;
    Count = 0;
    Capacity = 0;
}

template class Array<int>;

LanguageResources::~LanguageResources()
{
    Release();
}

void LanguageResources::Release()
{
    free(Text);
    Text = nullptr;
    TextLength = 0;
    LineStarts.Clear();
    RightToLeft = false;
}

int FindMarker(const char* block, int count)
{
    if (count < MarkerOverlap)
        return -1;
    const char* last = block + (count - MarkerOverlap);
    for (const char* p = block; p <= last; ++p) {
        p = static_cast<const char*>(memchr(p, '*', static_cast<size_t>(last - p) + 1));
        if (!p)
            return -1;
        if (p[1] == '*' && memcmp(p + 2, MarkerTail, 11) == 0)
            return static_cast<int>(p - block);
    }
    return -1;
}

char* AllocateSectionText(LanguageResources& language)
{
    free(language.Text);
    language.Text = nullptr;
    language.TextLength = 0;
    language.LineStarts.Clear();
    char* text = static_cast<char*>(malloc(LanguageSectionSize + 1));
    if (!text)
        return nullptr;
    text[0] = 0;
    text[LanguageSectionSize] = 0;
    language.Text = text;
    return text;
}

void PrepareSectionText(LanguageResources& language, int count)
{
    if (!language.Text)
        return;
    count = std::max(0, std::min(count, LanguageSectionSize));
    language.TextLength = UnescapeSection(language.Text, count);
    IndexLineStarts(language);
    SortLineStarts(language);
}

bool LoadSectionText(LanguageResources& language, const char* section, int count)
{
    char* text = AllocateSectionText(language);
    if (!text)
        return false;
    count = std::max(0, std::min(count, LanguageSectionSize));
    if (count > 0)
        memcpy(text, section, static_cast<size_t>(count));
    PrepareSectionText(language, count);
    return true;
}

// The text holds at least count + 1 bytes: the terminator may land at offset count.
int UnescapeSection(char* text, int count)
{
    int i = 0;
    int j = 0;
    while (j < count) {
        char c = text[j++];
        if (c == 0)
            break;
        if (c == '\\' && j < count) {
            char escaped = 0;
            switch (text[j]) {
            case '"': escaped = '"'; break;
            case '\\': escaped = '\\'; break;
            case 'n': escaped = '\n'; break;
            case 'r': escaped = '\r'; break;
            case 't': escaped = '\t'; break;
            default: break;
            }
            if (escaped) {
                text[i++] = escaped;
                ++j;
                continue;
            }
        }
        text[i++] = (c == '\r' || c == '\n') ? FormFeed : c;
    }
    text[i] = 0;
    return i;
}

// A line that starts within the last 8 bytes is left out, so every indexed line has its
// 8 key bytes inside the text.
void IndexLineStarts(LanguageResources& language)
{
    language.LineStarts.Count = 0;
    const char* text = language.Text;
    if (!text)
        return;
    for (int k = 1; k < language.TextLength - KeyLength; ++k) {
        if (text[k - 1] == FormFeed && text[k] != FormFeed)
            language.LineStarts.Append(k);
    }
}

void SortLineStarts(LanguageResources& language)
{
    const char* text = language.Text;
    Array<int>& starts = language.LineStarts;
    if (!text || starts.Count < 2)
        return;
    std::sort(starts.Items, starts.Items + starts.Count, [text](int a, int b) {
        return strncmp(text + a, text + b, KeyLength) < 0;
    });
}

const char* SearchLineIndex(const LanguageResources& language, const char* key)
{
    if (!language.Text || !key)
        return nullptr;
    const int* items = language.LineStarts.Items;
    int first = 0;
    int count = language.LineStarts.Count;
    while (count > 0) {
        int half = count / 2;
        const char* line = language.Text + items[first + half];
        int order = strncmp(key, line, KeyLength);
        if (order == 0)
            return line;
        if (order < 0) {
            count = half;
        } else {
            first += half + 1;
            count -= half + 1;
        }
    }
    return nullptr;
}

namespace {

void CopyCut(char* dest, size_t destSize, const char* source, size_t length)
{
    if (length > destSize - 1)
        length = destSize - 1;
    memmove(dest, source, length);
    dest[length] = 0;
}

}  // namespace

// The value runs from offset 10 of the line up to and including the next form feed (255
// bytes when no form feed follows), and ends before the last double quote within that
// span. A key line too short to reach offset 10 has an empty value: the text's own
// terminator is never read past.
void TranslateWith(const LanguageResources& language, const char* source, char* dest,
                   size_t destSize, const char* context, TranslationKind kind)
{
    if (destSize == 0)
        return;
    if (!source)
        source = "";
    const char* line = nullptr;
    if (language.HasText()) {
        char key[9];
        TranslationKey(kind, context, source, key);
        line = SearchLineIndex(language, key);
    }
    if (!line) {
        if (source != dest)
            CopyCut(dest, destSize, source, strlen(source));
        return;
    }
    const char* end = language.Text + language.TextLength;
    const char* value = std::min(line + ValueOffset, end);
    size_t available = static_cast<size_t>(end - value);
    const char* formFeed = static_cast<const char*>(memchr(value, FormFeed, available));
    size_t span = formFeed ? static_cast<size_t>(formFeed - value) + 1 : UnendedValueLength;
    span = std::min(span, available);
    size_t length = span;
    for (size_t k = span; k > 0; --k) {
        if (value[k - 1] == '"') {
            length = k - 1;
            break;
        }
    }
    CopyCut(dest, destSize, value, length);
}
