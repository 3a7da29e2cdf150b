// Start-up, the single-instance rule and ending the program from the registration window.
#include "tarvel_fixture.h"

#include <cstdlib>

namespace e2e {
namespace {

using namespace tarvel::ids;

// The window of the driver's own that carries the program's class name.
class ForeignWindow {
  public:
    explicit ForeignWindow(bool shown) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ForeignWindow::proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TfrmFIO";
        RegisterClassW(&wc); // fails harmlessly when already registered
        hwnd_ = CreateWindowExW(0, L"TfrmFIO", L"Другая программа", WS_OVERLAPPEDWINDOW, 10, 10,
                                200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&app_messages_));
        if (shown)
            ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~ForeignWindow() { DestroyWindow(hwnd_); }
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    int app_messages() const { return app_messages_; }

  private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
        if (msg == WM_APP) {
            if (auto* n = reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
                ++*n;
            return 0;
        }
        return DefWindowProcW(hwnd, msg, w, l);
    }

    HWND hwnd_ = nullptr;
    int app_messages_ = 0;
};

class Startup : public TarvelTest {};

TEST_F(Startup, RegistrationWindowIsShownCentred) {
    ASSERT_NO_FATAL_FAILURE(start());
    screenshot(settings, fio, "registration");
    EXPECT_EQ(class_name(fio), L"TfrmFIO");
    EXPECT_EQ(narrow(text(fio)), narrow(caption_main));
    SIZE client = client_size(fio);
    EXPECT_EQ(client.cx, 370);
    EXPECT_EQ(client.cy, 344);
    RECT r = window_rect(fio);
    SIZE screen = screen_size();
    EXPECT_LE(std::abs((r.left + r.right) - screen.cx), 2) << "not centred across";
    EXPECT_LE(std::abs((r.top + r.bottom) - screen.cy), 2) << "not centred down";
    LONG style = GetWindowLongW(fio, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    HWND edit = fio_control(FIO_edtFIO);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(class_name(edit), L"Edit");
    EXPECT_EQ(text(edit), L"");
    EXPECT_FALSE(IsWindowEnabled(fio_control(FIO_btnNext)));
    HWND status = fio_control(FIO_StatusBar1);
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status_text(status, 0).empty()) << "no program name in the status bar";
    EXPECT_EQ(status_text(status, 1), L"");
    EXPECT_EQ(focused_window(app.thread_id()), edit) << "the name field has no focus";

    // The application window is the one task-bar entry and is never shown as a window.
    HWND application = find_top(app.pid(), L"TApplication", false);
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(narrow(text(application)), narrow(L"Тарвел"));
    EXPECT_EQ(GetWindow(fio, GW_OWNER), application);

    post_close(fio);
    expect_exit(0);
}

TEST_F(Startup, ClosingTheRegistrationWindowEndsTheProgram) {
    struct Case {
        const char* how;
        UINT msg;
        WPARAM w;
        const wchar_t* name;
    };
    const Case cases[] = {
        {"WM_CLOSE, empty name", WM_CLOSE, 0, L""},
        {"WM_CLOSE, name typed", WM_CLOSE, 0, L"Сидоров"},
        {"SC_CLOSE, empty name", WM_SYSCOMMAND, SC_CLOSE, L""},
        {"SC_CLOSE, name typed", WM_SYSCOMMAND, SC_CLOSE, L"Сидоров"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        ASSERT_NO_FATAL_FAILURE(start());
        if (*c.name != 0) {
            ASSERT_NO_FATAL_FAILURE(type_name(c.name));
        }
        PostMessageW(fio, c.msg, c.w, 0);
        ASSERT_NO_FATAL_FAILURE(expect_exit(0));
        EXPECT_TRUE(message_boxes(app.pid()).empty());
    }
}

class SingleInstance : public TarvelTest {};

TEST_F(SingleInstance, SecondCopyWhileTheRegistrationWindowIsShown) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(type_name(L"Петров"));
    RECT before = window_rect(fio);

    OtherCopy other = run_other_copy(settings.exe);
    ASSERT_TRUE(other.exit_code.has_value()) << "the second copy did not end";
    EXPECT_EQ(*other.exit_code, 0u);
    EXPECT_FALSE(other.showed_window);
    for (const auto& cls : other.window_classes) {
        EXPECT_FALSE(cls.starts_with(L"Tfrm") || cls == L"TApplication")
            << "the second copy made a " << narrow(cls) << " window";
    }

    ASSERT_TRUE(flush_queue(fio_control(FIO_Memo1)));
    EXPECT_TRUE(visible(fio));
    RECT after = window_rect(fio);
    EXPECT_TRUE(EqualRect(&before, &after)) << "the registration window moved";
    EXPECT_EQ(text(fio_control(FIO_edtFIO)), L"Петров");
    EXPECT_EQ(find_top(app.pid(), L"TfrmTest"), nullptr);
    post_close(fio);
    expect_exit(0);
}

TEST_F(SingleInstance, SecondCopyWhileTheTestRuns) {
    ASSERT_NO_FATAL_FAILURE(begin_test());
    ASSERT_NO_FATAL_FAILURE(select(2));

    OtherCopy other = run_other_copy(settings.exe);
    ASSERT_TRUE(other.exit_code.has_value()) << "the second copy did not end";
    EXPECT_EQ(*other.exit_code, 0u);
    EXPECT_FALSE(other.showed_window);

    ASSERT_TRUE(flush_queue(tw.memo));
    EXPECT_TRUE(visible(tw.window));
    EXPECT_FALSE(visible(fio));
    EXPECT_EQ(text(tw.question), content().questions[0]);
    EXPECT_TRUE(checked(tw.option(2)));
    EXPECT_TRUE(IsWindowEnabled(tw.next));
    EXPECT_FALSE(IsIconic(tw.window));
    post_close(fio); // the main window closes without a question in every state
    expect_exit(0);
}

// Any top-level window of the class counts as a running copy, whoever made it. A hidden one is
// asked to restore itself with WM_APP; a shown one is only brought forward.
TEST_F(SingleInstance, AnotherProgramsWindowOfTheClassCountsAsRunningCopy) {
    struct Case {
        const char* what;
        bool shown;
        int app_messages;
    };
    const Case cases[] = {
        {"hidden window", false, 1},
        {"shown window", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ForeignWindow foreign(c.shown);
        ASSERT_NE(foreign.hwnd(), nullptr);
        OtherCopy copy = run_other_copy(settings.exe);
        ASSERT_TRUE(copy.exit_code.has_value()) << "the program did not end";
        EXPECT_EQ(*copy.exit_code, 0u);
        EXPECT_FALSE(copy.showed_window);
        for (const auto& cls : copy.window_classes) {
            EXPECT_FALSE(cls.starts_with(L"Tfrm") || cls == L"TApplication")
                << "the program made a " << narrow(cls) << " window";
        }
        pump_messages();
        EXPECT_EQ(foreign.app_messages(), c.app_messages);
    }
}

} // namespace
} // namespace e2e
