#include "saver/toolkit/qt/qt_application.h"

#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "saver/common/program_folder.h"
#include "saver/toolkit/x11/connection.h"
#include "saver/toolkit/x11/window_lookup.h"

namespace toolkit::qt {
namespace {

// Qt ends the process when its xcb platform finds no display; find out first.
bool PlatformNeedsX() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  return platform == nullptr || *platform == '\0' || std::string_view(platform).rfind("xcb", 0) == 0;
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtApplication::QtApplication(int& argc, char** argv) : argc_(argc), argv_(argv) {
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine_ += ' ';
    commandLine_ += argv[i];
  }
}

QtApplication::~QtApplication() {
  gui_.reset();
  x11::CloseDisplay(display_);
}

std::string QtApplication::ProgramFolder() const { return common::ProgramFolder(); }

Display* QtApplication::XDisplay() {
  if (!displayTried_) {
    displayTried_ = true;
    display_ = x11::OpenDisplay();
  }
  return display_;
}

QApplication* QtApplication::Gui() {
  if (!gui_ && !guiFailed_) {
    if (PlatformNeedsX() && XDisplay() == nullptr) {
      guiFailed_ = true;
    } else {
      // Qt takes options such as -display or -platform from its argument
      // list; the saver's command line is its own, so Qt sees only the name.
      static int guiArgc = 1;
      static char* guiArgv[] = {argv_[0], nullptr};
      gui_ = std::make_unique<QApplication>(guiArgc, guiArgv);
    }
  }
  return gui_.get();
}

bool QtApplication::WindowExists(std::string_view title) {
  return x11::WindowWithTitleExists(XDisplay(), title);
}

void QtApplication::ShowCursor(bool show) {
  int before = cursorCount_;
  cursorCount_ += show ? 1 : -1;
  if (Gui() == nullptr) return;
  if (before >= 0 && cursorCount_ < 0) QApplication::setOverrideCursor(Qt::BlankCursor);
  if (before < 0 && cursorCount_ >= 0) QApplication::restoreOverrideCursor();
}

void QtApplication::ShowMessageBox(std::string_view text, std::string_view caption) {
  if (Gui() == nullptr) return;  // nowhere to show it
  QMessageBox box;
  box.setWindowTitle(FromUtf8(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(FromUtf8(text));
  box.setIcon(QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

void QtApplication::EndProgram() {
  std::fflush(nullptr);
  x11::FlushDisplay(display_);
  _exit(0);
}

int QtApplication::RunEventLoop() {
  if (loadedForms_ == 0 || Gui() == nullptr) return 0;
  return QApplication::exec();
}

}  // namespace toolkit::qt
