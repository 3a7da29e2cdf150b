#include "source/DiagrammaUnit.h"

#include "core/report.h"
#include "source/ControlIds.h"
#include "source/DiagrammaUnit.layout.h"
#include "source/FIOUnit.h"
#include "source/TestUnit.h"
#include "ui/error.h"
#include "ui/file_save.h"
#include "ui/text.h"

TfrmDiagramma* frmDiagramma = nullptr;

namespace {

using namespace diagramma_layout;
using ui::Narrow;
using ui::Widen;

ui::FormDesign Design() {
    return {L"TfrmDiagramma", Widen("Тест механической понятливости Тарвела"), ClientWidth,
            ClientHeight, ui::FrameKind::Sizeable};
}

// Today's date in the user's short date format.
std::wstring ShortDate() {
    wchar_t buffer[128] = {};
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer,
                       static_cast<int>(std::size(buffer))) == 0) {
        ui::ThrowLastError("GetDateFormat");
    }
    return buffer;
}

} // namespace

TfrmDiagramma::TfrmDiagramma(ui::Application& app)
    : ui::Form(app, Design()), RichEdit1(*this, tarvel::ids::Diagramma_RichEdit1, nullptr,
                                         diagramma_layout::RichEdit1, Report) {
    MainMenu1 = CreateMenu();
    mnuFile = CreatePopupMenu();
    AppendMenuW(mnuFile, MF_STRING, tarvel::ids::Diagramma_mnuFileSaveAsText,
                Widen(mnuFileSaveAsTextCaption).c_str());
    AppendMenuW(MainMenu1, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuFile),
                Widen(mnuFileCaption).c_str());
    AppendMenuW(MainMenu1, MF_STRING, tarvel::ids::Diagramma_mnuExit,
                Widen(mnuExitCaption).c_str());
    AttachMenu(MainMenu1);
    FormResize();
    AddTabStop(RichEdit1);

    SaveDialog1.defaultExt = Widen(SaveDialogDefaultExt);
    SaveDialog1.filter = Widen(SaveDialogFilter);
    // The save dialog does not ask for an existing file: a report must be savable under a
    // new name.
    SaveDialog1.options =
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING;

    OnShow = [this] { FormShow(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnMenuCommand[tarvel::ids::Diagramma_mnuFileSaveAsText] = [this] { mnuFileSaveAsTextClick(); };
    OnMenuCommand[tarvel::ids::Diagramma_mnuExit] = [this] { mnuExitClick(); };
    OnMessage[WM_SIZE] = [this] { FormResize(); };
}

void TfrmDiagramma::FormResize() {
    RECT rc;
    GetClientRect(handle(), &rc);
    RichEdit1.SetBounds(rc);
}

void TfrmDiagramma::FormShow() {
    RichEdit1.Clear();
    for (const std::string& line :
         tarvel::ReportLines(Narrow(ShortDate()), Narrow(frmFIO->edtFIO.text()), CorrectCount)) {
        RichEdit1.AddLine(Widen(line));
    }
}

void TfrmDiagramma::mnuFileSaveAsTextClick() {
    if (!SaveDialog1.Execute(handle())) {
        return;
    }
    std::vector<std::string> lines;
    for (const std::wstring& line : RichEdit1.Lines()) {
        lines.push_back(Narrow(line));
    }
    ui::SaveFileReplacing(SaveDialog1.fileName, tarvel::ReportFileBytes(lines));
    RichEdit1.Tag = 1;
}

void TfrmDiagramma::mnuExitClick() {
    Close();
}

void TfrmDiagramma::FormCloseQuery(bool& canClose) {
    if (RichEdit1.Tag != 0) {
        app().Terminate();
        return;
    }
    const int answer =
        app().ShowMessageBox(handle(), Widen("Результаты не сохранены. Закрыть окно?"),
                             Widen("Внимание!"), MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDNO) {
        canClose = false;
    } else {
        app().Terminate();
    }
}
