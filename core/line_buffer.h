#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/dyn_arrays.h"

namespace vork {

// Iterates over lines as views.
template <class Lines>
class LineIterator {
 public:
  using iterator_category = std::random_access_iterator_tag;
  using value_type = std::string_view;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = std::string_view;

  LineIterator() = default;
  LineIterator(const Lines* lines, std::size_t index) : Source(lines), Index(index) {}
  std::string_view operator*() const { return (*Source)[Index]; }
  std::string_view operator[](difference_type n) const { return (*Source)[Index + n]; }
  LineIterator& operator++() { ++Index; return *this; }
  LineIterator operator++(int) { LineIterator old = *this; ++Index; return old; }
  LineIterator& operator--() { --Index; return *this; }
  LineIterator operator--(int) { LineIterator old = *this; --Index; return old; }
  LineIterator& operator+=(difference_type n) { Index += n; return *this; }
  LineIterator& operator-=(difference_type n) { Index -= n; return *this; }
  friend LineIterator operator+(LineIterator it, difference_type n) { return it += n; }
  friend LineIterator operator+(difference_type n, LineIterator it) { return it += n; }
  friend LineIterator operator-(LineIterator it, difference_type n) { return it -= n; }
  friend difference_type operator-(const LineIterator& a, const LineIterator& b) {
    return static_cast<difference_type>(a.Index) - static_cast<difference_type>(b.Index);
  }
  friend bool operator==(const LineIterator& a, const LineIterator& b) { return a.Index == b.Index; }
  friend auto operator<=>(const LineIterator& a, const LineIterator& b) { return a.Index <=> b.Index; }

 private:
  const Lines* Source = nullptr;
  std::size_t Index = 0;
};

// An array of plain values held by malloc and grown by realloc, which for a
// large array moves its pages instead of copying them, so that growing never
// holds the old and the new array at once. Its room is a multiple of Round
// items, so that Round items from any multiple of Round below size() can be
// read.
template <class T, std::size_t Round = 1>
class GrowArray {
 public:
  GrowArray() = default;
  GrowArray(const GrowArray& other) { *this = other; }
  GrowArray& operator=(const GrowArray& other) {
    if (this == &other) return *this;
    Count = 0;
    reserve(other.Count);
    if (other.Count > 0) std::memcpy(Items, other.Items, other.Count * sizeof(T));
    Count = other.Count;
    return *this;
  }
  GrowArray(GrowArray&& other) noexcept { Swap(other); }
  GrowArray& operator=(GrowArray&& other) noexcept {
    GrowArray taken(std::move(other));
    Swap(taken);
    return *this;
  }
  ~GrowArray() { std::free(Items); }

  std::size_t size() const { return Count; }
  bool empty() const { return Count == 0; }
  T& operator[](std::size_t i) { return Items[i]; }
  const T& operator[](std::size_t i) const { return Items[i]; }
  T& back() { return Items[Count - 1]; }
  const T* data() const { return Items; }

  void clear() { Count = 0; }
  void reserve(std::size_t count) {
    if (count <= Capacity) return;
    count = (count + Round - 1) / Round * Round;
    void* bigger = std::realloc(Items, count * sizeof(T));
    if (bigger == nullptr) throw std::bad_alloc();
    Items = static_cast<T*>(bigger);
    Capacity = count;
  }
  void resize(std::size_t count) {  // not beyond the count held
    if (count < Count) Count = count;
  }
  void push_back(T item) {
    if (Count == Capacity) reserve(Capacity < 4 ? 4 : Capacity * 2);
    Items[Count++] = item;
  }
  void Append(const T* items, std::size_t count) {
    reserve(Count + count);
    if (count > 0) std::memcpy(Items + Count, items, count * sizeof(T));
    Count += count;
  }
  // Puts count zeroed items before item at.
  void InsertZeros(std::size_t at, std::size_t count) {
    if (Count + count > Capacity) reserve(std::max(Count + count, Capacity * 2));
    std::memmove(Items + at + count, Items + at, (Count - at) * sizeof(T));
    std::memset(static_cast<void*>(Items + at), 0, count * sizeof(T));
    Count += count;
  }

