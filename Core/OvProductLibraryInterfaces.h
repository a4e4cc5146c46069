#pragma once
// The entry points and interfaces of the product's run-time libraries other than the tools
// library (OvToolsInterface.h). Objects are freed by the library that made them.

#include <windows.h>

// The first two operations of the interfaces of the image, player and television libraries.
struct IOvLibraryApp {
    virtual bool Initialize(bool flag) = 0;
    virtual void Uninitialize(bool flag) = 0;
};

// Drawing services of the image library, defined with the window toolkit.
struct IOvPicture;
struct IOvFontService;
struct IOvTextDrawing;

struct IOvImageApp : IOvLibraryApp {
    virtual IOvPicture* CreatePicture() = 0;
    // Services of the product's own programs; the installer does not use them.
    virtual void* Reserved4() = 0;
    virtual void* Reserved5() = 0;
    virtual void* Reserved6() = 0;
    virtual void* Reserved7() = 0;
    virtual IOvFontService* GetFonts() = 0;
    virtual IOvTextDrawing* GetTextDrawing() = 0;
};

// A reader of the reader library, defined with the downloading code.
struct IOvReader;

// Exports.
extern "C" {
typedef IOvImageApp* (*GetOvImageAppDLLProc)();                      // "GetOvImageAppDLL"
typedef void (*OvLibraryInitializeProc)(bool flag);                   // "OvReaderInitialize", "OvDiscInitialize"
typedef void (*OvLibraryUninitializeProc)(bool flag);                 // "OvReaderUninitialize", "OvDiscUninitialize"
typedef IOvReader* (*CreateReaderDLLProc)(const wchar_t* argument);   // "CreateInternetReaderDLL", "CreateGenericReaderDLL"
}
