// Host tool: encodes a binary PPM (P6, maxval 255) as the JPEG form every Tarvel picture
// uses: baseline, 8-bit YCbCr 1x1 with component ids 1, 2, 3, a restart marker every 50
// MCUs and a JFIF 1.02 header at 72 dots per inch.
//
//   jpeg_encode input.ppm output.jpg [quality]     (quality 1..100, default 92)

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// Reads the next header token of a PPM, skipping blanks and '#' comments.
int ReadHeaderNumber(const std::vector<unsigned char>& data, std::size_t& pos) {
    for (;;) {
        while (pos < data.size() && std::isspace(data[pos])) {
            ++pos;
        }
        if (pos < data.size() && data[pos] == '#') {
            while (pos < data.size() && data[pos] != '\n') {
                ++pos;
            }
            continue;
        }
        break;
    }
    long value = 0;
    const std::size_t start = pos;
    while (pos < data.size() && data[pos] >= '0' && data[pos] <= '9') {
        value = value * 10 + (data[pos] - '0');
        if (value > 1000000) {
            throw std::runtime_error("PPM header number too large");
        }
        ++pos;
    }
    if (pos == start) {
        throw std::runtime_error("PPM header is malformed");
    }
    return static_cast<int>(value);
}

Image ReadPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    const std::vector<unsigned char> data{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (data.size() < 2 || data[0] != 'P' || data[1] != '6') {
        throw std::runtime_error(path + " is not a binary PPM (P6)");
    }
    std::size_t pos = 2;
    Image image;
    image.width = ReadHeaderNumber(data, pos);
    image.height = ReadHeaderNumber(data, pos);
    const int maxval = ReadHeaderNumber(data, pos);
    if (maxval != 255) {
        throw std::runtime_error(path + ": only maxval 255 is supported");
    }
    if (image.width <= 0 || image.height <= 0) {
        throw std::runtime_error(path + ": empty image");
    }
    ++pos; // the single blank after maxval
    const std::size_t size = static_cast<std::size_t>(image.width) * image.height * 3;
    if (data.size() < pos + size) {
        throw std::runtime_error(path + ": pixel data is truncated");
    }
    image.rgb.assign(data.begin() + static_cast<std::ptrdiff_t>(pos),
                     data.begin() + static_cast<std::ptrdiff_t>(pos + size));
    return image;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void ThrowOnError(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    throw std::runtime_error(std::string("libjpeg: ") + message);
}

// Owns a compressor so that it is destroyed on every path, including errors.
class Compressor {
  public:
    Compressor() {
        cinfo_.err = jpeg_std_error(&errors_);
        errors_.error_exit = ThrowOnError;
        jpeg_create_compress(&cinfo_);
    }
    ~Compressor() { jpeg_destroy_compress(&cinfo_); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
    jpeg_compress_struct* get() { return &cinfo_; }

  private:
    jpeg_error_mgr errors_{};
    jpeg_compress_struct cinfo_{};
};

void WriteJpeg(const Image& image, const std::string& path, int quality) {
    const std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
    if (!out) {
        throw std::runtime_error("cannot create " + path);
    }
    Compressor compressor;
    jpeg_compress_struct* cinfo = compressor.get();
    jpeg_stdio_dest(cinfo, out.get());

    cinfo->image_width = static_cast<JDIMENSION>(image.width);
    cinfo->image_height = static_cast<JDIMENSION>(image.height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_colorspace(cinfo, JCS_YCbCr);
    jpeg_set_quality(cinfo, quality, TRUE);

    cinfo->optimize_coding = FALSE;
    cinfo->arith_code = FALSE;
    cinfo->data_precision = 8;
    for (int i = 0; i < 3; ++i) {
        cinfo->comp_info[i].component_id = i + 1;
        cinfo->comp_info[i].h_samp_factor = 1;
        cinfo->comp_info[i].v_samp_factor = 1;
    }
    cinfo->restart_interval = 50;
    cinfo->restart_in_rows = 0;
    cinfo->write_JFIF_header = TRUE;
    cinfo->JFIF_major_version = 1;
    cinfo->JFIF_minor_version = 2;
    cinfo->density_unit = 1;
    cinfo->X_density = 72;
    cinfo->Y_density = 72;
    cinfo->write_Adobe_marker = FALSE;

    jpeg_start_compress(cinfo, TRUE);
    const auto stride = static_cast<std::size_t>(image.width) * 3;
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(image.rgb.data() + cinfo->next_scanline * stride);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    if (std::fflush(out.get()) != 0 || std::ferror(out.get())) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: jpeg_encode input.ppm output.jpg [quality]\n";
        return 2;
    }
    int quality = 92;
    if (argc == 4) {
        char* end = nullptr;
        const long value = std::strtol(argv[3], &end, 10);
        if (*end != '\0' || value < 1 || value > 100) {
            std::cerr << "jpeg_encode: quality must be 1..100\n";
            return 2;
        }
        quality = static_cast<int>(value);
    }
    try {
        WriteJpeg(ReadPpm(argv[1]), argv[2], quality);
    } catch (const std::exception& error) {
        std::cerr << "jpeg_encode: " << error.what() << '\n';
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
