/*
 * The two empty-archive templates for Explorer's New menu. They are stored with their
 * first byte zeroed, so the executable holds neither signature; CompleteArchiveTemplates
 * sets those bytes and is called before every use.
 */
#ifndef ZELKOR_SHELL_ARCHIVE_TEMPLATES_H
#define ZELKOR_SHELL_ARCHIVE_TEMPLATES_H

const int NativeTemplateSize = 20;
const int ZipTemplateSize = 22;

extern unsigned char NativeTemplate[NativeTemplateSize];
extern unsigned char ZipTemplate[ZipTemplateSize];

void CompleteArchiveTemplates();

#endif
