#include "saver/preview/lumora_r.h"

#include <limits>

#include "saver/resources/pictures.h"

namespace saver {

std::int16_t PixelsToTwips16(int pixels, int twipsPerPixel) {
  const long long twips = static_cast<long long>(pixels) * twipsPerPixel;
  if (twips < std::numeric_limits<std::int16_t>::min() || twips > std::numeric_limits<std::int16_t>::max()) {
    return 0;
  }
  return static_cast<std::int16_t>(twips);
}

void Lumora_R::Load() {
  // Borderless, black, measured in pixels; the picture at its natural size.
  Img_Prev = &form_->AddImage();
  Img_Prev->SetPicture(app_.LoadPicture(resources::PreviewPicture()));
}

void Lumora_R::Setup(toolkit::WindowHandle host) {
  const std::optional<toolkit::ScreenRect> hostRect = app_.WindowRect(host);
  if (!hostRect) {
    // Nothing to draw into: a hidden form left behind would keep the
    // program alive for nobody.
    app_.EndProgram();
    return;
  }
  // The desktop itself, or anything as large as a whole screen, is no
  // control panel's preview: drawing there would cover the screen with a
  // window that takes no input.
  const toolkit::Size screen = app_.ScreenSize();
  if (screen.width > 0 && hostRect->Width() >= screen.width && hostRect->Height() >= screen.height) {
    app_.EndProgram();
    return;
  }
  const int tppX = app_.TwipsPerPixelX();
  const int tppY = app_.TwipsPerPixelY();
  const std::int16_t width = PixelsToTwips16(hostRect->Width(), tppX);
  const std::int16_t height = PixelsToTwips16(hostRect->Height(), tppY);

  form_ = app_.CreateForm(*this);
  form_->SetBorderStyle(toolkit::BorderStyle::None);
  form_->SetBackColour(toolkit::MakeColour(0, 0, 0));
  form_->SetCaption(kPreviewCaption);
  form_->Load();

  form_->SetChildStyle();
  if (!form_->SetParentWindow(host)) {
    // The host went away between the two steps.
    app_.EndProgram();
    return;
  }
  form_->MoveWindow({0, 0, width / tppX, height / tppY});
  if (Img_Prev != nullptr) Img_Prev->Move({0, 0, width / tppX, height / tppY});
  form_->Show(false);
}

}  // namespace saver
