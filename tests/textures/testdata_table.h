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
    const char* why;
    Expect expect = Expect::Matches;
    HRESULT code = S_OK;                // for Fails
    int bits = 0;                       // for LoadsUnconverted
    const char* oracle_file = nullptr;  // for MatchesOther
};

// Test names show the file rather than the record's bytes.
inline void PrintTo(const TestPicture& picture, std::ostream* out) { *out << picture.file; }

inline constexpr TestPicture kTestPictures[] = {
    // Bitmaps: 8-bit palettised and 24-bit pictures are converted; other depths load as they are.
    {"bmp/Info_8_Bit.bmp", "6x6 8-bit, rows padded to 8"}, {"bmp/Info_8_Bit_Top_Down.bmp", "8-bit top-down"},
    {"bmp/Info_R8_G8_B8.bmp", "6x6 24-bit, rows padded to 20"}, {"bmp/Info_R8_G8_B8_Top_Down.bmp", "24-bit top-down"},
    {"bmp/pal1.bmp", "1-bit: loads, the conversion takes only 8 and 24", Expect::LoadsUnconverted, S_OK, 1},
    {"bmp/pal4.bmp", "4-bit: loads, the conversion takes only 8 and 24", Expect::LoadsUnconverted, S_OK, 4},
    {"bmp/pal8-0.bmp", "colours-used 0 means 256 entries"},
    {"bmp/pal8.bmp", "8-bit, 252 colours, rows of 127 padded to 128"},
    {"bmp/pal8badindex.bmp", "pixel values beyond its 101-entry colour table", Expect::Fails, DDERR_NOTFOUND},
    {"bmp/pal8nonsquare.bmp", "unequal resolution fields are ignored"},
    {"bmp/pal8offs.bmp", "pixels start after a gap: the offset is honoured"},
    {"bmp/pal8os2.bmp", "12-byte core header, 3-byte colour entries"},
    {"bmp/pal8oversizepal.bmp",
     "colours-used 300: only 256 can be indexed; ImageMagick refuses it, the picture is pal8's",
     Expect::MatchesOther, S_OK, 0, "bmp/pal8.bmp"},
    {"bmp/pal8rle.bmp", "run-length compression is not read", Expect::Fails, DDERR_NOTFOUND},
    {"bmp/pal8topdown.bmp", "negative height: top-down rows"},
    {"bmp/pal8v4.bmp", "108-byte header"}, {"bmp/pal8v5.bmp", "124-byte header"},
    {"bmp/pal8w124.bmp", "no row padding"}, {"bmp/pal8w125.bmp", "3 bytes of row padding"},
    {"bmp/pal8w126.bmp", "2 bytes of row padding"},
    {"bmp/rgb16.bmp", "16-bit: loads, not converted", Expect::LoadsUnconverted, S_OK, 16},
    {"bmp/rgb24.bmp", "24-bit, rows of 381 padded to 384"},
    {"bmp/rgb24largepal.bmp", "unused 300-entry palette skipped"}, {"bmp/rgb24pal.bmp", "unused palette skipped"},
    {"bmp/rgb32.bmp", "32-bit: loads, not converted", Expect::LoadsUnconverted, S_OK, 32},
    {"bmp/vgl_6434_0018a.bmp", "24-bit photo, rows of 357 padded to 360"},

    // TGA: types 2 and 10 without a colour map, 24 or 32 bits.
    {"tga/1x1_l_bl_raw.tga", "grey-scale (type 3)", Expect::Fails, E_FAIL},
    // 200x32: type 2 (raw) or 10 (run-length), 24 or 32 bits (alpha kept), bottom-up (bl) or top-down (tl).
    {"tga/200x32_rgb_bl_raw.tga", "raw"}, {"tga/200x32_rgb_bl_rle.tga", "rle"}, {"tga/200x32_rgb_tl_rle.tga", "rle"},
    {"tga/200x32_rgba_bl_raw.tga", "raw"}, {"tga/200x32_rgba_bl_rle.tga", "rle"}, {"tga/200x32_rgba_tl_raw.tga", "raw"},
    {"tga/200x32_rgba_tl_rle.tga", "rle"},
    {"tga/b5-unused-cmap.tga", "colour-map type 1, even though unused", Expect::Fails, E_FAIL},
    {"tga/bottom_left.tga", "packets run across row ends"},
    {"tga/bottom_right.tga", "right-to-left bit set: rows still fill left to right", Expect::MatchesMirrored},
    {"tga/cross_scan_line.tga", "grey-scale run-length (type 11)", Expect::Fails, E_FAIL},
    {"tga/ctc24.tga", "type 10 with a 26-byte ID field and a footer"},
    {"tga/rgba16.tga", "16-bit depth is refused, not read as 24", Expect::Fails, E_FAIL},
    {"tga/tga_id_field.tga", "6-byte ID field skipped"},
    {"tga/top_left.tga", "top-down, packets across row ends"},
    {"tga/top_right.tga", "right-to-left bit set: rows still fill left to right", Expect::MatchesMirrored},
    {"tga/ucm8.tga", "colour-mapped (type 1)", Expect::Fails, E_FAIL},
    {"tga/utc16.tga", "16-bit depth is refused, not read as 24", Expect::Fails, E_FAIL},
    {"tga/utc24.tga", "type 2, 24-bit, ID field"},
    {"tga/utc32.tga", "type 2, 32-bit whose alpha bytes are all 0, kept"},

    // JPEG: whatever libjpeg decodes in full; any loss of picture data fails.
    {"jpg/16bit-qtables.jpg", "extended sequential, 16-bit tables"},
    {"jpg/empty.jpg", "empty file", Expect::Fails, E_FAIL},
    {"jpg/extraneous-data.jpg", "stray bytes before the end: a warning only"},
    {"jpg/grayscale_16x24_sampling2x2.jpg", "grey with 2x2 sampling"},
    {"jpg/hopper.jpg", "baseline 4:2:0"}, {"jpg/hopper_gray.jpg", "grey: equal red, green and blue"},
    {"jpg/jpg-cmyk-1.jpg", "Adobe CMYK"}, {"jpg/jpg-cmyk-2.jpg", "Adobe CMYK"}, {"jpg/jpg-gray.jpg", "grey"},
    {"jpg/jpg-progressive.jpg", "progressive"}, {"jpg/jpg-size-1x1.jpg", "one pixel"},
    {"jpg/jpg-size-15x15.jpg", "partial blocks"}, {"jpg/jpg-size-17x17.jpg", "partial blocks"},
    {"jpg/jpg-size-33x33.jpg", "partial blocks"}, {"jpg/jpg-size-7x7.jpg", "smaller than one block"},
    {"jpg/missing-sof.jpg", "no frame header", Expect::Fails, E_FAIL},
    {"jpg/non-interleaved-mcu.jpg", "progressive, non-interleaved scans"},
    {"jpg/pil_sample_cmyk.jpg", "Adobe YCCK with restarts"},
    {"jpg/progressive3.jpg", "progressive 4:4:4"}, {"jpg/restarts.jpg", "restart markers"},
    {"jpg/testimgari.jpg", "arithmetic coding"}, {"jpg/testorig.jpg", "baseline with partial blocks"},
    {"jpg/truncated_jpeg.jpg", "cut short: the rest of the picture would be invented", Expect::Fails, E_FAIL},
};
