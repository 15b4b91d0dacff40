#pragma once
// The toolkit on the Windows user interface (user32 and GDI).
#include "saver/toolkit/win32/windows_api.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace toolkit::win32 {

class Win32Form;

class Win32Application final : public Application {
 public:
  Win32Application();
  // Forms that outlive the application (held in static storage, say) stop
  // reporting to it.
  ~Win32Application() override;
  Win32Application(const Win32Application&) = delete;
  Win32Application& operator=(const Win32Application&) = delete;

  std::string CommandLine() const override { return commandLine_; }
  std::string ProgramFolder() const override;
  bool WindowExists(std::string_view title) override;
  bool Claim(std::string_view name) override;
  void ShowCursor(bool show) override;
  void ShowMessageBox(std::string_view text, std::string_view caption) override;
  void EndProgram() override;
  int RunEventLoop() override;

  std::unique_ptr<Form> CreateForm(FormEvents& events) override;
  int TwipsPerPixelX() const override;
  int TwipsPerPixelY() const override;
  Size ScreenSize() const override;
  std::optional<ScreenRect> WindowRect(WindowHandle window) override;
  std::optional<Point> CursorPosition() override;
  WindowHandle WindowAtPoint(Point screen) override;
  void ZoomRects(WindowHandle window, const ScreenRect& from, const ScreenRect& to) override;

  PictureRef LoadPicture(std::span<const unsigned char> data) override;
  CursorRef LoadCursor(std::span<const unsigned char> data) override;
  void SetBusyPointer(bool busy) override;

  std::unique_ptr<Process> StartProgram(const std::string& path) override;
  void NoteDisplayMode() override;
  void RestoreDisplayMode(Size switched) override;
  std::int32_t OpenUrl(WindowHandle owner, std::string_view url) override;
  OpenFileResult ChooseOpenFile(const OpenFileRequest& request) override;

  // --- for the forms
  void FormCreated(Win32Form& form) { forms_.push_back(&form); }
  void FormDestroyed(Win32Form& form);
  void FormLoaded(Win32Form&) { ++loadedForms_; }
  void FormUnloaded(Win32Form& form);
  const std::vector<Win32Form*>& Forms() const { return forms_; }
  // The end of the session: every loaded form unloads.
  void UnloadAll();
  bool Busy() const { return busy_; }
  // Takes one message through the loop (Tab moves the focus through the
  // form's tab order); the exit code when it was the quit message.
  std::optional<int> PumpMessage();
  // `signalled` runs from the loop, once, when the handle is signalled (a
  // process has ended). The handle must stay open until then or Unwatch.
  void Watch(HANDLE handle, std::function<void()> signalled);
  void Unwatch(HANDLE handle);

 private:
  bool HandleTabKey(const MSG& message);
  void Dispatch(MSG& message);
  struct Watched {
    HANDLE handle;
    std::function<void()> signalled;
  };

  std::string commandLine_;
  std::vector<Win32Form*> forms_;
  int loadedForms_ = 0;
  bool busy_ = false;
  std::vector<Watched> watched_;
  std::optional<Size> notedMode_;
};

// The argument part of a full command line: the program's name (quoted or
// not) and the blanks after it removed.
std::wstring ArgumentsOf(std::wstring_view commandLine);

}  // namespace toolkit::win32
