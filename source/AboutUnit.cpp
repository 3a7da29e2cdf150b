#include "source/AboutUnit.h"

#include "core/text_lines.h"
#include "source/AboutUnit.layout.h"
#include "source/ControlIds.h"
#include "ui/resources.h"
#include "ui/text.h"

#include <vector>

TfrmAbout* frmAbout = nullptr;

namespace {

using namespace about_layout;
using ui::Widen;

ui::FormDesign Design() {
    return {L"TfrmAbout",          Widen(Caption), ClientWidth, ClientHeight,
            ui::FrameKind::Dialog, false,          true};
}

constexpr ui::MemoStyle kAboutText{true, true, true, true, false, true};

} // namespace

TfrmAbout::TfrmAbout(ui::Application& app)
    : ui::Form(app, Design()),
      Image1(*this, tarvel::ids::About_Image1, nullptr, about_layout::Image1,
             ui::PicturePlacement::TopLeft, ui::clMoneyGreen),
      Bevel2(*this, tarvel::ids::About_Bevel2, nullptr, about_layout::Bevel2),
      btnOK(*this, tarvel::ids::About_btnOK, nullptr, about_layout::btnOK, Widen(btnOKCaption)),
      Memo1(*this, tarvel::ids::About_Memo1, nullptr, about_layout::Memo1, nullptr, kAboutText,
            ui::clMoneyGreen) {
    AddTabStop(btnOK);
    AddTabStop(Memo1);

    std::vector<std::wstring> lines;
    for (const std::string& line : tarvel::SplitTextLines(ui::ResourceText(L"ABOUT_TEXT"))) {
        lines.push_back(Widen(line));
    }
    Memo1.SetLines(lines);
    Image1.SetJpeg(ui::ResourceBytes(L"ABOUT_PHOTO"));

    btnOK.OnClick = [this] { btnOKClick(); };
    OnKeyDown = [this](WORD& key, bool, bool, bool) { FormKeyDown(key); };
}

void TfrmAbout::btnOKClick() {
    Close();
}

void TfrmAbout::FormKeyDown(WORD& key) {
    if (key == VK_ESCAPE) {
        Close();
    }
}
