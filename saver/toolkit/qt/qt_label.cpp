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

constexpr int kBorderInset = 2;

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

QtLabel::QtLabel(ContainerCore& container) : Windowless<Label>(container) {
  qfont_ = MakeQFont(font_, Dpi());
}

void QtLabel::Move(const PixelRect& bounds) {
  PixelRect placed = bounds;
  if (autoSize_) {
    placed.width = bounds_.width;
    placed.height = bounds_.height;
  }
  Place(placed);
}

void QtLabel::SetCaption(std::string_view text) {
  caption_ = std::string(text);
  text_ = LaidOutText(text);
  Changed();
}

void QtLabel::SetFont(const Font& font) {
  font_ = font;
  qfont_ = MakeQFont(font_, Dpi());
  Changed();
}

void QtLabel::SetForeColour(Colour colour) {
  foreColour_ = colour;
  Repaint(Rect());
}

void QtLabel::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  Repaint(Rect());
}

void QtLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  Changed();
}

void QtLabel::SetBorder(bool border) {
  border_ = border;
  Changed();
}

void QtLabel::SetPointer(CursorRef cursor) { pointer_ = std::move(cursor); }

const QtCursor* QtLabel::Pointer() const { return dynamic_cast<const QtCursor*>(pointer_.get()); }

void QtLabel::Changed() {
  if (autoSize_) FitToText();
  Repaint(Rect());
}

void QtLabel::FitToText() {
  // The widest line as Paint lays it out (QFontMetrics measures some text,
  // such as "MP3、WAV", narrower, and the last word would wrap away); text
  // of several lines is as high as all of them.
  const QStringList lines = text_.split(QChar::LineSeparator);
  qreal width = 0;
  for (const QString& line : lines) width = std::max(width, LineWidth(line, qfont_));
  const int lineHeight = QFontMetrics(qfont_).height();
  const int inset = border_ ? 2 * kBorderInset : 0;
  QRect before = Rect();
  bounds_.width = static_cast<int>(std::ceil(width)) + inset;
  bounds_.height = lineHeight * static_cast<int>(lines.size()) + inset;
  Repaint(before);
}

void QtLabel::Paint(QPainter& painter) const {
  const QRect box = Rect();
  if (box.isEmpty()) return;
  painter.save();
  painter.setClipRect(box, Qt::IntersectClip);
  QRect textBox = box;
  if (border_) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    textBox = box.adjusted(kBorderInset, kBorderInset, -kBorderInset, -kBorderInset);
  }

  // Broken and clipped as the Windows build draws: at blanks only, and no
  // line below the first unless it shows whole.
  const std::u16string_view text(reinterpret_cast<const char16_t*>(text_.utf16()),
                                 static_cast<size_t>(text_.size()));
  const bool centred = alignment_ == Alignment::Centre;
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
    painter.setPen(ToQColor(foreColour_));
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
