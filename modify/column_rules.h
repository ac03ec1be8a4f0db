#pragma once

// The rules of the modification commands on a segment read as column
// stretches (core/segment_runs.h): what the new code's row becomes, as the
// changes of its cell, worked out from the stretches and the picked codes'
// occurrences, so a command costs what the segment's data lines hold, not
// its codes x time units. The tests keep the cell-by-cell statement of the
// same rules as the model the engine is checked against.

#include <cstdint>
#include <vector>

#include "core/segment_runs.h"
#include "modify/modify_command.h"

namespace vork {

// The new code's row as the changes of its cell: from Unit on (0-based) it
// is Cell ('.', '1', '2') until the next change; '.' before the first.
struct RowChange {
  std::int64_t Unit;
  char Cell;
};

class RowChanges {
 public:
  // The cell from unit on; unit is at least that of every change made so
  // far. A change that leaves the cell as it is is not kept.
  void Set(std::int64_t unit, char cell);
  char Current() const { return Changes.empty() ? '.' : Changes.back().Cell; }
  void clear() { Changes.clear(); }
  const std::vector<RowChange>& Items() const { return Changes; }

 private:
  std::vector<RowChange> Changes;
};

// Whether picked code `code` is on (or has an onset) in stretch k.
bool CodeOn(const SegmentColumns& columns, std::size_t k, int code);
bool CodeOnset(const SegmentColumns& columns, std::size_t k, int code);

// And, Or, Not, Nor and Xor by how many picked codes are on.
void CountRule(const SegmentColumns& columns, const std::vector<int>& picked, int command, RowChanges& row);

// Recode: on wherever a picked code is, with an onset where one has one.
void RecodeRule(const SegmentColumns& columns, const std::vector<int>& picked, RowChanges& row);

// Bout: stretches of picked codes on whose gaps are no longer than gap
// units join into one bout; a stretch with no gap bridged makes none.
void BoutRule(const SegmentColumns& columns, const std::vector<int>& picked, int gap, RowChanges& row);

// WINDOW around each occurrence of the one picked code, or from each
// occurrence of the first to the next of the second.
void WindowRule(const SegmentColumns& columns, const std::vector<int>& picked, const WindowParms& parms,
                int maxUnits, WindowCounts& counts, RowChanges& row);

// Lump: the first unit of every stretch of units with a picked code on gets
// an event of the new code; the other units of the stretch are dropped
// (drops: [start, end) unit stretches in order).
struct UnitStretch {
  std::int64_t Start;
  std::int64_t End;
};
void LumpRule(const SegmentColumns& columns, const std::vector<int>& picked, RowChanges& row,
              std::vector<UnitStretch>& drops);

}  // namespace vork
