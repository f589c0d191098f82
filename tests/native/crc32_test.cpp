/*
 * CRC-32 and translation keys: the unrolled update against an independent bitwise CRC on
 * every alignment and many lengths, published check values, and the keys that translation
 * files rely on ($SETUPDLG, $LTRLTR, leading zeros kept).
 */
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "lang/crc32.h"

namespace {

// Bit by bit, without a table: shares nothing with the code under test.
uint32_t BitwiseCrc(uint32_t value, const unsigned char* p, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        value ^= p[i];
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    }
    return value;
}

std::string Key(TranslationKind kind, const char* context, const char* text)
{
    char key[9];
    memset(key, 'x', sizeof key);
    TranslationKey(kind, context, text, key);
    return std::string(key);
}

// ---- Crc32Update -----------------------------------------------------------------------

TEST(Crc32Update, UnrolledLoopEqualsByteLoopOnEveryAlignmentAndLength)
{
    alignas(16) unsigned char buffer[640];
    std::mt19937 random(12345);
    for (unsigned char& b : buffer)
        b = static_cast<unsigned char>(random());
    const uint32_t seeds[] = {0xFFFFFFFFu, 0u, 0x12345678u};
    for (uint32_t seed : seeds) {
        for (size_t start = 0; start < 16; ++start) {
            for (size_t length = 0; length + start <= sizeof buffer; length += (length < 80 ? 1 : 37)) {
                uint32_t expected = BitwiseCrc(seed, buffer + start, length);
                ASSERT_EQ(expected, Crc32Update(seed, buffer + start, length))
                    << "start " << start << " length " << length;
                // One byte at a time never reaches the 8-byte passes.
                uint32_t bytewise = seed;
                for (size_t i = 0; i < length; ++i)
                    bytewise = Crc32Update(bytewise, buffer + start + i, 1);
                ASSERT_EQ(expected, bytewise) << "start " << start << " length " << length;
            }
        }
    }
}

TEST(Crc32Update, SplitUpdatesChainLikeOneUpdate)
{
    const char text[] = "The quick brown fox jumps over the lazy dog";
    const size_t length = strlen(text);
    uint32_t whole = Crc32Update(0xFFFFFFFFu, text, length);
    for (size_t split = 0; split <= length; ++split) {
        uint32_t value = Crc32Update(0xFFFFFFFFu, text, split);
        value = Crc32Update(value, text + split, length - split);
        ASSERT_EQ(whole, value) << split;
    }
    EXPECT_EQ(0x414fa339u, whole ^ 0xFFFFFFFFu);
}

TEST(Crc32Update, CheckValuesAndEmptyInput)
{
    EXPECT_EQ(0xcbf43926u, Crc32Update(0xFFFFFFFFu, "123456789", 9) ^ 0xFFFFFFFFu);
    EXPECT_EQ(0xDEADBEEFu, Crc32Update(0xDEADBEEFu, "", 0));
    EXPECT_EQ(0xDEADBEEFu, Crc32Update(0xDEADBEEFu, nullptr, 0));
}

// ---- TranslationKey ---------------------------------------------------------------------

struct KeyCase {
    TranslationKind kind;
    const char* context;
    const char* text;
    const char* key;
};

TEST(TranslationKey, KnownKeys)
{
    const KeyCase cases[] = {
        {DialogKind, "SETUPDLG", "", "9b889d24"},           // the setup dialog's scale
        {DialogKind, "LTR", "LTR", "50a17ae8"},             // the right-to-left line
        {MessageKind, nullptr, "", "1b0ecf0b"},             // CRC-32 of "s"
        {MessageKind, nullptr, "317", "0003291a"},          // leading zeros are printed
        {MessageKind, nullptr, "\xd0\xb6\xd4\xd8 Zelkor", "62c31a00"},   // 5104 in code page 936
        {DialogKind, "SETUP", "DLG", "9b889d24"},           // only the concatenation counts
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(c.key, Key(c.kind, c.context, c.text)) << (c.context ? c.context : "-") << "/" << c.text;
}

TEST(TranslationKey, AbsentContextEqualsEmptyContext)
{
    EXPECT_EQ(Key(MessageKind, nullptr, "abc"), Key(MessageKind, "", "abc"));
    EXPECT_EQ(TranslationKeyValue(DialogKind, nullptr, "x"), TranslationKeyValue(DialogKind, "", "x"));
    EXPECT_NE(Key(MessageKind, nullptr, "abc"), Key(DialogKind, nullptr, "abc"));
}

TEST(TranslationKey, IsEightLowercaseHexDigits)
{
    for (int i = 0; i < 200; ++i) {
        std::string text = "text " + std::to_string(i);
        std::string key = Key(MessageKind, nullptr, text.c_str());
        ASSERT_EQ(8u, key.size());
        for (char c : key)
            ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << key;
    }
}

}  // namespace
