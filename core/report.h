// The five-line results report and the bytes of its saved file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

inline constexpr const char* kReportHeading = "Результаты теста Тарвела";
inline constexpr const char* kReportCountPrefix = "Количетво правильных ответов - ";

// Date line (already formatted), the name as typed, the heading, an empty line, the count.
// Every text is UTF-8.
std::vector<std::string> ReportLines(std::string_view date, std::string_view name,
                                     int correctCount);

// The saved file: each line in Windows-1251 followed by CR LF, no byte-order mark.
std::string ReportFileBytes(const std::vector<std::string>& lines);

} // namespace tarvel
