#include "OvXmlNodeScanner.h"

#include "OvStringFormat.h"

namespace {
constexpr uint32_t kNotFound = 0xFFFFFFFFu;
const wchar_t kIncorrect[] = L"Incorrect %s at offset %d";
const wchar_t kUnterminated[] = L"%s at offset %d unterminated";
}

OvString OvXmlNode::Message() const
{
    if (!problem.format) return OvString();
    return OvFormat(problem.format, problem.what, static_cast<int64_t>(offset));
}

uint32_t OvXmlNodeScanner::NameEnd(uint32_t from) const
{
    while (from < length_ && !IsNameEnd(text_[from])) ++from;
    return from;
}

uint32_t OvXmlNodeScanner::TagEnd(uint32_t from) const
{
    const wchar_t* t = text_;
    for (uint32_t i = from; i < length_; ++i) {
        const wchar_t c = t[i];
        if (c == L'>') return i + 1;
        if (c == L'"' || c == L'\'') {
            ++i;
            while (i < length_ && t[i] != c) ++i;
            if (i >= length_) return kNotFound;
        }
    }
    return kNotFound;
}

uint32_t OvXmlNodeScanner::MarkedEnd(uint32_t from, wchar_t mark, int count) const
{
    for (uint32_t i = from; i < length_; ++i) {
        if (text_[i] != L'>') continue;
        int n = 0;
        while (n < count && text_[i - 1 - n] == mark) ++n;
        if (n == count) return i + 1;
    }
    return kNotFound;
}

void OvXmlNodeScanner::Faulty(OvXmlNode& node, const wchar_t* format, const wchar_t* what) const
{
    node.kind = kOvXmlFaulty;
    node.problem = {format, what};
    // A faulty node ends at the next '>' or before the next '<'.
    uint32_t i = node.offset + 1;
    while (i < length_ && text_[i] != L'>' && text_[i] != L'<') ++i;
    if (i < length_ && text_[i] == L'>') ++i;
    node.length = i - node.offset;
    if (i >= length_ && !format) node.problem = {kUnterminated, L"tag"};
}

void OvXmlNodeScanner::Unterminated(OvXmlNode& node, const wchar_t* what) const
{
    node.kind = kOvXmlFaulty;
    node.length = length_ - node.offset;
    node.problem = {kUnterminated, what};
}

OvXmlNode OvXmlNodeScanner::Scan(uint32_t offset) const
{
    OvXmlNode node;
    node.offset = offset;
    if (offset >= length_) {
        node.offset = length_;
        return node;   // end of the text
    }
    const wchar_t* t = text_;
    if (t[offset] != L'<') {
        uint32_t i = offset;
        while (i < length_ && IsSpace(t[i])) ++i;
        node.kind = kOvXmlWhiteSpace;
        if (i < length_ && t[i] != L'<') {
            node.kind = kOvXmlText;
            while (i < length_ && t[i] != L'<') ++i;
        }
        node.length = i - offset;
        return node;
    }
    if (offset + 1 >= length_) {
        Unterminated(node, L"tag");
        return node;
    }
    const wchar_t c = t[offset + 1];
    if (IsNameStart(c)) {
        ScanStartTag(node);
    } else if (c == L'/') {
        ScanEndTag(node);
    } else if (c == L'?') {
        node.kind = kOvXmlProcessingInstruction;
        node.nameOffset = offset + 2;
        uint32_t i = node.nameOffset;
        while (i < length_ && !IsSpace(t[i]) && t[i] != L'?' && t[i] != L'>') ++i;
        node.nameLength = i - node.nameOffset;
        const uint32_t end = MarkedEnd(offset + 3, L'?', 1);
        if (end == kNotFound)
            Unterminated(node, L"Processing instruction");
        else
            node.length = end - offset;
    } else if (c == L'!') {
        ScanBang(node);
    } else {
        Faulty(node, kIncorrect, L"tag name character");
    }
    return node;
}

void OvXmlNodeScanner::ScanStartTag(OvXmlNode& node) const
{
    node.kind = kOvXmlElement;
    node.nameOffset = node.offset + 1;
    const uint32_t nameEnd = NameEnd(node.nameOffset);
    node.nameLength = nameEnd - node.nameOffset;
    const uint32_t end = TagEnd(nameEnd);
    if (end == kNotFound) {
        Unterminated(node, L"Element tag");
        return;
    }
    node.length = end - node.offset;
    node.empty = text_[end - 2] == L'/';
}

void OvXmlNodeScanner::ScanEndTag(OvXmlNode& node) const
{
    node.kind = kOvXmlEndTag;
    node.nameOffset = node.offset + 2;
    const uint32_t nameEnd = NameEnd(node.nameOffset);
    node.nameLength = nameEnd - node.nameOffset;
    uint32_t i = nameEnd;
    while (i < length_ && text_[i] != L'>') ++i;
    if (i >= length_)
        Unterminated(node, L"Element end tag");
    else
        node.length = i + 1 - node.offset;
}

void OvXmlNodeScanner::ScanBang(OvXmlNode& node) const
{
    const uint32_t at = node.offset + 2;
    if (at >= length_) {
        Unterminated(node, L"tag");
        return;
    }
    const wchar_t c = text_[at];
    if (c == L'-') {
        if (at + 1 >= length_ || text_[at + 1] != L'-') {
            Faulty(node, kIncorrect, L"comment tag");
            return;
        }
        node.kind = kOvXmlComment;
        const uint32_t end = MarkedEnd(node.offset + 6, L'-', 2);
        if (end == kNotFound)
            Unterminated(node, L"Comment");
        else
            node.length = end - node.offset;
    } else if (c == L'[') {
        if (at + 1 >= length_ || text_[at + 1] != L'C') {
            Faulty(node, kIncorrect, L"tag");
            return;
        }
        node.kind = kOvXmlCData;
        const uint32_t end = MarkedEnd(node.offset + 11, L']', 2);
        if (end == kNotFound)
            Unterminated(node, L"CDATA Section");
        else
            node.length = end - node.offset;
    } else if (c == L'D') {
        ScanDocumentType(node);
    } else if (c == L'E' || c == L'A' || c == L'N') {
        Faulty(node, nullptr, nullptr);
    } else {
        Faulty(node, kIncorrect, L"! tag");
    }
}

void OvXmlNodeScanner::ScanDocumentType(OvXmlNode& node) const
{
    node.kind = kOvXmlDocumentType;
    const wchar_t* t = text_;
    uint32_t i = node.offset + 2;
    while (i < length_ && t[i] != L'>' && t[i] != L'[' && !IsSpace(t[i])) ++i;   // the keyword
    while (i < length_ && IsSpace(t[i])) ++i;
    node.nameOffset = i;
    while (i < length_ && t[i] != L'>' && t[i] != L'[' && !IsSpace(t[i])) ++i;
    node.nameLength = i - node.nameOffset;

    for (i = node.offset + 2; i < length_; ++i) {
        if (t[i] == L'>') {
            node.length = i + 1 - node.offset;
            return;
        }
        if (t[i] != L'<') continue;
        // An inner declaration, scanned like a tag up to its own '>'.
        if (i + 1 < length_ && t[i + 1] == L'!') {
            const wchar_t k = i + 2 < length_ ? t[i + 2] : 0;
            if (k != L'E' && k != L'A' && k != L'N' && !node.problem.format) node.problem = {kIncorrect, L"! tag"};
        }
        const uint32_t end = TagEnd(i + 1);
        if (end == kNotFound) break;
        i = end - 1;
    }
    Unterminated(node, L"Doctype");
}
