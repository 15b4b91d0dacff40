// Programs started, the open-file dialog, the screen's measures.
#include <atomic>
#include <thread>

#include "tests/saver/wine/win32/probe_support.h"
#include "saver/toolkit/win32/text.h"

namespace probe {

int Start(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  std::unique_ptr<toolkit::Process> process = app.StartProgram(args[0]);
  Print("null", process ? 0 : 1);
  if (!process) return 0;
  Print("running_at_start", process->Running() ? 1 : 0);
  const DWORD start = GetTickCount();
  while (process->Running() && GetTickCount() - start < 30000) Sleep(50);
  Print("ended", process->Running() ? 0 : 1);
  return 0;
}

int OpenUrl(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  Print("result", app.OpenUrl(0, args[0]));
  return 0;
}

int FileDialog(App& app, const Args& args) {
  if (args.size() != 3) return 2;
  const std::wstring name = toolkit::win32::Widen(args[1]);
  const bool accept = args[2] == "ok";
  std::atomic<int> found{0};
  // The dialog is modal on this thread: another thread plays the user.
  std::thread user([&] {
    for (int i = 0; i < 400 && !found; ++i) {
      HWND dialog = FindWindowW(nullptr, L"ﾌｧｲﾙを開く");
      if (!dialog) {
        Sleep(50);
        continue;
      }
      found = 1;
      Sleep(500);
      if (accept) {
        // The file name field: a combo box in the explorer-style dialog, an edit in the old one.
        HWND field = GetDlgItem(dialog, 0x47C);
        if (!field) field = GetDlgItem(dialog, 0x480);
        SetWindowTextW(field, name.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      } else {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      }
    }
  });
  toolkit::OpenFileRequest request;
  request.filterDescription = "BGMﾌｧｲﾙ (MP3 WAV)";
  request.filterPattern = "*.MP3;*.WAV";
  request.initialFolder = args[0];
  request.title = "ﾌｧｲﾙを開く";
  const toolkit::OpenFileResult result = app.ChooseOpenFile(request);
  found = found ? 1 : 2;
  user.join();
  Print("dialog_found", found == 1 ? 1 : 0);
  Print("result", result.result);
  Print("path", result.path);
  return 0;
}

int FixedForm(App& app, const Args&) {
  Events events;
  auto form = app.CreateForm(events);
  form->SetClientSize({496, 243});
  form->MoveWindow({40, 30, form->OuterSize().width, form->OuterSize().height});
  form->Load();
  HWND window = reinterpret_cast<HWND>(form->Handle());
  RECT client{}, outer{};
  GetClientRect(window, &client);
  GetWindowRect(window, &outer);
  Print("client", std::to_string(client.right) + "x" + std::to_string(client.bottom));
  Print("outer", std::to_string(outer.left) + "," + std::to_string(outer.top));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  Print("caption", (style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) ? 1 : 0);
  Print("minmax", (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ? 1 : 0);
  return 0;
}

}  // namespace probe
