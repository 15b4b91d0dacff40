#pragma once
// Command: the saver's push button. It paints its whole face itself (a
// two-colour gradient framed by a border cut from one of six state
// pictures, with a centred caption) and follows the pointer, the mouse
// buttons, the focus and its enabled flag through four states.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "saver/button/form_layout.h"
#include "saver/button/property_bag.h"
#include "saver/toolkit/toolkit.h"

namespace button {

inline constexpr std::string_view kClassName = "Lumora.Command";

// The six state pictures, in the order of their resources.
enum class Look { Normal, HighLight, Selected, HighLightSelect, Pressed, Disable };

class Command final : public toolkit::UserControlEvents {
  // First: the members below are made from these.
  toolkit::Application& app_;
  toolkit::UserControl& control_;

 public:
  static constexpr std::int16_t True = -1;
  static constexpr std::int16_t False = 0;

  enum StateValue : std::uint8_t { None = 0, StateNormal = 1, StateHighLight = 2, StateSelected = 3,
                                   StateHighLightSelect = 4 };

  // Creates the control, its caption label and its hover timer in the
  // container, with the design values. Nothing is painted yet.
  Command(toolkit::Application& app, toolkit::Container& container);

  // --- public side: properties, method, event

  std::string Caption() const;
  void SetCaption(std::string_view newCaption);
  toolkit::Font Font() const;
  void SetFont(const toolkit::Font& newFont);
  toolkit::Colour FontColour();
  void SetFontColour(toolkit::Colour newFontColour);
  bool Enabled();
  void SetEnabled(bool newEnabled);
  std::uint8_t Visible();
  void SetVisible(std::uint8_t newVisible);

  void Initialize();
  std::function<void()> Click;
  // Reports a property's key as changed to the container.
  std::function<void(std::string_view)> PropertyChanged;

  void ReadProperties(const PropertyBag& bag, const toolkit::Font& ambientFont);
  // Made from a form's layout: the read handler, then the sizing.
  void LoadFromLayout(const ControlLayout& layout, const toolkit::Font& ambientFont);
  void WriteProperties(PropertyBag& bag, const toolkit::Font& ambientFont);

  toolkit::UserControl& Control() { return control_; }

  // --- events of the control (the toolkit calls these)

  void MouseDown(const toolkit::MouseEvent& event) override;
  void MouseMove(const toolkit::MouseEvent& event) override;
  void MouseUp(const toolkit::MouseEvent& event) override;
  void GotFocus() override;
  void LostFocus() override;
  void Resize() override;
  void TimerTick();

  // --- internal operations

  // False when a step could not be done (a state picture that is missing).
  bool PaintFace(Look look);
  void FillGradient();
  void EndHover();
  void ShowEnabledState();
  void RefreshFace();

  // Fields, as the instance holds them.
  toolkit::GradientRect gradientRect{1, 0};
  std::array<toolkit::GradientVertex, 4> vertices{};
  std::int16_t GradientReversed = False;
  std::uint8_t FirstRun = 0;
  std::int16_t enabledFlag = False;
  std::uint8_t State = None;
  std::int16_t ButtonDown = False;

  // Faces painted so far: a measure of what repaints cost, read by nothing.
  std::uint64_t paintCount = 0;

  toolkit::Label& LblMsg;
  toolkit::Timer& TmrMouse;

 private:
  int TwipsX(int pixels) const { return pixels * app_.TwipsPerPixelX(); }
  int TwipsY(int pixels) const { return pixels * app_.TwipsPerPixelY(); }
  toolkit::PixelRect PixelsOf(int x, int y, int w, int h) const;
  void Report(std::string_view key) {
    if (PropertyChanged) PropertyChanged(key);
  }

  std::array<toolkit::PictureRef, 6> looks_;
};

// "&HC6C5D7" -> the 16-bit vertex components 0xC600, 0xC500, 0xD700: the
// six hexadecimal digits cut into groups in written order. No value for
// text that is not six hexadecimal digits after "&H".
std::optional<std::array<std::uint16_t, 3>> VertexColour(std::string_view hexText);

}  // namespace button
