#pragma once
// The element index of an XML document: records addressed by index, kept in segments of 65536.

#include <cstdint>
#include <memory>
#include <vector>

// One element of the document. Record 0 stands for the document itself.
struct OvXmlElement {
    static constexpr uint32_t kMaxStartTagLength = (1u << 22) - 1;
    static constexpr uint32_t kMaxEndTagLength = (1u << 10) - 1;
    static constexpr uint32_t kMaxLevel = 0xFFFF;

    // Flags above the level.
    static constexpr uint32_t kFirstChild = 1u << 16;
    static constexpr uint32_t kNotEnded = 1u << 17;
    static constexpr uint32_t kIllFormed = 1u << 18;
    static constexpr uint32_t kDocumentNotWellFormed = 1u << 19;   // record 0 only

    uint32_t offset;            // of the '<' of the start tag
    uint32_t length;            // start tag to the end of the end tag
    uint32_t tagLengths;        // start-tag length in the low 22 bits, end-tag length in the upper 10
    uint32_t levelFlags;        // depth in the low 16 bits, flags above
    uint32_t parent;
    uint32_t firstChild;
    uint32_t nextSibling;
    uint32_t previousSibling;   // of a first child: the last child of the parent

    uint32_t StartTagLength() const { return tagLengths & kMaxStartTagLength; }
    uint32_t EndTagLength() const { return tagLengths >> 22; }
    // Callers keep the values inside kMaxStartTagLength and kMaxEndTagLength.
    void SetTagLengths(uint32_t start, uint32_t end) { tagLengths = (start & kMaxStartTagLength) | (end << 22); }
    uint32_t Level() const { return levelFlags & kMaxLevel; }
    void SetLevel(uint32_t level) { levelFlags = (levelFlags & ~kMaxLevel) | (level & kMaxLevel); }
    bool Has(uint32_t flag) const { return (levelFlags & flag) != 0; }
    uint32_t End() const { return offset + length; }
    // The text between the start tag and the end tag (empty for empty and unended elements).
    uint32_t ContentStart() const { return offset + StartTagLength(); }
    uint32_t ContentEnd() const { return offset + length - EndTagLength(); }
};

class OvXmlElementIndex {
public:
    static constexpr uint32_t kSegmentSize = 65536;

    // Drops every record and makes room for the first allocation; record 0 is taken and zeroed.
    // Throws std::bad_alloc when the memory is not there.
    void Reset(uint32_t textLength);
    void Clear();

    // Takes the next record (zeroed), growing the index; throws std::bad_alloc.
    uint32_t Allocate();
    // Gives back the record taken by the last Allocate.
    void ReleaseLast()
    {
        if (count_ > 1) --count_;
    }

    bool Exists() const { return !segments_.empty(); }
    uint32_t Count() const { return count_; }
    bool IsValid(uint32_t index) const { return index < count_; }

    OvXmlElement& operator[](uint32_t index) { return segments_[index >> 16][index & (kSegmentSize - 1)]; }
    const OvXmlElement& operator[](uint32_t index) const
    {
        return segments_[index >> 16][index & (kSegmentSize - 1)];
    }

    // Links child as the last child of parent.
    void AppendChild(uint32_t parent, uint32_t child);
    // Links child directly after sibling, under sibling's parent.
    void InsertAfter(uint32_t sibling, uint32_t child);
    // Links child as the first child of parent.
    void InsertFirst(uint32_t parent, uint32_t child);
    // Moves the children of element up to follow it as siblings under its parent, which must have
    // element as its last child. Levels of the moved subtrees are brought up to date, except the
    // subtree of keepLevels (a child the caller moves on by itself).
    void MoveChildrenUp(uint32_t element, uint32_t keepLevels);
    // Last child of parent (0 when none).
    uint32_t LastChild(uint32_t parent) const;

private:
    void Grow(uint32_t capacity);

    std::vector<std::vector<OvXmlElement>> segments_;
    uint32_t count_ = 0;
    uint32_t capacity_ = 0;
};
