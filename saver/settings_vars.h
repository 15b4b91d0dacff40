#pragma once
// The settings shared by the whole saver program: filled from Tovarel.ini at
// start-up, changed by the settings dialog, read by the run and the music.
#include <cstdint>
#include <string>

namespace saver {

inline std::int16_t BgmKind = 0;    // 0 no music, 1 audio CD, 2 music file
inline std::int16_t BgmRepeat = 0;  // CD track to repeat, 0 for the whole disc
inline std::string BgmFile;         // full path of the MP3 or WAV file (UTF-8)
inline std::string BgmFolder;       // where the file chooser starts (UTF-8)

// Results of system calls that the settings dialog keeps (the pointer
// position's and the file chooser's).
inline std::int32_t LastApiResult = 0;

}  // namespace saver
