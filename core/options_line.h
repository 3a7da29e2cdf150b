// The options line of an item and the captions of the answer buttons made from it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// Splits an options line at its ';' separators (outside quotes) with CR LF breaks, then
// removes every ';'. The result is the item list text of the answer group.
std::string OptionsToLines(std::string_view optionsLine);

// Cuts an item list text into items at CR LF, lone CR and lone LF. A break at the very end
// starts no further item; an empty text gives no item.
std::vector<std::string> SplitItems(std::string_view text);

} // namespace tarvel
