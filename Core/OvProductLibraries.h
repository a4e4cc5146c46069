#pragma once
// Loading and unloading of the product's run-time libraries, all under one process-wide lock.

#include "OvProductLibraryInterfaces.h"
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
// The public loaders: the folder (empty: the libraries folder decides) and the library's name.
bool LoadToolsModule(const wchar_t* folder);
bool LoadImageLibrary(const wchar_t* folder);
bool LoadReaderLibrary(const wchar_t* folder);
IOvTools* GetToolsInterface(bool load);

// Makes sure the tools library and its product description are loaded; on failure and with
// showErrors, the "Critical Error" system box is shown.
bool LoadProductInformation(bool showErrors, bool reload);
// The text of the "Critical Error" box for the given error.
OvString CriticalErrorText(const wchar_t* modulePath, const wchar_t* error);

// Releases the tools library's services (with releaseTools), then frees every loaded library:
// disc, player, television, the WM factory, image, reader and last the tools library.
void UnloadProductLibraries(bool releaseTools);

// Whether the path contains the name of one of the product's run-time libraries, ignoring case
// (the tools library's text search when it is loaded).
bool IsProductLibrary(const wchar_t* path);

// The image library's drawing services (none when the library cannot be loaded).
IOvPicture* CreateImagePicture();
IOvFontService* GetImageFonts();
IOvTextDrawing* GetImageTextDrawing();

// Readers of the reader library, made by its entries with the argument unchanged (none when
// the library or the entry is missing).
IOvReader* CreateInternetReader(const wchar_t* argument);
IOvReader* CreateGenericReader(const wchar_t* argument);

// The tools library's import of the settings files in folder (false without the library); then,
// in any case, the folder's "TV Shared Settings.ini" is copied into the generic folder's
// "Settings\" (made when missing).
bool ImportSettings(const wchar_t* folder);

// Forwarders to the tools library (none when it is not loaded).
OvProductInfo* GetProductInfo();
OvString GetProductString(const wchar_t* path, const wchar_t* fallback = L"");
IOvWindowServices* GetWindowServices();
IOvSettingsSection* GetSettingsSection(const wchar_t* name);   // loads the library when needed
IOvRegistryKey* GetRegistryKey(HKEY root, const wchar_t* path);   // loads the library when needed
// The text in the current language (unchanged without the language service).
OvString TranslateText(const wchar_t* text);
