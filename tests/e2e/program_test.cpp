// The program as a whole: its one task-bar entry, further copies and the system's log-off query.
#include "tarvel_fixture.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace e2e {
namespace {

using namespace tarvel::ids;

enum class State { registration, test, results };

const char* state_name(State s) {
    switch (s) {
    case State::registration:
        return "registration";
    case State::test:
        return "test";
    case State::results:
        return "results";
    }
    return "?";
}

class Program : public TarvelTest {
  protected:
    // Brings a fresh program into the state and returns the window shown in it.
    HWND enter(State s) {
        switch (s) {
        case State::registration:
            start();
            if (fio != nullptr)
                type_name(L"Орлов");
            return fio;
        case State::test:
            begin_test();
            if (tw.window != nullptr)
                select(2);
            return tw.window;
        case State::results:
            reach_results();
            return results;
        }
        return nullptr;
    }
    HWND application() const { return find_top(app.pid(), L"TApplication", false); }
    // The marker edit of the state: one that is always there and never typed into.
    HWND marker(State s) const {
        return s == State::registration ? fio_control(FIO_Memo1) : tw.memo;
    }
    // What the state's window shows, to compare before and after.
    std::wstring snapshot(State s) const {
        switch (s) {
        case State::registration:
            return text(fio_control(FIO_edtFIO));
        case State::test:
            return text(tw.question) + L"|" + std::to_wstring(checked(tw.option(2)));
        case State::results: {
            std::wstring all;
            for (const auto& l : report())
                all += l + L"\n";
            return all;
        }
        }
        return {};
    }
    void end_program(State s) {
        if (s == State::results) {
            close_results_and_expect_exit();
        } else {
            post_close(fio);
            expect_exit(0);
        }
    }
};

TEST_F(Program, SecondCopyInTheResultsStateChangesNothing) {
    HWND shown = enter(State::results);
    ASSERT_FALSE(HasFatalFailure());
    std::wstring before = snapshot(State::results);
    OtherCopy other = run_other_copy(settings.exe);
    ASSERT_TRUE(other.exit_code.has_value()) << "the second copy did not end";
    EXPECT_EQ(*other.exit_code, 0u);
    EXPECT_FALSE(other.showed_window);
    ASSERT_TRUE(flush_queue(tw.memo));
    EXPECT_TRUE(visible(shown));
    EXPECT_FALSE(visible(fio));
    EXPECT_EQ(narrow(snapshot(State::results)), narrow(before));
    end_program(State::results);
}

// Minimising through the application window hides every window; restoring, by the application
// window or by a second copy, brings back the one that was shown with what it showed.
TEST_F(Program, MinimiseAndRestoreTheWholeProgram) {
    for (State s : {State::registration, State::test, State::results}) {
        SCOPED_TRACE(state_name(s));
        HWND shown = enter(s);
        ASSERT_FALSE(HasFatalFailure());
        HWND app_window = application();
        ASSERT_NE(app_window, nullptr);
        std::wstring before = snapshot(s);

        PostMessageW(app_window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(wait_until([&] { return !visible(shown); }, 5s)) << "not minimised";
        PostMessageW(app_window, WM_SYSCOMMAND, SC_RESTORE, 0);
        ASSERT_TRUE(wait_until([&] { return visible(shown); }, 5s)) << "not restored";
        EXPECT_EQ(narrow(snapshot(s)), narrow(before));

        PostMessageW(app_window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(wait_until([&] { return !visible(shown); }, 5s)) << "not minimised again";
        OtherCopy other = run_other_copy(settings.exe);
        ASSERT_TRUE(other.exit_code.has_value()) << "the second copy did not end";
        EXPECT_EQ(*other.exit_code, 0u);
        EXPECT_TRUE(wait_until([&] { return visible(shown); }, 5s))
            << "a second copy did not restore the program";
        ASSERT_TRUE(flush_queue(marker(s)));
        EXPECT_EQ(narrow(snapshot(s)), narrow(before));
        if (s != State::registration) {
            EXPECT_FALSE(visible(fio));
        }
        ASSERT_NO_FATAL_FAILURE(end_program(s));
    }
}

// The system asks every window before the user is logged off. A running test and an unsaved
// report ask the user; No refuses the log-off and the program goes on, Yes ends it.
class LogOff : public Program {
  protected:
    struct Outcome {
        std::vector<std::wstring> questions; // texts of the boxes that came up, in order
        bool refused = false;                // some window answered FALSE
    };
    Outcome query(int answer) {
        Outcome out;
        std::vector<HWND> windows = top_windows(app.pid());
        std::vector<LRESULT> replies(windows.size(), TRUE);
        std::atomic<bool> done{false};
        std::thread system([&] {
            for (std::size_t i = 0; i < windows.size(); ++i) {
                DWORD_PTR r = TRUE;
                if (SendMessageTimeoutW(windows[i], WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                        SMTO_NORMAL, 30000, &r))
                    replies[i] = static_cast<LRESULT>(r);
            }
            done = true;
        });
        std::vector<HWND> answered;
        wait_until(
            [&] {
                if (app.running())
                    for (auto& b : message_boxes(app.pid()))
                        if (std::find(answered.begin(), answered.end(), b.hwnd) == answered.end()) {
                            answered.push_back(b.hwnd);
                            out.questions.push_back(b.text);
                            answer_box(b.hwnd, answer);
                        }
                return done.load();
            },
            60s);
        system.join();
        out.refused = std::find(replies.begin(), replies.end(), FALSE) != replies.end();
        return out;
    }
};

TEST_F(LogOff, RunningTestAndUnsavedReportAsk) {
    struct Case {
        State state;
        int answer;
        std::vector<std::wstring> questions;
    };
    const Case cases[] = {
        {State::test, IDNO, {text_close_test}},
        {State::test, IDYES, {text_close_test}},
        {State::results, IDNO, {text_close_test, text_unsaved}},
        {State::results, IDYES, {text_close_test, text_unsaved}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(state_name(c.state)) + (c.answer == IDNO ? ", No" : ", Yes"));
        HWND shown = enter(c.state);
        ASSERT_FALSE(HasFatalFailure());
        std::wstring before = snapshot(c.state);
        Outcome out = query(c.answer);
        std::vector<std::string> got, expected;
        for (const auto& q : out.questions)
            got.push_back(narrow(q));
        for (const auto& q : c.questions)
            expected.push_back(narrow(q));
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        if (c.answer == IDYES) {
            // The first Yes ends the program, so a later question need not come.
            ASSERT_FALSE(got.empty()) << "nothing was asked";
            for (const auto& q : got) {
                EXPECT_NE(std::find(expected.begin(), expected.end(), q), expected.end()) << q;
            }
            ASSERT_NO_FATAL_FAILURE(expect_exit(0));
            continue;
        }
        EXPECT_EQ(got, expected);
        EXPECT_TRUE(out.refused) << "No did not refuse the log-off";
        ASSERT_TRUE(app.running()) << "the program ended after No";
        ASSERT_TRUE(flush_queue(marker(c.state)));
        EXPECT_TRUE(visible(shown));
        EXPECT_EQ(narrow(snapshot(c.state)), narrow(before));
        ASSERT_NO_FATAL_FAILURE(end_program(c.state));
    }
}

TEST_F(LogOff, RegistrationAgreesWithoutAQuestion) {
    ASSERT_NO_FATAL_FAILURE(enter(State::registration));
    Outcome out = query(IDNO);
    EXPECT_TRUE(out.questions.empty());
    EXPECT_FALSE(out.refused);
    post_close(fio);
    expect_exit(0);
}

} // namespace
} // namespace e2e
