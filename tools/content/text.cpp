#include "content/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <vector>

struct TextFont::Library {
    FT_Library handle = nullptr;
};

namespace {

// UTF-8 to code points; a malformed byte becomes U+FFFD.
std::vector<char32_t> decode_utf8(const std::string& text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0)) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

FT_Face as_face(void* face) { return static_cast<FT_Face>(face); }

}  // namespace

std::string text_font_path(const char* file_name) { return std::string("/usr/share/fonts/truetype/dejavu/") + file_name; }

TextFont::TextFont(const std::string& path) : library_(std::make_unique<Library>()) {
    if (FT_Init_FreeType(&library_->handle) != 0) {
        error_ = "FreeType could not be started";
        return;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library_->handle, path.c_str(), 0, &face) != 0) {
        error_ = "cannot open the font " + path;
        return;
    }
    face_ = face;
}

TextFont::~TextFont() {
    if (face_ != nullptr) FT_Done_Face(as_face(face_));
    if (library_->handle != nullptr) FT_Done_FreeType(library_->handle);
}

float TextFont::measure(const std::string& text, float size_x, float size_y, float tracking) {
    if (face_ == nullptr) return 0.0f;
    FT_Face face = as_face(face_);
    FT_Set_Char_Size(face, static_cast<FT_F26Dot6>(size_x * 64.0f), static_cast<FT_F26Dot6>(size_y * 64.0f), 72, 72);
    float width = 0.0f;
    FT_UInt previous = 0;
    for (char32_t cp : decode_utf8(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, cp);
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNFITTED, &kern);
            width += static_cast<float>(kern.x) / 64.0f;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING) == 0) width += static_cast<float>(face->glyph->advance.x) / 64.0f + tracking;
        previous = glyph;
    }
    return width;
}

void TextFont::draw(Mask& mask, const std::string& text, float x, float y, float size_x, float size_y, TextAlign align,
                    float tracking) {
    if (face_ == nullptr) return;
    const float width = measure(text, size_x, size_y, tracking);
    float pen = align == TextAlign::Left ? x : align == TextAlign::Centre ? x - width * 0.5f : x - width;
    FT_Face face = as_face(face_);
    FT_UInt previous = 0;
    for (char32_t cp : decode_utf8(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, cp);
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNFITTED, &kern);
            pen += static_cast<float>(kern.x) / 64.0f;
        }
        previous = glyph;
        // Sub-pixel placement through the outline translation keeps spacing even.
        const float whole = std::floor(pen);
        FT_Vector shift{static_cast<FT_Pos>((pen - whole) * 64.0f), 0};
        FT_Set_Transform(face, nullptr, &shift);
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int left = static_cast<int>(whole) + slot->bitmap_left;
        const int top = static_cast<int>(std::lround(y)) - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int px = left + static_cast<int>(col), py = top + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= mask.width() || py >= mask.height()) continue;
                const float v = static_cast<float>(bitmap.buffer[static_cast<int>(row) * bitmap.pitch + static_cast<int>(col)]) / 255.0f;
                mask.at(px, py) = std::min(1.0f, mask.at(px, py) + v);
            }
        pen += static_cast<float>(slot->advance.x) / 64.0f + tracking;
    }
    FT_Set_Transform(face, nullptr, nullptr);
}
