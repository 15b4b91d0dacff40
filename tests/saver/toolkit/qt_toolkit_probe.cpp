// A program on the Qt toolkit for the tests that need a process of their
// own. It logs what happens to it, one line each, into the file it is given.
//   qt_toolkit_probe LOG form    loads a hidden form and runs the event loop
//   qt_toolkit_probe LOG hide    the same, with the pointer hidden first
#include <fstream>
#include <string>

#include "saver/toolkit/qt/qt_application.h"

namespace {

class Probe final : public toolkit::FormEvents {
 public:
  explicit Probe(std::string log) : log_(std::move(log)) {}
  void Log(const std::string& line) { std::ofstream(log_, std::ios::app) << line << "\n"; }
  void Load() override { Log("load"); }
  void QueryUnload() override { Log("query-unload"); }
  void Unload() override { Log("unload"); }

 private:
  std::string log_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  toolkit::qt::QtApplication app(argc, argv);
  Probe probe(argv[1]);
  const std::string mode = argv[2];
  if (mode == "hide") app.ShowCursor(false);
  auto form = app.CreateForm(probe);
  form->SetCaption("toolkit probe");
  form->Load();
  probe.Log(form->Loaded() ? "ready" : "no form");
  const int code = app.RunEventLoop();
  probe.Log("loop ended " + std::to_string(code));
  return code;
}
