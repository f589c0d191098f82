/*
 * The resource library kpxlng.dll beside the executable: loaded at start, released before
 * the uninstall deletes files and again (harmlessly) at exit. Message strings come from a
 * ring of eight 512-byte buffers: with a translation text loaded, from the executable's
 * own table (the keys are those of its texts); otherwise from the library, id by id, with
 * the executable as fallback. Either way the text then passes through translation.
 */
#include "lang/resource_module.h"

#include <cstring>

#include "lang/translate.h"
#include "support/paths.h"

HMODULE CurrentResourceModule = nullptr;
HINSTANCE OwnInstance = nullptr;

namespace {

const int PathSize = 1024;
const char LibraryName[] = "kpxlng.dll";
const int RingSize = 8;

char MessageRing[RingSize][MessageTextSize];
int MessageSlot = 0;

}  // namespace

ExtResource::~ExtResource()
{
    UnloadResourceModule();
}

void LoadResourceModule(HINSTANCE instance)
{
    UnloadResourceModule();
    char path[PathSize];
    HMODULE library = nullptr;
    DWORD length = GetModuleFileNameA(nullptr, path, PathSize);
    if (length > 0 && length < PathSize) {
        char* name = FileNamePart(path);
        if (static_cast<size_t>(name - path) + sizeof LibraryName <= PathSize) {
            memcpy(name, LibraryName, sizeof LibraryName);
            library = LoadLibraryA(path);
        }
    }
    ResourceLibrary.Loaded = library != nullptr;
    CurrentResourceModule = library ? library : instance;
    OwnInstance = instance;
}

void UnloadResourceModule()
{
    if (!ResourceLibrary.Loaded)
        return;
    FreeLibrary(CurrentResourceModule);
    CurrentResourceModule = OwnInstance;
    ResourceLibrary.Loaded = false;
}

const char* GetMessageText(int id)
{
    MessageSlot = (MessageSlot + 1) % RingSize;
    char* text = MessageRing[MessageSlot];
    text[0] = 0;
    bool found = false;
    if (!Language.HasText())
        found = LoadStringA(CurrentResourceModule, static_cast<UINT>(id), text, MessageTextSize) > 0;
    if (!found) {
        text[0] = 0;
        LoadStringA(OwnInstance, static_cast<UINT>(id), text, MessageTextSize);
    }
    TranslateString(text, text, MessageTextSize, nullptr, MessageKind);
    return text;
}
