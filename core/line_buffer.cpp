#include "core/line_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/command_error.h"

namespace vork {

namespace {

// Offsets are 32-bit: four bytes a line keep a file of short data lines
// small in memory.
constexpr std::size_t MaxBufferBytes = std::numeric_limits<std::uint32_t>::max();

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string Reason(int error) {
  if (error == 0) return "";
  return ": " + std::generic_category().message(error);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void LineIndex::clear() {
  Lengths.clear();
  Blocks.clear();
  Side.clear();
  Count = 0;
  EndOffset = 0;
}

void LineIndex::reserve(std::size_t lines) {
  Lengths.reserve(Count + lines);
  Blocks.reserve((Count + lines + 15) / 16);
}

void LineIndex::Escape(std::size_t b, std::uint32_t at) {
  Side.InsertZeros(std::size_t{at} * 16, 16);
  for (std::size_t j = b + 1; j < Blocks.size(); ++j)
    if (Blocks[j].Side != NoSide) ++Blocks[j].Side;
  Blocks[b].Side = at;
  std::uint32_t* const starts = &Side[std::size_t{at} * 16];
  const std::size_t first = b * 16;
  const std::size_t lines = std::min<std::size_t>(16, Count - first);
  std::uint32_t start = 0;
  for (std::size_t k = 0; k < lines; ++k) {  // every line of the block is under 255 bytes
    starts[k] = start;
    start += Lengths[first + k];
  }
}

void LineIndex::PushBackSlow(std::uint32_t length) {
  const std::size_t k = Count & 15;
  if (k == 0) Blocks.push_back({EndOffset, NoSide});
  if (length >= 255 && Blocks.back().Side == NoSide)
    Escape(Blocks.size() - 1, static_cast<std::uint32_t>(Side.size() / 16));
  const Block& block = Blocks.back();
  if (block.Side != NoSide) Side[std::size_t{block.Side} * 16 + k] = EndOffset - block.Start;
  Lengths.push_back(static_cast<std::uint8_t>(std::min<std::uint32_t>(length, 255)));
  EndOffset += length;
  ++Count;
}

LineIndex LineIndex::Joined(const LineIndex& first, const LineIndex& second) {
  LineIndex joined;
  const std::size_t count = first.Count + second.Count;
  // The length bytes are the same whichever block a line falls in; only
  // the blocks, and the side tables of blocks with a long line, are made
  // again, a block at a time.
  joined.Lengths.reserve(count);
  joined.Lengths.Append(first.Lengths.data(), first.Count);
  joined.Lengths.Append(second.Lengths.data(), second.Count);
  joined.Blocks.reserve((count + 15) / 16);
  const auto length = [&](std::size_t i) {
    return i < first.Count ? first.Length(i) : second.Length(i - first.Count);
  };
  std::uint32_t start = 0;
  for (std::size_t from = 0; from < count; from += 16) {
    const std::size_t lines = std::min<std::size_t>(16, count - from);
    const std::uint8_t* const bytes = joined.Lengths.data() + from;
    if (std::memchr(bytes, 255, lines) == nullptr) {
      joined.Blocks.push_back({start, NoSide});
      for (std::size_t k = 0; k < lines; ++k) start += bytes[k];
      continue;
    }
    const std::size_t side = joined.Side.size();
    joined.Side.InsertZeros(side, 16);
    joined.Blocks.push_back({start, static_cast<std::uint32_t>(side / 16)});
    std::uint32_t offset = 0;
    for (std::size_t k = 0; k < lines; ++k) {
      joined.Side[side + k] = offset;
      offset += length(from + k);
    }
    start += offset;
  }
  joined.Count = count;
  joined.EndOffset = start;
  return joined;
}

void LineIndex::Truncate(std::size_t lines) {
  EndOffset = Start(lines);
  const std::size_t blocks = (lines + 15) / 16;
  // The side tables are in the order of their blocks: those of the blocks
  // dropped are the end of the table.
  for (std::size_t j = blocks; j < Blocks.size(); ++j)
    if (Blocks[j].Side != NoSide) {
      Side.resize(std::size_t{Blocks[j].Side} * 16);
      break;
    }
  Blocks.resize(blocks);
  Lengths.resize(lines);
  Count = lines;
}

void LineIndex::SetLength(std::size_t i, std::uint32_t length) {
  const std::uint32_t shift = length - Length(i);  // modulo 2^32 when shorter
  const std::size_t b = i >> 4;
  if (length >= 255 && Blocks[b].Side == NoSide) {
    auto at = static_cast<std::uint32_t>(Side.size() / 16);
    for (std::size_t j = b + 1; j < Blocks.size(); ++j)
      if (Blocks[j].Side != NoSide) {
        at = Blocks[j].Side;
        break;
      }
    Escape(b, at);
  }
  Lengths[i] = static_cast<std::uint8_t>(std::min<std::uint32_t>(length, 255));
  if (Blocks[b].Side != NoSide) {
    std::uint32_t* const starts = &Side[std::size_t{Blocks[b].Side} * 16];
    for (std::size_t k = (i & 15) + 1; k < 16 && b * 16 + k < Count; ++k) starts[k] += shift;
  }
  for (std::size_t j = b + 1; j < Blocks.size(); ++j) Blocks[j].Start += shift;
  EndOffset += shift;
}

LineBuffer::LineBuffer(std::string_view text) {
  if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(ByteOrderMark.size());
  if (text.empty()) return;
  Reserve(text.size() + 2);
  AppendBytes(text);
  IndexLines(0);
}

LineBuffer::LineBuffer(const dynString& lines) {
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 2;
  Reserve(bytes);
  Starts.reserve(lines.size());
  for (const std::string& line : lines) push_back(line);
}

LineBuffer::LineBuffer(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) push_back(line);
}

LineBuffer::LineBuffer(const LineBuffer& other) : Starts(other.Starts) {
  Reserve(other.Used);
  if (other.Used > 0) std::memcpy(Text.get(), other.Text.get(), other.Used);
  Used = other.Used;
}

LineBuffer& LineBuffer::operator=(const LineBuffer& other) {
  if (this != &other) *this = LineBuffer(other);
  return *this;
}

LineBuffer LineBuffer::Load(const std::string& fileName) {
  std::error_code error;
  if (std::filesystem::is_directory(fileName, error))
    throw CommandError("Cannot read file \"" + fileName + "\": it is a folder.");
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) throw CommandError("Cannot open file \"" + fileName + "\"" + Reason(errno) + ".");
  const auto size = std::filesystem::file_size(fileName, error);
  if (!error && size > MaxBufferBytes - 3)
    throw CommandError("Cannot read file \"" + fileName + "\": it is larger than 4 GB.");

