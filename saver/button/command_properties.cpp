// The public properties of Command and their storage in the form's layout.
#include "saver/button/command.h"

#include "saver/common/vb_number.h"

namespace button {
namespace {

// Stored numbers are read as the language reads them; a value that does
// not convert keeps the target as it was.
template <typename T>
void ReadInto(T& target, const std::string& text) {
  if (auto number = common::ReadNumber(text)) {
    if (auto rounded = common::RoundToInteger32(*number)) target = static_cast<T>(*rounded);
  }
}

}  // namespace

std::string Command::Caption() const { return LblMsg.Caption(); }

void Command::SetCaption(std::string_view newCaption) {
  LblMsg.SetCaption(newCaption);
  Report("Caption");
}

toolkit::Font Command::Font() const { return LblMsg.GetFont(); }

void Command::SetFont(const toolkit::Font& newFont) {
  LblMsg.SetFont(newFont);
  Report("Font");
}

toolkit::Colour Command::FontColour() {
  const toolkit::Colour colour = LblMsg.ForeColour();
  RefreshFace();
  return colour;
}

void Command::SetFontColour(toolkit::Colour newFontColour) {
  LblMsg.SetForeColour(newFontColour);
  RefreshFace();
  Report("FontColour");
}

// The first read switches on an instance that never was.
bool Command::Enabled() {
  if (FirstRun == 0) {
    RefreshFace();
    FirstRun = 1;
    enabledFlag = True;
  }
  const bool enabled = enabledFlag != False;
  ShowEnabledState();
  return enabled;
}

void Command::SetEnabled(bool newEnabled) {
  enabledFlag = newEnabled ? True : False;
  Report("Enabled");
  ShowEnabledState();
}

std::uint8_t Command::Visible() {
  if (control_.Transparent()) return 0;
  RefreshFace();
  return 255;
}

void Command::SetVisible(std::uint8_t newVisible) {
  if (newVisible != 0) {
    control_.SetTransparent(false);
    RefreshFace();
  } else {
    control_.SetTransparent(true);
  }
  Report("Visible");
}

void Command::ReadProperties(const PropertyBag& bag, const toolkit::Font& ambientFont) {
  enabledFlag = ReadStoredBoolean(bag.ReadProperty("Enabled", StoredBoolean(true)), true) ? True : False;
  LblMsg.SetCaption(bag.ReadProperty("Caption", "Command1"));
  LblMsg.SetFont(bag.ReadFont("Font", ambientFont));
  ReadInto(FirstRun, bag.ReadProperty("FirstRun", "1"));
  toolkit::Colour colour = LblMsg.ForeColour();
  ReadInto(colour, bag.ReadProperty("FontColour", "0"));
  LblMsg.SetForeColour(colour);
  std::int16_t backStyle = 1;
  ReadInto(backStyle, bag.ReadProperty("Visible", "1"));
  control_.SetTransparent(backStyle == 0);
  RefreshFace();
}

void Command::LoadFromLayout(const ControlLayout& layout, const toolkit::Font& ambientFont) {
  ReadProperties(layout.properties, ambientFont);
  control_.Move({toolkit::TwipsToPixelsX(app_, layout.left), toolkit::TwipsToPixelsY(app_, layout.top),
                 toolkit::TwipsToPixelsX(app_, layout.width), toolkit::TwipsToPixelsY(app_, layout.height)});
}

void Command::WriteProperties(PropertyBag& bag, const toolkit::Font& ambientFont) {
  bag.WriteProperty("Enabled", StoredBoolean(enabledFlag != False), StoredBoolean(true));
  bag.WriteProperty("Caption", LblMsg.Caption(), "Command");
  bag.WriteProperty("FirstRun", std::to_string(FirstRun), "1");
  bag.WriteFont("Font", LblMsg.GetFont(), ambientFont);
  bag.WriteProperty("FontColour", std::to_string(static_cast<std::int32_t>(LblMsg.ForeColour())), "0");
  bag.WriteProperty("Visible", control_.Transparent() ? "0" : "1", "1");
  RefreshFace();
}

}  // namespace button
