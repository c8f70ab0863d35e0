// Text for the pictures, set with FreeType from the DejaVu fonts that the build machine has
// (fonts-dejavu-core). A TextFont opens one font file; draw() renders a line of UTF-8 text as
// anti-aliased coverage into a Mask, with separate horizontal and vertical pixel sizes so that text
// keeps its shape on pictures whose pixels are not square on screen.
#pragma once

#include <memory>
#include <string>

#include "content/picture.h"

// Where the DejaVu fonts are installed.
std::string text_font_path(const char* file_name);

enum class TextAlign { Left, Centre, Right };

class TextFont {
public:
    // Opens the font; ok() tells whether it could be opened (error() says why not).
    explicit TextFont(const std::string& path);
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    bool ok() const { return face_ != nullptr; }
    const std::string& error() const { return error_; }

    // Width in pixels of the line at the given size (pixel width and height of the em square).
    float measure(const std::string& text, float size_x, float size_y, float tracking = 0.0f);
    // Draws the line with its baseline at y; x is its left edge, centre or right edge by `align`.
    // tracking adds that many pixels between letters. Coverage is added, clamped to 1.
    void draw(Mask& mask, const std::string& text, float x, float y, float size_x, float size_y,
              TextAlign align = TextAlign::Left, float tracking = 0.0f);

private:
    struct Library;
    std::unique_ptr<Library> library_;
    void* face_ = nullptr;
    std::string error_;
};
