// The form base: one top-level window of a registered class named after the C++ class.
#pragma once

#include "ui/handles.h"
#include "ui/win.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace ui {

class Application;
class Control;
class Button;
class Timer;

// A font as designed at 96 dpi: negative height = character height in pixels.
struct FontSpec {
    const wchar_t* face = L"Arial";
    int height = -11;
    bool bold = false;
    bool underline = false;
    friend bool operator<(const FontSpec& a, const FontSpec& b) {
        return std::make_tuple(std::wstring_view(a.face), a.height, a.bold, a.underline) <
               std::make_tuple(std::wstring_view(b.face), b.height, b.bold, b.underline);
    }
};

inline constexpr COLORREF clMoneyGreen = RGB(192, 220, 192);
inline constexpr COLORREF clBlack = RGB(0, 0, 0);
inline constexpr COLORREF clRed = RGB(255, 0, 0);
// A colour slot that follows a system colour.
inline constexpr COLORREF clWindowText = 0xFF000000 | COLOR_WINDOWTEXT;
inline constexpr COLORREF clWindow = 0xFF000000 | COLOR_WINDOW;
COLORREF ResolveColor(COLORREF color);

enum class FrameKind {
    Single,   // fixed size, system menu and close box only
    Sizeable, // resizable, minimise and maximise boxes
    Dialog,   // dialog frame, close box only, no icon
};

struct FormDesign {
    const wchar_t* className;
    std::wstring caption;
    int clientWidth;
    int clientHeight;
    FrameKind frame;
    bool hasIcon = true;
    bool keyPreview = false;
};

struct Rect96 {
    int left, top, width, height;
};

inline constexpr int mrNone = 0;
inline constexpr int mrCancel = 2;

class Form {
  public:
    Form(Application& app, FormDesign design);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    Application& app() const { return app_; }
    HWND handle() const { return hwnd_; }
    const wchar_t* className() const { return design_.className; }

    void Show();
    void Hide();
    int ShowModal();
    void Close();
    bool visible() const { return IsWindowVisible(hwnd_) != FALSE; }
    bool shownOnce() const { return shownOnce_; }
    bool modal() const { return modal_; }

    // Events, as the window's unit assigns them.
    std::function<void()> OnShow;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(WORD& key, bool shift, bool ctrl, bool alt)> OnKeyDown;
    std::map<UINT, std::function<void()>> OnMessage;     // private messages (WM_APP...)
    std::map<UINT, std::function<void()>> OnMenuCommand; // menu item id -> handler

    // Layout helpers for the controls.
    int Scale(int designPixels) const;
    RECT ScaleRect(const Rect96& r) const;
    HFONT FontFor(const FontSpec& wanted);
    HBRUSH BrushFor(COLORREF color);
    COLORREF color() const { return clMoneyGreen; }

    // Controls register themselves; tab order is the order of AddTabStop calls.
    void AddControl(Control& control);
    void RemoveControl(Control& control);
    void AddTabStop(Control& control);
    void SetDefaultButton(Button& button) { defaultButton_ = &button; }
    void AddTimer(Timer& timer);
    void RemoveTimer(Timer& timer);
    Control* ControlOf(HWND hwnd) const;

    // Keyboard handling of the program's loop for a message aimed at this form; true when
    // the message was consumed.
    bool PreTranslate(MSG& msg);
    // Moves the focus along the tab order; false when no control can take it.
    bool SelectNext(bool forward);
    void FocusFirst();

    // Gives the window a menu bar, keeping the client size as designed.
    void AttachMenu(HMENU menu);

    // Runs the close query without closing (log-off, shut-down).
    bool CloseQuery();

  protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    void CenterOnScreen();
    void EndModal(int result) { modalResult_ = result; }

    Application& app_;
    FormDesign design_;
    HWND hwnd_ = nullptr;
    bool shownOnce_ = false;
    bool modal_ = false;
    int modalResult_ = mrNone;
    HWND savedFocus_ = nullptr;
    Button* defaultButton_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<Control*> tabOrder_;
    std::vector<Timer*> timers_;
    std::map<FontSpec, Font> fonts_;
    std::map<COLORREF, Brush> brushes_;
};

} // namespace ui
