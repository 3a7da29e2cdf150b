#include "ui/controls.h"

#include "core/placement.h"
#include "ui/application.h"
#include "ui/error.h"

#include <algorithm>
#include <exception>

namespace ui {

// ---- Control ---------------------------------------------------------------------------

Control::Control(Form& form, int id, Control* parent, COLORREF textColor, COLORREF backColor)
    : form_(form), id_(id), parent_(parent), textColor_(textColor), backColor_(backColor) {}

Control::~Control() {
    form_.RemoveControl(*this);
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
    }
}

HWND Control::parentHandle() const {
    return parent_ != nullptr ? parent_->hwnd_ : form_.handle();
}

void Control::Create(const wchar_t* cls, DWORD style, DWORD exStyle, const Rect96& r,
                     const std::wstring& text, const FontSpec* font) {
    const RECT rc = form_.ScaleRect(r);
    hwnd_ = CreateWindowExW(exStyle, cls, text.c_str(), style | WS_CHILD, rc.left, rc.top,
                            rc.right - rc.left, rc.bottom - rc.top, parentHandle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            form_.app().instance(), this);
    if (hwnd_ == nullptr) {
        ThrowLastError("CreateWindowEx");
    }
    if (font != nullptr) {
        font_ = form_.FontFor(*font);
    } else if (parent_ != nullptr) {
        font_ = parent_->font_;
    } else {
        font_ = form_.FontFor(FontSpec{});
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    form_.AddControl(*this);
}

void Control::SetEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void Control::SetVisible(bool visible) {
    ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void Control::SetText(const std::wstring& text) {
    SetWindowTextW(hwnd_, text.c_str());
}

std::wstring Control::text() const {
    const int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(0, got)));
    return s;
}

void Control::SetBounds(const RECT& r) {
    MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void Control::Focus() {
    if (HWND target = FocusTarget()) {
        SetFocus(target);
    }
}

HBRUSH Control::CtlColor(HDC dc) {
    SetTextColor(dc, ResolveColor(textColor_));
    SetBkColor(dc, ResolveColor(backColor_));
    return form_.BrushFor(backColor_);
}

// ---- CustomControl ---------------------------------------------------------------------

CustomControl::CustomControl(Form& form, int id, Control* parent, COLORREF textColor,
                             COLORREF backColor)
    : Control(form, id, parent, textColor, backColor) {}

CustomControl::~CustomControl() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
}

void CustomControl::CreateCustom(const wchar_t* cls, DWORD style, const Rect96& r,
                                 const std::wstring& text, const FontSpec* font) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &CustomControl::WindowProc;
    wc.hInstance = form_.app().instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = cls;
    // Every program control class is registered by the first control of its kind.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("RegisterClassEx");
    }
    Create(cls, style | WS_VISIBLE | WS_CLIPSIBLINGS, 0, r, text, font);
}

LRESULT CALLBACK CustomControl::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* self = static_cast<CustomControl*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CustomControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
        return self->HandleMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        self->form_.app().ShowException(&e);
    } catch (...) {
        self->form_.app().ShowException(nullptr);
    }
    return 0;
}

LRESULT CustomControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        // Children of the program's containers report to the form.
        return SendMessageW(GetParent(hwnd_), msg, wp, lp);
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, form_.BrushFor(backColor_));
        return 1;
    }
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

// ---- Button ----------------------------------------------------------------------------

Button::Button(Form& form, int id, Control* parent, const Rect96& r, const std::wstring& caption,
               bool isDefault)
    : Control(form, id, parent, clWindowText, clMoneyGreen) {
    Create(L"Button", WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0,
           r, caption, nullptr);
    if (isDefault) {
        form.SetDefaultButton(*this);
    }
}

void Button::Click() {
    if (enabled() && OnClick) {
        OnClick();
    }
}

void Button::OnCommand(WORD code) {
    if (code == BN_CLICKED) {
        Click();
    }
}

// ---- Label -----------------------------------------------------------------------------

