#include "OvXmlDocument.h"

#include "OvStringEncoding.h"
#include "OvStringEntities.h"
#include "OvStringFormat.h"
#include "OvTextFileLoader.h"

#include <cwchar>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

bool Follows(const wchar_t* p, uint32_t available, const wchar_t* word, uint32_t length)
{
    return available >= length && wmemcmp(p, word, length) == 0;
}

// A character reference at p (p[0] is '&'); on success the character and the units it takes.
bool DecodeReference(const wchar_t* p, uint32_t available, wchar_t& c, uint32_t& used)
{
    struct Named {
        const wchar_t* text;
        uint32_t length;
        wchar_t c;
    };
    static const Named named[] = {{L"&lt;", 4, L'<'},     {L"&amp;", 5, L'&'},   {L"&gt;", 4, L'>'},
                                  {L"&apos;", 6, L'\''}, {L"&quot;", 6, L'"'}};
    for (const Named& n : named) {
        if (Follows(p, available, n.text, n.length)) {
            c = n.c;
            used = n.length;
            return true;
        }
    }
    if (available < 4 || p[1] != L'#') return false;
    const bool hex = p[2] == L'x';
    uint32_t i = hex ? 3 : 2;
    uint32_t value = 0;
    const uint32_t first = i;
    for (; i < available && i <= 9; ++i) {
        const int digit = hex ? HexValue(p[i]) : (IsDigit(p[i]) ? p[i] - L'0' : -1);
        if (digit < 0) break;
        value = value * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
    }
    // Digits, then ';' after at most seven characters following "&#".
    if (i == first || i >= available || p[i] != L';' || i - 2 > 7) return false;
    value &= 0xFFFF;
    if (value == 0) return false;
    c = static_cast<wchar_t>(value);
    used = i + 1;
    return true;
}

void AppendDecoded(OvString& out, const wchar_t* p, uint32_t length)
{
    uint32_t run = 0;
    for (uint32_t i = 0; i < length;) {
        if (p[i] != L'&') {
            ++i;
            continue;
        }
        out.Append(p + run, static_cast<int>(i - run));
        wchar_t c;
        uint32_t used;
        if (DecodeReference(p + i, length - i, c, used)) {
            out.Append(c);
            i += used;
        } else {
            out.Append(L'&');
            ++i;
        }
        run = i;
    }
    out.Append(p + run, static_cast<int>(length - run));
}

OvString Piece(const wchar_t* text, uint32_t offset, uint32_t length)
{
    OvString piece;
    piece.Append(text + offset, static_cast<int>(length));
    return piece;
}

const wchar_t kTooLong[] = L"%s at offset %d too long";
const wchar_t kTooDeep[] = L"%s at offset %d nested too deeply";

// One run of the element pass over a text: pairs start and end tags into the index.
class ElementPass {
public:
    ElementPass(const wchar_t* text, uint32_t length, OvXmlElementIndex& index)
        : text_(text), scanner_(text, length), length_(length), index_(index), strings_(OvStringGlobals::Get())
    {
        stack_.reserve(6);
    }

    void Run()
    {
        while (position_ < length_) {
            const OvXmlNode node = scanner_.Scan(position_);
            switch (node.kind) {
            case kOvXmlElement:
                StartTag(node);
                break;
            case kOvXmlEndTag:
                EndTag(node);
                break;
            case kOvXmlFaulty:
                Fault(node);
                break;
            case kOvXmlDocumentType:
                if (node.problem.format) Record([&] { return node.Message(); });
                break;
            default:
                break;
            }
            position_ = node.End();
        }
    }

    // Every element still open is not ended.
    void Finish()
    {
        if (stack_.empty()) return;
        const Open& innermost = stack_.back();
        Record([&] {
            return OvFormat(L"Element '%s' at offset %d not ended", Piece(text_, innermost.nameOffset, innermost.nameLength),
                            static_cast<int64_t>(innermost.offset));
        });
        NotEnded(0);
        stack_.clear();
        open_ = 0;
    }

    // The pass ran out of memory: the rest of the text is not indexed.
    void OutOfMemory()
    {
        notWellFormed_ = true;
        Record([&] { return OvFormat(L"Out of memory at offset %d", static_cast<int64_t>(position_)); });
    }

