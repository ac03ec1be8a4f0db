#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory_resource>
#include <type_traits>
#include <utility>
#include <vector>

namespace vork {

// The columns of one matrix row that are no longer off, kept as disjoint
// stretches. Filling a long stretch of a row then costs only the cells that
// change, however often entries of one code overlap.
//
// Entries of a code mostly come in time order, so the stretches are kept in
// a sorted vector that grows at its end. The first stretch that would go
// before the last one moves them all into an ordered tree, where a stretch
// anywhere costs a logarithmic step, so that entries in any order never
// cost work that grows with the square of their number.
class OccupiedColumns {
 public:
  using Stretch = std::pair<std::int64_t, std::int64_t>;  // first column, last column

  OccupiedColumns() = default;
  // Stretches kept in memory from the given resource (a segment's pool).
  explicit OccupiedColumns(std::pmr::memory_resource* memory) : Ordered(memory), Tree(memory) {}

  void Add(std::int64_t column) { AddStretch(column, column); }

  bool Contains(std::int64_t column) const {
    if (InTree) {
      auto it = Tree.upper_bound(column);
      return it != Tree.begin() && std::prev(it)->second >= column;
    }
    if (Ordered.empty() || column > Ordered.back().second) return false;
    auto it = FirstAfter(Ordered, column);
    return it != Ordered.begin() && std::prev(it)->second >= column;
  }

  // The stretches, first column to last, in order; no two touch. Stretches
  // held in the tree are moved back into the vector first.
  const std::pmr::vector<Stretch>& Stretched() {
    if (InTree) {
      Ordered.assign(Tree.begin(), Tree.end());
      Tree.clear();
      InTree = false;
    }
    return Ordered;
  }

  // Calls fill(from, to) for every stretch of free columns within
  // [first, last] and marks the whole range occupied. Returns true when
  // some column of the range was already occupied.
  template <class Fill>
  bool FillFree(std::int64_t first, std::int64_t last, Fill fill) {
    if (first > last) return false;
    // Past every stretch: the whole range is free.
    if (InTree ? Tree.empty() || first > std::prev(Tree.end())->second
               : Ordered.empty() || first > Ordered.back().second) {
      fill(first, last);
      AddStretch(first, last);
      return false;
    }
    const bool occupied = InTree ? FillBetween(Tree, first, last, fill) : FillBetween(Ordered, first, last, fill);
    AddStretch(first, last);
    return occupied;
  }

 private:
  // Hands fill the free stretches of [first, last] among the sorted
  // stretches of either container; true when some column was occupied.
  template <class Container, class Fill>
  static bool FillBetween(const Container& stretches, std::int64_t first, std::int64_t last, Fill& fill) {
    bool occupied = false;
    std::int64_t next = first;
    auto it = FirstAfter(stretches, first);
    if (it != stretches.begin() && std::prev(it)->second >= first) --it;
    for (; it != stretches.end() && it->first <= last; ++it) {
      occupied = true;
      if (it->first > next) fill(next, it->first - 1);
      if (it->second + 1 > next) next = it->second + 1;
    }
    if (next <= last) fill(next, last);
    return occupied;
  }

  // The first stretch that begins after the column.
  template <class Stretches>
  static auto FirstAfter(Stretches& stretches, std::int64_t column) -> decltype(stretches.begin()) {
    if constexpr (std::is_same_v<std::remove_const_t<Stretches>, std::pmr::vector<Stretch>>) {
      return std::upper_bound(stretches.begin(), stretches.end(), column,
                              [](std::int64_t c, const Stretch& s) { return c < s.first; });
    } else {
      return stretches.upper_bound(column);
    }
  }

  // Entries mostly come in time order: a stretch after the last one, or
  // one that widens it, is added here; the others are left to
  // AddStretchAnywhere.
  void AddStretch(std::int64_t first, std::int64_t last) {
    if (!InTree && !Ordered.empty()) {
      Stretch& back = Ordered.back();
      if (first > back.second + 1) {
        Ordered.emplace_back(first, last);
        return;
      }
      if (first >= back.first) {
        if (back.second < last) back.second = last;
        return;
      }
    }
    AddStretchAnywhere(first, last);
  }

  void AddStretchAnywhere(std::int64_t first, std::int64_t last) {
    if (!InTree) {
      if (Ordered.empty()) {
        Ordered.emplace_back(first, last);
        return;
      }
      // Joins the last stretch, perhaps some before it: those merge at the
      // vector's end.
      auto it = FirstAfter(Ordered, first);
      if (it != Ordered.begin() && std::prev(it)->second + 1 >= first) --it;
      if (it->first <= first && it->second >= last) return;  // already occupied
      if (last + 1 >= Ordered.back().first) {
        const std::int64_t from = std::min(first, it->first);
        const std::int64_t to = std::max(last, Ordered.back().second);
        Ordered.erase(it + 1, Ordered.end());
        *it = {from, to};
        return;
      }
      // A stretch among earlier ones: from now on the tree holds them.
      Tree.insert(Ordered.begin(), Ordered.end());
      Ordered.clear();
      InTree = true;
    }
    const auto lastStretch = std::prev(Tree.end());
    if (first > lastStretch->second + 1) {
      Tree.emplace_hint(Tree.end(), first, last);
      return;
    }
    if (first >= lastStretch->first) {
      if (lastStretch->second < last) lastStretch->second = last;
      return;
    }
    auto it = Tree.upper_bound(first);
    auto before = it;
    const bool joinsBefore = it != Tree.begin() && (--before)->second + 1 >= first;
    while (it != Tree.end() && it->first <= last + 1) {
      if (it->second > last) last = it->second;
      it = Tree.erase(it);
    }
    if (joinsBefore) {
      if (before->second < last) before->second = last;
    } else {
      Tree.emplace_hint(it, first, last);
    }
  }

  std::pmr::vector<Stretch> Ordered;
  std::pmr::map<std::int64_t, std::int64_t> Tree;  // first column -> last column
  bool InTree = false;
};

}  // namespace vork