  LineBuffer lines;
  // One byte more than the file holds, so that the first read meets its end.
  lines.Reserve(error ? std::size_t{1} << 16 : static_cast<std::size_t>(size) + 3);
  // One read for the whole file; a file that grew since its size was taken
  // is read on to its end.
  while (true) {
    if (lines.Capacity - lines.Used < 3) lines.Reserve(lines.Capacity * 2);
    const std::size_t room = lines.Capacity - lines.Used - 2;  // room for a final CR LF
    const std::size_t got = std::fread(lines.Text.get() + lines.Used, 1, room, file.get());
    lines.Used += got;
    if (got < room) break;
  }
  if (std::ferror(file.get())) throw CommandError("Cannot read file \"" + fileName + "\"" + Reason(errno) + ".");
  if (lines.Used > MaxBufferBytes - 2)
    throw CommandError("Cannot read file \"" + fileName + "\": it is larger than 4 GB.");

  std::size_t from = 0;
  if (std::string_view(lines.Text.get(), lines.Used).substr(0, ByteOrderMark.size()) == ByteOrderMark)
    from = ByteOrderMark.size();
  if (lines.Used == from) {
    lines.Used = 0;
    return lines;
  }
  lines.IndexLines(from);
  return lines;
}

void LineBuffer::FreeBytes::operator()(char* bytes) const { std::free(bytes); }

void LineBuffer::Reserve(std::size_t bytes) {
  if (bytes <= Capacity) return;
  if (bytes > MaxBufferBytes) throw CommandError("A text of more than 4 GB cannot be held in memory.");
  void* bigger = std::realloc(Text.get(), bytes);
  if (bigger == nullptr) throw std::bad_alloc();
  (void)Text.release();
  Text.reset(static_cast<char*>(bigger));
  Capacity = bytes;
}

// Half as much again as the buffer holds, so that appending stays linear
// without doubling a large text's memory.
void LineBuffer::Grow(std::size_t needed) {
  Reserve(std::max(needed, std::min(MaxBufferBytes, Capacity + Capacity / 2)));
}

void LineBuffer::AppendBytes(std::string_view bytes) {
  if (bytes.size() > Capacity - Used) Grow(Used + bytes.size());
  if (!bytes.empty()) std::memcpy(Text.get() + Used, bytes.data(), bytes.size());
  Used += bytes.size();
}

// Finds the line starts of the text from `from` on, after making sure its
// last line ends in a break. A last line without a break gets CR LF, so
// that a CR it ends with stays part of the line.
void LineBuffer::IndexLines(std::size_t from) {
  if (Text[Used - 1] != '\n') AppendBytes("\r\n");
  const char* const text = Text.get();
  Starts.clear();
  Starts.reserve(static_cast<std::size_t>(std::count(text + from, text + Used, '\n')));
  Starts.Begin(static_cast<std::uint32_t>(from));
  for (const char* p = text + from; p < text + Used;) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(text + Used - p)));
    Starts.push_back(static_cast<std::uint32_t>(lf + 1 - p));
    p = lf + 1;
  }
}

char* LineBuffer::AppendLine(std::size_t length) {
  char* const line = LineRoom(length);
  EndLine(length);
  return line;
}

