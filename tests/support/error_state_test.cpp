/*
 * The fatal exit on memory exhaustion: a child run of this program calls MemoryError and
 * must end at once with exit code 8, through neither an abort nor a crash report.
 */
#include <gtest/gtest.h>

#include "import_hook.h"
#include "support/error_state.h"

namespace {

void ThrowEight()
{
    throw 8;
}

TEST(ErrorStateChild, CallsMemoryError)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as the child of MemoryErrorEndsTheProcessWithCode8";
    Errors.MemoryError();
}

TEST(ErrorStateChild, ThrowsUncaught)
{
    if (!IsChild())
        GTEST_SKIP() << "runs only as the child of AnUncaughtExceptionWouldNotLookLikeIt";
    // What a thrown int would do: gtest's own handler is bypassed by a noexcept frame.
    void (*volatile thrower)() = &ThrowEight;
    [thrower]() noexcept { thrower(); }();
}

TEST(ErrorState, MemoryErrorEndsTheProcessWithCode8)
{
    ChildResult child = RunChild("ErrorStateChild.CallsMemoryError");
    ASSERT_TRUE(child.Process.Started);
    EXPECT_TRUE(child.Process.Finished);
    EXPECT_EQ(8u, child.Process.ExitCode);
    EXPECT_FALSE(child.Passed);   // it ended inside the test, before any report was written
}

// The same check tells a clean exit from the runtime's abort of an uncaught exception.
TEST(ErrorState, AnUncaughtExceptionWouldNotLookLikeIt)
{
    ChildResult child = RunChild("ErrorStateChild.ThrowsUncaught");
    ASSERT_TRUE(child.Process.Started);
    EXPECT_TRUE(child.Process.Finished);
    EXPECT_NE(8u, child.Process.ExitCode) << child.Process.ExitCode;
}

TEST(ErrorState, StartsWithoutAnError)
{
    EXPECT_EQ(0, Errors.Code);
    EXPECT_EQ(0, Errors.ErrorCount);
}

}  // namespace
