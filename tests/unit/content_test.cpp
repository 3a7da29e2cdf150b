// Checks of the shipped content: the item lists, the answer key, the item pictures, the
// icons and the About box. Every failure names the item or the file it is about.
#include "core/cp1251.h"
#include "core/options_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kItemCount = 70;

std::filesystem::path ContentPath(const std::string& relative) {
    return std::filesystem::path(TARVEL_CONTENT_DIR) / relative;
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines of a list file: every line ends with LF, the last one too.
std::vector<std::string> ReadLines(const std::string& relative) {
    const std::optional<std::string> text = ReadFile(ContentPath(relative));
    if (!text) {
        ADD_FAILURE() << "cannot read " << relative;
        return {};
    }
    if (!text->empty() && text->back() != '\n') {
        ADD_FAILURE() << relative << ": the last line has no LF";
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos) {
            end = text->size();
        }
        lines.push_back(text->substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Strict UTF-8 decoding; nothing on a malformed, overlong or surrogate sequence.
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + extra >= text.size()) {
            return std::nullopt;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        constexpr std::array<char32_t, 4> kSmallest = {0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return std::nullopt;
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

std::size_t CharacterCount(std::string_view utf8) {
    const std::optional<std::u32string> decoded = DecodeUtf8(utf8);
    return decoded ? decoded->size() : 0;
}

// The characters the item texts may use: А..я without Ё/ё, the Latin capitals of the
// picture labels, digits, blank, the punctuation of the items and the em dash.
bool IsItemCharacter(char32_t c) {
    if (c >= 0x0410 && c <= 0x044F) {
        return true;
    }
    if (c >= U'0' && c <= U'9') {
        return true;
    }
    constexpr std::u32string_view kOthers = U"ABCX .,?:()-;\u2014";
    return kOthers.find(c) != std::u32string_view::npos;
}

// Reports the first character outside the item set, or a malformed UTF-8 sequence.
void ExpectItemCharacters(const std::string& line, const std::string& where) {
    const std::optional<std::u32string> decoded = DecodeUtf8(line);
    if (!decoded) {
        ADD_FAILURE() << where << ": not valid UTF-8";
        return;
    }
    for (std::size_t i = 0; i < decoded->size(); ++i) {
        const char32_t c = (*decoded)[i];
        if (!IsItemCharacter(c)) {
            ADD_FAILURE() << where << ": character U+" << std::hex << std::uppercase
                          << static_cast<std::uint32_t>(c) << std::dec << " at position " << i + 1
                          << " is not allowed";
            return;
        }
    }
}

std::string Item(int k) {
    return "item " + std::to_string(k);
}

class ContentListsTest : public testing::Test {
  protected:
    void SetUp() override {
        questions_ = ReadLines("questions.txt");
        options_ = ReadLines("options.txt");
        for (const std::string& line : ReadLines("key.txt")) {
            key_.push_back(line.size() == 1 && line[0] >= '1' && line[0] <= '3' ? line[0] - '0'
                                                                                : 0);
        }
    }

    std::vector<std::string> questions_;
    std::vector<std::string> options_;
    std::vector<int> key_;
};

TEST_F(ContentListsTest, EveryListHasOneLinePerItem) {
    EXPECT_EQ(questions_.size(), static_cast<std::size_t>(kItemCount)) << "questions.txt";
    EXPECT_EQ(options_.size(), static_cast<std::size_t>(kItemCount)) << "options.txt";
    EXPECT_EQ(key_.size(), static_cast<std::size_t>(kItemCount)) << "key.txt";
}

TEST_F(ContentListsTest, QuestionsAreNumberedAndSized) {
    for (std::size_t i = 0; i < questions_.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        const std::string& q = questions_[i];
        const std::string prefix = std::to_string(k) + ". ";
        EXPECT_EQ(q.substr(0, prefix.size()), prefix) << Item(k) << " must start with the number";
        if (k < kItemCount) {
            EXPECT_TRUE(q.size() >= 2 && q[q.size() - 1] == ' ' && q[q.size() - 2] != ' ')
                << Item(k) << " must end with exactly one blank";
        } else {
            EXPECT_TRUE(!q.empty() && q.back() != ' ') << Item(k) << " must not end with a blank";
        }
        const std::size_t length = CharacterCount(q);
        EXPECT_TRUE(length >= 35 && length <= 190)
            << Item(k) << " question has " << length << " characters";
        ExpectItemCharacters(q, Item(k) + " question");
    }
}

TEST_F(ContentListsTest, OptionsMakeThreeNumberedCaptions) {
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        const std::string& line = options_[i];
        const std::size_t length = CharacterCount(line);
        EXPECT_TRUE(length >= 29 && length <= 119)
            << Item(k) << " options line has " << length << " characters";
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 2) << Item(k);
        ExpectItemCharacters(line, Item(k) + " options");

        const std::vector<std::string> captions = tarvel::SplitItems(tarvel::OptionsToLines(line));
        ASSERT_EQ(captions.size(), 3u) << Item(k) << " options line: " << line;
        for (std::size_t c = 0; c < captions.size(); ++c) {
            const std::string& caption = captions[c];
            const std::string prefix = std::to_string(c + 1) + ". ";
            EXPECT_EQ(caption.substr(0, prefix.size()), prefix)
                << Item(k) << " caption " << c + 1 << ": " << caption;
            EXPECT_TRUE(!caption.empty() && caption.back() == '.')
                << Item(k) << " caption " << c + 1 << " must end with '.': " << caption;
            const std::size_t captionLength = CharacterCount(caption);
            EXPECT_TRUE(captionLength >= 9 && captionLength <= 57)
                << Item(k) << " caption " << c + 1 << " has " << captionLength << " characters";
        }
    }
}

TEST_F(ContentListsTest, KeyIsBalancedWithoutLongRuns) {
    std::array<int, 4> count{};
    int run = 0;
    for (std::size_t i = 0; i < key_.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        if (key_[i] == 0) {
            ADD_FAILURE() << Item(k) << ": key value must be 1, 2 or 3";
            run = 0;
            continue;
        }
        ++count[key_[i]];
        run = (i > 0 && key_[i] == key_[i - 1]) ? run + 1 : 1;
        EXPECT_LE(run, 3) << Item(k) << ": value " << key_[i] << " four times in a row";
        if (i < options_.size()) {
            const std::vector<std::string> captions =
                tarvel::SplitItems(tarvel::OptionsToLines(options_[i]));
            if (captions.size() == 3 && captions[2] == "3. Не знаю.") {
                EXPECT_NE(key_[i], 3) << Item(k) << ": \"Не знаю\" cannot be the right answer";
            }
        }
    }
    for (int value = 1; value <= 3; ++value) {
        EXPECT_TRUE(count[value] >= 20 && count[value] <= 27)
            << "key value " << value << " occurs " << count[value] << " times";
    }
}

// What the program relies on in a JPEG header.
struct JpegFacts {
    int width = 0;
    int height = 0;
    bool progressive = false;
    bool arithmetic = false;
    int precision = 0;
    int components = 0;
    std::array<int, 3> ids{};
    std::array<int, 3> hSampling{};
    std::array<int, 3> vSampling{};
    unsigned restartInterval = 0;
    bool jfif = false;
    int jfifMajor = 0;
    int jfifMinor = 0;
    int densityUnit = 0;
    int xDensity = 0;
    int yDensity = 0;
};

struct JumpingErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JumpOnError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JumpingErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

class Decompressor {
  public:
    explicit Decompressor(JumpingErrors& errors) {
        cinfo_.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = JumpOnError;
        jpeg_create_decompress(&cinfo_);
    }
    ~Decompressor() { jpeg_destroy_decompress(&cinfo_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    jpeg_decompress_struct* get() { return &cinfo_; }

  private:
    jpeg_decompress_struct cinfo_{};
};

// Reads the header with libjpeg; a broken file gives libjpeg's message in `error`.
std::optional<JpegFacts> ReadJpegFacts(const std::string& file, std::string& error) {
    JumpingErrors errors{};
    Decompressor decompressor(errors);
    jpeg_decompress_struct* cinfo = decompressor.get();
    if (setjmp(errors.jump) != 0) {
        error = errors.message;
        return std::nullopt;
    }
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(file.data()),
                 static_cast<unsigned long>(file.size()));
    jpeg_read_header(cinfo, TRUE);
    JpegFacts facts;
    facts.width = static_cast<int>(cinfo->image_width);
    facts.height = static_cast<int>(cinfo->image_height);
    facts.progressive = cinfo->progressive_mode != 0;
    facts.arithmetic = cinfo->arith_code != 0;
    facts.precision = cinfo->data_precision;
    facts.components = cinfo->num_components;
    for (int i = 0; i < 3 && i < cinfo->num_components; ++i) {
        facts.ids[i] = cinfo->comp_info[i].component_id;
        facts.hSampling[i] = cinfo->comp_info[i].h_samp_factor;
        facts.vSampling[i] = cinfo->comp_info[i].v_samp_factor;
    }
    facts.restartInterval = cinfo->restart_interval;
    facts.jfif = cinfo->saw_JFIF_marker != 0;
    facts.jfifMajor = cinfo->JFIF_major_version;
    facts.jfifMinor = cinfo->JFIF_minor_version;
    facts.densityUnit = cinfo->density_unit;
    facts.xDensity = cinfo->X_density;
    facts.yDensity = cinfo->Y_density;
    return facts;
}

// Loads a JPEG, checks that it is whole and that its header reads; nothing on failure.
std::optional<JpegFacts> LoadJpeg(const std::string& relative) {
    const std::optional<std::string> file = ReadFile(ContentPath(relative));
    if (!file) {
        ADD_FAILURE() << "cannot read " << relative;
        return std::nullopt;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>((*file)[i]); };
    if (file->size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8 || byte(file->size() - 2) != 0xFF ||
        byte(file->size() - 1) != 0xD9) {
        ADD_FAILURE() << relative << " does not start with FFD8 and end with FFD9";
        return std::nullopt;
    }
    std::string error;
    std::optional<JpegFacts> facts = ReadJpegFacts(*file, error);
    if (!facts) {
        ADD_FAILURE() << relative << ": " << error;
    }
    return facts;
}

void ExpectBaselineYCbCr(const JpegFacts& f, const std::string& name) {
    EXPECT_FALSE(f.progressive) << name << " is progressive";
    EXPECT_FALSE(f.arithmetic) << name << " uses arithmetic coding";
    EXPECT_EQ(f.precision, 8) << name;
    ASSERT_EQ(f.components, 3) << name;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.ids[i], i + 1) << name << " component " << i;
        EXPECT_EQ(f.hSampling[i], 1) << name << " component " << i;
        EXPECT_EQ(f.vSampling[i], 1) << name << " component " << i;
    }
}

class ContentPictureTest : public testing::TestWithParam<int> {};

TEST_P(ContentPictureTest, HasThePictureForm) {
    const int k = GetParam();
    const std::string name = (k < 10 ? "pictures/0" : "pictures/") + std::to_string(k) + ".jpg";
    SCOPED_TRACE(Item(k));
    const std::optional<JpegFacts> f = LoadJpeg(name);
    if (!f) {
        return;
    }
    EXPECT_EQ(f->width, 400) << name;
    EXPECT_TRUE(f->height >= 107 && f->height <= 212) << name << " is " << f->height << " high";
    ExpectBaselineYCbCr(*f, name);
    EXPECT_EQ(f->restartInterval, 50u) << name;
    EXPECT_TRUE(f->jfif) << name << " has no JFIF marker";
    EXPECT_EQ(f->jfifMajor, 1) << name;
    EXPECT_EQ(f->jfifMinor, 2) << name;
    EXPECT_EQ(f->densityUnit, 1) << name;
    EXPECT_EQ(f->xDensity, 72) << name;
    EXPECT_EQ(f->yDensity, 72) << name;
}

INSTANTIATE_TEST_SUITE_P(Items, ContentPictureTest, testing::Range(1, kItemCount + 1),
                         [](const testing::TestParamInfo<int>& info) {
                             return "Item" + std::to_string(info.param);
                         });

struct IconImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

std::uint32_t Le(const std::string& data, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(data[at + i]);
    }
    return value;
}

