// make_saver_art <saver folder>: writes the saver program's pictures below
// <saver folder>: the button's six state pictures into button/resources,
// the dialog's markers, hand cursor and icon into dialog/resources.
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "tools/art/bmp_writer.h"
#include "tools/art/button_faces.h"
#include "tools/art/dialog_icon.h"
#include "tools/art/hand_cursor.h"
#include "tools/art/icon_files.h"
#include "tools/art/jpeg_writer.h"
#include "tools/art/markers.h"

namespace {

namespace fs = std::filesystem;

struct ButtonFile {
  const char* name;
  art::ButtonLook look;
};

constexpr ButtonFile ButtonFiles[] = {
    {"normal.bmp", art::ButtonLook::Normal},
    {"highlight.bmp", art::ButtonLook::HighLight},
    {"highlight_select.bmp", art::ButtonLook::HighLightSelect},
    {"selected.bmp", art::ButtonLook::Selected},
    {"pressed.bmp", art::ButtonLook::Pressed},
    {"disable.bmp", art::ButtonLook::Disable},
};

// The finest quantisation: at 12 pixels every step of it shows.
constexpr int MarkerQuality = 100;

bool MakeFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  return fs::is_directory(folder, error);
}

bool Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  if (!bytes.empty() && art::WriteBytes(path, bytes)) return true;
  std::fprintf(stderr, "make_saver_art: cannot write %s\n", path.string().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: make_saver_art <saver folder>\n");
    return 2;
  }
  const fs::path buttons = fs::path(argv[1]) / "button" / "resources";
  const fs::path dialog = fs::path(argv[1]) / "dialog" / "resources";
  if (!MakeFolder(buttons) || !MakeFolder(dialog)) {
    std::fprintf(stderr, "make_saver_art: cannot use %s as the saver folder\n", argv[1]);
    return 1;
  }
  bool ok = true;
  for (const ButtonFile& file : ButtonFiles) {
    ok = Write(buttons / file.name, art::EncodeBmp24(art::MakeButtonFace(file.look))) && ok;
  }
  ok = Write(dialog / "marker_off.jpg", art::EncodeJpeg(art::MakeMarker(false), MarkerQuality)) && ok;
  ok = Write(dialog / "marker_on.jpg", art::EncodeJpeg(art::MakeMarker(true), MarkerQuality)) && ok;
  const auto hand = art::EncodeMonoCursor(art::MakeHandCursor(), art::HandHotSpotX, art::HandHotSpotY);
  ok = Write(dialog / "hand.cur", hand) && ok;
  ok = Write(dialog / "tovarel.ico", art::EncodeIcon8(art::MakeDialogIcon())) && ok;
  return ok ? 0 : 1;
}
