#include "OvPropertyMap.h"

#include "OvStringFormat.h"
#include "OvStringNumbers.h"
#include "OvXmlDocument.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <new>

namespace {

constexpr int64_t kTokenGrowth = 1024;
constexpr int64_t kMaxOutput = 0x3FFFFFFF;   // longest text the string library makes

int DecimalDigits(int value)
{
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

void OvAppendToken(OvString& output, const wchar_t* text, int length)
{
    if (!text) length = 0;
    else if (length < 0) length = static_cast<int>(wcslen(text));
    const int old = output.Length();
    const int digits = DecimalDigits(length);
    const int64_t total = int64_t(old) + 1 + digits + 1 + length + 1;
    if (total > kMaxOutput) throw std::bad_alloc();
    // Grows in whole steps of 1024 units, by at least half the current capacity, so that
    // appending many tokens does not copy the text over and over.
    int64_t capacity = output.Data()->capacity - 1;
    if (capacity < total) {
        capacity = std::max(total, capacity + capacity / 2);
        capacity = (capacity + kTokenGrowth - 1) / kTokenGrowth * kTokenGrowth;
        if (capacity > kMaxOutput) capacity = total;
    }
    // The text may be a piece of the output itself: hold it while the buffer is rewritten.
    OvString held;
    if (text >= output.c_str() && text <= output.c_str() + old) {
        held = OvString(text, length);
        text = held.c_str();
    }
    wchar_t* out = output.GetBuffer(static_cast<int>(capacity)) + old;
    *out++ = L'(';
    for (int i = digits - 1, n = length; i >= 0; --i, n /= 10) out[i] = static_cast<wchar_t>(L'0' + n % 10);
    out += digits;
    *out++ = L':';
    if (length) wmemcpy(out, text, length);
    out[length] = L')';
    output.ReleaseBuffer(static_cast<int>(total));
}

bool OvReadToken(const wchar_t* text, int length, int& position, OvString& token)
{
    token.Empty();
    if (!text || position < 0 || position >= length) return false;
    int p = position;
    if (text[p] != L'(') return false;
    ++p;
    // The length digits; anything above what is left of the text cannot fit.
    int64_t size = 0;
    for (; p < length && text[p] != L':'; ++p) {
        if (text[p] < L'0' || text[p] > L'9') {
            position = p;
            return false;
        }
        if (size <= length) size = size * 10 + (text[p] - L'0');
    }
    if (p >= length) {
        position = p;
        return false;
    }
    ++p;   // the colon
    if (size + 1 > length - p || text[p + size] != L')') {
        position = p;
        return false;
    }
    const int n = static_cast<int>(size);
    token = OvString(text + p, n);
    position = p + n + 1;
    return true;
}

OvPropertyMap& OvPropertyMap::operator=(OvPropertyMap&& other) noexcept
{
    if (this != &other) {
        delete table_;
        table_ = other.table_;
        other.table_ = nullptr;
    }
    return *this;
}

OvPropertyMap::~OvPropertyMap() { delete table_; }

bool OvPropertyMap::Exists(const wchar_t* key) const { return table_ && table_->Lookup(key); }

OvString OvPropertyMap::GetString(const wchar_t* key, const wchar_t* defaultValue) const
{
    if (table_) {
        if (const OvString* value = table_->Lookup(key)) return *value;
    }
    return OvString(defaultValue);
}

int OvPropertyMap::GetInt(const wchar_t* key, int defaultValue) const
{
    return ParseInt(GetString(key, IntToText(defaultValue)));
}

double OvPropertyMap::GetDouble(const wchar_t* key, double defaultValue) const
{
    return ParseDouble(GetString(key, DoubleToText(defaultValue)));
}

void* OvPropertyMap::GetPointer(const wchar_t* key, void* defaultValue) const
{
    const uint64_t value = ParseHex(GetString(key, HexToText(reinterpret_cast<uintptr_t>(defaultValue), 8)));
    return reinterpret_cast<void*>(static_cast<uintptr_t>(static_cast<uint32_t>(value)));
}

void OvPropertyMap::SetString(const wchar_t* key, const wchar_t* value, bool removeIfEmpty)
{
    if (removeIfEmpty && (!value || !*value)) {
        Remove(key);
        return;
    }
    if (!table_) table_ = new OvStringMap();
    table_->SetAt(key, OvString(value));
}

void OvPropertyMap::SetInt(const wchar_t* key, int value) { SetString(key, IntToText(value), false); }

void OvPropertyMap::SetPointer(const wchar_t* key, void* value)
{
    SetString(key, HexToText(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value)), 8), false);
}

void OvPropertyMap::SetDouble(const wchar_t* key, double value) { SetString(key, DoubleToText(value), false); }

void OvPropertyMap::Clear()
{
    delete table_;
    table_ = nullptr;
}

