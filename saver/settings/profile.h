#pragma once
// The profile functions the settings go through: the profile text engine
// over code page 932 on every system. A Japanese Windows writes these bytes
// with its own A functions; doing the same through the system's functions
// elsewhere would depend on the system's code page. All strings here are
// UTF-8.
#include <string>
#include <string_view>

namespace saver {

// At most 255 bytes of the value in the file's code page; empty when the
// file, the section or the key is missing or cannot be read.
inline constexpr size_t kProfileValueBytes = 255;

std::string GetProfileText(std::string_view section, std::string_view key,
                           const std::string& file);

// False when nothing was written: the file could not be replaced, or a text
// has no form in the file's code page (it is never written substituted).
bool PutProfileText(std::string_view section, std::string_view key, std::string_view value,
                    const std::string& file);

// Whether the text has a form in the file's code page that reads back
// whole (at most kProfileValueBytes bytes).
bool ProfileCanHold(std::string_view text);

}  // namespace saver
