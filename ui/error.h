// The program's errors: exceptions whose text is shown by the default error report.
#pragma once

#include <stdexcept>
#include <string>

namespace ui {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The system's description of a Win32 error code, without trailing blanks, line breaks and
// full stops (UTF-8).
std::string SystemErrorText(unsigned long code);

// Throws Error("<what>: <system text>") for the calling thread's last error.
[[noreturn]] void ThrowLastError(const char* what);

// The default error report's text: a full stop appended when the last character's code is
// above that of the full stop.
std::wstring ErrorReportText(const std::wstring& message);

} // namespace ui
