// The mouse on windowless controls and user controls; the keyboard focus
// through the tab order.
#include <map>
#include <string>

#include "tests/saver/wine/win32/probe_support.h"
#include "saver/toolkit/win32/picture.h"

namespace probe {
namespace {

HWND HandleOf(const toolkit::Container& container) { return reinterpret_cast<HWND>(container.Handle()); }

std::string Describe(const char* name, const toolkit::MouseEvent& e) {
  return std::string(name) + "(" + std::to_string(e.button) + "," + std::to_string(e.shift) + "," +
         std::to_string(e.x) + "," + std::to_string(e.y) + ")";
}

class Log {
 public:
  void Add(const std::string& entry) { text_ += text_.empty() ? entry : " " + entry; }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

void Record(toolkit::MouseHandlers& mouse, Log& log, const std::string& name) {
  auto note = [&log, name](const char* what) {
    return [&log, name, what](const toolkit::MouseEvent& e) {
      // Moves are many; the log keeps those with a button held.
      if (std::string(what) != "drag" || e.button) log.Add(Describe((name + "." + what).c_str(), e));
    };
  };
  mouse.down = note("down");
  mouse.move = note("drag");
  mouse.up = note("up");
  mouse.click = [&log, name] { log.Add(name + ".click"); };
}

// A user control's events, logged as a label's are.
class Recorder : public toolkit::UserControlEvents {
 public:
  Recorder(Log& log, std::string name) : log_(log), name_(std::move(name)) { Record(mouse_, log, name_); }
  void MouseDown(const toolkit::MouseEvent& e) override { mouse_.down(e); }
  void MouseMove(const toolkit::MouseEvent& e) override { mouse_.move(e); }
  void MouseUp(const toolkit::MouseEvent& e) override { mouse_.up(e); }
  void GotFocus() override { log_.Add(name_ + ".focus"); }
  void LostFocus() override { log_.Add(name_ + ".blur"); }

