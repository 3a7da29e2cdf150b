// Reading the stored item lists back line by line, exactly as stored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// Splits a text file's contents into its lines at LF (a CR before the LF is dropped as part of
// the line end). Nothing else is trimmed; a final line end starts no further line.
std::vector<std::string> SplitTextLines(std::string_view text);

} // namespace tarvel
