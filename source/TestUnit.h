// The test window: the items one by one, the scoring, the countdown.
#pragma once

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"

#include <cstdint>
#include <string>

class TfrmTest : public ui::Form {
  public:
    explicit TfrmTest(ui::Application& app);

    ui::Panel Panel1;
    ui::StatusBar StatusBar1;
    ui::Timer Timer1;
    ui::Image Image1;
    ui::RadioGroup grpAnswer;
    ui::Label lblQuestion;
    ui::Button btnNext;
    ui::Memo Memo1; // the 70 question lines
    ui::Memo Memo2; // the 70 options lines

  private:
    void FormCloseQuery(bool& canClose);
    void Timer1Timer();
    void FormShow();
    void grpAnswerClick();
    void btnNextClick();

    void LoadPicture();
    std::wstring OptionsToLines(const std::wstring& optionsLine) const;
    void PresentOptions();
    void EndTest();
};

extern TfrmTest* frmTest;

// The state of the test run.
extern std::int32_t CurrentItem;
extern std::int32_t CorrectCount;
extern double TimeLeft;

// The correct option (1..3) of each item; AnswerKey[k - 1] belongs to item k.
extern const std::int32_t AnswerKey[70];
