#include "ui/application.h"

#include "ui/error.h"
#include "ui/form.h"
#include "ui/text.h"

#include <algorithm>

namespace ui {

namespace {

constexpr wchar_t kApplicationClass[] = L"TApplication";

} // namespace

Application::Application(HINSTANCE instance) : instance_(instance) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    richEdit_.reset(LoadLibraryW(L"riched20.dll"));

    {
        ScreenDC screen;
        dpi_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
        if (dpi_ <= 0) {
            dpi_ = 96;
        }
        paletteScreen_ =
            GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES) <= 8;
    }

    mainIcon_ = static_cast<HICON>(LoadImageW(instance_, L"MAINICON", IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON), LR_SHARED));
    mainIconSmall_ = static_cast<HICON>(LoadImageW(instance_, L"MAINICON", IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Application::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = mainIcon_;
    wc.hIconSm = mainIconSmall_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kApplicationClass;
    if (!RegisterClassExW(&wc)) {
        ThrowLastError("RegisterClassEx");
    }
    // The application window is the program's task-bar entry: zero-sized, centred, the owner
    // of every form.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    hwnd_ = CreateWindowExW(0, kApplicationClass, L"",
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            x, y, 0, 0, nullptr, nullptr, instance_, this);
    if (hwnd_ == nullptr) {
        ThrowLastError("CreateWindowEx");
    }
    // The system menu of the task-bar entry: restore, minimise and close only.
    if (HMENU menu = GetSystemMenu(hwnd_, FALSE)) {
        DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    }
}

Application::~Application() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    UnregisterClassW(kApplicationClass, instance_);
}

void Application::SetTitle(const std::wstring& title) {
    title_ = title;
    SetWindowTextW(hwnd_, title_.c_str());
}

int Application::Run() {
    if (Form* main = mainForm()) {
        Guard([main] { main->Show(); });
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ProcessMessage(msg);
    }
    return 0;
}

void Application::ProcessMessage(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        if (Form* form = FormOf(GetAncestor(msg.hwnd, GA_ROOT))) {
            bool consumed = false;
            Guard([&] { consumed = form->PreTranslate(msg); });
            if (consumed) {
                return;
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Application::Terminate() {
    if (!terminated_) {
        terminated_ = true;
        PostQuitMessage(0);
    }
}

void Application::Minimize() {
    if (minimized_) {
        return;
    }
    HWND focus = GetFocus();
    focusBeforeMinimize_ =
        (focus != nullptr && FormOf(GetAncestor(focus, GA_ROOT)) != nullptr) ? focus : nullptr;
    hiddenByMinimize_.clear();
    for (Form* form : forms_) {
        if (form->visible()) {
            hiddenByMinimize_.push_back(form);
        }
    }
    minimized_ = true;
    for (Form* form : hiddenByMinimize_) {
        ShowWindow(form->handle(), SW_HIDE);
    }
    ShowWindow(hwnd_, SW_MINIMIZE);
}

void Application::Restore() {
    if (!minimized_) {
        return;
    }
    minimized_ = false;
    ShowWindow(hwnd_, SW_RESTORE);
    for (Form* form : hiddenByMinimize_) {
        ShowWindow(form->handle(), SW_SHOWNA);
    }
    if (!hiddenByMinimize_.empty()) {
        // The topmost enabled window of those brought back becomes active again.
        HWND active = nullptr;
        for (Form* form : hiddenByMinimize_) {
            if (IsWindowEnabled(form->handle())) {
                active = form->handle();
            }
        }
        if (active != nullptr) {
            SetForegroundWindow(active);
            SetActiveWindow(active);
        }
        if (focusBeforeMinimize_ != nullptr && IsWindow(focusBeforeMinimize_)) {
            SetFocus(focusBeforeMinimize_);
        }
    }
    hiddenByMinimize_.clear();
}

int Application::ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                                UINT flags) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void Application::ShowException(const std::exception* e) {
    const std::wstring text = e != nullptr ? Widen(e->what()) : std::wstring(L"Unknown error");
    HWND owner = GetActiveWindow();
    if (owner == hwnd_) {
        owner = nullptr;
    }
    ShowMessageBox(owner, ErrorReportText(text), title_, MB_OK | MB_ICONSTOP);
}

void Application::Guard(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ShowException(&e);
    } catch (...) {
        ShowException(nullptr);
    }
}

void Application::AddForm(Form& form) {
    forms_.push_back(&form);
}

void Application::RemoveForm(Form& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    hiddenByMinimize_.erase(std::remove(hiddenByMinimize_.begin(), hiddenByMinimize_.end(), &form),
                            hiddenByMinimize_.end());
}

Form* Application::FormOf(HWND hwnd) const {
    if (hwnd == nullptr) {
        return nullptr;
    }
    for (Form* form : forms_) {
        if (form->handle() == hwnd) {
            return form;
        }
    }
    return nullptr;
}

LRESULT CALLBACK Application::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        static_cast<Application*>(cs->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* app = reinterpret_cast<Application*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (app == nullptr) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    bool failed = true;
    try {
        result = app->HandleMessage(msg, wp, lp);
        failed = false;
    } catch (const std::exception& e) {
        app->ShowException(&e);
    } catch (...) {
        app->ShowException(nullptr);
    }
    return failed ? 0 : result;
}

LRESULT Application::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SYSCOMMAND:
        switch (wp & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        case SC_CLOSE:
            // The task-bar entry's Close closes the main window, which ends the program.
            if (Form* main = mainForm()) {
                main->Close();
            }
            return 0;
        }
        break;
    case WM_ACTIVATE:
        // Activating the task-bar entry activates the program's own shown window.
        if (LOWORD(wp) != WA_INACTIVE && !minimized_) {
            for (Form* form : forms_) {
                if (form->visible() && IsWindowEnabled(form->handle())) {
                    SetActiveWindow(form->handle());
                    break;
                }
            }
        }
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_CLOSE:
        if (Form* main = mainForm()) {
            main->Close();
        }
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace ui
