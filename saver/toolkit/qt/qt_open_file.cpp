#include "saver/toolkit/qt/qt_open_file.h"

#include <QFileDialog>

#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {

QStringList CaseFreePatterns(std::string_view patterns) {
  QStringList result;
  for (const QString& part : FromUtf8(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString pattern = part.trimmed();
    if (pattern.isEmpty()) continue;
    QString caseFree;
    bool inSet = false;  // letters inside [...] stay as they are
    for (QChar c : pattern) {
      if (c == QLatin1Char('[')) inSet = true;
      if (c == QLatin1Char(']')) inSet = false;
      if (!inSet && c.isLetter() && c.toLower() != c.toUpper()) {
        caseFree += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
      } else {
        caseFree += c;
      }
    }
    result.append(caseFree);
  }
  if (result.isEmpty()) result.append(QStringLiteral("*"));
  return result;
}

QString NameFilter(const OpenFileRequest& request) {
  return FromUtf8(request.filterDescription) + QStringLiteral(" (") +
         CaseFreePatterns(request.filterPattern).join(QLatin1Char(' ')) + QLatin1Char(')');
}

OpenFileResult RunOpenFileDialog(const OpenFileRequest& request, QWidget* owner) {
  QFileDialog dialog(owner, FromUtf8(request.title), FromUtf8(request.initialFolder));
  // Qt's own dialog on every desktop: the pattern sets above are read the
  // same way everywhere, and the list shows only the description.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A typed name of a file that does not exist is accepted, as the system's
  // dialog accepts it without the must-exist flag.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(NameFilter(request));
  dialog.setWindowModality(Qt::ApplicationModal);
  OpenFileResult result;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    result.result = 1;
    result.path = ToUtf8(dialog.selectedFiles().first());
  }
  return result;
}

}  // namespace toolkit::qt