// The images of an ICO file as their bitmap headers describe them; the directory entry
// and the bitmap header must agree and the bitmap must lie inside the file.
std::vector<IconImage> ReadIcon(const std::string& relative) {
    const std::optional<std::string> file = ReadFile(ContentPath(relative));
    if (!file) {
        ADD_FAILURE() << "cannot read " << relative;
        return {};
    }
    const std::string& d = *file;
    if (d.size() < 6 || Le(d, 0, 2) != 0 || Le(d, 2, 2) != 1) {
        ADD_FAILURE() << relative << " is not an ICO file";
        return {};
    }
    const std::uint32_t count = Le(d, 4, 2);
    if (d.size() < 6 + 16 * count) {
        ADD_FAILURE() << relative << ": the directory is truncated";
        return {};
    }
    std::vector<IconImage> images;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int width = Le(d, entry, 1) == 0 ? 256 : static_cast<int>(Le(d, entry, 1));
        const int height = Le(d, entry + 1, 1) == 0 ? 256 : static_cast<int>(Le(d, entry + 1, 1));
        const std::uint32_t bytes = Le(d, entry + 8, 4);
        const std::uint32_t offset = Le(d, entry + 12, 4);
        if (static_cast<std::uint64_t>(offset) + bytes > d.size() || bytes < 40) {
            ADD_FAILURE() << relative << " image " << i << " lies outside the file";
            continue;
        }
        IconImage image{static_cast<int>(Le(d, offset + 4, 4)),
                        static_cast<int>(Le(d, offset + 8, 4)) / 2,
                        static_cast<int>(Le(d, offset + 14, 2))};
        EXPECT_EQ(Le(d, offset, 4), 40u) << relative << " image " << i << " header size";
        EXPECT_EQ(image.width, width) << relative << " image " << i;
        EXPECT_EQ(image.height, height) << relative << " image " << i;
        EXPECT_EQ(static_cast<int>(Le(d, entry + 6, 2)), image.bitsPerPixel)
            << relative << " image " << i << " directory and bitmap disagree on the depth";
        images.push_back(image);
    }
    return images;
}

