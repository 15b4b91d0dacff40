// Programs started, the open-file dialog, the screen's measures.
#include <atomic>
#include <thread>

#include "probe_scenarios.h"
#include "probe_support.h"
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

int Metrics(App& app, const Args&) {
  const toolkit::Size screen = app.ScreenSize();
  Print("screen", std::to_string(screen.width) + "x" + std::to_string(screen.height));
  Print("twips", std::to_string(app.TwipsPerPixelX()) + "," + std::to_string(app.TwipsPerPixelY()));
  SetCursorPos(300, 200);
  const auto cursor = app.CursorPosition();
  Print("cursor", cursor ? std::to_string(cursor->x) + "," + std::to_string(cursor->y) : "none");
  Print("rect_of_nothing", app.WindowRect(0) ? "some" : "none");
  Events events;
  auto form = app.CreateForm(events);
  form->SetCaption("Probe Metrics");
  form->SetClientSize({496, 243});
  form->MoveWindow({40, 30, form->OuterSize().width, form->OuterSize().height});
  form->Load();
  const auto rect = app.WindowRect(form->Handle());
  RECT client{};
  GetClientRect(reinterpret_cast<HWND>(form->Handle()), &client);
  Print("client", std::to_string(client.right) + "x" + std::to_string(client.bottom));
  Print("outer", rect ? std::to_string(rect->left) + "," + std::to_string(rect->top) + "," +
                            std::to_string(rect->Width()) + "x" + std::to_string(rect->Height())
                      : "none");
  const LONG style = GetWindowLongW(reinterpret_cast<HWND>(form->Handle()), GWL_STYLE);
  Print("caption", (style & WS_CAPTION) == WS_CAPTION ? 1 : 0);
  Print("sysmenu", (style & WS_SYSMENU) ? 1 : 0);
  Print("minmax", (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ? 1 : 0);
  form->Show(false);
  const DWORD before = GetTickCount();
  app.ZoomRects(form->Handle(), {300, 200, 300, 200}, *rect);
  Print("zoom_ms", static_cast<long long>(GetTickCount() - before));
  form->Unload();
  return 0;
}

}  // namespace probe
