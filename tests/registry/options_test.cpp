/*
 * Tests of the options record against Wine's registry: the group table, the defaults
 * with no Setup keys, non-zero values read as set and saved back as 1, where every flag
 * is stored, and the rule by which another program's claim on .jar and .iso wins.
 * The product root is removed before and after each test; claimed extensions are put back.
 */
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "raw_registry.h"
#include "shell/options.h"

namespace {

const std::string SetupKey = "Software\\Zelkor\\Setup";

class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        raw::CleanAll();
        Jar.Clear();
        Iso.Clear();
    }
    void TearDown() override { raw::CleanAll(); }

    raw::ClassBackup Jar{".jar"};
    raw::ClassBackup Iso{".iso"};
};

SetupOptions AllSet()
{
    SetupOptions options;
    memset(&options, 1, sizeof options);
    return options;
}

// Flags 0..19 in record order: the 14 groups, then Desktop to MenuIcons.
std::string Flags(const SetupOptions& options)
{
    std::string out;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&options);
    for (size_t i = 0; i < sizeof options; ++i)
        out += static_cast<char>('0' + bytes[i]);
    return out;
}

SetupOptions FromFlags(const std::string& flags)
{
    SetupOptions options;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&options);
    for (size_t i = 0; i < sizeof options; ++i)
        bytes[i] = static_cast<unsigned char>(flags[i] - '0');
    return options;
}

// Where each flag lives, in record order.
struct Stored {
    const char* Key;
    const char* Value;
};
const Stored Places[20] = {
    {"\\.kpx", "Set"}, {"\\.zip", "Set"}, {"\\.cab", "Set"}, {"\\.arj", "Set"}, {"\\.lzh", "Set"},
    {"\\.ace", "Set"}, {"\\.7z", "Set"},  {"\\.tar", "Set"}, {"\\.gz", "Set"},  {"\\.uue", "Set"},
    {"\\.bz2", "Set"}, {"\\.jar", "Set"}, {"\\.iso", "Set"}, {"\\.z", "Set"},
    {"\\Links", "Desktop"}, {"\\Links", "StartMenu"}, {"\\Links", "Programs"},
    {"", "ShellExt"}, {"", "CascadedMenu"}, {"", "MenuIcons"},
};

TEST_F(Options, GroupTableHoldsTheFourteenGroups)
{
    const struct {
        const char* Caption;
        const char* Extensions;
    } expected[AssociationGroupCount] = {
        {"KPX(&R)", ".kpx"}, {"ZIP(&Z)", ".zip"}, {"CAB", ".cab"}, {"ARJ", ".arj"},
        {"LZH", ".lzh.lha"}, {"ACE", ".ace"},     {"7-Zip", ".7z"}, {"TAR", ".tar"},
        {"GZip", ".gz.tgz"}, {"UUE", ".uue.xxe.uu"}, {"BZ2", ".bz2.tbz2.bz.tbz"},
        {"JAR", ".jar"},     {"ISO", ".iso"},     {"Z", ".z.taz"},
    };
    for (int n = 0; n < AssociationGroupCount; ++n) {
        EXPECT_EQ(n, AssociationGroups[n].Number);
        EXPECT_EQ(5101 + n, AssociationGroups[n].ControlId);
        EXPECT_STREQ(expected[n].Caption, AssociationGroups[n].Caption);
        EXPECT_STREQ(expected[n].Extensions, AssociationGroups[n].Extensions);
    }
    EXPECT_EQ(0, NativeGroup);
    EXPECT_EQ(1, ZipGroup);
}

TEST_F(Options, DefaultsWithNoSetupKeys)
{
    SetupOptions options = FromFlags("00000000000000000000");
    ReadSetupOptions(options);
    //                  groups 0..13    D S P E C I
    EXPECT_EQ(std::string("11111111111111") + "001101", Flags(options));
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, "Software\\Zelkor")) << "reading creates nothing";

    // Another program's .jar and .iso are left out even with nothing stored.
    Jar.SetClass("OtherArchiver.jar");
    Iso.SetClass("DiscImage");
    ReadSetupOptions(options);
    EXPECT_EQ(std::string("11111111111001") + "001101", Flags(options));
}

