/*
 * Benchmark of the translation lookup: the cost per message of TranslateWith as the
 * message ring calls it (in place, 512 bytes), found and not found, with no text loaded,
 * in a small file and in a full 64 KB section; the key alone; and the load (unescape,
 * index, sort) of a full section. Prints figures (best of several rounds); not a test.
 */
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "lang/language_text.h"
#include "support/error_state.h"
#include "support/paths.h"

MbcsLeadTable LeadTable = {};
ErrorState Errors;
LanguageResources Language;

namespace {

using Clock = std::chrono::steady_clock;

std::string Key(const std::string& text)
{
    char key[9];
    TranslationKey(MessageKind, nullptr, text.c_str(), key);
    return key;
}

// Texts of the length of the program's messages (10 to 40 bytes).
std::vector<std::string> Sources(int count, const char* stem)
{
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(std::string(stem) + " message " + std::to_string(i) + std::string(static_cast<size_t>(i % 25), 'x'));
    return out;
}

std::string Section(const std::vector<std::string>& sources, size_t limit)
{
    std::string section = "***messages***\r\n";
    for (const std::string& s : sources) {
        std::string line = Key(s) + "=\"Translated " + s + "\"\r\n";
        if (section.size() + line.size() > limit)
            break;
        section += line;
    }
    return section;
}

template <class F> double BestNanoseconds(int rounds, long iterations, F&& body)
{
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        Clock::time_point start = Clock::now();
        for (long i = 0; i < iterations; ++i)
            body(i);
        double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / double(iterations);
        if (ns < best)
            best = ns;
    }
    return best;
}

volatile unsigned Sink;

double PerMessage(const LanguageResources& language, const std::vector<std::string>& sources)
{
    char buffer[512];
    return BestNanoseconds(7, 400000, [&](long i) {
        const std::string& s = sources[static_cast<size_t>(i) % sources.size()];
        memcpy(buffer, s.c_str(), s.size() + 1);   // as LoadStringA fills the ring buffer
        TranslateWith(language, buffer, buffer, sizeof buffer, nullptr, MessageKind);
        Sink = Sink + static_cast<unsigned char>(buffer[0]);
    });
}

}  // namespace

int main()
{
    std::vector<std::string> messages = Sources(14, "Short");
    std::vector<std::string> many = Sources(4000, "Long");
    std::vector<std::string> absent = Sources(14, "Absent");

    LanguageResources none;
    LanguageResources small;
    std::string smallSection = Section(messages, LanguageSectionSize);
    LoadSectionText(small, smallSection.data(), static_cast<int>(smallSection.size()));
    LanguageResources full;
    std::string fullSection = Section(many, LanguageSectionSize);
    LoadSectionText(full, fullSection.data(), static_cast<int>(fullSection.size()));
    std::vector<std::string> fullHits(many.begin(), many.begin() + full.LineStarts.Count);

    printf("translation lookup, per message (in place, 512-byte buffer):\n");
    printf("  no translation text loaded            %8.1f ns\n", PerMessage(none, messages));
    printf("  %4d-line file, found                  %8.1f ns\n", small.LineStarts.Count, PerMessage(small, messages));
    printf("  %4d-line file, not found              %8.1f ns\n", small.LineStarts.Count, PerMessage(small, absent));
    printf("  %4d-line 64 KB section, found         %8.1f ns\n", full.LineStarts.Count, PerMessage(full, fullHits));
    printf("  %4d-line 64 KB section, not found     %8.1f ns\n", full.LineStarts.Count, PerMessage(full, absent));
    double keyNs = BestNanoseconds(7, 400000, [&](long i) {
        Sink = Sink + TranslationKeyValue(MessageKind, nullptr, messages[static_cast<size_t>(i) % messages.size()].c_str());
    });
    printf("  key alone (CRC-32 of ~30 bytes)       %8.1f ns\n", keyNs);

    double loadNs = BestNanoseconds(5, 200, [&](long) {
        LanguageResources language;
        LoadSectionText(language, fullSection.data(), static_cast<int>(fullSection.size()));
        Sink = Sink + static_cast<unsigned>(language.LineStarts.Count);
    });
    printf("load of a 64 KB section (%zu bytes, %d lines): %.1f us\n", fullSection.size(), full.LineStarts.Count,
           loadNs / 1000.0);
    return 0;
}
