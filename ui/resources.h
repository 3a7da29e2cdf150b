// Read-only views over the program's own resources.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ui {

// The bytes of RT_RCDATA resource `id` of the program's module, in place. Throws
// "Resource <id> not found".
std::span<const std::uint8_t> ResourceBytes(int id);
// The same for a named resource.
std::span<const std::uint8_t> ResourceBytes(const wchar_t* name);

inline std::string_view ResourceText(const wchar_t* name) {
    const auto bytes = ResourceBytes(name);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace ui
