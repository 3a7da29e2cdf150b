#include "core/report.h"

#include "core/cp1251.h"

namespace tarvel {

std::vector<std::string> ReportLines(std::string_view date, std::string_view name,
                                     int correctCount) {
    return {std::string(date), std::string(name), kReportHeading, "",
            kReportCountPrefix + std::to_string(correctCount)};
}

std::string ReportFileBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += Utf8ToCp1251(line);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace tarvel
