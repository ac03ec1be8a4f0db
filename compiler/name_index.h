#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

// Names to their numbers, looked up by their bytes in an open-addressed
// table: a name's slot follows from a hash of all its bytes, so a lookup
// compares the name with about one key, however many there are.
class NameIndex {
 public:
  // Gives the name the number, 1 or above (replacing the number it had).
  void Set(std::string_view name, int number) {
    if (number <= 0) return;
    if (2 * (Count + 1) > Slots.size()) Grow();
    Slot& slot = SlotOf(name);
    if (slot.Number == 0) {
      slot.Name.assign(name);
      ++Count;
    }
    slot.Number = number;
  }

  // The name's number, or 0 when it has none.
  int Find(std::string_view name) const {
    if (Slots.empty()) return 0;
    for (std::size_t at = Hash(name) & (Slots.size() - 1);; at = (at + 1) & (Slots.size() - 1)) {
      const Slot& slot = Slots[at];
      if (slot.Number == 0) return 0;
      if (slot.Name == name) return slot.Number;
    }
  }

 private:
  struct Slot {
    std::string Name;
    int Number = 0;  // 0: an empty slot (numbers given are 1 and above)
  };

  static std::size_t Hash(std::string_view name) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : name) h = (h ^ c) * 1099511628211ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }

  Slot& SlotOf(std::string_view name) {
    for (std::size_t at = Hash(name) & (Slots.size() - 1);; at = (at + 1) & (Slots.size() - 1)) {
      Slot& slot = Slots[at];
      if (slot.Number == 0 || slot.Name == name) return slot;
    }
  }

  void Grow() {
    std::vector<Slot> old(Slots.empty() ? 16 : 2 * Slots.size());
    old.swap(Slots);
    for (Slot& slot : old) {
      if (slot.Number != 0) SlotOf(slot.Name) = std::move(slot);
    }
  }

  std::vector<Slot> Slots;
  std::size_t Count = 0;
};

}  // namespace vork
