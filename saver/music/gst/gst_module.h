#pragma once
// The GStreamer backend is a module of the saver's, loaded at the first
// music call: a run starts its renderer before GStreamer and libcdio are
// even mapped, and a run without music never maps them.
namespace music {

// In a folder of its own below the program's: a private module, no library
// of the system's.
inline constexpr char kMusicModulePath[] = "music/tovarel-music.so";
// extern "C" Mci* TovarelMusicMci(): the module's backend, alive until exit.
inline constexpr char kMusicModuleEntry[] = "TovarelMusicMci";

}  // namespace music
