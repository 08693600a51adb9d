// The keyword pass over a whole table at once. The rule (`colourKeyword`) takes the
// keywords one by one in table order; each one's first occurrence is tested and, while
// occurrences qualify, wrapped in tags, each keyword seeing the tags of those before it.
// This pass reaches the same line by working on the line as it was when the pass began
// (L0), recording the tags at its gaps (gap g: before character g), and building the
// line once at the end. It relies on four facts, checked where they depend on input:
//
//  1. The inserted tags hold no keyword, and no keyword holds "<" or ">" (which begin and
//     end every tag), so a tag never creates an occurrence and the occurrences in the
//     edited line are those of L0 that no tag has split. One sweep over L0 finds them all.
//  2. Tags hold no "/", "*" pair and keywords neither begin with "/" nor end with "/" or
//     "*", so the first "//", "/*" and "*/" of the edited line are those of L0.
//  3. A keyword never begins with a quote nor ends with a backslash, and a tag's quotes
//     come in pairs; so the quote test reads L0's quotes plus the tags' positions
//     (QuoteIndex::insideWithTags).
//  4. The character before an occurrence is ">" when a tag ends there, the character
//     after it "<" when one begins there; neither is a word character.
//  5. A tag is placed only around an occurrence outside the tags of earlier passes, and
//     the keyword holds no "<", so no tag stands inside another; each ends with ">".
//     Whether a position of L0 lies inside a tag (`insideTag`) is therefore the same in
//     the edited line: the last "<" before it is L0's, or one of a closed tag.
// At one gap the closing tags stand before the opening ones (a close goes directly after
// its keyword, an open directly before), and all opening tags are alike, as are all
// closing ones, so a count of each per gap fixes the text.
#include <algorithm>
#include <cstring>

#include "engine/converter.h"
#include "engine/keyword_matcher.h"
#include "engine/keyword_sets.h"
#include "engine/keywords.h"
#include "engine/line_index.h"
#include "engine/text_tests.h"
#include "engine/thread_scratch.h"

namespace quillon {

namespace {

constexpr std::string_view fontClose = "</font>";

/// Facts 1 to 3 for an opening tag (whose colour is the user's) with "</font>", and the
/// table's keywords: "<" and ">" only at the tag's ends, no comment marker or backslash,
/// quotes in pairs, no keyword within.
bool tagsAreNeutral(const KeywordMatcher& matcher, const std::string& open) {
  if (open.size() < 2 || open.front() != '<' || open.back() != '>') return false;
  if (open.find_first_of("<>", 1) != open.size() - 1) return false;
  if (open.find_first_of("/*\\") != npos) return false;
  if (std::count(open.begin(), open.end(), '"') % 2 != 0) return false;
  if (matcher.occursIn(open) || matcher.occursIn(fontClose)) return false;
  for (size_t id = 0; id < matcher.distinctCount(); ++id) {
    std::string_view w = matcher.word(id);
    if (w.find_first_of("<>\"\\") != npos) return false;
    if (w.front() == '/' || w.front() == '*' || w.back() == '/' || w.back() == '*') return false;
  }
  return true;
}

/// The last tag found neutral for a table (`tagsAreNeutral` runs once per page, not
/// once per line).
class NeutralTag {
 public:
  bool check(const KeywordMatcher& matcher, const std::string& tag);

 private:
  uint64_t matcher_ = 0;  ///< the serial of the matcher (a later one may reuse an address)
  std::string tag_;
};

/// The tags placed at each gap of L0, one byte a gap so that a line of megabytes costs no
/// more than its size again: the opening ones in the low four bits, the closing ones in
/// the high four. A table entry places at most one tag of each kind at a gap, so more than
/// fourteen of a kind at one gap takes a table of many words that begin (or end) alike and
/// stand apart from each other by a byte that is no word character ("a", "a$b", "a$b$c",
/// ...); a pass that meets it says so, and the line is coloured the plain way.
class GapTags {
 public:
  void cover(size_t gaps) {
    if (counts_.size() < gaps) counts_.resize(gaps, 0);
  }
  bool any(size_t gap) const { return counts_[gap] != 0; }
  void addOpen(size_t gap) { add(gap, 0x01); }
  void addClose(size_t gap) { add(gap, 0x10); }
  uint32_t opens(size_t gap) const { return counts_[gap] & 0x0F; }
  uint32_t closes(size_t gap) const { return counts_[gap] >> 4; }
  void clear(size_t gap) { counts_[gap] = 0; }
  /// Whether a count ran out of room since the last `resetFull`.
  bool full() const { return full_; }
  void resetFull() { full_ = false; }

