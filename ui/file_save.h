// Writing a file so that a failed save never destroys the file it replaces.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// Writes `bytes` to a new temporary file beside `path`, flushes it and moves it over `path`
// in one step. Throws "Cannot create file ..." when the file cannot be created or replaced and
// "Failed to Save Stream" when writing fails; the temporary file is removed on any failure.
void SaveFileReplacing(const std::wstring& path, std::string_view bytes);

} // namespace ui
