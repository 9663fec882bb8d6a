#include "plan/Cp932Codec.h"

#include <cstdint>
#include <iconv.h>
#include <stdexcept>

namespace cp932::codec {
namespace {

// One iconv descriptor per direction and thread, opened on first use.
class Iconv {
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("CP932 conversion is not available on this system");
        }
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    // Converts one buffer; returns false when the input holds a sequence the
    // target cannot take (the state is reset so the next call starts clean).
    bool convert(const char *in, std::size_t inLen, std::string &out)
    {
        char buf[16];
        char *inPtr = const_cast<char *>(in);
        char *outPtr = buf;
        std::size_t outLeft = sizeof buf;
        std::size_t rc = iconv(m_cd, &inPtr, &inLen, &outPtr, &outLeft);
        if (rc == static_cast<std::size_t>(-1) || inLen != 0) {
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            return false;
        }
        out.append(buf, sizeof buf - outLeft);
        return true;
    }

private:
    iconv_t m_cd;
};

Iconv &encoder()
{
    thread_local Iconv cd("CP932", "UTF-32LE");
    return cd;
}

Iconv &decoder()
{
    thread_local Iconv cd("UTF-32LE", "CP932");
    return cd;
}

} // namespace

bool encode(char32_t cp, std::string &out)
{
    const char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                        static_cast<char>((cp >> 16) & 0xFF), static_cast<char>((cp >> 24) & 0xFF)};
    std::string bytes;
    if (!encoder().convert(in, 4, bytes) || bytes.empty()) {
        return false;
    }
    out += bytes;
    return true;
}

bool decode(const char *bytes, std::size_t length, char32_t &cp)
{
    std::string utf32;
    if (!decoder().convert(bytes, length, utf32) || utf32.size() != 4) {
        return false;
    }
    const auto *u = reinterpret_cast<const unsigned char *>(utf32.data());
    cp = static_cast<char32_t>(u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<std::uint32_t>(u[3]) << 24));
    return true;
}

} // namespace cp932::codec
