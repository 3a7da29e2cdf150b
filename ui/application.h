// The application object: title, task-bar entry, forms, message loop, error report.
#pragma once

#include "ui/handles.h"
#include "ui/win.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class Form;

class Application {
  public:
    explicit Application(HINSTANCE instance);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    HINSTANCE instance() const { return instance_; }
    HWND handle() const { return hwnd_; }
    void SetTitle(const std::wstring& title);
    const std::wstring& title() const { return title_; }

    // Screen resolution for scaling design pixels, and whether pictures need a palette.
    int dpi() const { return dpi_; }
    int Scale(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }
    bool paletteScreen() const { return paletteScreen_; }

    // Shows the main form (the first created) and runs the loop until a quit request.
    int Run();
    // Posts the quit request: the running handler finishes, then the loop stops.
    void Terminate();
    bool terminated() const { return terminated_; }

    // The program's one task-bar entry: minimising hides every shown form, restoring brings
    // them back as they were.
    void Minimize();
    void Restore();
    bool minimized() const { return minimized_; }

    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                       UINT flags);
    // The default error report for an exception that escaped a handler.
    void ShowException(const std::exception* e);

    // Runs a handler; an exception it throws goes to the default error report.
    void Guard(const std::function<void()>& handler);

    // One message through the program's keyboard handling and dispatch; used by the main loop
    // and by modal loops.
    void ProcessMessage(MSG& msg);

    // Forms register themselves in creation order.
    void AddForm(Form& form);
    void RemoveForm(Form& form);
    Form* mainForm() const { return forms_.empty() ? nullptr : forms_.front(); }
    const std::vector<Form*>& forms() const { return forms_; }
    Form* FormOf(HWND hwnd) const;

    HICON mainIcon() const { return mainIcon_; }
    HICON mainIconSmall() const { return mainIconSmall_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    std::wstring title_;
    int dpi_ = 96;
    bool paletteScreen_ = false;
    bool terminated_ = false;
    bool minimized_ = false;
    HICON mainIcon_ = nullptr;      // shared resource icons: not destroyed
    HICON mainIconSmall_ = nullptr; // (LoadImage with LR_SHARED)
    Module richEdit_;
    std::vector<Form*> forms_;
    std::vector<Form*> hiddenByMinimize_;
    HWND focusBeforeMinimize_ = nullptr;
};

} // namespace ui
