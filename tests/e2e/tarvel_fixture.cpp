#include "tarvel_fixture.h"

#include <algorithm>
#include <cstdio>

namespace e2e {

int clock_seconds(const std::wstring& text) {
    int h = 0, m = 0, s = 0;
    wchar_t tail = 0;
    if (swscanf(text.c_str(), L"%d:%2d:%2d%lc", &h, &m, &s, &tail) != 3 || text.size() != 7)
        return -1;
    return h * 3600 + m * 60 + s;
}

std::wstring clock_text(int seconds) {
    wchar_t buf[16];
    swprintf(buf, 16, L"%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}

OtherCopy run_other_copy(const std::wstring& exe) {
    OtherCopy seen;
    Process p = Process::start(exe);
    if (!p.running() && p.pid() == 0)
        return seen;
    wait_until(
        [&] {
            for (HWND h : top_windows(p.pid())) {
                std::wstring cls = class_name(h);
                if (std::find(seen.window_classes.begin(), seen.window_classes.end(), cls) ==
                    seen.window_classes.end())
                    seen.window_classes.push_back(cls);
                seen.showed_window = seen.showed_window || visible(h);
            }
            return !p.running();
        },
        10s);
    seen.exit_code = p.wait(0ms);
    return seen;
}

void TarvelTest::TearDown() {
    app.kill(); // a no-op when the test ended the program itself
}

const Content& TarvelTest::content() {
    if (!content_) {
        Content c;
        c.questions = read_utf8_lines(settings.content / "questions.txt");
        c.options = read_utf8_lines(settings.content / "options.txt");
        for (const auto& line : read_utf8_lines(settings.content / "key.txt"))
            c.key.push_back(std::stoi(line));
        content_ = std::move(c);
    }
    return *content_;
}

void TarvelTest::start() {
    ASSERT_FALSE(settings.exe.empty()) << "TARVEL_EXE is not set";
    app = Process::start(settings.exe);
    ASSERT_TRUE(app.running()) << "cannot start " << narrow(settings.exe);
    fio = wait_top(app.pid(), L"TfrmFIO");
    ASSERT_NE(fio, nullptr) << "no registration window";
}

void TarvelTest::type_name(const std::wstring& name) {
    HWND edit = fio_control(tarvel::ids::FIO_edtFIO);
    ASSERT_NE(edit, nullptr);
    post_text(edit, name);
    ASSERT_TRUE(wait_until([&] { return text(edit) == name; }))
        << "name field holds " << narrow(text(edit));
}

void TarvelTest::paste_name(const std::wstring& name) {
    HWND edit = fio_control(tarvel::ids::FIO_edtFIO);
    ASSERT_NE(edit, nullptr);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    ASSERT_EQ(text(edit), name);
}

void TarvelTest::begin_test(const std::wstring& name, bool pasted) {
    ASSERT_NO_FATAL_FAILURE(start());
    if (pasted) {
        ASSERT_NO_FATAL_FAILURE(paste_name(name));
    } else {
        ASSERT_NO_FATAL_FAILURE(type_name(name));
    }
    HWND next = fio_control(tarvel::ids::FIO_btnNext);
    ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(next) != FALSE; }));
    click(next);
    tw.window = wait_top(app.pid(), L"TfrmTest");
    ASSERT_NE(tw.window, nullptr) << "no test window";
    using namespace tarvel::ids;
    tw.status = find_child(tw.window, Test_StatusBar1);
    tw.image = find_child(tw.window, Test_Image1);
    tw.group = find_child(tw.window, Test_grpAnswer);
    tw.question = find_child(tw.window, Test_lblQuestion);
    tw.next = find_child(tw.window, Test_btnNext);
    tw.memo = find_child(tw.window, Test_Memo1);
    ASSERT_TRUE(tw.status && tw.image && tw.group && tw.question && tw.next && tw.memo)
        << "a control of the test window is missing";
    ASSERT_NO_FATAL_FAILURE(wait_item(1));
}

