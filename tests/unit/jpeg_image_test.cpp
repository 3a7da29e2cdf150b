#include "core/jpeg_image.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    int r, g, b;
};

// Compresses a picture made by `colourAt` into a baseline JPEG, without chroma subsampling so
// that flat blocks keep their colour.
Bytes Compress(int width, int height, bool grey, const std::function<Rgb(int, int)>& colourAt) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * cinfo.input_components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            const Rgb c = colourAt(x, y);
            if (grey) {
                row[x] = static_cast<JSAMPLE>(c.g);
            } else {
                row[3 * x] = static_cast<JSAMPLE>(c.r);
                row[3 * x + 1] = static_cast<JSAMPLE>(c.g);
                row[3 * x + 2] = static_cast<JSAMPLE>(c.b);
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kWhite{255, 255, 255};

// 24x16: the top row of 8x8 blocks red, green, blue; the bottom row white.
Bytes Bands() {
    return Compress(24, 16, false, [](int x, int y) {
        if (y >= 8) {
            return kWhite;
        }
        return x < 8 ? kRed : x < 16 ? kGreen : kBlue;
    });
}

// 5x3 flat grey, one component: rows of 15 bytes at 24 bits, 5 at 8 bits.
Bytes Grey() {
    return Compress(5, 3, true, [](int, int) { return Rgb{128, 128, 128}; });
}

struct Probe {
    int x, y;
    Rgb colour;
};

constexpr Probe kBandProbes[] = {
    {3, 3, kRed}, {11, 4, kGreen}, {20, 3, kBlue}, {3, 12, kWhite}, {20, 12, kWhite}};

Rgb PixelAt(const tarvel::DecodedImage& image, int x, int y) {
    const std::uint8_t* p = image.pixels.data() + static_cast<std::size_t>(y) * image.stride;
    if (image.bitsPerPixel == 8) {
        const auto& quad = image.palette.at(p[x]);
        return {quad[2], quad[1], quad[0]};
    }
    p += 3 * x;
    return {p[2], p[1], p[0]};
}

void ExpectNear(const Rgb& got, const Rgb& want, int tolerance, const Probe& where) {
    EXPECT_NEAR(got.r, want.r, tolerance) << "red at " << where.x << "," << where.y;
    EXPECT_NEAR(got.g, want.g, tolerance) << "green at " << where.x << "," << where.y;
    EXPECT_NEAR(got.b, want.b, tolerance) << "blue at " << where.x << "," << where.y;
}

TEST(DecodeJpeg, GivesTopDownBgrRows) {
    const tarvel::DecodedImage image = tarvel::DecodeJpeg(Bands(), false);
    EXPECT_EQ(image.width, 24);
    EXPECT_EQ(image.height, 16);
    EXPECT_EQ(image.bitsPerPixel, 24);
    EXPECT_EQ(image.stride, 72);
    EXPECT_EQ(image.pixels.size(), 72u * 16);
    EXPECT_TRUE(image.palette.empty());
    for (const Probe& probe : kBandProbes) {
        ExpectNear(PixelAt(image, probe.x, probe.y), probe.colour, 12, probe);
    }
}

TEST(DecodeJpeg, QuantisesToAPaletteOfAtMost236Colours) {
    const tarvel::DecodedImage image = tarvel::DecodeJpeg(Bands(), true);
    EXPECT_EQ(image.bitsPerPixel, 8);
    EXPECT_EQ(image.stride, 24);
    EXPECT_EQ(image.pixels.size(), 24u * 16);
    ASSERT_FALSE(image.palette.empty());
    EXPECT_LE(image.palette.size(), 236u);
    for (const auto& quad : image.palette) {
        EXPECT_EQ(quad[3], 0);
    }
    for (const Probe& probe : kBandProbes) {
        ExpectNear(PixelAt(image, probe.x, probe.y), probe.colour, 24, probe);
    }
}

TEST(DecodeJpeg, GreyPictureComesOutAsColourWithPaddedRows) {
    const tarvel::DecodedImage full = tarvel::DecodeJpeg(Grey(), false);
    EXPECT_EQ(full.width, 5);
    EXPECT_EQ(full.height, 3);
    EXPECT_EQ(full.stride, 16);
    ASSERT_EQ(full.pixels.size(), 16u * 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            ExpectNear(PixelAt(full, x, y), {128, 128, 128}, 3, {x, y, {}});
        }
    }

    const tarvel::DecodedImage quantised = tarvel::DecodeJpeg(Grey(), true);
    EXPECT_EQ(quantised.stride, 8);
    EXPECT_EQ(quantised.pixels.size(), 8u * 3);
    EXPECT_LE(quantised.palette.size(), 236u);
    ExpectNear(PixelAt(quantised, 4, 2), {128, 128, 128}, 16, {4, 2, {}});
}

