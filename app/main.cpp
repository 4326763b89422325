// The program's entry: COM, the common controls and GDI+ around one modal main window.
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "app/main_dlg.h"
#include "app/program_folder.h"
#include "base/com.h"
#include "base/fault_record.h"
#include "ui/window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  MakeProgramFolderCurrent();
  base::ComScope com;
  // Every control class the pages use, not only the bars: on systems without the version 6
  // controls, a class not registered here cannot be created from a template.
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES |
                                                         ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES |
                                                         ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  ui::SetInstance(instance);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);

  INT_PTR result = 0;
  try {
    CMainDlg main;
    result = main.DoModal(GetActiveWindow());
  } catch (...) {
    // Only the main window's making can throw here (its messages stop at its window procedure).
    base::RecordFault("wWinMain");
    result = -1;
  }

  ui::SetInstance(nullptr);
  Gdiplus::GdiplusShutdown(token);
  return static_cast<int>(result);
}
