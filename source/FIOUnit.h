// The registration window: the test-taker's name, the start of the test, the About button.
#pragma once

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"

class TfrmFIO : public ui::Form {
  public:
    explicit TfrmFIO(ui::Application& app);

    ui::StatusBar StatusBar1;
    ui::Button btnNext;
    ui::GroupBox GroupBox1;
    ui::IconBox Image1;
    ui::Label Label2;
    ui::Edit edtFIO;
    ui::Label edtFIOLabel;
    ui::GroupBox GroupBox2;
    ui::Memo Memo1;
    ui::SpeedButton spdbtnAbout;

  private:
    void FormCreate();
    void edtFIOKeyPress(wchar_t& key);
    void edtFIOChange();
    void btnNextClick();
    void spdbtnAboutClick();
    void WMRestoreRequest();
};

extern TfrmFIO* frmFIO;
