#pragma once

#include <string>

#include "agreement/segment_pairing.h"

namespace vork::testing {

// One observer's side of a pair, written one character per plot position:
// ' ' outside the segment, '.' none of the picked codes, 'a', 'b', ... the
// picked code 1, 2, ... holding the position, and 'A', 'B', ... its onset.
// A stretch of '.' is one event of none of the picked codes.
inline ObserverTimeline SideOf(const std::string& positions, int k) {
  ObserverTimeline side;
  side.EventCode = {0};
  side.EventTime = {0};
  char last = ' ';
  for (size_t t = 0; t < positions.size(); ++t) {
    const char c = positions[t];
    int code = 0;
    if (c == '.') code = k + 1;
    if (c >= 'a' && c <= 'z') code = c - 'a' + 1;
    if (c >= 'A' && c <= 'Z') code = c - 'A' + 1;
    side.Timeline.push_back(code);
    if ((c >= 'A' && c <= 'Z') || (c == '.' && last != '.')) {
      side.EventCode.push_back(code);
      side.EventTime.push_back(static_cast<int>(t));
    }
    last = c;
  }
  side.EventCode[0] = side.EventTime[0] = static_cast<int>(side.EventCode.size() - 1);
  SetStretchesFromTimeline(side);
  return side;
}

// A pair of equally long sides; the frame spans what each side covers.
inline SegmentPair PairOf(const std::string& obs1, const std::string& obs2, int k) {
  SegmentPair pair;
  pair.Obs = {SideOf(obs1, k), SideOf(obs2, k)};
  const std::string* sides[2] = {&obs1, &obs2};
  for (int obs = 1; obs <= 2; ++obs) {
    pair.Frame.SpanFrom[obs] = static_cast<int>(sides[obs - 1]->find_first_not_of(' '));
    pair.Frame.SpanTo[obs] = static_cast<int>(sides[obs - 1]->find_last_not_of(' '));
  }
  auto& f = pair.Frame;
  f.SpanFrom[0] = std::max(f.SpanFrom[1], f.SpanFrom[2]);
  f.SpanTo[0] = std::min(f.SpanTo[1], f.SpanTo[2]);
  f.SpanFrom[3] = std::min(f.SpanFrom[1], f.SpanFrom[2]);
  f.SpanTo[3] = std::max(f.SpanTo[1], f.SpanTo[2]);
  f.PlotEnd = static_cast<int>(obs1.size()) - 1;
  return pair;
}

inline dynInteger2 Zeros(int k) { return dynInteger2(k + 3, dynInteger(k + 3, 0)); }

}  // namespace vork::testing