 private:
  Log& log_;
  std::string name_;
  toolkit::MouseHandlers mouse_;
};

POINT ScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

}  // namespace

int Mouse(App& app, const Args&) {
  Events events;
  auto form = app.CreateForm(events);
  form->SetCaption("Probe Mouse");
  form->SetClientSize({300, 200});
  form->MoveWindow({100, 100, form->OuterSize().width, form->OuterSize().height});
  Log log;
  Recorder control(log, "uc");
  toolkit::UserControl& uc = form->AddUserControl(control);
  uc.Move({20, 20, 120, 60});
  toolkit::Label& ucLabel = uc.AddLabel();
  ucLabel.Move({10, 20, 100, 20});
  ucLabel.SetCaption("inside");
  toolkit::Label& formLabel = form->AddLabel();
  formLabel.Move({20, 120, 100, 20});
  formLabel.SetCaption("address");
  Recorder other(log, "uc2");
  toolkit::UserControl& uc2 = form->AddUserControl(other);
  uc2.Move({160, 20, 60, 40});
  const toolkit::CursorRef hand = app.LoadCursor(MakeIconFile(true, 12, 10, 0xFFFFFF));
  formLabel.SetPointer(hand);
  const auto* handCursor = dynamic_cast<const toolkit::win32::Win32Cursor*>(hand.get());
  Print("hand", handCursor ? 1 : 0);

  HWND formWindow = nullptr;
  HWND ucWindow = nullptr;
  RunSteps(*form, 150,
           {[&] {
              formWindow = HandleOf(*form);
              ucWindow = HandleOf(uc);
              auto at = [&](POINT p) { return reinterpret_cast<HWND>(app.WindowAtPoint({p.x, p.y})); };
              Print("at_uc_label", at(ScreenPoint(ucWindow, 50, 30)) == ucWindow ? "uc" : "other");
              Print("at_uc_body", at(ScreenPoint(ucWindow, 3, 3)) == ucWindow ? "uc" : "other");
              Print("at_form_label", at(ScreenPoint(formWindow, 30, 125)) == formWindow ? "form" : "other");
              Print("uc_parent", reinterpret_cast<HWND>(uc.ParentHandle()) == formWindow ? 1 : 0);
            },
            [&] { MoveMouse(ScreenPoint(ucWindow, 5, 5)); },
            [&] { MouseButton(MOUSEEVENTF_RIGHTDOWN); },
            [&] { MouseButton(MOUSEEVENTF_RIGHTUP); },
            [&] { MoveMouse(ScreenPoint(HandleOf(uc2), 5, 5)); },
            [&] { MouseButton(MOUSEEVENTF_RIGHTDOWN); },
            [&] { MouseButton(MOUSEEVENTF_RIGHTUP); },
            [&] { MouseButton(MOUSEEVENTF_MIDDLEDOWN); },
            [&] { MouseButton(MOUSEEVENTF_MIDDLEUP); },
            [&] { MouseButton(MOUSEEVENTF_LEFTDOWN); },
            [&] { MouseButton(MOUSEEVENTF_LEFTUP); },
            [&] {
              app.SetBusyPointer(true);
              MoveMouse(ScreenPoint(formWindow, 32, 126));
            },
            [&] {
              const HCURSOR wait = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
              Print("pointer_busy", GetCursor() == wait ? "wait" : "other");
              app.SetBusyPointer(false);
              MoveMouse(ScreenPoint(formWindow, 250, 20));
            },
            [&] {
              const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
              Print("pointer_after", GetCursor() == arrow ? "arrow" : "other");
            }});
  form->Show(false);
  app.RunEventLoop();
  Print("log", log.Text());
  return 0;
}

int Tab(App& app, const Args&) {
  Events events;
  auto form = app.CreateForm(events);
  form->SetCaption("Probe Tab");
  form->SetClientSize({300, 220});
  Log log;
  toolkit::ComboBox& combo = form->AddComboBox();
  combo.Move({10, 10, 100, 20});
  toolkit::PictureBox& panel = form->AddPictureBox();
  panel.Move({10, 40, 200, 100});
  Recorder a(log, "a"), b(log, "b"), c(log, "c"), d(log, "d");
  toolkit::UserControl& ucA = panel.AddUserControl(a);
  ucA.Move({10, 10, 60, 30});
  toolkit::UserControl& ucB = panel.AddUserControl(b);
  ucB.Move({80, 10, 60, 30});
  toolkit::UserControl& ucC = form->AddUserControl(c);
  ucC.Move({10, 150, 60, 30});
  ucC.SetEnabled(false);
  toolkit::UserControl& ucD = form->AddUserControl(d);
  ucD.Move({100, 150, 60, 30});
  toolkit::Label& label = form->AddLabel();
  form->SetTabOrder({&combo, &label, &ucB, &ucC, &ucA, &ucD});

  std::string focus;
  auto note = [&] {
    HWND now = GetFocus();
    const std::map<HWND, std::string> names{{HandleOf(ucA), "a"}, {HandleOf(ucB), "b"},
                                            {HandleOf(ucC), "c"}, {HandleOf(ucD), "d"}};
    std::string name = "none";
    if (now && (now == reinterpret_cast<HWND>(combo.Handle()) ||
                IsChild(reinterpret_cast<HWND>(combo.Handle()), now)))
      name = "combo";
    else if (names.count(now))
      name = names.at(now);
    focus += focus.empty() ? name : "," + name;
  };
  RunSteps(*form, 150, {[&] { note(); PressKey(VK_TAB, false); },
                        [&] { note(); PressKey(VK_TAB, false); },
                        [&] { note(); PressKey(VK_TAB, false); },
                        [&] { note(); PressKey(VK_TAB, false); },
                        [&] { note(); PressKey(VK_TAB, true); },
                        [&] { note(); }});
  form->Show(false);
  app.RunEventLoop();
  Print("focus", focus);
  Print("log", log.Text());
  return 0;
}

}  // namespace probe
