#pragma once
// A label's size as every backend must give it: one table of cases, run
// over the unit tests' fake and over each real backend. Text is measured in
// each backend's own fonts, so the log tells how the size changed at each
// step, not the pixels. Free of the test framework: the Windows probe runs
// it too and prints the log.
#include <cstdio>
#include <string>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace conformance {

struct LabelCase {
  const char* name;
  // "caption TEXT" (\n: a line break), "autosize on|off", "border on|off",
  // "move X,Y,W,H", "font POINTS".
  std::vector<std::string> steps;
  // After each step: "X,Y W H", W and H how the size changed: "=", "+",
  // "-", "+4", "-4" (the border's frame and insets), "x2" (doubled).
  std::vector<std::string> log;
};

inline const std::vector<LabelCase>& LabelCases() {
  static const std::vector<LabelCase> cases = {
      {"auto-size follows the caption and keeps the top-left",
       {"move 20,30,200,50", "caption Tovarel", "autosize on", "caption Tovarel Tovarel", "caption Tovarel\\nTovarel",
        "caption Tov"},
       {"20,30 + +", "20,30 = =", "20,30 - -", "20,30 + =", "20,30 - x2", "20,30 - -"}},
      {"auto-sized, a label keeps its size where it is moved; without, it takes the size given",
       {"caption Tovarel", "autosize on", "move 50,60,300,200", "autosize off", "move 50,60,300,200"},
       {"0,0 = =", "0,0 + +", "50,60 = =", "50,60 = =", "50,60 + +"}},
      {"auto-size follows the border and the font",
       {"caption Tovarel", "autosize on", "border on", "font 14", "border off", "font 8"},
       {"0,0 = =", "0,0 + +", "0,0 +4 +4", "0,0 + +", "0,0 -4 -4", "0,0 - -"}},
  };
  return cases;
}

inline std::string SizeChange(int before, int after) {
  if (after == before) return "=";
  if (after == before + 4) return "+4";
  if (after == before - 4) return "-4";
  if (before > 0 && after == 2 * before) return "x2";
  return after > before ? "+" : "-";
}

inline std::vector<std::string> RunLabelCase(toolkit::Label& label, const LabelCase& c) {
  std::vector<std::string> log;
  toolkit::PixelRect before = label.Bounds();
  for (const std::string& step : c.steps) {
    toolkit::PixelRect r;
    double points = 0;
    if (step.rfind("caption ", 0) == 0) {
      std::string text = step.substr(8);
      for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\n");
      label.SetCaption(text);
    } else if (step == "autosize on" || step == "autosize off") {
      label.SetAutoSize(step == "autosize on");
    } else if (step == "border on" || step == "border off") {
      label.SetBorder(step == "border on");
    } else if (std::sscanf(step.c_str(), "move %d,%d,%d,%d", &r.x, &r.y, &r.width, &r.height) == 4) {
      label.Move(r);
    } else if (std::sscanf(step.c_str(), "font %lf", &points) == 1) {
      toolkit::Font font = label.GetFont();
      font.size = points;
      label.SetFont(font);
    } else {
      log.push_back("no such step: " + step);
      continue;
    }
    const toolkit::PixelRect now = label.Bounds();
    log.push_back(std::to_string(now.x) + "," + std::to_string(now.y) + " " + SizeChange(before.width, now.width) +
                  " " + SizeChange(before.height, now.height));
    before = now;
  }
  return log;
}

}  // namespace conformance
