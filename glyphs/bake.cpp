// Renders, with FreeType, every character the screen texts can show from
// WenQuanYi Micro Hei at the texts' pixel size into one-bit bitmaps, and
// writes them as the table the game is built with (glyphs/baked_glyphs.h):
//   kestrun_bake_glyphs FONT_FILE OUTPUT
// The characters come from the texts' own GBK bytes, split as the game splits
// them and decoded here, on the build machine, by iconv.
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "glyphs/baked_glyphs.h"
#include "glyphs/gbk.h"
#include "glyphs/packed_bits.h"
#include "glyphs/texts.h"

namespace {

constexpr char kFamily[] = "WenQuanYi Micro Hei";

[[noreturn]] void die(const std::string& message) {
    std::fprintf(stderr, "kestrun_bake_glyphs: %s\n", message.c_str());
    std::exit(1);
}

std::string hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

// A format's characters without its conversions ("%d", "%.0f"), which show
// only numbers.
std::string shownByFormat(const char* format) {
    std::string shown;
    for (const char* c = format; *c != '\0'; ++c) {
        if (*c != '%') {
            shown += *c;
            continue;
        }
        ++c;
        while (*c != '\0' && *c != '%' && std::strchr("diufFeEgGxXs", *c) == nullptr) {
            ++c;
        }
        if (*c == '%') {
            shown += '%';
        } else if (*c == '\0') {
            break;
        }
    }
    return shown;
}

void addCharacters(const char* text, std::set<std::uint16_t>& codes) {
    forEachGbkCharacter(text, [&codes](std::uint16_t code) { codes.insert(code); });
}

std::set<std::uint16_t> charactersShown() {
    std::set<std::uint16_t> codes;
    for (const char* text : kScreenTexts) {
        addCharacters(shownByFormat(text).c_str(), codes);
    }
    addCharacters(kNumberCharacters, codes);
    return codes;
}

// Big-endian UTF-32, so the bytes read the same on any build machine.
char32_t unicodeOf(std::uint16_t code, iconv_t gbk) {
    char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    char* from = code > 0xFF ? in : in + 1;
    std::size_t fromLeft = code > 0xFF ? 2 : 1;
    unsigned char out[4] = {};
    char* to = reinterpret_cast<char*>(out);
    std::size_t toLeft = sizeof out;
    iconv(gbk, nullptr, nullptr, nullptr, nullptr);
    if (iconv(gbk, &from, &fromLeft, &to, &toLeft) == static_cast<std::size_t>(-1) ||
        fromLeft != 0 || toLeft != 0) {
        die("no character has the GBK code " + hex(code));
    }
    return static_cast<char32_t>(out[0]) << 24 | out[1] << 16 | out[2] << 8 | out[3];
}

std::string utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

FT_Face openFace(FT_Library library, const char* path) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, path, 0, &face) != 0) {
        die(std::string("FreeType cannot open ") + path);
    }
    if (face->family_name == nullptr || std::strcmp(face->family_name, kFamily) != 0) {
        die(std::string(path) + " is not " + kFamily);
    }
    if (FT_Set_Pixel_Sizes(face, 0, kTextPixelSize) != 0) {
        die("FreeType cannot size the face");
    }
    return face;
}

// One table entry: the metrics, then the rows of the monochrome bitmap.
void writeGlyph(std::FILE* out, FT_Face face, std::uint16_t code, char32_t unicode) {
    if (FT_Get_Char_Index(face, unicode) == 0 ||
        FT_Load_Char(face, unicode, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0 ||
        face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        die("the font has no one-bit glyph for U+" + hex(unicode));
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    std::fprintf(out, "    // U+%s \"%s\"\n", hex(unicode).c_str(), utf8(unicode).c_str());
    std::fprintf(out, "    {0x%04X, %u, %u, %d, %d, %ld,", code, bitmap.width, bitmap.rows,
                 slot->bitmap_left, slot->bitmap_top, static_cast<long>(slot->advance.x));
    if (bitmap.rows == 0) {
        std::fprintf(out, " \"\"},\n");
        return;
    }
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        std::string line;
        for (unsigned x = 0; x < bitmap.width; ++x) {
            line += packedBitAt(bits, static_cast<int>(x)) ? kBakedInk : kBakedBlank;
        }
        std::fprintf(out, "\n     \"%s\"", line.c_str());
    }
    std::fprintf(out, "},\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrun_bake_glyphs FONT_FILE OUTPUT\n");
        return 2;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        die("FreeType did not initialise");
    }
    const FT_Face face = openFace(library, argv[1]);
    const iconv_t gbk = iconv_open("UTF-32BE", "GBK");
    if (gbk == reinterpret_cast<iconv_t>(-1)) {
        die("this system's iconv has no GBK converter");
    }
    const std::string partial = std::string(argv[2]) + ".partial";
    std::FILE* out = std::fopen(partial.c_str(), "w");
    if (out == nullptr) {
        die("cannot write " + partial);
    }
    std::fprintf(out,
                 "// Made by kestrun_bake_glyphs from %s at %d pixels: do not edit.\n"
                 "// clang-format off\n"
                 "#include \"glyphs/baked_glyphs.h\"\n\n"
                 "const BakedGlyph kBakedGlyphs[] = {\n",
                 kFamily, kTextPixelSize);
    for (std::uint16_t code : charactersShown()) {
        writeGlyph(out, face, code, unicodeOf(code, gbk));
    }
    std::fprintf(
        out, "};\n\nconst int kBakedGlyphCount = sizeof kBakedGlyphs / sizeof kBakedGlyphs[0];\n");
    if (std::fclose(out) != 0 || std::rename(partial.c_str(), argv[2]) != 0) {
        die("cannot write " + std::string(argv[2]));
    }
    iconv_close(gbk);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
}
