// Control identifiers of the program's windows (GetDlgCtrlID), shared with the
// end-to-end test driver that finds the controls from outside.
#pragma once

namespace tarvel::ids {

// Registration window (TfrmFIO).
inline constexpr int FIO_StatusBar1 = 101;
inline constexpr int FIO_btnNext = 102;
inline constexpr int FIO_GroupBox1 = 103;
inline constexpr int FIO_Image1 = 104;
inline constexpr int FIO_Label2 = 105;
inline constexpr int FIO_edtFIO = 106;
inline constexpr int FIO_edtFIOLabel = 107;
inline constexpr int FIO_GroupBox2 = 108;
inline constexpr int FIO_Memo1 = 109;
inline constexpr int FIO_spdbtnAbout = 110;

// Test window (TfrmTest). The answer buttons are children of grpAnswer with ids 1, 2, 3...
inline constexpr int Test_Panel1 = 201;
inline constexpr int Test_StatusBar1 = 202;
inline constexpr int Test_Image1 = 203;
inline constexpr int Test_grpAnswer = 204;
inline constexpr int Test_lblQuestion = 205;
inline constexpr int Test_btnNext = 206;
inline constexpr int Test_Memo1 = 207;
inline constexpr int Test_Memo2 = 208;
inline constexpr unsigned Test_Timer1 = 1; // timer id on the test window

// Results window (TfrmDiagramma).
inline constexpr int Diagramma_RichEdit1 = 301;
inline constexpr int Diagramma_mnuFileSaveAsText = 311;
inline constexpr int Diagramma_mnuExit = 312;

// About dialog (TfrmAbout).
inline constexpr int About_Image1 = 401;
inline constexpr int About_Bevel2 = 402;
inline constexpr int About_btnOK = 403;
inline constexpr int About_Memo1 = 404;

} // namespace tarvel::ids
