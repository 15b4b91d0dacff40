#pragma once
// The form life cycle as every toolkit backend must show it: one table of
// cases, run over the unit tests' fake and over each real backend. Free of
// the test framework: the Windows probe runs it too and prints the log.
// Resize is logged with the size the form's surface has then: what the
// program draws in Resize must fill the window when it first shows.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace conformance {

struct FormCase {
  const char* name;
  std::vector<std::string> steps;  // load, show, hide, unload, size WxH, destroy
  std::vector<std::string> events;
  bool loadedAfter;
};

inline const std::vector<FormCase>& FormCases() {
  static const std::vector<FormCase> cases = {
      {"show loads; the first showing raises Resize, later ones do not",
       {"show", "hide", "show"},
       {"load", "resize 160x80"},
       true},
      {"a change of size raises Resize, the same size does not",
       {"show", "size 180x90", "size 180x90", "size 200x90"},
       {"load", "resize 160x80", "resize 180x90", "resize 200x90"},
       true},
      {"unload raises QueryUnload then Unload, once",
       {"show", "unload", "unload"},
       {"load", "resize 160x80", "query-unload", "unload"},
       false},
      {"a form loads again after an unload", {"load", "unload", "load"}, {"load", "query-unload", "unload", "load"}, true},
      {"the first showing after a reload raises Resize again",
       {"show", "unload", "show", "show"},
       {"load", "resize 160x80", "query-unload", "unload", "load", "resize 160x80"},
       true},
  };
  return cases;
}

// The form's native window destroyed by someone else (another program, the
// window system): the form unloads as if closed, and can load again.
inline const std::vector<FormCase>& DestroyedWindowCases() {
  static const std::vector<FormCase> cases = {
      {"a shown form whose window is destroyed unloads",
       {"show", "destroy"},
       {"load", "resize 160x80", "query-unload", "unload"},
       false},
      {"a loaded hidden form whose window is destroyed unloads",
       {"load", "destroy"},
       {"load", "query-unload", "unload"},
       false},
      {"after its window was destroyed a form loads again",
       {"load", "destroy", "show"},
       {"load", "query-unload", "unload", "load", "resize 160x80"},
       true},
  };
  return cases;
}

// Both tables, in the order the Windows probe numbers them.
inline std::vector<FormCase> AllFormCases() {
  std::vector<FormCase> all = FormCases();
  all.insert(all.end(), DestroyedWindowCases().begin(), DestroyedWindowCases().end());
  return all;
}

// The events, then whether the form is loaded at the end.
inline std::vector<std::string> ExpectedLog(const FormCase& c) {
  std::vector<std::string> log = c.events;
  log.push_back(c.loadedAfter ? "loaded" : "not loaded");
  return log;
}

struct RecordingEvents : toolkit::FormEvents {
  toolkit::Form* form = nullptr;
  std::vector<std::string> log;
  void Load() override { log.push_back("load"); }
  void Resize() override {
    const toolkit::Size size = form->GetSurface().PixelSize();
    log.push_back("resize " + std::to_string(size.width) + "x" + std::to_string(size.height));
  }
  void QueryUnload() override { log.push_back("query-unload"); }
  void Unload() override { log.push_back("unload"); }
};

// `destroyWindow` destroys the form's native window as another program
// would, and returns once the form could have heard of it.
inline std::vector<std::string> RunFormCase(toolkit::Application& app, const FormCase& c,
                                            const std::function<void(toolkit::Form&)>& destroyWindow = {}) {
  RecordingEvents events;
  auto form = app.CreateForm(events);
  events.form = form.get();
  // Wide enough for a captioned window on Windows, which has a least width.
  form->SetClientSize({160, 80});
  for (const std::string& step : c.steps) {
    int width = 0, height = 0;
    if (step == "load") form->Load();
    else if (step == "show") form->Show(false);
    else if (step == "hide") form->Hide();
    else if (step == "unload") form->Unload();
    else if (step == "destroy" && destroyWindow) destroyWindow(*form);
    else if (std::sscanf(step.c_str(), "size %dx%d", &width, &height) == 2) form->SetClientSize({width, height});
    else events.log.push_back("no such step: " + step);
  }
  std::vector<std::string> log = events.log;
  log.push_back(form->Loaded() ? "loaded" : "not loaded");
  form->Unload();
  return log;
}

}  // namespace conformance
