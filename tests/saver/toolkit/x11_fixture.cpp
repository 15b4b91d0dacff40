#include "tests/saver/toolkit/x11_fixture.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <fstream>
#include <vector>

namespace toolkittest {
namespace {

std::string frameBufferFile;

std::uint32_t BigEndian(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

}  // namespace

void SetFrameBufferFile(const std::string& path) { frameBufferFile = path; }

std::optional<unsigned> ScreenPixel(int x, int y) {
  // An XWD dump: a header of big-endian words, a colour map, then the rows.
  std::ifstream in(frameBufferFile, std::ios::binary);
  unsigned char header[100];
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
  const std::uint32_t headerSize = BigEndian(header);
  const std::uint32_t bitsPerPixel = BigEndian(header + 44);
  const std::uint32_t bytesPerLine = BigEndian(header + 48);
  const std::uint32_t colours = BigEndian(header + 76);
  if (bitsPerPixel != 32) return std::nullopt;
  in.seekg(headerSize + colours * 12 + static_cast<std::uint64_t>(y) * bytesPerLine + x * 4);
  unsigned char pixel[4];
  if (!in.read(reinterpret_cast<char*>(pixel), 4)) return std::nullopt;
  return static_cast<unsigned>(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
}

OtherClient::OtherClient() : display_(XOpenDisplay(nullptr)) {}

OtherClient::~OtherClient() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

bool OtherClient::HasProperty(unsigned long window, const char* property, const std::string& value) const {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, window, XInternAtom(display_, property, False), 0, 1024, False,
                         AnyPropertyType, &type, &format, &count, &after, &data) != Success) {
    return false;
  }
  const bool same = data != nullptr && format == 8 && std::string(reinterpret_cast<char*>(data), count) == value;
  if (data != nullptr) XFree(data);
  return same;
}

bool OtherClient::Viewable(unsigned long window) const {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable;
}

std::optional<unsigned long> OtherClient::Parent(unsigned long window) const {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return std::nullopt;
  if (children != nullptr) XFree(children);
  return parent;
}

}  // namespace toolkittest
