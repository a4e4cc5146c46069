#pragma once
// Text decoding and encoding: ANSI, UTF-8, UTF-16, UTF-32, and text files.

#include "OvString.h"

#include <string>

enum OvTextEncoding {
    kOvEncodingAutomatic = 0,
    kOvEncodingAnsi = 1,       // the system code page
    kOvEncodingUtf8 = 2,       // a byte-order mark becomes U+FEFF
    kOvEncodingUtf16 = 3,      // FF FE or FE FF mark dropped (FE FF: big-endian); else little-endian
    kOvEncodingUtf8NoMark = 5, // a leading EF BB BF is skipped
    kOvEncodingUtf32 = 6,      // little-endian, mark dropped; each unit gives its low 16 bits
};

// The encoding that automatic decoding chooses for the bytes: UTF-16 after FF FE or FE FF
// (UTF-32 after FF FE 00 00), UTF-8 after EF BB BF; otherwise a zero byte before the trailing
// zeros means UTF-16, or UTF-32 when two more zero bytes follow it; at least one valid UTF-8
// sequence of two or three bytes and no other byte from 0x80 up means UTF-8; anything else,
// the empty input included, is ANSI.
OvTextEncoding DetectTextEncoding(const void* bytes, int count);

// Decodes count bytes. Every decoding stops at the first NUL. Input that ends inside a code unit
// or a UTF-8 sequence is read as if zero bytes followed it; nothing past count is read.
// UTF-8 sequences of one, two and three bytes are decoded; any byte that starts no valid
// sequence becomes the code unit of the same value. Unknown encodings give the empty text.
OvString DecodeText(const void* bytes, int count, int encoding);
OvString DecodeUtf8(const char* bytes, int count);

// The bytes of the text: ANSI (1), UTF-8 without mark (2), or UTF-16 little-endian after the
// mark FF FE (3). False for any other encoding.
bool EncodeText(const wchar_t* text, int encoding, std::string& bytes);

// Writes the text as EncodeText makes it, replacing the file. False when the encoding is unknown
// or the file cannot be written.
bool SaveTextFile(const wchar_t* path, const wchar_t* text, int encoding);
