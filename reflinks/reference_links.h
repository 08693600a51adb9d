#pragma once
// The user's table of reference links (words paired with URLs), its file
// ReferenceLinks.xml, the tolerant reader of that file and the three writers.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// One word and the URL its occurrences link to, with the languages it is marked for.
/// The flags are kept and shown but do not restrict where the link applies.
struct ReferenceLink {
  std::string word;  ///< never holds a blank after reading; compared bytewise
  std::string link;
  bool cpp = false;
  bool csharp = false;
  bool java = false;
  bool vb = false;
  bool all = false;
};

/// The records in file order, and for each distinct word the position of the last
/// record that has it (that record's link is the one used in pages).
struct ReferenceLinkTable {
  std::vector<ReferenceLink> links;
  std::map<std::string, int, std::less<>> index;
};

/// The name of the file, looked for in the run's current directory.
inline constexpr std::string_view referenceLinksFileName = "ReferenceLinks.xml";

/// Empties the table and fills it from the file at `path`. A file that cannot be opened
/// leaves the table empty; a malformed one yields what the reader can make of it.
/// Returns true in every case.
bool loadReferenceLinks(ReferenceLinkTable& table, const std::string& path);

/// Whether `text` is a reference links file at all: blank, or holding a <referenceLinks>
/// or <item> tag. The reader makes no links of any other text.
bool holdsReferenceLinks(std::string_view text);

/// Fills the table from the text of a reference links file (any line ends).
void parseReferenceLinks(ReferenceLinkTable& table, std::string_view text);

/// One tag met by the reader's scanner: an opening tag with the text collected after it,
/// or a closing tag (empty text). A self-closing tag gives a closing element and then an
/// opening one. A closing tag's name runs to the next ">" or the line end; when another
/// "<" comes first, the name is kept only up to and including that "<" (it can then
/// match no tag the reader knows, as in full).
struct ReferenceLinkElement {
  std::string name;
  bool open = false;
  std::string text;
};

/// The tag scanner: the elements of a reference links file's text, in file order.
std::vector<ReferenceLinkElement> scanReferenceLinkElements(std::string_view text);

/// The item pass: appends to the table a record for every item the elements describe
/// (word and link present), with its blanks removed, and points the index at it.
void collectReferenceLinks(ReferenceLinkTable& table,
                           const std::vector<ReferenceLinkElement>& elements);

void clearReferenceLinks(ReferenceLinkTable& table);

/// The URL for `word`, or null when the table has no record with that word.
const std::string* findReferenceLink(const ReferenceLinkTable& table, std::string_view word);

/// The item line of a record, as the file holds it (without its line end).
std::string formatItemLine(const ReferenceLink& record);

/// Rewrites the file with every record of the table and then `itemLine`.
bool saveReferenceLinksAdding(const ReferenceLinkTable& table, const std::string& path,
                              std::string_view itemLine);

/// Rewrites the file with `itemLine` in place of every record whose word is `word`.
bool saveReferenceLinksReplacing(const ReferenceLinkTable& table, const std::string& path,
                                 std::string_view word, std::string_view itemLine);

/// Rewrites the file without the records whose word is `word`.
bool saveReferenceLinksRemoving(const ReferenceLinkTable& table, const std::string& path,
                                std::string_view word);

}  // namespace quillon
