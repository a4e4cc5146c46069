#pragma once
// Loading and unloading of the product's run-time libraries, all under one process-wide lock.

#include "OvString.h"
#include "OvToolsInterface.h"

enum OvProductLibrary {
    kOvToolsLibrary = 0,
    kOvImageLibrary,
    kOvReaderLibrary,
    kOvDiscLibrary,
    kOvPlayerLibrary,
    kOvWMFactoryLibrary,
    kOvTelevisionLibrary,
    kOvProductLibraryCount
};

OvString GetProductLibraryName(int index);

// Loads the library at index from path (see the folder rules in the source) and runs its
// entry protocol. True when the library's slot holds a module afterwards.
bool LoadProductLibrary(const wchar_t* path, int index, bool* loaded);
bool LoadToolsModule(const wchar_t* folder);
IOvTools* GetToolsInterface(bool load);

// Makes sure the tools library and its product description are loaded; on failure and with
// showErrors, the "Critical Error" system box is shown.
bool LoadProductInformation(bool showErrors, bool reload);
// The text of the "Critical Error" box for the given error.
OvString CriticalErrorText(const wchar_t* modulePath, const wchar_t* error);

void UnloadProductLibraries(bool releaseTools);

// Forwarders to the tools library (none when it is not loaded).
OvProductInfo* GetProductInfo();
IOvSettingsSection* GetSettingsSection(const wchar_t* name);   // loads the library when needed
OvString TranslateText(const wchar_t* text);
