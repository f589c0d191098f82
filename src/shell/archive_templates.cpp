/*
 * The two empty-archive templates behind Explorer's New menu: an empty native archive
 * (signature, then a main header whose CRC field holds the low 16 bits of the CRC-32 of
 * the header's remaining 11 bytes) and an empty ZIP (an end-of-central-directory record
 * with every count zero). Both first bytes are kept zero here and set at each use.
 */
#include "shell/archive_templates.h"

unsigned char NativeTemplate[NativeTemplateSize] = {
    0x00, 0x70, 0x78, 0x21, 0x1A, 0x07, 0x00,   // signature, first byte set later
    0xCF, 0x90,                                 // header CRC, low 16 bits
    0x73,                                       // header type
    0x00, 0x00,                                 // flags
    0x0D, 0x00,                                 // header size
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,         // reserved
};

unsigned char ZipTemplate[ZipTemplateSize] = {
    0x00, 0x4B, 0x05, 0x06,                     // end-of-central-directory signature
    0x00, 0x00, 0x00, 0x00,                     // disk numbers
    0x00, 0x00, 0x00, 0x00,                     // entry counts
    0x00, 0x00, 0x00, 0x00,                     // directory size
    0x00, 0x00, 0x00, 0x00,                     // directory offset
    0x00, 0x00,                                 // comment length
};

void CompleteArchiveTemplates()
{
    NativeTemplate[0] = 0x4B;
    ZipTemplate[0] = 0x50;
}
