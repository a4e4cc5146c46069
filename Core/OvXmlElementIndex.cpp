#include "OvXmlElementIndex.h"

#include <new>

void OvXmlElementIndex::Reset(uint32_t textLength)
{
    Clear();
    Grow(textLength / 64 + 8);
    count_ = 1;
}

void OvXmlElementIndex::Clear()
{
    segments_.clear();
    count_ = 0;
    capacity_ = 0;
}

void OvXmlElementIndex::Grow(uint32_t capacity)
{
    if (capacity <= capacity_) return;
    const uint32_t segments = (capacity - 1) / kSegmentSize + 1;
    segments_.resize(segments);
    for (uint32_t s = 0; s < segments; ++s) {
        const uint32_t first = s * kSegmentSize;
        const uint32_t size = capacity - first < kSegmentSize ? capacity - first : kSegmentSize;
        if (segments_[s].size() < size) segments_[s].resize(size);
    }
    capacity_ = capacity;
}

uint32_t OvXmlElementIndex::Allocate()
{
    if (count_ == 0xFFFFFFFFu) throw std::bad_alloc();
    if (count_ >= capacity_) {
        uint32_t more = count_ / 2;
        if (more < 8) more = 8;
        if (more > 0xFFFFFFFFu - capacity_) more = 0xFFFFFFFFu - capacity_;
        Grow(capacity_ + more);
    }
    const uint32_t index = count_++;
    (*this)[index] = OvXmlElement{};
    return index;
}

uint32_t OvXmlElementIndex::LastChild(uint32_t parent) const
{
    const uint32_t first = (*this)[parent].firstChild;
    return first ? (*this)[first].previousSibling : 0;
}

void OvXmlElementIndex::AppendChild(uint32_t parent, uint32_t child)
{
    OvXmlElement& p = (*this)[parent];
    OvXmlElement& c = (*this)[child];
    c.parent = parent;
    c.nextSibling = 0;
    if (!p.firstChild) {
        p.firstChild = child;
        c.previousSibling = child;
        c.levelFlags |= OvXmlElement::kFirstChild;
        return;
    }
    OvXmlElement& first = (*this)[p.firstChild];
    const uint32_t last = first.previousSibling;
    (*this)[last].nextSibling = child;
    c.previousSibling = last;
    c.levelFlags &= ~OvXmlElement::kFirstChild;
    first.previousSibling = child;
}

void OvXmlElementIndex::InsertFirst(uint32_t parent, uint32_t child)
{
    OvXmlElement& p = (*this)[parent];
    if (!p.firstChild) {
        AppendChild(parent, child);
        return;
    }
    OvXmlElement& c = (*this)[child];
    OvXmlElement& oldFirst = (*this)[p.firstChild];
    c.parent = parent;
    c.nextSibling = p.firstChild;
    c.previousSibling = oldFirst.previousSibling;   // the last child
    c.levelFlags |= OvXmlElement::kFirstChild;
    oldFirst.previousSibling = child;
    oldFirst.levelFlags &= ~OvXmlElement::kFirstChild;
    p.firstChild = child;
}

void OvXmlElementIndex::InsertAfter(uint32_t sibling, uint32_t child)
{
    OvXmlElement& s = (*this)[sibling];
    const uint32_t parent = s.parent;
    if (!s.nextSibling) {
        AppendChild(parent, child);
        return;
    }
    OvXmlElement& c = (*this)[child];
    OvXmlElement& next = (*this)[s.nextSibling];
    c.parent = parent;
    c.levelFlags &= ~OvXmlElement::kFirstChild;
    c.previousSibling = sibling;
    c.nextSibling = s.nextSibling;
    next.previousSibling = child;
    s.nextSibling = child;
}

void OvXmlElementIndex::MoveChildrenUp(uint32_t element, uint32_t keepLevels)
{
    OvXmlElement& e = (*this)[element];
    const uint32_t first = e.firstChild;
    if (!first) return;
    const uint32_t parent = e.parent;
    const uint32_t level = e.Level();
    const uint32_t last = (*this)[first].previousSibling;

    for (uint32_t child = first; child; child = (*this)[child].nextSibling) {
        OvXmlElement& c = (*this)[child];
        c.parent = parent;
        const uint32_t delta = c.Level() - level;
        c.SetLevel(level);
        if (child == keepLevels || !c.firstChild) continue;
        // The subtree moves up by the same number of levels.
        uint32_t node = c.firstChild;
        while (node) {
            OvXmlElement& n = (*this)[node];
            n.SetLevel(n.Level() - delta);
            if (n.firstChild) {
                node = n.firstChild;
                continue;
            }
            while (node != child && !(*this)[node].nextSibling) node = (*this)[node].parent;
            node = node == child ? 0 : (*this)[node].nextSibling;
        }
    }

    // Splice: element, its former children, then nothing (element was the last child of parent).
    OvXmlElement& firstChild = (*this)[first];
    firstChild.levelFlags &= ~OvXmlElement::kFirstChild;
    firstChild.previousSibling = element;
    e.nextSibling = first;
    e.firstChild = 0;
    (*this)[(*this)[parent].firstChild].previousSibling = last;
}
