#pragma once
// The life cycle every backend's form shares: which of the form's events
// come when. The backend makes and drops the native window and tells of the
// sizes it sees; the order of the events is decided here.
//   Load: once, until the form is unloaded; a form loads again after that.
//   Resize: at the first showing after each Load, then at each change of size.
//   Unload: QueryUnload, Unload, then the window goes.
#include <functional>
#include <optional>

#include "saver/toolkit/toolkit.h"

namespace toolkit {

class FormLifeCycle {
 public:
  struct Hooks {
    // Makes the native window (hidden) before Load is raised; false when
    // there is none, and the form stays unloaded.
    std::function<bool()> makeWindow;
    // After the Unload event: the window goes.
    std::function<void()> dropWindow;
    // Runs one of the program's handlers ("load", "resize", "query unload",
    // "unload"); the default runs it as it is.
    std::function<void(const char* event, const std::function<void()>& handler)> raise;
    // True once a handler has ended the program: nothing follows.
    std::function<bool()> programEnded;
  };

  FormLifeCycle(FormEvents& events, Hooks hooks);

  bool Loaded() const { return loaded_; }
  bool Unloading() const { return unloading_; }

  void Load(Size size);
  // Before the window is shown: loads the form if need be, and raises Resize
  // at the first showing since the Load. False when the form is not loaded
  // afterwards (a handler unloaded it).
  bool BeforeShow(Size size);
  // A size the window has now.
  void Sized(Size size);
  void Unload();
  // The window went without the program hearing of it (the application is
  // going): the form is unloaded, no event is raised.
  void Abandon();

 private:
  void Raise(const char* name, void (FormEvents::*event)());

  FormEvents& events_;
  Hooks hooks_;
  bool loaded_ = false;
  bool unloading_ = false;
  bool shownSinceLoad_ = false;
  std::optional<Size> reported_;
};

}  // namespace toolkit
