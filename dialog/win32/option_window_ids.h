// Control ids of the Win32 option window, named after the controls of FrmOption. Kept free of
// <windows.h> so that the Linux-side tests of the window can use them too.
#pragma once

namespace tolvex::option_window {

// OK and Cancel carry the dialog manager's IDOK and IDCANCEL: IsDialogMessageW turns Esc into
// a click of the control whose id is IDCANCEL.
inline constexpr int kCmdOK = 1;      // IDOK
inline constexpr int kCmdCancel = 2;  // IDCANCEL
inline constexpr int kTbsOptions = 1001;
inline constexpr int kPicOptions = 1002;
inline constexpr int kGISoptions = 1003;
inline constexpr int kLabelList = 1004;
inline constexpr int kLabel3 = 1005;
inline constexpr int kOscommand = 1006;
inline constexpr int kImage1 = 1007;
inline constexpr int kCopyright = 1008;
inline constexpr int kCopyright2 = 1009;
inline constexpr int kLabel2 = 1010;
inline constexpr int kGISareas = 1011;
inline constexpr int kLabel1 = 1012;
inline constexpr int kDatum = 1013;
inline constexpr int kMnuHelp = 1100;

}  // namespace tolvex::option_window
