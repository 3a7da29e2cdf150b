// The registration window: the name filter, pasted text and Enter.
#include "tarvel_fixture.h"

namespace e2e {
namespace {

using namespace tarvel::ids;

class Registration : public TarvelTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(start());
        edit = fio_control(FIO_edtFIO);
        status = fio_control(FIO_StatusBar1);
        next = fio_control(FIO_btnNext);
        ASSERT_TRUE(edit && status && next);
    }
    std::wstring message() const { return status_text(status, 1); }
    bool next_enabled() const { return IsWindowEnabled(next) != FALSE; }

    HWND edit = nullptr;
    HWND status = nullptr;
    HWND next = nullptr;
};

// Characters typed one after another into the field. A refused character leaves the text as it
// was and shows the message; the next accepted one clears it again.
TEST_F(Registration, NameFilterTakesOnlyRussianLettersAndBlanks) {
    struct Step {
        const char* what;
        wchar_t ch;
        const wchar_t* text_after;
        bool refused;
    };
    const Step steps[] = {
        {"Cyrillic capital", L'П', L"П", false},
        {"digit", L'7', L"П", true},
        {"Cyrillic small", L'я', L"Пя", false},
        {"Latin letter", L'q', L"Пя", true},
        {"blank", L' ', L"Пя ", false},
        {"hyphen", L'-', L"Пя ", true},
        {"first Cyrillic", L'А', L"Пя А", false},
        {"capital Yo", L'Ё', L"Пя А", true},
        {"last Cyrillic", L'я', L"Пя Ая", false},
        {"small yo", L'ё', L"Пя Ая", true},
        {"backspace", L'\b', L"Пя А", false},
        {"Ctrl+V", wchar_t{22}, L"Пя А", true},
        {"apostrophe", L'\'', L"Пя А", true},
        {"Esc", wchar_t{27}, L"Пя А", true},
        {"Cyrillic after refusal", L'ж', L"Пя Аж", false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        post_char(edit, s.ch);
        ASSERT_TRUE(flush_queue(fio_control(FIO_Memo1)));
        EXPECT_EQ(narrow(text(edit)), narrow(s.text_after));
        EXPECT_EQ(narrow(message()), narrow(s.refused ? text_russian_only : L""));
        EXPECT_TRUE(next_enabled());
    }
    post_close(fio);
    expect_exit(0);
}

TEST_F(Registration, NextFollowsWhetherTheFieldIsEmpty) {
    EXPECT_FALSE(next_enabled());
    post_char(edit, L' ');
    ASSERT_TRUE(wait_until([&] { return text(edit) == L" "; }));
    EXPECT_TRUE(next_enabled()) << "a name of blanks is a name";
    post_char(edit, L'\b');
    ASSERT_TRUE(wait_until([&] { return text(edit).empty(); }));
    EXPECT_FALSE(next_enabled());
    post_close(fio);
    expect_exit(0);
}

// Text that does not come as typed characters is not filtered.
TEST_F(Registration, PastedTextGoesInUnfiltered) {
    const std::wstring pasted = L"John Smith-2";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pasted.c_str()));
    ASSERT_TRUE(flush_queue(fio_control(FIO_Memo1)));
    EXPECT_EQ(text(edit), pasted);
    EXPECT_TRUE(next_enabled());
    EXPECT_EQ(message(), L"");

    // Through the clipboard, pasted at the end of what is there.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::wstring clip = L" Jr.";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (clip.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(mem, nullptr);
    std::copy(clip.c_str(), clip.c_str() + clip.size() + 1, static_cast<wchar_t*>(GlobalLock(mem)));
    GlobalUnlock(mem);
    if (!SetClipboardData(CF_UNICODETEXT, mem))
        GlobalFree(mem);
    CloseClipboard();
    PostMessageW(edit, EM_SETSEL, pasted.size(), pasted.size());
    PostMessageW(edit, WM_PASTE, 0, 0);
    ASSERT_TRUE(wait_until([&] { return text(edit) == pasted + clip; }))
        << "field holds " << narrow(text(edit));
    EXPECT_EQ(message(), L"");

    click(next);
    ASSERT_NE(wait_top(app.pid(), L"TfrmTest"), nullptr) << "a pasted name does not start the test";
    post_close(fio);
    expect_exit(0);
}

TEST_F(Registration, EnterWithAnEmptyNameStartsNothingAndClearsTheMessage) {
    post_char(edit, L'1');
    ASSERT_TRUE(wait_until([&] { return message() == text_russian_only; }));
    post_key(edit, VK_RETURN);
    ASSERT_TRUE(flush_queue(fio_control(FIO_Memo1)));
    EXPECT_EQ(message(), L"") << "Enter is an accepted character";
    EXPECT_TRUE(visible(fio));
    EXPECT_EQ(find_top(app.pid(), L"TfrmTest"), nullptr);
    EXPECT_EQ(text(edit), L"");
    post_close(fio);
    expect_exit(0);
}

TEST_F(Registration, EnterWithANameStartsTheTest) {
    ASSERT_NO_FATAL_FAILURE(type_name(L"Кузнецова Анна"));
    post_key(edit, VK_RETURN);
    HWND test = wait_top(app.pid(), L"TfrmTest");
    ASSERT_NE(test, nullptr) << "Enter did not start the test";
    EXPECT_FALSE(visible(fio));
    EXPECT_EQ(text(edit), L"Кузнецова Анна") << "the hidden window keeps the name";
    post_close(fio);
    expect_exit(0);
}

} // namespace
} // namespace e2e
