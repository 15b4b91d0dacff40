#pragma once
// The open-file dialog. Windows matches file patterns without regard to
// case; Linux names do not, so each letter of a pattern becomes a set of
// both cases ("*.MP3" lists song.mp3 and SONG.Mp3).
#include <QString>
#include <QStringList>
#include <string_view>

#include "saver/toolkit/toolkit.h"

class QWidget;

namespace toolkit::qt {

// "*.MP3;*.WAV" -> {"*.[mM][pP]3", "*.[wW][aA][vV]"}; empty gives {"*"}.
QStringList CaseFreePatterns(std::string_view patterns);

// The name filter as Qt's dialog reads it: description, then the patterns
// in parentheses.
QString NameFilter(const OpenFileRequest& request);

// Modal to `owner` (may be null); result 1 and the path when the user chose
// one, 0 when cancelled.
OpenFileResult RunOpenFileDialog(const OpenFileRequest& request, QWidget* owner);

}  // namespace toolkit::qt
