#pragma once
// Windowless controls and the mouse as every backend must route them: one
// layout, one table of cases, run over the unit tests' fake and over each
// real backend. Free of the test framework: the Windows probe runs it too
// and prints the log.
//
// The layout, in the coordinates of a user control 160x60 (C): label A at
// 10,10 40x20 with a pointer of its own, label B at 40,10 40x20, added after
// A and so over A's right part.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace conformance {

struct MouseCase {
  const char* name;
  // "move X,Y", "press BUTTON X,Y", "release BUTTON X,Y", "disable A|B",
  // "pointer" (logs whose pointer shows: "pointer A" or "pointer -").
  std::vector<std::string> steps;
  std::vector<std::string> log;  // "WHO down|move|up BUTTONS X,Y", "WHO click"
};

inline const std::vector<MouseCase>& MouseCases() {
  static const std::vector<MouseCase> cases = {
      {"a press and a release over one control click it",
       {"move 20,20", "press 1 20,20", "release 1 20,20"},
       {"A move 0 10,10", "A down 1 10,10", "A up 1 10,10", "A click"}},
      {"pressed on A and released on B: A keeps the mouse and nothing clicks",
       {"move 20,20", "press 1 20,20", "move 70,20", "release 1 70,20"},
       {"A move 0 10,10", "A down 1 10,10", "A move 1 60,10", "A up 1 60,10"}},
      {"dragged out and back in: the release over it clicks",
       {"move 20,20", "press 2 20,20", "move 130,40", "move 25,20", "release 2 25,20"},
       {"A move 0 10,10", "A down 2 10,10", "A move 2 120,30", "A move 2 15,10", "A up 2 15,10", "A click"}},
      {"the control added later lies on top",
       {"move 45,20", "press 1 45,20", "release 1 45,20"},
       {"B move 0 5,10", "B down 1 5,10", "B up 1 5,10", "B click"}},
      {"a press on the container keeps the mouse for the container",
       {"move 130,40", "press 1 130,40", "move 20,20", "release 1 20,20"},
       {"C move 0 130,40", "C down 1 130,40", "C move 1 20,20", "C up 1 20,20"}},
      {"a second button goes where the first did; the last release clicks",
       {"move 20,20", "press 1 20,20", "press 2 20,20", "release 1 20,20", "release 2 20,20"},
       {"A move 0 10,10", "A down 1 10,10", "A down 2 10,10", "A up 1 10,10", "A up 2 10,10", "A click"}},
      {"a disabled control lets the mouse through to the one below",
       {"disable B", "move 45,20", "press 1 45,20", "release 1 45,20"},
       {"A move 0 35,10", "A down 1 35,10", "A up 1 35,10", "A click"}},
      {"a disabled control lets the mouse through to the container",
       {"disable A", "move 20,20", "press 4 20,20", "release 4 20,20"},
       {"C move 0 20,20", "C down 4 20,20", "C up 4 20,20"}},
      {"a control disabled while it holds the mouse hears nothing more",
       {"move 20,20", "press 1 20,20", "disable A", "move 25,20", "release 1 25,20", "move 130,40"},
       {"A move 0 10,10", "A down 1 10,10", "C move 0 130,40"}},
      {"a control's pointer shows while the pointer is over it",
       {"move 20,20", "pointer", "move 130,40", "pointer", "move 20,20", "pointer", "move 70,20", "pointer"},
       {"A move 0 10,10", "pointer A", "C move 0 130,40", "pointer -", "A move 0 10,10", "pointer A",
        "B move 0 30,10", "pointer -"}},
      {"the pointer stays with the control that holds the mouse",
       {"move 20,20", "press 1 20,20", "move 130,40", "pointer", "release 1 130,40", "move 131,40", "pointer"},
       {"A move 0 10,10", "A down 1 10,10", "A move 1 120,30", "pointer A", "A up 1 120,30", "C move 0 131,40",
        "pointer -"}},
  };
  return cases;
}

// The native input of one backend, in the user control's coordinates.
class MouseInput {
 public:
  virtual ~MouseInput() = default;
  virtual void Move(int x, int y) = 0;
  virtual void Press(int button, int x, int y) = 0;
  virtual void Release(int button, int x, int y) = 0;
  // Whether the pointer shown now is label A's.
  virtual bool PointerIsAs() = 0;
};

// The layout on a loaded form, and the log of what its controls hear.
class MouseScenario : private toolkit::UserControlEvents {
 public:
  MouseScenario(toolkit::Form& form, toolkit::CursorRef pointer) : control_(form.AddUserControl(*this)) {
    control_.Move({20, 20, 160, 60});
    a_ = &control_.AddLabel();
    a_->Move({10, 10, 40, 20});
    a_->SetCaption("A");
    a_->SetPointer(std::move(pointer));
    b_ = &control_.AddLabel();
    b_->Move({40, 10, 40, 20});
    b_->SetCaption("B");
    Listen(a_->Mouse(), "A");
    Listen(b_->Mouse(), "B");
  }

  toolkit::UserControl& Control() { return control_; }
  // What was heard since the last Clear.
  const std::vector<std::string>& Log() const { return log_; }
  void Clear() {
    log_.clear();
    moved_ = false;
  }

  // False when the step is not one of the table's.
  bool Do(const std::string& step, MouseInput& input) {
    int button = 0, x = 0, y = 0;
    char which = 0;
    moved_ = false;  // what a step made is heard before the next step
    if (std::sscanf(step.c_str(), "move %d,%d", &x, &y) == 2) {
      moved_ = true;
      input.Move(x, y);
    }
    else if (std::sscanf(step.c_str(), "press %d %d,%d", &button, &x, &y) == 3) input.Press(button, x, y);
    else if (std::sscanf(step.c_str(), "release %d %d,%d", &button, &x, &y) == 3) input.Release(button, x, y);
    else if (std::sscanf(step.c_str(), "disable %c", &which) == 1) (which == 'A' ? a_ : b_)->SetEnabled(false);
    else if (step == "pointer") log_.push_back(input.PointerIsAs() ? "pointer A" : "pointer -");
    else return false;
    return true;
  }

 private:
  void Note(const std::string& who, const char* what, const toolkit::MouseEvent& e) {
    // One move heard for each move made: systems repeat a move where the
    // pointer already is (Windows when the capture ends, say).
    if (std::string(what) == "move" && !std::exchange(moved_, false)) return;
    log_.push_back(who + " " + what + " " + std::to_string(e.button) + " " + std::to_string(e.x) + "," +
                   std::to_string(e.y));
  }
  void Listen(toolkit::MouseHandlers& mouse, const std::string& who) {
    mouse.down = [this, who](const toolkit::MouseEvent& e) { Note(who, "down", e); };
    mouse.move = [this, who](const toolkit::MouseEvent& e) { Note(who, "move", e); };
    mouse.up = [this, who](const toolkit::MouseEvent& e) { Note(who, "up", e); };
    mouse.click = [this, who] { log_.push_back(who + " click"); };
  }
  void MouseDown(const toolkit::MouseEvent& e) override { Note("C", "down", e); }
  void MouseMove(const toolkit::MouseEvent& e) override { Note("C", "move", e); }
  void MouseUp(const toolkit::MouseEvent& e) override { Note("C", "up", e); }

  toolkit::UserControl& control_;
  toolkit::Label* a_ = nullptr;
  toolkit::Label* b_ = nullptr;
  std::vector<std::string> log_;
  bool moved_ = false;
};

}  // namespace conformance
