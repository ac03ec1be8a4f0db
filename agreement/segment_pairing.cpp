#include "agreement/segment_pairing.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "core/command_error.h"
#include "core/data_type_flags.h"
#include "core/mds_reader.h"
#include "core/segment_budget.h"

namespace vork {

namespace {

constexpr std::int64_t MaxStartDifference = 120;

// What a pair keeps per plot position: two timelines and the marks line.
constexpr std::int64_t BytesPerPosition = 2 * sizeof(std::int32_t) + 1;

PlotFrame MakeFrame(std::uint32_t plotStart, const std::array<std::int64_t, 2>& start,
                    const std::array<std::int64_t, 2>& units) {
  PlotFrame frame;
  frame.PlotStart = plotStart;
  std::array<std::int64_t, 4> from{}, to{};
  for (int obs = 1; obs <= 2; ++obs) {
    from[obs] = start[obs - 1] - plotStart;
    to[obs] = from[obs] + units[obs - 1] - 1;
  }
  from[0] = std::max(from[1], from[2]);
  to[0] = std::min(to[1], to[2]);
  from[3] = std::min(from[1], from[2]);
  to[3] = std::max(to[1], to[2]);
  // Overlapping segments span at most their two lengths, which fit an int;
  // without overlap the frame is not used.
  if (to[0] < from[0]) {
    frame.SpanTo[0] = -1;
    return frame;
  }
  for (int k = 0; k < 4; ++k) {
    frame.SpanFrom[k] = static_cast<int>(from[k]);
    frame.SpanTo[k] = static_cast<int>(to[k]);
  }
  frame.PlotEnd = static_cast<int>((to[3] + 10) / 10 * 10 - 1);
  return frame;
}

// One observer's side: at each unit the first picked code that is on; an
// event where that code has its onset, and one for each stretch where none
// of the picked codes is on. Between two units where some picked code
// changes, every picked code stays as it is, so the side is made stretch by
// stretch, each picked code's runs walked once.
void BuildSide(const SegmentRuns& runs, const dynInteger& codeMap, int k, int from, int to, int plotEnd,
               bool withTimeline, ObserverTimeline& side) {
  const std::int32_t others = k + 1;
  const int units = to - from + 1;
  side.Stretches.clear();
  side.EventCode.assign(1, 0);
  side.EventTime.assign(1, 0);
  const auto stretch = [&side](int start, std::int32_t code) {
    if (side.Stretches.empty() || side.Stretches.back().Code != code) side.Stretches.push_back({start, code});
  };
  if (from > 0) stretch(0, 0);

  // By picked code: its runs and the first of them not yet past, whose
  // units are copied alongside so that the walk reads two small arrays.
  constexpr std::int32_t Past = std::numeric_limits<std::int32_t>::max();
  std::vector<const std::vector<CodeRun>*> picked(static_cast<size_t>(k) + 1, nullptr);
  std::vector<size_t> next(static_cast<size_t>(k) + 1, 0);
  std::vector<std::int32_t> runStart(static_cast<size_t>(k) + 1, Past);
  std::vector<std::int32_t> runEnd(static_cast<size_t>(k) + 1, Past);
  const auto load = [&](int j) {
    const std::vector<CodeRun>& list = *picked[j];
    if (next[j] < list.size()) {
      runStart[j] = list[next[j]].Start;
      runEnd[j] = list[next[j]].End;
    } else {
      runStart[j] = runEnd[j] = Past;
    }
  };
  for (int j = 1; j <= k; ++j) {
    const int code = codeMap[j];
    if (code < 1 || code >= static_cast<int>(runs.Runs.size())) continue;
    picked[j] = &runs.Runs[code];
    load(j);
  }
  const auto& changes = runs.ChangeUnits;
  size_t change = 0;
  std::int32_t last = 0;
  for (int begin = 0; begin < units;) {
    while (change < changes.size() && changes[change] <= begin) ++change;
    const int end = change < changes.size() ? std::min<int>(changes[change], units) : units;
    std::int32_t holder = others;
    bool onsets = false;
    for (int j = 1; j <= k; ++j) {
      while (runEnd[j] <= begin) {
        ++next[j];
        load(j);
      }
      if (runStart[j] <= begin) {
        holder = j;
        onsets = (*picked[j])[next[j]].Onset;
        break;
      }
    }
    if (onsets) {
      // A run of onsets: an event in every unit of it.
      for (int u = begin; u < end; ++u) {
        side.EventCode.push_back(holder);
        side.EventTime.push_back(from + u);
      }
    } else if (holder == others && last != others) {
      side.EventCode.push_back(others);
      side.EventTime.push_back(from + begin);
    }
    last = holder;
    stretch(from + begin, holder);
    begin = end;
  }
  if (to < plotEnd) stretch(to + 1, 0);
  side.Stretches.push_back({plotEnd + 1, 0});
  side.EventCode[0] = static_cast<std::int32_t>(side.EventCode.size() - 1);
  side.EventTime[0] = side.EventCode[0];

  side.Timeline.clear();
  if (withTimeline) {
    side.Timeline.resize(static_cast<size_t>(plotEnd) + 1);
    for (size_t n = 0; n + 1 < side.Stretches.size(); ++n) {
      std::fill(side.Timeline.begin() + side.Stretches[n].Start, side.Timeline.begin() + side.Stretches[n + 1].Start,
                side.Stretches[n].Code);
    }
  }
}

}  // namespace

void SetStretchesFromTimeline(ObserverTimeline& side) {
  side.Stretches.clear();
  const auto& timeline = side.Timeline;
  for (size_t t = 0; t < timeline.size(); ++t) {
    if (t == 0 || timeline[t] != timeline[t - 1]) side.Stretches.push_back({static_cast<std::int32_t>(t), timeline[t]});
  }
  side.Stretches.push_back({static_cast<std::int32_t>(timeline.size()), 0});
}

bool NextObserverSegment(const ObserverFile& file, ObserverReader& reader) {
  ++reader.SegmentNumber;
  // A session without segments pairs nothing: the walk goes on with the next.
  while (reader.SegmentNumber > reader.Session.NSegments) {
    ++reader.SessionNumber;
    if (reader.SessionNumber > file.Header.NSessions) return false;
    ReadSession(file.Lines, reader.LineIndex, file.Header, reader.Session);
    reader.SegmentNumber = 1;
  }
  ReadSegment(file.Lines, reader.LineIndex, reader.Segment);
  return true;
}

ObserverPairing StartPairing(const AgreementFiles& files, const dynString& picked) {
  ObserverPairing pairing;
  pairing.K = static_cast<int>(picked.size());
  for (int obs = 0; obs < 2; ++obs) {
    const MdsHeader& header = files.Obs[obs].Header;
    pairing.Readers[obs].LineIndex = header.LineIndex;
    pairing.CodeMap[obs] = BuildCodeMap(picked, header.CodeNames, header.NCodes);
    pairing.Picked[obs].assign(static_cast<size_t>(std::max(header.NCodes, 0)) + 1, 0);
    for (int j = 1; j <= pairing.K; ++j) pairing.Picked[obs][pairing.CodeMap[obs][j]] = 1;
    pairing.Picked[obs][0] = 0;
  }
  return pairing;
}

bool AlignSessionTimelines(const AgreementFiles& files, ObserverPairing& pairing, SegmentPair& pair,
                           UserDialogue& dialogue, bool withTimeline) {
  for (int obs = 0; obs < 2; ++obs) {
    if (!NextObserverSegment(files.Obs[obs], pairing.Readers[obs])) {
      pairing.AllRead = true;
      return false;
    }
  }
  ObserverReader& r1 = pairing.Readers[0];
  ObserverReader& r2 = pairing.Readers[1];
  std::array<std::int64_t, 2> start{r1.Segment.StartTime, r2.Segment.StartTime};
  const std::array<std::int64_t, 2> units{r1.Segment.NTimeUnits, r2.Segment.NTimeUnits};
  std::uint32_t plotStart = 0;
  if (SetDataTypeFlags(files.DataType()).TimedOrState) {
    plotStart = std::min(r1.Segment.StartTime, r2.Segment.StartTime) / 10 * 10;
  } else {
    // Units are numbered from 1; position 0 lies before both segments.
    start = {1, 1};
  }
  const PlotFrame frame = MakeFrame(plotStart, start, units);
  bool skip = false;
  if (frame.SpanTo[0] < frame.SpanFrom[0]) {
    dialogue.Notify("No overlap, this session ignored.");
    skip = true;
  } else if (const std::int64_t apart = std::llabs(start[0] - start[1]); apart > MaxStartDifference) {
    skip = dialogue.Ask(BoxStyle::Warning,
                        "Sessions start time differ by " + std::to_string(apart) +
                            " time-units. Continue or cancel?",
                        Buttons::OkCancel) == Answer::Cancel;
  }
  if (skip) {
    SkipSegmentData(files.Obs[0].Lines, r1.LineIndex, r1.Segment);
    SkipSegmentData(files.Obs[1].Lines, r2.LineIndex, r2.Segment);
    return false;
  }
  CheckSegmentBudget(0, std::int64_t{frame.PlotEnd} + 1, BytesPerPosition,
                     "Session " + r1.Session.SessionLabel + ", segment " + std::to_string(r1.SegmentNumber));

  pair.Frame = frame;
  for (int obs = 0; obs < 2; ++obs) {
    const ObserverFile& file = files.Obs[obs];
    ObserverReader& reader = pairing.Readers[obs];
    ReadSegmentRuns(file.Lines, reader.LineIndex, file.Header, reader.Segment, pairing.Runs[obs],
                    pairing.Picked[obs]);
    BuildSide(pairing.Runs[obs], pairing.CodeMap[obs], pairing.K, frame.SpanFrom[obs + 1], frame.SpanTo[obs + 1],
              frame.PlotEnd, withTimeline, pair.Obs[obs]);
  }
  return true;
}

}  // namespace vork
