#include "source/FIOUnit.h"

#include "core/name_filter.h"
#include "source/AboutUnit.h"
#include "source/ControlIds.h"
#include "source/FIOUnit.layout.h"
#include "source/TestUnit.h"
#include "source/Version.h"
#include "ui/text.h"

#include <vector>

TfrmFIO* frmFIO = nullptr;

namespace {

using namespace fio_layout;
using ui::Widen;

// Panel 0 of the status bar: the program's name and version.
constexpr char kStatusProgramText[] = "Тарвел " TARVEL_VERSION_TEXT;
constexpr int kMessagePanel = 1;

ui::FormDesign Design() {
    return {L"TfrmFIO", Widen("Тест механической понятливости Тарвела"), ClientWidth, ClientHeight,
            ui::FrameKind::Single};
}

std::vector<std::wstring> InstructionLines() {
    std::vector<std::wstring> lines;
    for (const char* line : fio_layout::Memo1Lines) {
        lines.push_back(Widen(line));
    }
    return lines;
}

} // namespace

TfrmFIO::TfrmFIO(ui::Application& app)
    : ui::Form(app, Design()),
      StatusBar1(*this, tarvel::ids::FIO_StatusBar1, nullptr, fio_layout::StatusBar1,
                 {StatusPanel0Width, -1}, ui::clMoneyGreen),
      btnNext(*this, tarvel::ids::FIO_btnNext, nullptr, fio_layout::btnNext, Widen(btnNextCaption),
              true),
      GroupBox1(*this, tarvel::ids::FIO_GroupBox1, nullptr, fio_layout::GroupBox1,
                Widen(GroupBox1Caption), Bold, ui::clBlack),
      Image1(*this, tarvel::ids::FIO_Image1, &GroupBox1, fio_layout::Image1, L"INFOICON"),
      Label2(*this, tarvel::ids::FIO_Label2, &GroupBox1, fio_layout::Label2, Widen(Label2Text),
             Regular, ui::clWindowText, true),
      edtFIO(*this, tarvel::ids::FIO_edtFIO, &GroupBox1, fio_layout::edtFIO, NameField, ui::clRed),
      edtFIOLabel(*this, tarvel::ids::FIO_edtFIOLabel, &GroupBox1, fio_layout::edtFIOLabel,
                  Widen(edtFIOLabelText), Regular, ui::clBlack, true),
      GroupBox2(*this, tarvel::ids::FIO_GroupBox2, nullptr, fio_layout::GroupBox2,
                Widen(GroupBox2Caption), Bold, ui::clWindowText),
      Memo1(*this, tarvel::ids::FIO_Memo1, &GroupBox2, fio_layout::Memo1, &Regular, ui::MemoStyle{},
            ui::clMoneyGreen),
      spdbtnAbout(*this, tarvel::ids::FIO_spdbtnAbout, nullptr, fio_layout::spdbtnAbout,
                  Widen(spdbtnAboutCaption), BoldUnderlined) {
    // Tab order: Next, then the name field, then the instruction.
    AddTabStop(btnNext);
    AddTabStop(edtFIO);
    AddTabStop(Memo1);

    btnNext.SetEnabled(false);
    Memo1.SetLines(InstructionLines());
    StatusBar1.SetPanelText(0, Widen(kStatusProgramText));

    edtFIO.OnKeyPress = [this](wchar_t& key) { edtFIOKeyPress(key); };
    edtFIO.OnChange = [this] { edtFIOChange(); };
    btnNext.OnClick = [this] { btnNextClick(); };
    spdbtnAbout.OnClick = [this] { spdbtnAboutClick(); };
    OnMessage[WM_APP] = [this] { WMRestoreRequest(); };

    FormCreate();
}

void TfrmFIO::FormCreate() {
    LoadKeyboardLayoutA("00000419", KLF_ACTIVATE);
}

void TfrmFIO::edtFIOKeyPress(wchar_t& key) {
    if (tarvel::IsNameCharAccepted(static_cast<char16_t>(key))) {
        StatusBar1.SetPanelText(kMessagePanel, L"");
    } else {
        key = 0;
        MessageBeep(0);
        StatusBar1.SetPanelText(kMessagePanel, Widen(tarvel::kRussianLettersOnly));
    }
}

void TfrmFIO::edtFIOChange() {
    btnNext.SetEnabled(!edtFIO.text().empty());
}

void TfrmFIO::btnNextClick() {
    Hide();
    frmTest->Show();
}

void TfrmFIO::spdbtnAboutClick() {
    frmAbout->ShowModal();
}

void TfrmFIO::WMRestoreRequest() {
    app().Restore();
}