    bool NotWellFormed() const { return notWellFormed_; }
    const OvString& Message() const { return message_; }

private:
    struct Open {
        uint32_t record;   // 0: left out of the index, kept only to pair its end tag
        uint32_t offset;
        uint32_t nameOffset;
        uint32_t nameLength;
    };
    static constexpr size_t kDeepStack = 64;

    template <class MakeMessage>
    void Record(MakeMessage make)
    {
        if (recorded_) return;
        recorded_ = true;
        try {
            message_ = make();
        } catch (const std::bad_alloc&) {
        }
    }
    void Record(const OvString& message)
    {
        Record([&] { return message; });
    }

    void MarkFault()
    {
        notWellFormed_ = true;
        index_[open_].levelFlags |= OvXmlElement::kIllFormed;
    }

    void Fault(const OvXmlNode& node)
    {
        MarkFault();
        if (node.problem.format) Record([&] { return node.Message(); });
    }

    bool NamesEqual(uint32_t a, uint32_t b, uint32_t length) const
    {
        for (uint32_t i = 0; i < length; ++i) {
            const wchar_t x = text_[a + i], y = text_[b + i];
            if (x != y && strings_->Fold(x) != strings_->Fold(y)) return false;
        }
        return true;
    }

    std::wstring FoldedName(const Open& open) const
    {
        std::wstring name(text_ + open.nameOffset, open.nameLength);
        for (wchar_t& c : name) c = strings_->Fold(c);
        return name;
    }

    void Push(const Open& open)
    {
        if (stack_.size() == stack_.capacity()) stack_.reserve(stack_.capacity() * 2 + 6);
        stack_.push_back(open);
        if (open.record) open_ = open.record;
        else ++ghosts_;
        // A deep stack keeps a count of its names, so that an end tag without a start tag does not
        // cost a walk over the whole stack.
        if (deep_) {
            ++names_[FoldedName(open)];
        } else if (stack_.size() > kDeepStack) {
            for (const Open& o : stack_) ++names_[FoldedName(o)];
            deep_ = true;
        }
    }

    void PopTo(size_t size)
    {
        while (stack_.size() > size) {
            const Open& open = stack_.back();
            if (!open.record) --ghosts_;
            if (deep_) {
                auto found = names_.find(FoldedName(open));
                if (found != names_.end() && --found->second == 0) names_.erase(found);
            }
            stack_.pop_back();
        }
        if (deep_ && stack_.size() < kDeepStack / 2) {
            names_.clear();
            deep_ = false;
        }
        open_ = 0;
        for (size_t i = stack_.size(); i > 0; --i) {
            if (stack_[i - 1].record) {
                open_ = stack_[i - 1].record;
                break;
            }
        }
    }

    void StartTag(const OvXmlNode& node)
    {
        const uint32_t level = index_[open_].Level() + 1;
        const Open open{0, node.offset, node.nameOffset, node.nameLength};
        if (ghosts_ || node.length > OvXmlElement::kMaxStartTagLength || level > OvXmlElement::kMaxLevel) {
            // The index cannot hold this element: it is left out together with its content.
            if (!ghosts_) {
                MarkFault();
                const wchar_t* format = node.length > OvXmlElement::kMaxStartTagLength ? kTooLong : kTooDeep;
                Record([&] { return OvFormat(format, L"Element tag", static_cast<int64_t>(node.offset)); });
            }
            if (!node.empty) Push(open);
            return;
        }
        const uint32_t record = index_.Allocate();
        OvXmlElement& e = index_[record];
        e.offset = node.offset;
        e.length = node.length;
        e.SetTagLengths(node.length, 0);
        e.SetLevel(level);
        index_.AppendChild(open_, record);
        if (!node.empty) Push(Open{record, node.offset, node.nameOffset, node.nameLength});
    }

