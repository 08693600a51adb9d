#include "engine/keyword_matcher.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstring>
#include <deque>
#include <map>

#include "engine/escape.h"

namespace quillon {

namespace {
constexpr std::string_view nbsp = "&nbsp;";
}  // namespace

KeywordMatcher::KeywordMatcher(KeywordTable table) {
  static std::atomic<uint64_t> serials{0};
  serial_ = ++serials;
  std::map<std::string_view, uint32_t> ids;
  for (std::string_view w : table) {
    auto [it, fresh] = ids.emplace(w, static_cast<uint32_t>(words_.size()));
    if (fresh) {
      words_.push_back(w);
      entries_.emplace_back();
    }
    entries_[it->second].push_back(static_cast<uint32_t>(entryIds_.size()));
    entryIds_.push_back(it->second);
  }
  // Occurrences keep the keyword's first table entry in 16 bits.
  assert(entryIds_.size() <= maxKeywordTableSize);
  for (const std::vector<uint32_t>& entries : entries_)
    ranks_.push_back(static_cast<uint16_t>(entries.front()));
  for (std::string_view w : words_)
    declares_.push_back(w == "class" || w == "struct" || w == "enum");
  for (std::string_view w : words_) slashFree_ = slashFree_ && w.find('/') == w.npos;
  size_t classes = 1;
  for (std::string_view w : words_)
    for (char c : w) {
      uint8_t& cls = byteClass_[static_cast<unsigned char>(c)];
      if (cls == 0) cls = static_cast<uint8_t>(classes++);
    }
  while ((size_t{1} << classShift_) < classes) ++classShift_;
  const size_t width = size_t{1} << classShift_;

  // The trie of the words; -1 marks a missing edge until the automaton is completed.
  std::vector<int64_t> edges(width, -1);
  std::vector<std::vector<uint32_t>> ends(1);
  for (uint32_t id = 0; id < words_.size(); ++id) {
    size_t state = 0;
    for (char c : words_[id]) {
      const size_t edge = state * width + byteClass_[static_cast<unsigned char>(c)];
      if (edges[edge] < 0) {
        edges[edge] = static_cast<int64_t>(ends.size());
        ends.emplace_back();
        edges.resize(edges.size() + width, -1);
      }
      state = static_cast<size_t>(edges[edge]);
    }
    ends[state].push_back(id);
  }

  // Breadth first: each state's failure state is shallower, so its row and its matches
  // are complete when the state is reached. Rows hold state numbers until the end.
  const size_t states = ends.size();
  std::vector<uint32_t> target(states * width, 0);
  std::vector<uint32_t> fail(states, 0);
  std::deque<uint32_t> queue;
  for (size_t c = 1; c < width; ++c) {
    if (edges[c] > 0) {
      target[c] = static_cast<uint32_t>(edges[c]);
      queue.push_back(target[c]);
    }
  }
  while (!queue.empty()) {
    const uint32_t s = queue.front();
    queue.pop_front();
    for (uint32_t id : ends[fail[s]]) ends[s].push_back(id);
    for (size_t c = 1; c < width; ++c) {
      const int64_t t = edges[s * width + c];
      if (t < 0) {
        target[s * width + c] = target[fail[s] * width + c];
      } else {
        target[s * width + c] = static_cast<uint32_t>(t);
        fail[t] = target[fail[s] * width + c];
        queue.push_back(static_cast<uint32_t>(t));
      }
    }
  }
  // Class 0 (a byte in no keyword) leads back to the root from everywhere.
  assert((states << classShift_) < ampersand);  // the rows fit below the flags
  next_.resize(target.size());
  const size_t ampersandClass = byteClass_[static_cast<unsigned char>('&')];
  for (size_t i = 0; i < target.size(); ++i) {
    const uint32_t t = target[i];
    next_[i] = static_cast<uint32_t>(t << classShift_) | (ends[t].empty() ? 0 : endsHere);
    if (i % width == ampersandClass) next_[i] |= ampersand;
  }

  outBegin_.reserve(states + 1);
  for (size_t s = 0; s < states; ++s) {
    outBegin_.push_back(static_cast<uint32_t>(outIds_.size()));
    outIds_.insert(outIds_.end(), ends[s].begin(), ends[s].end());
  }
  outBegin_.push_back(static_cast<uint32_t>(outIds_.size()));

  nbspJump_.resize(states);
  for (size_t state = 0; state < states; ++state) {
    uint32_t row = static_cast<uint32_t>(state << classShift_);
    uint32_t t = row;
    for (char c : nbsp) {
      t = next_[row + byteClass_[static_cast<unsigned char>(c)]];
      if (t & endsHere) break;
      row = t & ~flags;
    }
    nbspJump_[state] = (t & endsHere) ? noJump : row;
  }
  buildSourceAutomaton(target, classes);
}

void KeywordMatcher::emitState(uint32_t state, size_t end, std::vector<Occurrence>& out) const {
  for (uint32_t k = outBegin_[state]; k < outBegin_[state + 1]; ++k) {
    const uint32_t id = outIds_[k];
    out.push_back({uint64_t{ranks_[id]} << Occurrence::rankShift | (end - words_[id].size())});
  }
}

/// A pass of the automaton over escaped text; `step` reads one byte (or a whole
/// "&nbsp;") and reports the keywords that end there.
struct KeywordMatcher::Sweep {
  Sweep(const KeywordMatcher& matcher, std::string_view text, std::vector<Occurrence>& found)
      : m(matcher),
        next(matcher.next_.data()),
        cls(matcher.byteClass_.data()),
        jumps(matcher.nbspJump_.data()),
        shift(matcher.classShift_),
        s(text.data()),
        size(text.size()),
        out(found) {}

