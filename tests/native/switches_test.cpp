// The switch reader: which modes a command tail asks for, and when the pause and the
// notice happen relative to each other.
#include <gtest/gtest.h>

#include <string>
#include "app/switches.h"

namespace {

class Recorder : public SwitchActions {
public:
    void Wait() override { Log += "W"; }
    void Warning() override { Log += "N"; }
    std::string Log;
};

struct SwitchCase {
    const char* Tail;
    bool Setup;
    bool Silent;
    int Count;
    const char* Actions;
};

const SwitchCase Cases[] = {
    {"", false, false, 0, ""},
    {"no switch here", false, false, 0, ""},
    {"/s", false, true, 0, ""},
    {"/S", false, true, 0, ""},
    {"/s ", false, true, 0, ""},
    {"/s2", false, true, 0, ""},
    {"/s.", false, true, 0, ""},
    {"/sx", false, false, 1, ""},
    {"/setup", true, false, 1, ""},
    {"-setup", true, false, 1, ""},
    {"/SETUP", true, false, 1, ""},
    {"/Setupfoo", true, false, 1, ""},
    {"/setup /s", true, true, 1, ""},
    {"//setup", true, false, 2, ""},
    {"a-b", false, false, 1, ""},
    {"/x", false, false, 1, ""},
    {"/wait", false, false, 1, "W"},
    {"/waiting", false, false, 1, "W"},
    {"/WARNING", false, false, 1, "N"},
    {"/warn", false, false, 1, ""},
    {"/wait /warning", false, false, 2, "WN"},
    {"/warning /wait", false, false, 2, "NW"},
    {"/s /wait", false, true, 1, "W"},
    {"-", false, false, 1, ""},
    {"/s-setup", true, true, 1, ""},
    {"\"C:\\Program Files\\x-y\\uninstall.exe\" /s", false, true, 1, ""},
};

TEST(ReadSwitches, DecidesModesAndActsInOrder)
{
    for (const SwitchCase& c : Cases) {
        Recorder recorder;
        SwitchResult result = ReadSwitches(c.Tail, recorder);
        EXPECT_EQ(result.SetupRequested, c.Setup) << c.Tail;
        EXPECT_EQ(result.Silent, c.Silent) << c.Tail;
        EXPECT_EQ(result.ModeSwitchCount, c.Count) << c.Tail;
        EXPECT_EQ(recorder.Log, c.Actions) << c.Tail;
    }
}

TEST(ReadSwitches, SetupNeverSetsSilentMode)
{
    Recorder recorder;
    EXPECT_FALSE(ReadSwitches("/setup /setupS /SETUP", recorder).Silent);
}

TEST(ReadSwitches, NullTailReadsNothing)
{
    Recorder recorder;
    SwitchResult result = ReadSwitches(nullptr, recorder);
    EXPECT_EQ(result.ModeSwitchCount, 0);
}

}  // namespace