    size_t FindOpen(const OvXmlNode& node) const
    {
        const size_t none = stack_.size();
        if (deep_) {
            std::wstring name(text_ + node.nameOffset, node.nameLength);
            for (wchar_t& c : name) c = strings_->Fold(c);
            if (names_.find(name) == names_.end()) return none;
        }
        for (size_t i = stack_.size(); i > 0; --i) {
            const Open& open = stack_[i - 1];
            if (open.nameLength == node.nameLength && NamesEqual(open.nameOffset, node.nameOffset, node.nameLength))
                return i - 1;
        }
        return none;
    }

    void EndTag(const OvXmlNode& node)
    {
        if (node.length > OvXmlElement::kMaxEndTagLength) {
            MarkFault();
            Record([&] { return OvFormat(kTooLong, L"Element end tag", static_cast<int64_t>(node.offset)); });
            return;
        }
        const size_t match = FindOpen(node);
        if (match == stack_.size()) {
            MarkFault();
            Record([&] {
                return OvFormat(L"No start tag for end tag '%s' at offset %d", Piece(text_, node.nameOffset, node.nameLength),
                                static_cast<int64_t>(node.offset));
            });
            return;
        }
        if (match + 1 < stack_.size()) {
            const Open& innermost = stack_.back();
            Record([&] {
                return OvFormat(L"End tag '%s' at offset %d does not match start tag '%s' at offset %d",
                                Piece(text_, node.nameOffset, node.nameLength), static_cast<int64_t>(node.offset),
                                Piece(text_, innermost.nameOffset, innermost.nameLength),
                                static_cast<int64_t>(innermost.offset));
            });
            NotEnded(match + 1);
        }
        if (const uint32_t record = stack_[match].record) {
            OvXmlElement& e = index_[record];
            e.length = node.End() - e.offset;
            e.SetTagLengths(e.StartTagLength(), node.length);
        }
        PopTo(match);
    }

    // The open elements from stack position first up are not ended: each is cut back to its start
    // tag and its children follow it as siblings. Handled from the outermost in, so that every
    // element moves up once.
    void NotEnded(size_t first)
    {
        for (size_t i = first; i < stack_.size(); ++i) {
            const uint32_t record = stack_[i].record;
            if (!record) continue;
            OvXmlElement& e = index_[record];
            e.length = e.StartTagLength();
            e.levelFlags |= OvXmlElement::kNotEnded;
            const uint32_t inner = i + 1 < stack_.size() ? stack_[i + 1].record : 0;
            index_.MoveChildrenUp(record, inner);
        }
    }

    const wchar_t* text_;
    OvXmlNodeScanner scanner_;
    uint32_t length_;
    uint32_t position_ = 0;
    OvXmlElementIndex& index_;
    const OvStringGlobals* strings_;
    std::vector<Open> stack_;
    uint32_t open_ = 0;     // innermost open element in the index; 0 = the document
    uint32_t ghosts_ = 0;   // open elements left out of the index
    bool deep_ = false;
    std::unordered_map<std::wstring, uint32_t> names_;
    bool notWellFormed_ = false;
    bool recorded_ = false;
    OvString message_;
};

}  // namespace

// A parsed path step: a name or "*", and at most one predicate.
struct OvXmlDocument::Step {
    enum Predicate { kNone, kPosition, kAttribute, kChild };
    const wchar_t* name = nullptr;
    uint32_t nameLength = 0;
    bool any = true;
    Predicate predicate = kNone;
    uint32_t position = 0;
    const wchar_t* predicateName = nullptr;
    uint32_t predicateNameLength = 0;
    bool more = false;   // a '/' follows: the next step applies to the children

    // Reads one step at p and moves p past it (and past a following '/'). False for a malformed
    // predicate.
    bool Parse(const wchar_t*& p)
    {
        auto isStop = [](wchar_t c) { return c == 0 || c == L' ' || c == L'=' || c == L'/' || c == L'[' || c == L']'; };
        name = p;
        while (!isStop(*p)) ++p;
        nameLength = static_cast<uint32_t>(p - name);
        any = nameLength == 0 || (nameLength == 1 && name[0] == L'*');
        if (*p == L'[') {
            ++p;
            if (*p >= L'1' && *p <= L'9') {
                predicate = kPosition;
                position = 0;
                while (IsDigit(*p)) {
                    if (position < 100000000) position = position * 10 + static_cast<uint32_t>(*p - L'0');
                    ++p;
                }
                if (*p != L']') return false;
            } else {
                predicate = *p == L'@' ? kAttribute : kChild;
                if (predicate == kAttribute) ++p;
                predicateName = p;
                while (*p && *p != L']' &&
                       (predicate == kChild || (*p != L'=' && *p != L' ' && *p != L'\t' && *p != L'\n' && *p != L'\r')))
                    ++p;
                predicateNameLength = static_cast<uint32_t>(p - predicateName);
                while (*p && *p != L']') ++p;
                if (*p != L']' || predicateNameLength == 0) return false;
            }
            ++p;
        }
        more = *p == L'/';
        if (more) ++p;
        return true;
    }
};

