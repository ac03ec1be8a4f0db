#pragma once

// Helpers of the window tests: keys as the user presses them, and texts of
// a window's controls in one line.

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <ostream>

// Failures print texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace vork::testing {

// Presses and releases one key on widget, as the user would.
inline void PressKey(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

// Types text into widget key by key.
inline void TypeKeys(QWidget* widget, const QString& text) {
  for (QChar c : text) PressKey(widget, c.toUpper().unicode(), QString(c));
}

// A combo box's items, or a window's label texts, joined by "|".
inline QString ComboItems(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i));
  return items.join('|');
}
inline QString LabelTexts(const QWidget* window) {
  QStringList texts;
  for (const QLabel* label : window->findChildren<QLabel*>()) texts.push_back(label->text());
  return texts.join('|');
}

}  // namespace vork::testing
