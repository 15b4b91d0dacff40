#include "saver/music/gst/mci_error_text.h"

#include <array>
#include <utility>

#include "saver/music/mci_errors.h"

namespace music {

std::optional<std::string_view> MciErrorText(std::uint32_t code) {
  static constexpr std::array<std::pair<MciErr, std::string_view>, 28> kTexts{{
      {MciErr::InvalidDeviceId, "Invalid MCI device ID. Use the ID returned when opening the MCI device."},
      {MciErr::UnrecognizedKeyword, "The driver cannot recognize the specified command parameter."},
      {MciErr::UnrecognizedCommand, "The driver cannot recognize the specified command."},
      {MciErr::Hardware, "There is a problem with your media device. Make sure it is working correctly or contact the device manufacturer."},
      {MciErr::InvalidDeviceName, "The specified device is not open or is not recognized by MCI."},
      {MciErr::OutOfMemory, "There is not enough memory available for this task. Quit one or more applications to increase available memory, and then try again."},
      {MciErr::DeviceOpen, "The device name is already being used as an alias by this application. Use a unique alias."},
      {MciErr::CannotLoadDriver, "There is an undetectable problem in loading the specified device driver."},
      {MciErr::MissingCommandString, "No command was specified."},
      {MciErr::ParamOverflow, "The output string was too large to fit in the return buffer. Increase the size of the buffer."},
      {MciErr::MissingStringArgument, "The specified command requires a character-string parameter. Please provide one."},
      {MciErr::BadInteger, "The specified integer is invalid for this command."},
      {MciErr::MissingParameter, "The specified command requires a parameter. Please supply one."},
      {MciErr::UnsupportedFunction, "The MCI device you are using does not support the specified command."},
      {MciErr::FileNotFound, "Cannot find the specified file. Make sure the path and filename are correct."},
      {MciErr::DeviceNotReady, "The device driver is not ready."},
      {MciErr::Internal, "A problem occurred in initializing MCI. Try restarting Windows."},
      {MciErr::ExtensionNotFound, "Cannot determine the device type from the given filename extension."},
      {MciErr::OutOfRange, "The specified parameter is out of range for the specified command."},
      {MciErr::FlagsNotCompatible, "The specified parameters cannot be used together."},
      {MciErr::DuplicateAlias, "The specified alias is already being used in this application. Use a unique alias."},
      {MciErr::BadConstant, "The specified parameter value is invalid for this command."},
      {MciErr::MissingDeviceName, "No device name was specified."},
      {MciErr::BadTimeFormat, "The specified time format is invalid."},
      {MciErr::NoClosingQuote, "A closing double-quotation mark is missing from the parameter value. Please supply one."},
      {MciErr::DuplicateFlags, "A parameter or value was specified twice. Only specify it once."},
      {MciErr::InvalidFile, "The specified file cannot be played on the specified MCI device. The file may be corrupt, or not in the correct format."},
      {MciErr::ExtraCharacters, "A parameter value is followed by extra characters. Enclose a value with spaces in quotation marks."},
  }};
  for (const auto& [err, text] : kTexts) {
    if (Code(err) == code) return text;
  }
  return std::nullopt;
}

}  // namespace music