void LineBuffer::push_back(std::string_view line) {
  if (Starts.empty()) Starts.Begin(static_cast<std::uint32_t>(Used));
  if (line.size() + 2 > Capacity - Used) Grow(Used + line.size() + 2);
  char* at = Text.get() + Used;
  if (!line.empty()) std::memcpy(at, line.data(), line.size());
  at[line.size()] = '\r';
  at[line.size() + 1] = '\n';
  Used += line.size() + 2;
  Starts.push_back(static_cast<std::uint32_t>(line.size() + 2));
}

void LineBuffer::Reserve(std::size_t bytes, std::size_t lines) {
  if (bytes > MaxBufferBytes - Used) throw CommandError("A text of more than 4 GB cannot be held in memory.");
  Reserve(Used + bytes);
  Starts.reserve(lines);
}

void LineBuffer::InsertLine(std::size_t index, std::string_view line) {
  if (index >= size()) {
    push_back(line);
    return;
  }
  const std::size_t added = line.size() + 2;
  if (Used + added > MaxBufferBytes) throw CommandError("A text of more than 4 GB cannot be held in memory.");
  if (added > Capacity - Used) Grow(Used + added);
  const std::size_t at = Starts.Start(index);
  std::memmove(Text.get() + at + added, Text.get() + at, Used - at);
  if (!line.empty()) std::memcpy(Text.get() + at, line.data(), line.size());
  Text[at + line.size()] = '\r';
  Text[at + line.size() + 1] = '\n';
  Used += added;
  // The lines from index on are indexed again after the new one.
  std::vector<std::uint32_t> moved(Starts.size() - index);
  for (std::size_t j = index; j < Starts.size(); ++j) moved[j - index] = Starts.Length(j);
  if (index == 0) {
    Starts.clear();
    Starts.Begin(static_cast<std::uint32_t>(at));
  } else {
    Starts.Truncate(index);
  }
  Starts.reserve(moved.size() + 1);
  Starts.push_back(static_cast<std::uint32_t>(added));
  for (std::uint32_t length : moved) Starts.push_back(length);
}

void LineBuffer::AppendLines(const LineBuffer& other, std::size_t first, std::size_t last) {
  last = std::min(last, other.size());
  if (first >= last) return;
  if (Starts.empty()) Starts.Begin(static_cast<std::uint32_t>(Used));
  const std::uint32_t from = other.Starts.Start(first);
  AppendBytes(std::string_view(other.Text.get() + from, other.Starts.Start(last) - from));
  Starts.reserve(last - first);
  for (std::size_t i = first; i < last; ++i) Starts.push_back(other.Starts.Length(i));
}

void LineBuffer::clear() {
  Used = 0;
  Starts.clear();
}

void LineBuffer::Truncate(std::size_t lines) {
  if (lines >= size()) return;
  if (lines == 0) return clear();
  Starts.Truncate(lines);
  Used = Starts.End();
}

void LineBuffer::ReplaceLine(std::size_t i, std::string_view line) {
  if (i >= size()) return;
  const std::size_t start = Starts.Start(i);
  const std::size_t oldEnd = Starts.Start(i + 1);
  const std::size_t newEnd = start + line.size() + 2;
  if (newEnd > oldEnd) {
    if (Used + (newEnd - oldEnd) > MaxBufferBytes)
      throw CommandError("A text of more than 4 GB cannot be held in memory.");
    if (Used + (newEnd - oldEnd) > Capacity)
      Reserve(std::max(Used + (newEnd - oldEnd), std::min(Capacity + Capacity / 2, MaxBufferBytes)));
  }
  char* const text = Text.get();
  std::memmove(text + newEnd, text + oldEnd, Used - oldEnd);
  if (!line.empty()) std::memcpy(text + start, line.data(), line.size());
  text[newEnd - 2] = '\r';
  text[newEnd - 1] = '\n';
  Used = Used + newEnd - oldEnd;
  Starts.SetLength(i, static_cast<std::uint32_t>(line.size() + 2));
}

void LineBuffer::InsertFront(const LineBuffer& head) {
  if (head.empty()) return;
  if (empty()) {
    *this = head;
    return;
  }
  const std::size_t headBytes = head.TextBytes();
  const std::size_t from = Starts.Start(0);
  if (Used - from + headBytes > MaxBufferBytes)
    throw CommandError("A text of more than 4 GB cannot be held in memory.");
  const std::size_t bytes = Used - from + headBytes;
  Reserve(std::max(bytes, Capacity));
  char* const text = Text.get();
  std::memmove(text + headBytes, text + from, Used - from);
  std::memcpy(text, head.Text.get() + head.Starts.Start(0), headBytes);
  Used = bytes;
  Starts = LineIndex::Joined(head.Starts, Starts);
}

dynString LineBuffer::ToStrings() const {
  dynString lines;
  lines.reserve(size());
  for (std::string_view line : *this) lines.emplace_back(line);
  return lines;
}

bool operator==(const LineBuffer& a, const LineBuffer& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

bool operator==(const LineBuffer& a, const dynString& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](std::string_view x, const std::string& y) { return x == y; });
}

}  // namespace vork
