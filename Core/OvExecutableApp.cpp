#include "OvExecutableApp.h"

#include <shellapi.h>

int OvExecutableApp::Run(HINSTANCE instance, HINSTANCE previous, int show)
{
    if (Arguments().IsEmpty()) SetArguments(ReadProcessArguments());
    return OvApp::Run(instance, previous, show);
}

OvStringArray OvExecutableApp::ReadProcessArguments()
{
    OvStringArray arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv) {
        for (int i = 0; i < count; ++i) arguments.Add(argv[i]);
        LocalFree(argv);
    }
    return arguments;
}

OvString OvExecutableApp::JoinArguments(const OvStringArray& arguments)
{
    OvString joined;
    for (int i = 0; i < arguments.GetCount(); ++i) {
        const OvString& argument = arguments[i];
        if (i > 0) joined += L' ';
        OvString escaped;
        for (int k = 0; k < argument.Length(); ++k) {
            if (argument[k] == L'"') escaped += L'\\';
            escaped += argument[k];
        }
        bool quote = argument.IsEmpty() || argument.Find(L' ') >= 0 || argument.Find(L'\'') >= 0;
        if (quote) joined += L'"';
        joined += escaped;
        if (quote) joined += L'"';
    }
    return joined;
}