// An attribute found in a start tag.
struct OvXmlDocument::Attribute {
    uint32_t nameEnd = 0;
    bool hasValue = false;
    uint32_t valueStart = 0, valueEnd = 0;       // the value without its quotes
    uint32_t replaceStart = 0, replaceEnd = 0;   // the value with its quotes
    uint32_t stop = 0;                           // where the scan stopped when the name was not found
};

OvXmlDocument::OvXmlDocument()
{
    Parse();
}

OvXmlDocument::OvXmlDocument(const OvString& text) : text_(text)
{
    Parse();
}

void OvXmlDocument::ResetCursor()
{
    parent_ = current_ = child_ = 0;
    nodeKind_ = 0;
    nodeOffset_ = nodeLength_ = 0;
}

void OvXmlDocument::Parse()
{
    ResetCursor();
    index_.Clear();
    const uint32_t length = static_cast<uint32_t>(text_.Length());
    OvString message;
    bool notWellFormed = false;
    try {
        index_.Reset(length);
        index_[0].length = length;
        ElementPass pass(text_.c_str(), length, index_);
        try {
            pass.Run();
        } catch (const std::bad_alloc&) {
            pass.OutOfMemory();
        }
        pass.Finish();
        notWellFormed = pass.NotWellFormed();
        message = pass.Message();
    } catch (const std::bad_alloc&) {
        index_.Clear();
        notWellFormed = true;
    }

    // Document checks replace a message of the element pass.
    const uint32_t root = index_.Exists() ? index_[0].firstChild : 0;
    if (length == 0)
        message = L"Empty document";
    else if (!root)
        message = L"No root element";
    else if (index_[root].nextSibling)
        message = L"Root element has sibling";
    if (notWellFormed && index_.Exists()) index_[0].levelFlags |= OvXmlElement::kDocumentNotWellFormed;
    result_ = message;
}

bool OvXmlDocument::LoadFile(const wchar_t* path)
{
    OvString text;
    if (!LoadTextFile(path, text, kOvEncodingUtf8)) return false;
    text_ = text;
    result_.Empty();
    Parse();
    return IsWellFormed();
}

bool OvXmlDocument::IsWellFormed() const
{
    if (!index_.Exists() || index_[0].Has(OvXmlElement::kDocumentNotWellFormed)) return false;
    const uint32_t root = index_[0].firstChild;
    return root && !index_[root].nextSibling;
}

OvXmlElement OvXmlDocument::GetElementRecord(int index) const
{
    if (index < 0 || !index_.IsValid(static_cast<uint32_t>(index))) return OvXmlElement{};
    return index_[static_cast<uint32_t>(index)];
}

// Names

uint32_t OvXmlDocument::NameLength(uint32_t index) const
{
    const OvXmlElement& e = index_[index];
    const wchar_t* t = text_.c_str();
    const uint32_t end = e.offset + e.StartTagLength();
    uint32_t i = e.offset + 1;
    while (i < end && !OvXmlNodeScanner::IsNameEnd(t[i])) ++i;
    return i - e.offset - 1;
}

bool OvXmlDocument::NamesEqual(const wchar_t* a, uint32_t aLength, const wchar_t* b, uint32_t bLength) const
{
    if (aLength != bLength) return false;
    if (!(flags_ & kIgnoreCase)) return wmemcmp(a, b, aLength) == 0;
    const OvStringGlobals* strings = OvStringGlobals::Get();
    for (uint32_t i = 0; i < aLength; ++i)
        if (a[i] != b[i] && strings->Fold(a[i]) != strings->Fold(b[i])) return false;
    return true;
}

