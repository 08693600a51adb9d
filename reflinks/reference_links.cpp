#include "reflinks/reference_links.h"

#include "engine/page_writer.h"
#include "platform/platform.h"

namespace quillon {

namespace {

// The writer turns each LF into CR LF, so the file's lines end in CR LF everywhere.
constexpr std::string_view fileHead =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<referenceLinks>\n";
constexpr std::string_view fileTail = "</referenceLinks>\n";

void appendLine(std::string& text, std::string_view line) {
  text += line;
  text += '\n';
}

// The file is written beside its target, pushed onto the disk and only then renamed into
// place, so a save that fails or is cut short (even by a crash) leaves the previous file.
// A symbolic link is saved through to the file it leads to, and the new file takes the
// old one's permissions before it holds anything (a private file stays private).
bool writeLinksFile(const std::string& path, std::string body) {
  std::string text(fileHead);
  text += body;
  text += fileTail;
  PageWriter writer;
  if (!writer.open(platform::linkTargetOf(path)) || !writer.keepPermissions()) return false;
  writer.write(text);
  return writer.commit(Durability::OnDisk);
}

}  // namespace

void clearReferenceLinks(ReferenceLinkTable& table) {
  table.links.clear();
  table.index.clear();
}

const std::string* findReferenceLink(const ReferenceLinkTable& table, std::string_view word) {
  auto it = table.index.find(word);
  if (it == table.index.end()) return nullptr;
  return &table.links[static_cast<size_t>(it->second)].link;
}

bool holdsReferenceLinks(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos ||
         text.find("<referenceLinks") != std::string_view::npos ||
         text.find("<item") != std::string_view::npos;
}

bool loadReferenceLinks(ReferenceLinkTable& table, const std::string& path) {
  clearReferenceLinks(table);
  std::string text;
  if (readWholeFile(path, &text)) parseReferenceLinks(table, text);
  return true;
}

std::string formatItemLine(const ReferenceLink& record) {
  std::string line = "<item> ";
  if (record.cpp) line += "<cpp/> ";
  if (record.csharp) line += "<csharp/> ";
  if (record.java) line += "<java/> ";
  if (record.vb) line += "<vb/> ";
  if (record.all) line += "<all/> ";
  line += "<word> " + record.word + "</word> ";
  line += " <link> " + record.link + " </link> ";
  line += "</item> ";
  return line;
}

bool saveReferenceLinksAdding(const ReferenceLinkTable& table, const std::string& path,
                              std::string_view itemLine) {
  std::string body;
  for (const ReferenceLink& record : table.links) appendLine(body, formatItemLine(record));
  appendLine(body, itemLine);
  return writeLinksFile(path, std::move(body));
}

bool saveReferenceLinksReplacing(const ReferenceLinkTable& table, const std::string& path,
                                 std::string_view word, std::string_view itemLine) {
  std::string body;
  for (const ReferenceLink& record : table.links)
    appendLine(body, record.word == word ? std::string(itemLine) : formatItemLine(record));
  return writeLinksFile(path, std::move(body));
}

bool saveReferenceLinksRemoving(const ReferenceLinkTable& table, const std::string& path,
                                std::string_view word) {
  std::string body;
  for (const ReferenceLink& record : table.links)
    if (record.word != word) appendLine(body, formatItemLine(record));
  return writeLinksFile(path, std::move(body));
}

}  // namespace quillon
