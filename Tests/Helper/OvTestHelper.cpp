// Test helper run inside a test prefix: holds named mutexes, finds windows, reads their texts,
// presses buttons, posts messages and waits for windows to close. Prints UTF-8 on stdout.
//
//   hold-mutex NAME SECONDS              create and hold the mutex, print "held <error>"
//   process-block                        print the install folder in this process's information block
//   find-window [--title T] [--class C] [--timeout MS]      print the window handle
//   window-texts [--title T] [--class C] [--timeout MS]     print the window's and its controls' texts
//   press --button CAPTION [--title T] [--class C] [--timeout MS]
//   post --message N [--wparam W] [--lparam L] [--control ID] [--title T] [--class C] [--timeout MS]
//                                        (to the control with that id when --control is given)
//   wait-close [--title T] [--class C] [--timeout MS]
// Exit code 0 on success, 1 when the window or button was not found in time, 2 on bad arguments.

#include "OvProcessInfo.h"

#include <windows.h>

#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

void Print(const std::wstring& text)
{
    std::wstring line = text + L"\n";
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// Control characters shown as escapes so that a text stays on one line.
std::wstring Escape(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r') out += L"\\r";
        else if (c == L'\n') out += L"\\n";
        else if (c == L'\t') out += L"\\t";
        else out += c;
    }
    return out;
}

std::wstring WindowText(HWND window)
{
    // WM_GETTEXT works across processes for the standard controls.
    LRESULT n = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    LRESULT got = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring StripAmpersands(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'&') out += c;
    return out;
}

struct Options {
    std::map<std::wstring, std::wstring> values;
    std::wstring Get(const wchar_t* name, const wchar_t* fallback = L"") const
    {
        auto it = values.find(name);
        return it == values.end() ? fallback : it->second;
    }
    bool Has(const wchar_t* name) const { return values.count(name) != 0; }
};

HWND FindTopWindow(const Options& options)
{
    std::wstring title = options.Get(L"--title");
    std::wstring windowClass = options.Get(L"--class");
    return FindWindowW(windowClass.empty() ? nullptr : windowClass.c_str(), title.empty() ? nullptr : title.c_str());
}

HWND WaitForWindow(const Options& options)
{
    DWORD timeout = static_cast<DWORD>(_wtoi(options.Get(L"--timeout", L"20000").c_str()));
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindTopWindow(options);
        if (window && IsWindowVisible(window)) return window;
        if (GetTickCount() - start >= timeout) return nullptr;
        Sleep(50);
    }
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

int HoldMutex(const std::wstring& name, int seconds)
{
    HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    Print(L"held " + std::to_wstring(GetLastError()));
    Sleep(static_cast<DWORD>(seconds) * 1000);
    if (mutex) CloseHandle(mutex);
    return 0;
}

int PrintProcessBlock()
{
    OvProcessInfoBlock* block = OvProcessInfo::Block();
    if (!block) return 1;
    Print(std::wstring(L"install\t") + block->installFolder);
    return 0;
}

int PrintTexts(HWND window)
{
    Print(L"window\t" + ClassName(window) + L"\t" + Escape(WindowText(window)));
    for (HWND child : Children(window)) {
        if (!IsWindowVisible(child)) continue;
        Print(L"control\t" + ClassName(child) + L"\t" + std::to_wstring(GetDlgCtrlID(child)) + L"\t" +
              Escape(WindowText(child)));
    }
    return 0;
}

int Press(HWND window, const std::wstring& caption)
{
    for (HWND child : Children(window)) {
        if (StripAmpersands(WindowText(child)) == StripAmpersands(caption) && IsWindowEnabled(child)) {
            PostMessageW(child, BM_CLICK, 0, 0);
            return 0;
        }
    }
    Print(L"no button " + caption);
    return 1;
}

int WaitClose(const Options& options)
{
    DWORD timeout = static_cast<DWORD>(_wtoi(options.Get(L"--timeout", L"20000").c_str()));
    DWORD start = GetTickCount();
    while (FindTopWindow(options)) {
        if (GetTickCount() - start >= timeout) return 1;
        Sleep(50);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    std::wstring command = argv[1];
    if (command == L"hold-mutex") return argc >= 4 ? HoldMutex(argv[2], _wtoi(argv[3])) : 2;
    if (command == L"process-block") return PrintProcessBlock();

    Options options;
    for (int i = 2; i + 1 < argc; i += 2) options.values[argv[i]] = argv[i + 1];
    if (!options.Has(L"--title") && !options.Has(L"--class")) return 2;
    if (command == L"wait-close") return WaitClose(options);

    HWND window = WaitForWindow(options);
    if (!window) {
        Print(L"no window");
        return 1;
    }
    if (command == L"find-window") {
        wchar_t handle[32];
        swprintf(handle, 32, L"%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
        Print(handle);
        return 0;
    }
    if (command == L"window-texts") return PrintTexts(window);
    if (command == L"press") return options.Has(L"--button") ? Press(window, options.Get(L"--button")) : 2;
    if (command == L"post") {
        UINT message = static_cast<UINT>(wcstoul(options.Get(L"--message").c_str(), nullptr, 0));
        WPARAM wParam = static_cast<WPARAM>(wcstoul(options.Get(L"--wparam", L"0").c_str(), nullptr, 0));
        LPARAM lParam = static_cast<LPARAM>(wcstol(options.Get(L"--lparam", L"0").c_str(), nullptr, 0));
        HWND target = options.Has(L"--control") ? GetDlgItem(window, _wtoi(options.Get(L"--control").c_str())) : window;
        return target && PostMessageW(target, message, wParam, lParam) ? 0 : 1;
    }
    return 2;
}
