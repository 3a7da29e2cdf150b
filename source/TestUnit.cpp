#include "source/TestUnit.h"

#include "core/countdown.h"
#include "core/options_line.h"
#include "core/text_lines.h"
#include "source/ControlIds.h"
#include "source/DiagrammaUnit.h"
#include "source/TestUnit.layout.h"
#include "ui/resources.h"
#include "ui/text.h"

#include <vector>

TfrmTest* frmTest = nullptr;

std::int32_t CurrentItem = 1;
std::int32_t CorrectCount = 0;
double TimeLeft = 0.0;

namespace {

using namespace test_layout;
using ui::Narrow;
using ui::Widen;

constexpr std::int32_t kItemCount = 70;

ui::FormDesign Design() {
    return {L"TfrmTest",
            Widen("Тест механической понятливости Тарвела"),
            ClientWidth,
            ClientHeight,
            ui::FrameKind::Single,
            true,
            true};
}

// One stored list of the item bank, one line per item, exactly as stored.
std::vector<std::wstring> StoredLines(const wchar_t* resource) {
    std::vector<std::wstring> lines;
    for (const std::string& line : tarvel::SplitTextLines(ui::ResourceText(resource))) {
        lines.push_back(Widen(line));
    }
    return lines;
}

constexpr ui::MemoStyle kHiddenList{false, false, false, false, false, false};

} // namespace

TfrmTest::TfrmTest(ui::Application& app)
    : ui::Form(app, Design()),
      Panel1(*this, tarvel::ids::Test_Panel1, nullptr, test_layout::Panel1, ui::clBlack),
      StatusBar1(*this, tarvel::ids::Test_StatusBar1, nullptr, test_layout::StatusBar1,
                 {StatusPanelWidth, 2 * StatusPanelWidth}, ui::clMoneyGreen),
      Timer1(*this, tarvel::ids::Test_Timer1),
      Image1(*this, tarvel::ids::Test_Image1, &Panel1, test_layout::Image1,
             ui::PicturePlacement::Centred, ui::clBlack),
      grpAnswer(*this, tarvel::ids::Test_grpAnswer, nullptr, test_layout::grpAnswer, Options),
      lblQuestion(*this, tarvel::ids::Test_lblQuestion, nullptr, test_layout::lblQuestion, L"",
                  Question),
      btnNext(*this, tarvel::ids::Test_btnNext, nullptr, test_layout::btnNext,
              Widen(btnNextCaption), true),
      Memo1(*this, tarvel::ids::Test_Memo1, nullptr, test_layout::Memo1, nullptr, kHiddenList,
            ui::clWindow),
      Memo2(*this, tarvel::ids::Test_Memo2, nullptr, test_layout::Memo2, nullptr, kHiddenList,
            ui::clWindow) {
    // The question box lies under the option group's top edge; keep the group above it.
    SetWindowPos(grpAnswer.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    AddTabStop(grpAnswer);
    AddTabStop(btnNext);
    btnNext.SetEnabled(false);

    Memo1.SetLines(StoredLines(L"QUESTIONS"));
    Memo2.SetLines(StoredLines(L"OPTIONS"));

    OnShow = [this] { FormShow(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    grpAnswer.OnClick = [this] { grpAnswerClick(); };
    btnNext.OnClick = [this] { btnNextClick(); };
}

void TfrmTest::FormShow() {
    Timer1.SetEnabled(true);
    StatusBar1.SetPanelText(0, Widen(tarvel::kCountdownStartText));
    TimeLeft = tarvel::CountdownStart();
    LoadPicture();
    lblQuestion.SetText(Memo1.Line(CurrentItem - 1));
    PresentOptions();
}

void TfrmTest::grpAnswerClick() {
    btnNext.SetEnabled(true);
}

void TfrmTest::btnNextClick() {
    if (AnswerKey[CurrentItem - 1] == grpAnswer.itemIndex() + 1) {
        ++CorrectCount;
    }
    ++CurrentItem;
    if (CurrentItem > kItemCount) {
        EndTest();
        return;
    }
    LoadPicture();
    lblQuestion.SetText(Memo1.Line(CurrentItem - 1));
    grpAnswer.Clear();
    PresentOptions();
    btnNext.SetEnabled(false);
}

void TfrmTest::Timer1Timer() {
    TimeLeft = tarvel::CountdownTick(TimeLeft);
    StatusBar1.SetPanelText(0, Widen(tarvel::FormatTimeLeft(TimeLeft)));
    if (StatusBar1.panelText(0) == Widen(tarvel::kCountdownEndText)) {
        EndTest();
    }
}

void TfrmTest::FormCloseQuery(bool& canClose) {
    const int answer = app().ShowMessageBox(handle(), Widen("Закрыть тест?"), Widen("Внимание!"),
                                            MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDNO) {
        canClose = false;
    } else {
        app().Terminate();
    }
}

void TfrmTest::LoadPicture() {
    Image1.SetJpeg(ui::ResourceBytes(CurrentItem));
}

std::wstring TfrmTest::OptionsToLines(const std::wstring& optionsLine) const {
    return Widen(tarvel::OptionsToLines(Narrow(optionsLine)));
}

void TfrmTest::PresentOptions() {
    std::vector<std::wstring> items;
    for (const std::string& item :
         tarvel::SplitItems(Narrow(OptionsToLines(Memo2.Line(CurrentItem - 1))))) {
        items.push_back(Widen(item));
    }
    grpAnswer.SetItems(items);
}

void TfrmTest::EndTest() {
    Timer1.SetEnabled(false);
    Hide();
    frmDiagramma->Show();
    // The time can run out while this window's close question is open: the question stays
    // in front of the results window until it is answered.
    HWND question = GetLastActivePopup(handle());
    if (question != nullptr && question != handle() && IsWindowVisible(question)) {
        SetWindowPos(question, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(question);
    }
}
