#include "core/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>

#include <jerror.h>
#include <jpeglib.h>

namespace tarvel {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. It jumps back
// to the setjmp of the step that called into libjpeg; that step's frame holds nothing with a
// destructor, so the jump skips only libjpeg's own C frames.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

extern "C" void OnJpegError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (truncated data among them) are not the user's concern.
extern "C" void OnJpegMessage(j_common_ptr, int) {}

// The decompressor and its error manager; destroyed once control is back in C++.
class Decompressor {
  public:
    Decompressor() {
        cinfo_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = OnJpegError;
        errors_.pub.emit_message = OnJpegMessage;
    }
    ~Decompressor() { jpeg_destroy_decompress(&cinfo_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct& info() { return cinfo_; }
    std::jmp_buf& jump() { return errors_.jump; }
    int lastCode() const { return errors_.pub.msg_code; }

  private:
    jpeg_decompress_struct cinfo_{};
    ErrorManager errors_{};
};

// Each step returns 0 on success or libjpeg's message code. Only trivial objects live here.
int OpenAndReadHeader(Decompressor& d, std::span<const std::uint8_t> file) {
    jpeg_decompress_struct* cinfo = &d.info();
    if (setjmp(d.jump()) != 0) {
        return d.lastCode();
    }
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(cinfo, TRUE);
    return 0;
}

int StartDecompress(Decompressor& d, bool quantise) {
    jpeg_decompress_struct* cinfo = &d.info();
    if (setjmp(d.jump()) != 0) {
        return d.lastCode();
    }
    cinfo->dct_method = JDCT_FLOAT;
    cinfo->out_color_space = JCS_RGB;
    cinfo->scale_num = 1;
    cinfo->scale_denom = 1;
    cinfo->do_block_smoothing = TRUE;
    if (quantise) {
        cinfo->quantize_colors = TRUE;
        cinfo->desired_number_of_colors = 236;
    }
    jpeg_start_decompress(cinfo);
    return 0;
}

int ReadRows(Decompressor& d, std::uint8_t* pixels, std::size_t stride) {
    jpeg_decompress_struct* cinfo = &d.info();
    if (setjmp(d.jump()) != 0) {
        return d.lastCode();
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = pixels + cinfo->output_scanline * stride;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    return 0;
}

int Finish(Decompressor& d) {
    if (setjmp(d.jump()) != 0) {
        return d.lastCode();
    }
    jpeg_finish_decompress(&d.info());
    return 0;
}

void Check(int code) {
    if (code != 0) {
        throw JpegError(code);
    }
}

std::size_t RoundUpTo4(std::size_t bytes) {
    return (bytes + 3) & ~std::size_t{3};
}

} // namespace

JpegError::JpegError(int code)
    : std::runtime_error("JPEG error #" + std::to_string(code)), code_(code) {}

JpegHeader ReadJpegHeader(std::span<const std::uint8_t> file) {
    Decompressor d;
    Check(OpenAndReadHeader(d, file));
    const jpeg_decompress_struct& cinfo = d.info();
    return {static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height),
            cinfo.num_components};
}

DecodedImage DecodeJpeg(std::span<const std::uint8_t> file, bool quantise) {
    Decompressor d;
    Check(OpenAndReadHeader(d, file));
    const jpeg_decompress_struct& cinfo = d.info();
    const std::size_t width = cinfo.image_width;
    const std::size_t height = cinfo.image_height;
    if (width == 0 || height == 0 || width > kMaxJpegSide || height > kMaxJpegSide ||
        width * height > std::numeric_limits<std::size_t>::max() / 3) {
        throw JpegError(JERR_IMAGE_TOO_BIG);
    }
    Check(StartDecompress(d, quantise));

    DecodedImage image;
    image.width = static_cast<int>(cinfo.output_width);
    image.height = static_cast<int>(cinfo.output_height);
    image.bitsPerPixel = quantise ? 8 : 24;
    const std::size_t rowBytes =
        static_cast<std::size_t>(cinfo.output_width) * cinfo.output_components;
    const std::size_t stride = RoundUpTo4(rowBytes);
    image.stride = static_cast<int>(stride);
    image.pixels.assign(stride * cinfo.output_height, 0);
    Check(ReadRows(d, image.pixels.data(), stride));

    if (quantise) {
        // The colour map belongs to the decompressor's image memory: copy it before finishing.
        for (int i = 0; i < cinfo.actual_number_of_colors; ++i) {
            const auto channel = [&](int c) {
                return static_cast<std::uint8_t>(cinfo.colormap[c][i]);
            };
            image.palette.push_back({channel(2), channel(1), channel(0), 0});
        }
    } else {
        for (std::size_t y = 0; y < cinfo.output_height; ++y) {
            std::uint8_t* p = image.pixels.data() + y * stride;
            for (std::size_t x = 0; x < cinfo.output_width; ++x, p += 3) {
                std::swap(p[0], p[2]);
            }
        }
    }
    Check(Finish(d));
    return image;
}

} // namespace tarvel
