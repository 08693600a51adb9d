#include "workspace/trigram_lists.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace quillon {

namespace {

/// The digits of the lists: 44 that end a number and 44 that carry on, printable ASCII
/// without quotes, backslash, "<", ">" and "&".
struct Digits {
  char last[44];
  char more[44];
};
constexpr Digits makeDigits() {
  Digits d{};
  int n = 0;
  for (int c = 0x23; c <= 0x7E && n < 88; ++c) {
    if (c == '\\' || c == '<' || c == '>' || c == '&') continue;
    (n < 44 ? d.last[n] : d.more[n - 44]) = static_cast<char>(c);
    ++n;
  }
  return d;
}
constexpr Digits digits = makeDigits();

/// The key characters of bytes below 0x80 (letters lower-cased); a byte above, which a
/// line of ASCII does not hold, has the seven bits of one below.
struct AsciiKeys {
  std::uint8_t of[256];
};
constexpr AsciiKeys makeAsciiKeys() {
  AsciiKeys k{};
  for (int c = 0; c < 256; ++c)
    k.of[c] = static_cast<std::uint8_t>(c >= 'A' && c <= 'Z' ? c + 32 : c & 0x7F);
  return k;
}
constexpr AsciiKeys asciiKeys = makeAsciiKeys();

/// The size of a trigram's first chunk, and of its largest; each next chunk doubles.
constexpr std::uint32_t firstChunk = 8;
constexpr std::uint32_t largestChunk = 256;
/// A chunk's trailer: where the chunk before ends, and the chunk's size.
constexpr std::uint32_t trailerSize = 8;

std::uint32_t hashOf(std::uint32_t code) { return (code * 0x9E3779B1u) >> 8; }

}  // namespace

TrigramLists::TrigramLists()
    : narrow_(narrowBits / 64, 0), wide_((trigramKeyCount + 63) / 64, 0), slots_(1024) {}

void TrigramLists::noteAscii(std::string_view text) {
  if (text.size() < 3) return;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::uint64_t* const narrow = narrow_.data();
  makeRoom(text.size() - 2);
  std::uint32_t* const codes = blockCodes_.data();
  size_t count = codeCount_;
  std::uint32_t code = asciiKeys.of[bytes[0]] << 7 | asciiKeys.of[bytes[1]];
  for (size_t i = 2; i < text.size(); ++i) {
    code = (code << 7 | asciiKeys.of[bytes[i]]) & (narrowBits - 1);
    // Without a branch, which would guess wrong at each trigram new to the block: the
    // code is written past the count either way and counted only when its bit was clear.
    std::uint64_t& word = narrow[code >> 6];
    const std::uint64_t mask = std::uint64_t{1} << (code & 63);
    codes[count] = code;
    count += (word & mask) == 0;
    word |= mask;
  }
  codeCount_ = count;
}

void TrigramLists::endBlock(std::uint32_t block) {
  for (size_t i = 0; i < codeCount_; ++i) {
    const std::uint32_t code = blockCodes_[i];
    if (code & wideCode) {
      const std::uint32_t key = code & ~wideCode;
      wide_[key >> 6] &= ~(std::uint64_t{1} << (key & 63));
    } else {
      narrow_[code >> 6] &= ~(std::uint64_t{1} << (code & 63));
    }
    Slot& slot = slotOf(code);
    const std::uint32_t delta = block - slot.next;
    if (delta < 44 && slot.tail != slot.end)
      *chunkByte(slot.tail++) = digits.last[delta];
    else
      append(slot, delta);
    slot.next = block + 1;
  }
  codeCount_ = 0;
}

TrigramLists::Slot& TrigramLists::slotOf(std::uint32_t code) {
  for (;;) {
    const size_t mask = slots_.size() - 1;
    size_t at = hashOf(code) & mask;
    while (slots_[at].code && slots_[at].code != code + 1) at = (at + 1) & mask;
    Slot& slot = slots_[at];
    if (slot.code) return slot;
    if (2 * (used_ + 1) > slots_.size()) {
      grow();
      continue;
    }
    ++used_;
    slot.code = code + 1;
    newChunk(slot, noChunk, firstChunk);
    return slot;
  }
}

void TrigramLists::grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (!slot.code) continue;
    size_t at = hashOf(slot.code - 1) & mask;
    while (slots_[at].code) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

std::uint32_t TrigramLists::chunkWord(std::uint32_t offset) const {
  std::uint32_t word;
  std::memcpy(&word, chunkByte(offset), 4);
  return word;
}

void TrigramLists::newChunk(Slot& slot, std::uint32_t before, std::uint32_t size) {
  constexpr std::uint32_t pageSize = std::uint32_t{1} << pageBits;
  // A chunk does not cross into the next page: the rest of a page too small is left.
  std::uint32_t at = chunksEnd_;
  if (std::uint64_t{at} + size + trailerSize > std::uint64_t{pages_.size()} << pageBits) {
    // Offsets of 32 bits stand for lists of a hundred times as much text, which the
    // index would not hold either.
    if (pages_.size() + 1 >= (std::uint32_t{1} << (32 - pageBits))) throw std::bad_alloc();
    pages_.emplace_back(new char[pageSize]);
    at = static_cast<std::uint32_t>(pages_.size() - 1) << pageBits;
  }
  chunksEnd_ = at + size + trailerSize;
  const std::uint32_t trailer[2] = {before, size};
  std::memcpy(chunkByte(at + size), trailer, trailerSize);
  slot.tail = at;
  slot.end = at + size;
}

void TrigramLists::append(Slot& slot, std::uint32_t value) {
  for (;;) {
    if (slot.tail == slot.end)
      newChunk(slot, slot.end, std::min(chunkWord(slot.end + 4) * 2, largestChunk));
    *chunkByte(slot.tail++) = value >= 44 ? digits.more[value % 44] : digits.last[value];
    if (value < 44) return;
    value /= 44;
  }
}

std::vector<TrigramLists::Listed> TrigramLists::listed() const {
  std::vector<Listed> out;
  out.reserve(used_);
  for (size_t at = 0; at < slots_.size(); ++at) {
    const Slot& slot = slots_[at];
    if (!slot.code) continue;
    const std::uint32_t code = slot.code - 1;
    const std::uint32_t key = code & wideCode ? code & ~wideCode
                                              : trigramKey(code >> 14, code >> 7 & 0x7F, code & 0x7F);
    // The last chunk holds up to the tail, each one before it is full.
    size_t size = slot.tail - (slot.end - chunkWord(slot.end + 4));
    for (std::uint32_t before = chunkWord(slot.end); before != noChunk; before = chunkWord(before))
      size += chunkWord(before + 4);
    out.push_back({key, static_cast<std::uint32_t>(at), size});
  }
  std::sort(out.begin(), out.end(), [](const Listed& a, const Listed& b) { return a.key < b.key; });
  return out;
}

void TrigramLists::appendList(const Listed& listed, std::string& out) const {
  // The chunks link back from the last: the list is written from its end back to its start.
  const Slot& slot = slots_[listed.slot];
  const size_t start = out.size();
  out.resize(start + listed.size);
  char* at = &out[start] + listed.size;
  std::uint32_t begin = slot.end - chunkWord(slot.end + 4), end = slot.tail;
  for (std::uint32_t before = chunkWord(slot.end);; before = chunkWord(before)) {
    at -= end - begin;
    std::memcpy(at, chunkByte(begin), end - begin);
    if (before == noChunk) break;
    begin = before - chunkWord(before + 4);
    end = before;
  }
}

}  // namespace quillon
