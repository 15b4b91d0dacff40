#pragma once
// Lumora_R: the preview form. It is made a child of the window that the
// Display control panel names and shows one still picture of the scene;
// the program lives as long as that window.
#include <cstdint>
#include <memory>

#include "saver/toolkit/toolkit.h"

namespace saver {

inline constexpr std::string_view kPreviewCaption = "Preview Window";

class Lumora_R final : public toolkit::FormEvents {
 public:
  explicit Lumora_R(toolkit::Application& app) : app_(app) {}

  // The set-up steps, in order; the program keeps running while the form
  // is loaded. A host that names no window ends the program quietly.
  void Setup(toolkit::WindowHandle host);

  void Load() override;

  toolkit::Image* Img_Prev = nullptr;

 private:
  toolkit::Application& app_;
  std::unique_ptr<toolkit::Form> form_;
};

// The host's size in pixels as a 16-bit twips value, or 0 when it does not
// fit: a host wider than 2184 pixels gets no visible preview.
std::int16_t PixelsToTwips16(int pixels, int twipsPerPixel);

}  // namespace saver
