// JPEG pictures: header reading and decoding to device-independent pixels with libjpeg.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace tarvel {

// "JPEG error #<code>", code being libjpeg's message code.
class JpegError : public std::runtime_error {
public:
    explicit JpegError(int code);
    int code() const { return code_; }

private:
    int code_;
};

struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;
};

// Pixels ready for a top-down DIB: rows of `stride` bytes (a multiple of 4), each pixel
// B, G, R at 24 bits, or an index into `palette` (B, G, R, 0 quads) at 8 bits.
struct DecodedImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    int stride = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::array<std::uint8_t, 4>> palette;
};

// Largest picture side the program accepts; anything larger is refused as a JPEG error.
inline constexpr int kMaxJpegSide = 8192;

// Reads the header only. Throws JpegError.
JpegHeader ReadJpegHeader(std::span<const std::uint8_t> file);

// Full-size decode with the floating-point inverse DCT, YCbCr to RGB. With `quantise` the
// output is 8 bits per pixel with at most 236 colours from libjpeg's quantiser. Throws JpegError.
DecodedImage DecodeJpeg(std::span<const std::uint8_t> file, bool quantise);

} // namespace tarvel