 private:
  void Swap(GrowArray& other) noexcept {
    std::swap(Items, other.Items);
    std::swap(Count, other.Count);
    std::swap(Capacity, other.Capacity);
  }
  T* Items = nullptr;
  std::size_t Count = 0;
  std::size_t Capacity = 0;
};

// Where the lines of a LineBuffer begin, in about a byte and a half a line.
// The lines come in blocks of 16: a block holds where its first line begins,
// and each line has one byte, its length with its break when under 255. A
// line begins where its block does plus the lengths before it in the block.
// A block with a line of 255 bytes or more instead keeps where each of its
// 16 lines begins, relative to the block, in a side table (four bytes a
// line, only for such blocks). Offsets are 32-bit: a buffer is under 4 GB.
class LineIndex {
 public:
  LineIndex() = default;
  LineIndex(const LineIndex& other) = default;
  LineIndex& operator=(const LineIndex& other) = default;
  // A moved index leaves no lines behind.
  LineIndex(LineIndex&& other) noexcept
      : Lengths(std::move(other.Lengths)),
        Blocks(std::move(other.Blocks)),
        Side(std::move(other.Side)),
        Count(std::exchange(other.Count, 0)),
        EndOffset(std::exchange(other.EndOffset, 0)) {}
  LineIndex& operator=(LineIndex&& other) noexcept {
    LineIndex taken(std::move(other));
    std::swap(Lengths, taken.Lengths);
    std::swap(Blocks, taken.Blocks);
    std::swap(Side, taken.Side);
    std::swap(Count, taken.Count);
    std::swap(EndOffset, taken.EndOffset);
    return *this;
  }
  ~LineIndex() = default;

  std::size_t size() const { return Count; }
  bool empty() const { return Count == 0; }

  // Where line i begins and its length with its break (i < size()).
  void Span(std::size_t i, std::uint32_t& start, std::uint32_t& length) const {
    const Block& block = Blocks[i >> 4];
    const std::size_t k = i & 15;
    length = Lengths[i];
    if (block.Side == NoSide) {
      start = block.Start + SumBefore(Lengths.data() + (i - k), k);
      return;
    }
    start = block.Start + Side[block.Side * 16 + k];
    if (length == 255) length = Start(i + 1) - start;
  }
  // Where line i begins (i <= size(): the end of the last line at size()).
  std::uint32_t Start(std::size_t i) const {
    if (i >= Count) return EndOffset;
    const Block& block = Blocks[i >> 4];
    const std::size_t k = i & 15;
    if (block.Side != NoSide) return block.Start + Side[block.Side * 16 + k];
    return block.Start + SumBefore(Lengths.data() + (i - k), k);
  }
  std::uint32_t Length(std::size_t i) const {
    return Lengths[i] != 255 ? Lengths[i] : Start(i + 1) - Start(i);
  }
  // One past the last line's break.
  std::uint32_t End() const { return EndOffset; }

  void clear();
  // Where the first line will begin; only for an index of no lines.
  void Begin(std::uint32_t start) { EndOffset = start; }
  // Makes room for lines more lines.
  void reserve(std::size_t lines);
  // Appends a line of length bytes with its break.
  void push_back(std::uint32_t length) {
    // Most often a short line inside a block of short lines: its byte alone.
    if ((Count & 15) != 0 && length < 255 && Blocks.back().Side == NoSide) {
      Lengths.push_back(static_cast<std::uint8_t>(length));
      EndOffset += length;
      ++Count;
      return;
    }
    PushBackSlow(length);
  }
  // Keeps the first `lines` lines (fewer than size(), more than 0).
  void Truncate(std::size_t lines);
  // The lines of first then those of second, the first beginning at 0.
  static LineIndex Joined(const LineIndex& first, const LineIndex& second);
  // Gives line i a new length with its break; the lines after it move.
  void SetLength(std::size_t i, std::uint32_t length);
  std::size_t MemoryBytes() const {
    return Lengths.size() + Blocks.size() * sizeof(Block) + Side.size() * sizeof(std::uint32_t);
  }

