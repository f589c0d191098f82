/*
 * Tests of the registry access layer against Wine's registry: key composition and the
 * 236-byte bound under every root, value reads and writes, the deletions of keys, values
 * and trees on both Windows families, and the 64-bit view switch. Every test starts and
 * ends with the product root and the tests' own keys removed.
 */
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bed/bed.h"
#include "raw_registry.h"
#include "registry/registry.h"
#include "support/system.h"

namespace {

const std::string Product = "Software\\Zelkor";
const std::string UserTest = raw::TestRoot;            // HKCU, reached with a leading backslash
const std::string MachineTest = raw::TestRoot;         // HKLM
const std::string ClassTest = raw::ClassTestRoot;      // HKCR

class RegistryLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        raw::CleanAll();
        Use64BitView(false);
    }
    void TearDown() override
    {
        Use64BitView(false);
        raw::CleanAll();
    }
};

// A key of exactly `length` bytes: the prefix followed by padding letters.
std::string KeyOfLength(const std::string& prefix, size_t length)
{
    std::string key = prefix;
    key.append(length - prefix.size(), 'k');
    return key;
}

// ---- ComposeKeyPath -------------------------------------------------------------------

struct CompositionCase {
    HKEY Root;
    const char* Key;
    const char* Path;
};

TEST_F(RegistryLayer, ComposeKeyPathFollowsTheRootRules)
{
    const CompositionCase cases[] = {
        {HKEY_CURRENT_USER, "Setup", "Software\\Zelkor\\Setup"},
        {HKEY_CURRENT_USER, "Setup\\.zip", "Software\\Zelkor\\Setup\\.zip"},
        {HKEY_CURRENT_USER, "", "Software\\Zelkor"},
        {HKEY_CURRENT_USER, "\\Software\\Other", "Software\\Other"},
        {HKEY_CURRENT_USER, "\\", ""},
        {HKEY_CURRENT_USER, "\\\\Twice", "\\Twice"},   // only one backslash is removed
        {HKEY_LOCAL_MACHINE, "Software\\Other", "Software\\Other"},
        {HKEY_LOCAL_MACHINE, "\\Software\\Other", "\\Software\\Other"},
        {HKEY_CLASSES_ROOT, ".zip", ".zip"},
        {HKEY_CLASSES_ROOT, "\\.zip", "\\.zip"},
        {HKEY_CLASSES_ROOT, "", ""},
    };
    for (const CompositionCase& c : cases) {
        char out[256];
        memset(out, '#', sizeof out);
        ASSERT_TRUE(ComposeKeyPath(c.Root, c.Key, out, sizeof out)) << c.Key;
        EXPECT_STREQ(c.Path, out) << c.Key;
    }
}

TEST_F(RegistryLayer, ComposeKeyPathAccepts236BytesAndRefuses237UnderEveryRoot)
{
    const HKEY roots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT};
    for (HKEY root : roots) {
        for (const char* prefix : {"", "\\"}) {
            char out[256];
            std::string accepted = KeyOfLength(prefix, 236);
            ASSERT_TRUE(ComposeKeyPath(root, accepted.c_str(), out, sizeof out));
            EXPECT_LT(strlen(out), sizeof out);

            std::string refused = KeyOfLength(prefix, 237);
            memset(out, '#', sizeof out);
            EXPECT_FALSE(ComposeKeyPath(root, refused.c_str(), out, sizeof out));
            EXPECT_EQ(std::string(sizeof out, '#'), std::string(out, sizeof out))
                << "output must stay untouched";
        }
    }
    // The bound follows the buffer: size minus 20.
    char small[40];
    EXPECT_TRUE(ComposeKeyPath(HKEY_LOCAL_MACHINE, std::string(20, 'k').c_str(), small, sizeof small));
    EXPECT_FALSE(ComposeKeyPath(HKEY_LOCAL_MACHINE, std::string(21, 'k').c_str(), small, sizeof small));
}

