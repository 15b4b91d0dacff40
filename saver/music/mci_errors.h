#pragma once
// MCI error codes (MCIERR_BASE + n), as mciSendString returns them.
#include <cstdint>

namespace music {

enum class MciErr : std::uint32_t {
  InvalidDeviceId = 257,
  UnrecognizedKeyword = 259,
  UnrecognizedCommand = 261,
  Hardware = 262,
  InvalidDeviceName = 263,
  OutOfMemory = 264,
  DeviceOpen = 265,
  CannotLoadDriver = 266,
  MissingCommandString = 267,
  ParamOverflow = 268,
  MissingStringArgument = 269,
  BadInteger = 270,
  MissingParameter = 273,
  UnsupportedFunction = 274,
  FileNotFound = 275,
  DeviceNotReady = 276,
  Internal = 277,
  ExtensionNotFound = 281,
  OutOfRange = 282,
  FlagsNotCompatible = 284,
  DuplicateAlias = 289,
  BadConstant = 290,
  MissingDeviceName = 292,
  BadTimeFormat = 293,
  NoClosingQuote = 294,
  DuplicateFlags = 295,
  InvalidFile = 296,
  ExtraCharacters = 305,
};

constexpr std::uint32_t Code(MciErr e) { return static_cast<std::uint32_t>(e); }

}  // namespace music
