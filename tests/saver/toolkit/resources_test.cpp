// Pictures and pointers from file bytes, and the open-file dialog whose
// patterns match names in any case.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "saver/toolkit/qt/qt_open_file.h"
#include "saver/toolkit/qt/qt_picture.h"
#include "tests/saver/support/temp_dir.h"
#include "tests/saver/toolkit/toolkit_fixture.h"

namespace {

using toolkittest::App;

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Resource(const char* name) { return std::string(TOVAREL_DIALOG_RESOURCES) + "/" + name; }

TEST(Pictures, DecodeTheProgramsFilesAndRefuseOthers) {
  const toolkit::PictureRef marker = App().LoadPicture(ReadFile(Resource("marker_on.jpg")));
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->PixelSize(), (toolkit::Size{12, 12}));
  const toolkit::PictureRef icon = App().LoadPicture(ReadFile(Resource("tovarel.ico")));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->PixelSize(), (toolkit::Size{32, 32}));
  const std::vector<unsigned char> junk(100, 0x42);
  EXPECT_EQ(App().LoadPicture(junk), nullptr);
  EXPECT_EQ(App().LoadPicture({}), nullptr);
}

TEST(Pointers, CursorFileKeepsItsHotSpot) {
  const std::vector<unsigned char> hand = ReadFile(Resource("hand.cur"));
  const toolkit::CursorRef cursor = App().LoadCursor(hand);
  ASSERT_NE(cursor, nullptr);
  const auto* decoded = dynamic_cast<const toolkit::qt::QtCursor*>(cursor.get());
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(decoded->HotSpot(), QPoint(12, 10));
  EXPECT_EQ(decoded->Shape().pixmap().size(), QSize(32, 32));

  // An icon is not a cursor; a directory without entries is nothing.
  EXPECT_EQ(App().LoadCursor(ReadFile(Resource("tovarel.ico"))), nullptr);
  std::vector<unsigned char> empty = hand;
  empty[4] = empty[5] = 0;
  EXPECT_EQ(App().LoadCursor(empty), nullptr);
  EXPECT_EQ(App().LoadCursor(std::vector<unsigned char>(hand.begin(), hand.begin() + 10)), nullptr);
}

TEST(OpenFile, PatternsMatchInAnyCase) {
  using toolkit::qt::CaseFreePatterns;
  EXPECT_EQ(CaseFreePatterns("*.MP3;*.WAV"), (QStringList{"*.[mM][pP]3", "*.[wW][aA][vV]"}));
  EXPECT_EQ(CaseFreePatterns(" *.mid ; "), (QStringList{"*.[mM][iI][dD]"}));
  EXPECT_EQ(CaseFreePatterns("x[ab].*"), (QStringList{"[xX][ab].*"}));
  EXPECT_EQ(CaseFreePatterns(""), (QStringList{"*"}));

}

// The dialog as the user sees it: its list, then a choice or a cancel.
class OpenFileDialog : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"song.mp3", "SONG.Wav", "notes.txt"}) testsupport::WriteBytes(folder.File(name), "x");
    request.filterDescription = "BGMﾌｧｲﾙ (MP3 WAV)";
    request.filterPattern = "*.MP3;*.WAV";
    request.initialFolder = folder.Path();
    request.title = "ﾌｧｲﾙを開く";
  }
  // Runs the dialog; `act` gets it once its list shows the folder's files.
  toolkit::OpenFileResult Run(const std::function<void(QFileDialog&)>& act) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      auto* view = dialog != nullptr ? dialog->findChild<QListView*>("listView") : nullptr;
      if (view == nullptr || view->model() == nullptr) return;
      listed.clear();
      const QModelIndex root = view->rootIndex();
      for (int row = 0; row < view->model()->rowCount(root); ++row) {
        listed.append(view->model()->index(row, 0, root).data().toString());
      }
      title = dialog->windowTitle();
      if (!listed.contains("song.mp3")) return;
      poll.stop();
      act(*dialog);
    });
    poll.start(20);
    QObject context;  // the give-up goes with this call
    QTimer::singleShot(10000, &context, [] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) dialog->reject();
    });
    return App().ChooseOpenFile(request);
  }

  testsupport::TempDir folder;
  toolkit::OpenFileRequest request;
  QStringList listed;
  QString title;
};

TEST_F(OpenFileDialog, ListsBothCasesAndGivesThePathChosen) {
  const toolkit::OpenFileResult chosen = Run([&](QFileDialog& dialog) {
    // Typed into the name field, then Open, as a user would.
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText("SONG.Wav");
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  listed.sort();
  EXPECT_EQ(listed, (QStringList{"SONG.Wav", "song.mp3"}));
  EXPECT_EQ(title, QString::fromUtf8("ﾌｧｲﾙを開く"));
  EXPECT_GT(chosen.result, 0);
  EXPECT_EQ(chosen.path, folder.File("SONG.Wav"));
}

TEST_F(OpenFileDialog, CancelGivesNothing) {
  const toolkit::OpenFileResult cancelled = Run([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(cancelled.result, 0);
  EXPECT_EQ(cancelled.path, "");
}

}  // namespace
