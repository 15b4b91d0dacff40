#include "saver/dialog/dialog_resources.h"

#include <cstddef>

extern const unsigned char kDialogLayout[];
extern const std::size_t kDialogLayoutSize;
extern const unsigned char kMarkerOffJpg[];
extern const std::size_t kMarkerOffJpgSize;
extern const unsigned char kMarkerOnJpg[];
extern const std::size_t kMarkerOnJpgSize;
extern const unsigned char kHandCur[];
extern const std::size_t kHandCurSize;
extern const unsigned char kTovarelIco[];
extern const std::size_t kTovarelIcoSize;

namespace dialog::resources {

std::string_view LayoutText() {
  return {reinterpret_cast<const char*>(kDialogLayout), kDialogLayoutSize};
}

std::span<const unsigned char> Marker(bool selected) {
  return selected ? std::span<const unsigned char>{kMarkerOnJpg, kMarkerOnJpgSize}
                  : std::span<const unsigned char>{kMarkerOffJpg, kMarkerOffJpgSize};
}

std::span<const unsigned char> HandCursor() { return {kHandCur, kHandCurSize}; }

std::span<const unsigned char> Icon() { return {kTovarelIco, kTovarelIcoSize}; }

}  // namespace dialog::resources