// Where each composed key lands in the real registry.
TEST_F(RegistryLayer, WritesLandWhereTheKeyComposes)
{
    WriteString(HKEY_CURRENT_USER, "Setup", "Where", "setup");
    WriteString(HKEY_CURRENT_USER, "", "Where", "product");
    WriteString(HKEY_CURRENT_USER, ("\\" + UserTest + "\\Other").c_str(), "Where", "absolute");
    WriteString(HKEY_LOCAL_MACHINE, (MachineTest + "\\Machine").c_str(), "Where", "machine");
    WriteString(HKEY_CLASSES_ROOT, (ClassTest + "\\Class").c_str(), "Where", "class");

    EXPECT_EQ(std::string("setup", 6), raw::GetValue(HKEY_CURRENT_USER, Product + "\\Setup", "Where").Bytes);
    EXPECT_EQ(std::string("product", 8), raw::GetValue(HKEY_CURRENT_USER, Product, "Where").Bytes);
    EXPECT_EQ(std::string("absolute", 9),
              raw::GetValue(HKEY_CURRENT_USER, UserTest + "\\Other", "Where").Bytes);
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\" + UserTest));
    EXPECT_EQ(std::string("machine", 8),
              raw::GetValue(HKEY_LOCAL_MACHINE, MachineTest + "\\Machine", "Where").Bytes);
    EXPECT_EQ(std::string("class", 6), raw::GetValue(HKEY_CLASSES_ROOT, ClassTest + "\\Class", "Where").Bytes);
}

// A lone backslash under HKEY_CURRENT_USER addresses the root key itself.
TEST_F(RegistryLayer, LoneBackslashAddressesTheUserRootItself)
{
    const char* name = raw::RootValueName;
    WriteString(HKEY_CURRENT_USER, "\\", name, "at the root");
    EXPECT_EQ(std::string("at the root", 12), raw::GetValue(HKEY_CURRENT_USER, "", name).Bytes);
    char text[64];
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, "\\", name, text, "", sizeof text));
    EXPECT_STREQ("at the root", text);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "\\"));
    DeleteValue(HKEY_CURRENT_USER, "\\", name);
    EXPECT_FALSE(raw::GetValue(HKEY_CURRENT_USER, "", name).Present);
}

// ---- The 236-byte bound in every operation --------------------------------------------

struct BoundCase {
    const char* Name;
    HKEY Root;
    std::string Prefix;     // what the caller passes before the padding
    std::string Composed;   // where that prefix lands
};

TEST_F(RegistryLayer, KeyOf236BytesWorksAnd237BytesDoesNothingUnderEveryRoot)
{
    const BoundCase cases[] = {
        {"HKCU relative", HKEY_CURRENT_USER, "", Product + "\\"},
        {"HKCU absolute", HKEY_CURRENT_USER, "\\" + UserTest + "\\", UserTest + "\\"},
        {"HKLM", HKEY_LOCAL_MACHINE, MachineTest + "\\", MachineTest + "\\"},
        {"HKCR", HKEY_CLASSES_ROOT, ClassTest + "\\", ClassTest + "\\"},
    };
    for (const BoundCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string accepted = KeyOfLength(c.Prefix, 236);
        std::string acceptedPath = c.Composed + accepted.substr(c.Prefix.size());
        WriteString(c.Root, accepted.c_str(), "v", "stored");
        EXPECT_EQ(std::string("stored", 7), raw::GetValue(c.Root, acceptedPath, "v").Bytes);
        char text[32];
        EXPECT_TRUE(ReadString(c.Root, accepted.c_str(), "v", text, "default", sizeof text));
        EXPECT_STREQ("stored", text);
        EXPECT_TRUE(KeyExists(c.Root, accepted.c_str()));

        // The refused key exists, made directly: the layer must neither see nor change it.
        std::string refused = KeyOfLength(c.Prefix, 237);
        std::string refusedPath = c.Composed + refused.substr(c.Prefix.size());
        raw::SetString(c.Root, refusedPath, "v", "direct");
        raw::SetDword(c.Root, refusedPath, "d", 5);
        raw::CreateKey(c.Root, refusedPath + "\\Child");

        EXPECT_FALSE(ReadString(c.Root, refused.c_str(), "v", text, "default", sizeof text));
        EXPECT_STREQ("default", text);
        EXPECT_EQ(99u, ReadDword(c.Root, refused.c_str(), "d", 99));
        EXPECT_FALSE(KeyExists(c.Root, refused.c_str()));
        EXPECT_EQ(nullptr, OpenKeyForRead(c.Root, refused.c_str()));
        EXPECT_EQ(nullptr, CreateKeyForWrite(c.Root, refused.c_str()));
        WriteString(c.Root, refused.c_str(), "v", "layer");
        WriteDword(c.Root, refused.c_str(), "d", 6);
        WriteBinary(c.Root, refused.c_str(), "b", "xy", 2);
        DeleteValue(c.Root, refused.c_str(), "d");
        DeleteKey(c.Root, (refused).c_str());
        DeleteKeyTree(c.Root, refused.c_str());
        DeleteKeyIn64BitView(c.Root, refused.c_str());
        EXPECT_EQ(std::string("direct", 7), raw::GetValue(c.Root, refusedPath, "v").Bytes);
        EXPECT_EQ(raw::Dword(5), raw::GetValue(c.Root, refusedPath, "d").Bytes);
        EXPECT_FALSE(raw::GetValue(c.Root, refusedPath, "b").Present);
        EXPECT_TRUE(raw::KeyExists(c.Root, refusedPath + "\\Child"));
    }
}

