#include "ContentParse.h"

#include <cstdlib>
#include <stdexcept>

std::vector<std::string> streamsOf(std::string_view pdf)
{
    std::vector<std::string> streams;
    std::size_t pos = 0;
    while ((pos = pdf.find("/Length ", pos)) != std::string_view::npos) {
        const std::size_t lengthEnd = pdf.find("\r\n", pos);
        const long length = std::strtol(std::string(pdf.substr(pos + 8, lengthEnd - pos - 8)).c_str(), nullptr, 10);
        const std::size_t start = pdf.find(">>\r\nstream\r\n", pos);
        if (start == std::string_view::npos) {
            throw std::runtime_error("stream keyword missing");
        }
        const std::size_t data = start + 12;
        streams.emplace_back(pdf.substr(data, static_cast<std::size_t>(length)));
        pos = data + static_cast<std::size_t>(length);
    }
    return streams;
}

namespace {

struct Token {
    enum Kind { Number, String, Operator, Other } kind = Other;
    std::string text;
};

std::string unhex(std::string_view hex)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    }
    return out;
}

std::vector<Token> tokenize(std::string_view s)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\n' || c == '\r') {
            ++i;
        } else if (c == '(') {
            std::string text;
            int depth = 1;
            ++i;
            while (i < s.size()) {
                char d = s[i++];
                if (d == '\\') {
                    const char e = s[i++];
                    switch (e) {
                    case 'n':
                        d = '\n';
                        break;
                    case 'r':
                        d = '\r';
                        break;
                    case 't':
                        d = '\t';
                        break;
                    case 'b':
                        d = '\b';
                        break;
                    case 'f':
                        d = '\f';
                        break;
                    default:
                        d = e;
                        break;
                    }
                } else if (d == '(') {
                    ++depth;
                } else if (d == ')' && --depth == 0) {
                    break;
                }
                text += d;
            }
            tokens.push_back({Token::String, text});
        } else if (c == '<') {
            const std::size_t end = s.find('>', i);
            tokens.push_back({Token::String, unhex(s.substr(i + 1, end - i - 1))});
            i = end + 1;
        } else if (c == '[' || c == ']') {
            tokens.push_back({Token::Other, std::string(1, c)});
            ++i;
        } else {
            std::size_t end = i;
            while (end < s.size() && s[end] != ' ' && s[end] != '\n' && s[end] != '\r' && s[end] != '[' &&
                   s[end] != ']' && s[end] != '(' && s[end] != '<') {
                ++end;
            }
            const std::string word(s.substr(i, end - i));
            const bool number = word.find_first_not_of("0123456789.-") == std::string::npos;
            tokens.push_back({number ? Token::Number : Token::Operator, word});
            i = end;
        }
    }
    return tokens;
}

} // namespace

std::vector<TextObject> textObjectsOf(std::string_view content)
{
    std::vector<TextObject> objects;
    std::vector<Token> operands;
    bool inText = false;
    bool lineOpen = false;
    for (const Token &t : tokenize(content)) {
        if (t.kind != Token::Operator) {
            operands.push_back(t);
            continue;
        }
        if (t.text == "BT") {
            objects.emplace_back();
            inText = true;
            lineOpen = false;
        } else if (t.text == "ET") {
            inText = false;
        } else if (inText && t.text == "Td" && operands.size() >= 2) {
            objects.back().x = std::stod(operands[operands.size() - 2].text);
            objects.back().y = std::stod(operands.back().text);
        } else if (inText && t.text == "Tj" && !operands.empty()) {
            if (!lineOpen) {
                objects.back().lines.emplace_back();
            }
            objects.back().lines.back() += operands.back().text;
            lineOpen = true;
        } else if (inText && t.text == "T*") {
            if (!lineOpen) {
                objects.back().lines.emplace_back();
            }
            lineOpen = false;
        }
        operands.clear();
    }
    return objects;
}

int objectCount(std::string_view pdf)
{
    int count = 0;
    for (std::size_t pos = 0; (pos = pdf.find(" 0 obj\r\n", pos)) != std::string_view::npos; ++pos) {
        ++count;
    }
    return count;
}
