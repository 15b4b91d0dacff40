// The module's one entry.
#include "saver/music/gst/gst_mci.h"

extern "C" __attribute__((visibility("default"))) music::Mci* TovarelMusicMci() {
  static music::GstMci mci;
  return &mci;
}