// ---- Handles and their access rights --------------------------------------------------

TEST_F(RegistryLayer, HandlesCarryTheirFixedAccessRights)
{
    EXPECT_EQ(nullptr, OpenKeyForRead(HKEY_CURRENT_USER, "Setup"));
    EXPECT_FALSE(CloseKey(nullptr));

    HKEY written = CreateKeyForWrite(HKEY_CURRENT_USER, "Setup\\Deep\\Er");
    ASSERT_NE(nullptr, written);   // missing keys along the path are created
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Setup\\Deep\\Er"));
    const BYTE one[4] = {1, 0, 0, 0};
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(written, "x", 0, REG_DWORD, one, 4));
    BYTE back[4];
    DWORD count = sizeof back;
    // The older family has no access checks; Wine there grants every right.
    if (!bed::OlderFamily()) {
        EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(written, "x", nullptr, nullptr, back, &count))
            << "a write handle has no query right";
    }
    EXPECT_TRUE(CloseKey(written));

    HKEY read = OpenKeyForRead(HKEY_CURRENT_USER, "Setup\\Deep");
    ASSERT_NE(nullptr, read);
    char name[32];
    DWORD nameSize = sizeof name;
    EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyExA(read, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr));
    EXPECT_STREQ("Er", name);
    if (!bed::OlderFamily()) {
        EXPECT_EQ(ERROR_ACCESS_DENIED, RegSetValueExA(read, "y", 0, REG_DWORD, one, 4))
            << "a read handle has no set right";
    }
    EXPECT_TRUE(CloseKey(read));
}

// ---- Writes ---------------------------------------------------------------------------

