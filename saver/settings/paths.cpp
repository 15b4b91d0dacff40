#include "saver/settings/paths.h"

namespace saver {

std::string FolderOf(std::string_view path, PathSyntax syntax) {
  size_t cut = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    bool splits = syntax == PathSyntax::Windows ? (path[i] == ':' || path[i] == '\\')
                                                : path[i] == '/';
    if (splits) cut = i + 1;
  }
  std::string folder(path.substr(0, cut));
  char separator = PathSeparator(syntax);
  bool root = syntax == PathSyntax::Posix && folder == "/";
  if (!root && !folder.empty() && folder.back() == separator) folder.pop_back();
  return folder;
}

}  // namespace saver
