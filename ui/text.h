// UTF-8 inside, UTF-16 at the W functions.
#pragma once

#include <string>
#include <string_view>

namespace ui {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

} // namespace ui
