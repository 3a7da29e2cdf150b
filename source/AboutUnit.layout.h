// Layout of the About dialog, in pixels as designed at 96 dpi.
#pragma once

#include "ui/form.h"

namespace about_layout {

using ui::Rect96;

inline constexpr int ClientWidth = 483;
inline constexpr int ClientHeight = 337;

//                              left  top  width height
inline constexpr Rect96 Image1{8, 8, 129, 289};
inline constexpr Rect96 Memo1{147, 8, 328, 277};
inline constexpr Rect96 Bevel2{152, 291, 325, 6};
inline constexpr Rect96 btnOK{404, 304, 75, 25};

inline constexpr const char* Caption = "О проекте";
inline constexpr const char* btnOKCaption = "OK";

} // namespace about_layout
