#pragma once
// The trigram lists of the text index: for each trigram of the lines, the blocks of lines
// that hold it, as the deltas that the index's shards list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// The character that a trigram key holds for every character above U+007F.
inline constexpr std::uint32_t otherTrigramCharacter = 0x80;

/// The number of possible trigram keys: three characters of 0 to 0x80 each.
inline constexpr size_t trigramKeyCount = 129 * 129 * 129;

/// The key of the trigram of the key characters `c0`, `c1`, `c2` (each 0 to 0x80).
constexpr std::uint32_t trigramKey(std::uint32_t c0, std::uint32_t c1, std::uint32_t c2) {
  return (c0 * 129 + c1) * 129 + c2;
}

/// Collects, block after block, the trigrams each block holds, each block's number as its
/// delta from the trigram's block before in the digits of the lists (44 printable ASCII
/// characters that end a number and 44 that carry on, low digits first, none of them a
/// quote, a backslash, "<", ">" or "&"). A trigram is noted at every occurrence, once a
/// block by a bit of its own; the bits fit a core's second-level cache and only those set
/// are cleared. When a block ends its trigrams add it to their lists through a table of
/// one small record a trigram, each list's bytes written at its end into chunks of growing
/// size that link back.
class TrigramLists {
 public:
  TrigramLists();

  /// The trigram of the key characters `c0`, `c1`, `c2` occurs in the block being filled.
  void note(std::uint32_t c0, std::uint32_t c1, std::uint32_t c2) {
    if ((c0 | c1 | c2) < 0x80)
      noteBit(narrow_.data(), c0 << 14 | c1 << 7 | c2, c0 << 14 | c1 << 7 | c2);
    else
      noteBit(wide_.data(), trigramKey(c0, c1, c2), wideCode | trigramKey(c0, c1, c2));
  }

  /// Notes the trigrams of `text`, all bytes below 0x80, whose key characters are the
  /// bytes with capital letters lower-cased.
  void noteAscii(std::string_view text);

  /// The block being filled, the `block`th (blocks end in ascending order), ends.
  void endBlock(std::uint32_t block);

  /// A trigram listed: its key, its place in the table, the size of its list.
  struct Listed {
    std::uint32_t key;
    std::uint32_t slot;
    size_t size;
  };
  /// The trigrams listed, by ascending key.
  std::vector<Listed> listed() const;
  /// Appends the list of a trigram `listed` gave to `out`.
  void appendList(const Listed& listed, std::string& out) const;

 private:
  /// A trigram's code: of three characters below 0x80, their seven bits each; of one with
  /// U+0080, `wideCode` with its key.
  static constexpr std::uint32_t narrowBits = std::uint32_t{1} << 21;
  static constexpr std::uint32_t wideCode = std::uint32_t{1} << 31;
  static constexpr std::uint32_t noChunk = ~std::uint32_t{0};

  /// The chunks are placed in pages of their own, never moved, by 32-bit offsets.
  static constexpr std::uint32_t pageBits = 20;

  /// A trigram's place in the table. Its list's bytes go to the chunks at `tail` until
  /// `end`, where the chunk's trailer is: where the chunk before ends (`noChunk`: none)
  /// and how many bytes the chunk holds.
  struct Slot {
    std::uint32_t code = 0;  ///< the trigram's code plus one; 0: a free slot
    std::uint32_t next = 0;  ///< the block after the last one listed
    std::uint32_t tail = 0;
    std::uint32_t end = 0;
  };

  void noteBit(std::uint64_t* bits, std::uint32_t bit, std::uint32_t code) {
    std::uint64_t& word = bits[bit >> 6];
    const std::uint64_t mask = std::uint64_t{1} << (bit & 63);
    if (word & mask) return;
    word |= mask;
    makeRoom(1);
    blockCodes_[codeCount_++] = code;
  }

  /// Makes room in `blockCodes_` for `more` codes past `codeCount_`.
  void makeRoom(size_t more) {
    if (codeCount_ + more > blockCodes_.size())
      blockCodes_.resize(std::max(2 * blockCodes_.size(), codeCount_ + more));
  }

  Slot& slotOf(std::uint32_t code);
  void grow();
  /// Starts a chunk of `size` bytes after the chunk that ends at `before`.
  void newChunk(Slot& slot, std::uint32_t before, std::uint32_t size);
  void append(Slot& slot, std::uint32_t value);
  char* chunkByte(std::uint32_t offset) const {
    return pages_[offset >> pageBits].get() + (offset & ((std::uint32_t{1} << pageBits) - 1));
  }
  std::uint32_t chunkWord(std::uint32_t offset) const;

  std::vector<std::uint64_t> narrow_;      ///< a bit a narrow code: noted in this block
  std::vector<std::uint64_t> wide_;        ///< a bit a key, for the wide codes
  /// The codes of the trigrams of this block, the first `codeCount_` of them.
  std::vector<std::uint32_t> blockCodes_;
  size_t codeCount_ = 0;
  std::vector<Slot> slots_;                ///< open-addressed by code, at most half full
  size_t used_ = 0;
  std::vector<std::unique_ptr<char[]>> pages_;
  std::uint32_t chunksEnd_ = 0;  ///< where the next chunk goes
};

}  // namespace quillon
