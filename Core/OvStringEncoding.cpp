#include "OvStringEncoding.h"

#include <windows.h>

#include <cwchar>

namespace {

using Byte = unsigned char;

bool IsContinuation(Byte b) { return (b & 0xC0) == 0x80; }

// The byte at i, or 0 past the end: input reads as if zero bytes followed it.
Byte At(const Byte* b, int n, int i) { return i < n ? b[i] : 0; }

OvString DecodeAnsi(const Byte* b, int n)
{
    int length = 0;
    while (length < n && b[length]) ++length;
    if (length == 0) return OvString();
    const char* text = reinterpret_cast<const char*>(b);
    const int units = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (units <= 0) return OvString();
    OvString result;
    wchar_t* out = result.GetBuffer(units);
    const int written = MultiByteToWideChar(CP_ACP, 0, text, length, out, units);
    result.ReleaseBuffer(written > 0 ? written : 0);
    return result;
}

OvString DecodeUtf16(const Byte* b, int n)
{
    int i = 0;
    bool bigEndian = false;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        i = 2;
    } else if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        i = 2;
        bigEndian = true;
    }
    OvString result;
    wchar_t* out = result.GetBuffer((n - i + 1) / 2);
    int length = 0;
    for (; i < n; i += 2) {
        const Byte first = b[i], second = At(b, n, i + 1);
        const wchar_t unit = bigEndian ? static_cast<wchar_t>(first << 8 | second) : static_cast<wchar_t>(second << 8 | first);
        if (!unit) break;
        out[length++] = unit;
    }
    result.ReleaseBuffer(length);
    return result;
}

OvString DecodeUtf32(const Byte* b, int n)
{
    int i = 0;
    if (n >= 4 && b[0] == 0xFF && b[1] == 0xFE && b[2] == 0 && b[3] == 0) i = 4;
    OvString result;
    wchar_t* out = result.GetBuffer((n - i + 3) / 4);
    int length = 0;
    for (; i < n; i += 4) {
        const wchar_t unit = static_cast<wchar_t>(At(b, n, i + 1) << 8 | b[i]);
        if (!unit) break;
        out[length++] = unit;
    }
    result.ReleaseBuffer(length);
    return result;
}

OvString DecodeUtf8Bytes(const Byte* b, int n)
{
    OvString result;
    wchar_t* out = result.GetBuffer(n);
    int length = 0;
    for (int i = 0; i < n;) {
        const Byte c = b[i];
        wchar_t unit;
        if ((c & 0xE0) == 0xC0 && i + 1 < n && IsContinuation(b[i + 1])) {
            unit = static_cast<wchar_t>((c & 0x1F) << 6 | (b[i + 1] & 0x3F));
            i += 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < n && IsContinuation(b[i + 1]) && IsContinuation(b[i + 2])) {
            unit = static_cast<wchar_t>((c & 0x0F) << 12 | (b[i + 1] & 0x3F) << 6 | (b[i + 2] & 0x3F));
            i += 3;
        } else {
            unit = c;
            ++i;
        }
        if (!unit) break;
        out[length++] = unit;
    }
    result.ReleaseBuffer(length);
    return result;
}

}  // namespace

OvTextEncoding DetectTextEncoding(const void* bytes, int count)
{
    const Byte* b = static_cast<const Byte*>(bytes);
    const int n = b && count > 0 ? count : 0;
    if (n == 0) return kOvEncodingAnsi;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        // FF FE 00 00 is the UTF-32 mark; read as UTF-16 its text would end at once.
        return n >= 4 && b[2] == 0 && b[3] == 0 ? kOvEncodingUtf32 : kOvEncodingUtf16;
    }
    if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) return kOvEncodingUtf16;
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return kOvEncodingUtf8NoMark;

    int end = n;
    while (end > 0 && b[end - 1] == 0) --end;
    int valid = 0;
    bool invalid = false;
    for (int i = 0; i < end;) {
        const Byte c = b[i];
        if (c == 0) return At(b, n, i + 1) == 0 && At(b, n, i + 2) == 0 ? kOvEncodingUtf32 : kOvEncodingUtf16;
        if (c < 0x80) {
            ++i;
        } else if ((c & 0xE0) == 0xC0 && IsContinuation(At(b, n, i + 1))) {
            ++valid;
            i += 2;
        } else if (c > 0xDF && IsContinuation(At(b, n, i + 1)) && IsContinuation(At(b, n, i + 2))) {
            ++valid;
            i += 3;
        } else {
            invalid = true;
            ++i;
        }
    }
    return valid > 0 && !invalid ? kOvEncodingUtf8 : kOvEncodingAnsi;
}

OvString DecodeText(const void* bytes, int count, int encoding)
{
    const Byte* b = static_cast<const Byte*>(bytes);
    const int n = b && count > 0 ? count : 0;
    if (encoding == kOvEncodingAutomatic) encoding = DetectTextEncoding(b, n);
    switch (encoding) {
    case kOvEncodingAnsi:
        return DecodeAnsi(b, n);
    case kOvEncodingUtf8:
        return DecodeUtf8Bytes(b, n);
    case kOvEncodingUtf8NoMark:
        if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return DecodeUtf8Bytes(b + 3, n - 3);
        return DecodeUtf8Bytes(b, n);
    case kOvEncodingUtf16:
        return DecodeUtf16(b, n);
    case kOvEncodingUtf32:
        return DecodeUtf32(b, n);
    default:
        return OvString();
    }
}

OvString DecodeUtf8(const char* bytes, int count)
{
    return DecodeText(bytes, count, kOvEncodingUtf8);
}

bool EncodeText(const wchar_t* text, int encoding, std::string& bytes)
{
    bytes.clear();
    const int length = text ? static_cast<int>(wcslen(text)) : 0;
    switch (encoding) {
    case kOvEncodingAnsi:
    case kOvEncodingUtf8: {
        if (length == 0) return true;
        const UINT codePage = encoding == kOvEncodingAnsi ? CP_ACP : CP_UTF8;
        const int size = WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
        if (size <= 0) return false;
        bytes.resize(size);
        return WideCharToMultiByte(codePage, 0, text, length, bytes.data(), size, nullptr, nullptr) == size;
    }
    case kOvEncodingUtf16:
        bytes.reserve(2 + 2 * static_cast<size_t>(length));
        bytes += '\xFF';
        bytes += '\xFE';
        for (int i = 0; i < length; ++i) {
            bytes += static_cast<char>(text[i] & 0xFF);
            bytes += static_cast<char>(text[i] >> 8);
        }
        return true;
    default:
        return false;
    }
}

bool SaveTextFile(const wchar_t* path, const wchar_t* text, int encoding)
{
    if (!path || !*path) return false;
    std::string bytes;
    if (!EncodeText(text, encoding, bytes)) return false;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(bytes.size() - done > 0x100000 ? 0x100000 : bytes.size() - done);
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    ok = CloseHandle(file) && ok;
    return ok;
}
