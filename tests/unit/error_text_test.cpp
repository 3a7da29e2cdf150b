#include "core/error_text.h"

#include <gtest/gtest.h>

namespace {

struct StopCase {
    const char* message;
    const char* shown;
};

class ErrorReportTextTest : public testing::TestWithParam<StopCase> {};

TEST_P(ErrorReportTextTest, AppendsFullStopAfterCharactersAboveIt) {
    EXPECT_EQ(tarvel::ErrorReportText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ErrorReportTextTest,
    testing::Values(StopCase{"JPEG error #42", "JPEG error #42."},
                    StopCase{"Resource 71 not found", "Resource 71 not found."},
                    StopCase{"Failed to Save Stream", "Failed to Save Stream."},
                    StopCase{"Ends with a stop.", "Ends with a stop."},
                    StopCase{"Ends with a hyphen-", "Ends with a hyphen-"},
                    StopCase{"Ends with a comma,", "Ends with a comma,"},
                    StopCase{"Ends with a slash/", "Ends with a slash/."},
                    StopCase{"Нет доступа", "Нет доступа."}, StopCase{"", ""}));

TEST(CannotCreateFileText, QuotesThePathAndTrimsTheSystemText) {
    EXPECT_EQ(tarvel::CannotCreateFileText("C:\\x\\report.txt", "Access denied.  \r\n"),
              "Cannot create file \"C:\\x\\report.txt\". Access denied");
    EXPECT_EQ(tarvel::CannotCreateFileText("a.txt", "Path not found...\r\n\r\n"),
              "Cannot create file \"a.txt\". Path not found");
    EXPECT_EQ(tarvel::TrimSystemMessage(" .\r\n"), "");
}

} // namespace
