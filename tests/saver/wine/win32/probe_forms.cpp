// Forms, timers, embedding and the event loop.
#include <cstdio>
#include <memory>
#include <string>

#include "tests/saver/wine/win32/probe_support.h"
#include "saver/common/code_page.h"

namespace probe {
namespace {

HWND HandleOf(const toolkit::Form& form) { return reinterpret_cast<HWND>(form.Handle()); }

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// A white window with a frame, as the Display control panel's preview area.
HWND MakeHost() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"ProbeHost";
  RegisterClassW(&wc);
  return CreateWindowExW(0, L"ProbeHost", L"Probe Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 50,
                         50, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
}

void Append(const std::string& path, const std::string& text) {
  if (FILE* file = std::fopen(path.c_str(), "ab")) {
    std::fputs((text + "\n").c_str(), file);
    std::fclose(file);
  }
}

}  // namespace

int Hidden(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  Events events;
  auto form = app.CreateForm(events);
  form->SetCaption(args[0]);
  form->Load();
  Print("ready", 1);
  Print("visible", IsWindowVisible(HandleOf(*form)) ? 1 : 0);
  const int code = app.RunEventLoop();
  Print("events", events.log);
  Print("loop", code);
  return 0;
}

int Find(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  Print("found", app.WindowExists(args[0]) ? 1 : 0);
  return 0;
}

int Close(App&, const Args& args) {
  if (args.size() != 1) return 2;
  const auto ansi = common::Utf8ToAnsi(args[0]);
  HWND window = ansi ? FindWindowA(nullptr, ansi->c_str()) : nullptr;
  Print("posted", window && PostMessageA(window, WM_CLOSE, 0, 0) ? 1 : 0);
  return 0;
}

int Host(App&, const Args& args) {
  if (args.size() != 1) return 2;
  const bool destroy = args[0] == "destroy";
  HWND host = MakeHost();
  if (!host) return 1;
  Print("hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(host)));
  const DWORD start = GetTickCount();
  DWORD childSeen = 0, destroyedAt = 0;
  while (GetTickCount() - start < 30000) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
    if (!childSeen && GetWindow(host, GW_CHILD)) childSeen = GetTickCount();
    // The child has had a moment to paint; then the host goes.
    if (childSeen && !destroyedAt && GetTickCount() - childSeen > 1000) {
      if (!destroy) {
        Print("exiting", 1);
        ExitProcess(0);
      }
      DestroyWindow(host);
      Print("destroyed", 1);
      destroyedAt = GetTickCount();
    }
    // The process lives on without its window for a while.
    if (destroyedAt && GetTickCount() - destroyedAt > 5000) return 0;
  }
  return 1;
}

int Embed(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  // Wine shows no child window of another process's window: what the form
  // draws is seen with a host of this process ("local").
  const bool local = args[0] == "local";
  const auto host = local ? reinterpret_cast<toolkit::WindowHandle>(MakeHost())
                          : static_cast<toolkit::WindowHandle>(std::stoull(args[0]));
  Events events;
  auto form = app.CreateForm(events);
  form->SetBorderStyle(toolkit::BorderStyle::None);
  form->SetCaption("Preview Window");
  form->SetBackColour(toolkit::MakeColour(0, 128, 255));
  form->Load();
  const bool childStyle = form->SetChildStyle();
  const bool parented = form->SetParentWindow(host);
  Print("childstyle", childStyle ? 1 : 0);
  Print("parent", parented ? 1 : 0);
  if (!parented) {
    Print("visible", IsWindowVisible(HandleOf(*form)) ? 1 : 0);
    form->Unload();
    Print("events", events.log);
    return 0;
  }
  const auto rect = app.WindowRect(host);
  form->MoveWindow({0, 0, rect ? rect->Width() : 0, rect ? rect->Height() : 0});
  toolkit::Image& image = form->AddImage();
  image.Move({0, 0, 152, 112});
  image.SetPicture(app.LoadPicture(MakeBmp(24, 2, 1, BI_RGB, {}, {0, 0, 255, 0, 255, 0, 0, 0})));
  form->Show(false);
  HWND window = HandleOf(*form);
  if (local) {
    RunSteps(*form, 300, {[&] {
               const Pixels shown = CaptureWindow(window);
               Print("size", std::to_string(shown.width) + "x" + std::to_string(shown.height));
               Print("pixels", Hex(shown.At(0, 0)) + " " + Hex(shown.At(1, 0)) + " " + Hex(shown.At(2, 0)) +
                                   " " + Hex(shown.At(0, 1)));
               DestroyWindow(reinterpret_cast<HWND>(host));
             }});
  }
  Print("parent_window", GetAncestor(window, GA_PARENT) == reinterpret_cast<HWND>(host) ? 1 : 0);
  Print("style_child", (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ? 1 : 0);
  Print("visible", IsWindowVisible(window) ? 1 : 0);
  Print("ready", 1);
  const int code = app.RunEventLoop();
  Print("events", events.log);
  Print("loop", code);
  return 0;
}

int Modal(App& app, const Args&) {
  Events first, second;
  auto owner = app.CreateForm(first);
  owner->SetCaption("Probe Owner");
  owner->Show(false);
  auto dialog = app.CreateForm(second);
  dialog->SetCaption("Probe Dialog");
  RunSteps(*dialog, 300, {[&] {
             Print("owner_enabled_during", IsWindowEnabled(HandleOf(*owner)) ? 1 : 0);
             Print("dialog_enabled", IsWindowEnabled(HandleOf(*dialog)) ? 1 : 0);
           }});
  dialog->Show(true);
  Print("dialog_events", second.log);
  Print("dialog_loaded", dialog->Loaded() ? 1 : 0);
  Print("owner_enabled_after", IsWindowEnabled(HandleOf(*owner)) ? 1 : 0);
  owner->Unload();
  Print("loop", app.RunEventLoop());
  Print("owner_events", first.log);
  return 0;
}

// The steps run one after another, no message loop between them; the
// events and whether the form is loaded at the end are printed.
int EndSession(App& app, const Args& args) {
  if (args.size() != 1) return 2;
  const std::string file = args[0];
  Events events;
  events.queryUnload = [&] { Append(file, "queryunload"); };
  events.unload = [&] { Append(file, "unload"); };
  auto form = app.CreateForm(events);
  form->SetCaption("Probe Session");
  form->Load();
  Print("ready", 1);
  app.RunEventLoop();
  Append(file, "loop-returned");
  return 0;
}

}  // namespace probe