TEST_F(RegistryLayer, WritesStoreTheirTypesAndByteCounts)
{
    WriteString(HKEY_CURRENT_USER, "W", "s", "text");
    WriteString(HKEY_CURRENT_USER, "W", "", "default");
    WriteString(HKEY_CURRENT_USER, "W", "empty", "");
    WriteDword(HKEY_CURRENT_USER, "W", "d", 0x12345678);
    WriteBinary(HKEY_CURRENT_USER, "W", "b", "a\0b\0", 4);
    WriteBinary(HKEY_CURRENT_USER, "W", "none", "", 0);

    const struct {
        const char* Name;
        DWORD Type;
        std::string Bytes;
    } expected[] = {
        {"s", REG_SZ, std::string("text", 5)},
        {"", REG_SZ, std::string("default", 8)},
        {"empty", REG_SZ, std::string("", 1)},
        {"d", REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
        {"b", REG_BINARY, std::string("a\0b\0", 4)},
        {"none", REG_BINARY, std::string()},
    };
    for (const auto& e : expected) {
        raw::Value v = raw::GetValue(HKEY_CURRENT_USER, Product + "\\W", e.Name);
        EXPECT_TRUE(v.Present) << e.Name;
        EXPECT_EQ(e.Type, v.Type) << e.Name;
        EXPECT_EQ(e.Bytes, v.Bytes) << e.Name;
    }
}

TEST_F(RegistryLayer, UserOperationsWorkUnderTheProductRoot)
{
    WriteUserString("Setup\\.zip", "Text", "zip");
    WriteUserDword("Setup", "ShellExt", 7);
    EXPECT_EQ(std::string("zip", 4), raw::GetValue(HKEY_CURRENT_USER, Product + "\\Setup\\.zip", "Text").Bytes);
    EXPECT_EQ(raw::Dword(7), raw::GetValue(HKEY_CURRENT_USER, Product + "\\Setup", "ShellExt").Bytes);

    char text[16];
    EXPECT_TRUE(ReadUserString("Setup\\.zip", "Text", text, "", sizeof text));
    EXPECT_STREQ("zip", text);
    EXPECT_FALSE(ReadUserString("Setup\\.zip", "Missing", text, "dflt", sizeof text));
    EXPECT_STREQ("dflt", text);
    EXPECT_EQ(7u, ReadUserDword("Setup", "ShellExt", 1));
    EXPECT_EQ(1u, ReadUserDword("Setup", "Missing", 1));
}

// ---- ReadString -----------------------------------------------------------------------

struct StringReadCase {
    const char* Name;
    DWORD Type;
    std::string Stored;      // empty with Type 0: no value at all
    DWORD Size;
    bool Taken;
    const char* Result;
};

TEST_F(RegistryLayer, ReadStringTakesTheValueOrTheDefaultAndAlwaysTerminates)
{
    const StringReadCase cases[] = {
        {"empty string is present", REG_SZ, std::string("", 1), 16, true, ""},
        {"missing value", 0, "", 16, false, "abc"},
        {"plain string", REG_SZ, std::string("hello", 6), 16, true, "hello"},
        {"string filling the buffer with its terminator", REG_SZ, std::string("1234567", 8), 8, true, "1234567"},
        {"string longer than the buffer", REG_SZ, std::string("123456789", 10), 8, false, "abc"},
        {"unterminated bytes with room", REG_BINARY, "xyz", 8, true, "xyz"},
        {"unterminated bytes filling the buffer", REG_BINARY, "12345678", 8, true, "1234567"},
        {"zero data bytes", REG_BINARY, "", 8, false, "abc"},
        {"a number read as text", REG_DWORD, std::string("AB\0\0", 4), 8, true, "AB"},
    };
    for (const StringReadCase& c : cases) {
        SCOPED_TRACE(c.Name);
        raw::DeleteTree(HKEY_CURRENT_USER, Product);
        raw::CreateKey(HKEY_CURRENT_USER, Product + "\\R");
        if (c.Type != 0)
            raw::SetValue(HKEY_CURRENT_USER, Product + "\\R", "v", c.Type, c.Stored);
        char dest[32];
        memset(dest, '#', sizeof dest);
        EXPECT_EQ(c.Taken, ReadString(HKEY_CURRENT_USER, "R", "v", dest, "abc", c.Size));
        EXPECT_STREQ(c.Result, dest);
        EXPECT_EQ('#', dest[c.Size]) << "nothing written past the size";
    }
}

TEST_F(RegistryLayer, ReadStringOfAMissingKeyGivesTheDefault)
{
    char dest[16];
    EXPECT_FALSE(ReadString(HKEY_CURRENT_USER, "Nowhere", "v", dest, "abc", sizeof dest));
    EXPECT_STREQ("abc", dest);
    EXPECT_FALSE(ReadString(HKEY_CLASSES_ROOT, (ClassTest + "\\Nowhere").c_str(), "", dest, "", sizeof dest));
    EXPECT_STREQ("", dest);
}

TEST_F(RegistryLayer, ReadStringCutsALongDefaultToTheDestination)
{
    char dest[8];
    memset(dest, '#', sizeof dest);
    EXPECT_FALSE(ReadString(HKEY_CURRENT_USER, "Nowhere", "v", dest, "a default of some length", 5));
    EXPECT_STREQ("a de", dest);
    EXPECT_EQ('#', dest[5]);
}

// ---- ReadDword ------------------------------------------------------------------------

struct DwordReadCase {
    const char* Name;
    DWORD Type;
    std::string Stored;
    DWORD Result;
};

TEST_F(RegistryLayer, ReadDwordTakesUpToFourBytesZeroExtended)
{
    const DwordReadCase cases[] = {
        {"missing value", 0, "", 0xDEF},
        {"a number", REG_DWORD, raw::Dword(0x80000001u), 0x80000001u},
        {"zero", REG_DWORD, raw::Dword(0), 0},
        {"a long string", REG_SZ, std::string("hello", 6), 0xDEF},
        {"one byte", REG_BINARY, "\x7f", 0x7f},
        {"three bytes", REG_BINARY, "\x01\x02\x03", 0x030201},
        {"a short string", REG_SZ, std::string("ab", 3), 0x6261},
        {"zero data bytes", REG_BINARY, "", 0xDEF},
        {"five bytes", REG_BINARY, "12345", 0xDEF},
    };
    for (const DwordReadCase& c : cases) {
        SCOPED_TRACE(c.Name);
        raw::DeleteTree(HKEY_CURRENT_USER, Product);
        raw::CreateKey(HKEY_CURRENT_USER, Product + "\\R");
        if (c.Type != 0)
            raw::SetValue(HKEY_CURRENT_USER, Product + "\\R", "v", c.Type, c.Stored);
        EXPECT_EQ(c.Result, ReadDword(HKEY_CURRENT_USER, "R", "v", 0xDEF));
    }
    EXPECT_EQ(0xDEFu, ReadDword(HKEY_CURRENT_USER, "Nowhere", "v", 0xDEF));
}

// ---- KeyExists, DeleteKey, DeleteValue ------------------------------------------------

TEST_F(RegistryLayer, KeyExistsSeesOnlyKeysThatOpen)
{
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ""));
    raw::CreateKey(HKEY_CURRENT_USER, Product + "\\Setup");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, ""));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Setup"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Setup\\Links"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "\\Software"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassTest.c_str()));
}

