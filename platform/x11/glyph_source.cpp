#include "platform/glyph_source.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

struct FontFile {
    std::string path;  // empty: no face found
    int index = 0;     // face within a collection file
};

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
FontFile fileIfCovering(FcPattern* font, const std::u32string& characters) {
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

// The first scalable face fontconfig offers for Simplified Chinese that has
// every one of the characters. A language match alone is not enough:
// fontconfig answers with a Latin-only face when no Chinese font is installed.
FontFile firstCovering(FcConfig* config, const std::u32string& characters) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=zh-cn"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(config, pattern, FcFalse, nullptr, &result);
    FontFile found;
    for (int i = 0; fonts != nullptr && i < fonts->nfont && found.path.empty(); ++i) {
        found = fileIfCovering(fonts->fonts[i], characters);
    }
    if (fonts != nullptr) {
        FcFontSetDestroy(fonts);
    }
    FcPatternDestroy(pattern);
    return found;
}

FontFile findFileCovering(const std::u32string& characters) {
    // A configuration of our own, released right after: the search runs once.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        return {};
    }
    FontFile found = firstCovering(config, characters);
    FcConfigDestroy(config);
    return found;
}

FT_Library library = nullptr;
FT_Face face = nullptr;

void closeFace() {
    if (face != nullptr) {
        FT_Done_Face(face);
        face = nullptr;
    }
}

}  // namespace

bool openFaceCovering(const std::u32string& characters, int pixelSize, std::string& reason) {
    closeFace();
    const FontFile file = findFileCovering(characters);
    if (file.path.empty()) {
        reason = "no installed font has the Chinese characters";
        return false;
    }
    if (library == nullptr && FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        reason = "FreeType did not initialise";
        return false;
    }
    FT_Error status = FT_New_Face(library, file.path.c_str(), file.index, &face);
    if (status == 0) {
        status = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    }
    if (status != 0) {
        closeFace();
        reason = "FreeType cannot use " + file.path + " (error " + std::to_string(status) + ")";
        return false;
    }
    return true;
}

bool rasterizeGlyph(char32_t codePoint, RasterGlyph& glyph) {
    if (face == nullptr ||
        FT_Load_Char(face, codePoint, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0 ||
        face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        return false;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.pitch = bitmap.pitch;  // rendered glyphs run top down: a positive pitch
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
    glyph.rows.assign(bitmap.buffer,
                      bitmap.buffer + static_cast<std::size_t>(glyph.pitch) * glyph.height);
    return true;
}

const char* missingFontAdvice() {
    return "Install the Debian package fonts-wqy-microhei to see them in full.";
}
