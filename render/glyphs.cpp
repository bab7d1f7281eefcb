#include "render/glyphs.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <unordered_map>

namespace {

bool hasEvery(FcCharSet* charset, const std::u32string& characters) {
    for (char32_t c : characters) {
        if (!FcCharSetHasChar(charset, c)) {
            return false;
        }
    }
    return true;
}

bool isScalable(FcPattern* font) {
    FcBool scalable = FcFalse;
    return FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable;
}

// The face a font pattern names, if it is scalable and covers the characters.
FontFace faceIfCovering(FcPattern* font, const std::u32string& characters) {
    FcCharSet* charset = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (!isScalable(font) || FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch ||
        !hasEvery(charset, characters) ||
        FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) {
        return {};
    }
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    return {reinterpret_cast<const char*>(file), index};
}

FontFace firstCovering(FcConfig* config, const std::u32string& characters) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=zh-cn"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(config, pattern, FcFalse, nullptr, &result);
    FontFace found;
    for (int i = 0; fonts != nullptr && i < fonts->nfont && found.path.empty(); ++i) {
        found = faceIfCovering(fonts->fonts[i], characters);
    }
    if (fonts != nullptr) {
        FcFontSetDestroy(fonts);
    }
    FcPatternDestroy(pattern);
    return found;
}

FT_Library library = nullptr;
FT_Face face = nullptr;
std::unordered_map<char32_t, Glyph> glyphs;
int rasterizations = 0;
const Glyph kEmptyGlyph;

void closeFace() {
    if (face != nullptr) {
        FT_Done_Face(face);
        face = nullptr;
    }
    glyphs.clear();
}

// FreeType's one-bit rows run top to bottom; glBitmap wants bottom first.
Glyph glyphFromSlot(FT_GlyphSlot slot) {
    const FT_Bitmap& bitmap = slot->bitmap;
    Glyph glyph;
    GlyphBitmap& ink = glyph.ink;
    ink.width = static_cast<int>(bitmap.width);
    ink.height = static_cast<int>(bitmap.rows);
    ink.xOrigin = static_cast<float>(-slot->bitmap_left);
    ink.yOrigin = static_cast<float>(ink.height - slot->bitmap_top);
    const int rowBytes = (ink.width + 7) / 8;
    ink.bits.resize(static_cast<std::size_t>(rowBytes) * ink.height);
    for (int row = 0; row < ink.height; ++row) {
        const unsigned char* source = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        unsigned char* target =
            ink.bits.data() + static_cast<long>(ink.height - 1 - row) * rowBytes;
        std::copy(source, source + rowBytes, target);
    }
    glyph.outline = outlineAround(ink);
    glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
    return glyph;
}

Glyph rasterize(char32_t codePoint) {
    ++rasterizations;
    if (FT_Load_Char(face, codePoint, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0 ||
        face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        return {};
    }
    return glyphFromSlot(face->glyph);
}

}  // namespace

FontFace findFaceCovering(const std::u32string& characters) {
    // A configuration of our own, released right after: the search runs once.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        return {};
    }
    FontFace found = firstCovering(config, characters);
    FcConfigDestroy(config);
    return found;
}

bool openGlyphFace(const FontFace& file, int pixelSize, std::string& error) {
    closeFace();
    if (library == nullptr && FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        error = "FreeType did not initialise";
        return false;
    }
    FT_Error status = FT_New_Face(library, file.path.c_str(), file.index, &face);
    if (status == 0) {
        status = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    }
    if (status != 0) {
        closeFace();
        error = "FreeType cannot use " + file.path + " (error " + std::to_string(status) + ")";
        return false;
    }
    return true;
}

const Glyph& glyphFor(char32_t codePoint) {
    auto found = glyphs.find(codePoint);
    if (found == glyphs.end()) {
        if (face == nullptr) {
            return kEmptyGlyph;
        }
        found = glyphs.emplace(codePoint, rasterize(codePoint)).first;
    }
    return found->second;
}

int glyphRasterizations() {
    return rasterizations;
}

std::size_t cachedGlyphCount() {
    return glyphs.size();
}