TEST_F(RegistryLayer, DeleteKeyRemovesOneKey)
{
    raw::CreateKey(HKEY_CURRENT_USER, Product + "\\Leaf");
    raw::CreateKey(HKEY_CURRENT_USER, Product + "\\Parent\\Child");
    DeleteKey(HKEY_CURRENT_USER, "Leaf");
    DeleteKey(HKEY_CURRENT_USER, "Parent");
    DeleteKey(HKEY_CURRENT_USER, "Missing");
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Leaf"));
    // The NT family keeps a key that has subkeys; the older family deletes the tree.
    EXPECT_EQ(!bed::OlderFamily(), raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Parent\\Child"));
}

// An empty composed path names the root itself. On the older family RegDeleteKeyA of
// it would start deleting the root's subkeys (Wine's emulation does, beginning with the
// first one), so no deletion of the layer may pass it on.
TEST_F(RegistryLayer, DeletionsNeverTouchARootKey)
{
    const std::string first = std::string(raw::FirstKey) + "\\leaf";
    raw::CreateKey(HKEY_CURRENT_USER, first);
    raw::CreateKey(HKEY_CLASSES_ROOT, first);
    raw::SetString(HKEY_CURRENT_USER, UserTest, "keep", "me");
    raw::SetString(HKEY_CLASSES_ROOT, ClassTest, "keep", "me");
    DeleteKey(HKEY_CURRENT_USER, "\\");
    DeleteKeyTree(HKEY_CURRENT_USER, "\\");
    DeleteKeyIn64BitView(HKEY_CURRENT_USER, "\\");
    DeleteKey(HKEY_CLASSES_ROOT, "");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "");
    DeleteKeyIn64BitView(HKEY_CLASSES_ROOT, "");
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, first));
    EXPECT_TRUE(raw::KeyExists(HKEY_CLASSES_ROOT, first));
    EXPECT_TRUE(raw::GetValue(HKEY_CURRENT_USER, UserTest, "keep").Present);
    EXPECT_TRUE(raw::GetValue(HKEY_CLASSES_ROOT, ClassTest, "keep").Present);
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, "Software"));
}

TEST_F(RegistryLayer, DeleteValueOfTheDefaultValueKeepsTheKeyAndItsOtherValues)
{
    raw::SetString(HKEY_CURRENT_USER, Product + "\\V", "", "default");
    raw::SetString(HKEY_CURRENT_USER, Product + "\\V", "other", "stays");
    raw::CreateKey(HKEY_CURRENT_USER, Product + "\\V\\Sub");
    DeleteValue(HKEY_CURRENT_USER, "V", "");
    EXPECT_FALSE(raw::GetValue(HKEY_CURRENT_USER, Product + "\\V", "").Present);
    EXPECT_TRUE(raw::GetValue(HKEY_CURRENT_USER, Product + "\\V", "other").Present);
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\V\\Sub"));

    DeleteValue(HKEY_CURRENT_USER, "V", "other");
    EXPECT_FALSE(raw::GetValue(HKEY_CURRENT_USER, Product + "\\V", "other").Present);
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\V"));

    DeleteValue(HKEY_CURRENT_USER, "Missing", "other");   // nothing to open, nothing done
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Missing"));
}

