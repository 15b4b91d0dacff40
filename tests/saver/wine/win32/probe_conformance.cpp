// The toolkit's conformance cases on Win32: each scenario runs one case of
// a table by its index and prints what it heard as log=ENTRY|ENTRY...
#include <string>

#include "tests/saver/wine/win32/probe_support.h"
#include "saver/toolkit/win32/picture.h"
#include "tests/saver/toolkit/conformance/form_cases.h"
#include "tests/saver/toolkit/conformance/label_cases.h"
#include "tests/saver/toolkit/conformance/mouse_cases.h"
#include "tests/saver/toolkit/conformance/timer_cases.h"

namespace probe {
namespace {

void PrintLog(const std::vector<std::string>& log) {
  std::string text;
  for (const std::string& entry : log) text += (text.empty() ? "" : "|") + entry;
  Print("log", text);
}

template <class Case>
const Case* CaseAt(const std::vector<Case>& cases, const Args& args) {
  if (args.size() != 1) return nullptr;
  const std::size_t index = static_cast<std::size_t>(std::stoul(args[0]));
  return index < cases.size() ? &cases[index] : nullptr;
}

// Real input through the system, in the user control's coordinates.
class SystemMouse : public conformance::MouseInput {
 public:
  SystemMouse(HWND control, HCURSOR pointer) : control_(control), pointer_(pointer) {}
  void Move(int x, int y) override {
    POINT p{x, y};
    ClientToScreen(control_, &p);
    MoveMouse(p);
  }
  void Press(int button, int, int) override { MouseButton(Flag(button, true)); }
  void Release(int button, int, int) override { MouseButton(Flag(button, false)); }
  bool PointerIsAs() override { return pointer_ != nullptr && GetCursor() == pointer_; }

 private:
  static DWORD Flag(int button, bool down) {
    if (button == toolkit::LeftButton) return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    if (button == toolkit::RightButton) return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    return down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
  }
  HWND control_;
  HCURSOR pointer_;
};

// Events run in a nested message loop, as in a modal dialog.
class MessageClock : public conformance::TimerClock {
 public:
  void Wait(int ms) override {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
  void Busy(int ms) override { Sleep(static_cast<DWORD>(ms)); }
};

}  // namespace

int MouseCase(App& app, const Args& args) {
  const conformance::MouseCase* c = CaseAt(conformance::MouseCases(), args);
  if (c == nullptr) return 2;
  Events events;
  auto form = app.CreateForm(events);
  form->SetCaption("Probe Mouse Case");
  form->SetClientSize({200, 100});
  form->MoveWindow({100, 100, form->OuterSize().width, form->OuterSize().height});
  form->Load();
  const toolkit::CursorRef hand = app.LoadCursor(MakeIconFile(true, 12, 10, 0xFFFFFF));
  const auto* handCursor = dynamic_cast<const toolkit::win32::Win32Cursor*>(hand.get());
  conformance::MouseScenario scenario(*form, hand);
  SystemMouse mouse(reinterpret_cast<HWND>(scenario.Control().Handle()), handCursor ? handCursor->Handle() : nullptr);
  // The pointer starts off the form; what it heard before the first step is not the case's.
  MoveMouse({10, 10});
  std::vector<std::function<void()>> steps{[&] { scenario.Clear(); }};
  bool known = true;
  for (const std::string& step : c->steps) steps.push_back([&, step] { known = scenario.Do(step, mouse) && known; });
  RunSteps(*form, 150, std::move(steps));
  form->Show(false);
  app.RunEventLoop();
  if (!known) return 2;
  PrintLog(scenario.Log());
  return 0;
}

int FormCase(App& app, const Args& args) {
  const std::vector<conformance::FormCase> cases = conformance::AllFormCases();
  const conformance::FormCase* c = CaseAt(cases, args);
  if (c == nullptr) return 2;
  PrintLog(conformance::RunFormCase(app, *c, [](toolkit::Form& form) {
    DestroyWindow(reinterpret_cast<HWND>(form.Handle()));
  }));
  return 0;
}

// Runs a case on a loaded form of its own and prints its log.
template <class RunCase>
int OnLoadedForm(App& app, RunCase run) {
  Events events;
  auto form = app.CreateForm(events);
  form->Load();
  PrintLog(run(*form));
  form->Unload();
  return 0;
}

int TimerCase(App& app, const Args& args) {
  const conformance::TimerCase* c = CaseAt(conformance::TimerCases(), args);
  if (c == nullptr) return 2;
  MessageClock clock;
  return OnLoadedForm(app, [&](toolkit::Form& form) { return conformance::RunTimerCase(form, clock, *c); });
}

int LabelCase(App& app, const Args& args) {
  const conformance::LabelCase* c = CaseAt(conformance::LabelCases(), args);
  if (c == nullptr) return 2;
  return OnLoadedForm(app, [&](toolkit::Form& form) { return conformance::RunLabelCase(form.AddLabel(), *c); });
}

}  // namespace probe
