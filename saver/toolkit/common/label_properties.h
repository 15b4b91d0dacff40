#pragma once
// A label's properties and the rules that size it, the same on every
// backend; the backend measures text in its font, draws, and keeps the
// label's place.
//   - Auto-size makes the label as wide as its widest line and as high as
//     its lines (one line per line break; an empty caption is one empty
//     line), plus the border's insets; its top-left stays.
//   - Auto-sized, the label keeps that size wherever it is moved.
//   - The size follows every change of caption, font, border or auto-size.
#include <functional>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace toolkit {

class LabelProperties {
 public:
  // Inside the border's one-pixel frame the text keeps two pixels off the edge.
  static constexpr int kBorderInset = 2;

  struct Hooks {
    // The width of one line (no line break in it) in the label's font,
    // rounded up to whole pixels.
    std::function<int(std::string_view line)> lineWidth;
    // The step from one line to the next in the label's font.
    std::function<int()> lineHeight;
    // The font changed: the backend makes its own before anything is measured.
    std::function<void(const Font&)> fontChanged;
    // Auto-size gave the label this size.
    std::function<void(Size)> resize;
    // Something drawn changed.
    std::function<void()> changed;
  };

  explicit LabelProperties(Hooks hooks) : hooks_(std::move(hooks)) {}

  void SetCaption(std::string_view text);
  const std::string& Caption() const { return caption_; }
  void SetFont(const Font& font);
  const Font& GetFont() const { return font_; }
  void SetForeColour(Colour colour);
  Colour ForeColour() const { return foreColour_; }
  void SetAlignment(Alignment alignment);
  Alignment GetAlignment() const { return alignment_; }
  void SetAutoSize(bool autoSize);
  bool AutoSize() const { return autoSize_; }
  void SetBorder(bool border);
  bool Border() const { return border_; }
  void SetPointer(CursorRef cursor) { pointer_ = std::move(cursor); }
  const CursorRef& Pointer() const { return pointer_; }
  MouseHandlers& Mouse() { return mouse_; }

  // Where a move puts a label now at `current`.
  PixelRect Placed(const PixelRect& requested, const PixelRect& current) const;
  // The text's area inside the label's bounds.
  PixelRect TextArea(const PixelRect& bounds) const;

  // The caption's lines, broken at CR LF, LF or CR.
  static std::vector<std::string_view> Lines(std::string_view caption);

 private:
  void Fit();

  Hooks hooks_;
  std::string caption_;
  Font font_;
  Colour foreColour_ = 0;
  Alignment alignment_ = Alignment::Left;
  bool autoSize_ = false;
  bool border_ = false;
  CursorRef pointer_;
  MouseHandlers mouse_;
};

// The Label interface answered from its properties, over a backend's own
// windowless base (which keeps the label's place and draws it).
template <class Base>
class LabelOf : public Base {
 public:
  template <class... BaseArgs>
  explicit LabelOf(LabelProperties::Hooks hooks, BaseArgs&&... baseArgs)
      : Base(std::forward<BaseArgs>(baseArgs)...), props_(std::move(hooks)) {}

  void SetCaption(std::string_view text) override { props_.SetCaption(text); }
  std::string Caption() const override { return props_.Caption(); }
  void SetFont(const Font& font) override { props_.SetFont(font); }
  Font GetFont() const override { return props_.GetFont(); }
  void SetForeColour(Colour colour) override { props_.SetForeColour(colour); }
  Colour ForeColour() const override { return props_.ForeColour(); }
  void SetAlignment(Alignment alignment) override { props_.SetAlignment(alignment); }
  void SetAutoSize(bool autoSize) override { props_.SetAutoSize(autoSize); }
  void SetBorder(bool border) override { props_.SetBorder(border); }
  void SetPointer(CursorRef cursor) override { props_.SetPointer(std::move(cursor)); }
  MouseHandlers& Mouse() override { return props_.Mouse(); }

 protected:
  LabelProperties props_;
};

}  // namespace toolkit
