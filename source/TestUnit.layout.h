// Layout of the test window, in pixels as designed at 96 dpi.
#pragma once

#include "ui/form.h"

namespace test_layout {

using ui::FontSpec;
using ui::Rect96;

inline constexpr int ClientWidth = 473;
inline constexpr int ClientHeight = 469;

inline constexpr FontSpec Options{L"Arial", -13, false, false};
inline constexpr FontSpec Question{L"Arial", -13, true, false};

//                                   left  top  width height
inline constexpr Rect96 Panel1{0, 0, 473, 233};
inline constexpr Rect96 Image1{25, 6, 420, 220}; // in Panel1
inline constexpr Rect96 StatusBar1{0, 450, 473, 19};
inline constexpr Rect96 grpAnswer{8, 303, 457, 105};
inline constexpr Rect96 lblQuestion{8, 240, 457, 65};
inline constexpr Rect96 btnNext{8, 419, 75, 25};
inline constexpr Rect96 Memo1{288, 295, 73, 26};
inline constexpr Rect96 Memo2{288, 327, 73, 25};
inline constexpr int StatusPanelWidth = 50;

inline constexpr const char* btnNextCaption = "Далее";

} // namespace test_layout
