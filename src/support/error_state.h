/*
 * ErrorState: the process-wide error record. Its one active duty is the fatal exit on
 * memory exhaustion: code 8, ending the process cleanly rather than through a crash.
 */
#ifndef ZELKOR_SUPPORT_ERROR_STATE_H
#define ZELKOR_SUPPORT_ERROR_STATE_H

class ErrorState {
public:
    [[noreturn]] void MemoryError();

    int Code = 0;
    int ErrorCount = 0;
};

extern ErrorState Errors;

#endif
