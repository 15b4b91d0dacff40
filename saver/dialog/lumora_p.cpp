#include "saver/dialog/lumora_p.h"

#include <cmath>
#include <limits>

#include "saver/common/vb_number.h"
#include "saver/dialog/background.h"
#include "saver/dialog/dialog_resources.h"
#include "saver/settings/profile.h"
#include "saver/settings/settings.h"
#include "saver/settings_vars.h"
#include "saver/startup.h"
#include "saver/zoom.h"

namespace dialog {
namespace {

const toolkit::Font kDialogFont{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128};
constexpr toolkit::Colour kBlack = toolkit::MakeColour(0, 0, 0);
constexpr toolkit::Colour kWhite = toolkit::MakeColour(255, 255, 255);
constexpr int kClientWidth = 7440;  // twips
constexpr int kClientHeight = 3645;
constexpr int kTrackCount = 31;

std::optional<std::int16_t> ToInt16(long long value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace

std::optional<std::int16_t> RepeatTrackOf(std::string_view text) {
  const std::optional<double> number = common::ReadNumber(text);
  if (!number) return 0;
  const std::optional<std::int32_t> rounded = common::RoundToInteger32(*number);
  if (!rounded) return std::nullopt;
  return ToInt16(*rounded);
}

std::string FormatTrack(std::int16_t track) { return track == 0 ? std::string() : std::to_string(track); }

toolkit::Point DialogPlacement(toolkit::Size screenTwips, toolkit::Size windowTwips) {
  return {(screenTwips.width - windowTwips.width) / 2, (screenTwips.height - windowTwips.height) / 3};
}

void Lumora_P::ShowModal() {
  form_ = app_.CreateForm(*this);
  form_->SetBorderStyle(toolkit::BorderStyle::FixedSingle);
  form_->SetCaption(kCaption);
  form_->SetClientSize({toolkit::TwipsToPixelsX(app_, kClientWidth), toolkit::TwipsToPixelsY(app_, kClientHeight)});
  form_->SetBackColour(toolkit::MakeColour(192, 192, 192));
  form_->SetIcon(app_.LoadPicture(resources::Icon()));
  form_->Show(true);
}

toolkit::PixelRect Lumora_P::Pixels(int left, int top, int width, int height) const {
  return {toolkit::TwipsToPixelsX(app_, left), toolkit::TwipsToPixelsY(app_, top),
          toolkit::TwipsToPixelsX(app_, width), toolkit::TwipsToPixelsY(app_, height)};
}

toolkit::Label& Lumora_P::AddLabel(toolkit::Container& container, int left, int top, int width, int height,
                                   std::string_view caption) {
  toolkit::Label& label = container.AddLabel();
  label.SetFont(kDialogFont);
  label.SetForeColour(kBlack);
  label.Move(Pixels(left, top, width, height));
  label.SetCaption(caption);
  return label;
}

// In the order the dialog holds them.
void Lumora_P::CreateControls() {
  const std::vector<button::ControlLayout> layout = button::ParseLayout(resources::LayoutText());
  auto command = [&](toolkit::Container& container, std::string_view name) {
    auto made = std::make_unique<button::Command>(app_, container);
    if (const button::ControlLayout* stored = button::FindControl(layout, name)) {
      made->LoadFromLayout(*stored, kDialogFont);
    }
    return made;
  };
  toolkit::Form& form = *form_;
  Cmd_Can = command(form, "Cmd_Can");
  Cmd_Set = command(form, "Cmd_Set");

  Pic_C0 = &form.AddPictureBox();
  Pic_C0->SetBackColour(toolkit::MakeColour(224, 224, 224));
  Pic_C0->Move(Pixels(180, 240, 7035, 2475));
  toolkit::PictureBox& panel = *Pic_C0;

  Cmd_File0 = command(panel, "Cmd_File(0)");
  BGM_Repeat = &panel.AddComboBox();
  BGM_Repeat->SetFont(kDialogFont);
  BGM_Repeat->SetBackColour(kWhite);
  BGM_Repeat->Move(Pixels(1680, 780, 615, 300));
  Shape3_3 = &panel.AddShape();
  Shape3_3->SetBorderColour(kBlack);
  Shape3_3->Move(Pixels(300, 300, 1695, 315));
  lbl15 = &AddLabel(panel, 300, 360, 1665, 195, "BGM");
  lbl15->SetAlignment(toolkit::Alignment::Centre);

  auto marker = [&](int top) {
    toolkit::Image& image = panel.AddImage();
    image.Move(Pixels(420, top, 195, 195));
    return &image;
  };
  Img_BGM[0] = marker(1140);
  lbl14 = &AddLabel(panel, 2340, 840, 990, 195, "曲目をﾘﾋﾟｰﾄ");
  lbl_BGM[1] = &AddLabel(panel, 660, 840, 645, 195, "音楽CD");
  lbl_BGM[2] = &AddLabel(panel, 660, 1440, 900, 195, "MP3、WAV");
  Img_BGM[1] = marker(840);
  lbl_BGM[0] = &AddLabel(panel, 660, 1140, 330, 195, "なし");
  Img_BGM[2] = marker(1440);
  for (toolkit::Label* label : {lbl14, lbl_BGM[0], lbl_BGM[1], lbl_BGM[2]}) label->SetAutoSize(true);
  lbl_Fname0 = &AddLabel(panel, 1080, 1740, 5595, 495, "");
  lbl_Fname0->SetBorder(true);

  lbl_URL = &AddLabel(form, 180, 3120, 3105, 195, kWebAddress);
  toolkit::Font underlined = kDialogFont;
  underlined.underline = true;
  lbl_URL->SetFont(underlined);
  lbl_URL->SetForeColour(kWhite);
  lbl_URL->SetAutoSize(true);
  lbl_URL->SetPointer(app_.LoadCursor(resources::HandCursor()));
  lbl_Credit = &AddLabel(form, 180, 2850, 4500, 195, kCreditText);
  lbl_Credit->SetForeColour(kWhite);
  lbl_Credit->SetAutoSize(true);

  for (std::size_t i = 0; i < Img_Ra.size(); ++i) {
    Img_Ra[i] = &form.AddImage();
    Img_Ra[i]->Move(Pixels(8040, i == 0 ? 300 : 600, 180, 180));
    Img_Ra[i]->SetPicture(app_.LoadPicture(resources::Marker(i == 1)));
  }

  for (std::int16_t k = 0; k < 3; ++k) {
    auto select = [this, k](const toolkit::MouseEvent&) { SelectChoice(k); };
    Img_BGM[static_cast<std::size_t>(k)]->Mouse().down = select;
    lbl_BGM[static_cast<std::size_t>(k)]->Mouse().down = select;
  }
  Cmd_File0->Click = [this] { ChooseFile(0); };
  Cmd_Set->Click = [this] { Set(); };
  Cmd_Can->Click = [this] { Cancel(); };
  lbl_URL->Mouse().click = [this] { OpenWebPage(); };
  form.SetTabOrder({BGM_Repeat, &Cmd_File0->Control(), &Cmd_Set->Control(), &Cmd_Can->Control()});
}

void Lumora_P::PlaceWindow() {
  const int tppX = app_.TwipsPerPixelX();
  const int tppY = app_.TwipsPerPixelY();
  const toolkit::Size screen = app_.ScreenSize();
  const toolkit::Size outer = form_->OuterSize();
  const toolkit::Point at =
      DialogPlacement({screen.width * tppX, screen.height * tppY}, {outer.width * tppX, outer.height * tppY});
  form_->MoveWindow({at.x / tppX, at.y / tppY, outer.width, outer.height});
}

void Lumora_P::Load() {
  CreateControls();
  PlaceWindow();
  for (button::Command* c : {Cmd_Can.get(), Cmd_Set.get(), Cmd_File0.get()}) c->Initialize();
  ShowBgmKind();
  BGM_Repeat->SetText(FormatTrack(saver::BgmRepeat));
  for (std::int16_t track = 0; track < kTrackCount; ++track) BGM_Repeat->AddItem(FormatTrack(track));
  lbl_Fname0->SetCaption(saver::BgmFile);

  const std::optional<toolkit::Point> pointer = app_.CursorPosition();
  saver::LastApiResult = pointer ? 1 : 0;
  if (pointer) {
    // A coordinate beyond 16 bits leaves its variable as it was.
    if (auto x = ToInt16(pointer->x)) saver::ZoomPointX = *x;
    if (auto y = ToInt16(pointer->y)) saver::ZoomPointY = *y;
  } else {
    saver::ZoomPointX = 0;
    saver::ZoomPointY = 0;
  }
  saver::ZoomOpen(app_, form_->Handle());
  app_.SetBusyPointer(false);
}

void Lumora_P::Resize() {
  toolkit::Surface& dialog = form_->GetSurface();
  PaintGradientPass(dialog, DialogColour);
  dialog.Refresh();
  if (Pic_C0 != nullptr) {
    toolkit::Surface& panel = Pic_C0->GetSurface();
    PaintGradientPass(panel, PanelColour);
    panel.Refresh();
  }
}

void Lumora_P::Unload() { saver::ZoomClose(app_, form_->Handle()); }

void Lumora_P::ShowBgmKind() {
  BGM_Repeat->SetEnabled(false);
  for (toolkit::Image* image : Img_BGM) image->SetPicture(Img_Ra[0]->GetPicture());
  if (saver::BgmKind >= 0 && saver::BgmKind <= 2) {
    Img_BGM[static_cast<std::size_t>(saver::BgmKind)]->SetPicture(Img_Ra[1]->GetPicture());
  }
  if (saver::BgmKind == 1) BGM_Repeat->SetEnabled(true);
  Cmd_File0->SetEnabled(saver::BgmKind == 2);
}

void Lumora_P::SelectChoice(std::int16_t k) {
  saver::BgmKind = k;
  ShowBgmKind();
}

void Lumora_P::ChooseFile(int) {
  toolkit::OpenFileRequest request;
  request.owner = form_->Handle();
  request.filterDescription = "BGMﾌｧｲﾙ (MP3 WAV)";
  request.filterPattern = "*.MP3;*.WAV";
  request.initialFolder = saver::BgmFolder;
  request.title = "ﾌｧｲﾙを開く";
  const toolkit::OpenFileResult result = app_.ChooseOpenFile(request);
  saver::LastApiResult = result.result;
  if (result.result <= 0) return;
  if (!saver::ProfileCanHold(result.path) || result.path.find('"') != std::string::npos) {
    // Written as it is, the path would come back as another file.
    app_.ShowMessageBox(kUnwritablePathMessage, kCaption);
    return;
  }
  saver::BgmFile = result.path;
  lbl_Fname0->SetCaption(result.path);
  saver::BgmFolder = saver::FolderOf(result.path);
}

void Lumora_P::Set() {
  // The program's folder, or the user's own copy where that folder cannot be written.
  saver::SettingsLocation location;
  location.programFolder = app_.ProgramFolder();
  const std::string file = saver::IniFileToWrite(location);
  // A number beyond 16 bits fails to convert and keeps the track as it was.
  if (auto track = RepeatTrackOf(BGM_Repeat->Text())) saver::BgmRepeat = *track;
  // Each write replaces the whole file or leaves it: the first that fails
  // stops the rest, and the user hears of it instead of a dialog that
  // closes as if all were saved.
  const bool saved =
      saver::WriteIni(saver::kIniSection, saver::kKeyBgmKind, common::WriteSigned(saver::BgmKind), file) &&
      saver::WriteIni(saver::kIniSection, saver::kKeyBgmRepeat, common::WriteSigned(saver::BgmRepeat), file) &&
      saver::WriteIni(saver::kIniSection, saver::kKeyBgmFile, saver::BgmFile, file);
  if (!saved) {
    app_.ShowMessageBox(kSaveFailedMessage, saver::kProgramTitle);
    return;
  }
  form_->Unload();
}

void Lumora_P::Cancel() { form_->Unload(); }

void Lumora_P::OpenWebPage() {
  app_.SetBusyPointer(true);
  app_.OpenUrl(form_->Handle(), lbl_URL->Caption());
  app_.SetBusyPointer(false);
}

}  // namespace dialog