// ---- DeleteKeyTree --------------------------------------------------------------------

// Ten children, each with five grandchildren, each of those with one more level, beside
// a sibling that must survive.
void BuildWideTree(HKEY root, const std::string& path)
{
    for (int c = 0; c < 10; ++c)
        for (int g = 0; g < 5; ++g)
            raw::CreateKey(root, path + "\\c" + std::to_string(c) + "\\g" + std::to_string(g) + "\\leaf");
    raw::SetString(root, path, "", "top");
}

TEST_F(RegistryLayer, OnePassDoesNotDeleteAWideTreeOnTheNtFamily)
{
    ASSERT_EQ(bed::OlderFamily(), WinNtMajorVersion() == 0);
    if (bed::OlderFamily())
        GTEST_SKIP() << "RegDeleteKeyA takes subtrees along on the older family";
    const std::string path = Product + "\\Tree";
    BuildWideTree(HKEY_CURRENT_USER, path);
    DeletedKeyCount = 0;
    DeleteTreePass(HKEY_CURRENT_USER, path.c_str());
    // Subkeys move down into indexes already visited: of g0..g4 a pass deletes g0, g2
    // and g4 (each after its leaf), so every child keeps two and the key stays.
    EXPECT_EQ(10 * 6, DeletedKeyCount);
    EXPECT_EQ(10, raw::SubkeyCount(HKEY_CURRENT_USER, path));
    EXPECT_EQ(2, raw::SubkeyCount(HKEY_CURRENT_USER, path + "\\c0"));
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, path + "\\c9\\g3\\leaf"));
}

TEST_F(RegistryLayer, DeleteKeyTreeRemovesAWideTreeOnBothFamilies)
{
    BuildWideTree(HKEY_CURRENT_USER, Product + "\\Tree");
    raw::CreateKey(HKEY_CURRENT_USER, Product + "\\Sibling\\Child");
    raw::CreateKey(HKEY_CURRENT_USER, Product + "\\Tree2");   // shares the name's start
    DeletedKeyCount = -1;
    DeleteKeyTree(HKEY_CURRENT_USER, "Tree");
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Tree"));
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Sibling\\Child"));
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Tree2"));
    // On the NT family the passes end with one that deletes nothing. On the older family
    // Wine's RegDeleteKeyA gives up on a key with several subkeys of equal name length,
    // so there too the first call fails and the passes finish the work.
    EXPECT_EQ(0, DeletedKeyCount);

    BuildWideTree(HKEY_LOCAL_MACHINE, MachineTest + "\\Tree");
    BuildWideTree(HKEY_CLASSES_ROOT, ClassTest + "\\Tree");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, (MachineTest + "\\Tree").c_str());
    DeleteKeyTree(HKEY_CLASSES_ROOT, (ClassTest + "\\Tree").c_str());
    EXPECT_FALSE(raw::KeyExists(HKEY_LOCAL_MACHINE, MachineTest + "\\Tree"));
    EXPECT_FALSE(raw::KeyExists(HKEY_CLASSES_ROOT, ClassTest + "\\Tree"));
    EXPECT_TRUE(raw::KeyExists(HKEY_LOCAL_MACHINE, MachineTest));
    EXPECT_TRUE(raw::KeyExists(HKEY_CLASSES_ROOT, ClassTest));
}

// A chain of single subkeys: the one RegDeleteKeyA of the older family removes it, and
// no pass runs; the NT family needs its passes.
TEST_F(RegistryLayer, DeleteKeyTreeOfAChainTakesOneCallOnTheOlderFamily)
{
    raw::CreateKey(HKEY_CURRENT_USER, Product + "\\Chain\\a\\b\\c\\d");
    DeletedKeyCount = -1;
    DeleteKeyTree(HKEY_CURRENT_USER, "Chain");
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Chain"));
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, Product));
    EXPECT_EQ(bed::OlderFamily() ? -1 : 0, DeletedKeyCount);
}

