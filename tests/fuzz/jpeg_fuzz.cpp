// Any bytes as a picture: the header read, the full decode, the 8-bit decode and the
// placement either succeed or raise the program's JPEG error.
#include "core/jpeg_image.h"
#include "core/placement.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    try {
        const tarvel::JpegHeader header = tarvel::ReadJpegHeader(file);
        const tarvel::Placement p = tarvel::PlaceCentred(header.width, header.height, 420, 220);
        if (p.width > 420 || p.height > 220 || p.left < 0 || p.top < 0) {
            std::abort();
        }
    } catch (const tarvel::JpegError&) {
        return 0;
    }
    for (const bool quantise : {false, true}) {
        try {
            const tarvel::DecodedImage image = tarvel::DecodeJpeg(file, quantise);
            if (image.pixels.size() != static_cast<std::size_t>(image.stride) * image.height ||
                image.palette.size() > 236) {
                std::abort();
            }
        } catch (const tarvel::JpegError&) {
        }
    }
    return 0;
}
