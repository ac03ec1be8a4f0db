#include "agreement/percent_agreement.h"

#include "agreement/segment_pairing.h"
#include <algorithm>

#include "core/segment_runs.h"
#include "core/number_format.h"
#include "core/results_format.h"

namespace vork {

namespace {

// The units of 0..units-1 that lie in runs of both lists.
std::int64_t CommonUnits(const std::vector<CodeRun>& a, const std::vector<CodeRun>& b, int units) {
  std::int64_t common = 0;
  for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    const std::int32_t start = std::max(a[i].Start, b[j].Start);
    const std::int32_t end = std::min({a[i].End, b[j].End, units});
    if (start < end) common += end - start;
    (a[i].End < b[j].End ? i : j) += 1;
  }
  return common;
}

std::int64_t UnitsOn(const std::vector<CodeRun>& runs, int units) {
  std::int64_t on = 0;
  for (const CodeRun& run : runs) on += std::max(0, std::min(run.End, units) - std::max(run.Start, 0));
  return on;
}

// One pair of segments. False when no further pair is to be read.
bool TallyPercentAgreement(const AgreementFiles& files, ObserverPairing& pairing, PercentCounts& counts,
                           UserDialogue& dialogue) {
  for (int obs = 0; obs < 2; ++obs) {
    if (!NextObserverSegment(files.Obs[obs], pairing.Readers[obs])) return false;
  }
  for (int obs = 0; obs < 2; ++obs) {
    const ObserverFile& file = files.Obs[obs];
    ObserverReader& reader = pairing.Readers[obs];
    ReadSegmentRuns(file.Lines, reader.LineIndex, file.Header, reader.Segment, pairing.Runs[obs],
                    pairing.Picked[obs]);
  }
  const int units = pairing.Readers[0].Segment.NTimeUnits;
  if (units != pairing.Readers[1].Segment.NTimeUnits) {
    return dialogue.Ask(BoxStyle::Error, "Observer # events differs. OK (ignore this session) or abort?",
                        Buttons::OkAbort) != Answer::Abort;
  }
  static const std::vector<CodeRun> none;
  for (int j = 1; j <= pairing.K; ++j) {
    const auto& runs1 = pairing.CodeMap[0][j] > 0 ? pairing.Runs[0].Runs[pairing.CodeMap[0][j]] : none;
    const auto& runs2 = pairing.CodeMap[1][j] > 0 ? pairing.Runs[1].Runs[pairing.CodeMap[1][j]] : none;
    const std::int64_t both = CommonUnits(runs1, runs2, units);
    counts.Both[j] += static_cast<std::int32_t>(both);
    counts.Obs1Only[j] += static_cast<std::int32_t>(UnitsOn(runs1, units) - both);
    counts.Obs2Only[j] += static_cast<std::int32_t>(UnitsOn(runs2, units) - both);
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
  while (TallyPercentAgreement(files, pairing, counts, dialogue)) {
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
