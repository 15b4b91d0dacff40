#include "saver/dialog/dialog_resources.h"

#include "saver/dialog/files.h"

namespace dialog::resources {

std::string_view LayoutText() {
  const auto layout = files::Layout();
  return {reinterpret_cast<const char*>(layout.data()), layout.size()};
}

std::span<const unsigned char> Marker(bool selected) { return selected ? files::MarkerOn() : files::MarkerOff(); }

std::span<const unsigned char> HandCursor() { return files::HandCursor(); }

std::span<const unsigned char> Icon() { return files::Icon(); }

}  // namespace dialog::resources
