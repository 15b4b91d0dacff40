#include "x11/window_lookup.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <locale.h>
#include <wctype.h>

#include <optional>
#include <string>
#include <vector>

#include "x11/error_trap.h"

namespace x11 {
namespace {

std::optional<std::u32string> DecodeUtf8(std::string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) return std::nullopt;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = code << 6 | (next & 0x3F);
    }
    out.push_back(code);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

// One upper-case form per character, whatever the program's own locale:
// Windows compares titles through its fixed upper-case table.
std::u32string Upper(std::u32string text) {
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  for (char32_t& c : text) {
    if (unicode != static_cast<locale_t>(nullptr)) {
      c = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicode));
    } else if (c >= U'a' && c <= U'z') {
      c = c - U'a' + U'A';
    }
  }
  return text;
}

// Titles match as FindWindow matches them: without regard to case. A name
// that is not UTF-8 (a Latin-1 WM_NAME) is compared with ASCII letters folded.
bool SameTitle(std::string_view a, std::string_view b) {
  const auto wideA = DecodeUtf8(a);
  const auto wideB = DecodeUtf8(b);
  if (wideA && wideB) return Upper(*wideA) == Upper(*wideB);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

bool PropertyEquals(Display* display, Window window, Atom property, std::string_view title) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  // Room for the title in another case, whose UTF-8 may be longer; a name
  // longer than that cannot match.
  long words = static_cast<long>(title.size() + 2);
  if (XGetWindowProperty(display, window, property, 0, words, False, AnyPropertyType, &type,
                         &format, &count, &after, &data) != Success) {
    return false;
  }
  bool equal = data != nullptr && format == 8 && after == 0 &&
               SameTitle(std::string_view(reinterpret_cast<char*>(data), count), title);
  if (data != nullptr) XFree(data);
  return equal;
}

}  // namespace

bool WindowWithTitleExists(Display* display, std::string_view title) {
  if (display == nullptr) return false;
  // Windows of other clients may be destroyed while we look at them.
  ErrorTrap trap(display, ErrorTrap::Earlier::Excluded);
  Atom wmName = XA_WM_NAME;
  Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);

  std::vector<Window> pending;
  for (int screen = 0; screen < ScreenCount(display); ++screen) {
    pending.push_back(RootWindow(display, screen));
  }
  bool found = false;
  while (!pending.empty() && !found) {
    Window window = pending.back();
    pending.pop_back();
    found = PropertyEquals(display, window, netWmName, title) ||
            PropertyEquals(display, window, wmName, title);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int childCount = 0;
    if (!found && XQueryTree(display, window, &root, &parent, &children, &childCount) != 0) {
      pending.insert(pending.end(), children, children + childCount);
    }
    if (children != nullptr) XFree(children);
  }
  return found;
}

}  // namespace x11