void OvPropertyMap::Remove(const wchar_t* key)
{
    if (!table_) return;
    table_->RemoveKey(key);
    if (table_->IsEmpty()) Clear();
}

bool OvPropertyMap::CopyFrom(const OvPropertyMap& other)
{
    if (&other == this) return true;
    Clear();
    if (other.IsEmpty()) return true;
    table_ = new OvStringMap();
    OvString key, value;
    for (auto p = other.table_->GetStartPosition(); p;) {
        other.table_->GetNext(p, key, value);
        table_->SetAt(key, value);
    }
    return true;
}

bool OvPropertyMap::IsEqual(const OvPropertyMap& other) const
{
    if (&other == this) return true;
    if (GetCount() != other.GetCount()) return false;
    if (!table_) return true;
    OvString key, value;
    for (auto p = table_->GetStartPosition(); p;) {
        table_->GetNext(p, key, value);
        const OvString* theirs = other.table_->Lookup(key);
        if (!theirs || *theirs != value) return false;
    }
    return true;
}

void OvPropertyMap::Serialize(OvString& output, bool includeItems) const
{
    const int count = includeItems ? GetCount() : 0;
    OvAppendToken(output, IntToText(count));
    if (count == 0) return;
    OvString key, value;
    for (auto p = table_->GetStartPosition(); p;) {
        table_->GetNext(p, key, value);
        OvAppendToken(output, key, key.Length());
        OvAppendToken(output, value, value.Length());
    }
}

void OvPropertyMap::DeserializeAt(const wchar_t* text, int& position, int length)
{
    Clear();
    if (!text) length = 0;
    else if (length < 0) length = static_cast<int>(wcslen(text));
    OvString token;
    OvReadToken(text, length, position, token);
    const int count = ParseInt(token);
    OvString key, value;
    for (int i = 0; i < count; ++i) {
        // Once a read has failed every later one fails too and stores the empty key with the
        // empty value, which the first such store already holds: stop after it.
        const bool keyRead = OvReadToken(text, length, position, key);
        const bool valueRead = keyRead && OvReadToken(text, length, position, value);
        if (!valueRead) value.Empty();
        SetString(key, value, false);
        if (!valueRead) {
            if (keyRead && i + 1 < count) SetString(L"", L"", false);
            break;
        }
    }
}

void OvPropertyMap::Deserialize(const wchar_t* text, int length)
{
    int position = 0;
    DeserializeAt(text, position, length);
}

void OvPropertyMap::SaveXML(OvString& output, const wchar_t* tagName, bool emptyWhenNoItems, double version) const
{
    output.Empty();
    if (emptyWhenNoItems && IsEmpty()) return;
    OvXmlDocument document;
    WriteItems(document);
    const OvString tag(tagName);
    output = OvFormat(L"<%s version=\"%s\">\r\n", tag, DoubleToText(version, 1));
    output += document.GetText();
    output += OvFormat(L"</%s>", tag);
}

bool OvPropertyMap::LoadXML(const wchar_t* text, const wchar_t* tagName, double version)
{
    Clear();
    if (!text || !*text) return true;
    OvXmlDocument document{OvString(text)};
    // The parser is lenient; stored settings that it had to repair are not taken half-read.
    if (!document.IsWellFormed() || !document.GetResult().IsEmpty()) return false;
    if (!document.FindElement(tagName)) return false;
    if (ParseDouble(document.GetAttribute(document.GetCurrentElement(), L"version")) != version) return false;
    document.EnterElement();
    ReadItems(document);
    document.LeaveElement();
    return true;
}

void OvPropertyMap::WriteItems(OvXmlDocument& document) const
{
    if (!table_) return;
    OvString key, value;
    for (auto p = table_->GetStartPosition(); p;) {
        table_->GetNext(p, key, value);
        if (document.AddElement(L"Item", value)) document.SetAttribute(document.GetCurrentElement(), L"Name", key);
    }
}

void OvPropertyMap::ReadItems(OvXmlDocument& document)
{
    Clear();
    // Rewinds to the first Item of the current parent, wherever the cursor stood among its children.
    document.GetTextAtPath(L"Item");
    for (int item = document.GetCurrentElement(); item; item = document.GetCurrentElement()) {
        SetString(document.GetAttribute(item, L"Name"), document.GetElementText(item), false);
        if (!document.FindElement(L"Item")) break;
    }
}

void OvPropertyMap::Dump(OvString& output, const wchar_t* prefix, const wchar_t* suffix) const
{
    output.Empty();
    if (!table_) return;
    OvString key, value;
    for (auto p = table_->GetStartPosition(); p;) {
        table_->GetNext(p, key, value);
        output += OvFormat(L"%s%s: %s%s", prefix, key, value, suffix);
    }
}
