// The program's entry: one copy per desktop, the four windows, the message loop.
#include "source/AboutUnit.h"
#include "source/DiagrammaUnit.h"
#include "source/FIOUnit.h"
#include "source/TestUnit.h"
#include "ui/application.h"
#include "ui/error.h"
#include "ui/text.h"
#include "ui/win.h"

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // A running copy is known by its registration window; it is asked to come back and this
    // copy ends.
    if (HWND running = FindWindowA("TfrmFIO", nullptr)) {
        if (!IsWindowVisible(running)) {
            PostMessageA(running, WM_APP, 0, 0);
        }
        SetForegroundWindow(running);
        return 0;
    }

    try {
        ui::Application app(instance);
        app.SetTitle(ui::Widen("Тарвел"));

        TfrmFIO fio(app);
        frmFIO = &fio;
        TfrmDiagramma diagramma(app);
        frmDiagramma = &diagramma;
        TfrmTest test(app);
        frmTest = &test;
        TfrmAbout about(app);
        frmAbout = &about;

        const int code = app.Run();
        frmAbout = nullptr;
        frmTest = nullptr;
        frmDiagramma = nullptr;
        frmFIO = nullptr;
        return code;
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, ui::ErrorReportText(ui::Widen(e.what())).c_str(), L"Error",
                    MB_OK | MB_ICONERROR | MB_TASKMODAL);
        return 1;
    }
}
