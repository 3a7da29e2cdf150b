// Layout of the results window, in pixels as designed at 96 dpi.
#pragma once

#include "ui/form.h"

namespace diagramma_layout {

inline constexpr int ClientWidth = 391;
inline constexpr int ClientHeight = 182;

inline constexpr ui::FontSpec Report{L"Courier New CYR", -16, false, false};
inline constexpr ui::Rect96 RichEdit1{0, 0, 391, 182}; // fills the client area

inline constexpr const char* mnuFileCaption = "Файл";
inline constexpr const char* mnuFileSaveAsTextCaption = "Сохранить как...";
inline constexpr const char* mnuExitCaption = "Закрыть";

inline constexpr const char* SaveDialogDefaultExt = "txt";
inline constexpr const char* SaveDialogFilter = "Текстовый файл (TXT)|*.txt";

} // namespace diagramma_layout