TEST_F(RegistryLayer, DeleteKeyTreeOfAMissingKeyRunsOnePassAndChangesNothing)
{
    raw::CreateKey(HKEY_CURRENT_USER, Product + "\\Other");
    DeletedKeyCount = -1;
    DeleteKeyTree(HKEY_CURRENT_USER, "Missing");
    // Both families reach the passes: on the older one RegDeleteKeyA failed first.
    EXPECT_EQ(0, DeletedKeyCount);
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Other"));
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, Product + "\\Missing"));
}

TEST_F(RegistryLayer, DeleteKeyTreeOfTheEmptyUserKeyRemovesTheProductRoot)
{
    BuildWideTree(HKEY_CURRENT_USER, Product + "\\Setup");
    raw::SetDword(HKEY_CURRENT_USER, Product, "Top", 1);
    raw::CreateKey(HKEY_CURRENT_USER, UserTest + "\\Neighbour");
    DeleteKeyTree(HKEY_CURRENT_USER, "");
    EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, Product));
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, UserTest + "\\Neighbour"));
    EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, "Software"));
}

// A subkey name of 200 bytes or more does not fit the enumeration buffer: the walk of
// that level ends there and its key stays (on the NT family).
TEST_F(RegistryLayer, DeleteKeyTreeLeavesAKeyWhoseSubkeyNameIsTooLong)
{
    const std::string path = Product + "\\Names";
    raw::CreateKey(HKEY_CURRENT_USER, path + "\\a");
    raw::CreateKey(HKEY_CURRENT_USER, path + "\\" + std::string(210, 'b'));
    raw::CreateKey(HKEY_CURRENT_USER, path + "\\c");
    DeleteKeyTree(HKEY_CURRENT_USER, "Names");
    if (bed::OlderFamily()) {
        EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, path));
    } else {
        EXPECT_TRUE(raw::KeyExists(HKEY_CURRENT_USER, path + "\\" + std::string(210, 'b')));
        EXPECT_EQ(1, raw::SubkeyCount(HKEY_CURRENT_USER, path));
    }
}

// Subkey paths longer than the 512-byte buffer are skipped rather than written past it.
// (Wine's ANSI registry calls already refuse paths over 260 characters, so below the
// skipped level nothing could be opened by path anyway.)
TEST_F(RegistryLayer, DeleteTreePassSkipsASubkeyPathTooLongForItsBuffer)
{
    // 235-byte composed path, then two levels of 199-byte names: the second exceeds 511.
    const std::string key = KeyOfLength("\\" + UserTest + "\\", 236);
    const std::string path = key.substr(1);
    const std::string a(199, 'a'), b(199, 'b');
    HKEY top = nullptr, levelA = nullptr, levelB = nullptr, levelC = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &top, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(top, a.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &levelA, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(levelA, b.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &levelB, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(levelB, "c", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &levelC, nullptr));
    RegCloseKey(levelC);
    RegCloseKey(levelB);
    RegCloseKey(levelA);
    RegCloseKey(top);

    DeletedKeyCount = -1;
    DeleteKeyTree(HKEY_CURRENT_USER, key.c_str());
    if (bed::OlderFamily()) {
        EXPECT_EQ(-1, DeletedKeyCount);   // the one RegDeleteKeyA took the chain
        EXPECT_FALSE(raw::KeyExists(HKEY_CURRENT_USER, path));
        return;
    }
    EXPECT_EQ(0, DeletedKeyCount);
    // Everything stays: the deepest levels were never reached, so their parents keep them.
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &top));
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(top, a.c_str(), 0, KEY_READ, &levelA));
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(levelA, b.c_str(), 0, KEY_READ, &levelB));
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(levelB, "c", 0, KEY_READ, &levelC));
    RegCloseKey(levelC);
    RegCloseKey(levelB);
    RegCloseKey(levelA);
    RegCloseKey(top);
}

// ---- DeleteKeyIn64BitView and the view switch -----------------------------------------