bool OvXmlDocument::NameIs(uint32_t index, const wchar_t* name, uint32_t length) const
{
    return NamesEqual(text_.c_str() + index_[index].offset + 1, NameLength(index), name, length);
}

// Paths

bool OvXmlDocument::MatchesName(uint32_t index, const Step& step) const
{
    return step.any || NameIs(index, step.name, step.nameLength);
}

bool OvXmlDocument::PassesPredicate(uint32_t index, const Step& step) const
{
    if (step.predicate == Step::kAttribute) {
        Attribute found;
        return FindAttribute(index, step.predicateName, step.predicateNameLength, found);
    }
    if (step.predicate == Step::kChild) {
        for (uint32_t c = index_[index].firstChild; c; c = index_[c].nextSibling)
            if (NameIs(c, step.predicateName, step.predicateNameLength)) return true;
        return false;
    }
    return true;
}

uint32_t OvXmlDocument::MatchAmong(uint32_t first, const Step& step, bool single) const
{
    for (uint32_t c = first; c; c = single ? 0 : index_[c].nextSibling) {
        if (!MatchesName(c, step)) continue;
        if (step.predicate == Step::kPosition) {
            // The n-th match among this candidate and its following siblings.
            uint32_t n = 0;
            for (uint32_t d = c; d; d = index_[d].nextSibling)
                if (MatchesName(d, step) && ++n == step.position) return d;
            return 0;
        }
        if (PassesPredicate(c, step)) return c;
    }
    return 0;
}

uint32_t OvXmlDocument::NextAfterSubtree(uint32_t index) const
{
    for (; index; index = index_[index].parent)
        if (index_[index].nextSibling) return index_[index].nextSibling;
    return 0;
}

uint32_t OvXmlDocument::NextInDocumentOrder(uint32_t index) const
{
    if (index_[index].firstChild) return index_[index].firstChild;
    return NextAfterSubtree(index);
}

uint32_t OvXmlDocument::Search(const wchar_t* path, uint32_t parent, uint32_t after) const
{
    if (!index_.Exists()) return 0;
    const wchar_t* p = path ? path : L"";
    Step step;
    if (p[0] == L'/' && p[1] == L'/') {
        p += 2;
        if (!step.Parse(p) || step.more) return 0;
        const uint32_t from = after ? after : parent;
        for (uint32_t c = NextInDocumentOrder(from); c; c = NextInDocumentOrder(c)) {
            if (!MatchesName(c, step)) continue;
            if (step.predicate == Step::kPosition) return MatchAmong(c, step, false);
            if (PassesPredicate(c, step)) return c;
        }
        return 0;
    }
    uint32_t first;
    bool single = false;
    if (p[0] == L'/') {
        ++p;
        first = index_[0].firstChild;
        single = true;
    } else {
        first = after ? index_[after].nextSibling : index_[parent].firstChild;
    }
    for (;;) {
        if (!first || !step.Parse(p)) return 0;
        const uint32_t found = MatchAmong(first, step, single);
        if (!found || !step.more) return found;
        first = index_[found].firstChild;
        single = false;
        step = Step();
    }
}

// Cursor

bool OvXmlDocument::FindElement(const wchar_t* path)
{
    const uint32_t found = Search(path, parent_, current_);
    if (!found) return false;
    current_ = found;
    parent_ = index_[found].parent;
    child_ = 0;
    nodeLength_ = 0;
    return true;
}

bool OvXmlDocument::FindChildElement(const wchar_t* name, bool restart)
{
    if (restart) child_ = 0;
    if (!HasCurrentElement() && !FindElement(nullptr)) return false;
    const uint32_t found = Search(name, current_, child_);
    if (!found) return false;
    child_ = found;
    return true;
}

bool OvXmlDocument::EnterElement()
{
    if (!HasCurrentElement()) return false;
    parent_ = current_;
    current_ = child_;
    child_ = 0;
    return true;
}

