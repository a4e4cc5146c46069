#pragma once
// OvPropertyMap: a flat map of named text values with typed accessors that store numbers as
// text, a length-prefixed token form and a tagged XML form.
//
// The table is created by the first store and destroyed when the map becomes empty, so a map
// that was never written costs one pointer. Keys ignore case and keep the letter case of their
// first store; values are exact.

#include "OvString.h"
#include "OvStringMap.h"

class OvXmlDocument;

class OvPropertyMap {
public:
    OvPropertyMap() = default;
    OvPropertyMap(const OvPropertyMap& other) { CopyFrom(other); }
    OvPropertyMap(OvPropertyMap&& other) noexcept : table_(other.table_) { other.table_ = nullptr; }
    OvPropertyMap& operator=(const OvPropertyMap& other)
    {
        CopyFrom(other);
        return *this;
    }
    OvPropertyMap& operator=(OvPropertyMap&& other) noexcept;
    ~OvPropertyMap();

    virtual bool Exists(const wchar_t* key) const;
    // The stored value; else a copy of the default; else empty text.
    virtual OvString GetString(const wchar_t* key, const wchar_t* defaultValue = nullptr) const;
    // Decimal parse of the stored text (an empty stored value reads 0, not the default).
    virtual int GetInt(const wchar_t* key, int defaultValue = 0) const;
    // Double parse of the stored text; '.' and ',' are both read as the decimal point.
    virtual double GetDouble(const wchar_t* key, double defaultValue = 0) const;
    // Hexadecimal parse of the stored text (an optional "0x", either letter case).
    virtual void* GetPointer(const wchar_t* key, void* defaultValue = nullptr) const;
    // With removeIfEmpty, an empty value removes the key instead of storing it.
    virtual void SetString(const wchar_t* key, const wchar_t* value, bool removeIfEmpty = false);
    virtual void SetInt(const wchar_t* key, int value);
    // At least 8 upper-case hexadecimal digits, no prefix.
    virtual void SetPointer(const wchar_t* key, void* value);
    // The double writer: the locale's decimal separator, shortest fraction.
    virtual void SetDouble(const wchar_t* key, double value);
    virtual void Clear();
    virtual void Remove(const wchar_t* key);
    // Replaces the items with those of other, stored in other's iteration order; always true.
    virtual bool CopyFrom(const OvPropertyMap& other);
    // Same number of items, and every key of this map is in other with exactly the same value.
    virtual bool IsEqual(const OvPropertyMap& other) const;
    // Appends "(n:count)" and a key token and a value token per item; count 0 without the items.
    virtual void Serialize(OvString& output, bool includeItems = true) const;
    // Clears, then reads the tokens at position (moved past what was read). A length of -1 reads
    // up to the terminator; nothing outside text[0, length) is read. After a malformed token the
    // remaining reads fail, which stores one item with the empty key.
    virtual void DeserializeAt(const wchar_t* text, int& position, int length = -1);
    virtual void Deserialize(const wchar_t* text, int length = -1);
    // Replaces output with the tagged text: "<tag version="v">" and a line break, one Item
    // element per item in iteration order, "</tag>". The version has one decimal and the
    // locale's separator. Empty output instead when emptyWhenNoItems is set and there are no items.
    virtual void SaveXML(OvString& output, const wchar_t* tagName, bool emptyWhenNoItems, double version) const;
    // Clears, then reads the Item elements of the top-level element named tagName whose
    // "version" attribute reads (either separator) as version. Empty text is an empty map (true).
    // A document with any parse fault, a missing element or another version gives false and an
    // empty map.
    virtual bool LoadXML(const wchar_t* text, const wchar_t* tagName, double version);
    // Adds an Item element with the value as text and the key as its Name attribute per item,
    // after the document's current element.
    virtual void WriteItems(OvXmlDocument& document) const;
    // Clears, then stores the Name attribute and the text of every Item child of the document's
    // current parent, in document order; a later key replaces an earlier one.
    virtual void ReadItems(OvXmlDocument& document);
    // Concatenation of prefix, key, ": ", value and suffix over the items.
    virtual void Dump(OvString& output, const wchar_t* prefix, const wchar_t* suffix) const;

    int GetCount() const { return table_ ? table_->GetCount() : 0; }
    bool IsEmpty() const { return GetCount() == 0; }
    // The table, null while the map is empty.
    const OvStringMap* GetTable() const { return table_; }

private:
    OvStringMap* table_ = nullptr;
};

// Appends one length-prefixed token "(length:text)" to output; capacity grows in 1024-unit steps.
void OvAppendToken(OvString& output, const wchar_t* text, int length = -1);

// Reads the token at position in text[0, length). On success returns true with its text and the
// position past it; on failure returns false with empty text and the position where the scan
// stopped. A position outside the text fails without moving.
bool OvReadToken(const wchar_t* text, int length, int& position, OvString& token);
