// The results window: its report, saving it through the save dialog, and the close rule.
#include "tarvel_fixture.h"

#include <cstdlib>
#include <fstream>

namespace e2e {
namespace {

using namespace tarvel::ids;

constexpr int file_name_box = 0x47C; // cmb13 of the system's save dialog

std::wstring today() {
    wchar_t buf[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf, 128);
    return buf;
}

class Results : public TarvelTest {
  protected:
    std::vector<std::wstring> expected_report(const std::wstring& name, int count) const {
        return {today(), name, L"Результаты теста Тарвела", L"", count_line(count)};
    }
    // The report as the saved file must hold it.
    std::string expected_file(const std::wstring& name, int count) const {
        std::string bytes;
        for (const auto& line : expected_report(name, count))
            bytes += to_cp1251(line) + "\r\n";
        return bytes;
    }
    // Asks to close and answers the question, if one comes; returns the question's text.
    std::wstring close_with(UINT msg, WPARAM w, int answer) {
        if (msg == WM_COMMAND)
            post_command(results, static_cast<int>(w));
        else
            PostMessageW(results, msg, w, 0);
        std::wstring asked;
        wait_until([&] { return !app.running() || !message_boxes(app.pid()).empty(); }, 5s);
        for (auto& b : message_boxes(app.pid())) {
            asked = b.text;
            EXPECT_EQ(narrow(b.caption), narrow(caption_question));
            answer_box(b.hwnd, answer);
        }
        return asked;
    }

    HWND open_save_dialog() {
        post_command(results, Diagramma_mnuFileSaveAsText);
        HWND dialog = nullptr;
        wait_until([&] {
            for (auto& b : message_boxes(app.pid()))
                if (find_child(b.hwnd, file_name_box) != nullptr) {
                    dialog = b.hwnd;
                    return true;
                }
            return false;
        });
        return dialog;
    }
    // Types the name into the dialog and accepts it. Returns the first box that comes up on top
    // of the dialog or after it (the overwrite prompt, an error), or none.
    MessageBoxInfo choose_file(HWND dialog, const std::wstring& name) {
        HWND box = find_child(dialog, file_name_box);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()),
                            SMTO_ABORTIFHUNG, 5000, &ignored);
        post_command(dialog, IDOK);
        MessageBoxInfo other;
        wait_until(
            [&] {
                for (auto& b : message_boxes(app.pid()))
                    if (b.hwnd != dialog) {
                        other = b;
                        return true;
                    }
                return !IsWindow(dialog) || !visible(dialog);
            },
            10s);
        return other;
    }
    // The whole save: menu, dialog, name, OK and Yes to a replace prompt.
    void save_as(const std::wstring& name, bool expect_replace_prompt) {
        HWND dialog = open_save_dialog();
        ASSERT_NE(dialog, nullptr) << "no save dialog";
        MessageBoxInfo box = choose_file(dialog, name);
        if (expect_replace_prompt) {
            ASSERT_NE(box.hwnd, nullptr) << "no question before replacing " << narrow(name);
            answer_box(box.hwnd, IDYES);
        } else {
            ASSERT_EQ(box.hwnd, nullptr)
                << "unexpected box: " << narrow(box.caption) << ": " << narrow(box.text);
        }
        ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }))
            << "a box stayed open after the save";
        ASSERT_TRUE(flush_queue(tw.memo));
    }
    std::filesystem::path scratch_file(const std::wstring& name) {
        auto p = settings.scratch / name;
        std::error_code ec;
        std::filesystem::remove_all(p, ec);
        return p;
    }
};

