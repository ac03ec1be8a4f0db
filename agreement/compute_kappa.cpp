#include "agreement/compute_kappa.h"

#include "agreement/agreement_output.h"
#include "agreement/event_alignment.h"
#include "agreement/segment_pairing.h"
#include "agreement/time_unit_tally.h"
#include "analysis/analysis_run.h"
#include "core/data_type_flags.h"
#include "core/results_format.h"

namespace vork {

namespace {

dynInteger2 ZeroMatrix(int k) {
  const size_t size = static_cast<size_t>(k) + 3;
  return dynInteger2(size, dynInteger(size, 0));
}

AgreementWriter MakeWriter(const AgreementFiles& files, const KappaRunInput& input) {
  AgreementWriter writer;
  writer.Codes = MakePickedCodeTables(input.PickedCodes, input.Markers);
  writer.LineLength = AgreementLineLength(input.LineLength);
  writer.NDigits = input.NDigits;
  writer.Format = input.Format;
  const AgreementUnits units = files.Units();
  const bool timed = SetDataTypeFlags(files.DataType()).TimedOrState;
  writer.TimeFormat = timed ? units.TimeFormat : 1;
  writer.TimeUnitIndex = units.TimeUnitIndex;
  writer.TimeUnitLabel = units.TimeUnitLabel;
  return writer;
}

}  // namespace

void RunComputeKappa(const AgreementFiles& files, const KappaRunInput& input, KappaRunOutput& output,
                     UserDialogue& dialogue) {
  if (input.PickedCodes.empty()) {
    dialogue.Notify("Select codes for kappa.");
    return;
  }
  const int dataType = files.DataType();
  const DataTypeFlags flags = SetDataTypeFlags(dataType);
  const bool timed = flags.TimedOrState;
  const bool tallyUnits = !flags.IsEvent;
  const bool alignEvents = flags.EventTimedOrState;

  dialogue.Progress(0, 100);
  output.Started = true;
  if (input.ResultsBox == OverwriteResults) output.ClearResults = true;
  if (input.FirstRun) {
    const AgreementUnits units = files.Units();
    const auto stamp = [](const ObserverFile& file) { return file.Lines.empty() ? std::string() : std::string(file.Lines[0]); };
    WriteFileSummary(output.Lines, 2, dataType, units.TimeUnitIndex, units.TimeUnitLabel, stamp(files.Obs[0]),
                     stamp(files.Obs[1]), {"", files.Obs[0].FileName, files.Obs[1].FileName});
  }
  const bool show = input.ResultsBox != DontDisplayResults;
  dynString unshown;  // what a run that shows no results writes, dropped pair by pair
  dynString& lines = show ? output.Lines : unshown;

  const AgreementWriter writer = MakeWriter(files, input);
  const int k = writer.Codes.K;
  const int timeTol = timed ? std::max(input.TimeTol, 0) : 0;
  dynInteger2 timeUnits1 = ZeroMatrix(k);
  dynInteger2 timeUnits2 = ZeroMatrix(k);
  dynInteger2 events = ZeroMatrix(k);
  EventAlignmentSettings alignment{timed, timed ? input.EventTol : 0, input.Overlap};

  ObserverPairing pairing = StartPairing(files, input.PickedCodes);
  SegmentPair pair;
  const int sessions = std::max(files.Obs[0].Header.NSessions, 1);
  while (!pairing.AllRead) {
    unshown.clear();
    const bool agreePlot = tallyUnits && input.AgreePlot;
    if (!AlignSessionTimelines(files, pairing, pair, dialogue, agreePlot)) continue;
    if (tallyUnits) {
      const std::string marks = TallySessionTimeUnits(pair, timeTol, timeUnits1, timeUnits2, agreePlot);
      if (input.AgreePlot) PlotTimeUnitAgreement(lines, writer, pairing, pair, marks);
    }
    if (alignEvents) {
      const int n1 = pair.Obs[0].NEvents();
      const int n2 = pair.Obs[1].NEvents();
      if (AlignmentBytes(n1, n2, timed) > MaxAlignmentStepBytes) {
        const ObserverReader& reader = pairing.Readers[0];
        dialogue.Notify("Session " + reader.Session.SessionLabel + " sgmt#" + std::to_string(reader.SegmentNumber) +
                        ": aligning " + std::to_string(n1) + " with " + std::to_string(n2) +
                        " events needs more than " + std::to_string(MaxAlignmentStepBytes >> 20) +
                        " MB; its events are left out of the event alignment kappa.");
      } else {
        AlignmentPlot plot;
        AlignSessionEvents(pair, alignment, writer.Codes.Symbols, events, input.AlignPlot ? &plot : nullptr);
        if (input.AlignPlot) PlotEventAlignment(lines, writer, pairing, plot);
      }
    }
    dialogue.Progress(static_cast<int>(std::min(100LL, 100LL * pairing.Readers[0].SessionNumber / sessions)), 100);
  }
  unshown.clear();
  if (tallyUnits) {
    WriteTimeUnitKappa(lines, writer, timeUnits1, timed && input.TimeTol >= 1 ? &timeUnits2 : nullptr, timeTol,
                       !timed);
  }
  if (alignEvents) {
    WriteEventAlignmentKappa(lines, writer, events, timed, input.EventTolText, input.OverlapText);
  }
  if (show) WriteSeparatorLine(output.Lines);
}

}  // namespace vork
