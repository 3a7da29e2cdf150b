// Any options line: the captions never hold a ';' or a line break, and the rule never reads
// past the line.
#include "core/options_line.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string text = tarvel::OptionsToLines(line);
    for (const std::string& caption : tarvel::SplitItems(text)) {
        if (caption.find_first_of(";\r\n") != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