// Line 2 is the name as it stands in the field, whatever reached it and however odd.
TEST_F(Results, ReportHoldsDateNameHeadingAndCount) {
    struct Case {
        const char* what;
        const wchar_t* name;
        bool pasted;
    };
    const Case cases[] = {
        {"typed name", L"Иванов Иван", false},
        {"blanks only", L"   ", false},
        {"pasted Latin and digits", L"Smith John 2", true},
    };
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(reach_results(c.name, c.pasted));
        auto lines = report();
        auto expected = expected_report(c.name, 0);
        ASSERT_EQ(lines.size(), expected.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(narrow(lines[i]), narrow(expected[i])) << "line " << i + 1;
        if (first) {
            first = false;
            screenshot(settings, results, "results");
            EXPECT_EQ(narrow(text(results)), narrow(caption_main));
            SIZE client = client_size(results);
            EXPECT_EQ(client.cx, 391);
            EXPECT_EQ(client.cy, 182);
            RECT r = window_rect(results);
            SIZE screen = screen_size();
            EXPECT_LE(std::abs((r.left + r.right) - screen.cx), 2) << "not centred across";
            EXPECT_LE(std::abs((r.top + r.bottom) - screen.cy), 2) << "not centred down";
            LONG style = GetWindowLongW(results, GWL_STYLE);
            EXPECT_TRUE((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) ==
                        (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
            HWND view = find_child(results, Diagramma_RichEdit1);
            EXPECT_EQ(class_name(view), L"RichEdit20W");
            EXPECT_EQ(focused_window(app.thread_id()), view);
        }
        ASSERT_NO_FATAL_FAILURE(close_results_and_expect_exit());
    }
}

// Every way of closing an unsaved report asks first; No keeps the window and its report.
TEST_F(Results, ClosingUnsavedAsksEveryWay) {
    struct Case {
        const char* how;
        UINT msg;
        WPARAM w;
    };
    const Case cases[] = {
        {"menu Закрыть", WM_COMMAND, Diagramma_mnuExit},
        {"title-bar close", WM_SYSCOMMAND, SC_CLOSE},
        {"WM_CLOSE", WM_CLOSE, 0},
    };
    ASSERT_NO_FATAL_FAILURE(reach_results());
    auto before = report();
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        if (first) {
            first = false;
            post_close(results);
            MessageBoxInfo box = wait_box(app.pid(), caption_question);
            ASSERT_NE(box.hwnd, nullptr);
            screenshot(settings, box.hwnd, "box_results_unsaved");
            answer_box(box.hwnd, IDNO);
            ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));
        }
        EXPECT_EQ(narrow(close_with(c.msg, c.w, IDNO)), narrow(text_unsaved));
        ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));
        ASSERT_TRUE(flush_queue(tw.memo));
        EXPECT_TRUE(visible(results));
        EXPECT_EQ(report(), before);
    }
    EXPECT_EQ(narrow(close_with(WM_COMMAND, Diagramma_mnuExit, IDYES)), narrow(text_unsaved));
    expect_exit(0);
}

class Saving : public Results {};

TEST_F(Saving, SavedFileIsTheReportInWindows1251AndCloseAsksNothing) {
    const std::wstring name = L"Иванов Иван";
    ASSERT_NO_FATAL_FAILURE(reach_results(name));
    auto file = scratch_file(L"report.txt");
    HWND dialog = open_save_dialog();
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    screenshot(settings, dialog, "save_dialog");
    // Typed without extension: ".txt" is added.
    MessageBoxInfo box = choose_file(dialog, (settings.scratch / L"report").wstring());
    ASSERT_EQ(box.hwnd, nullptr) << narrow(box.caption) << ": " << narrow(box.text);
    ASSERT_TRUE(flush_queue(tw.memo));
    ASSERT_TRUE(std::filesystem::exists(file)) << "no report.txt";
    EXPECT_FALSE(std::filesystem::exists(settings.scratch / L"report"));
    EXPECT_EQ(read_bytes(file), expected_file(name, 0));

    EXPECT_EQ(narrow(close_with(WM_COMMAND, Diagramma_mnuExit, IDNO)), "");
    expect_exit(0);
}

// An existing file is replaced whole, after a question; saving again does the same again.
TEST_F(Saving, ReplacingAFileAsksFirstAndSavingTwiceWritesTheReportTwice) {
    const std::wstring name = L"Петрова Мария";
    ASSERT_NO_FATAL_FAILURE(reach_results(name));
    auto file = scratch_file(L"existing.txt");
    {
        std::ofstream old(file, std::ios::binary);
        old << std::string(4000, 'x') << "\r\nold content\r\n";
    }
    HWND dialog = open_save_dialog();
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    MessageBoxInfo prompt = choose_file(dialog, file.wstring());
    ASSERT_NE(prompt.hwnd, nullptr) << "no question before replacing";
    screenshot(settings, prompt.hwnd, "box_replace_file");
    // Saying No first goes back to the dialog; nothing is written.
    answer_box(prompt.hwnd, IDNO);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(prompt.hwnd) || !visible(prompt.hwnd); }));
    EXPECT_EQ(read_bytes(file).size(), 4000u + 15u);
    if (IsWindow(dialog) && visible(dialog))
        post_command(dialog, IDCANCEL);
    ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));

    ASSERT_NO_FATAL_FAILURE(save_as(file.wstring(), true));
    EXPECT_EQ(read_bytes(file), expected_file(name, 0));

    // The second save: the dialog offers the last name; the file is written whole again.
    {
        std::ofstream spoil(file, std::ios::binary | std::ios::app);
        spoil << "spoilt";
    }
    dialog = open_save_dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(text(find_child(dialog, file_name_box)), L"") << "the last name is not offered";
    post_command(dialog, IDOK);
    prompt = {};
    ASSERT_TRUE(wait_until([&] {
        for (auto& b : message_boxes(app.pid()))
            if (b.hwnd != dialog)
                prompt = b;
        return prompt.hwnd != nullptr;
    })) << "no question before replacing the second time";
    answer_box(prompt.hwnd, IDYES);
    ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));
    ASSERT_TRUE(flush_queue(tw.memo));
    EXPECT_EQ(read_bytes(file), expected_file(name, 0));

    EXPECT_EQ(narrow(close_with(WM_SYSCOMMAND, SC_CLOSE, IDNO)), "");
    expect_exit(0);
}

