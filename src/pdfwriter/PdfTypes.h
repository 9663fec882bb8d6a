#pragma once

// The in-memory PDF object tree and the cross-reference table that numbers
// its indirect objects.
//
// Ownership: containers (arrays, dictionaries, streams) own the direct
// objects stored in them; the cross-reference table owns every indirect
// object. Storing an indirect object in a container stores a
// TPdfVirtualObject (a reference "N 0 R") in its place, so an indirect object
// is written once, at top level. Objects are handed over as raw pointers:
// passing a direct object to AddItem/AddObject transfers its ownership.
//
// Every value is written as plain bytes into a std::string; numbers never
// depend on the locale. Misuse raises EPdfInvalidOperation (wrong state or
// wrong object kind) or EPdfInvalidValue (bad value); what() is exactly the
// message.

#include "pdfwriter/PdfError.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class TPdfObjectType { otDirectObject = 0, otIndirectObject = 1, otVirtualObject = 2 };

// Formatting helpers shared by the objects and the canvas.
namespace pdfformat {
// Integer in decimal: "-12", "0", "596".
void appendInt(std::string &out, long long value);
// General decimal form with up to 15 significant digits ("1.5", "10").
void appendReal(std::string &out, double value);
// Canvas numbers: rounded to two decimals, halves away from zero
// (trunc(v * 100 + 0.5) / 100, and - 0.5 for a negative v), and written
// without trailing zeros: 8 -> "8", 0.125 -> "0.13", -0.125 -> "-0.13",
// -141 -> "-141". A result of zero is written "0", never "-0".
void appendFloat2(std::string &out, double value);
std::string float2(double value);
// Literal string "(...)" with ( ) \ CR LF TAB BS FF escaped.
void appendEscapedText(std::string &out, std::string_view bytes);
// Name "/..." with bytes outside 33..126 and # % ( ) / < > [ ] { } as #XX.
void appendEscapedName(std::string &out, std::string_view name);
// True when a CP932 byte string holds at least one double-byte character.
bool hasDoubleByteChar(std::string_view bytes);
} // namespace pdfformat

class TPdfObject;

// Numbers indirect objects and resolves references.
class TPdfObjectMgr {
public:
    virtual ~TPdfObjectMgr() = default;
    // Registers a direct object: it becomes indirect, gets the next number and
    // is owned by the manager from then on.
    virtual void AddObject(TPdfObject *obj) = 0;
    // The indirect object with that number, or nullptr.
    virtual TPdfObject *GetObject(int objectId) const = 0;
};

class TPdfObject {
public:
    TPdfObject() = default;
    TPdfObject(const TPdfObject &) = delete;
    TPdfObject &operator=(const TPdfObject &) = delete;
    virtual ~TPdfObject() = default;

    TPdfObjectType ObjectType() const { return m_objectType; }
    int ObjectNumber() const { return m_objectNumber; }
    int GenerationNumber() const { return m_generationNumber; }

    // Writes the value itself (never "N 0 obj"): a reference for a virtual
    // object, the value for the others.
    void WriteToStream(std::string &out);
    // Writes an indirect object in its top-level layout:
    // "N G obj" CR LF value CR LF "endobj" CR LF.
    void WriteIndirectToStream(std::string &out);

    // Used by the cross-reference table when the object is registered.
    void SetObjectNumber(int number);

protected:
    virtual void InternalWriteStream(std::string &out) = 0;
    void SetVirtual(int number);

private:
    TPdfObjectType m_objectType = TPdfObjectType::otDirectObject;
    int m_objectNumber = -1;
    int m_generationNumber = 0;
};

// Stands in for an indirect object inside a container: written "N 0 R".
class TPdfVirtualObject : public TPdfObject {
public:
    explicit TPdfVirtualObject(int objectId);

protected:
    void InternalWriteStream(std::string &out) override;
};

class TPdfNull : public TPdfObject {
protected:
    void InternalWriteStream(std::string &out) override;
};

class TPdfBoolean : public TPdfObject {
public:
    explicit TPdfBoolean(bool value = false) : m_value(value) {}
    bool Value() const { return m_value; }
    void SetValue(bool value) { m_value = value; }

protected:
    void InternalWriteStream(std::string &out) override;

private:
    bool m_value;
};

class TPdfNumber : public TPdfObject {
public:
    explicit TPdfNumber(std::int32_t value = 0) : m_value(value) {}
    std::int32_t Value() const { return m_value; }
    void SetValue(std::int32_t value) { m_value = value; }

protected:
    void InternalWriteStream(std::string &out) override;

private:
    std::int32_t m_value;
};

class TPdfReal : public TPdfObject {
public:
    explicit TPdfReal(double value = 0) : m_value(value) {}
    double Value() const { return m_value; }
    void SetValue(double value) { m_value = value; }

protected:
    void InternalWriteStream(std::string &out) override;

private:
    double m_value;
};

// A text in CP932 bytes. Written as a literal string when it holds only
// single-byte characters, otherwise as a UTF-16 hex string with the prefix
// FEFF001B656E001B (byte-order mark and language "en").
class TPdfText : public TPdfObject {
public:
    explicit TPdfText(std::string value = {}) : m_value(std::move(value)) {}
    const std::string &Value() const { return m_value; }
    void SetValue(std::string value) { m_value = std::move(value); }

protected:
    void InternalWriteStream(std::string &out) override;

private:
    std::string m_value;
};

// A name, held without its slash.
class TPdfName : public TPdfObject {
public:
    explicit TPdfName(std::string value = {}) : m_value(std::move(value)) {}
    const std::string &Value() const { return m_value; }
    void SetValue(std::string value) { m_value = std::move(value); }

protected:
    void InternalWriteStream(std::string &out) override;

private:
    std::string m_value;
};

