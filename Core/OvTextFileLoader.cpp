#include "OvTextFileLoader.h"

#include "OvFileSystem.h"
#include "OvStringEncoding.h"

#include <windows.h>

#include <climits>
#include <new>
#include <vector>

bool LoadTextFile(const wchar_t* path, OvString& text, int encoding)
{
    text.Empty();
    if (!path || !*path) return false;
    HANDLE file = CreateFileW(WithLongPathPrefix(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = false;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart < INT_MAX) {
        try {
            std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
            DWORD done = 0, read = 0;
            while (done < bytes.size() &&
                   ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size()) - done, &read, nullptr) && read)
                done += read;
            if (done == bytes.size()) {
                text = DecodeText(bytes.data(), static_cast<int>(bytes.size()), encoding);
                ok = true;
            }
        } catch (const std::bad_alloc&) {
            text.Empty();
        }
    }
    CloseHandle(file);
    return ok;
}
