#include "tests/support/qt/scripted_platform.h"

namespace vork {

Answer ScriptedPlatform::Ask(BoxStyle style, const std::string& text, Buttons buttons) {
  QString shownText = QString::fromStdString(text);
  Shown.push_back({style, shownText, buttons});
  if (Answers.empty()) {
    Unexpected.push_back("message box: " + shownText);
    return Answer::Ok;
  }
  Answer answer = Answers.front();
  Answers.pop_front();
  return answer;
}

std::optional<QString> ScriptedPlatform::NextFile(const FileDialogSpec& spec, bool save) {
  FileDialogs.push_back({spec, save});
  if (FileAnswers.empty()) {
    Unexpected.push_back("file dialog: " + spec.Title);
    return std::nullopt;
  }
  // The name is taken out of the optional, not the optional copied: GCC 12
  // at -O2 takes a copied std::optional<QString> for uninitialized.
  const bool chosen = FileAnswers.front().has_value();
  const QString name = chosen ? *FileAnswers.front() : QString();
  FileAnswers.pop_front();
  if (!chosen) return std::nullopt;
  return name;
}

std::optional<QString> ScriptedPlatform::OpenFileName(const FileDialogSpec& spec) {
  return NextFile(spec, false);
}

std::optional<QString> ScriptedPlatform::SaveFileName(const FileDialogSpec& spec) {
  return NextFile(spec, true);
}

std::optional<QFont> ScriptedPlatform::ChooseFont(const QFont& start) {
  FontDialogStarts.push_back(start);
  if (FontAnswers.empty()) {
    Unexpected.push_back("font dialog");
    return std::nullopt;
  }
  std::optional<QFont> answer = FontAnswers.front();
  FontAnswers.pop_front();
  return answer;
}

QStringList ScriptedPlatform::BoxTexts() const {
  QStringList texts;
  for (const Box& box : Shown) texts.push_back(box.Text);
  return texts;
}

}  // namespace vork
