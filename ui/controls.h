// The handful of controls the program's windows use.
#pragma once

#include "core/jpeg_image.h"
#include "ui/form.h"
#include "ui/win.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Control {
  public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND handle() const { return hwnd_; }
    int id() const { return id_; }
    Form& form() const { return form_; }

    void SetEnabled(bool enabled);
    bool enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
    void SetVisible(bool visible);
    bool visible() const { return IsWindowVisible(hwnd_) != FALSE; }
    void SetText(const std::wstring& text);
    std::wstring text() const;
    void SetBounds(const RECT& r);

    // Keyboard focus: the window that takes it, and whether it can now.
    virtual HWND FocusTarget() const { return hwnd_; }
    virtual bool CanFocus() const { return visible() && enabled(); }
    virtual bool HasFocus(HWND focus) const { return focus == hwnd_; }
    void Focus();

    // Colours of a control whose parent paints it (WM_CTLCOLOR...).
    virtual HBRUSH CtlColor(HDC dc);
    // Notifications from the native control (WM_COMMAND codes).
    virtual void OnCommand(WORD /*code*/) {}
    // Keys the program's loop gives the focused control first; true when consumed.
    virtual bool HandleKey(WORD /*key*/) { return false; }

  protected:
    Control(Form& form, int id, Control* parent, COLORREF textColor, COLORREF backColor);
    void Create(const wchar_t* cls, DWORD style, DWORD exStyle, const Rect96& r,
                const std::wstring& text, const FontSpec* font);
    HWND parentHandle() const;
    HFONT font() const { return font_; }

    Form& form_;
    int id_;
    Control* parent_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    COLORREF textColor_;
    COLORREF backColor_;
};

// A control whose window class and painting belong to the program.
class CustomControl : public Control {
  protected:
    CustomControl(Form& form, int id, Control* parent, COLORREF textColor, COLORREF backColor);
    ~CustomControl() override;
    void CreateCustom(const wchar_t* cls, DWORD style, const Rect96& r, const std::wstring& text,
                      const FontSpec* font);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
};

class Button : public Control {
  public:
    Button(Form& form, int id, Control* parent, const Rect96& r, const std::wstring& caption,
           bool isDefault = false);
    std::function<void()> OnClick;
    void Click();
    void OnCommand(WORD code) override;
};

class Label : public Control {
  public:
    // A label with `autoSize` is one line that sizes itself to its text; otherwise the text
    // wraps at word boundaries inside the fixed box and what does not fit is cut off.
    Label(Form& form, int id, Control* parent, const Rect96& r, const std::wstring& text,
          const FontSpec& font, COLORREF textColor = clWindowText, bool autoSize = false);
};

// A picture box showing an icon resource at its own size, with transparency.
class IconBox : public Control {
  public:
    IconBox(Form& form, int id, Control* parent, const Rect96& r, const wchar_t* iconName);
};

class Edit : public Control {
  public:
    Edit(Form& form, int id, Control* parent, const Rect96& r, const FontSpec& font,
         COLORREF textColor);
    ~Edit() override;
    // A typed character before the field sees it; setting it to 0 swallows it.
    std::function<void(wchar_t& key)> OnKeyPress;
    std::function<void()> OnChange;
    HBRUSH CtlColor(HDC dc) override;
    void OnCommand(WORD code) override;

  private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
};

struct MemoStyle {
    bool visible = true;
    bool readOnly = true;
    bool wordWrap = true;
    bool vertScroll = false;
    bool border = false;
    bool keepSelection = false;
};

class Memo : public Control {
  public:
    Memo(Form& form, int id, Control* parent, const Rect96& r, const FontSpec* font,
         MemoStyle style, COLORREF backColor);
    void SetLines(const std::vector<std::wstring>& lines);
    // Line `index` (from 0) exactly as stored.
    std::wstring Line(int index) const;
};

class GroupBox : public CustomControl {
  public:
    GroupBox(Form& form, int id, Control* parent, const Rect96& r, const std::wstring& caption,
             const FontSpec& font, COLORREF textColor);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class Panel : public CustomControl {
  public:
    Panel(Form& form, int id, Control* parent, const Rect96& r, COLORREF color);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class RadioGroup : public CustomControl {
  public:
    RadioGroup(Form& form, int id, Control* parent, const Rect96& r, const FontSpec& font);
    ~RadioGroup() override;

    // Replaces the buttons; a selection that is still in range is kept.
    void SetItems(const std::vector<std::wstring>& items);
    // Removes every button and drops the selection.
    void Clear();
    int itemIndex() const { return itemIndex_; }
    int count() const { return static_cast<int>(buttons_.size()); }
    // Fires when a different option becomes selected.
    std::function<void()> OnClick;

    HWND FocusTarget() const override;
    bool CanFocus() const override;
    bool HasFocus(HWND focus) const override;
    bool HandleKey(WORD key) override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Select(int index, bool byUser);
    void LayoutButtons();
    std::vector<HWND> buttons_;
    int itemIndex_ = -1;
};

class StatusBar : public Control {
  public:
    // `rightEdges`: each panel's right edge in design pixels, -1 for "to the end".
    StatusBar(Form& form, int id, Control* parent, const Rect96& r,
              const std::vector<int>& rightEdges, COLORREF color);
    void SetPanelText(int panel, const std::wstring& text);
    std::wstring panelText(int panel) const;
};

enum class PicturePlacement { Centred, TopLeft };

class Image : public CustomControl {
  public:
    Image(Form& form, int id, Control* parent, const Rect96& r, PicturePlacement placement,
          COLORREF background);
    // Takes a copy of a JPEG file and reads its header; the pixels are decoded on the next
    // paint. Throws tarvel::JpegError; the previous picture stays on failure.
    void SetJpeg(std::span<const std::uint8_t> file);
    bool hasPicture() const { return !bytes_.empty(); }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Paint();
    PicturePlacement placement_;
    COLORREF background_;
    Rect96 design_;
    std::vector<std::uint8_t> bytes_;
    tarvel::JpegHeader header_;
    std::optional<tarvel::DecodedImage> decoded_;
    bool decodeFailed_ = false;
};

// A sunken horizontal line along the bottom edge of its box.
class Bevel : public CustomControl {
  public:
    Bevel(Form& form, int id, Control* parent, const Rect96& r);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A flat button that takes no focus; framed while the mouse is over it.
class SpeedButton : public CustomControl {
  public:
    SpeedButton(Form& form, int id, Control* parent, const Rect96& r, const std::wstring& caption,
                const FontSpec& font);
    std::function<void()> OnClick;
    bool CanFocus() const override { return false; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    bool hot_ = false;
    bool pressed_ = false;
};

class RichEdit : public Control {
  public:
    RichEdit(Form& form, int id, Control* parent, const Rect96& r, const FontSpec& font);
    void Clear();
    void AddLine(const std::wstring& line);
    std::vector<std::wstring> Lines() const;
    // The control's integer tag.
    int Tag = 0;

  private:
    int lineCount_ = 0;
};

class Timer {
  public:
    Timer(Form& form, UINT id);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();
    void SetEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    UINT id() const { return id_; }
    UINT interval = 1000;
    std::function<void()> OnTimer;

  private:
    Form& form_;
    UINT id_;
    bool enabled_ = false;
};

class SaveDialog {
  public:
    std::wstring defaultExt;
    std::wstring filter; // "description|pattern" pairs
    DWORD options = 0;
    std::wstring fileName; // in: offered name; out: chosen full name
    // True when the user chose a name, false on cancel.
    bool Execute(HWND owner);
};

} // namespace ui
