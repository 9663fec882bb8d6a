#include "PdfBuilder.h"

#include "plan/Cp932.h"

#include <cstdio>

namespace pdftest {

std::string sjis(const std::string &utf8) { return cp932::fromUtf8(utf8); }

std::string literal(const std::string &bytes)
{
    std::string out = "(";
    for (char c : bytes) {
        switch (c) {
        case '(': out += "\\("; break;
        case ')': out += "\\)"; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default: out += c;
        }
    }
    return out + ")";
}

static bool hasDoubleByte(const std::string &bytes)
{
    for (char c : bytes) {
        if (cp932::isLeadByte(static_cast<unsigned char>(c)))
            return true;
    }
    return false;
}

std::string shown(const std::string &bytes)
{
    if (!hasDoubleByte(bytes))
        return literal(bytes);
    std::string out = "<";
    char hex[3];
    for (char c : bytes) {
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
        out += hex;
    }
    return out + ">";
}

std::string infoText(const std::string &cp932Bytes)
{
    if (!hasDoubleByte(cp932Bytes))
        return literal(cp932Bytes);
    std::string out = "<FEFF001B656E001B";
    char hex[5];
    for (char16_t unit : cp932::toUtf16(cp932Bytes)) {
        std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(unit));
        out += hex;
    }
    return out + ">";
}

std::string content(const std::vector<TextObject> &objects, bool fontSelection)
{
    std::string out = fontSelection ? "/F0 10 Tf\n" : "";
    for (const TextObject &o : objects) {
        out += "BT\n" + o.x + " " + o.y + " Td\n";
        for (std::size_t i = 0; i < o.lines.size(); ++i) {
            if (i > 0)
                out += "T*\n";
            if (!o.lines[i].empty())
                out += shown(o.lines[i]) + " Tj\n";
        }
        out += "ET\n";
    }
    return out;
}

std::string streamObject(const std::string &data, const std::string &extraKeys)
{
    return "<<\r\n/Length " + std::to_string(data.size()) + "\r\n/Filter []\r\n" + extraKeys + ">>\r\nstream\r\n"
        + data + "\nendstream";
}

std::string dict(const std::vector<std::pair<std::string, std::string>> &entries)
{
    std::string out = "<<\r\n";
    for (const auto &[key, value] : entries)
        out += "/" + key + " " + value + "\r\n";
    return out + ">>";
}

std::string PdfFile::build() const
{
    std::string out = header;
    offsets.clear();
    int maxNumber = 0;
    for (const auto &[number, value] : objects) {
        offsets[number] = out.size();
        const auto head = headOverride.find(number);
        out += (head != headOverride.end() ? head->second : std::to_string(number) + " 0 obj") + "\r\n";
        out += value + "\r\nendobj\r\n";
        maxNumber = std::max(maxNumber, number);
    }
    xrefOffset = out.size();
    auto entry = [this](int number) {
        char line[32];
        const auto it = offsets.find(number);
        if (number == 0 || it == offsets.end())
            std::snprintf(line, sizeof line, "%010d %05d f\r\n", 0, number == 0 ? 65535 : 0);
        else
            std::snprintf(line, sizeof line, "%010zu %05d n\r\n", it->second, 0);
        return std::string(line);
    };
    out += "xref\r\n";
    const int count = maxNumber + 1;
    if (splitAt > 0 && splitAt < count) {
        out += "0 " + std::to_string(splitAt) + "\r\n";
        for (int i = 0; i < splitAt; ++i)
            out += entry(i);
        out += std::to_string(splitAt) + " " + std::to_string(count - splitAt) + "\r\n";
        for (int i = splitAt; i < count; ++i)
            out += entry(i);
    } else {
        out += "0 " + std::to_string(count) + "\r\n";
        for (int i = 0; i < count; ++i)
            out += entry(i);
    }
    std::vector<std::pair<std::string, std::string>> keys = trailer;
    if (defaultTrailer && keys.empty())
        keys = {{"Size", std::to_string(count)}, {"Root", "1 0 R"}, {"Info", "2 0 R"}};
    out += "trailer\r\n" + dict(keys) + "\r\nstartxref\r\n" + std::to_string(xrefOffset) + "\r\n" + eof;
    return out;
}

PdfFile planFile(const std::vector<std::vector<TextObject>> &pages, const PlanOptions &options)
{
    PdfFile file;
    file.header = "%PDF-" + options.version + " \r\n";
    file.objects[1] = dict({{"Type", "/Catalog"}, {"Pages", "3 0 R"}, {"PageMode", "/UseNone"},
                            {"PageLayout", "/SinglePage"}});
    file.objects[2] = dict({{"Producer", "(Ovilant version 1.0)"},
                            {"Author", infoText(sjis(options.author))},
                            {"CreationDate", "(D:20240131143005)"},
                            {"Creator", "()"},
                            {"Keywords", "()"},
                            {"Subject", infoText(sjis(options.subject))},
                            {"Title", "()"},
                            {"ModDate", "(D:20240131143006)"}});
    const int fontNumber = 4 + 2 * static_cast<int>(pages.size());
    std::string kids = "[";
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const int page = 4 + 2 * static_cast<int>(i);
        kids += std::to_string(page) + " 0 R ";
        file.objects[page] = dict({{"Type", "/Page"},
                                   {"Parent", "3 0 R"},
                                   {"MediaBox", "[0 0 596 842 ]"},
                                   {"Resources", "<<\r\n/Font <<\r\n/F0 " + std::to_string(fontNumber)
                                        + " 0 R\r\n>>\r\n/XObject <<\r\n>>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>"},
                                   {"Contents", std::to_string(page + 1) + " 0 R"}});
        file.objects[page + 1] = streamObject(content(pages[i]));
    }
    kids += "]";
    file.objects[3] = dict({{"Type", "/Pages"}, {"Kids", kids}, {"Count", std::to_string(pages.size())}});
    file.objects[fontNumber] = dict({{"Type", "/Font"}, {"Subtype", "/Type1"}, {"Encoding", "/WinAnsiEncoding"},
                                     {"FirstChar", "32"}, {"LastChar", "255"}, {"BaseFont", "/Helvetica"},
                                     {"Name", "/F0"}});
    return file;
}

std::vector<TextObject> planLikePage(int page, int itemsPerPage)
{
    std::vector<TextObject> objects;
    for (int i = 0; i < itemsPerPage; ++i) {
        TextObject o;
        o.x = std::to_string(20 + (i * 37) % 520) + "." + std::to_string(i % 10);
        o.y = std::to_string(800 - (i * 3) % 780) + ".25";
        if (i % 3 == 0)
            o.lines = {sjis("項目") + std::to_string(page) + "-" + std::to_string(i)};
        else if (i % 3 == 1)
            o.lines = {"A"};
        else
            o.lines = {sjis("山田 太郎"), "", "(x) \\ " + std::to_string(i)};
        objects.push_back(o);
    }
    return objects;
}

} // namespace pdftest