void TarvelTest::reach_results(const std::wstring& name, bool pasted) {
    ASSERT_NO_FATAL_FAILURE(begin_test(name, pasted));
    ASSERT_NO_FATAL_FAILURE(run_clock_to(0));
    results = wait_top(app.pid(), L"TfrmDiagramma");
    ASSERT_NE(results, nullptr) << "no results window at 0:00:00";
    ASSERT_TRUE(wait_until([&] { return report().size() == 5; })) << "no report";
}

void TarvelTest::wait_item(int k) {
    const auto& c = content();
    ASSERT_GE(c.questions.size(), static_cast<std::size_t>(k));
    const std::wstring& q = c.questions[static_cast<std::size_t>(k - 1)];
    bool ok = wait_until([&] {
        if (text(tw.question) != q || IsWindowEnabled(tw.next))
            return false;
        for (int i = 1; i <= 3; ++i) {
            HWND b = tw.option(i);
            if (b == nullptr || checked(b))
                return false;
        }
        return true;
    });
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(visible(tw.option(i))) << "item " << k << ": option " << i << " is hidden";
    }
    ASSERT_TRUE(ok) << "item " << k << " not presented: question " << narrow(text(tw.question))
                    << ", Next " << (IsWindowEnabled(tw.next) ? "enabled" : "disabled");
    for (int i = 1; i <= 3; ++i) {
        std::wstring caption = text(tw.option(i));
        EXPECT_TRUE(caption.starts_with(std::to_wstring(i) + L". "))
            << "item " << k << " option " << i << ": " << narrow(caption);
    }
}

void TarvelTest::select(int option) {
    HWND b = tw.option(option);
    ASSERT_NE(b, nullptr);
    click(b);
    ASSERT_TRUE(wait_until([&] { return checked(b) && IsWindowEnabled(tw.next); }))
        << "option " << option << " not selected or Next not enabled";
}

void TarvelTest::answer(int k, int option) {
    ASSERT_NO_FATAL_FAILURE(select(option));
    click(tw.next);
    if (k < item_count) {
        ASSERT_NO_FATAL_FAILURE(wait_item(k + 1));
    }
}

void TarvelTest::answer_rest(int from, const std::function<int(int)>& choose) {
    for (int k = from; k <= item_count; ++k)
        ASSERT_NO_FATAL_FAILURE(answer(k, choose(k)));
    results = wait_top(app.pid(), L"TfrmDiagramma");
    ASSERT_NE(results, nullptr) << "no results window after item 70";
}

void TarvelTest::post_ticks(int n) {
    while (n > 0) {
        int batch = std::min(n, 1000);
        for (int i = 0; i < batch; ++i)
            PostMessageW(tw.window, WM_TIMER, tarvel::ids::Test_Timer1, 0);
        ASSERT_TRUE(flush_queue(tw.memo, 30s)) << "ticks not handled";
        n -= batch;
    }
}

void TarvelTest::run_clock_to(int target) {
    for (;;) {
        int now = clock_seconds(clock());
        ASSERT_GE(now, 0) << "clock shows " << narrow(clock());
        if (now == target)
            return;
        ASSERT_GT(now, target) << "clock went past " << narrow(clock_text(target));
        // Leave room for the real timer's ticks, then step one at a time.
        int gap = now - target;
        ASSERT_NO_FATAL_FAILURE(post_ticks(gap > 3 ? gap - 2 : 1));
    }
}

std::vector<std::wstring> TarvelTest::report() const {
    HWND view = find_child(results, tarvel::ids::Diagramma_RichEdit1);
    if (view == nullptr)
        return {};
    return split_lines(text(view));
}

void TarvelTest::close_results_and_expect_exit() {
    post_close(results);
    wait_until([&] { return !app.running() || !message_boxes(app.pid()).empty(); });
    for (auto& b : message_boxes(app.pid()))
        answer_box(b.hwnd, IDYES);
    expect_exit(0);
}

void TarvelTest::expect_exit(DWORD code) {
    auto got = app.wait(10s);
    ASSERT_TRUE(got.has_value()) << "the program did not end";
    EXPECT_EQ(*got, code);
}

} // namespace e2e
