#include "modify/validate_command.h"

#include <string_view>

#include "core/code_lists.h"

namespace vork {

namespace {

std::string Trimmed(const std::string& text) {
  const std::string_view blanks = " \t\r\n\f\v";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool Refuse(UserDialogue& dialogue, const std::string& text) {
  dialogue.Notify(text);
  return false;
}

// A count line of the WINDOW command: TAB, the count and what it counts.
std::string CountLine(int count, const char* what) {
  std::string line(1, '\t');
  return line.append(std::to_string(count)).append(what);
}

std::string SignedIntToStr(int n) {
  std::string text = n > 0 ? "+" : "";
  return text.append(std::to_string(n));
}

}  // namespace

bool ValidateCommand(ModifyCommand& command, const MdsHeader& header, UserDialogue& dialogue) {
  const int number = command.Number;
  const bool removeOrEvent = number == CommandRemove || number == CommandEvent;
  command.NewCode = Trimmed(command.NewCode);
  if (command.NewCode.empty()) {
    if (number == CommandRecode) {
      if (dialogue.Ask(BoxStyle::Question, "Do you want to recode all successive identical events as one event?",
                       Buttons::YesNo) != Answer::Yes)
        return false;
      command.Number = CommandRecodeAll;
    } else if (!removeOrEvent) {
      dialogue.Ask(BoxStyle::Error, "Name for new code needed.", Buttons::Ok);
      return false;
    }
  } else if (removeOrEvent) {
    if (dialogue.Ask(BoxStyle::Question, "New code not needed for Remove or Event. Continue?", Buttons::YesNo) !=
        Answer::Yes)
      return false;
    command.NewCode.clear();
  } else {
    // The compiled file separates names by TABs and lines by line breaks.
    if (command.NewCode.find_first_of("\t\r\n") != std::string::npos)
      return Refuse(dialogue, "Name for new code cannot hold a TAB or a line break.");
    if (FindCodeIndex(command.NewCode, header.CodeNames, header.NCodes) > 0)
      return Refuse(dialogue, "Name for new code cannot be the same as an exisiting code.");
  }
  const int n = static_cast<int>(command.PickedCodes.size());
  if (command.Number != CommandRecodeAll && number != CommandEvent && n < 1)
    return Refuse(dialogue, "Names for old codes needed.");
  if (number == CommandWindow && n >= 3)
    return Refuse(dialogue, "Only one or two old codes can be named for the WINDOW command.");
  if (number == CommandWindow && n == 2 && command.Window.ToOption == NullToPart)
    return Refuse(dialogue, "'to \u00b1 units' cannot be null; needed for 2nd code named.");
  if (number == CommandRename && n != 1) return Refuse(dialogue, "Only one old code can be given for this command.");
  if (number == CommandRemove && n >= header.NCodes) return Refuse(dialogue, "Can't remove all codes; name fewer.");
  return true;
}

ModifyEcho EchoModifyCommand(const ModifyCommand& command, const WindowCounts& counts, bool allCodes) {
  ModifyEcho echo;
  const int number = command.Number;
  const dynString& picked = command.PickedCodes;
  std::string& text = echo.Text;
  text = std::string(ModifyCommandNames[number >= 1 && number <= CommandRecodeAll ? number : 0]);
  if (number != CommandRemove && number != CommandEvent && number != CommandRecodeAll)
    text += " " + command.NewCode + "=";
  if (number == CommandWindow && !picked.empty()) {
    static const char* const opens[] = {"(", "", ""};
    static const char* const closes[] = {"", "", ")"};
    const WindowParms& w = command.Window;
    const int from = w.FromOption >= 0 && w.FromOption <= 2 ? w.FromOption : 1;
    text += opens[from] + picked.front() + closes[from];
    if (w.FromN != 0) text += SignedIntToStr(w.FromN);
    if (w.ToOption >= 0 && w.ToOption <= 2) {
      text += std::string(",") + opens[w.ToOption] + picked.back() + closes[w.ToOption];
      if (w.ToN != 0) text += SignedIntToStr(w.ToN);
    }
    if (counts.Null > 0) echo.CountLines.push_back(CountLine(counts.Null, " null windows (stop < start)."));
    if (counts.Truncated > 0 && picked.size() == 1)
      echo.CountLines.push_back(CountLine(counts.Truncated, " truncated windows (at start or end)."));
    if (counts.Overlapped > 0) echo.CountLines.push_back(CountLine(counts.Overlapped, " overlapped windows."));
  } else if (!(number == CommandEvent && allCodes)) {
    for (const std::string& code : picked) text += " " + code;
  }
  if (number == CommandBout) text += " (" + std::to_string(command.BoutGap) + ")";
  text += ";";
  return echo;
}

}  // namespace vork
