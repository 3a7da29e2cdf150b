#include "ui/resources.h"

#include "ui/error.h"
#include "ui/text.h"
#include "ui/win.h"

#include <string>

namespace ui {

namespace {

std::span<const std::uint8_t> Bytes(const wchar_t* name, const std::string& shownName) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (info == nullptr) {
        throw Error("Resource " + shownName + " not found");
    }
    HGLOBAL data = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const void* bytes = data != nullptr ? LockResource(data) : nullptr;
    if (bytes == nullptr) {
        throw Error("Resource " + shownName + " not found");
    }
    return {static_cast<const std::uint8_t*>(bytes), size};
}

} // namespace

std::span<const std::uint8_t> ResourceBytes(int id) {
    return Bytes(MAKEINTRESOURCEW(id), std::to_string(id));
}

std::span<const std::uint8_t> ResourceBytes(const wchar_t* name) {
    return Bytes(name, Narrow(name));
}

} // namespace ui
