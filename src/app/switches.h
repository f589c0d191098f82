/*
 * The switch reader. Free of <windows.h>: the actions that happen while reading (the
 * pause and the notice) are handed to a SwitchActions object, so the decisions can be
 * tested without running them.
 */
#ifndef ZELKOR_APP_SWITCHES_H
#define ZELKOR_APP_SWITCHES_H

class SwitchActions {
public:
    virtual ~SwitchActions() = default;
    virtual void Wait() = 0;      // switch wait
    virtual void Warning() = 0;   // switch warning
};

struct SwitchResult {
    bool SetupRequested = false;
    bool Silent = false;
    int ModeSwitchCount = 0;
};

SwitchResult ReadSwitches(const char* commandTail, SwitchActions& actions);

#endif
