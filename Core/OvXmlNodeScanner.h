#pragma once
// Reads one node of an XML text: its kind, length, tag name and, for a faulty node, what is wrong.

#include "OvString.h"

#include <cstdint>

// Node kinds (bit flags).
enum OvXmlNodeKind : int {
    kOvXmlElement = 1,
    kOvXmlText = 2,
    kOvXmlWhiteSpace = 4,
    kOvXmlCData = 8,
    kOvXmlProcessingInstruction = 16,
    kOvXmlComment = 32,
    kOvXmlDocumentType = 64,
    kOvXmlLoneEndTag = 128,
    // Returned by the scanner only.
    kOvXmlEndTag = 0,
    kOvXmlFaulty = -1,
    kOvXmlEndOfText = -2,
};

struct OvXmlNode {
    // What went wrong: a message format ("Incorrect %s at offset %d" or "%s at offset %d unterminated")
    // and the word that fills its %s. No format: nothing to report.
    struct Problem {
        const wchar_t* format = nullptr;
        const wchar_t* what = nullptr;
    };

    int kind = kOvXmlEndOfText;
    uint32_t offset = 0;
    uint32_t length = 0;
    uint32_t nameOffset = 0;     // tag name, target of a processing instruction, name of a document type
    uint32_t nameLength = 0;
    bool empty = false;          // a start tag closed by "/>"
    Problem problem;

    uint32_t End() const { return offset + length; }
    // The problem as a message with the node's offset; empty when there is none.
    OvString Message() const;
};

class OvXmlNodeScanner {
public:
    // Scans text[0, length); nothing beyond length is read.
    OvXmlNodeScanner(const wchar_t* text, uint32_t length) : text_(text), length_(length) {}

    OvXmlNode Scan(uint32_t offset) const;

    static bool IsNameStart(wchar_t c) { return (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' || c >= L'a'; }
    static bool IsNameEnd(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'/' || c == L'>'; }
    static bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r'; }

private:
    uint32_t NameEnd(uint32_t from) const;
    // Offset just past the first '>' at or after from that is not inside a quoted value; length_ when none.
    uint32_t TagEnd(uint32_t from) const;
    // Offset just past the first '>' at or after from that follows the marker (mark repeated count
    // times directly before it); length_ when none.
    uint32_t MarkedEnd(uint32_t from, wchar_t mark, int count) const;
    void ScanStartTag(OvXmlNode& node) const;
    void ScanEndTag(OvXmlNode& node) const;
    void ScanBang(OvXmlNode& node) const;
    void ScanDocumentType(OvXmlNode& node) const;
    void Faulty(OvXmlNode& node, const wchar_t* format, const wchar_t* what) const;
    void Unterminated(OvXmlNode& node, const wchar_t* what) const;

    const wchar_t* text_;
    uint32_t length_;
};
