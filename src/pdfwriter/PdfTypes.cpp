#include "pdfwriter/PdfTypes.h"

#include "plan/Cp932.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

void appendHexByte(std::string &out, unsigned char b)
{
    out.push_back(kHexDigits[b >> 4]);
    out.push_back(kHexDigits[b & 0x0F]);
}

// Shortest fixed-notation digits that read back as `value`.
void appendFixed(std::string &out, double value)
{
    std::array<char, 400> buf{};
    auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    out.append(buf.data(), result.ptr);
}

} // namespace

namespace pdfformat {

void appendInt(std::string &out, long long value)
{
    std::array<char, 24> buf{};
    auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    out.append(buf.data(), result.ptr);
}

void appendReal(std::string &out, double value)
{
    if (!std::isfinite(value)) {
        out.push_back('0');
        return;
    }
    if (value == 0) {
        out.push_back('0');
        return;
    }
    std::array<char, 64> buf{};
    auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 15);
    out.append(buf.data(), result.ptr);
}

void appendFloat2(std::string &out, double value)
{
    if (!std::isfinite(value)) {
        out.push_back('0');
        return;
    }
    // Round to the second decimal by adding one half and truncating toward
    // zero; negative values subtract the half so that they round like their
    // positive mirror (-141 stays -141, -0.004 gives 0, never "-0").
    const double scaled = std::trunc(value * 100 + (value < 0 ? -0.5 : 0.5));
    if (std::fabs(scaled) < 9.0e15) {
        const long long hundredths = static_cast<long long>(scaled);
        if (hundredths % 100 == 0) {
            appendInt(out, hundredths / 100);
            return;
        }
        appendFixed(out, static_cast<double>(hundredths) / 100);
        return;
    }
    appendFixed(out, scaled / 100);
}

std::string float2(double value)
{
    std::string s;
    appendFloat2(s, value);
    return s;
}

void appendEscapedText(std::string &out, std::string_view bytes)
{
    out.push_back('(');
    for (char ch : bytes) {
        switch (ch) {
        case '(': out += "\\("; break;
        case ')': out += "\\)"; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default: out.push_back(ch); break;
        }
    }
    out.push_back(')');
}

void appendEscapedName(std::string &out, std::string_view name)
{
    static constexpr std::string_view kDelimiters = "#%()/<>[]{}";
    out.push_back('/');
    for (char ch : name) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 33 || b > 126 || kDelimiters.find(ch) != std::string_view::npos) {
            out.push_back('#');
            appendHexByte(out, b);
        } else {
            out.push_back(ch);
        }
    }
}

bool hasDoubleByteChar(std::string_view bytes)
{
    // Scanning byte by byte finds the same first lead byte as scanning by
    // characters: every byte before it is a single-byte character.
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char ch) { return cp932::isLeadByte(static_cast<unsigned char>(ch)); });
}

} // namespace pdfformat

// ---------------------------------------------------------------------------

void TPdfObject::WriteToStream(std::string &out)
{
    InternalWriteStream(out);
}

void TPdfObject::WriteIndirectToStream(std::string &out)
{
    if (m_objectType != TPdfObjectType::otIndirectObject) {
        throw EPdfInvalidOperation("internal error wrong object type");
    }
    pdfformat::appendInt(out, m_objectNumber);
    out.push_back(' ');
    pdfformat::appendInt(out, m_generationNumber);
    out += " obj\r\n";
    InternalWriteStream(out);
    out += "\r\nendobj\r\n";
}

void TPdfObject::SetObjectNumber(int number)
{
    m_objectNumber = number;
    m_objectType = TPdfObjectType::otIndirectObject;
}

void TPdfObject::SetVirtual(int number)
{
    m_objectNumber = number;
    m_objectType = TPdfObjectType::otVirtualObject;
}

TPdfVirtualObject::TPdfVirtualObject(int objectId)
{
    if (objectId <= 0) {
        throw EPdfError("virtualObject must be create by CreateVirtual method.");
    }
    SetVirtual(objectId);
}

void TPdfVirtualObject::InternalWriteStream(std::string &out)
{
    pdfformat::appendInt(out, ObjectNumber());
    out.push_back(' ');
    pdfformat::appendInt(out, GenerationNumber());
    out += " R";
}

