/*
 * The process-wide error record's fatal exit. Memory exhaustion ends the process at once
 * with exit code 8; it deliberately does not throw, since an uncaught exception would end
 * in the runtime's abort and the system's crash report instead of a clean exit.
 */
#include "support/error_state.h"

#include <cstdlib>

void ErrorState::MemoryError()
{
    Code = 8;
    ++ErrorCount;
    std::_Exit(Code);
}