TEST_F(RegistryLayer, DeleteKeyIn64BitViewRemovesOneKey)
{
    raw::CreateKey(HKEY_CLASSES_ROOT, ClassTest + "\\Leaf");
    raw::CreateKey(HKEY_CLASSES_ROOT, ClassTest + "\\Parent\\Child");
    DeleteKeyIn64BitView(HKEY_CLASSES_ROOT, (ClassTest + "\\Leaf").c_str());
    DeleteKeyIn64BitView(HKEY_CLASSES_ROOT, (ClassTest + "\\Parent").c_str());
    EXPECT_FALSE(raw::KeyExists(HKEY_CLASSES_ROOT, ClassTest + "\\Leaf"));
    EXPECT_EQ(!bed::OlderFamily(), raw::KeyExists(HKEY_CLASSES_ROOT, ClassTest + "\\Parent\\Child"));
}

TEST_F(RegistryLayer, ViewSwitchSetsTheFlag)
{
    EXPECT_EQ(0u, ViewAccessFlag);
    Use64BitView(true);
    EXPECT_EQ(static_cast<DWORD>(KEY_WOW64_64KEY), ViewAccessFlag);
    Use64BitView(false);
    EXPECT_EQ(0u, ViewAccessFlag);
}

// Without WOW64 there is one view: the switch changes nothing that can be seen.
TEST_F(RegistryLayer, ViewSwitchChangesNothingVisibleWithoutWow64)
{
    if (RunningUnderWow64())
        GTEST_SKIP() << "this process runs under WOW64";
    const std::string key = raw::TestClassKey;
    Use64BitView(true);
    WriteString(HKEY_CLASSES_ROOT, key.c_str(), "", "Zelkor test");
    WriteUserDword("Setup", "ShellExt", 1);
    Use64BitView(false);
    char text[32];
    EXPECT_TRUE(ReadString(HKEY_CLASSES_ROOT, key.c_str(), "", text, "", sizeof text));
    EXPECT_STREQ("Zelkor test", text);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, key.c_str()));
    EXPECT_EQ(1u, ReadUserDword("Setup", "ShellExt", 0));
    DeleteKey(HKEY_CLASSES_ROOT, key.c_str());
    EXPECT_FALSE(raw::KeyExists(HKEY_CLASSES_ROOT, key));
}

// Under WOW64 the switch sends writes to the 64-bit view; everything else stays in the
// 32-bit view, and DeleteKeyIn64BitView reaches the key written there.
TEST_F(RegistryLayer, ViewSwitchSendsOnlyWritesToThe64BitViewUnderWow64)
{
    if (!RunningUnderWow64())
        GTEST_SKIP() << "needs a 32-bit process under WOW64";
    const std::string key = raw::TestClassKey;
    Use64BitView(true);
    WriteString(HKEY_CLASSES_ROOT, key.c_str(), "", "64-bit view");
    Use64BitView(false);
    EXPECT_EQ(std::string("64-bit view", 12),
              raw::GetValue(HKEY_CLASSES_ROOT, key, "", KEY_WOW64_64KEY).Bytes);
    EXPECT_FALSE(raw::KeyExists(HKEY_CLASSES_ROOT, key, KEY_WOW64_32KEY));

    Use64BitView(true);   // reads, KeyExists and deletions ignore the switch
    char text[32];
    EXPECT_FALSE(ReadString(HKEY_CLASSES_ROOT, key.c_str(), "", text, "none", sizeof text));
    EXPECT_STREQ("none", text);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key.c_str()));
    DeleteKey(HKEY_CLASSES_ROOT, key.c_str());
    DeleteKeyTree(HKEY_CLASSES_ROOT, key.c_str());
    DeleteValue(HKEY_CLASSES_ROOT, key.c_str(), "");
    Use64BitView(false);
    EXPECT_TRUE(raw::GetValue(HKEY_CLASSES_ROOT, key, "", KEY_WOW64_64KEY).Present);

    raw::SetString(HKEY_CLASSES_ROOT, key, "", "32-bit view");
    DeleteKeyIn64BitView(HKEY_CLASSES_ROOT, key.c_str());
    EXPECT_FALSE(raw::KeyExists(HKEY_CLASSES_ROOT, key, KEY_WOW64_64KEY));
    EXPECT_TRUE(raw::KeyExists(HKEY_CLASSES_ROOT, key, KEY_WOW64_32KEY));
    raw::DeleteTree(HKEY_CLASSES_ROOT, key, KEY_WOW64_32KEY);
    raw::DeleteTree(HKEY_CLASSES_ROOT, key, KEY_WOW64_64KEY);
}

}  // namespace
