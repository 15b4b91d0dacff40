#include "saver/button/state_images.h"

#include "saver/button/images.h"

namespace button {

std::span<const unsigned char> StateImage(Look look) {
  switch (look) {
    case Look::Normal: return images::Normal();
    case Look::HighLight: return images::HighLight();
    case Look::Selected: return images::Selected();
    case Look::HighLightSelect: return images::HighLightSelect();
    case Look::Pressed: return images::Pressed();
    case Look::Disable: return images::Disable();
  }
  return {};
}

}  // namespace button
