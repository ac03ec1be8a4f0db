#pragma once

#include <cstdint>
#include <iterator>
#include <map>
#include <memory_resource>

namespace vork {

// The columns of one matrix row that are no longer off, kept as disjoint
// stretches. Filling a long stretch of a row then costs only the cells that
// change, however often entries of one code overlap.
class OccupiedColumns {
 public:
  OccupiedColumns() = default;
  // Stretches kept in memory from the given resource (a segment's pool, so
  // that a stretch costs no allocation of its own).
  explicit OccupiedColumns(std::pmr::memory_resource* memory) : Stretches(memory) {}

  void Add(std::int64_t column) { AddStretch(column, column); }

  bool Contains(std::int64_t column) const {
    auto it = Stretches.upper_bound(column);
    return it != Stretches.begin() && std::prev(it)->second >= column;
  }

  // The stretches, first column to last, in order; no two touch.
  const std::pmr::map<std::int64_t, std::int64_t>& Stretched() const { return Stretches; }

  // Calls fill(from, to) for every stretch of free columns within
  // [first, last] and marks the whole range occupied. Returns true when
  // some column of the range was already occupied.
  template <class Fill>
  bool FillFree(std::int64_t first, std::int64_t last, Fill fill) {
    if (first > last) return false;
    // Past every stretch (entries of a code mostly come in time order):
    // the whole range is free.
    if (Stretches.empty() || first > std::prev(Stretches.end())->second) {
      fill(first, last);
      AddStretch(first, last);
      return false;
    }
    bool occupied = false;
    std::int64_t next = first;
    auto it = Stretches.upper_bound(first);
    if (it != Stretches.begin() && std::prev(it)->second >= first) --it;
    for (; it != Stretches.end() && it->first <= last; ++it) {
      occupied = true;
      if (it->first > next) fill(next, it->first - 1);
      if (it->second + 1 > next) next = it->second + 1;
    }
    if (next <= last) fill(next, last);
    AddStretch(first, last);
    return occupied;
  }

 private:
  // A stretch that touches or overlaps the one before it widens that one in
  // place: entries of a code mostly follow each other, and so need no new
  // node in the map.
  void AddStretch(std::int64_t first, std::int64_t last) {
    if (!Stretches.empty()) {
      const auto lastStretch = std::prev(Stretches.end());
      if (first > lastStretch->second + 1) {
        Stretches.emplace_hint(Stretches.end(), first, last);
        return;
      }
      if (first >= lastStretch->first) {
        if (lastStretch->second < last) lastStretch->second = last;
        return;
      }
    }
    auto it = Stretches.upper_bound(first);
    auto before = it;
    const bool joinsBefore = it != Stretches.begin() && (--before)->second + 1 >= first;
    while (it != Stretches.end() && it->first <= last + 1) {
      if (it->second > last) last = it->second;
      it = Stretches.erase(it);
    }
    if (joinsBefore) {
      if (before->second < last) before->second = last;
    } else {
      Stretches.emplace_hint(it, first, last);
    }
  }

  std::pmr::map<std::int64_t, std::int64_t> Stretches;  // first column -> last column
};

}  // namespace vork
