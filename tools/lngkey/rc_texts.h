/*
 * The translatable texts of the program's resource scripts, read as the resource compiler
 * reads them (UTF-8 sources): the string table entries and, for every DIALOG or DIALOGEX
 * template, its caption and the texts of its controls. Names and ids may be macros of
 * resource_ids.h. Icon controls and empty control texts are left out.
 */
#ifndef ZELKOR_LNGKEY_RC_TEXTS_H
#define ZELKOR_LNGKEY_RC_TEXTS_H

#include <map>
#include <string>
#include <vector>

struct RcString {
    long Id;
    std::string Text;
};

struct RcDialog {
    std::string Name;
    bool HasCaption = false;
    std::string Caption;
    std::vector<std::string> Texts;   // in template order, duplicates kept
};

struct RcTexts {
    std::vector<RcString> Strings;
    std::vector<RcDialog> Dialogs;
};

using RcMacros = std::map<std::string, std::string>;

// #define NAME VALUE lines of a header (the value as written, quotes removed from strings).
void ReadMacros(const std::string& source, RcMacros* macros);
// Adds the string table entries and dialog templates of one script; false with a message
// on a malformed one.
bool ReadRcTexts(const std::string& source, const RcMacros& macros, RcTexts* texts, std::string* error);

#endif
