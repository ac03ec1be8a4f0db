#include "agreement/percent_agreement.h"

#include "agreement/segment_pairing.h"
#include "core/mds_reader.h"
#include "core/number_format.h"
#include "core/results_format.h"

namespace vork {

namespace {

// One pair of segments. False when no further pair is to be read.
bool TallyPercentAgreement(const AgreementFiles& files, ObserverPairing& pairing, std::array<dynChar2, 2>& matrices,
                           PercentCounts& counts, UserDialogue& dialogue) {
  for (int obs = 0; obs < 2; ++obs) {
    if (!NextObserverSegment(files.Obs[obs], pairing.Readers[obs])) return false;
  }
  for (int obs = 0; obs < 2; ++obs) {
    const ObserverFile& file = files.Obs[obs];
    ObserverReader& reader = pairing.Readers[obs];
    ReadSegmentData(file.Lines, reader.LineIndex, file.Header.NCodes, reader.NDataLines, reader.NTimeUnits,
                    file.Header.Compressed, matrices[obs]);
  }
  const int units = pairing.Readers[0].NTimeUnits;
  if (units != pairing.Readers[1].NTimeUnits) {
    return dialogue.Ask(BoxStyle::Error, "Observer # events differs. OK (ignore this session) or abort?",
                        Buttons::OkAbort) != Answer::Abort;
  }
  for (int j = 1; j <= pairing.K; ++j) {
    const int row1 = pairing.CodeMap[0][j] - 1;
    const int row2 = pairing.CodeMap[1][j] - 1;
    for (int u = 0; u < units; ++u) {
      const int index = (row1 >= 0 && matrices[0][row1][u] != '.') + 2 * (row2 >= 0 && matrices[1][row2][u] != '.');
      if (index == 1) ++counts.Obs1Only[j];
      if (index == 2) ++counts.Obs2Only[j];
      if (index == 3) ++counts.Both[j];
    }
  }
  return true;
}

}  // namespace

void RunPercentAgreement(const AgreementFiles& files, const dynString& picked, bool showResults, dynString& lines,
                         UserDialogue& dialogue) {
  const int dataType = files.DataType();
  if (dataType != Interval && dataType != Multi) {
    dialogue.Notify("Interval or multi-event data needed for %% agreement");
    return;
  }
  if (picked.empty()) {
    dialogue.Notify("Select codes for percent agreement.");
    return;
  }
  ObserverPairing pairing = StartPairing(files, picked);
  const size_t size = picked.size() + 1;
  PercentCounts counts{dynInteger(size, 0), dynInteger(size, 0), dynInteger(size, 0)};
  std::array<dynChar2, 2> matrices;
  while (TallyPercentAgreement(files, pairing, matrices, counts, dialogue)) {
  }
  WritePercentAgreement(lines, picked, counts);
  if (showResults) WriteSeparatorLine(lines);
}

void WritePercentAgreement(dynString& lines, const dynString& picked, const PercentCounts& counts) {
  lines.push_back("Code\t%\tObs1\tObs2\tBoth");
  for (size_t j = 1; j <= picked.size(); ++j) {
    const std::int64_t both = counts.Both[j];
    const std::int64_t all = counts.Obs1Only[j] + counts.Obs2Only[j] + both;
    const std::int64_t pct = all == 0 ? 0 : RoundHalfEven(100.0 * static_cast<double>(both) / static_cast<double>(all));
    lines.push_back(picked[j - 1] + "\t" + std::to_string(pct) + "\t" + std::to_string(counts.Obs1Only[j] + both) +
                    "\t" + std::to_string(counts.Obs2Only[j] + both) + "\t" + std::to_string(both));
  }
  lines.emplace_back();
}

}  // namespace vork
