#include "modify/typed_commands.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "core/code_lists.h"
#include "core/command_error.h"

namespace vork {

namespace {

const std::string EnDash = "\u2013";

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// A signed whole number: an optional "+" or "-" and digits. Values past
// the range of the offset and gap controls are held at its ends.
bool ToClampedInteger(const std::string& text, int low, int high, int& value) {
  std::size_t at = text.size() > 0 && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (at >= text.size()) return false;
  long long magnitude = 0;
  for (std::size_t i = at; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    magnitude = std::min<long long>(magnitude * 10 + (text[i] - '0'), LLONG_MAX / 20);
  }
  const long long signedValue = text[0] == '-' ? -magnitude : magnitude;
  value = static_cast<int>(std::clamp<long long>(signedValue, low, high));
  return true;
}

// One statement being read: its number for the error list and whether it
// is still good.
class Statement {
 public:
  Statement(int number, StatementHost& host) : Number(number), Host(host) {}

  void SyntaxError(const std::string& message) {
    Host.ListError(std::to_string(Number) + ". " + message);
    Ok = false;
  }

  bool IsCode(const std::string& name) const {
    return FindCodeIndex(name, Host.Header().CodeNames, Host.Header().NCodes) > 0;
  }

  void RequireCode(const std::string& name) {
    if (!IsCode(name)) SyntaxError("Code '" + name + "' is not in MDS file");
  }

  // One part of a WINDOW command: "(code", "code" or "code)" with an
  // optional signed offset from its last "+", "-" or en dash. The code is
  // what is left as typed: a blank before the offset or inside a bracket
  // belongs to it, and the file check then names it with that blank.
  void ParseWindowPart(std::string part, std::string& code, int& option, int& offset) {
    std::size_t p = std::string::npos;
    for (const std::string& sign : {std::string("+"), std::string("-"), EnDash}) {
      const std::size_t at = part.rfind(sign);
      if (at != std::string::npos && (p == std::string::npos || at > p)) p = at;
    }
    offset = 0;
    if (p != std::string::npos) {
      const std::string text = part.substr(p);
      part.erase(p);
      if (!ToClampedInteger(text, -32768, 32767, offset))
        SyntaxError("Integer offset expected but '" + text + "' found");
    }
    if (!Ok) return;
    if (!part.empty() && part.front() == '(') {
      part.erase(0, 1);
      option = 0;
    } else if (!part.empty() && part.back() == ')') {
      part.pop_back();
      option = 2;
    } else {
      option = 1;
    }
    code = part;
  }

  bool Run(const std::string& statement);

