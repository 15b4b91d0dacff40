#pragma once
// The display-mode switch on X: RandR on the output that shows the desktop.
#include <csignal>
#include <cstdint>
#include <optional>
#include <vector>

#include "x11/randr.h"

typedef struct _XDisplay Display;

namespace renderer {

struct MonitorArea {
  int x = 0, y = 0, width = 0, height = 0;
  bool primary = false;
};

class X11DisplayMode {
 public:
  X11DisplayMode() = default;
  X11DisplayMode(const X11DisplayMode&) = delete;
  X11DisplayMode& operator=(const X11DisplayMode&) = delete;
  ~X11DisplayMode();

  // True only when the screen really is width x height afterwards. The depth
  // cannot change on X; the screen's own is accepted.
  bool Switch(std::int32_t width, std::int32_t height);
  // Back to the mode found before the first switch; nothing if none was made.
  void Restore();
  bool Switched() const { return saved_.has_value(); }
  // Its own connection, whose errors it checks itself; none when shared.
  Display* Connection() const { return shared_ ? nullptr : display_; }
  // Switch on the window's own connection: Xwayland emulates a mode for the
  // client that asked for it, and for that client's full-screen window.
  void ShareConnection(Display* display, bool emulatedModes);
  // The monitors RandR reports now, in root coordinates.
  static std::vector<MonitorArea> Monitors(Display* display);
  // Xwayland names its outputs XWAYLAND0, XWAYLAND1...
  static bool IsXwayland(Display* display);
  // The shared connection is about to close.
  void Unshare() {
    if (shared_) display_ = nullptr;
    shared_ = false;
  }
  // A popup of this size at the origin fills what the display shows: the
  // whole screen, or under Xwayland the mode it emulates for us.
  bool Covers(std::int32_t width, std::int32_t height);
  // The switch is Xwayland's emulation, seen by this client alone.
  bool Emulating() const { return emulating_ && saved_.has_value(); }
  // Whether the screen is exactly this size now, as the server says.
  bool ScreenIs(std::int32_t width, std::int32_t height);
  // Restore when a connection has been lost or the program is being ended
  // by a signal: nothing while this object is itself talking to the server.
  void RestoreWithout(Display* lost);

 private:
  using Saved = ::x11::DisplayMode;

  bool Connect();
  bool SwitchGrabbed(std::int32_t width, std::int32_t height);
  bool CrtcShows(unsigned long crtc, unsigned long mode);
  // With several monitors, the desktop's (the primary) is this size at the origin.
  static bool PrimaryMonitorIs(Display* display, int width, int height);
  bool RootSize(int& width, int& height);
  bool RootSizeIs(int width, int height);
  bool Apply(const Saved& mode);

  struct BusyScope {
    explicit BusyScope(volatile std::sig_atomic_t& flag) : flag_(flag), was_(flag) { flag_ = 1; }
    ~BusyScope() { flag_ = was_; }
    volatile std::sig_atomic_t& flag_;
    std::sig_atomic_t was_;
  };

  Display* display_ = nullptr;
  std::optional<Saved> saved_;
  volatile std::sig_atomic_t busy_ = 0;
  bool shared_ = false;
  bool emulating_ = false;
};

}  // namespace renderer
