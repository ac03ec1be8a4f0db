#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

// The line offsets of a LineBuffer: an array held by malloc and grown by
// realloc, which for a large array moves its pages instead of copying them,
// so that growing never holds the old and the new array at once.
class LineOffsets {
 public:
  LineOffsets() = default;
  LineOffsets(const LineOffsets& other) { *this = other; }
  LineOffsets& operator=(const LineOffsets& other);
  LineOffsets(LineOffsets&& other) noexcept { Swap(other); }
  LineOffsets& operator=(LineOffsets&& other) noexcept {
    LineOffsets taken(std::move(other));
    Swap(taken);
    return *this;
  }
  ~LineOffsets() { std::free(Items); }

  std::size_t size() const { return Count; }
  bool empty() const { return Count == 0; }
  std::uint32_t& operator[](std::size_t i) { return Items[i]; }
  std::uint32_t operator[](std::size_t i) const { return Items[i]; }
  std::uint32_t front() const { return Items[0]; }
  std::uint32_t back() const { return Items[Count - 1]; }
  std::uint32_t* begin() { return Items; }
  std::uint32_t* end() { return Items + Count; }
  const std::uint32_t* begin() const { return Items; }
  const std::uint32_t* end() const { return Items + Count; }

  void clear() { Count = 0; }
  void reserve(std::size_t count);
  void resize(std::size_t count);  // not beyond the count held
  void push_back(std::uint32_t item) {
    if (Count == Capacity) reserve(Capacity < 16 ? 16 : Capacity * 2);
    Items[Count++] = item;
  }
  // Puts count items in front of those held.
  void InsertFront(const std::uint32_t* items, std::size_t count);

 private:
  void Swap(LineOffsets& other) noexcept;
  std::uint32_t* Items = nullptr;
  std::size_t Count = 0;
  std::size_t Capacity = 0;
};

// A text held as one buffer and the offsets of its lines; a line is a view
// into the buffer. A compiled file is loaded into one with a single read
// and every reading routine works on views of it, so a file of millions of
// lines costs its bytes plus four bytes a line, not a string per line.
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

  std::size_t size() const { return Starts.empty() ? 0 : Starts.size() - 1; }
  bool empty() const { return size() == 0; }

  // Line i without its break; i < size().
  std::string_view operator[](std::size_t i) const {
    const std::uint32_t start = Starts[i];
    std::uint32_t end = Starts[i + 1] - 1;  // the line's LF
    if (end > start && Text[end - 1] == '\r') --end;
    return {Text.get() + start, end - start};
  }

  // Appends a line (which holds no LF).
  void push_back(std::string_view line);
  // Appends a line of length bytes and gives where to write them.
  char* AppendLine(std::size_t length);
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
  std::size_t TextBytes() const { return Used - (Starts.empty() ? 0 : Starts.front()); }
  std::size_t MemoryBytes() const { return Used + Starts.size() * sizeof(std::uint32_t); }

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
  // Starts[i] is where line i begins; Starts[size()] is one past the last
  // line's LF. Empty for a text of no lines.
  LineOffsets Starts;
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
