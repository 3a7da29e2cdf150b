// Move-only owners of the Win32 handles the window layer and the program use.
#pragma once

#include "ui/win.h"

#include <utility>

namespace ui {

template <typename H, typename Traits> class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) {
            reset(std::exchange(o.h_, Traits::invalid()));
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    void reset(H h = Traits::invalid()) {
        if (h_ != Traits::invalid()) {
            Traits::close(h_);
        }
        h_ = h;
    }
    H release() { return std::exchange(h_, Traits::invalid()); }

  private:
    H h_ = Traits::invalid();
};

struct GdiTraits {
    static HGDIOBJ invalid() { return nullptr; }
    static void close(HGDIOBJ h) { DeleteObject(h); }
};
template <typename T> struct GdiTypedTraits {
    static T invalid() { return nullptr; }
    static void close(T h) { DeleteObject(h); }
};
using Font = UniqueHandle<HFONT, GdiTypedTraits<HFONT>>;
using Brush = UniqueHandle<HBRUSH, GdiTypedTraits<HBRUSH>>;

struct IconTraits {
    static HICON invalid() { return nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};
using Icon = UniqueHandle<HICON, IconTraits>;

struct FileTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
using File = UniqueHandle<HANDLE, FileTraits>;

struct ModuleTraits {
    static HMODULE invalid() { return nullptr; }
    static void close(HMODULE h) { FreeLibrary(h); }
};
using Module = UniqueHandle<HMODULE, ModuleTraits>;

// A screen DC for the lifetime of the object.
class ScreenDC {
  public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    ~ScreenDC() { ReleaseDC(nullptr, dc_); }
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// BeginPaint/EndPaint around a WM_PAINT handler.
class PaintDC {
  public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    HDC get() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }

  private:
    HWND hwnd_;
    HDC dc_;
    PAINTSTRUCT ps_{};
};

// Selects a GDI object into a DC and puts the old one back.
class SelectObjectScope {
  public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() { SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace ui
