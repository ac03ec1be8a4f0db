#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

namespace vork {

// A number edit with a down and an up button beside it. Each change of the
// text goes through the window's filter, which cleans what was typed (with
// its beeps) and gives the number the edit now stands for; the buttons
// step that number by one, held to the edit's least and greatest values.
class TNumberUpDown : public QWidget {
 public:
  // Cleans the edit's text where typing left it unfit and returns its value.
  using Filter = std::function<int(QLineEdit&)>;

  TNumberUpDown(const QString& text, int least, int greatest, Filter filter, QWidget* parent);

  QLineEdit* Edit() const { return LineEdit; }
  QToolButton* DownButton() const { return Down; }
  QToolButton* UpButton() const { return Up; }
  // The number the edit stands for.
  int Position() const { return Value; }
  // Shows value, held to the least and greatest values.
  void SetPosition(int value);

 private:
  QLineEdit* LineEdit = nullptr;
  QToolButton* Down = nullptr;
  QToolButton* Up = nullptr;
  int Least = 0;
  int Greatest = 0;
  int Value = 0;
  Filter Filtered;
};

}  // namespace vork
