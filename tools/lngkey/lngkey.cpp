/*
 * lngkey: the keys of uninstall.lng, computed by the program's own key code from the
 * kind prefix, the context and the text's bytes in the chosen code page; and the template
 * of a whole translation file, read from the program's resource scripts.
 */
#include "lngkey.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "code_page.h"
#include "lang/crc32.h"
#include "rc_texts.h"

#ifndef LNGKEY_DEFAULT_RES
#define LNGKEY_DEFAULT_RES "res"
#endif

namespace {

const int ExitDone = 0;
const int ExitFailed = 1;
const int ExitUsage = 2;

const char Usage[] =
    "usage: lngkey [--codepage N] KIND [CONTEXT] TEXT\n"
    "       lngkey [--codepage N] [--res DIR] [-o FILE] template\n"
    "  KIND     s (or message) for message strings, $ (or dialog) for dialog texts,\n"
    "           whose CONTEXT is the template name (SETUPDLG, DONEDLG, CONTEXTITEMS)\n"
    "  TEXT     the source text, in UTF-8; it is keyed as bytes of the code page\n"
    "  --codepage N  the Windows ANSI code page of the target system (default 936)\n"
    "  --res DIR     folder of strings.rc, dialogs.rc and resource_ids.h (default " LNGKEY_DEFAULT_RES ")\n"
    "  -o FILE       write the template to FILE instead of the standard output\n";

struct Options {
    int CodePage = 936;
    std::string ResourceFolder = LNGKEY_DEFAULT_RES;
    std::string Output;
    std::vector<std::string> Words;
};

int UsageError(const std::string& message)
{
    fprintf(stderr, "lngkey: %s\n%s", message.c_str(), Usage);
    return ExitUsage;
}

bool ParseCodePage(const std::string& text, int* codePage)
{
    char* end = nullptr;
    long value = strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || value <= 0 || value > 65535)
        return false;
    *codePage = static_cast<int>(value);
    return true;
}

// Returns -1 when the options are fine, else the exit status.
int ParseOptions(const std::vector<std::string>& arguments, Options* options)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&](const std::string& name, std::string* out) {
            if (a.size() > name.size() && a.compare(0, name.size() + 1, name + "=") == 0) {
                *out = a.substr(name.size() + 1);
                return true;
            }
            if (i + 1 >= arguments.size())
                return false;
            *out = arguments[++i];
            return true;
        };
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            options->Words.push_back(a);
            continue;
        }
        std::string v;
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "-h" || a == "--help") {
            fputs(Usage, stdout);
            return ExitDone;
        } else if (a == "-c" || a.compare(0, 10, "--codepage") == 0) {
            if (!value(a == "-c" ? "-c" : "--codepage", &v) || !ParseCodePage(v, &options->CodePage))
                return UsageError("--codepage needs a code page number such as 936 or 1252");
        } else if (a.compare(0, 5, "--res") == 0) {
            if (!value("--res", &v))
                return UsageError("--res needs a folder");
            options->ResourceFolder = v;
        } else if (a == "-o" || a.compare(0, 8, "--output") == 0) {
            if (!value(a == "-o" ? "-o" : "--output", &v))
                return UsageError("-o needs a file name");
            options->Output = v;
        } else {
            return UsageError("unknown option " + a);
        }
    }
    return -1;
}

bool ParseKind(const std::string& word, TranslationKind* kind)
{
    if (word == "s" || word == "message") {
        *kind = MessageKind;
        return true;
    }
    if (word == "$" || word == "dialog") {
        *kind = DialogKind;
        return true;
    }
    return false;
}

bool Convert(const std::string& utf8, int codePage, const std::string& what, std::string* bytes)
{
    std::string error;
    if (Utf8ToCodePage(utf8, codePage, bytes, &error))
        return true;
    fprintf(stderr, "lngkey: %s: %s\n", what.c_str(), error.c_str());
    return false;
}

std::string KeyOf(TranslationKind kind, const std::string& context, const std::string& bytes)
{
    char key[9];
    TranslationKey(kind, context.empty() ? nullptr : context.c_str(), bytes.c_str(), key);
    return key;
}

int PrintKey(const Options& options)
{
    const std::vector<std::string>& w = options.Words;
    if (w.size() < 2 || w.size() > 3)
        return UsageError("KIND [CONTEXT] TEXT expected");
    TranslationKind kind;
    if (!ParseKind(w[0], &kind))
        return UsageError("unknown kind \"" + w[0] + "\": use s (message) or $ (dialog)");
    std::string context, text;
    if (w.size() == 3 && !Convert(w[1], options.CodePage, "context \"" + w[1] + "\"", &context))
        return ExitFailed;
    const std::string& source = w.back();
    if (!Convert(source, options.CodePage, "\"" + source + "\"", &text))
        return ExitFailed;
    if (text.find('\0') != std::string::npos || context.find('\0') != std::string::npos) {
        fprintf(stderr, "lngkey: a text cannot contain a NUL character\n");
        return ExitFailed;
    }
    printf("%s\n", KeyOf(kind, context, text).c_str());
    return ExitDone;
}

bool ReadWholeFile(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fprintf(stderr, "lngkey: cannot read %s\n", path.c_str());
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return true;
}

// The text as a value or comment of the file: quotes, backslashes and line breaks escaped.
std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c; break;
        }
    }
    return out;
}