TEST(ReadJpegHeader, ReadsSizeAndComponents) {
    const tarvel::JpegHeader colour = tarvel::ReadJpegHeader(Bands());
    EXPECT_EQ(colour.width, 24);
    EXPECT_EQ(colour.height, 16);
    EXPECT_EQ(colour.components, 3);
    EXPECT_EQ(tarvel::ReadJpegHeader(Grey()).components, 1);
}

// The picture with the size in its frame header replaced.
Bytes WithClaimedSize(Bytes bytes, int width, int height) {
    for (std::size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = static_cast<std::uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<std::uint8_t>(height);
            bytes[i + 7] = static_cast<std::uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<std::uint8_t>(width);
            return bytes;
        }
    }
    ADD_FAILURE() << "no frame header";
    return bytes;
}

struct BadCase {
    const char* what;
    Bytes file;
    int code;
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.what;
}

class DecodeJpegErrorTest : public testing::TestWithParam<BadCase> {};

TEST_P(DecodeJpegErrorTest, ThrowsJpegErrorWithLibjpegCode) {
    const BadCase& c = GetParam();
    for (const bool quantise : {false, true}) {
        try {
            tarvel::DecodeJpeg(c.file, quantise);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const tarvel::JpegError& e) {
            EXPECT_EQ(e.code(), c.code) << c.what;
            EXPECT_EQ(std::string(e.what()), "JPEG error #" + std::to_string(c.code)) << c.what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeJpegErrorTest,
    testing::Values(
        BadCase{"empty", {}, JERR_INPUT_EMPTY},
        BadCase{"garbage", {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'g'}, JERR_NO_SOI},
        BadCase{"only the start marker", {0xFF, 0xD8}, JERR_NO_IMAGE},
        BadCase{"60000x60000", WithClaimedSize(Bands(), 60000, 60000), JERR_IMAGE_TOO_BIG},
        BadCase{"one pixel too wide", WithClaimedSize(Bands(), 8193, 16), JERR_IMAGE_TOO_BIG},
        BadCase{"one pixel too high", WithClaimedSize(Bands(), 24, 8193), JERR_IMAGE_TOO_BIG}));

TEST(ReadJpegHeader, ReportsErrorsAndHugeClaimedSizes) {
    EXPECT_THROW(tarvel::ReadJpegHeader(Bytes{}), tarvel::JpegError);
    EXPECT_THROW(tarvel::ReadJpegHeader(Bytes{1, 2, 3, 4}), tarvel::JpegError);
    const tarvel::JpegHeader huge = tarvel::ReadJpegHeader(WithClaimedSize(Bands(), 60000, 60000));
    EXPECT_EQ(huge.width, 60000);
    EXPECT_EQ(huge.height, 60000);
}

// 64x64 of busy detail, so that the entropy-coded data is long enough to cut.
Bytes Busy() {
    return Compress(64, 64, false, [](int x, int y) {
        return Rgb{(x * 37 + y * 11) % 256, (x * y * 7) % 256, (x * 5 + y * 53) % 256};
    });
}

TEST(DecodeJpeg, TruncatedFileStillDecodes) {
    const Bytes whole = Busy();
    std::size_t scan = 0;
    for (std::size_t i = 0; i + 1 < whole.size() && scan == 0; ++i) {
        if (whole[i] == 0xFF && whole[i + 1] == 0xDA) {
            scan = i;
        }
    }
    ASSERT_NE(scan, 0u);
    // Without the end marker, and with most of the coded data gone.
    for (const std::size_t keep : {whole.size() - 2, scan + (whole.size() - scan) / 4}) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
        for (const bool quantise : {false, true}) {
            const tarvel::DecodedImage image = tarvel::DecodeJpeg(cut, quantise);
            EXPECT_EQ(image.width, 64);
            EXPECT_EQ(image.height, 64);
            EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(image.stride) * 64);
        }
    }
}

} // namespace
