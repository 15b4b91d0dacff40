#pragma once
// The stored properties of one control in its form's layout: named
// entries, each read and written against a default. A value equal to its
// default is not written and a missing entry reads as the default; a number
// and its decimal text count as equal.
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "saver/toolkit/toolkit.h"

namespace button {

class PropertyBag {
 public:
  using Value = std::variant<std::string, toolkit::Font>;
  struct Entry {
    std::string key;
    Value value;
  };

  std::string ReadProperty(std::string_view key, std::string_view defaultValue) const;
  toolkit::Font ReadFont(std::string_view key, const toolkit::Font& defaultValue) const;

  void WriteProperty(std::string_view key, std::string_view value, std::string_view defaultValue);
  void WriteFont(std::string_view key, const toolkit::Font& value, const toolkit::Font& defaultValue);

  // Entries in the order they were written (or read from a layout).
  const std::vector<Entry>& Entries() const { return entries_; }
  void Set(std::string_view key, Value value);
  bool Has(std::string_view key) const { return Find(key) != nullptr; }

 private:
  const Entry* Find(std::string_view key) const;
  std::vector<Entry> entries_;
};

// "1" and 1 are the same value; text that is not a number compares as text.
bool SameStoredValue(std::string_view a, std::string_view b);

// Boolean entries are stored as the language's True (-1) and False (0).
std::string StoredBoolean(bool value);
bool ReadStoredBoolean(std::string_view text, bool fallback);

}  // namespace button
