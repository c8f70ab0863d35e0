// What the loader must make of every third-party picture in the shared test data: each file either
// decodes to the same pixels as an independent decoder (ImageMagick), or lies outside what the loader
// takes and must fail cleanly with a given result code. The reason is given for every entry.
#pragma once

#include <ostream>

#include "platform/win_types.h"

enum class Expect {
    Matches,          // same R, G, B, A bytes as the independent decoder
    MatchesMirrored,  // the same, left and right exchanged: the right-to-left bit is not honoured
    MatchesOther,     // the same as the independent decoder's reading of `oracle_file`
    LoadsUnconverted, // loads as a bitmap of `bits` bits per pixel, which the conversion leaves alone
    Fails,            // refused with `code`
};

struct TestPicture {
    const char* file;  // relative to the shared test data
    Expect expect;
    HRESULT code;      // for Fails
    int bits;          // for LoadsUnconverted
    const char* oracle_file;  // for MatchesOther
    const char* why;
};

// Test names show the file rather than the record's bytes.
inline void PrintTo(const TestPicture& picture, std::ostream* out) { *out << picture.file; }

inline constexpr TestPicture kTestPictures[] = {
    // Bitmaps: 8-bit palettised and 24-bit pictures are converted; other depths load as they are.
    {"bmp/Info_8_Bit.bmp", Expect::Matches, S_OK, 0, nullptr, "6x6 8-bit, rows padded to 8"},
    {"bmp/Info_8_Bit_Top_Down.bmp", Expect::Matches, S_OK, 0, nullptr, "8-bit top-down"},
    {"bmp/Info_R8_G8_B8.bmp", Expect::Matches, S_OK, 0, nullptr, "6x6 24-bit, rows padded to 20"},
    {"bmp/Info_R8_G8_B8_Top_Down.bmp", Expect::Matches, S_OK, 0, nullptr, "24-bit top-down"},
    {"bmp/pal1.bmp", Expect::LoadsUnconverted, S_OK, 1, nullptr, "1-bit: loads, the conversion takes only 8 and 24"},
    {"bmp/pal4.bmp", Expect::LoadsUnconverted, S_OK, 4, nullptr, "4-bit: loads, the conversion takes only 8 and 24"},
    {"bmp/pal8-0.bmp", Expect::Matches, S_OK, 0, nullptr, "colours-used 0 means 256 entries"},
    {"bmp/pal8.bmp", Expect::Matches, S_OK, 0, nullptr, "8-bit, 252 colours, rows of 127 padded to 128"},
    {"bmp/pal8badindex.bmp", Expect::Fails, DDERR_NOTFOUND, 0, nullptr,
     "pixel values beyond its 101-entry colour table"},
    {"bmp/pal8nonsquare.bmp", Expect::Matches, S_OK, 0, nullptr, "unequal resolution fields are ignored"},
    {"bmp/pal8offs.bmp", Expect::Matches, S_OK, 0, nullptr, "pixels start after a gap: the offset is honoured"},
    {"bmp/pal8os2.bmp", Expect::Matches, S_OK, 0, nullptr, "12-byte core header, 3-byte colour entries"},
    {"bmp/pal8oversizepal.bmp", Expect::MatchesOther, S_OK, 0, "bmp/pal8.bmp",
     "colours-used 300: only 256 can be indexed; ImageMagick refuses it, the picture is pal8's"},
    {"bmp/pal8rle.bmp", Expect::Fails, DDERR_NOTFOUND, 0, nullptr, "run-length compression is not read"},
    {"bmp/pal8topdown.bmp", Expect::Matches, S_OK, 0, nullptr, "negative height: top-down rows"},
    {"bmp/pal8v4.bmp", Expect::Matches, S_OK, 0, nullptr, "108-byte header"},
    {"bmp/pal8v5.bmp", Expect::Matches, S_OK, 0, nullptr, "124-byte header"},
    {"bmp/pal8w124.bmp", Expect::Matches, S_OK, 0, nullptr, "no row padding"},
    {"bmp/pal8w125.bmp", Expect::Matches, S_OK, 0, nullptr, "3 bytes of row padding"},
    {"bmp/pal8w126.bmp", Expect::Matches, S_OK, 0, nullptr, "2 bytes of row padding"},
    {"bmp/rgb16.bmp", Expect::LoadsUnconverted, S_OK, 16, nullptr, "16-bit: loads, not converted"},
    {"bmp/rgb24.bmp", Expect::Matches, S_OK, 0, nullptr, "24-bit, rows of 381 padded to 384"},
    {"bmp/rgb24largepal.bmp", Expect::Matches, S_OK, 0, nullptr, "the unused 300-entry palette is skipped"},
    {"bmp/rgb24pal.bmp", Expect::Matches, S_OK, 0, nullptr, "the unused palette is skipped"},
    {"bmp/rgb32.bmp", Expect::LoadsUnconverted, S_OK, 32, nullptr, "32-bit: loads, not converted"},
    {"bmp/vgl_6434_0018a.bmp", Expect::Matches, S_OK, 0, nullptr, "24-bit photo, rows of 357 padded to 360"},

    // TGA: types 2 and 10 without a colour map, 24 or 32 bits.
    {"tga/1x1_l_bl_raw.tga", Expect::Fails, E_FAIL, 0, nullptr, "grey-scale (type 3)"},
    {"tga/200x32_rgb_bl_raw.tga", Expect::Matches, S_OK, 0, nullptr, "type 2, 24-bit, bottom-up"},
    {"tga/200x32_rgb_bl_rle.tga", Expect::Matches, S_OK, 0, nullptr, "type 10, 24-bit, bottom-up"},
    {"tga/200x32_rgb_tl_rle.tga", Expect::Matches, S_OK, 0, nullptr, "type 10, 24-bit, top-down"},
    {"tga/200x32_rgba_bl_raw.tga", Expect::Matches, S_OK, 0, nullptr, "type 2, 32-bit, alpha kept"},
    {"tga/200x32_rgba_bl_rle.tga", Expect::Matches, S_OK, 0, nullptr, "type 10, 32-bit, bottom-up"},
    {"tga/200x32_rgba_tl_raw.tga", Expect::Matches, S_OK, 0, nullptr, "type 2, 32-bit, top-down"},
    {"tga/200x32_rgba_tl_rle.tga", Expect::Matches, S_OK, 0, nullptr, "type 10, 32-bit, top-down"},
    {"tga/b5-unused-cmap.tga", Expect::Fails, E_FAIL, 0, nullptr, "colour-map type 1, even though unused"},
    {"tga/bottom_left.tga", Expect::Matches, S_OK, 0, nullptr, "packets run across row ends"},
    {"tga/bottom_right.tga", Expect::MatchesMirrored, S_OK, 0, nullptr,
     "right-to-left bit set: rows still fill left to right"},
    {"tga/cross_scan_line.tga", Expect::Fails, E_FAIL, 0, nullptr, "grey-scale run-length (type 11)"},
    {"tga/ctc24.tga", Expect::Matches, S_OK, 0, nullptr, "type 10 with a 26-byte ID field and a footer"},
    {"tga/rgba16.tga", Expect::Fails, E_FAIL, 0, nullptr, "16-bit depth is refused, not read as 24"},
    {"tga/tga_id_field.tga", Expect::Matches, S_OK, 0, nullptr, "6-byte ID field skipped"},
    {"tga/top_left.tga", Expect::Matches, S_OK, 0, nullptr, "top-down, packets across row ends"},
    {"tga/top_right.tga", Expect::MatchesMirrored, S_OK, 0, nullptr,
     "right-to-left bit set: rows still fill left to right"},
    {"tga/ucm8.tga", Expect::Fails, E_FAIL, 0, nullptr, "colour-mapped (type 1)"},
    {"tga/utc16.tga", Expect::Fails, E_FAIL, 0, nullptr, "16-bit depth is refused, not read as 24"},
    {"tga/utc24.tga", Expect::Matches, S_OK, 0, nullptr, "type 2, 24-bit, ID field"},
    {"tga/utc32.tga", Expect::Matches, S_OK, 0, nullptr, "type 2, 32-bit whose alpha bytes are all 0, kept"},

    // JPEG: whatever libjpeg decodes in full; any loss of picture data fails.
    {"jpg/16bit-qtables.jpg", Expect::Matches, S_OK, 0, nullptr, "extended sequential, 16-bit tables"},
    {"jpg/empty.jpg", Expect::Fails, E_FAIL, 0, nullptr, "empty file"},
    {"jpg/extraneous-data.jpg", Expect::Matches, S_OK, 0, nullptr, "stray bytes before the end: a warning only"},
    {"jpg/grayscale_16x24_sampling2x2.jpg", Expect::Matches, S_OK, 0, nullptr, "grey with 2x2 sampling"},
    {"jpg/hopper.jpg", Expect::Matches, S_OK, 0, nullptr, "baseline 4:2:0"},
    {"jpg/hopper_gray.jpg", Expect::Matches, S_OK, 0, nullptr, "grey: equal red, green and blue"},
    {"jpg/jpg-cmyk-1.jpg", Expect::Matches, S_OK, 0, nullptr, "Adobe CMYK"},
    {"jpg/jpg-cmyk-2.jpg", Expect::Matches, S_OK, 0, nullptr, "Adobe CMYK"},
    {"jpg/jpg-gray.jpg", Expect::Matches, S_OK, 0, nullptr, "grey"},
    {"jpg/jpg-progressive.jpg", Expect::Matches, S_OK, 0, nullptr, "progressive"},
    {"jpg/jpg-size-15x15.jpg", Expect::Matches, S_OK, 0, nullptr, "partial blocks"},
    {"jpg/jpg-size-17x17.jpg", Expect::Matches, S_OK, 0, nullptr, "partial blocks"},
    {"jpg/jpg-size-1x1.jpg", Expect::Matches, S_OK, 0, nullptr, "one pixel"},
    {"jpg/jpg-size-33x33.jpg", Expect::Matches, S_OK, 0, nullptr, "partial blocks"},
    {"jpg/jpg-size-7x7.jpg", Expect::Matches, S_OK, 0, nullptr, "smaller than one block"},
    {"jpg/missing-sof.jpg", Expect::Fails, E_FAIL, 0, nullptr, "no frame header"},
    {"jpg/non-interleaved-mcu.jpg", Expect::Matches, S_OK, 0, nullptr, "progressive, non-interleaved scans"},
    {"jpg/pil_sample_cmyk.jpg", Expect::Matches, S_OK, 0, nullptr, "Adobe YCCK with restarts"},
    {"jpg/progressive3.jpg", Expect::Matches, S_OK, 0, nullptr, "progressive 4:4:4"},
    {"jpg/restarts.jpg", Expect::Matches, S_OK, 0, nullptr, "restart markers"},
    {"jpg/testimgari.jpg", Expect::Matches, S_OK, 0, nullptr, "arithmetic coding"},
    {"jpg/testorig.jpg", Expect::Matches, S_OK, 0, nullptr, "baseline with partial blocks"},
    {"jpg/truncated_jpeg.jpg", Expect::Fails, E_FAIL, 0, nullptr,
     "cut short: the rest of the picture would be invented"},
};
