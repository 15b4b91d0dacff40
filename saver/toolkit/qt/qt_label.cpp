#include "saver/toolkit/qt/qt_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

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
  for (const QString& line : lines) {
    QTextLayout layout(line, qfont_);
    layout.beginLayout();
    QTextLine laid = layout.createLine();
    layout.endLayout();  // lays the line out unbounded
    if (laid.isValid()) width = std::max(width, laid.naturalTextWidth());
  }
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

  QTextLayout layout(text_, qfont_);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  option.setAlignment(alignment_ == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
  layout.setTextOption(option);
  // Whole-pixel line steps, as GDI places them.
  const int lineHeight = QFontMetrics(qfont_).height();
  layout.beginLayout();
  for (int row = 0;; ++row) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(std::max(textBox.width(), 0));
    line.setPosition(QPointF(0, row * lineHeight));
  }
  layout.endLayout();

  if (enabled_) {
    painter.setPen(ToQColor(foreColour_));
    layout.draw(&painter, textBox.topLeft());
  } else {
    painter.setPen(Qt::white);
    layout.draw(&painter, textBox.topLeft() + QPoint(1, 1));
    painter.setPen(QColor(128, 128, 128));
    layout.draw(&painter, textBox.topLeft());
  }
  painter.restore();
}

}  // namespace toolkit::qt
