/*
 * The optional resource library kpxlng.dll beside the executable, the module that
 * dialogs, the icon and the RTL marker come from, and the message strings 5101 to 5114,
 * translated, in a ring of eight 512-byte buffers (valid for eight further calls).
 */
#ifndef ZELKOR_LANG_RESOURCE_MODULE_H
#define ZELKOR_LANG_RESOURCE_MODULE_H

#include <windows.h>

class ExtResource {
public:
    ~ExtResource();
    bool Loaded = false;
};

extern ExtResource ResourceLibrary;
extern HMODULE CurrentResourceModule;
extern HINSTANCE OwnInstance;

const int MessageTextSize = 512;

void LoadResourceModule(HINSTANCE instance);
void UnloadResourceModule();
const char* GetMessageText(int id);

#endif
