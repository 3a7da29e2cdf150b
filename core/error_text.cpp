#include "core/error_text.h"

namespace tarvel {

std::string ErrorReportText(std::string_view message) {
    std::string text(message);
    // A UTF-8 text ends in a byte >= 0x80 when its last character is not ASCII; such a
    // character's code is above 0x2E as well.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > 0x2E) {
        text += '.';
    }
    return text;
}

std::string TrimSystemMessage(std::string_view text) {
    while (!text.empty()) {
        const char c = text.back();
        if (c != ' ' && c != '\r' && c != '\n' && c != '.' && c != '\t') {
            break;
        }
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::string CannotCreateFileText(std::string_view path, std::string_view systemMessage) {
    std::string text = "Cannot create file \"";
    text += path;
    text += "\". ";
    text += TrimSystemMessage(systemMessage);
    return text;
}

} // namespace tarvel
