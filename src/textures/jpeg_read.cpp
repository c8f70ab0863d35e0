#include "textures/jpeg_read.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <memory>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/debug_output.h"
#include "textures/image_file.h"

namespace {
// A progressive file may carry any number of scans; past this many it is refused rather than
// decoded for ever.
constexpr int kMaxScans = 1000;

static_assert(std::endian::native == std::endian::little, "the row expansion reads pixels as little-endian words");

// Decoder state that must outlive a jump back out of libjpeg: it lives in the caller's frame, not
// in the frame that calls setjmp.
struct JpegSession {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

JpegSession& session_of(j_common_ptr cinfo) { return *static_cast<JpegSession*>(cinfo->client_data); }

[[noreturn]] void fail_with(j_common_ptr cinfo) {
    JpegSession& session = session_of(cinfo);
    (*cinfo->err->format_message)(cinfo, session.message);
    std::longjmp(session.jump, 1);
}

void on_error_exit(j_common_ptr cinfo) { fail_with(cinfo); }

bool loses_picture_data(int code) {
    return code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE ||
           code == JWRN_ARITH_BAD_CODE || code == JWRN_MUST_RESYNC;
}

void on_emit_message(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    if (loses_picture_data(cinfo->err->msg_code)) fail_with(cinfo);
    if (cinfo->err->num_warnings++ == 0) {  // report the first harmless warning only
        char text[JMSG_LENGTH_MAX];
        (*cinfo->err->format_message)(cinfo, text);
        debug_output_format("JPEG warning: %s\n", text);
    }
}

void on_output_message(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    debug_output_format("JPEG: %s\n", text);
}

void on_progress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    const auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxScans) {
        JpegSession& session = session_of(cinfo);
        std::snprintf(session.message, sizeof session.message, "more than %d scans", kMaxScans);
        std::longjmp(session.jump, 1);
    }
}

// Four-component pictures arrive as CMYK (YCCK is turned into CMYK by the library). Files with an
// Adobe marker store the inks inverted, as Adobe's programs write them.
void cmyk_row_to_bgr(const JSAMPLE* cmyk, BYTE* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = static_cast<BYTE>((y * k + 127) / 255);
        bgr[1] = static_cast<BYTE>((m * k + 127) / 255);
        bgr[2] = static_cast<BYTE>((c * k + 127) / 255);
    }
}

