#include "saver/toolkit/common/form_life_cycle.h"

namespace toolkit {

FormLifeCycle::FormLifeCycle(FormEvents& events, Hooks hooks) : events_(events), hooks_(std::move(hooks)) {}

void FormLifeCycle::Raise(const char* name, void (FormEvents::*event)()) {
  const std::function<void()> call = [this, event] { (events_.*event)(); };
  if (hooks_.raise) hooks_.raise(name, call);
  else call();
}

void FormLifeCycle::Load(Size size) {
  if (loaded_ || unloading_) return;
  if (hooks_.makeWindow && !hooks_.makeWindow()) return;
  loaded_ = true;
  shownSinceLoad_ = false;
  // Resize tells of changes from here on; the first showing raises it anyway.
  reported_ = size;
  Raise("load", &FormEvents::Load);
}

bool FormLifeCycle::BeforeShow(Size size) {
  if (!loaded_) Load(size);
  if (!loaded_) return false;
  if (!shownSinceLoad_) {
    shownSinceLoad_ = true;
    reported_ = size;
    Raise("resize", &FormEvents::Resize);
  }
  return loaded_;
}

void FormLifeCycle::Sized(Size size) {
  if (!loaded_ || (reported_ && reported_->width == size.width && reported_->height == size.height)) return;
  reported_ = size;
  Raise("resize", &FormEvents::Resize);
}

void FormLifeCycle::Unload() {
  if (!loaded_ || unloading_) return;
  unloading_ = true;
  Raise("query unload", &FormEvents::QueryUnload);
  if (hooks_.programEnded && hooks_.programEnded()) {
    unloading_ = false;
    return;
  }
  Raise("unload", &FormEvents::Unload);
  unloading_ = false;
  loaded_ = false;
  if (hooks_.dropWindow) hooks_.dropWindow();
}

void FormLifeCycle::Abandon() {
  loaded_ = false;
  unloading_ = false;
}

}  // namespace toolkit
