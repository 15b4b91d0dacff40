// saver_settings_check.exe: the settings functions of the Windows build.
//   write FILE SECTION KEY VALUE   WriteIni
//   read FILE SECTION KEY          prints value=...
//   load                           LoadSettings from the program's folder;
//                                  prints kind=, repeat=, file=, folder=
//   set KIND REPEAT FILE           writes the three keys where the dialog's Set
//                                  writes them; prints written=PATH
//   where                          prints read=, write= (without preparing the
//                                  write) and user= (the per-user folder)
//   forget                         deletes the per-user copy and its folder
//   system                         prints acp= (the system's ANSI code page)
//   hold TEXT                      prints hold=1 when the file can hold TEXT
// Arguments and output are UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "saver/common/program_folder.h"
#include "saver/settings/profile.h"
#include "saver/settings/settings.h"
#include "saver/settings_vars.h"

namespace {

std::string Narrow(const wchar_t* wide) {
  int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length > 0 ? length : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), length, nullptr, nullptr);
  utf8.resize(utf8.size() - 1);
  return utf8;
}

std::wstring Widen(const std::string& utf8) {
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

void Print(const std::string& key, const std::string& value) {
  std::string line = key + "=" + value + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Narrow(wide[i]));
  LocalFree(wide);

  if (args.size() == 6 && args[1] == "write") {
    saver::WriteIni(args[3], args[4], args[5], args[2]);
  } else if (args.size() == 5 && args[1] == "read") {
    Print("value", saver::ReadIni(args[3], args[4], args[2]));
  } else if (args.size() == 2 && args[1] == "load") {
    saver::LoadSettings();
    Print("kind", std::to_string(saver::BgmKind));
    Print("repeat", std::to_string(saver::BgmRepeat));
    Print("file", saver::BgmFile);
    Print("folder", saver::BgmFolder);
  } else if (args.size() == 5 && args[1] == "set") {
    saver::SettingsLocation location;
    location.programFolder = common::ProgramFolder();
    const std::string file = saver::IniFileToWrite(location);
    saver::WriteIni(saver::kIniSection, saver::kKeyBgmKind, args[2], file);
    saver::WriteIni(saver::kIniSection, saver::kKeyBgmRepeat, args[3], file);
    saver::WriteIni(saver::kIniSection, saver::kKeyBgmFile, args[4], file);
    Print("written", file);
  } else if (args.size() == 2 && args[1] == "where") {
    saver::SettingsLocation location;
    location.programFolder = common::ProgramFolder();
    Print("read", saver::IniFileToRead(location));
    // Asked with a store that makes and copies nothing.
    location.store.makeFolders = [](const std::string&) { return false; };
    Print("write", saver::IniFileToWrite(location));
    Print("user", saver::UserSettingsFolder());
  } else if (args.size() == 2 && args[1] == "forget") {
    const std::string folder = saver::UserSettingsFolder();
    DeleteFileW(Widen(folder + "\\Tovarel.ini").c_str());
    RemoveDirectoryW(Widen(folder).c_str());
  } else if (args.size() == 2 && args[1] == "system") {
    Print("acp", std::to_string(GetACP()));
  } else if (args.size() == 3 && args[1] == "hold") {
    Print("hold", saver::ProfileCanHold(args[2]) ? "1" : "0");
  } else {
    return 2;
  }
  std::fflush(stdout);
  return 0;
}
