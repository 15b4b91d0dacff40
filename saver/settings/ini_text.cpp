#include "saver/settings/ini_text.h"

#include <vector>

#include "saver/common/code_page.h"

namespace saver::ini {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

enum class Kind { Blank, Comment, Section, Key, Other };

struct Line {
  size_t begin = 0;  // first byte of the line
  size_t end = 0;    // one past its last byte before the line break
  size_t next = 0;   // first byte of the following line
  Kind kind = Kind::Other;
  std::string_view name;   // section or key name
  std::string_view value;  // key value, trimmed
};

// Position of the last ']' that is a character of its own, not the second
// byte of a double-byte character.
size_t FindClosingBracket(std::string_view text) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (common::IsCp932LeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == ']') {
      found = i;
    }
  }
  return found;
}

void Classify(std::string_view content, Line& line) {
  std::string_view body = Trim(content);
  if (body.empty()) {
    line.kind = Kind::Blank;
  } else if (body.front() == ';') {
    line.kind = Kind::Comment;
  } else if (body.front() == '[') {
    size_t close = FindClosingBracket(body);
    if (close == std::string_view::npos) {
      line.kind = Kind::Other;
    } else {
      line.kind = Kind::Section;
      line.name = Trim(body.substr(1, close - 1));
    }
  } else if (size_t equals = body.find('='); equals != std::string_view::npos) {
    // '=' (0x3D) can never be the second byte of a double-byte character.
    line.kind = Kind::Key;
    line.name = Trim(body.substr(0, equals));
    line.value = Trim(body.substr(equals + 1));
  } else {
    line.kind = Kind::Other;
  }
}

// CR LF, a lone LF and a lone CR all end a line; neither byte can be part of
// a double-byte character.
std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    Line line;
    line.begin = pos;
    size_t stop = text.find_first_of("\r\n", pos);
    if (stop == std::string_view::npos) {
      line.end = line.next = text.size();
    } else {
      line.end = stop;
      line.next = stop + 1;
      if (text[stop] == '\r' && line.next < text.size() && text[line.next] == '\n') ++line.next;
    }
    Classify(text.substr(line.begin, line.end - line.begin), line);
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
}

struct Located {
  std::optional<size_t> section;  // index of the section line
  std::optional<size_t> key;      // index of the key line inside it
  size_t lastKey = 0;             // last key line of the section (or its header)
};

Located Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Located found;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (line.kind == Kind::Section) {
      if (found.section) break;  // only the first section of that name counts
      if (SameName(line.name, section)) {
        found.section = i;
        found.lastKey = i;
      }
    } else if (found.section && line.kind == Kind::Key) {
      found.lastKey = i;
      if (!found.key && SameName(line.name, key)) found.key = i;
    }
  }
  return found;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// True when the last byte is a lead byte without its second byte: in a
// section line it would swallow the closing ']'.
bool EndsInLeadByte(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (common::IsCp932LeadByte(static_cast<unsigned char>(text[i]))) {
      if (i + 1 == text.size()) return true;
      ++i;
    }
  }
  return false;
}

bool ValidSection(std::string_view section) {
  if (section.empty() || HasLineBreakOrNul(section) || Trim(section) != section) return false;
  return FindClosingBracket(section) == std::string_view::npos && !EndsInLeadByte(section);
}

bool ValidKey(std::string_view key) {
  if (key.empty() || HasLineBreakOrNul(key) || Trim(key) != key) return false;
  if (key.front() == '[' || key.front() == ';') return false;
  return key.find('=') == std::string_view::npos;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (common::IsCp932LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
  std::vector<Line> lines = SplitLines(text);
  Located found = Locate(lines, section, key);
  if (!found.key) return std::nullopt;
  return std::string(Unquote(lines[*found.key].value));
}

std::optional<std::string> SetValue(std::string_view text, std::string_view section,
                                    std::string_view key, std::string_view value) {
  if (!ValidSection(section) || !ValidKey(key) || HasLineBreakOrNul(value)) return std::nullopt;
  std::vector<Line> lines = SplitLines(text);
  Located found = Locate(lines, section, key);
  std::string keyLine = std::string(key) + "=" + std::string(value);
  std::string out(text);
  if (found.key) {
    const Line& line = lines[*found.key];
    out.replace(line.begin, line.end - line.begin, keyLine);
    return out;
  }
  std::string insert;
  size_t at = text.size();
  if (found.section) {
    const Line& after = lines[found.lastKey];
    at = after.next;
    if (after.next == after.end) insert = "\r\n";  // that line had no line break
  } else {
    if (!lines.empty() && lines.back().next == lines.back().end) insert = "\r\n";
    insert += "[" + std::string(section) + "]\r\n";
  }
  insert += keyLine + "\r\n";
  out.insert(at, insert);
  return out;
}

}  // namespace saver::ini