Label::Label(Form& form, int id, Control* parent, const Rect96& r, const std::wstring& text,
             const FontSpec& font, COLORREF textColor, bool autoSize)
    : Control(form, id, parent, textColor, clMoneyGreen) {
    Create(L"Static", WS_VISIBLE | SS_NOPREFIX | (autoSize ? SS_LEFTNOWORDWRAP : SS_LEFT), 0, r,
           text, &font);
    if (autoSize) {
        HDC dc = GetDC(hwnd_);
        RECT extent{0, 0, 0, 0};
        {
            SelectObjectScope scope(dc, font_);
            DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        }
        ReleaseDC(hwnd_, dc);
        RECT bounds = form.ScaleRect(r);
        // Never narrower than designed; a pixel of slack for the glyphs' overhang.
        bounds.right = std::max<LONG>(bounds.right, bounds.left + extent.right + form.Scale(2));
        bounds.bottom = bounds.top + std::max<LONG>(extent.bottom, bounds.bottom - bounds.top);
        SetBounds(bounds);
    }
}

// ---- IconBox --------------------------------------------------------------------------

IconBox::IconBox(Form& form, int id, Control* parent, const Rect96& r, const wchar_t* iconName)
    : Control(form, id, parent, clWindowText, clMoneyGreen) {
    Create(L"Static", WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE, 0, r, L"", nullptr);
    const RECT rc = form.ScaleRect(r);
    auto icon = static_cast<HICON>(LoadImageW(form.app().instance(), iconName, IMAGE_ICON,
                                              rc.right - rc.left, rc.bottom - rc.top, LR_SHARED));
    SendMessageW(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SetBounds(rc);
}

// ---- Edit ------------------------------------------------------------------------------

Edit::Edit(Form& form, int id, Control* parent, const Rect96& r, const FontSpec& font,
           COLORREF textColor)
    : Control(form, id, parent, textColor, clWindow) {
    Create(L"Edit", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE, r, L"",
           &font);
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(hwnd_, &Edit::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

Edit::~Edit() {
    RemoveWindowSubclass(hwnd_, &Edit::SubclassProc, 1);
}

HBRUSH Edit::CtlColor(HDC dc) {
    SetTextColor(dc, ResolveColor(textColor_));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return form_.BrushFor(clWindow);
}

void Edit::OnCommand(WORD code) {
    if (code == EN_CHANGE && OnChange) {
        OnChange();
    }
}

LRESULT CALLBACK Edit::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR data) {
    auto* self = reinterpret_cast<Edit*>(data);
    if (msg == WM_CHAR && self->OnKeyPress) {
        auto key = static_cast<wchar_t>(wp);
        self->form_.app().Guard([&] { self->OnKeyPress(key); });
        if (key == 0) {
            return 0;
        }
        wp = key;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// ---- Memo ------------------------------------------------------------------------------

Memo::Memo(Form& form, int id, Control* parent, const Rect96& r, const FontSpec* font,
           MemoStyle style, COLORREF backColor)
    : Control(form, id, parent, clWindowText, backColor) {
    DWORD s = ES_MULTILINE | ES_LEFT | WS_TABSTOP;
    if (style.visible) {
        s |= WS_VISIBLE;
    }
    if (style.readOnly) {
        s |= ES_READONLY;
    }
    if (!style.wordWrap) {
        s |= ES_AUTOHSCROLL;
    }
    if (style.vertScroll) {
        s |= WS_VSCROLL;
    }
    if (style.keepSelection) {
        s |= ES_NOHIDESEL;
    }
    Create(L"Edit", s, style.border ? WS_EX_CLIENTEDGE : 0, r, L"", font);
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
}

void Memo::SetLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i != 0) {
            text += L"\r\n";
        }
        text += lines[i];
    }
    SetText(text);
}

std::wstring Memo::Line(int index) const {
    // The line read returns up to 4 096 characters.
    std::wstring buffer(4096, L'\0');
    buffer[0] = static_cast<wchar_t>(buffer.size());
    const LRESULT n = SendMessageW(hwnd_, EM_GETLINE, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<size_t>(std::max<LRESULT>(0, n)));
    return buffer;
}

// ---- GroupBox --------------------------------------------------------------------------

namespace {

int TextHeightIn(HDC dc, HFONT font) {
    SelectObjectScope scope(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm.tmHeight;
}

int TextHeightOf(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    const int height = TextHeightIn(dc, font);
    ReleaseDC(hwnd, dc);
    return height;
}

void PaintFrame(HWND hwnd, HDC dc, HFONT font, HBRUSH back, const std::wstring& caption,
                COLORREF textColor, int captionLeft) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, back);
    const int h = TextHeightIn(dc, font);
    RECT frame{rc.left, rc.top + h / 2 - 1, rc.right, rc.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        SelectObjectScope scope(dc, font);
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, textColor);
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        RECT text{captionLeft, 0, captionLeft + size.cx + 2, h};
        FillRect(dc, &text, back);
        DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX);
    }
}

} // namespace