TEST(ContentIcons, MainIconHas32And16PixelImagesAt8Bits) {
    const std::vector<IconImage> images = ReadIcon("icons/mainicon.ico");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].width, 32);
    EXPECT_EQ(images[0].height, 32);
    EXPECT_EQ(images[1].width, 16);
    EXPECT_EQ(images[1].height, 16);
    for (const IconImage& image : images) {
        EXPECT_EQ(image.bitsPerPixel, 8) << image.width << "x" << image.height;
    }
}

TEST(ContentIcons, InformationPictureIs32PixelsWithAlpha) {
    const std::vector<IconImage> images = ReadIcon("icons/info.ico");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 32);
    EXPECT_EQ(images[0].height, 32);
    EXPECT_EQ(images[0].bitsPerPixel, 32);
}

TEST(ContentAbout, PhotoIs220By506Baseline) {
    const std::optional<JpegFacts> f = LoadJpeg("about/photo.jpg");
    if (!f) {
        return;
    }
    EXPECT_EQ(f->width, 220);
    EXPECT_EQ(f->height, 506);
    ExpectBaselineYCbCr(*f, "about/photo.jpg");
}

TEST(ContentAbout, TextFitsWindows1251AndNamesTheTestFigures) {
    const std::optional<std::string> text = ReadFile(ContentPath("about/about.txt"));
    ASSERT_TRUE(text) << "cannot read about/about.txt";
    ASSERT_FALSE(text->empty());
    EXPECT_TRUE(DecodeUtf8(*text)) << "about.txt is not valid UTF-8";
    EXPECT_EQ(text->find('\r'), std::string::npos) << "about.txt must use LF line ends";
    EXPECT_EQ(tarvel::Cp1251ToUtf8(tarvel::Utf8ToCp1251(*text)), *text)
        << "about.txt has characters Windows-1251 lacks";
    EXPECT_NE(text->find("70"), std::string::npos) << "about.txt must give the 70 items";
    EXPECT_NE(text->find("25"), std::string::npos) << "about.txt must give the 25 minutes";
}

} // namespace
