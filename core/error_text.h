// Texts of the program's error reports.
#pragma once

#include <string>
#include <string_view>

namespace tarvel {

// The default error report's text: the message with a full stop appended when the code of
// its last character is above that of the full stop (0x2E). UTF-8.
std::string ErrorReportText(std::string_view message);

// A system error description as the save error quotes it: trailing blanks, line breaks and
// full stops removed.
std::string TrimSystemMessage(std::string_view text);

// "Cannot create file "<path>". <reason>" for a report file that cannot be created or replaced.
std::string CannotCreateFileText(std::string_view path, std::string_view systemMessage);

inline constexpr const char* kFailedToSaveStream = "Failed to Save Stream";

} // namespace tarvel
