#include "saver/button/state_images.h"

#include <cstddef>

extern const unsigned char kNormalBmp[];
extern const std::size_t kNormalBmpSize;
extern const unsigned char kHighLightBmp[];
extern const std::size_t kHighLightBmpSize;
extern const unsigned char kSelectedBmp[];
extern const std::size_t kSelectedBmpSize;
extern const unsigned char kHighLightSelectBmp[];
extern const std::size_t kHighLightSelectBmpSize;
extern const unsigned char kPressedBmp[];
extern const std::size_t kPressedBmpSize;
extern const unsigned char kDisableBmp[];
extern const std::size_t kDisableBmpSize;

namespace button {

std::span<const unsigned char> StateImage(Look look) {
  switch (look) {
    case Look::Normal: return {kNormalBmp, kNormalBmpSize};
    case Look::HighLight: return {kHighLightBmp, kHighLightBmpSize};
    case Look::Selected: return {kSelectedBmp, kSelectedBmpSize};
    case Look::HighLightSelect: return {kHighLightSelectBmp, kHighLightSelectBmpSize};
    case Look::Pressed: return {kPressedBmp, kPressedBmpSize};
    case Look::Disable: return {kDisableBmp, kDisableBmpSize};
  }
  return {};
}

}  // namespace button
