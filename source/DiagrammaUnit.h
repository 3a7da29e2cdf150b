// The results window: the report, saving it, and the close rule that guards an unsaved one.
#pragma once

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"

class TfrmDiagramma : public ui::Form {
  public:
    explicit TfrmDiagramma(ui::Application& app);

    HMENU MainMenu1 = nullptr; // owned by the window once attached
    HMENU mnuFile = nullptr;
    ui::SaveDialog SaveDialog1;
    ui::RichEdit RichEdit1; // its Tag is ReportSaved: 0 until the report has been saved

  private:
    void FormShow();
    void mnuFileSaveAsTextClick();
    void mnuExitClick();
    void FormCloseQuery(bool& canClose);
    void FormResize();
};

extern TfrmDiagramma* frmDiagramma;
