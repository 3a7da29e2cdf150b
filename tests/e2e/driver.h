// Helpers of the end-to-end driver: it starts Tarvel.exe as a separate process and works it
// from outside as a user would, through window messages, then looks at what the windows show.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// ---- Handles --------------------------------------------------------------------------------

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h != nullptr && h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// ---- Paths and settings passed in by the test script ------------------------------------------

struct Settings {
    std::wstring exe;              // Tarvel.exe
    std::filesystem::path shots;   // screenshots are written here
    std::filesystem::path content; // questions.txt, options.txt, key.txt
    std::filesystem::path scratch; // files the tests may create and delete
};
Settings settings_from_environment();
std::wstring environment(const wchar_t* name);

// ---- Processes --------------------------------------------------------------------------------

// A started program. Still running when the object goes, it is killed, so a failed test leaves
// nothing behind for the next one.
class Process {
  public:
    static Process start(const std::wstring& exe);
    Process() = default;
    Process(Process&&) = default;
    Process& operator=(Process&&) = default;
    ~Process();

    DWORD pid() const { return pid_; }
    DWORD thread_id() const { return tid_; }
    bool running() const;
    // The exit code once the program has ended within the timeout.
    std::optional<DWORD> wait(Millis timeout) const;
    void kill();

  private:
    UniqueHandle process_;
    DWORD pid_ = 0;
    DWORD tid_ = 0;
};

// ---- Waiting ----------------------------------------------------------------------------------

// Polls until the condition holds or the time is up, pumping the driver's own messages meanwhile.
bool wait_until(const std::function<bool()>& condition, Millis timeout = 10s);
// Runs this thread's own message queue once (windows the driver itself made).
void pump_messages();

// ---- Finding windows --------------------------------------------------------------------------

std::vector<HWND> top_windows(DWORD pid);
// A top-level window of the process with that class; with visible_only, only a shown one.
HWND find_top(DWORD pid, std::wstring_view cls, bool visible_only = true);
// Waits for a shown top-level window of that class.
HWND wait_top(DWORD pid, std::wstring_view cls, Millis timeout = 10s);
std::vector<HWND> descendants(HWND parent);
// A descendant with that control id (GetDlgItem does not look inside containers).
HWND find_child(HWND parent, int id);
std::wstring class_name(HWND hwnd);
bool visible(HWND hwnd);

// ---- Reading windows --------------------------------------------------------------------------

std::wstring text(HWND hwnd); // WM_GETTEXT, answered by the control itself
std::wstring status_text(HWND status_bar, int part);
bool checked(HWND button);
SIZE client_size(HWND hwnd);
RECT window_rect(HWND hwnd);
SIZE screen_size();
// Lines of a text separated by CR LF, CR or LF.
std::vector<std::wstring> split_lines(std::wstring_view text);

// ---- Message boxes ----------------------------------------------------------------------------

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring caption;
    std::wstring text;
};
// Every shown "#32770" window of the process.
std::vector<MessageBoxInfo> message_boxes(DWORD pid);
// Waits for a shown box with that caption.
MessageBoxInfo wait_box(DWORD pid, std::wstring_view caption, Millis timeout = 10s);
void answer_box(HWND box, int button); // IDYES, IDNO, IDOK

// ---- Input ------------------------------------------------------------------------------------

void post_char(HWND hwnd, wchar_t ch);
void post_text(HWND hwnd, std::wstring_view text);
// WM_KEYDOWN and WM_KEYUP; the program's own message loop makes the character.
void post_key(HWND hwnd, UINT vk);
void click(HWND button); // posted BM_CLICK, so a modal window it opens does not block the driver
void post_command(HWND hwnd, int id);
void post_close(HWND hwnd);
// The control with the keyboard focus in the program's user-interface thread.
HWND focused_window(DWORD thread_id);
// Waits until every message posted so far to the thread of edit has been handled. Uses the
// selection of an edit control as the marker, so give a hidden or read-only one.
bool flush_queue(HWND edit, Millis timeout = 10s);

// ---- Pictures ---------------------------------------------------------------------------------

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> bgra; // top-down rows
    bool operator==(const Pixels&) const = default;
    // Share of pixels whose colour is not black, 0..1.
    double non_black_share() const;
};
// What the screen shows over the window's rectangle.
Pixels capture(HWND hwnd);
bool write_png(const std::filesystem::path& file, const Pixels& pixels);
// Saves a screenshot of the window as shots/<name>.png.
void screenshot(const Settings& s, HWND hwnd, const std::string& name);

// ---- Text files -------------------------------------------------------------------------------

std::vector<std::wstring> read_utf8_lines(const std::filesystem::path& file);
std::string read_bytes(const std::filesystem::path& file);
std::string to_cp1251(std::wstring_view text);
std::string narrow(std::wstring_view text); // UTF-8, for messages of failed checks

} // namespace e2e
