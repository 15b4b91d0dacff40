#include "saver/toolkit/qt/qt_combo_box.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPalette>

#include "saver/toolkit/qt/qt_font.h"
#include "saver/toolkit/qt/qt_text.h"

namespace toolkit::qt {
namespace {

// The edit text is selected whenever the box gets the focus, as a Windows
// combo box selects it: typing then replaces it. Qt selects it only for Tab.
class ComboBoxWidget final : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QComboBox::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason && lineEdit() != nullptr) lineEdit()->selectAll();
  }
};

}  // namespace

QtComboBox::QtComboBox(QWidget* parent, int dpi) : dpi_(dpi) {
  if (parent == nullptr) return;
  auto* box = new ComboBoxWidget(parent);
  box->setEditable(true);
  // Return in the edit field must not add the text to the list.
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setFocusPolicy(Qt::StrongFocus);
  Adopt(box);
}

void QtComboBox::SetText(std::string_view text) {
  text_ = std::string(text);
  if (Box() != nullptr) Box()->setEditText(FromUtf8(text));
}

std::string QtComboBox::Text() const {
  return Box() != nullptr ? ToUtf8(Box()->currentText()) : text_;
}

void QtComboBox::AddItem(std::string_view item) {
  items_.emplace_back(item);
  if (Box() == nullptr) return;
  // Adding the first entry makes it current and its text the edit text;
  // the box's text stays what it was.
  const QString text = Box()->currentText();
  Box()->addItem(FromUtf8(item));
  if (Box()->currentText() != text) Box()->setEditText(text);
}

int QtComboBox::ItemCount() const {
  return Box() != nullptr ? Box()->count() : static_cast<int>(items_.size());
}

std::string QtComboBox::Item(int index) const {
  if (Box() != nullptr) return index >= 0 && index < Box()->count() ? ToUtf8(Box()->itemText(index)) : std::string();
  return index >= 0 && index < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(index)]
                                                               : std::string();
}

void QtComboBox::SetFont(const Font& font) {
  if (Box() != nullptr) Box()->setFont(MakeQFont(font, dpi_));
}

void QtComboBox::SetBackColour(Colour colour) {
  if (Box() == nullptr) return;
  QPalette palette = Box()->palette();
  palette.setColor(QPalette::Base, ToQColor(colour));
  Box()->setPalette(palette);
  if (QLineEdit* edit = Box()->lineEdit()) edit->setPalette(palette);
}

}  // namespace toolkit::qt
