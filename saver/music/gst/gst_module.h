#pragma once
// The GStreamer backend is a module beside the saver, loaded at the first
// music call: a run starts its renderer before GStreamer and libcdio are
// even mapped, and a run without music never maps them.
namespace music {

inline constexpr char kMusicModuleFileName[] = "tovarel-music.so";
// extern "C" Mci* TovarelMusicMci(): the module's backend, alive until exit.
inline constexpr char kMusicModuleEntry[] = "TovarelMusicMci";

}  // namespace music