bool OvXmlDocument::LeaveElement()
{
    if (!parent_) return false;
    child_ = current_;
    current_ = parent_;
    parent_ = index_[parent_].parent;
    nodeLength_ = 0;
    return true;
}

bool OvXmlDocument::FindNode(int kinds)
{
    if (!index_.Exists()) return false;
    const OvXmlElement& parent = index_[parent_];
    const uint32_t contentStart = parent_ ? parent.ContentStart() : 0;
    const uint32_t contentEnd = parent_ ? parent.ContentEnd() : parent.length;
    uint32_t position = nodeLength_ ? nodeOffset_ + nodeLength_ : current_ ? index_[current_].End() : contentStart;

    uint32_t previous = nodeLength_ ? current_ : 0;
    uint32_t child = parent.firstChild;
    const OvXmlNodeScanner scanner(text_.c_str(), contentEnd);
    while (position < contentEnd) {
        while (child && index_[child].offset < position) {
            previous = child;
            child = index_[child].nextSibling;
        }
        if (child && index_[child].offset == position) {
            if (kinds & kOvXmlElement) {
                current_ = child;
                child_ = 0;
                nodeLength_ = 0;
                return true;
            }
            position = index_[child].End();
            continue;
        }
        const OvXmlNode node = scanner.Scan(position);
        int kind = node.kind == kOvXmlEndTag ? kOvXmlLoneEndTag : node.kind;
        if (kind > kOvXmlElement && (kind & kinds)) {
            current_ = previous;
            child_ = 0;
            nodeKind_ = kind;
            nodeOffset_ = node.offset;
            nodeLength_ = node.length;
            return true;
        }
        position = node.End();
    }
    return false;
}

// Texts

OvString OvXmlDocument::NodeText() const
{
    const wchar_t* t = text_.c_str();
    const uint32_t start = nodeOffset_, length = nodeLength_;
    OvString text;
    switch (nodeKind_) {
    case kOvXmlText:
    case kOvXmlWhiteSpace:
        AppendDecoded(text, t + start, length);
        return text;
    case kOvXmlComment:
        return Piece(t, start + 4, length - 7);
    case kOvXmlProcessingInstruction:
        return Piece(t, start + 2, length - 4);
    case kOvXmlCData:
        return Piece(t, start + 9, length - 12);
    default:
        return Piece(t, start, length);
    }
}

OvString OvXmlDocument::GetElementText(int index) const
{
    if (index == kCursor) {
        if (nodeLength_) return NodeText();
        index = static_cast<int>(current_);
    }
    if (index < 0 || !IsElement(static_cast<uint32_t>(index))) return OvString();
    const OvXmlElement& e = index_[static_cast<uint32_t>(index)];
    if (e.firstChild) return OvString();
    const uint32_t start = e.ContentStart(), end = e.ContentEnd();
    if (end <= start) return OvString();
    const wchar_t* t = text_.c_str();
    OvString text;
    if (!wmemchr(t + start, L'<', end - start)) {
        AppendDecoded(text, t + start, end - start);
        return text;
    }
    const OvXmlNodeScanner scanner(t, end);
    for (uint32_t position = start; position < end;) {
        const OvXmlNode node = scanner.Scan(position);
        if (node.kind == kOvXmlElement) return OvString();   // a child the index left out
        if (node.kind == kOvXmlText || node.kind == kOvXmlWhiteSpace)
            AppendDecoded(text, t + node.offset, node.length);
        else if (node.kind == kOvXmlCData)
            text.Append(t + node.offset + 9, static_cast<int>(node.length - 12));
        position = node.End();
    }
    return text;
}

OvString OvXmlDocument::GetChildText(const wchar_t* name)
{
    if (!FindChildElement(name, true)) return OvString();
    return GetElementText(static_cast<int>(child_));
}

OvString OvXmlDocument::GetTextAtPath(const wchar_t* path)
{
    current_ = child_ = 0;
    nodeLength_ = 0;
    if (!FindElement(path)) return OvString();
    return GetElementText(static_cast<int>(current_));
}

