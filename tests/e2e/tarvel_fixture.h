// The fixture every end-to-end test starts from: one Tarvel.exe of its own, the test content to
// compare with, and the steps that bring the program into each of its states.
#pragma once

#include "../../source/ControlIds.h"
#include "driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

inline constexpr wchar_t caption_main[] = L"Тест механической понятливости Тарвела";
inline constexpr wchar_t caption_question[] = L"Внимание!";
inline constexpr wchar_t text_close_test[] = L"Закрыть тест?";
inline constexpr wchar_t text_unsaved[] = L"Результаты не сохранены. Закрыть окно?";
inline constexpr wchar_t text_russian_only[] = L"Только русские буквы";
inline constexpr wchar_t report_count_prefix[] = L"Количетво правильных ответов - ";
inline constexpr wchar_t default_name[] = L"Иванов Иван";
inline constexpr int item_count = 70;

struct Content {
    std::vector<std::wstring> questions;
    std::vector<std::wstring> options;
    std::vector<int> key;
};

// The controls of the test window, found once it is shown.
struct TestWindow {
    HWND window = nullptr;
    HWND status = nullptr;
    HWND image = nullptr;
    HWND group = nullptr;
    HWND question = nullptr;
    HWND next = nullptr;
    HWND memo = nullptr; // hidden, marks the message queue
    HWND option(int number) const { return find_child(group, number); }
};

// What a further copy of the program did from its start to its end.
struct OtherCopy {
    std::optional<DWORD> exit_code;
    std::vector<std::wstring> window_classes; // every top-level window it had, shown or not
    bool showed_window = false;
};
// Starts one more Tarvel.exe and watches it until it ends.
OtherCopy run_other_copy(const std::wstring& exe);

// "H:MM:SS" as seconds; -1 when the text has another form.
int clock_seconds(const std::wstring& text);
std::wstring clock_text(int seconds);

class TarvelTest : public ::testing::Test {
  protected:
    void TearDown() override;

    const Content& content();
    // Starts the program and waits for its registration window.
    void start();
    HWND fio_control(int id) const { return find_child(fio, id); }
    void type_name(const std::wstring& name);
    // Puts the name into the field as if pasted, not typed.
    void paste_name(const std::wstring& name);
    // Registration with the name, then Next: the test window on item 1.
    void begin_test(const std::wstring& name = default_name, bool pasted = false);
    // The quickest way to the results: the clock run out on item 1.
    void reach_results(const std::wstring& name = default_name, bool pasted = false);
    // Waits for item k on screen: its question, nothing selected, Next disabled.
    void wait_item(int k);
    // Selects an option of the item on screen and waits for Next to be enabled.
    void select(int option);
    // Selects and confirms; returns once the next item (or the results window) is there.
    void answer(int k, int option);
    // Answers items from..70 with choose(k) and waits for the results window.
    void answer_rest(int from, const std::function<int(int)>& choose);
    // Posts countdown ticks until the clock shows target seconds.
    void run_clock_to(int target);
    void post_ticks(int n);
    std::wstring clock() const { return status_text(tw.status, 0); }
    std::vector<std::wstring> report() const;
    std::wstring count_line(int n) const { return report_count_prefix + std::to_wstring(n); }
    // Ends the program by closing the results window, saying Yes to any question.
    void close_results_and_expect_exit();
    void expect_exit(DWORD code = 0);

    Settings settings = settings_from_environment();
    Process app;
    HWND fio = nullptr;
    HWND results = nullptr;
    TestWindow tw;

  private:
    std::optional<Content> content_;
};

} // namespace e2e