void TPdfNull::InternalWriteStream(std::string &out)
{
    out += "null";
}

void TPdfBoolean::InternalWriteStream(std::string &out)
{
    out += m_value ? "true" : "false";
}

void TPdfNumber::InternalWriteStream(std::string &out)
{
    pdfformat::appendInt(out, m_value);
}

void TPdfReal::InternalWriteStream(std::string &out)
{
    pdfformat::appendReal(out, m_value);
}

void TPdfText::InternalWriteStream(std::string &out)
{
    if (!pdfformat::hasDoubleByteChar(m_value)) {
        pdfformat::appendEscapedText(out, m_value);
        return;
    }
    // Byte-order mark and the language escape for "en", then UTF-16BE.
    out += "<FEFF001B656E001B";
    for (char16_t unit : cp932::toUtf16(m_value)) {
        appendHexByte(out, static_cast<unsigned char>(unit >> 8));
        appendHexByte(out, static_cast<unsigned char>(unit & 0xFF));
    }
    out.push_back('>');
}

void TPdfName::InternalWriteStream(std::string &out)
{
    pdfformat::appendEscapedName(out, m_value);
}

// ---------------------------------------------------------------------------

void TPdfArray::AddItem(TPdfObject *item)
{
    if (item == nullptr) {
        throw EPdfInvalidValue("internal error. wrong object.");
    }
    if (item->ObjectType() == TPdfObjectType::otIndirectObject) {
        m_items.push_back(std::make_unique<TPdfVirtualObject>(item->ObjectNumber()));
        return;
    }
    const bool held = std::any_of(m_items.begin(), m_items.end(), [item](const auto &p) { return p.get() == item; });
    if (!held) {
        m_items.emplace_back(item);
    }
}

TPdfObject *TPdfArray::Items(std::size_t index) const
{
    return index < m_items.size() ? m_items[index].get() : nullptr;
}

void TPdfArray::RemoveName(std::string_view name)
{
    std::erase_if(m_items, [name](const std::unique_ptr<TPdfObject> &p) {
        const auto *n = dynamic_cast<const TPdfName *>(p.get());
        return n != nullptr && n->Value() == name;
    });
}

void TPdfArray::InternalWriteStream(std::string &out)
{
    out.push_back('[');
    for (const auto &item : m_items) {
        item->WriteToStream(out);
        out.push_back(' ');
    }
    out.push_back(']');
}

// ---------------------------------------------------------------------------

TPdfDictionaryElement::TPdfDictionaryElement(std::string key, TPdfObject *value, bool hidden)
    : m_key(std::move(key)), m_value(value), m_hidden(hidden)
{
}

void TPdfDictionary::Store(const std::string &key, TPdfObject *value, bool hidden)
{
    if (value == nullptr) {
        throw EPdfInvalidValue("internal error. wrong object.");
    }
    std::unique_ptr<TPdfObject> stored;
    if (value->ObjectType() == TPdfObjectType::otIndirectObject) {
        stored = std::make_unique<TPdfVirtualObject>(value->ObjectNumber());
    } else {
        stored.reset(value);
    }
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if ((*it)->Key() == key) {
            // Storing the value that is already there again must not free it.
            if ((*it)->Value() == stored.get()) {
                (*it)->ReleaseValue();
            }
            m_items.erase(it);
            break;
        }
    }
    m_items.push_back(std::make_unique<TPdfDictionaryElement>(key, stored.release(), hidden));
}

void TPdfDictionary::AddItem(const std::string &key, TPdfObject *value)
{
    Store(key, value, false);
}

void TPdfDictionary::AddInternalItem(const std::string &key, TPdfObject *value)
{
    Store(key, value, true);
}

void TPdfDictionary::RemoveItem(std::string_view key)
{
    std::erase_if(m_items, [key](const auto &e) { return e->Key() == key; });
}

TPdfObject *TPdfDictionary::ValueByName(std::string_view key) const
{
    for (const auto &e : m_items) {
        if (e->Key() == key) {
            TPdfObject *value = e->Value();
            if (value->ObjectType() == TPdfObjectType::otVirtualObject) {
                return m_objectMgr != nullptr ? m_objectMgr->GetObject(value->ObjectNumber()) : nullptr;
            }
            return value;
        }
    }
    return nullptr;
}

