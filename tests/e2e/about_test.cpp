// The About dialog, opened from the registration window.
#include "tarvel_fixture.h"

#include <cstdlib>

namespace e2e {
namespace {

using namespace tarvel::ids;

class About : public TarvelTest {};

TEST_F(About, OpensModallyAndClosesEveryWay) {
    struct Case {
        const char* how;
        int key_target; // control id that gets the key, 0 for the title-bar close
        UINT vk;
    };
    const Case cases[] = {
        {"Esc on OK", About_btnOK, VK_ESCAPE},
        {"Enter on OK", About_btnOK, VK_RETURN},
        {"Space on OK", About_btnOK, VK_SPACE},
        {"Esc in the text", About_Memo1, VK_ESCAPE},
        {"title-bar close", 0, 0},
    };
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(type_name(L"Смирнов"));
    HWND about_button = fio_control(FIO_spdbtnAbout);
    ASSERT_NE(about_button, nullptr);
    EXPECT_EQ(class_name(about_button), L"TSpeedButton");
    std::optional<RECT> first_place;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        click(about_button);
        HWND about = wait_top(app.pid(), L"TfrmAbout");
        ASSERT_NE(about, nullptr) << "no About dialog";
        EXPECT_FALSE(IsWindowEnabled(fio)) << "the registration window takes input under it";
        RECT r = window_rect(about);
        if (!first_place) {
            first_place = r;
            screenshot(settings, about, "about");
            SIZE client = client_size(about);
            EXPECT_EQ(client.cx, 483);
            EXPECT_EQ(client.cy, 337);
            SIZE screen = screen_size();
            EXPECT_LE(std::abs((r.left + r.right) - screen.cx), 2) << "not centred across";
            EXPECT_LE(std::abs((r.top + r.bottom) - screen.cy), 2) << "not centred down";
            LONG style = GetWindowLongW(about, GWL_STYLE);
            EXPECT_TRUE(style & WS_SYSMENU);
            EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
            EXPECT_EQ(focused_window(app.thread_id()), find_child(about, About_btnOK))
                << "OK has no focus";
        } else {
            EXPECT_TRUE(EqualRect(&r, &*first_place)) << "opened somewhere else";
        }
        if (c.key_target != 0) {
            HWND target = find_child(about, c.key_target);
            ASSERT_NE(target, nullptr);
            post_key(target, c.vk);
        } else {
            PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        ASSERT_TRUE(wait_until([&] { return !visible(about); }, 5s)) << "the dialog stayed";
        ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(fio) != FALSE; }, 5s));
        EXPECT_TRUE(visible(fio));
        EXPECT_EQ(text(fio_control(FIO_edtFIO)), L"Смирнов");
        EXPECT_TRUE(IsWindowEnabled(fio_control(FIO_btnNext)));
        EXPECT_EQ(find_top(app.pid(), L"TfrmTest"), nullptr) << "a key went on to the window";
    }
    post_close(fio);
    expect_exit(0);
}

} // namespace
} // namespace e2e
