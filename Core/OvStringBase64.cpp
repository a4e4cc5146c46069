#include "OvStringBase64.h"

namespace {

const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(wchar_t c)
{
    if (c >= L'A' && c <= L'Z') return c - L'A';
    if (c >= L'a' && c <= L'z') return c - L'a' + 26;
    if (c >= L'0' && c <= L'9') return c - L'0' + 52;
    if (c == L'+') return 62;
    if (c == L'/') return 63;
    return 0;
}

}  // namespace

OvString EncodeBase64(const void* bytes, int count)
{
    if (!bytes || count <= 0) return OvString();
    const uint8_t* in = static_cast<const uint8_t*>(bytes);
    const int groups = count / 3 + (count % 3 ? 1 : 0);
    const int length = groups * 4 + (groups - 1) / 16;
    OvString result;
    wchar_t* out = result.GetBuffer(length);
    int n = 0, line = 0;
    for (int i = 0; i < count; i += 3) {
        if (line >= 64) {
            out[n++] = L'\n';
            line = 0;
        }
        const int available = count - i;
        const uint32_t block = in[i] << 16 | (available > 1 ? in[i + 1] << 8 : 0) | (available > 2 ? in[i + 2] : 0);
        out[n++] = kAlphabet[block >> 18 & 63];
        out[n++] = kAlphabet[block >> 12 & 63];
        out[n++] = available > 1 ? kAlphabet[block >> 6 & 63] : L'=';
        out[n++] = available > 2 ? kAlphabet[block & 63] : L'=';
        line += 4;
    }
    result.ReleaseBuffer(n);
    return result;
}

std::vector<uint8_t> DecodeBase64(const wchar_t* text)
{
    std::vector<uint8_t> bytes;
    if (!text) return bytes;
    uint32_t block = 0;
    int filled = 0, padding = 0;
    for (; *text; ++text) {
        const wchar_t c = *text;
        if (c == L'\r' || c == L'\n') continue;
        if (filled == 0) padding = 0;
        if (c == L'=') ++padding;
        block = block << 6 | ValueOf(c);
        if (++filled == 4) {
            bytes.push_back(static_cast<uint8_t>(block >> 16));
            bytes.push_back(static_cast<uint8_t>(block >> 8));
            bytes.push_back(static_cast<uint8_t>(block));
            block = 0;
            filled = 0;
        }
    }
    int cut = padding;
    if (filled > 0) {
        // The missing characters of the last group count as 0 and, like '=', give no bytes.
        cut += 4 - filled;
        block <<= 6 * (4 - filled);
        bytes.push_back(static_cast<uint8_t>(block >> 16));
        bytes.push_back(static_cast<uint8_t>(block >> 8));
        bytes.push_back(static_cast<uint8_t>(block));
    }
    if (cut > 3) cut = 3;
    if (cut > static_cast<int>(bytes.size())) cut = static_cast<int>(bytes.size());
    bytes.resize(bytes.size() - cut);
    return bytes;
}