TEST_F(Options, SaveStoresEveryFlagAsADwordWhereItBelongs)
{
    // A flag byte other than 0 and 1 (7 here) is still written as 1.
    const std::string patterns[] = {"10101010101010101010", "01010101010101010101",
                                    "00000000000000000000", "11111111111111111111",
                                    "70770707700770070707"};
    for (const std::string& pattern : patterns) {
        SCOPED_TRACE(pattern);
        std::string normalized = pattern;
        for (char& c : normalized)
            c = c == '0' ? '0' : '1';
        SaveSetupOptions(FromFlags(pattern));
        for (int i = 0; i < 20; ++i) {
            raw::Value v = raw::GetValue(HKEY_CURRENT_USER, SetupKey + Places[i].Key, Places[i].Value);
            EXPECT_TRUE(v.Present) << Places[i].Key << " " << Places[i].Value;
            EXPECT_EQ(static_cast<DWORD>(REG_DWORD), v.Type);
            EXPECT_EQ(raw::Dword(normalized[i] - '0'), v.Bytes) << Places[i].Key << " " << Places[i].Value;
        }
        SetupOptions back = FromFlags(pattern == patterns[0] ? patterns[1] : patterns[0]);
        ReadSetupOptions(back);
        EXPECT_EQ(normalized, Flags(back));
    }
    // Only the key extension names a group's key.
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, SetupKey + "\\.lha"));
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, SetupKey + "\\.lzh.lha"));
}

TEST_F(Options, AnyNonZeroValueReadsAsSetAndIsSavedBackAsOne)
{
    for (int i = 0; i < 20; ++i)
        raw::SetDword(HKEY_CURRENT_USER, SetupKey + Places[i].Key, Places[i].Value, i % 2 ? 7 : 0);
    raw::SetDword(HKEY_CURRENT_USER, SetupKey + "\\.zip", "Set", 0x80000000u);
    SetupOptions options;
    ReadSetupOptions(options);
    EXPECT_EQ("01010101010101010101", Flags(options));
    SaveSetupOptions(options);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(raw::Dword(i % 2 ? 1 : 0),
                  raw::GetValue(HKEY_CURRENT_USER, SetupKey + Places[i].Key, Places[i].Value).Bytes)
            << Places[i].Key << " " << Places[i].Value;
}

TEST_F(Options, IsOwnAssociationKnowsTheArchiversTwoClasses)
{
    const std::string ext = std::string(".") + raw::ClassTestRoot;
    raw::ClassBackup test(ext.c_str());
    const struct {
        const char* Class;
        bool Own;
    } cases[] = {
        {"Zelkor", true},        {"zelkor", true},      {"ZELKOR", true},
        {"Zelkor.ZIP", true},    {"zelkor.zip", true},  {"Zelkor.REV", false},
        {"Zelkor.ZIP ", false},  {"ZelkorX", false},    {"Other", false},
        {"", false},
    };
    for (const auto& c : cases) {
        test.SetClass(c.Class);
        EXPECT_EQ(c.Own, IsOwnAssociation(ext.c_str())) << '"' << c.Class << '"';
    }
    // A class name that does not fit 80 bytes counts as missing.
    test.SetClass("Zelkor" + std::string(80, ' '));
    EXPECT_FALSE(IsOwnAssociation(ext.c_str()));
    test.Clear();
    EXPECT_FALSE(IsOwnAssociation(ext.c_str()));
}

TEST_F(Options, AnotherProgramsClaimOnJarAndIsoWins)
{
    struct Case {
        const char* Class;   // nullptr: no class at all
        DWORD StoredSet;     // 2: nothing stored
        bool Shown;
    };
    const Case cases[] = {
        {"OtherArchiver.jar", 1, false},
        {"OtherArchiver.jar", 2, false},
        {"zelkor", 1, true},
        {"ZeLkOr", 1, true},
        {"Zelkor.ZIP", 1, true},
        {"Zelkor", 0, false},   // own class, but the user chose not to take it
        {"", 1, true},          // an empty class is no claim
        {nullptr, 1, true},
        {nullptr, 0, false},
    };
    for (int group : {11, 12}) {
        raw::ClassBackup& backup = group == 11 ? Jar : Iso;
        const char* key = group == 11 ? "\\.jar" : "\\.iso";
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(key) + " " + (c.Class ? c.Class : "(none)") + " " +
                         std::to_string(c.StoredSet));
            raw::DeleteTree(HKEY_CURRENT_USER, "Software\\Zelkor");
            if (c.StoredSet != 2)
                raw::SetDword(HKEY_CURRENT_USER, SetupKey + key, "Set", c.StoredSet);
            if (c.Class)
                backup.SetClass(c.Class);
            else
                backup.Clear();
            SetupOptions options = AllSet();
            ReadSetupOptions(options);
            EXPECT_EQ(c.Shown, options.Associate[group] != 0);
            backup.Clear();
        }
    }
}

TEST_F(Options, AClaimOnAnyOtherExtensionNeverWins)
{
    raw::ClassBackup zip(".zip");
    raw::ClassBackup cab(".cab");
    zip.SetClass("OtherArchiver.zip");
    cab.SetClass("OtherArchiver.cab");
    SetupOptions options;
    ReadSetupOptions(options);
    EXPECT_TRUE(options.Associate[ZipGroup]);
    EXPECT_TRUE(options.Associate[2]);
}

}  // namespace
