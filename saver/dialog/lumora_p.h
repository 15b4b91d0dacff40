#pragma once
// Lumora_P: the settings dialog. The user picks the background music (none,
// an audio CD with a track to repeat, or an MP3 or WAV file); Set writes
// Tovarel.ini, Cancel and the close box write nothing.
#include <array>
#include <memory>
#include <string>

#include "saver/button/command.h"
#include "saver/toolkit/toolkit.h"

namespace dialog {

inline constexpr std::string_view kCaption = "<Tovarel>";
inline constexpr std::string_view kWebAddress = "https://tovarel.jp/";
inline constexpr std::string_view kCreditText = "Tovarel  © 2026 Tovarel";
// Shown when a chosen file's name cannot be kept in Tovarel.ini or played
// back: a character its code page lacks, more than it reads back, or a
// double quote, which no music command can quote.
inline constexpr std::string_view kUnwritablePathMessage =
    "このﾌｧｲﾙ名は Tovarel.ini に保存できません (使えない文字があるか、長すぎます)。\n"
    "別のﾌｧｲﾙを選んでください。";

// Shown, with the program's title as caption, when Set could not save the
// choice anywhere (no writable folder, a full disk).
inline constexpr std::string_view kSaveFailedMessage = "設定を保存できませんでした。";

class Lumora_P final : public toolkit::FormEvents {
 public:
  explicit Lumora_P(toolkit::Application& app) : app_(app) {}

  // Shows the dialog modally; returns when it has closed.
  void ShowModal();

  void Load() override;
  void Resize() override;
  void Unload() override;

  void ShowBgmKind();
  void SelectChoice(std::int16_t k);
  void ChooseFile(int index);
  void Set();
  void Cancel();
  void OpenWebPage();

  toolkit::Form& Form() { return *form_; }

  // Controls, by their names in the layout.
  std::unique_ptr<button::Command> Cmd_Can;
  std::unique_ptr<button::Command> Cmd_Set;
  std::unique_ptr<button::Command> Cmd_File0;
  toolkit::PictureBox* Pic_C0 = nullptr;
  toolkit::ComboBox* BGM_Repeat = nullptr;
  toolkit::Shape* Shape3_3 = nullptr;
  toolkit::Label* lbl15 = nullptr;
  toolkit::Label* lbl14 = nullptr;
  std::array<toolkit::Image*, 3> Img_BGM{};
  std::array<toolkit::Label*, 3> lbl_BGM{};
  toolkit::Label* lbl_Fname0 = nullptr;
  toolkit::Label* lbl_URL = nullptr;
  toolkit::Label* lbl_Credit = nullptr;
  std::array<toolkit::Image*, 2> Img_Ra{};

 private:
  void CreateControls();
  toolkit::PixelRect Pixels(int left, int top, int width, int height) const;
  toolkit::Label& AddLabel(toolkit::Container& container, int left, int top, int width, int height,
                           std::string_view caption);
  void PlaceWindow();

  toolkit::Application& app_;
  std::unique_ptr<toolkit::Form> form_;
};

// The repeat box's text as the track number Set writes: a number (sign,
// point and exponent allowed) rounded half to even; 0 for other text. No
// value when the number lies outside the 16-bit range.
std::optional<std::int16_t> RepeatTrackOf(std::string_view text);

// The "##" format: no digits for 0.
std::string FormatTrack(std::int16_t track);

// Outer position that centres a window horizontally and puts its top at a
// third of the free height, in twips (integer division toward zero).
toolkit::Point DialogPlacement(toolkit::Size screenTwips, toolkit::Size windowTwips);

}  // namespace dialog
