#pragma once
// Where an MCI device stands, and the word "status ... mode" answers for it.
namespace music {

enum class DeviceState { Stopped, Playing, Paused };

inline const char* ModeWord(DeviceState state) {
  switch (state) {
    case DeviceState::Playing:
      return "playing";
    case DeviceState::Paused:
      return "paused";
    case DeviceState::Stopped:
      break;
  }
  return "stopped";
}

}  // namespace music
