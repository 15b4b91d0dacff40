#include "saver/button/property_bag.h"

#include <algorithm>

#include "saver/common/vb_number.h"

namespace button {

bool SameStoredValue(std::string_view a, std::string_view b) {
  const std::optional<double> x = common::ReadNumber(a);
  const std::optional<double> y = common::ReadNumber(b);
  if (x && y) return *x == *y;
  return a == b;
}

std::string StoredBoolean(bool value) { return value ? "-1" : "0"; }

bool ReadStoredBoolean(std::string_view text, bool fallback) {
  if (text == "True") return true;
  if (text == "False") return false;
  const std::optional<double> number = common::ReadNumber(text);
  return number ? *number != 0 : fallback;
}

const PropertyBag::Entry* PropertyBag::Find(std::string_view key) const {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
  return it == entries_.end() ? nullptr : &*it;
}

void PropertyBag::Set(std::string_view key, Value value) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
  if (it != entries_.end()) {
    it->value = std::move(value);
  } else {
    entries_.push_back({std::string(key), std::move(value)});
  }
}

std::string PropertyBag::ReadProperty(std::string_view key, std::string_view defaultValue) const {
  const Entry* entry = Find(key);
  if (entry == nullptr) return std::string(defaultValue);
  if (const auto* text = std::get_if<std::string>(&entry->value)) return *text;
  return std::string(defaultValue);
}

toolkit::Font PropertyBag::ReadFont(std::string_view key, const toolkit::Font& defaultValue) const {
  const Entry* entry = Find(key);
  if (entry == nullptr) return defaultValue;
  if (const auto* font = std::get_if<toolkit::Font>(&entry->value)) return *font;
  return defaultValue;
}

void PropertyBag::WriteProperty(std::string_view key, std::string_view value, std::string_view defaultValue) {
  if (SameStoredValue(value, defaultValue)) {
    std::erase_if(entries_, [&](const Entry& e) { return e.key == key; });
    return;
  }
  Set(key, std::string(value));
}

void PropertyBag::WriteFont(std::string_view key, const toolkit::Font& value, const toolkit::Font& defaultValue) {
  if (value == defaultValue) {
    std::erase_if(entries_, [&](const Entry& e) { return e.key == key; });
    return;
  }
  Set(key, value);
}

}  // namespace button