OvString OvXmlDocument::GetTagName() const
{
    const wchar_t* t = text_.c_str();
    if (nodeLength_) {
        switch (nodeKind_) {
        case kOvXmlText:
        case kOvXmlWhiteSpace:
            return L"#text";
        case kOvXmlCData:
            return L"#cdata-section";
        case kOvXmlComment:
            return L"#comment";
        default: {
            // Target of a processing instruction, name of a document type or of a lone end tag.
            const OvXmlNode node = OvXmlNodeScanner(t, nodeOffset_ + nodeLength_).Scan(nodeOffset_);
            return Piece(t, node.nameOffset, node.nameLength);
        }
        }
    }
    if (!IsElement(current_)) return OvString();
    return Piece(t, index_[current_].offset + 1, NameLength(current_));
}

// Attributes

bool OvXmlDocument::FindAttribute(uint32_t index, const wchar_t* name, uint32_t length, Attribute& found) const
{
    const OvXmlElement& e = index_[index];
    const wchar_t* t = text_.c_str();
    // The closing '>' of the start tag never belongs to an attribute.
    const uint32_t end = e.offset + e.StartTagLength() - 1;
    auto isSpace = OvXmlNodeScanner::IsSpace;
    uint32_t i = e.offset + 1 + NameLength(index);
    for (;;) {
        while (i < end && isSpace(t[i])) ++i;
        if (i >= end || t[i] == L'>' || t[i] == L'/' || t[i] == L'?') break;
        const uint32_t nameStart = i;
        while (i < end && t[i] != L'=' && t[i] != L'>' && t[i] != L'/' && t[i] != L'?' && !isSpace(t[i])) ++i;
        Attribute a;
        a.nameEnd = i;
        uint32_t j = i;
        while (j < end && isSpace(t[j])) ++j;
        if (j < end && t[j] == L'=') {
            i = j + 1;
            while (i < end && isSpace(t[i])) ++i;
            a.hasValue = true;
            a.replaceStart = i;
            if (i < end && (t[i] == L'"' || t[i] == L'\'')) {
                const wchar_t quote = t[i];
                a.valueStart = ++i;
                while (i < end && t[i] != quote) ++i;
                a.valueEnd = i;
                if (i < end) ++i;
            } else {
                a.valueStart = i;
                while (i < end && t[i] != L'>' && !isSpace(t[i])) ++i;
                a.valueEnd = i;
            }
            a.replaceEnd = i;
        }
        if (i == nameStart) ++i;   // a lone '=' where a name belongs
        if (NamesEqual(t + nameStart, a.nameEnd - nameStart, name, length)) {
            found = a;
            return true;
        }
    }
    found.stop = i < end ? i : end;
    return false;
}

OvString OvXmlDocument::GetAttribute(int index, const wchar_t* name) const
{
    if (index < 0 || !IsElement(static_cast<uint32_t>(index)) || !name) return OvString();
    Attribute found;
    if (!FindAttribute(static_cast<uint32_t>(index), name, static_cast<uint32_t>(wcslen(name)), found)) return OvString();
    OvString value;
    AppendDecoded(value, text_.c_str() + found.valueStart, found.valueEnd - found.valueStart);
    return value;
}

// Edits

bool OvXmlDocument::Splice(uint32_t start, uint32_t end, const OvString& insert, uint32_t skip)
{
    constexpr uint32_t kMaxText = 0x3FFFFFF0;
    const uint32_t length = static_cast<uint32_t>(text_.Length());
    const uint32_t inserted = static_cast<uint32_t>(insert.Length());
    if (start > end || end > length || inserted > kMaxText - (length - (end - start))) return false;
    try {
        OvString text = text_.Left(static_cast<int>(start));
        text += insert;
        text.Append(text_.c_str() + end, static_cast<int>(length - end));
        text_ = text;
    } catch (const std::bad_alloc&) {
        return false;
    }
    const uint32_t delta = inserted - (end - start);   // modulo 2^32: also moves back
    index_[0].length = static_cast<uint32_t>(text_.Length());
    for (uint32_t i = 1; i < index_.Count(); ++i) {
        if (i == skip) continue;
        OvXmlElement& e = index_[i];
        if (e.offset >= start)
            e.offset += delta;
        else if (e.End() > start)
            e.length += delta;
    }
    flags_ |= kChanged;
    return true;
}

