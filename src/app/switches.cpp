/*
 * The switch reader. A switch starts after any "/" or "-" of the command tail, also one
 * inside another word, and the search resumes at the first character of the word, so
 * "a-b" and "//setup" yield further switches. Comparisons ignore case and are prefixes.
 */
#include "app/switches.h"

#include <cstring>

static char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

static bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

static bool StartsWithWord(const char* text, const char* word)
{
    for (; *word; ++text, ++word)
        if (Upper(*text) != Upper(*word))
            return false;
    return true;
}

SwitchResult ReadSwitches(const char* commandTail, SwitchActions& actions)
{
    SwitchResult result;
    if (!commandTail)
        return result;
    for (const char* p = strpbrk(commandTail, "/-"); p; p = strpbrk(p, "/-")) {
        const char* word = p + 1;
        if (StartsWithWord(word, "setup")) {
            result.SetupRequested = true;
            ++result.ModeSwitchCount;
        } else if (Upper(word[0]) == 'S' && !IsAsciiLetter(word[1])) {
            result.Silent = true;
        } else if (StartsWithWord(word, "wait")) {
            actions.Wait();
            ++result.ModeSwitchCount;
        } else if (StartsWithWord(word, "warning")) {
            actions.Warning();
            ++result.ModeSwitchCount;
        } else {
            ++result.ModeSwitchCount;
        }
        p = word;
    }
    return result;
}
