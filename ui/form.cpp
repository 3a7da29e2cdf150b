#include "ui/form.h"

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/error.h"

#include <algorithm>

namespace ui {

COLORREF ResolveColor(COLORREF color) {
    return (color & 0xFF000000) != 0 ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

namespace {

DWORD StyleOf(FrameKind frame) {
    switch (frame) {
    case FrameKind::Single:
        return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case FrameKind::Sizeable:
        return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    case FrameKind::Dialog:
        return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    }
    return WS_OVERLAPPEDWINDOW;
}

DWORD ExStyleOf(FrameKind frame) {
    return frame == FrameKind::Dialog ? WS_EX_DLGMODALFRAME : 0;
}

bool KeyDown(int vk) {
    return GetKeyState(vk) < 0;
}

int CALLBACK FoundFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontInstalled(const std::wstring& face) {
    ScreenDC screen;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(screen.get(), &lf, &FoundFont, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The Cyrillic face names of older systems ("Courier New CYR") stand for the face itself
// where no font of that name is installed, as Windows' own font substitutes do.
std::wstring InstalledFace(const wchar_t* face) {
    std::wstring name(face);
    constexpr std::wstring_view suffix = L" CYR";
    if (name.size() > suffix.size() && name.ends_with(suffix) && !FontInstalled(name)) {
        name.resize(name.size() - suffix.size());
    }
    return name;
}

} // namespace

Form::Form(Application& app, FormDesign design) : app_(app), design_(std::move(design)) {
    Brush& background = brushes_[clMoneyGreen];
    background.reset(CreateSolidBrush(clMoneyGreen));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Form::WindowProc;
    wc.hInstance = app_.instance();
    wc.hIcon = design_.hasIcon ? app_.mainIcon() : nullptr;
    wc.hIconSm = design_.hasIcon ? app_.mainIconSmall() : nullptr;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background.get();
    wc.lpszClassName = design_.className;
    if (!RegisterClassExW(&wc)) {
        ThrowLastError("RegisterClassEx");
    }

    const DWORD style = StyleOf(design_.frame);
    const DWORD exStyle = ExStyleOf(design_.frame);
    RECT r{0, 0, Scale(design_.clientWidth), Scale(design_.clientHeight)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    hwnd_ = CreateWindowExW(exStyle, design_.className, design_.caption.c_str(), style, 0, 0,
                            r.right - r.left, r.bottom - r.top, app_.handle(), nullptr,
                            app_.instance(), this);
    if (hwnd_ == nullptr) {
        ThrowLastError("CreateWindowEx");
    }
    if (design_.hasIcon) {
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(app_.mainIcon()));
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(app_.mainIconSmall()));
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(FontSpec{})), FALSE);
    app_.AddForm(*this);
}

Form::~Form() {
    app_.RemoveForm(*this);
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    UnregisterClassW(design_.className, app_.instance());
}

int Form::Scale(int designPixels) const {
    return app_.Scale(designPixels);
}

RECT Form::ScaleRect(const Rect96& r) const {
    return RECT{Scale(r.left), Scale(r.top), Scale(r.left + r.width), Scale(r.top + r.height)};
}

HFONT Form::FontFor(const FontSpec& wanted) {
    Font& font = fonts_[wanted];
    if (!font) {
        LOGFONTW lf{};
        lf.lfHeight = Scale(wanted.height);
        lf.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
        lf.lfUnderline = wanted.underline ? TRUE : FALSE;
        lf.lfCharSet = RUSSIAN_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, InstalledFace(wanted.face).c_str(), LF_FACESIZE);
        font.reset(CreateFontIndirectW(&lf));
    }
    return font.get();
}

HBRUSH Form::BrushFor(COLORREF color) {
    Brush& brush = brushes_[color];
    if (!brush) {
        brush.reset(CreateSolidBrush(ResolveColor(color)));
    }
    return brush.get();
}

void Form::AddControl(Control& control) {
    controls_.push_back(&control);
}

void Form::RemoveControl(Control& control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
    tabOrder_.erase(std::remove(tabOrder_.begin(), tabOrder_.end(), &control), tabOrder_.end());
    if (defaultButton_ == &control) {
        defaultButton_ = nullptr;
    }
}

void Form::AddTabStop(Control& control) {
    tabOrder_.push_back(&control);
}

void Form::AddTimer(Timer& timer) {
    timers_.push_back(&timer);
}

void Form::RemoveTimer(Timer& timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
}

Control* Form::ControlOf(HWND hwnd) const {
    for (Control* c : controls_) {
        if (c->handle() == hwnd) {
            return c;
        }
    }
    return nullptr;
}

void Form::CenterOnScreen() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
    const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
    if (!shownOnce_) {
        CenterOnScreen();
    }
    shownOnce_ = true;
    if (OnShow) {
        // The window is shown even when its show handler fails.
        app_.Guard(OnShow);
    }
    if (!IsWindowVisible(app_.handle())) {
        ShowWindow(app_.handle(), SW_SHOWNOACTIVATE);
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
}

void Form::Hide() {
    ShowWindow(hwnd_, SW_HIDE);
}

int Form::ShowModal() {
    std::vector<HWND> disabled;
    for (Form* other : app_.forms()) {
        if (other != this && other->visible() && IsWindowEnabled(other->handle())) {
            EnableWindow(other->handle(), FALSE);
            disabled.push_back(other->handle());
        }
    }
    struct Restore {
        Form& form;
        std::vector<HWND>& windows;
        ~Restore() {
            for (HWND w : windows) {
                EnableWindow(w, TRUE);
            }
            form.Hide();
            form.modal_ = false;
            if (!windows.empty()) {
                SetActiveWindow(windows.front());
            }
        }
    } restore{*this, disabled};

    modal_ = true;
    modalResult_ = mrNone;
    Show();
    MSG msg;
    while (modalResult_ == mrNone && !app_.terminated()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        app_.ProcessMessage(msg);
    }
    return modalResult_ == mrNone ? mrCancel : modalResult_;
}

void Form::AttachMenu(HMENU menu) {
    SetMenu(hwnd_, menu);
    const DWORD style = StyleOf(design_.frame);
    const DWORD exStyle = ExStyleOf(design_.frame);
    RECT r{0, 0, Scale(design_.clientWidth), Scale(design_.clientHeight)};
    AdjustWindowRectEx(&r, style, TRUE, exStyle);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Form::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) {
        OnCloseQuery(canClose);
    }
    return canClose;
}