 private:
  static constexpr std::uint32_t NoSide = 0xFFFFFFFF;
  struct Block {
    std::uint32_t Start;  // where the block's first line begins
    std::uint32_t Side;   // its place in the side table, or NoSide
  };
  // The sum of the first k (< 16) of the 16 bytes at lengths, eight at a
  // time: the bytes past k are masked off, pairs are added in 16-bit lanes
  // (at most 4 * 255 each) and the lanes summed by one multiplication.
  static std::uint32_t SumBefore(const std::uint8_t* lengths, std::size_t k) {
    static constexpr std::uint8_t Mask[32] = {
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    std::uint64_t low = 0, high = 0, maskLow = 0, maskHigh = 0;
    std::memcpy(&low, lengths, 8);
    std::memcpy(&high, lengths + 8, 8);
    std::memcpy(&maskLow, Mask + 16 - k, 8);
    std::memcpy(&maskHigh, Mask + 24 - k, 8);
    low &= maskLow;
    high &= maskHigh;
    constexpr std::uint64_t Even = 0x00FF00FF00FF00FFULL;
    const std::uint64_t lanes = (low & Even) + ((low >> 8) & Even) + (high & Even) + ((high >> 8) & Even);
    return static_cast<std::uint32_t>((lanes * 0x0001000100010001ULL) >> 48);
  }
  void PushBackSlow(std::uint32_t length);
  // Gives block b a side table at place `at`, the places from at on moving up.
  void Escape(std::size_t b, std::uint32_t at);

  GrowArray<std::uint8_t, 16> Lengths;  // 255: see the side table
  GrowArray<Block> Blocks;
  GrowArray<std::uint32_t> Side;  // 16 starts for each block that has one
  std::size_t Count = 0;
  std::uint32_t EndOffset = 0;
};

// A text held as one buffer and the offsets of its lines; a line is a view
// into the buffer. A compiled file is loaded into one with a single read
// and every reading routine works on views of it, so a file of millions of
// lines costs its bytes plus about a byte and a half a line, not a string per line.
//
// Line breaks are read as in text files (core/text_file.h): LF or CR LF, a
// final break starts no line, a UTF-8 byte order mark at the start is
// dropped. Lines appended with push_back are stored with CR LF after each,
// so the buffer of a written text is the text of its file.
//
//   LineBuffer lines = LineBuffer::Load("day1.mds");   // one read
//   for (std::string_view line : lines) ...
//   std::string_view stamp = lines[0];
//
// A view stays valid until the buffer is changed or destroyed.
class LineBuffer {
 public:
  using Iterator = LineIterator<LineBuffer>;

  LineBuffer() = default;
  // The lines of a text.
  explicit LineBuffer(std::string_view text);
  // Lines given one by one.
  explicit LineBuffer(const dynString& lines);
  LineBuffer(std::initializer_list<std::string_view> lines);

  LineBuffer(const LineBuffer& other);
  LineBuffer& operator=(const LineBuffer& other);
  LineBuffer(LineBuffer&& other) noexcept = default;
  LineBuffer& operator=(LineBuffer&& other) noexcept = default;

  // Loads a whole text file with one read. Throws CommandError naming the
  // file when it cannot be read or is larger than a buffer can index (4 GB).
  static LineBuffer Load(const std::string& fileName);

  std::size_t size() const { return Starts.size(); }
  bool empty() const { return size() == 0; }

  // Line i without its break; i < size().
  std::string_view operator[](std::size_t i) const {
    std::uint32_t start = 0, length = 0;
    Starts.Span(i, start, length);
    std::uint32_t end = start + length - 1;  // the line's LF
    if (end > start && Text[end - 1] == '\r') --end;
    return {Text.get() + start, end - start};
  }

