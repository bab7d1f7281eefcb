#include "platform/gbk.h"

#include <iconv.h>

#include <cstring>

namespace {

// char32_t in the machine's own byte order; plain "UTF-32" would add a BOM.
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr char kUtf32[] = "UTF-32BE";
#else
constexpr char kUtf32[] = "UTF-32LE";
#endif

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Opened on first use and kept for the process: opening loads a gconv module.
iconv_t gbkConverter() {
    static const iconv_t converter = iconv_open(kUtf32, "GBK");
    return converter;
}

void decodeAsciiOnly(const char* bytes, std::size_t length, std::u32string& out) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out.push_back(byte < 0x80 ? char32_t{byte} : kReplacementCharacter);
    }
}

// Runs iconv over the whole input into out, which has one char32_t of room per
// input byte (no GBK character is shorter than one byte). Returns the number
// of code points written.
std::size_t convert(iconv_t converter, const char* bytes, std::size_t length, char32_t* out) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = length;
    char* next = reinterpret_cast<char*>(out);
    std::size_t outLeft = length * sizeof(char32_t);
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &next, &outLeft) != static_cast<std::size_t>(-1)) {
            break;
        }
        // An invalid or truncated sequence: one replacement, then resync on
        // the following byte. E2BIG cannot happen with one slot per byte.
        std::memcpy(next, &kReplacementCharacter, sizeof(char32_t));
        next += sizeof(char32_t);
        outLeft -= sizeof(char32_t);
        ++in;
        --inLeft;
    }
    return (length * sizeof(char32_t) - outLeft) / sizeof(char32_t);
}

}  // namespace

bool gbkDecoderAvailable() {
    return gbkConverter() != kNoConverter;
}

void decodeGbkInto(const char* bytes, std::u32string& out) {
    const std::size_t length = std::strlen(bytes);
    out.clear();
    if (!gbkDecoderAvailable()) {
        decodeAsciiOnly(bytes, length, out);
        return;
    }
    // resize within the kept capacity does not allocate once warmed up.
    out.resize(length);
    out.resize(convert(gbkConverter(), bytes, length, out.data()));
}
