// toolkit_probe.exe SCENARIO [ARGS...]: the Win32 toolkit under test, one
// scenario per run (see probe_scenarios.h). Arguments and output are UTF-8.
// Without arguments it is the program the start scenario starts: it notes
// how it was started in started.txt beside itself and ends after a moment.
#include "saver/toolkit/win32/windows_api.h"
#include <shellapi.h>

#include <cstdio>
#include <map>
#include <string>

#include "tests/saver/wine/win32/probe_support.h"
#include "saver/common/code_page.h"
#include "saver/toolkit/win32/text.h"

namespace {

using toolkit::win32::Narrow;

int NoteStart() {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"started.txt";
  const std::string text = "show=" + std::to_string(startup.wShowWindow) + "\nuseshow=" +
                           std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0) +
                           "\ncommandline=" + common::AnsiToUtf8Lossy(GetCommandLineA()) + "\n";
  if (FILE* file = _wfopen(path.c_str(), L"wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  Sleep(1500);
  return 3;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i]));
  LocalFree(wide);
  if (args.empty()) return NoteStart();

  const std::map<std::string, int (*)(probe::App&, const probe::Args&)> scenarios = {
      {"hidden", probe::Hidden},   {"find", probe::Find},
      {"close", probe::Close},
      {"host", probe::Host},       {"embed", probe::Embed},
      {"modal", probe::Modal},     {"endsession", probe::EndSession},
      {"formcase", probe::FormCase},
      {"surface", probe::SurfaceScenario}, {"labels", probe::Labels},
      {"pictures", probe::Pictures}, {"mouse", probe::Mouse},
      {"tab", probe::Tab},         {"start", probe::Start},
      {"filedialog", probe::FileDialog}, {"fixed", probe::FixedForm},
      {"openurl", probe::OpenUrl},
      {"mousecase", probe::MouseCase}, {"timercase", probe::TimerCase},
      {"labelcase", probe::LabelCase},
  };
  const auto scenario = scenarios.find(args[0]);
  if (scenario == scenarios.end()) return 2;
  probe::App app;
  return scenario->second(app, probe::Args(args.begin() + 1, args.end()));
}
