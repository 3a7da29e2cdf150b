// The test window: presenting and scoring the items, the countdown and the close question.
#include "tarvel_fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace e2e {
namespace {

using namespace tarvel::ids;

// Rows from the first to the last one that holds a pixel that is not black: the height of the
// picture drawn over the black panel.
int painted_height(const Pixels& px) {
    int first = -1, last = -1;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x)
            if ((px.bgra[static_cast<std::size_t>(y) * px.width + x] & 0xFFFFFF) != 0) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

// Whether a is in front of b among the top-level windows.
bool in_front_of(HWND a, HWND b) {
    for (HWND h = GetWindow(a, GW_HWNDNEXT); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
        if (h == b)
            return true;
    return false;
}

bool painted(const Pixels& px) {
    return px.non_black_share() > 0.02;
}

// A control that shows anything at all: more than one colour in its rectangle.
bool shows_something(HWND hwnd) {
    Pixels px = capture(hwnd);
    return std::any_of(px.bgra.begin(), px.bgra.end(),
                       [&](std::uint32_t p) { return p != px.bgra.front(); });
}

class TestRun : public TarvelTest {
  public:
    int wrong(int k) { return content().key[static_cast<std::size_t>(k - 1)] % 3 + 1; }
    int right(int k) { return content().key[static_cast<std::size_t>(k - 1)]; }

  protected:
    // After the last answer nothing moves any more: ticks reach a hidden, stopped window.
    void expect_test_over() {
        std::wstring clock_before = clock();
        std::vector<std::wstring> report_before = report();
        EXPECT_FALSE(visible(tw.window));
        ASSERT_NO_FATAL_FAILURE(post_ticks(3));
        EXPECT_EQ(narrow(clock()), narrow(clock_before));
        EXPECT_EQ(report(), report_before);
        EXPECT_FALSE(visible(tw.window));
        EXPECT_TRUE(visible(results));
    }
};

TEST_F(TestRun, FirstItemIsShownWithNothingSelected) {
    ASSERT_NO_FATAL_FAILURE(begin_test());
    EXPECT_EQ(class_name(tw.window), L"TfrmTest");
    EXPECT_EQ(narrow(text(tw.window)), narrow(caption_main));
    SIZE client = client_size(tw.window);
    EXPECT_EQ(client.cx, 473);
    EXPECT_EQ(client.cy, 469);
    RECT r = window_rect(tw.window);
    SIZE screen = screen_size();
    EXPECT_LE(std::abs((r.left + r.right) - screen.cx), 2) << "not centred across";
    EXPECT_LE(std::abs((r.top + r.bottom) - screen.cy), 2) << "not centred down";
    EXPECT_FALSE(GetWindowLongW(tw.window, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(visible(fio));

    EXPECT_EQ(narrow(clock()), "0:25:00");
    EXPECT_EQ(text(tw.question), content().questions[0]);
    EXPECT_EQ(class_name(tw.image), L"TImage");
    EXPECT_TRUE(wait_until([&] { return painted(capture(tw.image)); }))
        << "no picture in the picture box";
    screenshot(settings, tw.window, "test_item01");

    // Enter does nothing while Next is disabled.
    HWND focus = focused_window(app.thread_id());
    post_key(focus ? focus : tw.window, VK_RETURN);
    ASSERT_TRUE(flush_queue(tw.memo));
    EXPECT_EQ(text(tw.question), content().questions[0]);
    EXPECT_TRUE(visible(tw.window));

    // Enter with an option selected confirms it like Next.
    ASSERT_NO_FATAL_FAILURE(select(right(1)));
    focus = focused_window(app.thread_id());
    post_key(focus ? focus : tw.window, VK_RETURN);
    ASSERT_NO_FATAL_FAILURE(wait_item(2));
    post_close(fio);
    expect_exit(0);
}

// Every way of answering all 70 ends in the results window with the confirmed right answers.
TEST_F(TestRun, AnsweringAllItemsCountsTheRightAnswers) {
    struct Case {
        const char* what;
        std::function<int(TestRun&, int)> choose;
    };
    const Case cases[] = {
        {"all wrong", [](TestRun& t, int k) { return t.wrong(k); }},
        {"right on odd items", [](TestRun& t, int k) { return k % 2 ? t.right(k) : t.wrong(k); }},
        // The same position every time: each new item must still start unselected.
        {"always option 2", [](TestRun&, int) { return 2; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int expected = 0;
        for (int k = 1; k <= item_count; ++k)
            expected += c.choose(*this, k) == right(k) ? 1 : 0;
        ASSERT_NO_FATAL_FAILURE(begin_test());
        ASSERT_NO_FATAL_FAILURE(answer_rest(1, [&](int k) { return c.choose(*this, k); }));
        auto lines = report();
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(narrow(lines[4]), narrow(count_line(expected)));
        ASSERT_NO_FATAL_FAILURE(expect_test_over());
        ASSERT_NO_FATAL_FAILURE(close_results_and_expect_exit());
    }
}

// All right, timing each Next until the next picture is on the screen.
TEST_F(TestRun, AllRightScoresSeventyAndNextPaintsTheNextPictureQuickly) {
    ASSERT_NO_FATAL_FAILURE(begin_test());
    ASSERT_TRUE(wait_until([&] { return painted(capture(tw.image)); }));
    std::vector<double> ms;
    int shortest = 1 << 30, tallest = -1;
    std::string unpainted; // items whose option buttons stayed blank
    for (int k = 1; k < item_count; ++k) {
        ASSERT_NO_FATAL_FAILURE(select(right(k)));
        const std::wstring& next_question = content().questions[static_cast<std::size_t>(k)];
        Pixels before = capture(tw.image);
        Pixels now;
        auto t0 = std::chrono::steady_clock::now();
        click(tw.next);
        bool ok = wait_until(
            [&] {
                if (text(tw.question) != next_question || IsWindowEnabled(tw.next))
                    return false;
                now = capture(tw.image);
                return painted(now) && now != before;
            },
            5s);
        auto t1 = std::chrono::steady_clock::now();
        EXPECT_TRUE(ok) << "item " << k + 1 << ": no new picture within 5 s";
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        ASSERT_NO_FATAL_FAILURE(wait_item(k + 1));
        bool options_painted = wait_until(
            [&] {
                for (int i = 1; i <= 3; ++i)
                    if (!shows_something(tw.option(i)))
                        return false;
                return true;
            },
            unpainted.empty() ? 2s : 200ms);
        if (!options_painted) {
            unpainted.push_back(' ');
            unpainted.append(std::to_string(k + 1));
        }
        int h = painted_height(now);
        if (h < shortest) {
            shortest = h;
            screenshot(settings, tw.window, "test_short_picture");
        }
        if (h > tallest) {
            tallest = h;
            screenshot(settings, tw.window, "test_tall_picture");
        }
    }
    EXPECT_EQ(unpainted, "") << "the option buttons of these items are not painted";
    ASSERT_NO_FATAL_FAILURE(answer_rest(item_count, [&](int k) { return right(k); }));
    auto lines = report();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(narrow(lines[4]), narrow(count_line(70)));
    ASSERT_NO_FATAL_FAILURE(expect_test_over());

    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    auto worst = std::max_element(ms.begin(), ms.end());
    std::printf("Next to painted picture, %zu items: median %.1f ms, worst %.1f ms (item %d)\n",
                ms.size(), sorted[sorted.size() / 2], *worst,
                static_cast<int>(worst - ms.begin()) + 2);
    std::printf("painted picture heights: %d to %d px\n", shortest, tallest);
    ASSERT_NO_FATAL_FAILURE(close_results_and_expect_exit());
}

class Countdown : public TestRun {};

TEST_F(Countdown, FallsOneSecondPerTickAndEndsTheTestAtZero) {
    ASSERT_NO_FATAL_FAILURE(begin_test());
    EXPECT_EQ(narrow(clock()), "0:25:00");
    ASSERT_NO_FATAL_FAILURE(post_ticks(1));
    EXPECT_EQ(narrow(clock()), "0:24:59");
    ASSERT_NO_FATAL_FAILURE(run_clock_to(1));
    EXPECT_EQ(narrow(clock()), "0:00:01");
    EXPECT_TRUE(visible(tw.window));
    EXPECT_EQ(find_top(app.pid(), L"TfrmDiagramma"), nullptr);
    ASSERT_NO_FATAL_FAILURE(post_ticks(1));
    EXPECT_EQ(narrow(clock()), "0:00:00");
    results = wait_top(app.pid(), L"TfrmDiagramma", 5s);
    ASSERT_NE(results, nullptr) << "no results window at 0:00:00";
    EXPECT_FALSE(visible(tw.window));
    auto lines = report();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(narrow(lines[4]), narrow(count_line(0)));
    ASSERT_NO_FATAL_FAILURE(expect_test_over());
    ASSERT_NO_FATAL_FAILURE(close_results_and_expect_exit());
}

TEST_F(Countdown, AnOptionSelectedButNotConfirmedAtTimeOutIsNotCounted) {
    for (int answered : {0, 5}) {
        SCOPED_TRACE("answered before: " + std::to_string(answered));
        ASSERT_NO_FATAL_FAILURE(begin_test());
        for (int k = 1; k <= answered; ++k)
            ASSERT_NO_FATAL_FAILURE(answer(k, right(k)));
        ASSERT_NO_FATAL_FAILURE(select(right(answered + 1)));
        ASSERT_NO_FATAL_FAILURE(run_clock_to(0));
        results = wait_top(app.pid(), L"TfrmDiagramma", 5s);
        ASSERT_NE(results, nullptr);
        auto lines = report();
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(narrow(lines[4]), narrow(count_line(answered)));
        ASSERT_NO_FATAL_FAILURE(close_results_and_expect_exit());
    }
}

class CloseQuestion : public TestRun {};

TEST_F(CloseQuestion, NoKeepsTheSameItemSelectionAndCountdown) {
    ASSERT_NO_FATAL_FAILURE(begin_test());
    ASSERT_NO_FATAL_FAILURE(answer(1, right(1)));
    ASSERT_NO_FATAL_FAILURE(answer(2, wrong(2)));
    ASSERT_NO_FATAL_FAILURE(select(3));
    int before = clock_seconds(clock());

    post_close(tw.window);
    MessageBoxInfo box = wait_box(app.pid(), caption_question);
    ASSERT_NE(box.hwnd, nullptr) << "no close question";
    EXPECT_EQ(narrow(box.text), narrow(text_close_test));
    screenshot(settings, box.hwnd, "box_close_test");
    EXPECT_FALSE(IsWindowEnabled(tw.window)) << "the test window takes input under the box";
    EXPECT_NE(GetWindow(box.hwnd, GW_OWNER), nullptr);

    // The countdown goes on while the question is open.
    ASSERT_NO_FATAL_FAILURE(post_ticks(1));
    EXPECT_LT(clock_seconds(clock()), before);

    answer_box(box.hwnd, IDNO);
    ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));
    ASSERT_TRUE(flush_queue(tw.memo));
    EXPECT_TRUE(visible(tw.window));
    EXPECT_TRUE(IsWindowEnabled(tw.window));
    EXPECT_EQ(text(tw.question), content().questions[2]);
    EXPECT_TRUE(checked(tw.option(3)));
    EXPECT_TRUE(IsWindowEnabled(tw.next));
    int after = clock_seconds(clock());
    ASSERT_NO_FATAL_FAILURE(post_ticks(1));
    EXPECT_LT(clock_seconds(clock()), after) << "the countdown stopped";

    click(tw.next);
    ASSERT_NO_FATAL_FAILURE(wait_item(4));
    post_close(fio);
    expect_exit(0);
}

TEST_F(CloseQuestion, YesEndsTheProgramWithoutResults) {
    ASSERT_NO_FATAL_FAILURE(begin_test());
    ASSERT_NO_FATAL_FAILURE(select(1));
    PostMessageW(tw.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    MessageBoxInfo box = wait_box(app.pid(), caption_question);
    ASSERT_NE(box.hwnd, nullptr) << "no close question";
    EXPECT_EQ(narrow(box.text), narrow(text_close_test));
    answer_box(box.hwnd, IDYES);
    bool results_shown = false;
    wait_until(
        [&] {
            results_shown = results_shown || find_top(app.pid(), L"TfrmDiagramma") != nullptr;
            return !app.running();
        },
        10s);
    EXPECT_FALSE(results_shown);
    expect_exit(0);
}

// The time runs out while the question is open: the results window comes up under the box, and
// the answer then decides as before.
TEST_F(CloseQuestion, TimeOutWhileTheQuestionIsOpen) {
    for (int answer_given : {IDNO, IDYES}) {
        SCOPED_TRACE(answer_given == IDNO ? "answered No" : "answered Yes");
        ASSERT_NO_FATAL_FAILURE(begin_test());
        for (int k = 1; k <= 3; ++k)
            ASSERT_NO_FATAL_FAILURE(answer(k, right(k)));
        post_close(tw.window);
        MessageBoxInfo box = wait_box(app.pid(), caption_question);
        ASSERT_NE(box.hwnd, nullptr) << "no close question";
        ASSERT_NO_FATAL_FAILURE(run_clock_to(0));
        results = wait_top(app.pid(), L"TfrmDiagramma", 5s);
        ASSERT_NE(results, nullptr) << "no results window under the box";
        EXPECT_FALSE(visible(tw.window));
        EXPECT_TRUE(visible(box.hwnd)) << "the box went with the test window";
        EXPECT_TRUE(in_front_of(box.hwnd, results)) << "the results window covers the box";
        auto lines = report();
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(narrow(lines[4]), narrow(count_line(3)));
        if (answer_given == IDNO)
            screenshot(settings, GetDesktopWindow(), "results_under_close_question");

        answer_box(box.hwnd, answer_given);
        if (answer_given == IDYES) {
            ASSERT_NO_FATAL_FAILURE(expect_exit(0));
            continue;
        }
        ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));
        EXPECT_TRUE(visible(results));
        EXPECT_TRUE(IsWindowEnabled(results));
        ASSERT_NO_FATAL_FAILURE(close_results_and_expect_exit());
    }
}

} // namespace
} // namespace e2e
