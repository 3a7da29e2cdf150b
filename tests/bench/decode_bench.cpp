// Time to decode each shipped task picture at full colour, as the task window does.
#include "core/jpeg_image.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Pictures() {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(TARVEL_CONTENT_DIR "/pictures", error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".jpg") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void DecodePicture(benchmark::State& state) {
    const std::vector<fs::path> files = Pictures();
    const auto index = static_cast<std::size_t>(state.range(0));
    if (index >= files.size()) {
        state.SkipWithError("no pictures in " TARVEL_CONTENT_DIR "/pictures yet");
        for (auto _ : state) {
        }
        return;
    }
    const std::vector<std::uint8_t> file = ReadAll(files[index]);
    state.SetLabel(files[index].filename().string());
    for (auto _ : state) {
        benchmark::DoNotOptimize(tarvel::DecodeJpeg(file, false));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

// One run per picture; a single placeholder run when there is none yet.
void OnePerPicture(benchmark::internal::Benchmark* b) {
    const std::size_t count = std::max<std::size_t>(Pictures().size(), 1);
    for (std::size_t i = 0; i < count; ++i) {
        b->Arg(static_cast<std::int64_t>(i));
    }
}

} // namespace

BENCHMARK(DecodePicture)->Apply(OnePerPicture)->Unit(benchmark::kMicrosecond);
