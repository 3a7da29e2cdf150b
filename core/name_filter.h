// The registration window's name filter: which typed characters reach the name field.
#pragma once

namespace tarvel {

inline constexpr const char* kRussianLettersOnly = "Только русские буквы";

// Decides on a typed character's UTF-16 code unit by its Windows-1251 code: backspace (8),
// Enter (13), blank (32) and the letters А..я (192..255) pass; everything else, Ё and ё
// included, is refused.
bool IsNameCharAccepted(char16_t typed);

} // namespace tarvel
