// A test tool: scans every source file below a folder, merges the records and prints
// where each one leads, for the yardsticks that compare the cross-references with a
// compiler's and with ctags' answers. One line per record, by file and place:
//   def PATH:LINE:COLUMN NAME KIND ROLE     a definition or declaration
//   use PATH:LINE:COLUMN NAME -> PATH:LINE:COLUMN | chooser | none
// PATH relative to the folder, LINE from 1, COLUMN a byte offset from 0.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/file_kinds.h"
#include "platform/platform.h"
#include "xref/scan.h"
#include "xref/table.h"

using namespace quillon;
using namespace quillon::xref;

namespace {

void walk(const std::string& root, const std::string& prefix, int depth,
          std::vector<std::string>& files) {
  std::vector<platform::DirectoryEntry> entries;
  if (depth > 64 || !platform::readDirectory(platform::joinPath(root, prefix), &entries)) return;
  for (const platform::DirectoryEntry& e : entries) {
    if (e.hidden || e.isLink) continue;
    const std::string path = prefix.empty() ? e.name : prefix + "/" + e.name;
    if (e.isDirectory)
      walk(root, path, depth + 1, files);
    else if (languageOf(e.name) != SourceLanguage::None)
      files.push_back(path);
  }
}

const char* roleName(Role role) {
  static constexpr const char* names[] = {"Definition", "Declaration", "Read", "Call", "Write"};
  return names[static_cast<int>(role)];
}

std::string placeOf(const std::vector<std::string>& paths, const SymbolTable& table,
                    const Symbol& symbol) {
  const Record& r = table.recordOf(symbol);
  return paths[symbol.file] + ":" + std::to_string(r.line) + ":" + std::to_string(r.column);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: xref_dump DIR\n");
    return 2;
  }
  const std::string root = argv[1];
  std::vector<std::string> paths;
  walk(root, "", 0, paths);
  SymbolTable table;
  std::vector<std::string> kept;
  for (const std::string& path : paths) {
    std::string text;
    if (!readSourceText(platform::joinPath(root, path), &text)) continue;
    table.files.push_back(scanSource(text, languageOf(path)));
    kept.push_back(path);
  }
  resolveSymbols(table);
  for (std::uint32_t f = 0; f < table.files.size(); ++f) {
    const FileScan& scan = table.files[f];
    // The links of the file by place, to find each record's.
    const std::vector<Link>& links = table.links[f];
    size_t next = 0;
    for (const Record& r : scan.records) {
      const std::string where = kept[f] + ":" + std::to_string(r.line) + ":" + std::to_string(r.column);
      const std::string& name = scan.names[r.name];
      const Link* link = nullptr;
      while (next < links.size() && links[next].line < r.line) ++next;
      for (size_t k = next; k < links.size() && links[k].line == r.line; ++k)
        if (links[k].name == r.name && links[k].ordinal == r.ordinal) link = &links[k];
      if (!isUse(r.role)) {
        std::printf("def %s %s %s %s\n", where.c_str(), name.c_str(), kindName(r.kind),
                    roleName(r.role));
        continue;
      }
      std::string to = "none";
      if (link && link->kind == Link::Kind::Chooser) to = "chooser";
      if (link && link->kind != Link::Kind::Chooser)
        to = placeOf(kept, table, table.symbols[link->target]);
      std::printf("use %s %s -> %s\n", where.c_str(), name.c_str(), to.c_str());
    }
  }
  return 0;
}