class TemplateWriter {
public:
    explicit TemplateWriter(int codePage) : CodePage(codePage) {}

    bool Entry(TranslationKind kind, const std::string& context, const std::string& label,
               const std::string& utf8)
    {
        std::string bytes;
        std::string what = (context.empty() ? "string" : context) + " text \"" + utf8 + "\"";
        if (!Convert(utf8, CodePage, what, &bytes))
            return false;
        std::string key = KeyOf(kind, context, bytes);
        if (!Seen.insert(key).second)
            return true;   // the same text of the same context: one line serves all
        Line("; " + label + Escaped(utf8));
        Line(key + "=\"" + Escaped(bytes) + "\"");
        return true;
    }

    void Line(const std::string& line) { Text += line + "\r\n"; }

    std::string Text;

private:
    int CodePage;
    std::set<std::string> Seen;
};

int WriteTemplate(const Options& options)
{
    if (options.Words.size() != 1)
        return UsageError("template takes no further words");
    const std::string folder = options.ResourceFolder + "/";
    std::string ids, strings, dialogs;
    if (!ReadWholeFile(folder + "resource_ids.h", &ids) || !ReadWholeFile(folder + "strings.rc", &strings) ||
        !ReadWholeFile(folder + "dialogs.rc", &dialogs))
        return ExitFailed;
    RcMacros macros;
    ReadMacros(ids, &macros);
    RcTexts texts;
    std::string error;
    if (!ReadRcTexts(strings, macros, &texts, &error)) {
        fprintf(stderr, "lngkey: strings.rc: %s\n", error.c_str());
        return ExitFailed;
    }
    if (!ReadRcTexts(dialogs, macros, &texts, &error)) {
        fprintf(stderr, "lngkey: dialogs.rc: %s\n", error.c_str());
        return ExitFailed;
    }
    const std::string cp = std::to_string(options.CodePage);
    TemplateWriter out(options.CodePage);
    out.Line("; Translation file of the Zelkor uninstaller (uninstall.lng), code page " + cp + ".");
    out.Line("; Made by lngkey from the program's resources; put it beside uninstall.exe.");
    out.Line(";");
    out.Line("; Only the section from the marker line below on is read (at most 65536 bytes).");
    out.Line("; Each entry is a line: a key of 8 lowercase hexadecimal digits, =, and the");
    out.Line("; translation in double quotes. Replace the quoted source text by its translation;");
    out.Line("; a line you delete leaves that text as it is. Inside the quotes write \\\" for a");
    out.Line("; quote, \\\\ for a backslash, \\n, \\r and \\t for a line feed, return and tab.");
    out.Line("; Keys are CRC-32 checksums of the source texts as bytes of code page " + cp + ":");
    out.Line(";   lngkey s TEXT          the key of a message string");
    out.Line(";   lngkey '$' DIALOG TEXT   the key of a text of dialog template DIALOG");
    out.Line("; The file must be saved in code page " + cp + ", the ANSI code page of the system");
    out.Line("; it is used on; the comment line above each entry shows its source text in UTF-8.");
    out.Line("; A dialog is enlarged by a line WIDTH*HEIGHT (percent) under its scale key, and");
    out.Line("; dialogs are laid out right to left by the value RTL under the key 50a17ae8;");
    out.Line("; remove the semicolon of those lines below to use them.");
    out.Line("");
    out.Line("***messages***");
    out.Line(";50a17ae8=\"RTL\"");
    out.Line("");
    out.Line("; ---- Messages ----");
    for (const RcString& s : texts.Strings)
        if (!out.Entry(MessageKind, "", std::to_string(s.Id) + ": ", s.Text))
            return ExitFailed;
    for (const RcDialog& d : texts.Dialogs) {
        out.Line("");
        out.Line("; ---- Dialog " + d.Name + " ----");
        out.Line("; Scale of " + d.Name + " in percent, width*height:");
        out.Line(";" + KeyOf(DialogKind, d.Name, "") + "=\"100*100\"");
        if (d.HasCaption && !d.Caption.empty() && !out.Entry(DialogKind, d.Name, "caption: ", d.Caption))
            return ExitFailed;
        for (const std::string& text : d.Texts)
            if (!out.Entry(DialogKind, d.Name, "", text))
                return ExitFailed;
    }
    if (options.Output.empty()) {
        fwrite(out.Text.data(), 1, out.Text.size(), stdout);
        return fflush(stdout) == 0 ? ExitDone : ExitFailed;
    }
    FILE* file = fopen(options.Output.c_str(), "wb");
    if (!file) {
        fprintf(stderr, "lngkey: cannot write %s\n", options.Output.c_str());
        return ExitFailed;
    }
    bool written = fwrite(out.Text.data(), 1, out.Text.size(), file) == out.Text.size();
    written = fclose(file) == 0 && written;
    if (!written) {
        fprintf(stderr, "lngkey: cannot write %s\n", options.Output.c_str());
        return ExitFailed;
    }
    return ExitDone;
}

}  // namespace

int RunLngkey(const std::vector<std::string>& arguments)
{
    Options options;
    int status = ParseOptions(arguments, &options);
    if (status >= 0)
        return status;
    if (options.Words.empty())
        return UsageError("nothing to do");
    if (options.Words[0] == "template")
        return WriteTemplate(options);
    return PrintKey(options);
}
