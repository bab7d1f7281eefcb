#include "platform/glyph_source.h"

#include <windows.h>

#include <cstdint>

namespace {

// Faces tried in turn, the system's own choice for Chinese last. GDI always
// hands back some face, so each is checked for every character.
const wchar_t* const kFaces[] = {L"Microsoft YaHei", L"SimHei", L"SimSun", L"WenQuanYi Micro Hei",
                                 nullptr};

HDC dc = nullptr;
HFONT font = nullptr;

void closeFace() {
    if (dc != nullptr) {
        DeleteDC(dc);
        dc = nullptr;
    }
    if (font != nullptr) {
        DeleteObject(font);
        font = nullptr;
    }
}

// The characters as UTF-16; false if any lies outside the basic plane,
// which GDI's glyph lookup by WCHAR cannot reach.
bool toUtf16(const std::u32string& characters, std::wstring& wide) {
    for (char32_t c : characters) {
        if (c > 0xFFFF) {
            return false;
        }
        wide.push_back(static_cast<wchar_t>(c));
    }
    return true;
}

bool selectedFaceHasEvery(const std::wstring& wide) {
    std::basic_string<WORD> indices(wide.size(), 0);
    if (GetGlyphIndicesW(dc, wide.c_str(), static_cast<int>(wide.size()), indices.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return false;
    }
    for (WORD index : indices) {
        if (index == 0xFFFF) {
            return false;
        }
    }
    return true;
}

bool trySelecting(const wchar_t* face, int pixelSize, const std::wstring& wide) {
    font = CreateFontW(-pixelSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
    if (font == nullptr) {
        return false;
    }
    SelectObject(dc, font);
    if (selectedFaceHasEvery(wide)) {
        return true;
    }
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    font = nullptr;
    return false;
}

}  // namespace

bool openFaceCovering(const std::u32string& characters, int pixelSize, std::string& reason) {
    closeFace();
    std::wstring wide;
    dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) {
        reason = "GDI gave no device context";
        return false;
    }
    if (toUtf16(characters, wide)) {
        for (const wchar_t* face : kFaces) {
            if (trySelecting(face, pixelSize, wide)) {
                return true;
            }
        }
    }
    closeFace();
    reason = "no installed font has the Chinese characters";
    return false;
}

// GGO_BITMAP rows run top down, each padded to four bytes; the glyph's left
// edge is gmptGlyphOrigin.x from the pen and its top gmptGlyphOrigin.y above
// the baseline.
bool rasterizeGlyph(char32_t codePoint, RasterGlyph& glyph) {
    if (dc == nullptr || codePoint > 0xFFFF) {
        return false;
    }
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS metrics = {};
    const UINT character = static_cast<UINT>(codePoint);
    const DWORD size = GetGlyphOutlineW(dc, character, GGO_BITMAP, &metrics, 0, nullptr, &identity);
    if (size == GDI_ERROR) {
        return false;
    }
    glyph.advance = static_cast<float>(metrics.gmCellIncX);
    glyph.left = metrics.gmptGlyphOrigin.x;
    glyph.top = metrics.gmptGlyphOrigin.y;
    if (size == 0) {  // a blank, such as the space: nothing to draw
        glyph.width = glyph.height = glyph.pitch = 0;
        glyph.rows.clear();
        return true;
    }
    glyph.width = static_cast<int>(metrics.gmBlackBoxX);
    glyph.height = static_cast<int>(metrics.gmBlackBoxY);
    glyph.pitch = (glyph.width + 31) / 32 * 4;
    glyph.rows.assign(size, 0);
    return GetGlyphOutlineW(dc, character, GGO_BITMAP, &metrics, size, glyph.rows.data(),
                            &identity) != GDI_ERROR;
}

const char* missingFontAdvice() {
    return "Add Windows' Chinese (Simplified) supplemental fonts (Settings, Apps, Optional "
           "features) to see them in full.";
}