// Runs libjpeg over `data` into rows of blue, green, red bytes. Everything it touches that has a
// destructor is owned by the caller, so a jump out of the library skips nothing.
HRESULT decode_to_bgr(JpegSession& s, std::span<const BYTE> data, const ImageLimits& limits,
                      std::unique_ptr<BYTE[]>& bgr, DWORD& width, DWORD& height, std::string* reason) {
    if (setjmp(s.jump) != 0) {
        jpeg_destroy_decompress(&s.cinfo);
        image_set_reason(reason, std::string("JPEG: ") + s.message);
        return E_FAIL;
    }
    jpeg_create_decompress(&s.cinfo);
    s.cinfo.mem->max_memory_to_use = static_cast<long>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(limits.max_width) * limits.max_height * 8, 0x7FFFFFFF));
    s.cinfo.progress = &s.progress;
    jpeg_mem_src(&s.cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&s.cinfo, TRUE);

    width = s.cinfo.image_width;
    height = s.cinfo.image_height;
    if (!image_size_acceptable(width, height, limits, reason)) {
        jpeg_destroy_decompress(&s.cinfo);
        return E_FAIL;
    }

    const bool four_components = s.cinfo.num_components == 4;
    s.cinfo.out_color_space = four_components ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&s.cinfo);
    if (s.cinfo.output_width != width || s.cinfo.output_height != height ||
        s.cinfo.output_components != (four_components ? 4 : 3)) {
        std::snprintf(s.message, sizeof s.message, "unexpected output layout");
        std::longjmp(s.jump, 1);
    }

    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    try {
        bgr = std::make_unique_for_overwrite<BYTE[]>(row_bytes * height);
    } catch (const std::exception&) {
        std::snprintf(s.message, sizeof s.message, "out of memory for the decoded rows");
        std::longjmp(s.jump, 1);
    }

    if (four_components) {
        JSAMPARRAY cmyk = (*s.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.cinfo), JPOOL_IMAGE,
                                                       width * 4, 1);
        const bool inverted = s.cinfo.saw_Adobe_marker;
        while (s.cinfo.output_scanline < height) {
            const JDIMENSION y = s.cinfo.output_scanline;
            if (jpeg_read_scanlines(&s.cinfo, cmyk, 1) != 1) break;
            cmyk_row_to_bgr(cmyk[0], bgr.get() + y * row_bytes, width, inverted);
        }
    } else {
        constexpr JDIMENSION kBatch = 16;
        JSAMPROW rows[kBatch];
        while (s.cinfo.output_scanline < height) {
            const JDIMENSION first = s.cinfo.output_scanline;
            const JDIMENSION count = std::min<JDIMENSION>(kBatch, height - first);
            for (JDIMENSION i = 0; i < count; ++i) rows[i] = bgr.get() + (first + i) * row_bytes;
            if (jpeg_read_scanlines(&s.cinfo, rows, count) == 0) break;
        }
    }
    if (s.cinfo.output_scanline < height) {
        std::snprintf(s.message, sizeof s.message, "decoder delivered %u of %u rows",
                      static_cast<unsigned>(s.cinfo.output_scanline), static_cast<unsigned>(height));
        std::longjmp(s.jump, 1);
    }
    jpeg_finish_decompress(&s.cinfo);
    jpeg_destroy_decompress(&s.cinfo);
    return S_OK;
}
}  // namespace

HRESULT jpeg_decode(std::span<const BYTE> data, DecodedImage& image, const ImageLimits& limits,
                    std::string* reason) {
    image.clear();
    JpegSession session;
    std::memset(&session, 0, sizeof session);
    session.cinfo.err = jpeg_std_error(&session.errors);
    session.cinfo.client_data = &session;
    session.errors.error_exit = on_error_exit;
    session.errors.emit_message = on_emit_message;
    session.errors.output_message = on_output_message;
    session.progress.progress_monitor = on_progress;

    std::unique_ptr<BYTE[]> bgr;  // the decoded rows, blue, green, red
    DWORD width = 0;
    DWORD height = 0;
    if (const HRESULT hr = decode_to_bgr(session, data, limits, bgr, width, height, reason); FAILED(hr)) return hr;

    try {
        image.pixels.resize(static_cast<std::size_t>(width) * height);
    } catch (const std::exception&) {
        image.clear();
        image_set_reason(reason, "out of memory for the pixel buffer");
        return E_FAIL;
    }
    image.width = width;
    image.height = height;
    // Each pixel's blue, green, red bytes read as one little-endian word 0x??RRGGBB; shifted up by
    // a byte it is 0xRRGGBB00, and alpha 255 goes below. The last pixel has no byte after it.
    const BYTE* source = bgr.get();
    DWORD* pixels = image.pixels.data();
    const std::size_t count = image.pixels.size();
    for (std::size_t i = 0; i + 1 < count; ++i) {
        DWORD bgrx;
        std::memcpy(&bgrx, source + 3 * i, sizeof bgrx);
        pixels[i] = bgrx << 8 | 0xFFu;
    }
    const BYTE* last = source + 3 * (count - 1);
    pixels[count - 1] = static_cast<DWORD>(last[2]) << 24 | static_cast<DWORD>(last[1]) << 16 |
                        static_cast<DWORD>(last[0]) << 8 | 0xFFu;
    return S_OK;
}

HRESULT jpeg_read(const std::string& path, DecodedImage& image, std::string* reason) {
    image.clear();
    std::vector<BYTE> data;
    if (!image_file_read(path, data, reason)) return E_FAIL;
    return jpeg_decode(data, image, ImageLimits{}, reason);
}