GroupBox::GroupBox(Form& form, int id, Control* parent, const Rect96& r,
                   const std::wstring& caption, const FontSpec& font, COLORREF textColor)
    : CustomControl(form, id, parent, textColor, clMoneyGreen) {
    CreateCustom(L"TGroupBox", WS_CLIPCHILDREN, r, caption, &font);
}

LRESULT GroupBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDC dc(hwnd_);
        SetBkColor(dc.get(), ResolveColor(backColor_));
        PaintFrame(hwnd_, dc.get(), font_, form_.BrushFor(backColor_), text(),
                   ResolveColor(textColor_), form_.Scale(8));
        return 0;
    }
    return CustomControl::HandleMessage(msg, wp, lp);
}

// ---- Panel -----------------------------------------------------------------------------

Panel::Panel(Form& form, int id, Control* parent, const Rect96& r, COLORREF color)
    : CustomControl(form, id, parent, clWindowText, color) {
    CreateCustom(L"TPanel", WS_CLIPCHILDREN, r, L"", nullptr);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDC dc(hwnd_);
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(dc.get(), &rc, form_.BrushFor(backColor_));
        // A flat single-line border, a lowered outer and a raised inner bevel.
        FrameRect(dc.get(), &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&rc, -1, -1);
        DrawEdge(dc.get(), &rc, BDR_SUNKENOUTER, BF_RECT);
        InflateRect(&rc, -1, -1);
        DrawEdge(dc.get(), &rc, BDR_RAISEDINNER, BF_RECT);
        return 0;
    }
    return CustomControl::HandleMessage(msg, wp, lp);
}

// ---- RadioGroup ------------------------------------------------------------------------

RadioGroup::RadioGroup(Form& form, int id, Control* parent, const Rect96& r, const FontSpec& font)
    : CustomControl(form, id, parent, clWindowText, clMoneyGreen) {
    CreateCustom(L"TRadioGroup", WS_CLIPCHILDREN, r, L"", &font);
}

RadioGroup::~RadioGroup() {
    Clear();
}

void RadioGroup::Clear() {
    for (HWND b : buttons_) {
        DestroyWindow(b);
    }
    buttons_.clear();
    itemIndex_ = -1;
}

void RadioGroup::SetItems(const std::vector<std::wstring>& items) {
    const int keep = itemIndex_ < static_cast<int>(items.size()) ? itemIndex_ : -1;
    for (HWND b : buttons_) {
        DestroyWindow(b);
    }
    buttons_.clear();
    itemIndex_ = -1;
    for (size_t i = 0; i < items.size(); ++i) {
        HWND b = CreateWindowExW(0, L"Button", items[i].c_str(),
                                 WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | BS_NOTIFY, 0, 0, 0, 0,
                                 hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                 form_.app().instance(), nullptr);
        if (b == nullptr) {
            ThrowLastError("CreateWindowEx");
        }
        SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        buttons_.push_back(b);
    }
    LayoutButtons();
    if (keep >= 0) {
        Select(keep, false);
    }
}

