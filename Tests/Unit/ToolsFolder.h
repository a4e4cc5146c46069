#pragma once
// A fixture with a folder of its own per test process (ctest runs the cases as parallel
// processes) holding the built tools library and a product description whose settings key is
// also the process's own. Files and settings are removed afterwards.

#include "BuildPaths.h"
#include "OvFileSystem.h"
#include "OvProductLibraries.h"
#include "OvProductPaths.h"
#include "OvStringFormat.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

class ToolsFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const int64_t process = GetCurrentProcessId();
        folder_ = OvFormat(L"%sTools Test %d\\", temp, process);
        productKey_ = OvFormat(L"Test Product %d", process);
        RemoveTree(folder_);
        ASSERT_TRUE(CreateDirectoryW(folder_, nullptr)) << GetLastError();
        ASSERT_TRUE(CopyFileW(BuildFile(OV_TOOLS_DLL_PATH), folder_ + L"OvTools.dll", FALSE));
        WriteText(folder_ + L"ProductInfo.ini",
                  "[Product]\nName0=Zero\nName1=Test Product\nName2=Two\nName3=" + Narrow(productKey_) +
                      "\nMainFile=Main.exe\nLauncherFile=Launch.exe\nFeatures=173, 176\n" + ExtraDescription());
    }
    void TearDown() override
    {
        UnloadProductLibraries(true);
        RemoveTree(folder_);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvane\\" + productKey_);
        SetLibrariesFolder(L"");
    }

    // More lines of the product description.
    virtual std::string ExtraDescription() { return ""; }

    static std::string Narrow(const OvString& text)
    {
        std::string out;
        for (int i = 0; i < text.Length(); ++i) out += static_cast<char>(text[i]);
        return out;
    }
    static void WriteText(const OvString& path, const std::string& text)
    {
        HANDLE file = CreateFileW(WithLongPathPrefix(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path.c_str();
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    static std::string ReadText(const OvString& path)
    {
        HANDLE file =
            CreateFileW(WithLongPathPrefix(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<missing>";
        char buffer[4096];
        DWORD read = 0;
        ReadFile(file, buffer, sizeof buffer, &read, nullptr);
        CloseHandle(file);
        return std::string(buffer, read);
    }
    static void RemoveTree(const OvString& folder)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(WithLongPathPrefix(folder + L"*"), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                OvString name(found.cFileName);
                if (name.Equals(L".") || name.Equals(L"..")) continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(folder + name + L"\\");
                else
                    OvDeleteFile(folder + name);
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(WithLongPathPrefix(folder));
    }

    OvString folder_;
    OvString productKey_;
};