void Form::Close() {
    if (!CloseQuery()) {
        return;
    }
    if (modal_) {
        EndModal(mrCancel);
    } else if (this == app_.mainForm()) {
        app_.Terminate();
    } else {
        Hide();
    }
}

bool Form::SelectNext(bool forward) {
    const int n = static_cast<int>(tabOrder_.size());
    if (n == 0) {
        return false;
    }
    HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < n; ++i) {
        if (tabOrder_[i]->HasFocus(focus)) {
            current = i;
            break;
        }
    }
    for (int step = 1; step <= n; ++step) {
        int i = current < 0 ? (forward ? step - 1 : n - step)
                            : ((current + (forward ? step : -step)) % n + n) % n;
        if (tabOrder_[i]->CanFocus()) {
            tabOrder_[i]->Focus();
            return true;
        }
    }
    return false;
}

void Form::FocusFirst() {
    for (Control* c : tabOrder_) {
        if (c->CanFocus()) {
            c->Focus();
            return;
        }
    }
    SetFocus(hwnd_);
}

bool Form::PreTranslate(MSG& msg) {
    if (msg.message == WM_CHAR && msg.wParam == L'\t') {
        return true; // Tab moves the focus; it is never typed
    }
    if (msg.message != WM_KEYDOWN) {
        return false;
    }
    WORD key = static_cast<WORD>(msg.wParam);
    const bool shift = KeyDown(VK_SHIFT);
    const bool ctrl = KeyDown(VK_CONTROL);
    const bool alt = KeyDown(VK_MENU);
    if (design_.keyPreview && OnKeyDown) {
        OnKeyDown(key, shift, ctrl, alt);
        if (key == 0) {
            return true;
        }
    }
    HWND focus = GetFocus();
    Control* focused = nullptr;
    for (Control* c : controls_) {
        if (c->HasFocus(focus)) {
            focused = c;
            break;
        }
    }
    if (focused != nullptr && focused->HandleKey(key)) {
        return true;
    }
    if (key == VK_TAB && !ctrl && !alt) {
        SelectNext(!shift);
        return true;
    }
    if (key == VK_RETURN && !shift && !ctrl && !alt) {
        if (auto* button = dynamic_cast<Button*>(focused); button != nullptr && button->enabled()) {
            button->Click();
            return true;
        }
        if (defaultButton_ != nullptr && defaultButton_->enabled() && defaultButton_->visible()) {
            defaultButton_->Click();
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* form = static_cast<Form*>(cs->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    // Exceptions stop here: the default error report shows them and the program goes on.
    try {
        return form->HandleMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        form->app_.ShowException(&e);
    } catch (...) {
        form->app_.ShowException(nullptr);
    }
    return 0;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd_, focus)) {
                savedFocus_ = focus;
            }
        } else if (!app_.minimized()) {
            if (savedFocus_ != nullptr && IsWindow(savedFocus_) && IsWindowVisible(savedFocus_) &&
                IsWindowEnabled(savedFocus_)) {
                SetFocus(savedFocus_);
            } else {
                FocusFirst();
            }
        }
        return 0;
    case WM_COMMAND:
        if (lp != 0) {
            if (Control* c = ControlOf(reinterpret_cast<HWND>(lp))) {
                c->OnCommand(HIWORD(wp));
            }
        } else if (HIWORD(wp) == 0) {
            auto it = OnMenuCommand.find(LOWORD(wp));
            if (it != OnMenuCommand.end() && it->second) {
                it->second();
            }
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
        HWND child = reinterpret_cast<HWND>(lp);
        Control* c = ControlOf(child);
        if (c == nullptr) {
            c = ControlOf(GetParent(child)); // a button inside one of the program's groups
        }
        auto dc = reinterpret_cast<HDC>(wp);
        if (c != nullptr) {
            if (HBRUSH brush = c->CtlColor(dc)) {
                return reinterpret_cast<LRESULT>(brush);
            }
        }
        SetBkColor(dc, clMoneyGreen);
        SetTextColor(dc, ResolveColor(clWindowText));
        return reinterpret_cast<LRESULT>(BrushFor(clMoneyGreen));
    }
    case WM_TIMER:
        for (Timer* t : timers_) {
            if (t->id() == wp && t->enabled() && t->OnTimer) {
                t->OnTimer();
                break;
            }
        }
        return 0;
    case WM_QUERYENDSESSION:
        // Only a window that has been shown answers with its close query.
        return shownOnce_ ? (CloseQuery() ? TRUE : FALSE) : TRUE;
    case WM_ENDSESSION:
        if (wp != 0) {
            app_.Terminate();
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_MINIMIZE && design_.frame != FrameKind::Sizeable) {
            app_.Minimize();
            return 0;
        }
        break;
    default:
        if (auto it = OnMessage.find(msg); it != OnMessage.end() && it->second) {
            it->second();
            return 0;
        }
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace ui
