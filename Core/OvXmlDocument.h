#pragma once
// One XML document: the text, an index of its elements, a navigation cursor, path queries and
// small edits that rewrite the text in place. The parser is lenient: it never stops at a fault,
// indexes whatever elements it can recognise and keeps the first problem as a message.

#include "OvString.h"
#include "OvXmlElementIndex.h"
#include "OvXmlNodeScanner.h"

#include <cstdint>

class OvXmlDocument {
public:
    // GetElementText of the cursor: its node in node mode, else its current element.
    static constexpr int kCursor = -1;

    // Document flags.
    static constexpr uint32_t kChanged = 2;
    static constexpr uint32_t kIgnoreCase = 8;

    OvXmlDocument();
    explicit OvXmlDocument(const OvString& text);
    OvXmlDocument(const OvXmlDocument&) = delete;
    OvXmlDocument& operator=(const OvXmlDocument&) = delete;

    // Reads the file as UTF-8 text and parses it; the well-formed flag. A file that cannot be read
    // leaves the document as it was and gives false.
    bool LoadFile(const wchar_t* path);

    const OvString& GetText() const { return text_; }
    const OvString& GetResult() const { return result_; }
    bool IsWellFormed() const;
    bool IsChanged() const { return (flags_ & kChanged) != 0; }

    // Path search from the current parent, after the current position. On success the found
    // element becomes current and its parent the parent position; the child position is cleared.
    bool FindElement(const wchar_t* path);
    // Searches the children of the current element after the child position (cleared first with
    // restart); the found element becomes the child position.
    bool FindChildElement(const wchar_t* name, bool restart);
    bool EnterElement();
    bool LeaveElement();
    // Moves the cursor to the next node of one of the kinds (OvXmlNodeKind bits) in the content of
    // the current parent after the cursor. An element found this way becomes current in element
    // mode; any other node puts the cursor in node mode, with the element before it as current.
    bool FindNode(int kinds);

    OvString GetElementText(int index = kCursor) const;
    OvString GetChildText(const wchar_t* name);
    OvString GetTextAtPath(const wchar_t* path);
    OvString GetAttribute(int index, const wchar_t* name) const;
    OvString GetTagName() const;

    // Adds or replaces an attribute in the element's start tag.
    bool SetAttribute(int index, const wchar_t* name, const wchar_t* value);
    // Inserts <name>text</name> (or <name/> for empty text) and a line break after the current
    // element, or first in the current parent without one; the new element becomes current.
    bool AddElement(const wchar_t* name, const wchar_t* text);

    int GetParentElement() const { return static_cast<int>(parent_); }
    int GetCurrentElement() const { return static_cast<int>(current_); }
    int GetChildElement() const { return static_cast<int>(child_); }
    bool IsNodeMode() const { return nodeLength_ != 0; }
    int GetNodeKind() const { return nodeLength_ ? nodeKind_ : kOvXmlElement; }

    // Records of the index: 0 is the document, 1 to GetElementCount() - 1 its elements.
    int GetElementCount() const { return static_cast<int>(index_.Count()); }
    // A copy of the record; all zero for an index out of range.
    OvXmlElement GetElementRecord(int index) const;

private:
    struct Step;
    struct Attribute;

    void Parse();
    void ResetCursor();
    bool IsElement(uint32_t index) const { return index > 0 && index < index_.Count(); }
    bool HasCurrentElement() const { return current_ != 0 && nodeLength_ == 0; }

    // Tag name of an element as a piece of the text.
    uint32_t NameLength(uint32_t index) const;
    bool NamesEqual(const wchar_t* a, uint32_t aLength, const wchar_t* b, uint32_t bLength) const;
    bool NameIs(uint32_t index, const wchar_t* name, uint32_t length) const;

    uint32_t Search(const wchar_t* path, uint32_t parent, uint32_t after) const;
    bool MatchesName(uint32_t index, const Step& step) const;
    // The candidate that passes the step, starting at first (and its following siblings unless single).
    uint32_t MatchAmong(uint32_t first, const Step& step, bool single) const;
    bool PassesPredicate(uint32_t index, const Step& step) const;
    uint32_t NextInDocumentOrder(uint32_t index) const;
    uint32_t NextAfterSubtree(uint32_t index) const;

    bool FindAttribute(uint32_t index, const wchar_t* name, uint32_t length, Attribute& found) const;
    OvString NodeText() const;
    // Replaces text[start, end) by insert; the index follows: records from start on move, records
    // holding start grow. Record skip is left as it is.
    bool Splice(uint32_t start, uint32_t end, const OvString& insert, uint32_t skip);

    OvString text_;
    OvString result_;
    uint32_t parent_ = 0;
    uint32_t current_ = 0;
    uint32_t child_ = 0;
    int nodeKind_ = 0;
    uint32_t nodeOffset_ = 0;
    uint32_t nodeLength_ = 0;   // 0: element mode
    uint32_t flags_ = kIgnoreCase;
    OvXmlElementIndex index_;
};
