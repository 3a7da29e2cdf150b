#include "driver.h"

#include <commctrl.h>

#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

constexpr UINT send_timeout_ms = 5000;

LRESULT send(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, send_timeout_ms, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

struct DcReleaser {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
    void operator()(HGDIOBJ obj) const { DeleteObject(obj); }
};

// Restores the previous object of a device context when it goes.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Memory given to a buffer inside another process, for messages that write through a pointer.
class RemoteBuffer {
  public:
    RemoteBuffer(DWORD pid, std::size_t size)
        : process_(
              OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)),
          size_(size) {
        if (process_)
            address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                      PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_ != nullptr)
            VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* address() const { return address_; }
    std::vector<char> read() const {
        std::vector<char> bytes(size_);
        SIZE_T got = 0;
        if (address_ == nullptr ||
            !ReadProcessMemory(process_.get(), address_, bytes.data(), size_, &got))
            got = 0;
        bytes.resize(got);
        return bytes;
    }

  private:
    UniqueHandle process_;
    void* address_ = nullptr;
    std::size_t size_;
};

std::wstring widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string encode(std::wstring_view text, UINT code_page) {
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

} // namespace

// ---- Settings ---------------------------------------------------------------------------------

std::wstring environment(const wchar_t* name) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0)
        return {};
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), n));
    return value;
}

Settings settings_from_environment() {
    Settings s;
    s.exe = environment(L"TARVEL_EXE");
    s.shots = environment(L"TARVEL_SHOTS");
    s.content = environment(L"TARVEL_CONTENT");
    s.scratch = environment(L"TARVEL_SCRATCH");
    if (s.shots.empty())
        s.shots = L"screenshots";
    if (s.scratch.empty())
        s.scratch = L"scratch";
    std::error_code ec;
    std::filesystem::create_directories(s.shots, ec);
    std::filesystem::create_directories(s.scratch, ec);
    return s;
}

// ---- Processes --------------------------------------------------------------------------------

Process Process::start(const std::wstring& exe) {
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    Process p;
    p.process_.reset(pi.hProcess);
    p.pid_ = pi.dwProcessId;
    p.tid_ = pi.dwThreadId;
    return p;
}

Process::~Process() {
    kill();
}

bool Process::running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::wait(Millis timeout) const {
    if (!process_)
        return std::nullopt;
    bool ended = wait_until([&] { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; },
                            timeout);
    DWORD code = 0;
    if (!ended || !GetExitCodeProcess(process_.get(), &code))
        return std::nullopt;
    return code;
}

void Process::kill() {
    if (running()) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

// ---- Waiting ----------------------------------------------------------------------------------

void pump_messages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool wait_until(const std::function<bool()>& condition, Millis timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        pump_messages();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(2ms);
    }
}

// ---- Finding windows --------------------------------------------------------------------------

std::vector<HWND> top_windows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<Search*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid)
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring class_name(HWND hwnd) {
    std::array<wchar_t, 256> buf{};
    int n = GetClassNameW(hwnd, buf.data(), static_cast<int>(buf.size()));
    return std::wstring(buf.data(), static_cast<std::size_t>(n > 0 ? n : 0));
}

bool visible(HWND hwnd) {
    return hwnd != nullptr && IsWindowVisible(hwnd);
}

HWND find_top(DWORD pid, std::wstring_view cls, bool visible_only) {
    for (HWND h : top_windows(pid))
        if (class_name(h) == cls && (!visible_only || visible(h)))
            return h;
    return nullptr;
}

HWND wait_top(DWORD pid, std::wstring_view cls, Millis timeout) {
    HWND found = nullptr;
    wait_until([&] { return (found = find_top(pid, cls)) != nullptr; }, timeout);
    return found;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM l) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(l)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND find_child(HWND parent, int id) {
    for (HWND h : descendants(parent))
        if (GetDlgCtrlID(h) == id)
            return h;
    return nullptr;
}

// ---- Reading windows --------------------------------------------------------------------------

