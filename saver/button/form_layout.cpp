#include "saver/button/form_layout.h"

#include <cstdio>

#include "saver/common/vb_number.h"

namespace button {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

// "a ""quoted"" text" -> a "quoted" text; an unquoted value stays as it is.
std::string Unquote(std::string_view value) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') return std::string(value);
  std::string out;
  for (std::size_t i = 1; i + 1 < value.size(); ++i) {
    out += value[i];
    if (value[i] == '"' && i + 2 < value.size() && value[i + 1] == '"') ++i;
  }
  return out;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

int NumberOr(std::string_view text, int fallback) {
  auto number = common::ReadNumber(text);
  if (!number) return fallback;
  return common::RoundToInteger32(*number).value_or(fallback);
}

void SetFontField(toolkit::Font& font, std::string_view key, const std::string& value) {
  if (key == "Name") font.name = value;
  if (key == "Size") font.size = common::ReadNumber(value).value_or(font.size);
  if (key == "Weight") font.weight = NumberOr(value, font.weight);
  if (key == "Italic") font.italic = ReadStoredBoolean(value, font.italic);
  if (key == "Underline") font.underline = ReadStoredBoolean(value, font.underline);
  if (key == "Strikethrough") font.strikethrough = ReadStoredBoolean(value, font.strikethrough);
  if (key == "Charset") font.charset = NumberOr(value, font.charset);
}

std::string FormatSize(double size) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", size);
  return text;
}

}  // namespace

std::vector<ControlLayout> ParseLayout(std::string_view text) {
  std::vector<ControlLayout> controls;
  std::optional<ControlLayout> current;
  std::optional<std::pair<std::string, toolkit::Font>> font;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;

    if (line.rfind("Begin ", 0) == 0 && !current) {
      const std::string_view rest = Trim(line.substr(6));
      const std::size_t space = rest.find(' ');
      if (space == std::string_view::npos) continue;
      current.emplace();
      current->className = std::string(rest.substr(0, space));
      current->name = std::string(Trim(rest.substr(space)));
      continue;
    }
    if (!current) continue;
    if (line == "End") {
      controls.push_back(std::move(*current));
      current.reset();
      font.reset();
      continue;
    }
    if (line.rfind("BeginProperty ", 0) == 0) {
      font.emplace(std::string(Trim(line.substr(14))), toolkit::Font{});
      continue;
    }
    if (line == "EndProperty") {
      if (font) current->properties.Set(font->first, font->second);
      font.reset();
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string value = Unquote(Trim(line.substr(equals + 1)));
    if (font) {
      SetFontField(font->second, key, value);
    } else if (key == "Left") {
      current->left = NumberOr(value, 0);
    } else if (key == "Top") {
      current->top = NumberOr(value, 0);
    } else if (key == "Width") {
      current->width = NumberOr(value, 0);
    } else if (key == "Height") {
      current->height = NumberOr(value, 0);
    } else {
      current->properties.Set(key, value);
    }
  }
  return controls;
}

std::string WriteLayout(const std::vector<ControlLayout>& controls) {
  std::string out;
  for (const ControlLayout& c : controls) {
    out += "Begin " + c.className + " " + c.name + "\n";
    out += "   Left = " + std::to_string(c.left) + "\n";
    out += "   Top = " + std::to_string(c.top) + "\n";
    out += "   Width = " + std::to_string(c.width) + "\n";
    out += "   Height = " + std::to_string(c.height) + "\n";
    for (const PropertyBag::Entry& e : c.properties.Entries()) {
      if (const auto* text = std::get_if<std::string>(&e.value)) {
        out += "   " + e.key + " = " + Quote(*text) + "\n";
        continue;
      }
      const auto& f = std::get<toolkit::Font>(e.value);
      out += "   BeginProperty " + e.key + "\n";
      out += "      Name = " + Quote(f.name) + "\n";
      out += "      Size = " + FormatSize(f.size) + "\n";
      out += "      Weight = " + std::to_string(f.weight) + "\n";
      out += "      Italic = " + StoredBoolean(f.italic) + "\n";
      out += "      Underline = " + StoredBoolean(f.underline) + "\n";
      out += "      Strikethrough = " + StoredBoolean(f.strikethrough) + "\n";
      out += "      Charset = " + std::to_string(f.charset) + "\n";
      out += "   EndProperty\n";
    }
    out += "End\n";
  }
  return out;
}

const ControlLayout* FindControl(const std::vector<ControlLayout>& controls, std::string_view name) {
  for (const ControlLayout& c : controls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

}  // namespace button