  // Appends a line (which holds no LF).
  void push_back(std::string_view line);
  // Appends a line of length bytes and gives where to write them.
  char* AppendLine(std::size_t length);
  // Room for a line of at most most bytes at the end of the text: the line
  // is written there and then ended by EndLine with its length, with no
  // other change to the buffer in between. A writer that learns a line's
  // length only by making it makes it once, in place.
  char* LineRoom(std::size_t most) {
    if (most + 2 > Capacity - Used) Grow(Used + most + 2);
    return Text.get() + Used;
  }
  void EndLine(std::size_t length) {
    if (Starts.empty()) Starts.Begin(static_cast<std::uint32_t>(Used));
    char* const end = Text.get() + Used + length;
    end[0] = '\r';
    end[1] = '\n';
    Used += length + 2;
    Starts.push_back(static_cast<std::uint32_t>(length + 2));
  }
  void clear();
  // Keeps the first `lines` lines (at most size()) and drops the rest.
  void Truncate(std::size_t lines);
  // Replaces line i by a line of other length or text (nothing when
  // i >= size()); the lines after it move, so its cost follows the bytes
  // behind it.
  void ReplaceLine(std::size_t i, std::string_view line);
  // Puts the lines of head in front of the lines held.
  void InsertFront(const LineBuffer& head);
  // The bytes of the lines and their breaks, and the bytes held in all
  // (text and line offsets).
  std::size_t TextBytes() const { return Used - (Starts.empty() ? 0 : Starts.Start(0)); }
  std::size_t MemoryBytes() const { return Used + Starts.MemoryBytes(); }

  // Makes room for bytes more bytes of text and lines more lines, so that a
  // text written line by line whose size is known roughly is not copied as
  // it grows.
  void Reserve(std::size_t bytes, std::size_t lines);
  // Inserts a line (which holds no LF) before line index (index <= size()).
  // The lines after it are moved, so this is cheap only near the end: a
  // writer puts a counts line before the lines it has just counted.
  void InsertLine(std::size_t index, std::string_view line);
  // Appends lines first..last-1 of other, which must be a different buffer.
  void AppendLines(const LineBuffer& other, std::size_t first, std::size_t last);

  Iterator begin() const;
  Iterator end() const;

  // Every line as a string of its own.
  dynString ToStrings() const;

  friend bool operator==(const LineBuffer& a, const LineBuffer& b);
  friend bool operator==(const LineBuffer& a, const dynString& b);

 private:
  void Reserve(std::size_t bytes);
  void Grow(std::size_t needed);
  void AppendBytes(std::string_view bytes);
  void IndexLines(std::size_t from);

  struct FreeBytes {
    void operator()(char* bytes) const;
  };
  // The bytes, every line followed by its break; not zeroed beyond Used.
  // Held by malloc, so that a large text grows by realloc, which moves its
  // pages rather than copying them.
  std::unique_ptr<char[], FreeBytes> Text;
  std::size_t Used = 0;
  std::size_t Capacity = 0;
  // Where each line begins; Starts.End() is one past the last line's LF.
  LineIndex Starts;
};

inline LineBuffer::Iterator LineBuffer::begin() const { return Iterator(this, 0); }
inline LineBuffer::Iterator LineBuffer::end() const { return Iterator(this, size()); }

// Lines to read, held in a LineBuffer or in a list of strings (a text a
// command edits in memory, a test's literal lines), seen without a copy.
// Every routine that reads a compiled file's lines takes one by value.
class LinesView {
 public:
  LinesView() = default;  // no lines
  LinesView(const LineBuffer& lines) : Buffer(&lines) {}  // NOLINT(google-explicit-constructor)
  LinesView(const dynString& lines) : Strings(&lines) {}  // NOLINT(google-explicit-constructor)

  std::size_t size() const { return Buffer ? Buffer->size() : Strings ? Strings->size() : 0; }
  bool empty() const { return size() == 0; }
  LineIterator<LinesView> begin() const { return {this, 0}; }
  LineIterator<LinesView> end() const { return {this, size()}; }
  std::string_view operator[](std::size_t i) const {
    return Buffer ? (*Buffer)[i] : std::string_view((*Strings)[i]);
  }
  // The bytes the lines take with a two-byte break after each.
  std::size_t Bytes() const {
    if (Buffer) return Buffer->TextBytes();
    std::size_t bytes = 0;
    for (std::string_view line : *this) bytes += line.size() + 2;
    return bytes;
  }

 private:
  const LineBuffer* Buffer = nullptr;
  const dynString* Strings = nullptr;
};

}  // namespace vork
