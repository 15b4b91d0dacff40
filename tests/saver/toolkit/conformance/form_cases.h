#pragma once
// The form life cycle as every toolkit backend must show it: one table of
// cases, run over the unit tests' fake and over each real backend.
#include <gtest/gtest.h>

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
       {"load", "resize"},
       true},
      {"a change of size raises Resize, the same size does not",
       {"show", "size 120x60", "size 120x60", "size 130x60"},
       {"load", "resize", "resize", "resize"},
       true},
      {"unload raises QueryUnload then Unload, once",
       {"show", "unload", "unload"},
       {"load", "resize", "query-unload", "unload"},
       false},
      {"a form loads again after an unload", {"load", "unload", "load"}, {"load", "query-unload", "unload", "load"}, true},
      {"the first showing after a reload raises Resize again",
       {"show", "unload", "show", "show"},
       {"load", "resize", "query-unload", "unload", "load", "resize"},
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
       {"load", "resize", "query-unload", "unload"},
       false},
      {"a loaded hidden form whose window is destroyed unloads",
       {"load", "destroy"},
       {"load", "query-unload", "unload"},
       false},
      {"after its window was destroyed a form loads again",
       {"load", "destroy", "show"},
       {"load", "query-unload", "unload", "load", "resize"},
       true},
  };
  return cases;
}

struct RecordingEvents : toolkit::FormEvents {
  std::vector<std::string> log;
  void Load() override { log.push_back("load"); }
  void Resize() override { log.push_back("resize"); }
  void QueryUnload() override { log.push_back("query-unload"); }
  void Unload() override { log.push_back("unload"); }
};

// `destroyWindow` destroys the form's native window as another program
// would, and returns once the form could have heard of it.
inline void RunFormCase(toolkit::Application& app, const FormCase& c,
                        const std::function<void(toolkit::Form&)>& destroyWindow = {}) {
  RecordingEvents events;
  auto form = app.CreateForm(events);
  form->SetClientSize({100, 50});
  for (const std::string& step : c.steps) {
    int width = 0, height = 0;
    if (step == "load") form->Load();
    else if (step == "show") form->Show(false);
    else if (step == "hide") form->Hide();
    else if (step == "unload") form->Unload();
    else if (step == "destroy" && destroyWindow) destroyWindow(*form);
    else if (std::sscanf(step.c_str(), "size %dx%d", &width, &height) == 2) form->SetClientSize({width, height});
    else ADD_FAILURE() << "no such step: " << step;
  }
  EXPECT_EQ(events.log, c.events) << c.name;
  EXPECT_EQ(form->Loaded(), c.loadedAfter) << c.name;
  form->Unload();
}

}  // namespace conformance
