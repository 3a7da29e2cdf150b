// The About dialog: a picture and a text about the program.
#pragma once

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"

class TfrmAbout : public ui::Form {
  public:
    explicit TfrmAbout(ui::Application& app);

    ui::Image Image1;
    ui::Bevel Bevel2;
    ui::Button btnOK;
    ui::Memo Memo1;

  private:
    void btnOKClick();
    void FormKeyDown(WORD& key);
};

extern TfrmAbout* frmAbout;
