/*
 * The empty-archive templates: stored without their first byte, completed on demand,
 * the native header CRC checked against a CRC-32 computed here bit by bit (independent of
 * the program's own table-driven routine), and the ZIP record laid out field by field.
 */
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "shell/archive_templates.h"

namespace {

uint32_t BitwiseCrc32(const unsigned char* data, size_t count)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; i++) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; bit++)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

unsigned Little16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t Little32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24);
}

TEST(ArchiveTemplates, StoredWithoutSignatureUntilCompleted)
{
    // Nothing else in this program completes the templates, so the stored state is seen here.
    EXPECT_EQ(0, NativeTemplate[0]);
    EXPECT_EQ(0, ZipTemplate[0]);
    CompleteArchiveTemplates();
    EXPECT_EQ(0x4B, NativeTemplate[0]);
    EXPECT_EQ(0x50, ZipTemplate[0]);
    CompleteArchiveTemplates();   // idempotent
    EXPECT_EQ(0x4B, NativeTemplate[0]);
    EXPECT_EQ(0x50, ZipTemplate[0]);
}

TEST(ArchiveTemplates, BitwiseCrcMatchesTheStandardCheckValue)
{
    const unsigned char check[] = "123456789";
    EXPECT_EQ(0xCBF43926u, BitwiseCrc32(check, 9));
}

TEST(ArchiveTemplates, NativeSignatureAndHeader)
{
    CompleteArchiveTemplates();
    ASSERT_EQ(20, NativeTemplateSize);
    const unsigned char signature[7] = {'K', 'p', 'x', '!', 0x1A, 0x07, 0x00};
    EXPECT_EQ(0, memcmp(NativeTemplate, signature, 7));
    EXPECT_EQ(0x73, NativeTemplate[9]);
    EXPECT_EQ(0u, Little16(NativeTemplate + 10));
    EXPECT_EQ(13u, Little16(NativeTemplate + 12));   // the header from byte 7 to byte 19
    for (int i = 14; i < 20; i++)
        EXPECT_EQ(0, NativeTemplate[i]) << "byte " << i;
}

TEST(ArchiveTemplates, NativeHeaderCrcIsLow16BitsOfCrc32OfBytes9To19)
{
    CompleteArchiveTemplates();
    uint32_t crc = BitwiseCrc32(NativeTemplate + 9, 11);
    EXPECT_EQ(crc & 0xFFFFu, Little16(NativeTemplate + 7));
    EXPECT_EQ(0xCF, NativeTemplate[7]);
    EXPECT_EQ(0x90, NativeTemplate[8]);
}

TEST(ArchiveTemplates, ZipEndOfCentralDirectoryOfAnEmptyArchive)
{
    CompleteArchiveTemplates();
    ASSERT_EQ(22, ZipTemplateSize);
    EXPECT_EQ(0x06054B50u, Little32(ZipTemplate));
    EXPECT_EQ(0u, Little16(ZipTemplate + 4));    // number of this disk
    EXPECT_EQ(0u, Little16(ZipTemplate + 6));    // disk where the directory starts
    EXPECT_EQ(0u, Little16(ZipTemplate + 8));    // entries on this disk
    EXPECT_EQ(0u, Little16(ZipTemplate + 10));   // entries in total
    EXPECT_EQ(0u, Little32(ZipTemplate + 12));   // directory size
    EXPECT_EQ(0u, Little32(ZipTemplate + 16));   // directory offset
    EXPECT_EQ(0u, Little16(ZipTemplate + 20));   // comment length
}

}  // namespace