TPdfNumber *TPdfDictionary::PdfNumberByName(std::string_view key) const
{
    return dynamic_cast<TPdfNumber *>(ValueByName(key));
}

TPdfReal *TPdfDictionary::PdfRealByName(std::string_view key) const
{
    return dynamic_cast<TPdfReal *>(ValueByName(key));
}

TPdfText *TPdfDictionary::PdfTextByName(std::string_view key) const
{
    return dynamic_cast<TPdfText *>(ValueByName(key));
}

TPdfName *TPdfDictionary::PdfNameByName(std::string_view key) const
{
    return dynamic_cast<TPdfName *>(ValueByName(key));
}

TPdfArray *TPdfDictionary::PdfArrayByName(std::string_view key) const
{
    return dynamic_cast<TPdfArray *>(ValueByName(key));
}

TPdfDictionary *TPdfDictionary::PdfDictionaryByName(std::string_view key) const
{
    return dynamic_cast<TPdfDictionary *>(ValueByName(key));
}

std::string TPdfDictionary::TypeOf() const
{
    const TPdfName *type = PdfNameByName("Type");
    return type != nullptr ? type->Value() : std::string();
}

void TPdfDictionary::InternalWriteStream(std::string &out)
{
    out += "<<\r\n";
    for (const auto &e : m_items) {
        if (e->IsHidden()) {
            continue;
        }
        pdfformat::appendEscapedName(out, e->Key());
        out.push_back(' ');
        e->Value()->WriteToStream(out);
        out += "\r\n";
    }
    out += ">>";
}

// ---------------------------------------------------------------------------

TPdfStream::TPdfStream(TPdfObjectMgr *objectMgr) : m_attributes(std::make_unique<TPdfDictionary>(objectMgr))
{
    m_attributes->AddItem("Length", new TPdfNumber(0));
    m_attributes->AddItem("Filter", new TPdfArray(objectMgr));
}

void TPdfStream::InternalWriteStream(std::string &out)
{
    // Nothing is ever compressed, so a FlateDecode filter must not be named.
    if (TPdfArray *filter = m_attributes->PdfArrayByName("Filter")) {
        filter->RemoveName("FlateDecode");
    }
    if (TPdfNumber *length = m_attributes->PdfNumberByName("Length")) {
        length->SetValue(static_cast<std::int32_t>(m_stream.size()));
    } else {
        m_attributes->AddItem("Length", new TPdfNumber(static_cast<std::int32_t>(m_stream.size())));
    }
    m_attributes->WriteToStream(out);
    out += "\r\nstream\r\n";
    out += m_stream;
    out += "\nendstream";
}

// ---------------------------------------------------------------------------

void TPdfXrefEntry::WriteTo(std::string &out) const
{
    char line[21];
    const long long offset = ByteOffset < 0 ? 0 : ByteOffset;
    std::snprintf(line, sizeof line, "%010lld %05d %c", offset, GenerationNumber, EntryType);
    out.append(line, 18);
    out += "\r\n";
}

TPdfXref::TPdfXref()
{
    auto head = std::make_unique<TPdfXrefEntry>();
    head->EntryType = 'f';
    head->ByteOffset = -1;
    head->GenerationNumber = 65535;
    m_entries.push_back(std::move(head));
}

void TPdfXref::AddObject(TPdfObject *obj)
{
    if (obj == nullptr || obj->ObjectType() != TPdfObjectType::otDirectObject) {
        throw EPdfInvalidOperation("AddObject --wrong object type.");
    }
    auto entry = std::make_unique<TPdfXrefEntry>();
    entry->EntryType = 'n';
    entry->GenerationNumber = obj->GenerationNumber();
    entry->Value.reset(obj);
    obj->SetObjectNumber(static_cast<int>(m_entries.size()));
    m_entries.push_back(std::move(entry));
}

TPdfObject *TPdfXref::GetObject(int objectId) const
{
    if (objectId < 0 || static_cast<std::size_t>(objectId) >= m_entries.size()) {
        return nullptr;
    }
    return m_entries[static_cast<std::size_t>(objectId)]->Value.get();
}

std::string PdfObjectToString(TPdfObject &obj)
{
    std::string out;
    obj.WriteToStream(out);
    return out;
}