  void step() {
    const uint32_t t = next[row + cls[static_cast<unsigned char>(s[i])]];
    ++i;
    if ((t & flags) == 0) {
      row = t;
      return;
    }
    if ((t & ampersand) && size - i >= nbsp.size() - 1 &&
        std::memcmp(s + i, nbsp.data() + 1, nbsp.size() - 1) == 0) {
      const uint32_t jump = jumps[row >> shift];
      if (jump != noJump) {
        row = jump;
        i += nbsp.size() - 1;
        // Runs of them (indentation) are read at once.
        while (size - i >= nbsp.size() && std::memcmp(s + i, nbsp.data(), nbsp.size()) == 0) {
          const uint32_t again = jumps[row >> shift];
          if (again == noJump) break;
          row = again;
          i += nbsp.size();
        }
        return;
      }
    }
    row = t & ~flags;
    if (t & endsHere) m.emit(row, i, out);
  }

  const KeywordMatcher& m;
  const Transition* const next;
  const uint8_t* const cls;
  const uint32_t* const jumps;
  const unsigned shift;
  const char* const s;
  const size_t size;
  std::vector<Occurrence>& out;
  size_t i = 0;
  uint32_t row = 0;
};

void KeywordMatcher::findAll(std::string_view text, std::vector<Occurrence>& out) const {
  Sweep sweep(*this, text, out);
  while (sweep.i < text.size()) sweep.step();
}

// ---- Searching a line's escaped form by reading its source

namespace {

/// The escaped text of a byte other than a tab (escapeLine's table), for byte i of
/// `source`.
std::string_view escapedText(std::string_view source, size_t i) {
  switch (source[i]) {
    case ' ':
      return nbsp;
    case '<':
      return std::string_view("&lt;", escaping::entitySize(source, i));
    case '>':
      return std::string_view("&gt;", escaping::entitySize(source, i));
    case '&':
      return std::string_view("&amp;", escaping::ampersandSize(source, i));
    default:
      return source.substr(i, 1);
  }
}

constexpr std::array<uint8_t, 256> makeEscapedSizes() {
  std::array<uint8_t, 256> sizes{};
  for (auto& size : sizes) size = 1;
  sizes[' '] = 6;
  sizes['<'] = sizes['>'] = 3;
  return sizes;
}
/// The size of a byte's escaped text (a tab's depends on its column, those of "&", "<" and
/// ">" on the bytes after them: all are read in the slow step, "<" and ">" always).
constexpr std::array<uint8_t, 256> escapedSize = makeEscapedSizes();

}  // namespace

void KeywordMatcher::buildSourceAutomaton(const std::vector<uint32_t>& target, size_t classes) {
  sourceClass_ = byteClass_;
  const char special[] = {' ', '<', '>', '\t'};
  // Keywords are matched against escaped text, which holds none of these bytes.
  for (char c : special)
    if (byteClass_[static_cast<unsigned char>(c)] != 0) return;
  searchesSource_ = true;
  for (char c : special)
    sourceClass_[static_cast<unsigned char>(c)] = static_cast<uint8_t>(classes++);
  // "&" escapes by the byte after it, which a step cannot see: it is always read in the
  // slow step. A keyword may hold "&" (of an escaped space), so it may have a class.
  uint8_t& ampersandClass = sourceClass_[static_cast<unsigned char>('&')];
  if (ampersandClass == 0) ampersandClass = static_cast<uint8_t>(classes++);
  while ((size_t{1} << sourceShift_) < classes) ++sourceShift_;
  const size_t width = size_t{1} << classShift_;
  const size_t sourceWidth = size_t{1} << sourceShift_;
  const size_t states = target.size() / width;
  auto endsIn = [this](uint32_t state) { return outBegin_[state] != outBegin_[state + 1]; };
  sourceNext_.assign(states * sourceWidth, 0);
  for (uint32_t state = 0; state < states; ++state) {
    for (size_t c = 0; c < width; ++c) {
      const uint32_t t = target[state * width + c];
      sourceNext_[state * sourceWidth + c] =
          static_cast<uint32_t>(t << sourceShift_) | (endsIn(t) ? endsHere : 0);
    }
    for (char c : special) {
      uint32_t& transition =
          sourceNext_[state * sourceWidth + sourceClass_[static_cast<unsigned char>(c)]];
      // A tab's text depends on its column, that of "<" and ">" on the bytes after them.
      if (c == '\t' || c == '<' || c == '>') {
        transition = slowStep;
        continue;
      }
      // One step for the whole escaped text, unless a keyword ends within it.
      uint32_t at = state;
      bool ends = false;
      for (char e : escapedText(std::string_view(&c, 1), 0)) {
        at = target[at * width + byteClass_[static_cast<unsigned char>(e)]];
        ends = ends || endsIn(at);
      }
      transition = ends ? slowStep : static_cast<uint32_t>(at << sourceShift_);
    }
    sourceNext_[state * sourceWidth + ampersandClass] = slowStep;
  }
}

uint32_t KeywordMatcher::readEscaped(uint32_t state, std::string_view text, size_t end,
                                     std::vector<Occurrence>& out) const {
  const size_t start = end - text.size();
  for (size_t j = 0; j < text.size(); ++j) {
    const uint32_t t =
        next_[(state << classShift_) + byteClass_[static_cast<unsigned char>(text[j])]];
    state = (t & ~flags) >> classShift_;
    if (t & endsHere) emitState(state, start + j + 1, out);
  }
  return state;
}

/// Where a sweep of a source line stands.
struct KeywordMatcher::SourceSweep {
  uint32_t row = 0;
  size_t escaped = 0;  // where the escaped text of the next byte begins
  size_t widened = 0;  // the visible column of source[i] is i + widened
};

// The rare bytes: a tab, "&", a space, "<" or ">" within whose escaped text a keyword
// ends, and a byte after which a keyword ends. Kept out of the loop, whose registers it
// would take.
void KeywordMatcher::sourceEvent(SourceSweep& at, std::string_view source, size_t i, uint32_t t,
                                 std::vector<Occurrence>& out) const {
  const unsigned char c = static_cast<unsigned char>(source[i]);
  if (!(t & slowStep)) {  // a keyword ends; only bytes that escape to themselves get here
    at.row = t & ~endsHere;
    ++at.escaped;
    emitState(at.row >> sourceShift_, at.escaped, out);
    return;
  }
  uint32_t state = at.row >> sourceShift_;
  if (c == '\t') {
    // As many "&nbsp;" as the tab is wide, each one step where no keyword ends in it.
    const size_t width = 4 - (i + at.widened) % 4;
    at.widened += width - 1;
    for (size_t k = 0; k < width; ++k) {
      at.escaped += nbsp.size();
      const uint32_t jump = nbspJump_[state];
      state = jump != noJump ? jump >> classShift_ : readEscaped(state, nbsp, at.escaped, out);
    }
  } else {
    const std::string_view text = escapedText(source, i);
    at.escaped += text.size();
    state = readEscaped(state, text, at.escaped, out);
  }
  at.row = state << sourceShift_;
}

void KeywordMatcher::findAllEscaped(std::string_view source, size_t stopAt,
                                    std::vector<Occurrence>& out) const {
  const uint32_t* next = sourceNext_.data();
  const uint8_t* cls = sourceClass_.data();
  const uint8_t* sizes = escapedSize.data();
  const unsigned char* s = reinterpret_cast<const unsigned char*>(source.data());
  SourceSweep at;
  uint32_t row = 0;
  size_t escaped = 0;
  for (size_t i = 0; i < source.size(); ++i) {
    const uint32_t t = next[row + cls[s[i]]];
    if ((t & (endsHere | slowStep)) == 0) {
      row = t;
      escaped += sizes[s[i]];
      continue;
    }
    at.row = row;
    at.escaped = escaped;
    sourceEvent(at, source, i, t, out);
    row = at.row;
    escaped = at.escaped;
    if (escaped >= stopAt) return;  // what follows the first "//" need not be read
  }
}

namespace {
/// Where the first "//" of a line begins; its size when there is none.
size_t firstLineComment(std::string_view line) {
  const char* data = line.data();
  const size_t n = line.size();
  for (const void* at = n ? std::memchr(data, '/', n) : nullptr; at;) {
    const size_t i = static_cast<size_t>(static_cast<const char*>(at) - data);
    if (i + 1 >= n) break;
    if (data[i + 1] == '/') return i;
    at = std::memchr(data + i + 1, '/', n - i - 1);
  }
  return n;
}
}  // namespace

unsigned KeywordMatcher::escapeAndFind(std::string& out, std::string_view source,
                                       std::vector<Occurrence>& found) const {
  found.clear();
  LineEscaper escaper(source);
  const uint32_t* next = sourceNext_.data();
  const uint8_t* cls = sourceClass_.data();
  const unsigned char* s = reinterpret_cast<const unsigned char*>(source.data());
  const size_t stop = slashFree_ ? firstLineComment(source) : source.size();
  uint32_t row = 0;
  escaper.putVisiting(0, stop, [&](size_t i, size_t escaped, size_t widened) {
    const uint32_t t = next[row + cls[s[i]]];
    if ((t & (endsHere | slowStep)) == 0) {
      row = t;
      return;
    }
    SourceSweep at;
    at.row = row;
    at.escaped = escaped;
    at.widened = widened;
    sourceEvent(at, source, i, t, found);
    row = at.row;
  });
  escaper.putRest(stop);
  escaper.appendTo(out);
  return escaper.holds();
}

bool KeywordMatcher::occursIn(std::string_view text) const {
  uint32_t row = 0;
  for (char c : text) {
    const uint32_t t = next_[row + byteClass_[static_cast<unsigned char>(c)]];
    if (t & endsHere) return true;
    row = t & ~flags;
  }
  return false;
}

const KeywordMatcher& keywordMatcherFor(SourceLanguage language) {
  // Each built on first use (thread-safe, and tested once per call), so that a run of C++
  // files builds the C++ automaton alone; the tables never change.
  switch (language) {
    case SourceLanguage::CSharp: {
      static const KeywordMatcher csharp{keywordTableFor(SourceLanguage::CSharp)};
      return csharp;
    }
    case SourceLanguage::Java: {
      static const KeywordMatcher java{keywordTableFor(SourceLanguage::Java)};
      return java;
    }
    case SourceLanguage::VB: {
      static const KeywordMatcher vb{keywordTableFor(SourceLanguage::VB)};
      return vb;
    }
    case SourceLanguage::Cpp:
    case SourceLanguage::None:
      break;
  }
  static const KeywordMatcher cpp{keywordTableFor(SourceLanguage::Cpp)};
  return cpp;
}

}  // namespace quillon