bool OvXmlDocument::SetAttribute(int index, const wchar_t* name, const wchar_t* value)
{
    if (index < 0 || !IsElement(static_cast<uint32_t>(index)) || !name || !*name) return false;
    for (const wchar_t* p = name; *p; ++p)
        if (OvXmlNodeScanner::IsSpace(*p) || wcschr(L"=>/?<&\"'", *p)) return false;
    const uint32_t element = static_cast<uint32_t>(index);
    const uint32_t nameLength = static_cast<uint32_t>(wcslen(name));
    const OvString quoted = L"\"" + EncodeEntities(value, true) + L"\"";
    Attribute found;
    uint32_t start, end;
    OvString insert;
    if (FindAttribute(element, name, nameLength, found)) {
        start = found.hasValue ? found.replaceStart : found.nameEnd;
        end = found.hasValue ? found.replaceEnd : found.nameEnd;
        insert = found.hasValue ? quoted : L"=" + quoted;
    } else {
        const OvXmlElement& tag = index_[element];
        start = end = found.stop;
        // An unquoted value running into the "/>" of an empty element leaves the '/' to the tag.
        if (text_[static_cast<int>(start)] == L'>' && text_[static_cast<int>(start) - 1] == L'/' &&
            tag.length == tag.StartTagLength() && start - 1 > tag.offset + NameLength(element))
            start = end = start - 1;
        insert = OvString(L" ") + name + L"=" + quoted;
    }
    const OvXmlElement& e = index_[element];
    const uint32_t tagLength = e.StartTagLength() + static_cast<uint32_t>(insert.Length()) - (end - start);
    if (tagLength > OvXmlElement::kMaxStartTagLength) return false;
    const uint32_t endTag = e.EndTagLength();
    if (!Splice(start, end, insert, 0)) return false;
    index_[element].SetTagLengths(tagLength, endTag);
    return true;
}

bool OvXmlDocument::AddElement(const wchar_t* name, const wchar_t* text)
{
    if (!index_.Exists() || !name || !OvXmlNodeScanner::IsNameStart(*name)) return false;
    const uint32_t nameLength = static_cast<uint32_t>(wcslen(name));
    if (nameLength + 3 > OvXmlElement::kMaxEndTagLength) return false;
    for (const wchar_t* p = name; *p; ++p)
        if (OvXmlNodeScanner::IsNameEnd(*p) || wcschr(L"<&=?\"'", *p)) return false;
    const OvXmlElement& parent = index_[parent_];
    // A parent without content (empty or not ended) has no place for a child.
    if (parent_ && parent.length == parent.StartTagLength()) return false;
    if (parent.Level() + 1 > OvXmlElement::kMaxLevel) return false;

    OvString element = L"<" + OvString(name);
    uint32_t startTag, endTag = 0;
    if (!text || !*text) {
        element += L"/>";
        startTag = nameLength + 3;
    } else {
        element += L">";
        startTag = nameLength + 2;
        element += EncodeEntities(text, false);
        element += L"</" + OvString(name) + L">";
        endTag = nameLength + 3;
    }
    const uint32_t elementLength = static_cast<uint32_t>(element.Length());

    uint32_t at;
    const wchar_t* t = text_.c_str();
    const uint32_t length = static_cast<uint32_t>(text_.Length());
    if (current_) {
        at = index_[current_].End();
        uint32_t next = at;
        while (next < length && OvXmlNodeScanner::IsSpace(t[next])) ++next;
        if (next >= length || t[next] == L'<') at = next;
    } else {
        at = parent_ ? parent.ContentStart() : 0;
    }

    uint32_t record;
    try {
        record = index_.Allocate();
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!Splice(at, at, element + L"\r\n", record)) {
        index_.ReleaseLast();
        return false;
    }
    OvXmlElement& e = index_[record];
    e.offset = at;
    e.length = elementLength;
    e.SetTagLengths(startTag, endTag);
    e.SetLevel(index_[parent_].Level() + 1);
    if (current_)
        index_.InsertAfter(current_, record);
    else
        index_.InsertFirst(parent_, record);
    current_ = record;
    child_ = 0;
    nodeLength_ = 0;
    return true;
}
