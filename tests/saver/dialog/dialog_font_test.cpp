// The settings dialog's Japanese text on the Qt backend: "ＭＳ Ｐゴシック"
// resolves to IPA P Gothic through the program's own font alias, every
// character of every text has a glyph in the font the label lays it out
// in, and a label sized to its text holds it on one line.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontInfo>
#include <QGlyphRun>
#include <QTextLayout>
#include <QTimer>
#include <functional>

#include "saver/dialog/lumora_p.h"
#include "saver/settings_vars.h"
#include "saver/toolkit/qt/qt_label.h"
#include "tests/saver/toolkit/toolkit_fixture.h"

namespace {

using toolkit::qt::QtLabel;
using toolkittest::App;

// Runs `inspect` on the loaded, shown dialog, then cancels it.
void WithDialog(const std::function<void(dialog::Lumora_P&)>& inspect) {
  dialog::Lumora_P settings(App());
  QTimer::singleShot(0, [&] {
    inspect(settings);
    settings.Cancel();
  });
  settings.ShowModal();
}

struct NamedLabel {
  std::string name;
  const QtLabel* label;
};

std::vector<NamedLabel> TextLabels(dialog::Lumora_P& d) {
  std::vector<std::pair<std::string, toolkit::Label*>> all = {
      {"lbl(15)", d.lbl15},          {"lbl(14)", d.lbl14},         {"lbl_BGM(0)", d.lbl_BGM[0]},
      {"lbl_BGM(1)", d.lbl_BGM[1]},  {"lbl_BGM(2)", d.lbl_BGM[2]}, {"lbl_Fname(0)", d.lbl_Fname0},
      {"lbl_URL", d.lbl_URL},        {"credit", d.lbl_Credit},     {"Cmd_Set", &d.Cmd_Set->LblMsg},
      {"Cmd_Can", &d.Cmd_Can->LblMsg}, {"Cmd_File(0)", &d.Cmd_File0->LblMsg}};
  std::vector<NamedLabel> labels;
  for (const auto& [name, label] : all) labels.push_back({name, dynamic_cast<const QtLabel*>(label)});
  return labels;
}

TEST(DialogFont, EveryTextIsDrawnInIpaPGothicWithAGlyphForEachCharacter) {
  saver::BgmKind = 2;
  saver::BgmFile = "/home/ユーザー/ミュージック/ＢＧＭ曲.mp3";
  WithDialog([](dialog::Lumora_P& d) {
    for (const NamedLabel& entry : TextLabels(d)) {
      ASSERT_NE(entry.label, nullptr) << entry.name;
      const QFont font = entry.label->DrawingFont();
      EXPECT_EQ(QFontInfo(font).family().toStdString(), "IPAPGothic") << entry.name;
      const QString text = QString::fromStdString(entry.label->Caption());
      ASSERT_FALSE(text.isEmpty()) << entry.name;
      QTextLayout layout(text, font);
      layout.beginLayout();
      layout.createLine();
      layout.endLayout();
      int glyphs = 0;
      for (const QGlyphRun& run : layout.glyphRuns()) {
        EXPECT_EQ(run.rawFont().familyName().toStdString(), "IPAPGothic") << entry.name << ": part of the text falls back";
        for (quint32 glyph : run.glyphIndexes()) {
          EXPECT_NE(glyph, 0u) << entry.name << ": a missing glyph (tofu)";
          ++glyphs;
        }
      }
      EXPECT_GE(glyphs, text.size()) << entry.name;
    }
    auto* repeat = dynamic_cast<QComboBox*>(QWidget::find(static_cast<WId>(d.BGM_Repeat->Handle())));
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(QFontInfo(repeat->font()).family().toStdString(), "IPAPGothic");
  });
}

TEST(DialogFont, LabelsSizedToTheirTextHoldItOnOneLine) {
  saver::BgmKind = 0;
  saver::BgmFile.clear();
  WithDialog([](dialog::Lumora_P& d) {
    for (const toolkit::Label* label : {d.lbl14, d.lbl_BGM[0], d.lbl_BGM[1], d.lbl_BGM[2], d.lbl_URL}) {
      const auto* q = dynamic_cast<const QtLabel*>(label);
      const QString text = QString::fromStdString(label->Caption());
      // Laid out as the label paints it, at the label's own width.
      QTextLayout layout(text, q->DrawingFont());
      QTextOption option;
      option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
      layout.setTextOption(option);
      layout.beginLayout();
      for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->Bounds().width);
      }
      layout.endLayout();
      EXPECT_EQ(layout.lineCount(), 1) << label->Caption() << " in " << label->Bounds().width << " pixels";
    }
  });
}

}  // namespace