// "[" then every element followed by one space, then "]".
class TPdfArray : public TPdfObject {
public:
    explicit TPdfArray(TPdfObjectMgr *objectMgr = nullptr) : m_objectMgr(objectMgr) {}

    // Appends an element. An indirect object is stored as a reference; a
    // direct object becomes owned by the array (the same instance twice is
    // stored once).
    void AddItem(TPdfObject *item);
    // Element i (a reference stays a TPdfVirtualObject), nullptr out of range.
    TPdfObject *Items(std::size_t index) const;
    std::size_t ItemCount() const { return m_items.size(); }
    // Removes and frees every name element whose value is `name`.
    void RemoveName(std::string_view name);
    TPdfObjectMgr *ObjectMgr() const { return m_objectMgr; }

protected:
    void InternalWriteStream(std::string &out) override;

private:
    std::vector<std::unique_ptr<TPdfObject>> m_items;
    TPdfObjectMgr *m_objectMgr;
};

class TPdfDictionaryElement {
public:
    TPdfDictionaryElement(std::string key, TPdfObject *value, bool hidden);
    const std::string &Key() const { return m_key; }
    TPdfObject *Value() const { return m_value.get(); }
    TPdfObject *ReleaseValue() { return m_value.release(); }
    bool IsHidden() const { return m_hidden; }

private:
    std::string m_key;
    std::unique_ptr<TPdfObject> m_value;
    bool m_hidden;
};

class TPdfDictionary;

// Dictionary: keys are unique and written in the order of their last
// setting. Lookups return the indirect object for a stored reference.
class TPdfDictionary : public TPdfObject {
public:
    explicit TPdfDictionary(TPdfObjectMgr *objectMgr = nullptr) : m_objectMgr(objectMgr) {}

    // Stores `value` under `key` (after removing any element with that key),
    // at the end. A null value raises "internal error. wrong object.".
    void AddItem(const std::string &key, TPdfObject *value);
    // The same, but the element is never written (private state).
    void AddInternalItem(const std::string &key, TPdfObject *value);
    void RemoveItem(std::string_view key);

    // Value under `key` (references resolved), nullptr when absent.
    TPdfObject *ValueByName(std::string_view key) const;
    // Typed lookups: nullptr when absent or of another class.
    TPdfNumber *PdfNumberByName(std::string_view key) const;
    TPdfReal *PdfRealByName(std::string_view key) const;
    TPdfText *PdfTextByName(std::string_view key) const;
    TPdfName *PdfNameByName(std::string_view key) const;
    TPdfArray *PdfArrayByName(std::string_view key) const;
    TPdfDictionary *PdfDictionaryByName(std::string_view key) const;

    std::size_t ItemCount() const { return m_items.size(); }
    const TPdfDictionaryElement &Items(std::size_t index) const { return *m_items.at(index); }
    // Name of the Type entry, empty when there is none.
    std::string TypeOf() const;
    TPdfObjectMgr *ObjectMgr() const { return m_objectMgr; }

protected:
    void InternalWriteStream(std::string &out) override;

private:
    void Store(const std::string &key, TPdfObject *value, bool hidden);
    std::vector<std::unique_ptr<TPdfDictionaryElement>> m_items;
    TPdfObjectMgr *m_objectMgr;
};

// Stream: an attribute dictionary (Length, Filter) and a byte buffer.
// Written uncompressed: "<<..>>" CR LF "stream" CR LF bytes LF "endstream".
class TPdfStream : public TPdfObject {
public:
    explicit TPdfStream(TPdfObjectMgr *objectMgr = nullptr);
    TPdfDictionary &Attributes() { return *m_attributes; }
    std::string &Stream() { return m_stream; }
    const std::string &Stream() const { return m_stream; }

protected:
    void InternalWriteStream(std::string &out) override;

private:
    std::unique_ptr<TPdfDictionary> m_attributes;
    std::string m_stream;
};

// One line of the cross-reference table: "n" (in use) or "f" (free).
struct TPdfXrefEntry {
    char EntryType = 'n';
    std::int32_t ByteOffset = -1;
    int GenerationNumber = 0;
    std::unique_ptr<TPdfObject> Value;

    // "0000000011 00000 n" CR LF, 20 bytes; a negative offset as ten zeros.
    void WriteTo(std::string &out) const;
};

// The cross-reference table; owns every indirect object. Entry 0 is the free
// head (generation 65535), so the first object added gets number 1.
class TPdfXref : public TPdfObjectMgr {
public:
    TPdfXref();
    void AddObject(TPdfObject *obj) override;
    TPdfObject *GetObject(int objectId) const override;
    std::size_t ItemCount() const { return m_entries.size(); }
    TPdfXrefEntry &Items(std::size_t index) { return *m_entries.at(index); }

private:
    std::vector<std::unique_ptr<TPdfXrefEntry>> m_entries;
};

// Writes any object's value into a string (for tests and diagnostics).
std::string PdfObjectToString(TPdfObject &obj);

// Holds one dictionary and gives it a typed face (information, catalog,
// fonts). The dictionary itself is owned by the cross-reference table or by
// its container, never by the wrapper.
class TPdfDictionaryWrapper {
public:
    TPdfDictionaryWrapper() = default;
    TPdfDictionaryWrapper(const TPdfDictionaryWrapper &) = delete;
    TPdfDictionaryWrapper &operator=(const TPdfDictionaryWrapper &) = delete;
    virtual ~TPdfDictionaryWrapper() = default;

    virtual void SetData(TPdfDictionary *data) { m_data = data; }
    TPdfDictionary *Data() const { return m_data; }

private:
    TPdfDictionary *m_data = nullptr;
};
