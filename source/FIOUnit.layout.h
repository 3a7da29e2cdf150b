// Layout of the registration window, in pixels as designed at 96 dpi.
#pragma once

#include "ui/form.h"

namespace fio_layout {

using ui::FontSpec;
using ui::Rect96;

inline constexpr int ClientWidth = 370;
inline constexpr int ClientHeight = 344;

inline constexpr FontSpec Regular{L"Arial", -11, false, false};
inline constexpr FontSpec Bold{L"Arial", -11, true, false};
inline constexpr FontSpec BoldUnderlined{L"Arial", -11, true, true};
inline constexpr FontSpec NameField{L"Courier New CYR", -13, false, false};

//                                   left  top  width height
inline constexpr Rect96 GroupBox1{8, 8, 356, 121};
inline constexpr Rect96 Image1{9, 16, 32, 32};      // in GroupBox1
inline constexpr Rect96 Label2{56, 24, 195, 14};    // in GroupBox1
inline constexpr Rect96 edtFIO{9, 80, 337, 24};     // in GroupBox1
inline constexpr Rect96 edtFIOLabel{9, 63, 72, 14}; // in GroupBox1, 3 px above the field
inline constexpr Rect96 GroupBox2{8, 135, 357, 153};
inline constexpr Rect96 Memo1{2, 16, 353, 135}; // in GroupBox2
inline constexpr Rect96 btnNext{8, 294, 94, 25};
inline constexpr Rect96 spdbtnAbout{269, 294, 94, 25};
inline constexpr Rect96 StatusBar1{0, 325, 370, 19};
inline constexpr int StatusPanel0Width = 100;

inline constexpr const char* GroupBox1Caption = "Информация";
inline constexpr const char* Label2Text = "Введите информацию о тестируемом";
inline constexpr const char* edtFIOLabelText = "Фамилия Имя";
inline constexpr const char* GroupBox2Caption = "Инструкция";
inline constexpr const char* btnNextCaption = "Далее";
inline constexpr const char* spdbtnAboutCaption = "О проекте";
inline constexpr const char* Memo1Lines[] = {
    "Для выполнения несложных физико-технических заданий (70)",
    "отводится 25 мин. Каждое правильно решенное задание ",
    "оценивается в 1 балл.",
    "После вопроса следует три варианта ответа на него, причем ",
    "только один из них является правильным.",
};

} // namespace fio_layout