 private:
  void add(size_t gap, unsigned one) {
    if ((counts_[gap] & (one * 0x0F)) == one * 0x0F) {
      full_ = true;
      return;
    }
    counts_[gap] = static_cast<uint8_t>(counts_[gap] + one);
  }

  std::vector<uint8_t> counts_;
  bool full_ = false;
};

/// The state of one run of the pass over L0: the tags placed so far, per gap.
class KeywordPass {
 public:
  /// Finds the keywords of L0; false when none occurs (the pass then changes nothing).
  bool begin(std::string_view line, const KeywordMatcher& matcher, KeywordLineFacts facts,
             std::string_view open);
  /// Colours the table entries whose keywords occur, in table order.
  void colourEntries();
  /// The line with every tag placed; false when nothing was placed.
  bool finish(const std::string& open, std::string& out);
  /// Whether the tags at one gap outgrew their count (see GapTags): the run must then be
  /// dropped with `abandon` and the line coloured the plain way.
  bool outgrown() const { return tags_.full(); }
  void abandon() {
    for (size_t g : tagged_) tags_.clear(g);
    tagged_.clear();
  }
  /// Whether "class", "struct" or "enum" was coloured.
  bool colouredDeclaring() const { return colouredDeclaring_; }

 private:
  bool hasTag(size_t gap) const { return tags_.any(gap); }
  void findInSource(std::string_view source, size_t stopAt, std::vector<KeywordOccurrence>* found);
  void findAroundTags(std::string_view source, std::vector<KeywordOccurrence>* found);
  bool anyStandsAlone() const;
  void sortOccurrences();
  bool split(size_t p, size_t e) const;
  bool qualifies(size_t p, size_t e);
  void place(size_t p, size_t e);
  /// Wraps the qualifying chain of one table entry, exactly as `colourKeyword` would on
  /// the line edited so far; its keyword's occurrences are found_[begin, end), in order.
  void colourEntry(size_t id, size_t begin, size_t end);

