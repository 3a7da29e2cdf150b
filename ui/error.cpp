#include "ui/error.h"

#include "core/error_text.h"
#include "ui/text.h"
#include "ui/win.h"

namespace ui {

std::string SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (n != 0 && buffer != nullptr) {
        text = Narrow(std::wstring_view(buffer, n));
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    if (text.empty()) {
        text = "System error " + std::to_string(code);
    }
    return tarvel::TrimSystemMessage(text);
}

void ThrowLastError(const char* what) {
    const DWORD code = GetLastError();
    throw Error(std::string(what) + ": " + SystemErrorText(code));
}

std::wstring ErrorReportText(const std::wstring& message) {
    return Widen(tarvel::ErrorReportText(Narrow(message)));
}

} // namespace ui
