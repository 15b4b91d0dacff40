#include "saver/settings/ini_text.h"


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
// a double-byte character. Lines are visited one at a time and never stored,
// so a huge file costs no more memory than its own bytes.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
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
    if (!visit(line)) return;
    pos = line.next;
  }
}

struct Located {
  std::optional<Line> section;  // the section's header line
  std::optional<Line> key;      // the key's line inside it
  Line lastKey;                 // last key line of the section (or its header)
  std::optional<Line> lastLine; // the file's last line, when no section matched
};

Located Locate(std::string_view text, std::string_view section, std::string_view key) {
  Located found;
  ForEachLine(text, [&](const Line& line) {
    if (line.kind == Kind::Section) {
      if (found.section) return false;  // only the first section of that name counts
      if (SameName(line.name, section)) {
        found.section = line;
        found.lastKey = line;
      }
    } else if (found.section && line.kind == Kind::Key) {
      found.lastKey = line;
      if (!found.key && SameName(line.name, key)) found.key = line;
    }
    found.lastLine = line;
    return true;
  });
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
  Located found = Locate(text, section, key);
  if (!found.key) return std::nullopt;
  return std::string(Unquote(found.key->value));
}

std::optional<std::string> SetValue(std::string_view text, std::string_view section,
                                    std::string_view key, std::string_view value) {
  if (!ValidSection(section) || !ValidKey(key) || HasLineBreakOrNul(value)) return std::nullopt;
  Located found = Locate(text, section, key);
  std::string keyLine = std::string(key) + "=" + std::string(value);
  std::string out(text);
  if (found.key) {
    const Line& line = *found.key;
    out.replace(line.begin, line.end - line.begin, keyLine);
    return out;
  }
  std::string insert;
  size_t at = text.size();
  if (found.section) {
    const Line& after = found.lastKey;
    at = after.next;
    if (after.next == after.end) insert = "\r\n";  // that line had no line break
  } else {
    if (found.lastLine && found.lastLine->next == found.lastLine->end) insert = "\r\n";
    insert += "[" + std::string(section) + "]\r\n";
  }
  insert += keyLine + "\r\n";
  out.insert(at, insert);
  return out;
}

}  // namespace saver::ini