TEST_F(Saving, CancelledSaveWritesNothingAndTheQuestionStays) {
    ASSERT_NO_FATAL_FAILURE(reach_results());
    HWND dialog = open_save_dialog();
    ASSERT_NE(dialog, nullptr);
    post_command(dialog, IDCANCEL);
    ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));
    EXPECT_EQ(narrow(close_with(WM_CLOSE, 0, IDYES)), narrow(text_unsaved));
    expect_exit(0);
}

// A file that cannot be created, here one that another program holds open: the error box, the
// report stays, and it still counts as unsaved.
TEST_F(Saving, FailedSaveShowsTheErrorAndTheQuestionStays) {
    ASSERT_NO_FATAL_FAILURE(reach_results());
    auto before = report();
    auto file = scratch_file(L"locked.txt");
    UniqueHandle lock(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    HWND dialog = open_save_dialog();
    ASSERT_NE(dialog, nullptr);
    MessageBoxInfo box = choose_file(dialog, file.wstring());
    if (box.hwnd != nullptr && box.caption != L"Тарвел") {
        answer_box(box.hwnd, IDYES); // the replace prompt comes first
        box = {};
        wait_until([&] {
            for (auto& b : message_boxes(app.pid()))
                if (b.caption == L"Тарвел")
                    box = b;
            return box.hwnd != nullptr;
        });
    }
    ASSERT_NE(box.hwnd, nullptr) << "no error box";
    EXPECT_EQ(narrow(box.caption), "Тарвел") << narrow(box.text);
    EXPECT_TRUE(box.text.starts_with(L"Cannot create file \"" + file.wstring() + L"\". "))
        << narrow(box.text);
    EXPECT_TRUE(box.text.ends_with(L".") && !box.text.ends_with(L"..")) << narrow(box.text);
    screenshot(settings, box.hwnd, "box_error_cannot_create");
    answer_box(box.hwnd, IDOK);
    ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));
    ASSERT_TRUE(flush_queue(tw.memo));
    EXPECT_TRUE(visible(results));
    EXPECT_EQ(report(), before);
    lock.reset();
    EXPECT_EQ(read_bytes(file), "") << "the held file was written";
    EXPECT_EQ(narrow(close_with(WM_CLOSE, 0, IDYES)), narrow(text_unsaved));
    expect_exit(0);
}

// The program asks the dialog for an existing folder, so the dialog itself turns a missing one
// down and the program never tries to write there.
TEST_F(Saving, TheDialogTurnsDownAFolderThatDoesNotExist) {
    ASSERT_NO_FATAL_FAILURE(reach_results());
    auto folder = scratch_file(L"no_such_folder");
    HWND dialog = open_save_dialog();
    ASSERT_NE(dialog, nullptr);
    MessageBoxInfo box = choose_file(dialog, (folder / L"report.txt").wstring());
    ASSERT_NE(box.hwnd, nullptr) << "the dialog took a folder that does not exist";
    EXPECT_NE(narrow(box.caption), "Тарвел") << narrow(box.text);
    screenshot(settings, box.hwnd, "box_dialog_no_folder");
    answer_box(box.hwnd, IDOK);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(box.hwnd) || !visible(box.hwnd); }));
    EXPECT_TRUE(visible(dialog)) << "the dialog went";
    post_command(dialog, IDCANCEL);
    ASSERT_TRUE(wait_until([&] { return message_boxes(app.pid()).empty(); }));
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_EQ(narrow(close_with(WM_CLOSE, 0, IDYES)), narrow(text_unsaved));
    expect_exit(0);
}

} // namespace
} // namespace e2e
