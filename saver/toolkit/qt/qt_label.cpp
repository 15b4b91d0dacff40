#include "saver/toolkit/qt/qt_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

#include "saver/toolkit/common/text_lines.h"
#include "saver/toolkit/qt/qt_font.h"
#include "saver/toolkit/qt/qt_picture.h"
#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {
namespace {

QString LaidOutText(std::string_view caption) {
  QString text = FromUtf8(caption);
  text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
  text.replace(QLatin1Char('\n'), QChar::LineSeparator);
  text.replace(QLatin1Char('\r'), QChar::LineSeparator);
  return text;
}

// One line laid out unbounded, as it is drawn.
double LineWidth(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  return line.isValid() ? line.naturalTextWidth() : 0;
}

QString Piece(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtLabel::QtLabel(ContainerCore& container)
    : LabelOf({.lineWidth =
                  [this](std::string_view line) {
                    // As Paint lays it out: QFontMetrics measures some text, such as
                    // "MP3、WAV", narrower, and the last word would wrap away.
                    return static_cast<int>(std::ceil(LineWidth(FromUtf8(line), qfont_)));
                  },
              .lineHeight = [this] { return QFontMetrics(qfont_).height(); },
              .fontChanged = [this](const Font& font) { qfont_ = MakeQFont(font, Dpi()); },
              .resize =
                  [this](Size size) {
                    const QRect before = Rect();
                    bounds_.width = size.width;
                    bounds_.height = size.height;
                    Repaint(before);
                  },
              .changed = [this] { Repaint(Rect()); }},
              container) {
  qfont_ = MakeQFont(props_.GetFont(), Dpi());
}

const QtCursor* QtLabel::Pointer() const { return dynamic_cast<const QtCursor*>(props_.Pointer().get()); }

void QtLabel::Paint(QPainter& painter) const {
  const QRect box = Rect();
  if (box.isEmpty()) return;
  const QString laidOut = LaidOutText(props_.Caption());
  painter.save();
  painter.setClipRect(box, Qt::IntersectClip);
  const QRect textBox = ToQRect(props_.TextArea(bounds_));
  if (props_.Border()) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
  }

  // Broken and clipped as the Windows build draws: at blanks only, and no
  // line below the first unless it shows whole.
  const std::u16string_view text(reinterpret_cast<const char16_t*>(laidOut.utf16()),
                                 static_cast<size_t>(laidOut.size()));
  const bool centred = props_.GetAlignment() == Alignment::Centre;
  const std::vector<TextLine> lines =
      BreakLines(text, std::max(textBox.width(), 0), centred,
                 [&](std::u16string_view piece) { return LineWidth(Piece(piece), qfont_); });
  // Whole-pixel line steps, as GDI places them.
  const int lineHeight = QFontMetrics(qfont_).height();
  const int shown = VisibleLineCount(static_cast<int>(lines.size()), lineHeight, textBox.height());
  auto drawLines = [&](QPoint origin) {
    for (int row = 0; row < shown; ++row) {
      const QString piece = Piece(text.substr(lines[row].begin, lines[row].length));
      QTextLayout layout(piece, qfont_);
      layout.beginLayout();
      QTextLine line = layout.createLine();
      layout.endLayout();
      if (!line.isValid()) continue;
      const int width = static_cast<int>(std::ceil(line.naturalTextWidth()));
      const int x = centred ? (textBox.width() - width) / 2 : 0;
      layout.draw(&painter, QPointF(origin + QPoint(x, row * lineHeight)));
    }
  };
  if (enabled_) {
    painter.setPen(ToQColor(props_.ForeColour()));
    drawLines(textBox.topLeft());
  } else {
    painter.setPen(Qt::white);
    drawLines(textBox.topLeft() + QPoint(1, 1));
    painter.setPen(QColor(128, 128, 128));
    drawLines(textBox.topLeft());
  }
  painter.restore();
}

}  // namespace toolkit::qt