void RadioGroup::LayoutButtons() {
    const int n = count();
    if (n == 0) {
        return;
    }
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int h = TextHeightOf(hwnd_, font_);
    const int r = (rc.bottom - rc.top) - h - 5;
    const int each = std::max(0, r / n);
    int top = h + 1 + (r % n) / 2;
    const int left = form_.Scale(8);
    const int width = (rc.right - rc.left) - form_.Scale(10);
    for (HWND b : buttons_) {
        MoveWindow(b, left, top, width, each, TRUE);
        top += each;
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void RadioGroup::Select(int index, bool byUser) {
    if (index == itemIndex_ || index < 0 || index >= count()) {
        return;
    }
    for (int i = 0; i < count(); ++i) {
        SendMessageW(buttons_[i], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    itemIndex_ = index;
    if (byUser && OnClick) {
        OnClick();
    }
}

HWND RadioGroup::FocusTarget() const {
    return itemIndex_ >= 0 ? buttons_[static_cast<size_t>(itemIndex_)] : nullptr;
}

bool RadioGroup::CanFocus() const {
    return itemIndex_ >= 0 && visible() && enabled();
}

bool RadioGroup::HasFocus(HWND focus) const {
    return focus != nullptr &&
           (focus == hwnd_ || std::find(buttons_.begin(), buttons_.end(), focus) != buttons_.end());
}

bool RadioGroup::HandleKey(WORD key) {
    int step = 0;
    if (key == VK_UP || key == VK_LEFT) {
        step = -1;
    } else if (key == VK_DOWN || key == VK_RIGHT) {
        step = 1;
    }
    const int n = count();
    if (step == 0 || n == 0) {
        return false;
    }
    HWND focus = GetFocus();
    int current = itemIndex_;
    for (int i = 0; i < n; ++i) {
        if (buttons_[static_cast<size_t>(i)] == focus) {
            current = i;
        }
    }
    const int next = ((current < 0 ? 0 : current + step) % n + n) % n;
    SetFocus(buttons_[static_cast<size_t>(next)]);
    Select(next, true);
    return true;
}

LRESULT RadioGroup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: {
        auto it = std::find(buttons_.begin(), buttons_.end(), reinterpret_cast<HWND>(lp));
        if (it != buttons_.end()) {
            if (HIWORD(wp) == BN_CLICKED) {
                Select(static_cast<int>(it - buttons_.begin()), true);
            }
            return 0;
        }
        break;
    }
    case WM_PAINT: {
        PaintDC dc(hwnd_);
        PaintFrame(hwnd_, dc.get(), font_, form_.BrushFor(backColor_), L"",
                   ResolveColor(textColor_), 0);
        return 0;
    }
    case WM_SIZE:
        LayoutButtons();
        break;
    }
    return CustomControl::HandleMessage(msg, wp, lp);
}

// ---- StatusBar -------------------------------------------------------------------------

StatusBar::StatusBar(Form& form, int id, Control* parent, const Rect96& r,
                     const std::vector<int>& rightEdges, COLORREF color)
    : Control(form, id, parent, clWindowText, color) {
    Create(STATUSCLASSNAMEW, WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, r,
           L"", nullptr);
    // The status bar keeps the system's status-bar font.
    SendMessageW(hwnd_, WM_SETFONT, 0, FALSE);
    std::vector<int> edges;
    for (int e : rightEdges) {
        edges.push_back(e < 0 ? -1 : form.Scale(e));
    }
    SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    SendMessageW(hwnd_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(ResolveColor(color)));
}

void StatusBar::SetPanelText(int panel, const std::wstring& text) {
    SendMessageW(hwnd_, SB_SETTEXTW, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::panelText(int panel) const {
    const LRESULT info = SendMessageW(hwnd_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
    std::wstring s(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(s.data()));
    s.resize(LOWORD(info));
    return s;
}

// ---- Image -----------------------------------------------------------------------------

Image::Image(Form& form, int id, Control* parent, const Rect96& r, PicturePlacement placement,
             COLORREF background)
    : CustomControl(form, id, parent, clWindowText, background), placement_(placement),
      background_(background), design_(r) {
    CreateCustom(L"TImage", 0, r, L"", nullptr);
}

void Image::SetJpeg(std::span<const std::uint8_t> file) {
    const tarvel::JpegHeader header = tarvel::ReadJpegHeader(file);
    bytes_.assign(file.begin(), file.end());
    header_ = header;
    decoded_.reset();
    decodeFailed_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void Image::Paint() {
    std::exception_ptr failure;
    {
        PaintDC dc(hwnd_);
        RECT rc;
        GetClientRect(hwnd_, &rc);
        if (bytes_.empty() || decodeFailed_) {
            FillRect(dc.get(), &rc, form_.BrushFor(background_));
            return;
        }
        if (!decoded_) {
            try {
                decoded_ = tarvel::DecodeJpeg(bytes_, form_.app().paletteScreen());
            } catch (...) {
                decodeFailed_ = true;
                failure = std::current_exception();
            }
        }
        if (decoded_) {
            const tarvel::Placement p =
                placement_ == PicturePlacement::Centred
                    ? tarvel::PlaceCentred(decoded_->width, decoded_->height, design_.width,
                                           design_.height)
                    : tarvel::PlaceTopLeft(decoded_->width, decoded_->height, design_.width,
                                           design_.height);
            const RECT pic = form_.ScaleRect(Rect96{p.left, p.top, p.width, p.height});
            // Only the part the picture does not cover shows the background.
            HRGN rest = CreateRectRgnIndirect(&rc);
            HRGN picture = CreateRectRgnIndirect(&pic);
            CombineRgn(rest, rest, picture, RGN_DIFF);
            FillRgn(dc.get(), rest, form_.BrushFor(background_));
            DeleteObject(picture);
            DeleteObject(rest);

            std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
            auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
            bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            bmi->bmiHeader.biWidth = decoded_->width;
            bmi->bmiHeader.biHeight = -decoded_->height; // top-down rows
            bmi->bmiHeader.biPlanes = 1;
            bmi->bmiHeader.biBitCount = static_cast<WORD>(decoded_->bitsPerPixel);
            bmi->bmiHeader.biCompression = BI_RGB;
            if (decoded_->bitsPerPixel == 8) {
                bmi->bmiHeader.biClrUsed = static_cast<DWORD>(decoded_->palette.size());
                for (size_t i = 0; i < decoded_->palette.size(); ++i) {
                    const auto& q = decoded_->palette[i];
                    bmi->bmiColors[i] = RGBQUAD{q[0], q[1], q[2], 0};
                }
            }
            const int w = pic.right - pic.left;
            const int h = pic.bottom - pic.top;
            if (w != decoded_->width || h != decoded_->height) {
                SetStretchBltMode(dc.get(), HALFTONE);
                SetBrushOrgEx(dc.get(), 0, 0, nullptr);
            }
            StretchDIBits(dc.get(), pic.left, pic.top, w, h, 0, 0, decoded_->width,
                          decoded_->height, decoded_->pixels.data(), bmi, DIB_RGB_COLORS, SRCCOPY);
        } else {
            FillRect(dc.get(), &rc, form_.BrushFor(background_));
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

LRESULT Image::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    }
    return CustomControl::HandleMessage(msg, wp, lp);
}

// ---- Bevel -----------------------------------------------------------------------------

Bevel::Bevel(Form& form, int id, Control* parent, const Rect96& r)
    : CustomControl(form, id, parent, clWindowText, clMoneyGreen) {
    CreateCustom(L"TBevel", 0, r, L"", nullptr);
}

LRESULT Bevel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDC dc(hwnd_);
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(dc.get(), &rc, form_.BrushFor(backColor_));
        const int line = std::max(1, form_.Scale(1));
        RECT shadow{rc.left, rc.bottom - 2 * line, rc.right, rc.bottom - line};
        RECT light{rc.left, rc.bottom - line, rc.right, rc.bottom};
        FillRect(dc.get(), &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
        FillRect(dc.get(), &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        return 0;
    }
    return CustomControl::HandleMessage(msg, wp, lp);
}

// ---- SpeedButton -----------------------------------------------------------------------

SpeedButton::SpeedButton(Form& form, int id, Control* parent, const Rect96& r,
                         const std::wstring& caption, const FontSpec& font)
    : CustomControl(form, id, parent, clWindowText, clMoneyGreen) {
    CreateCustom(L"TSpeedButton", 0, r, caption, &font);
}

LRESULT SpeedButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PaintDC dc(hwnd_);
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(dc.get(), &rc, form_.BrushFor(backColor_));
        if (hot_) {
            DrawEdge(dc.get(), &rc, pressed_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        SelectObjectScope scope(dc.get(), font_);
        SetBkMode(dc.get(), TRANSPARENT);
        SetTextColor(dc.get(), ResolveColor(textColor_));
        RECT text = rc;
        if (pressed_ && hot_) {
            OffsetRect(&text, 1, 1);
        }
        const std::wstring caption = this->text();
        DrawTextW(dc.get(), caption.c_str(), -1, &text,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = true;
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
            TrackMouseEvent(&tme);
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        return 0;
    case WM_MOUSELEAVE:
        hot_ = false;
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        SetCapture(hwnd_);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            ReleaseCapture();
            InvalidateRect(hwnd_, nullptr, TRUE);
            RECT rc;
            GetClientRect(hwnd_, &rc);
            const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (PtInRect(&rc, pt) && OnClick) {
                OnClick();
            }
        }
        return 0;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    case BM_CLICK:
        if (OnClick) {
            OnClick();
        }
        return 0;
    }
    return CustomControl::HandleMessage(msg, wp, lp);
}

// ---- RichEdit --------------------------------------------------------------------------

RichEdit::RichEdit(Form& form, int id, Control* parent, const Rect96& r, const FontSpec& font)
    : Control(form, id, parent, clWindowText, clWindow) {
    Create(RICHEDIT_CLASSW,
           WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
           WS_EX_CLIENTEDGE, r, L"", &font);
}

void RichEdit::Clear() {
    SetText(L"");
    lineCount_ = 0;
}

void RichEdit::AddLine(const std::wstring& line) {
    std::wstring insert = lineCount_ == 0 ? line : L"\r\n" + line;
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(insert.c_str()));
    lineCount_++;
}

std::vector<std::wstring> RichEdit::Lines() const {
    std::vector<std::wstring> lines;
    if (lineCount_ == 0) {
        return lines;
    }
    const std::wstring all = text();
    size_t start = 0;
    for (size_t i = 0; i <= all.size(); ++i) {
        if (i == all.size() || all[i] == L'\r' || all[i] == L'\n') {
            lines.push_back(all.substr(start, i - start));
            if (i < all.size() && all[i] == L'\r' && i + 1 < all.size() && all[i + 1] == L'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    return lines;
}

// ---- Timer -----------------------------------------------------------------------------

Timer::Timer(Form& form, UINT id) : form_(form), id_(id) {
    form_.AddTimer(*this);
}

Timer::~Timer() {
    SetEnabled(false);
    form_.RemoveTimer(*this);
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    if (enabled) {
        if (SetTimer(form_.handle(), id_, interval, nullptr) == 0) {
            throw Error("Not enough timers available");
        }
    } else {
        KillTimer(form_.handle(), id_);
    }
    enabled_ = enabled;
}

// ---- SaveDialog ------------------------------------------------------------------------

bool SaveDialog::Execute(HWND owner) {
    std::wstring filterBuffer = filter;
    std::replace(filterBuffer.begin(), filterBuffer.end(), L'|', L'\0');
    filterBuffer.append(2, L'\0');
    std::wstring file = fileName;
    file.resize(std::max<size_t>(file.size() + 1, 32768), L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filterBuffer.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = options | OFN_EXPLORER;
    if (!GetSaveFileNameW(&ofn)) {
        if (const DWORD code = CommDlgExtendedError(); code != 0) {
            throw Error("Save dialog failed (" + std::to_string(code) + ")");
        }
        return false;
    }
    fileName.assign(file.c_str());
    return true;
}

} // namespace ui
