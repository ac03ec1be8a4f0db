#include "agreement/time_unit_tally.h"

#include <algorithm>
#include <limits>

#include "core/command_error.h"

namespace vork {

namespace {

// Units Start..End of the overlap in which both observers keep one code.
struct Piece {
  int Start = 0;
  int End = 0;  // included
  std::int32_t A = 0;
  std::int32_t B = 0;
  std::int64_t BBefore = 0;  // the last unit before Start where B has A's code
};

constexpr std::int64_t Never = std::numeric_limits<std::int32_t>::max();

// The stretch of side that holds position t (the stretches start at 0).
size_t StretchAt(const std::vector<CodeStretch>& side, int t) {
  const auto after = std::upper_bound(side.begin(), side.end(), t,
                                      [](int unit, const CodeStretch& s) { return unit < s.Start; });
  return static_cast<size_t>(after - side.begin()) - 1;
}

}  // namespace

void TallyTimeUnits(const SegmentPair& pair, int a, int b, int timeTol, dynInteger2& matrix,
                    std::string* marks) {
  const auto& sideA = pair.Obs[a].Stretches;
  const auto& sideB = pair.Obs[b].Stretches;
  const int from = pair.Frame.SpanFrom[0];
  const int to = pair.Frame.SpanTo[0];
  if (from > to) return;
  const auto covers = [to](const std::vector<CodeStretch>& side) {
    return side.size() >= 2 && side.front().Start == 0 && side.back().Start > to;
  };
  if (from < 0 || !covers(sideA) || !covers(sideB))
    throw CommandError("The timelines of this pair of segments are shorter than their overlap.");
  const size_t size = matrix.size();
  for (const dynInteger& row : matrix) {
    if (row.size() != size) throw CommandError("The agreement matrix is not square.");
  }
  const auto index = [size](std::int32_t code) {
    if (code < 0 || static_cast<size_t>(code) >= size)
      throw CommandError("A timeline code lies outside the agreement matrix.");
    return static_cast<size_t>(code);
  };

  // The overlap cut where either observer changes code.
  std::vector<Piece> pieces;
  size_t nextA = StretchAt(sideA, from);
  size_t nextB = StretchAt(sideB, from);
  for (int start = from; start <= to;) {
    const int endA = sideA[nextA + 1].Start - 1;
    const int endB = sideB[nextB + 1].Start - 1;
    const int end = std::min({endA, endB, to});
    pieces.push_back({start, end, sideA[nextA].Code, sideB[nextB].Code, -Never});
    index(sideA[nextA].Code);
    index(sideB[nextB].Code);
    if (end == endA) ++nextA;
    if (end == endB) ++nextB;
    start = end + 1;
  }

  // Where B holds a code nothing of it lies inside the piece: a unit t of a
  // piece where the codes differ is forgiven when B's last unit of A's code
  // before the piece lies at t - timeTol or later, or B's first unit of it
  // after the piece at t + timeTol or earlier; the window never leaves the
  // overlap, as B is followed inside it only. So the forgiven units are a
  // head and a tail of the piece.
  std::vector<std::int64_t> seen(timeTol > 0 ? size : 0, -Never);
  if (timeTol > 0) {
    for (Piece& piece : pieces) {
      if (piece.A != piece.B) piece.BBefore = seen[piece.A];
      seen[piece.B] = piece.End;
    }
    std::fill(seen.begin(), seen.end(), Never);
  }
  for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
    const std::int64_t units = std::int64_t{piece->End} - piece->Start + 1;
    if (piece->A == piece->B) {
      matrix[piece->A][piece->B] += static_cast<std::int32_t>(units);
      if (timeTol > 0) seen[piece->B] = piece->Start;
      continue;
    }
    std::int64_t forgiven = 0;
    std::int64_t headEnd = piece->Start - 1;  // the head: Start..headEnd
    std::int64_t tailStart = piece->End + 1;  // the tail: tailStart..End
    if (timeTol > 0) {
      headEnd = std::min<std::int64_t>(piece->End, piece->BBefore + timeTol);
      tailStart = std::max<std::int64_t>(piece->Start, seen[piece->A] - timeTol);
      if (headEnd + 1 >= tailStart) {
        forgiven = units;
      } else {
        forgiven = std::max<std::int64_t>(headEnd - piece->Start + 1, 0) +
                   std::max<std::int64_t>(piece->End - tailStart + 1, 0);
      }
      seen[piece->B] = piece->Start;
    }
    matrix[piece->A][piece->A] += static_cast<std::int32_t>(forgiven);
    matrix[piece->A][piece->B] += static_cast<std::int32_t>(units - forgiven);
    if (marks) {
      std::fill(marks->begin() + piece->Start, marks->begin() + piece->End + 1, '-');
      if (forgiven == units) {
        std::fill(marks->begin() + piece->Start, marks->begin() + piece->End + 1, '.');
      } else {
        if (headEnd >= piece->Start) std::fill(marks->begin() + piece->Start, marks->begin() + headEnd + 1, '.');
        if (tailStart <= piece->End) std::fill(marks->begin() + tailStart, marks->begin() + piece->End + 1, '.');
      }
    }
  }
}

std::string TallySessionTimeUnits(const SegmentPair& pair, int timeTol, dynInteger2& matrix1,
                                  dynInteger2& matrix2, bool withMarks) {
  const PlotFrame& frame = pair.Frame;
  std::string marks;
  if (withMarks) {
    marks.assign(static_cast<size_t>(frame.PlotEnd) + 1, ' ');
    std::fill(marks.begin() + frame.SpanFrom[3], marks.begin() + frame.SpanFrom[0], '#');
    std::fill(marks.begin() + frame.SpanTo[0] + 1, marks.begin() + frame.SpanTo[3] + 1, '#');
  }
  TallyTimeUnits(pair, 0, 1, timeTol, matrix1, withMarks ? &marks : nullptr);
  if (timeTol > 0) TallyTimeUnits(pair, 1, 0, timeTol, matrix2, nullptr);
  return marks;
}

}  // namespace vork
