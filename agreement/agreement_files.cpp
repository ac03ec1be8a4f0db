#include "agreement/agreement_files.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/data_type_flags.h"
#include "core/file_names.h"
#include "core/mds_reader.h"
#include "core/plot_symbols.h"
#include "core/results_format.h"

namespace vork {

namespace {

// One row per data type 1..5, as the window shows it.
const AgreementControls ControlsByDataType[] = {
    // Event
    {true, false, "", false, 0, 0, 100, "100"},
    // Timed, State
    {true, true, "Plot time-unit agreement?", true, 2, 5, 80, "120"},
    {true, true, "Plot time-unit agreement?", true, 2, 5, 80, "120"},
    // Intvl, Multi
    {false, true, "Plot int/event agreement?", false, 0, 0, 100, "100"},
    {false, true, "Plot int/event agreement?", false, 0, 0, 100, "100"},
};

const std::string_view CodesDifferText = "Codes are not the same in both files. OK?";
const std::string_view NotComparableText =
    "Make sure both MDS files have the same data type and time format.";

}  // namespace

bool SameDataTypeAndTimeFormat(const MdsHeader& obs1, const MdsHeader& obs2) {
  if (obs1.DataType != obs2.DataType) return false;
  if (!SetDataTypeFlags(obs1.DataType).TimedOrState) return true;
  return obs1.TimeFormat == obs2.TimeFormat && obs1.TimeUnitIndex == obs2.TimeUnitIndex;
}

AgreementLoad LoadAgreementFiles(const std::string& fileName1, const std::string& fileName2,
                                 UserDialogue& dialogue) {
  // Both files are read into the load's own value; the window takes it over
  // only when both are good, so a bad file never pairs a new Obs1 with an old
  // Obs2.
  AgreementLoad load;
  const std::string* names[2] = {&fileName1, &fileName2};
  for (int obs = 0; obs < 2; ++obs) {
    ObserverFile& file = load.Files.Obs[obs];
    file.FileName = *names[obs];
    if (!ReadMdsHeader(file.Lines, file.FileName, file.Header, dialogue)) return load;
  }
  const MdsHeader& header1 = load.Files.Obs[0].Header;
  const MdsHeader& header2 = load.Files.Obs[1].Header;
  if (!SameDataTypeAndTimeFormat(header1, header2)) {
    dialogue.Notify(std::string(NotComparableText));
    load.Outcome = AgreementLoadOutcome::Refused;
    return load;
  }
  load.Caption = "Kappa - " + FileNameWithoutFolder(fileName1) + "(Obs1) " +
                 FileNameWithoutFolder(fileName2) + "(Obs2)";

  const auto codes = [](const MdsHeader& header) {
    dynString names;
    for (int j = 1; j <= header.NCodes && j < static_cast<int>(header.CodeNames.size()); ++j)
      names.push_back(header.CodeNames[j]);
    return names;
  };
  load.CodesInFile = codes(header1);
  std::unordered_set<std::string> offered(load.CodesInFile.begin(), load.CodesInFile.end());
  bool differ = header1.NCodes != header2.NCodes;
  for (const std::string& code : codes(header2)) {
    if (offered.count(code)) continue;
    offered.insert(code);
    load.CodesInFile.push_back(code);
    load.Markers.push_back(FirstCharacter(code));
    differ = true;
  }
  if (differ && dialogue.Ask(BoxStyle::Question, std::string(CodesDifferText), Buttons::AbortIgnore) ==
                    Answer::Abort) {
    // The symbols of Obs2's own codes stay, as the window showed them.
    load.CodesInFile.clear();
    load.Outcome = AgreementLoadOutcome::Aborted;
    return load;
  }
  load.Outcome = AgreementLoadOutcome::Loaded;
  return load;
}

AgreementControls ControlsForDataType(int dataType) {
  if (dataType < Event || dataType > Multi) return {};
  return ControlsByDataType[dataType - 1];
}

AgreementUnits AgreementFiles::Units() const {
  const MdsHeader& obs1 = Obs[0].Header;
  return {obs1.DataType, obs1.TimeFormat, obs1.TimeUnitIndex, Obs[1].Header.TimeUnitLabel};
}

std::string TimeUnitsCaption(const AgreementUnits& units) {
  if (!SetDataTypeFlags(units.DataType).TimedOrState || units.TimeUnitIndex < 0 ||
      units.TimeUnitIndex >= static_cast<int>(TimeUnitPrefix.size()))
    return {};
  return "TUs = " + std::string(TimeUnitPrefix[units.TimeUnitIndex]) + units.TimeUnitLabel;
}

dynInteger BuildCodeMap(const dynString& picked, const dynString& names, int n) {
  std::unordered_map<std::string_view, int> firstNumber;
  const int last = static_cast<int>(std::min<std::int64_t>(n, static_cast<std::int64_t>(names.size()) - 1));
  for (int j = last; j >= 1; --j) firstNumber[names[j]] = j;
  dynInteger map(picked.size() + 1, 0);
  for (size_t i = 0; i < picked.size(); ++i) {
    const auto found = firstNumber.find(picked[i]);
    if (found != firstNumber.end()) map[i + 1] = found->second;
  }
  return map;
}

}  // namespace vork