  const int Number;
  StatementHost& Host;
  bool Ok = true;
};

bool Statement::Run(const std::string& statement) {
  std::string s = TabsToSpaces(statement);
  ModifyCommand command = Host.Controls();
  command.NewCode.clear();
  command.PickedCodes.clear();
  std::string word;
  const std::size_t space = s.find(' ');
  if (space != std::string::npos) {
    word = s.substr(0, space);
    s = Trimmed(s.substr(space + 1));
  } else {
    word = s;
    s.clear();
  }
  int k = 0;
  for (int i = CommandAnd; i <= CommandBout && k == 0; ++i)
    if (SameIgnoringCase(word, ModifyCommandNames[i])) k = i;
  if (k == 0) {
    SyntaxError("'" + word + "' found when command expected");
    return false;
  }
  if (k == CommandLump && s == "*") {
    k = CommandRecode;
    s.clear();
  }
  if (!Host.CommandEnabled(k)) SyntaxError("'" + word + "' not used with this data type");
  if (s.empty() && k != CommandEvent && k != CommandRecode) SyntaxError("Code names expected after '" + word + "'");
  if (!s.empty()) {
    const std::size_t equals = s.find('=');
    if (equals != std::string::npos) {
      command.NewCode = Trimmed(s.substr(0, equals));
      s = Trimmed(s.substr(equals + 1));
    } else if (k != CommandRemove) {
      SyntaxError("= expected after 1st code in '" + s + "'");
    }
    if (command.NewCode.find(' ') != std::string::npos) SyntaxError(" Spaces not allowed in " + command.NewCode);
    if (k != CommandWindow) {
      const dynString words = SplitWords(s);
      const int n = static_cast<int>(words.size()) - (k == CommandBout ? 1 : 0);
      if (n < 1) {
        SyntaxError(" Code names expected after '" + command.NewCode + " ='");
      } else {
        for (int i = 0; i < n; ++i) {
          RequireCode(words[i]);
          command.PickedCodes.push_back(words[i]);
        }
      }
      if (k == CommandRename && n != 1) SyntaxError(" Only one code name expected for Rename");
      if (k == CommandBout) {
        const std::string gap = words.empty() ? "" : words.back();
        int value = 0;
        if (gap.size() > 2 && gap.front() == '(' && gap.back() == ')' &&
            ToClampedInteger(gap.substr(1, gap.size() - 2), 1, 32767, value))
          command.BoutGap = value;
        else
          SyntaxError("(gap length)expected as last Bout item");
      }
    } else {
      const std::size_t comma = s.find(',');
      const std::string from = Trimmed(s.substr(0, comma));
      const bool toGiven = comma != std::string::npos;
      const std::string to = toGiven ? Trimmed(s.substr(comma + 1)) : "";
      std::string code1, code2;
      WindowParms& w = command.Window;
      if (from.empty())
        SyntaxError(" Code expected for Window command");
      else
        ParseWindowPart(from, code1, w.FromOption, w.FromN);
      if (!toGiven) {
        w.ToOption = NullToPart;
        w.ToN = 0;
      } else if (to.empty()) {
        SyntaxError(" Code expected after comma for Window command");
      } else {
        ParseWindowPart(to, code2, w.ToOption, w.ToN);
      }
      // Checked whatever failed before, as the other commands' codes are:
      // a part that could not be read leaves its code empty.
      RequireCode(code1);
      command.PickedCodes.push_back(code1);
      if (toGiven && code2 != code1) {
        RequireCode(code2);
        command.PickedCodes.push_back(code2);
      }
    }
  }
  if (Ok) {
    command.Number = k;
    Host.Apply(command);
  }
  return Ok;
}

}  // namespace

std::string TabsToSpaces(std::string text) {
  std::replace(text.begin(), text.end(), '\t', ' ');
  return text;
}

void SplitStatements(const std::string& line, dynString& statements) {
  std::string rest = Trimmed(line);
  while (true) {
    const std::size_t cut = rest.find(';');
    const std::string piece = Trimmed(rest.substr(0, cut));
    if (!piece.empty()) statements.push_back(piece);
    if (cut == std::string::npos) return;
    rest = Trimmed(rest.substr(cut + 1));
  }
}

dynString CollectStatements(const std::string& text) {
  dynString statements;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t to = text.find_first_of("\r\n", from);
    if (to == std::string::npos) to = text.size();
    SplitStatements(text.substr(from, to - from), statements);
    from = to + 1;
  }
  return statements;
}

dynString SplitWords(const std::string& text) {
  dynString words;
  std::string rest = Trimmed(text);
  while (!rest.empty()) {
    const std::size_t cut = rest.find(' ');
    words.push_back(rest.substr(0, cut));
    rest = cut == std::string::npos ? "" : Trimmed(rest.substr(cut + 1));
  }
  return words;
}

void RunStatements(const dynString& statements, StatementHost& host) {
  bool allOk = true;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    Statement statement(static_cast<int>(i) + 1, host);
    try {
      statement.Run(statements[i]);
    } catch (const CommandError& error) {
      host.ListError(std::to_string(i + 1) + ". " + error.what());
      throw;
    }
    if (statement.Ok) continue;
    allOk = false;
    if (host.Dialogue().Ask(BoxStyle::Error, "Ignore bad command and continue?", Buttons::YesAbort) != Answer::Yes)
      return;
  }
  if (allOk) host.ListError("No errors.");
}

void RunSyntax(const std::string& text, StatementHost& host) { RunStatements(CollectStatements(text), host); }

}  // namespace vork