std::wstring text(HWND hwnd) {
    auto length = static_cast<std::size_t>(send(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::wstring buf(length + 1, L'\0');
    auto got = static_cast<std::size_t>(
        send(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data())));
    buf.resize(got < buf.size() ? got : length);
    return buf;
}

std::wstring status_text(HWND status_bar, int part) {
    DWORD pid = 0;
    GetWindowThreadProcessId(status_bar, &pid);
    auto length = LOWORD(send(status_bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
    RemoteBuffer buffer(pid, (length + 1u) * sizeof(wchar_t));
    if (buffer.address() == nullptr)
        return L"<no remote buffer>";
    send(status_bar, SB_GETTEXTW, static_cast<WPARAM>(part),
         reinterpret_cast<LPARAM>(buffer.address()));
    std::vector<char> bytes = buffer.read();
    std::wstring out(bytes.size() / sizeof(wchar_t), L'\0');
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(out.size() * 2),
              reinterpret_cast<char*>(out.data()));
    out.resize(std::wstring_view(out.c_str()).size());
    return out;
}

bool checked(HWND button) {
    return send(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

SIZE client_size(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

RECT window_rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

SIZE screen_size() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<std::wstring> split_lines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.push_back(line);
            line.clear();
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// ---- Message boxes ----------------------------------------------------------------------------

std::vector<MessageBoxInfo> message_boxes(DWORD pid) {
    std::vector<MessageBoxInfo> boxes;
    for (HWND h : top_windows(pid)) {
        if (class_name(h) != L"#32770" || !visible(h))
            continue;
        HWND label = find_child(h, 0xFFFF);
        boxes.push_back({h, text(h), label ? text(label) : std::wstring{}});
    }
    return boxes;
}

MessageBoxInfo wait_box(DWORD pid, std::wstring_view caption, Millis timeout) {
    MessageBoxInfo found;
    wait_until(
        [&] {
            for (auto& b : message_boxes(pid))
                if (b.caption == caption) {
                    found = b;
                    return true;
                }
            return false;
        },
        timeout);
    return found;
}

void answer_box(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, 0), 0);
}

// ---- Input ------------------------------------------------------------------------------------

void post_char(HWND hwnd, wchar_t ch) {
    PostMessageW(hwnd, WM_CHAR, ch, 1);
}

void post_text(HWND hwnd, std::wstring_view text) {
    for (wchar_t c : text)
        post_char(hwnd, c);
}

void post_key(HWND hwnd, UINT vk) {
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(hwnd, WM_KEYDOWN, vk, static_cast<LPARAM>(1u | (scan << 16)));
    PostMessageW(hwnd, WM_KEYUP, vk, static_cast<LPARAM>(1u | (scan << 16) | 0xC0000000u));
}

void click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void post_command(HWND hwnd, int id) {
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void post_close(HWND hwnd) {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

HWND focused_window(DWORD thread_id) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread_id, &info))
        return nullptr;
    return info.hwndFocus;
}

bool flush_queue(HWND edit, Millis timeout) {
    DWORD start = 0, end = 0;
    send(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // A selection different from the present one marks the point in the queue.
    WPARAM mark = (start == 0 && end == 1) ? 1 : 0;
    PostMessageW(edit, EM_SETSEL, mark, mark + 1);
    return wait_until(
        [&] {
            DWORD a = 0, b = 0;
            send(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
            return a == mark && b == mark + 1;
        },
        timeout);
}

// ---- Pictures ---------------------------------------------------------------------------------

double Pixels::non_black_share() const {
    if (bgra.empty())
        return 0;
    std::size_t n = 0;
    for (auto p : bgra)
        if ((p & 0x00FFFFFFu) != 0)
            ++n;
    return static_cast<double>(n) / static_cast<double>(bgra.size());
}

Pixels capture(HWND hwnd) {
    Pixels px;
    RECT r = window_rect(hwnd);
    px.width = r.right - r.left;
    px.height = r.bottom - r.top;
    if (px.width <= 0 || px.height <= 0)
        return {};
    std::unique_ptr<HDC__, DcReleaser> screen(GetDC(nullptr));
    std::unique_ptr<HDC__, DcDeleter> memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = px.width;
    bi.bmiHeader.biHeight = -px.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    std::unique_ptr<void, ObjectDeleter> bitmap(
        CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr)
        return {};
    {
        Selection sel(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, px.width, px.height, screen.get(), r.left, r.top, SRCCOPY);
        GdiFlush();
    }
    auto* p = static_cast<const std::uint32_t*>(bits);
    px.bgra.assign(p, p + static_cast<std::size_t>(px.width) * px.height);
    return px;
}

namespace {

std::uint32_t crc32(const std::uint8_t* data, std::size_t n, std::uint32_t crc = 0) {
    static constexpr auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(std::vector<std::uint8_t>& out, const char* type,
           const std::vector<std::uint8_t>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(out.data() + start, out.size() - start));
}

} // namespace

bool write_png(const std::filesystem::path& file, const Pixels& px) {
    if (px.width <= 0 || px.height <= 0)
        return false;
    // Rows of RGB bytes, each after filter byte 0.
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(px.height) * (px.width * 3 + 1));
    for (int y = 0; y < px.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < px.width; ++x) {
            std::uint32_t p = px.bgra[static_cast<std::size_t>(y) * px.width + x];
            raw.push_back(static_cast<std::uint8_t>(p >> 16));
            raw.push_back(static_cast<std::uint8_t>(p >> 8));
            raw.push_back(static_cast<std::uint8_t>(p));
        }
    }
    // A zlib stream of stored deflate blocks.
    std::vector<std::uint8_t> z{0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t pos = 0; pos < raw.size() || pos == 0;) {
        std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
        if (last)
            break;
    }
    put32(z, (b << 16) | a);

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(px.width));
    put32(header, static_cast<std::uint32_t>(px.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", {});
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

void screenshot(const Settings& s, HWND hwnd, const std::string& name) {
    // The window may still be painting: wait until two captures a moment apart agree.
    Pixels last = capture(hwnd);
    wait_until(
        [&] {
            std::this_thread::sleep_for(100ms);
            Pixels now = capture(hwnd);
            bool same = now == last;
            last = std::move(now);
            return same;
        },
        3s);
    write_png(s.shots / (name + ".png"), last);
}

// ---- Text files -------------------------------------------------------------------------------

std::string read_bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::wstring> read_utf8_lines(const std::filesystem::path& file) {
    std::string bytes = read_bytes(file);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.erase(0, 3);
    return split_lines(widen(bytes));
}

std::string to_cp1251(std::wstring_view text) {
    return encode(text, 1251);
}

std::string narrow(std::wstring_view text) {
    return encode(text, CP_UTF8);
}

} // namespace e2e
