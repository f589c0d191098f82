/*
 * The key tool for translators, independent of the platform: arguments arrive as UTF-8.
 *   lngkey [--codepage N] KIND [CONTEXT] TEXT   prints the key of a text
 *   lngkey [--codepage N] [--res DIR] [-o FILE] template   writes an uninstall.lng skeleton
 * Exit status: 0 done, 1 a text or file could not be handled, 2 wrong usage.
 */
#ifndef ZELKOR_LNGKEY_LNGKEY_H
#define ZELKOR_LNGKEY_LNGKEY_H

#include <string>
#include <vector>

int RunLngkey(const std::vector<std::string>& arguments);

#endif