  std::string_view line_;
  const KeywordMatcher* matcher_ = nullptr;
  CommentMarkers markers_;
  QuoteIndex quotes_;
  TagIndex tagIndex_;
  std::vector<KeywordMatcher::Occurrence> found_;
  std::vector<uint64_t> order_;  ///< for sorting many occurrences
  std::vector<std::pair<size_t, size_t>> tagSpans_;
  NeutralTag commentTag_;
  char paddedOpen_[32] = {};
  std::vector<size_t> count_;  ///< per table entry, for sorting many occurrences
  struct Run {
    size_t entry, begin, end;
  };
  std::vector<Run> runs_;  ///< the table entries to colour, in order, with their occurrences
  GapTags tags_;  ///< none outside a run of the pass
  std::vector<size_t> tagged_;  ///< gaps holding tags
  size_t lastOpenGap_ = npos;   ///< the rightmost opening tag
  bool quotedTags_ = false;     ///< whether the opening tag holds quotes
  bool colouredDeclaring_ = false;
};

bool KeywordPass::begin(std::string_view line, const KeywordMatcher& matcher,
                        KeywordLineFacts facts, std::string_view open) {
  line_ = line;
  matcher_ = &matcher;
  quotedTags_ = open.find('"') != npos;
  markers_ = facts.mayHoldSlash ? CommentMarkers::of(line) : CommentMarkers{};
  // An occurrence after the first "//" fails its test and ends its chain, as running out
  // of occurrences does; and no keyword holds "/", so none starts before it and ends
  // after it. The part after it need not be searched.
  found_.clear();
  // Found in the escaped source, an occurrence lies outside the comment passes' tags
  // (the only ones then), so the tag test has nothing to find.
  bool outsideTags = true;
  if (facts.source && matcher.searchesSource() && !facts.commentTag) {
    findInSource(*facts.source, markers_.lineComment, facts.found);
  } else if (facts.source && matcher.searchesSource() &&
             commentTag_.check(matcher, *facts.commentTag)) {
    findAroundTags(*facts.source, facts.found);
  } else {
    matcher.findAll(line.substr(0, markers_.lineComment), found_);
    outsideTags = false;
  }
  if (!anyStandsAlone()) return false;
  sortOccurrences();
  // A keyword listed twice in the table is coloured at each of its places; only then do
  // the runs need putting in table order.
  runs_.clear();
  bool repeated = false;
  for (size_t b = 0, e; b < found_.size(); b = e) {
    const size_t rank = found_[b].rank();
    for (e = b + 1; e < found_.size() && found_[e].rank() == rank; ++e) {
    }
    const size_t id = matcher.idOf(rank);
    runs_.push_back({rank, b, e});
    if (matcher.repeated(id)) {
      repeated = true;
      for (uint32_t entry : matcher.entriesOf(id))
        if (entry != rank) runs_.push_back({entry, b, e});
    }
  }
  if (repeated)
    std::sort(runs_.begin(), runs_.end(),
              [](const Run& a, const Run& b) { return a.entry < b.entry; });

  tags_.cover(line.size() + 1);
  tags_.resetFull();
  tagged_.clear();
  quotes_.clear();
  tagIndex_.clear();
  if (outsideTags) tagIndex_.build({});
  if (!facts.mayHoldQuote) quotes_.build({});  // no quote: nothing to look for
  lastOpenGap_ = npos;
  colouredDeclaring_ = false;
  return true;
}

/// The occurrences in the escaped form of `source`: those the line pass found while it
/// escaped the line, when it did, else a search up to `stopAt` (an escaped position).
void KeywordPass::findInSource(std::string_view source, size_t stopAt,
                               std::vector<KeywordOccurrence>* found) {
  if (found)
    found_.swap(*found);
  else
    matcher_->findAllEscaped(source, stopAt, found_);
}

/// The search of a source line whose escaped form the comment passes have given tags:
/// a tag holds no keyword, none stands inside one (they stand next to "/", "*", "'" or
/// at the end), and each is "<...>" with no "<" or ">" within, while escaped text holds
/// no "<". So the occurrences are those of the escaped form, moved by the tags before.
void KeywordPass::findAroundTags(std::string_view source, std::vector<KeywordOccurrence>* found) {
  tagSpans_.clear();  // (escaped position the tag stands before, its length)
  size_t inserted = 0, beforeComment = 0;
  for (size_t q = line_.find('<'); q != npos; q = line_.find('<', q)) {
    const size_t end = line_.find('>', q);
    const size_t length = (end == npos ? line_.size() : end + 1) - q;
    tagSpans_.push_back({q - inserted, length});
    inserted += length;
    if (q < markers_.lineComment) beforeComment += length;
    q += length;
  }
  const size_t stopAt = markers_.lineComment == npos ? npos : markers_.lineComment - beforeComment;
  findInSource(source, stopAt, found);
  // Ends come in ascending order; a character moves by the tags standing at or before it.
  size_t k = 0, shift = 0;
  for (KeywordMatcher::Occurrence& o : found_) {
    const size_t length = matcher_->word(matcher_->idOf(o.rank())).size();
    const size_t last = o.start() + length - 1;
    for (; k < tagSpans_.size() && tagSpans_[k].first <= last; ++k) shift += tagSpans_[k].second;
    o.key += shift;
  }
}

/// Whether some occurrence has no word character on either side (in L0, with no tag
/// placed). When none has, every keyword's first occurrence fails and no tag is ever
/// placed: the usual outcome for keywords found only inside longer words.
bool KeywordPass::anyStandsAlone() const {
  for (const KeywordMatcher::Occurrence& o : found_) {
    const size_t p = o.start();
    const size_t e = p + matcher_->word(matcher_->idOf(o.rank())).size();
    if (e < line_.size() && isWordChar(line_[e])) continue;
    if (p > 0 && isWordChar(line_[p - 1]) && !(p >= 5 && line_.compare(p - 5, 5, "&nbsp") == 0))
      continue;
    return true;
  }
  return false;
}

/// Few occurrences (the usual line) are put in order by insertion; many by counting
/// them per table entry, which keeps each keyword's in their ascending order.
void KeywordPass::sortOccurrences() {
  const size_t n = found_.size();
  if (n <= 32) {
    // Most are in order already. (Written so that the shifting loop stays a plain one:
    // moved in pairs, each move would read what the one before had just written.)
    for (size_t i = 1; i < n; ++i) {
      const uint64_t key = found_[i].key;
      if (found_[i - 1].key <= key) continue;
      size_t j = i;
      do {
        found_[j].key = found_[j - 1].key;
        --j;
      } while (j > 0 && found_[j - 1].key > key);
      found_[j].key = key;
    }
    return;
  }
  count_.assign(matcher_->entryCount() + 1, 0);
  for (auto o : found_) ++count_[o.rank() + 1];
  for (size_t r = 1; r < count_.size(); ++r) count_[r] += count_[r - 1];
  order_.resize(n);
  for (auto o : found_) order_[count_[o.rank()]++] = o.key;
  for (size_t i = 0; i < n; ++i) found_[i].key = order_[i];
}

void KeywordPass::colourEntries() {
  for (const Run& run : runs_) colourEntry(matcher_->idOf(run.entry), run.begin, run.end);
}

/// A tag inside the occurrence: the edited line no longer holds it, and the search
/// passes over it to the next one.
bool KeywordPass::split(size_t p, size_t e) const {
  if (tagged_.empty()) return false;
  for (size_t g = p + 1; g < e; ++g)
    if (hasTag(g)) return true;
  return false;
}

bool KeywordPass::qualifies(size_t p, size_t e) {
  // The character after: "<" when a tag begins at e (fact 4), else L0's.
  if (!hasTag(e) && e < line_.size() && isWordChar(line_[e])) return false;
  // The character before: ">" when a tag ends at p. The five before spell "&nbsp" in the
  // edited line only when no tag stands between them.
  if (!hasTag(p) && p > 0 && isWordChar(line_[p - 1])) {
    bool nbsp = p >= 5 && line_.compare(p - 5, 5, "&nbsp") == 0;
    for (size_t g = p - 4; nbsp && g < p; ++g) nbsp = !hasTag(g);
    if (!nbsp) return false;
  }
  if (markers_.hideAt(p)) return false;  // fact 2
  if (!tagIndex_.built()) tagIndex_.build(line_);
  if (tagIndex_.inside(p)) return false;  // fact 5
  if (!quotes_.built()) quotes_.build(line_);
  const bool quotedTagAtOrAfter = quotedTags_ && lastOpenGap_ != npos && lastOpenGap_ >= e;
  return !quotes_.insideWithTags(e, hasTag(e), quotedTagAtOrAfter);  // fact 3
}

void KeywordPass::place(size_t p, size_t e) {
  if (!hasTag(p)) tagged_.push_back(p);
  tags_.addOpen(p);
  if (!hasTag(e)) tagged_.push_back(e);
  tags_.addClose(e);
  if (lastOpenGap_ == npos || p > lastOpenGap_) lastOpenGap_ = p;
}

void KeywordPass::colourEntry(size_t id, size_t begin, size_t end) {
  const size_t length = matcher_->word(id).size();
  size_t from = 0;  // the search goes on after the closing tag just placed
  for (size_t k = begin; k < end; ++k) {
    const size_t p = found_[k].start();
    const size_t e = p + length;
    if (p < from || split(p, e)) continue;
    if (!qualifies(p, e)) return;  // the first occurrence found decides for the rest
    place(p, e);
    from = e;
    colouredDeclaring_ = colouredDeclaring_ || matcher_->declares(id);
  }
}

bool KeywordPass::finish(const std::string& open, std::string& out) {
  if (tagged_.empty()) return false;
  if (tagged_.size() <= 16) {  // the usual few: by insertion, as the occurrences
    for (size_t i = 1; i < tagged_.size(); ++i) {
      const size_t gap = tagged_[i];
      if (tagged_[i - 1] <= gap) continue;
      size_t j = i;
      do {
        tagged_[j] = tagged_[j - 1];
        --j;
      } while (j > 0 && tagged_[j - 1] > gap);
      tagged_[j] = gap;
    }
  } else {
    std::sort(tagged_.begin(), tagged_.end());
  }
  // A short opening tag is copied from a padded copy in one fixed-size move, into room
  // made that much larger.
  constexpr size_t pad = 32;
  const bool shortTag = open.size() <= pad;
  if (shortTag) std::memcpy(paddedOpen_, open.data(), open.size());
  size_t size = line_.size();
  for (size_t g : tagged_)
    size += tags_.closes(g) * fontClose.size() + tags_.opens(g) * open.size();
  out.resize(size + pad);
  char* w = out.data();
  size_t copied = 0;
  for (size_t g : tagged_) {
    std::memcpy(w, line_.data() + copied, g - copied);
    w += g - copied;
    copied = g;
    for (uint32_t i = tags_.closes(g); i > 0; --i, w += fontClose.size())
      std::memcpy(w, fontClose.data(), 8);  // "</font>" and its terminating zero
    for (uint32_t i = tags_.opens(g); i > 0; --i, w += open.size()) {
      if (shortTag)
        std::memcpy(w, paddedOpen_, pad);
      else
        std::memcpy(w, open.data(), open.size());
    }
    tags_.clear(g);
  }
  std::memcpy(w, line_.data() + copied, line_.size() - copied);
  out.resize(size);
  return true;
}

bool NeutralTag::check(const KeywordMatcher& matcher, const std::string& tag) {
  if (matcher.serial() == matcher_ && sameText(tag, tag_)) return true;
  if (!tagsAreNeutral(matcher, tag)) return false;
  matcher_ = matcher.serial();
  tag_ = tag;
  return true;
}

struct KeywordScratch {
  const KeywordMatcher* matchers[5] = {};  ///< of the fixed tables, by SourceLanguage
  KeywordPass pass;
  std::string out;
  NeutralTag keywordTag;
};

}  // namespace

bool colourKeywords(const SourceFileConverter& converter, std::string& line,
                    SourceLanguage language, KeywordLineFacts facts) {
  if (converter.inBlockComment || line.empty()) return false;
  KeywordScratch& scratch = threadScratch<KeywordScratch>();
  const KeywordMatcher*& known = scratch.matchers[static_cast<int>(language)];
  if (!known) known = &keywordMatcherFor(language);
  const KeywordMatcher& matcher =
      converter.keywords ? converter.keywords->matcher(language) : *known;
  const std::string& open = converter.markup.keywordOpen;
  auto plainWay = [&] {
    for (std::string_view keyword : keywordTableFor(converter, language))
      colourKeyword(converter, line, keyword, 0);
    return true;
  };
  if (!scratch.keywordTag.check(matcher, open)) return plainWay();
  KeywordPass& pass = scratch.pass;
  if (!pass.begin(line, matcher, facts, open)) return false;
  pass.colourEntries();
  if (pass.outgrown()) {
    pass.abandon();
    return plainWay();
  }
  if (pass.finish(open, scratch.out)) line.swap(scratch.out);
  return pass.colouredDeclaring();
}

void colourKeywords(const SourceFileConverter& converter, std::string& line,
                    SourceLanguage language) {
  colourKeywords(converter, line, language, KeywordLineFacts{});
}

}  // namespace quillon
