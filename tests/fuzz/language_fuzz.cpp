/*
 * libFuzzer target of the translation loader and lookup. The input is a language file
 * whose first three bytes also place it behind a run of filler bytes (up to 64 KB, or
 * about 590 KB, past the 64 searched blocks) so that the block-wise marker search meets
 * every block boundary without huge inputs. The section found, and the raw input as a section, are
 * unescaped, indexed and sorted; then a set of texts (and one taken from the input) is
 * translated with every kind and context into destinations of several sizes. Invariants
 * of the index and of every result are checked; a broken one is a crash.
 */
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "lang/language_text.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The input behind `padding` filler bytes, read as File reads a file.
struct VirtualFile {
    const uint8_t* Data;
    size_t Size;
    size_t Padding;
    unsigned char Filler;
    size_t Position = 0;

    int Read(char* buffer, int count)
    {
        size_t total = Padding + Size;
        size_t n = 0;
        size_t wanted = static_cast<size_t>(count);
        if (Position < Padding) {
            n = Padding - Position < wanted ? Padding - Position : wanted;
            memset(buffer, Filler, n);
            Position += n;
        }
        if (n < wanted && Position < total) {
            size_t more = total - Position < wanted - n ? total - Position : wanted - n;
            memcpy(buffer + n, Data + (Position - Padding), more);
            Position += more;
            n += more;
        }
        return static_cast<int>(n);
    }
};

// The marker search of LoadLanguageFile over the virtual file.
long long SearchMarker(VirtualFile& file)
{
    static char block[MarkerBlockSize];
    for (int blocks = 0; blocks < MarkerBlockCount; ++blocks) {
        long long start = static_cast<long long>(file.Position);
        int count = file.Read(block, MarkerBlockSize);
        if (count < MarkerOverlap)
            return -1;
        int offset = FindMarker(block, count);
        Check(offset < 0 || (offset <= count - MarkerOverlap && memcmp(block + offset, "***messages**", 13) == 0));
        file.Position = static_cast<size_t>(start + count - MarkerOverlap);
        if (offset >= 0)
            return start + offset;
    }
    return -1;
}

void CheckIndex(const LanguageResources& language)
{
    Check(language.TextLength >= 0 && language.TextLength <= LanguageSectionSize);
    Check(language.Text[language.TextLength] == 0);
    Check(strlen(language.Text) == static_cast<size_t>(language.TextLength));
    const Array<int>& starts = language.LineStarts;
    Check(starts.Count <= starts.Capacity);
    for (int i = 0; i < starts.Count; ++i) {
        int k = starts.Items[i];
        Check(k >= 1 && k < language.TextLength - 8);
        Check(language.Text[k - 1] == '\f' && language.Text[k] != '\f');
        if (i > 0)
            Check(strncmp(language.Text + starts.Items[i - 1], language.Text + k, 8) <= 0);
        Check(SearchLineIndex(language, language.Text + k) != nullptr);
    }
}

void TranslateAll(const LanguageResources& language, const char* extraText)
{
    static const char* const texts[] = {
        "", "LTR", "OK", "Plain", "\xd0\xb6\xd4\xd8 Zelkor", "\xc4\xe3\xd3\xa6\xb8\xc3\xca\xd6\xb6\xaf\xc9\xbe\xb3\xfd %s",
    };
    static const char* const contexts[] = {nullptr, "SETUPDLG", "DONEDLG", "CONTEXTITEMS", "LTR"};
    static const TranslationKind kinds[] = {MessageKind, DialogKind};
    static const size_t sizes[] = {1, 11, 512, 1024};
    const size_t Guard = 16;
    static char dest[1024 + Guard];
    static char guard[Guard];
    memset(guard, '#', Guard);
    std::vector<const char*> all(std::begin(texts), std::end(texts));
    all.push_back(extraText);
    for (const char* text : all) {
        for (const char* context : contexts) {
            for (TranslationKind kind : kinds) {
                for (size_t size : sizes) {
                    memset(dest + size, '#', Guard);
                    TranslateWith(language, text, dest, size, context, kind);
                    size_t length = strnlen(dest, size);
                    Check(length < size);
                    Check(memcmp(dest + size, guard, Guard) == 0);
                    if (!language.HasText())
                        Check(strncmp(dest, text, length) == 0);
                }
                // In place, as the message ring does.
                strncpy(dest, text, 511);
                dest[511] = 0;
                TranslateWith(language, dest, dest, 512, context, kind);
                Check(strnlen(dest, 512) < 512);
            }
        }
    }
}

}  // namespace

// A small quarantine keeps the 64 KB text buffers in pages already touched.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=8";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A text for the lookup from the input's last bytes.
    char extraText[33] = {};
    size_t extraLength = size < 32 ? size : 32;
    memcpy(extraText, data + size - extraLength, extraLength);

    if (size >= 3) {
        // Bytes 1 and 2 give the padding; a first byte of 0xF0 or more multiplies it by 9,
        // reaching past the 64 searched blocks. A first byte '*' makes the filler asterisks.
        size_t padding = (data[1] | size_t(data[2]) << 8) * (data[0] >= 0xF0 ? 9u : 1u);
        VirtualFile file{data + 3, size - 3, padding, static_cast<unsigned char>(data[0] == '*' ? '*' : '-')};
        long long marker = SearchMarker(file);
        LanguageResources language;
        if (marker >= 0) {
            file.Position = static_cast<size_t>(marker);
            char* text = AllocateSectionText(language);
            Check(text != nullptr);
            PrepareSectionText(language, file.Read(text, LanguageSectionSize));
            Check(memcmp(language.Text, "***messages**", 13) == 0 || language.TextLength < 13);
            CheckIndex(language);
        }
        TranslateAll(language, extraText);
    }

    LanguageResources raw;
    int count = size > size_t(LanguageSectionSize) ? LanguageSectionSize : static_cast<int>(size);
    Check(LoadSectionText(raw, reinterpret_cast<const char*>(data), count));
    CheckIndex(raw);
    TranslateAll(raw, extraText);
    return 0;
}
