#include "workspace/xref_pages.h"

#include <algorithm>
#include <atomic>
#include <set>
#include <unordered_map>

#include "engine/converter.h"
#include "engine/encoding.h"
#include "engine/html_text.h"
#include "engine/page_writer.h"
#include "engine/parallel.h"
#include "platform/platform.h"
#include "workspace/assets.h"
#include "workspace/cross_references.h"
#include "workspace/search_index.h"

namespace quillon {

namespace {

/// A file name shown (a tree's name), read as UTF-8 when it is that, else windows-1252.
std::string shownElement(const std::string& name) {
  return asciiElementText(name, isUtf8Text(name));
}

/// The text of the line of `record` in `file`, as its page reads it.
std::string_view lineOf(const WorkspaceXref& xref, std::uint32_t file, const xref::Record& record) {
  return xref.table.files[file].lineText(record.line);
}

const char* roleName(xref::Role role) {
  switch (role) {
    case xref::Role::Call:
      return "call";
    case xref::Role::Write:
      return "write";
    case xref::Role::Definition:
      return "definition";
    case xref::Role::Declaration:
      return "declaration";
    case xref::Role::Read:
      break;
  }
  return "read";
}

/// The link from the folder "xref" of `folder` to the place of `symbol`.
std::string chooserHref(const WorkspaceXref& xref, const std::string& folder,
                        std::uint32_t symbol) {
  const xref::Symbol& s = xref.table.symbols[symbol];
  const std::string target = pageLinkTarget(xref.pages[s.file], symbolAnchor(xref.table, s));
  if (xref.folders[s.file] == folder) return "../" + target;
  return "../../" + fileNameLinkTarget(xref.folders[s.file]) + "/" + target;
}

/// The link from the page of `fromFile` to the page of `file`, without a fragment; empty for
/// the page itself.
std::string pageHref(const WorkspaceXref& xref, std::uint32_t fromFile, std::uint32_t file) {
  if (file == fromFile) return std::string();
  const std::string page = fileNameLinkTarget(xref.pages[file]);
  if (xref.folders[file] == xref.folders[fromFile]) return page;
  return "../" + fileNameLinkTarget(xref.folders[file]) + "/" + page;
}

}  // namespace

std::string xrefHeadLine(std::uint32_t file) {
  // The names' links (to a definition's anchor, "#x<line>.<column>", or to a chooser) look
  // like the text around them, and a definition's name can be clicked: rules say so for
  // all of them.
  return std::string(
             "<style>a[href*=\"#x\"],a[href^=\"xref/\"]{color:inherit;text-decoration:none}"
             "a[name^=x]{cursor:pointer}</style>\n<script src=\"") +
         xrefScriptName + "\" data-uses=\"" + xrefFolderName + "/u" + std::to_string(file) +
         ".js\"></script>\n";
}

std::string symbolHref(const WorkspaceXref& xref, const std::string& folder, std::uint32_t fromFile,
                       std::uint32_t symbol) {
  const xref::Symbol& s = xref.table.symbols[symbol];
  const std::string anchor = symbolAnchor(xref.table, s);
  if (s.file == fromFile) return "#" + anchor;
  if (xref.folders[s.file] == folder) return pageLinkTarget(xref.pages[s.file], anchor);
  // a page of another workspace of the solution, beside this one
  return "../" + fileNameLinkTarget(xref.folders[s.file]) + "/" +
         pageLinkTarget(xref.pages[s.file], anchor);
}

std::string chooserPageText(const ConversionSettings& settings, const WorkspaceXref& xref,
                            const std::string& folder, std::uint32_t shard) {
  const xref::SymbolTable& table = xref.table;
  std::string text = pageHeader(settings, "utf-8");
  const size_t first = size_t{shard} * choosersPerPage;
  const size_t end = std::min(table.choosers.size(), first + choosersPerPage);
  for (size_t k = first; k < end; ++k) {
    const std::vector<std::uint32_t>& candidates = table.choosers[k];
    text += "<div id=\"c" + std::to_string(k) + "\">\n";
    if (!candidates.empty()) {
      const std::string& name = table.nameOf(table.symbols[candidates.front()]);
      text += "<p><b>" + asciiElementText(name, isUtf8Text(name)) +
              "</b>: " + std::to_string(candidates.size()) +
              (candidates.size() == 1 ? " candidate" : " candidates") + "</p>\n<ul>\n";
    }
    for (std::uint32_t candidate : candidates) {
      const xref::Symbol& s = table.symbols[candidate];
      const xref::Record& r = table.recordOf(s);
      text += "<li><a href=\"" + chooserHref(xref, folder, candidate) + "\">" +
              shownElement(xref.shown[s.file]) + " line " + std::to_string(r.line) + "</a> <code>" +
              asciiElementText(lineOf(xref, s.file, r), xref.utf8[s.file]) + "</code></li>\n";
    }
    if (!candidates.empty()) text += "</ul>\n";
    text += "</div>\n";
  }
  text += "</font>\n</body>\n\n</html>\n";  // the header opened one font, not a page's two
  return text;
}

namespace {

/// The words (kinds and roles) and the files that a uses script names, each listed once in
/// the script and named by its place in the list.
struct ScriptLists {
  std::vector<const char*> words;
  std::vector<std::uint32_t> files;
  std::unordered_map<std::uint32_t, std::uint32_t> fileIndex;

  std::uint32_t word(const char* w) {
    for (size_t i = 0; i < words.size(); ++i)
      if (std::string_view(words[i]) == w) return static_cast<std::uint32_t>(i);
    words.push_back(w);
    return static_cast<std::uint32_t>(words.size() - 1);
  }
  std::uint32_t file(std::uint32_t f) {
    auto [at, added] = fileIndex.try_emplace(f, static_cast<std::uint32_t>(files.size()));
    if (added) files.push_back(f);
    return at->second;
  }
};

/// Appends a symbol defined on the page of `file`, for its uses panel, keyed by its
/// anchor: its kind, number of uses and the first `listedUsesLimit` of them by file (the
/// name is the anchor's text on the page).
void appendDefinitionEntry(std::string& out, ScriptLists& lists, const WorkspaceXref& xref,
                           std::uint32_t file, std::uint32_t symbol) {
  const xref::SymbolTable& table = xref.table;
  const xref::Symbol& s = table.symbols[symbol];
  out += '"';
  out += symbolAnchor(table, s);
  out += "\":[";
  appendDecimal(out, lists.word(xref::kindName(table.recordOf(s).kind)));
  out += ',';
  appendDecimal(out, static_cast<std::uint32_t>(table.uses[symbol].size()));
  out += ",[";
  // The list of uses is by file and place: a group starts where the file changes.
  std::uint32_t listed = 0, groupFile = xref::none;
  bool utf8 = false;
  for (const xref::Use& use : table.uses[symbol]) {
    if (listed++ == listedUsesLimit) break;
    if (use.file != groupFile) {
      if (groupFile != xref::none) out += "]],";
      groupFile = use.file;
      utf8 = xref.utf8[use.file];
      out += '[';
      appendDecimal(out, lists.file(use.file));
      out += ",[";
    } else {
      out += ',';
    }
    const xref::Record& u = table.files[use.file].records[use.record];
    // A read on the page itself is its line alone; the text of a line of the page itself
    // is read from the page.
    if (use.file == file && u.role == xref::Role::Read) {
      appendDecimal(out, u.line);
      continue;
    }
    out += '[';
    appendDecimal(out, u.line);
    out += ',';
    appendDecimal(out, lists.word(roleName(u.role)));
    if (use.file != file) {
      out += ',';
      appendScriptString(out, lineOf(xref, use.file, u), utf8);
    }
    out += ']';
  }
  out += "]]]]";
}

/// Appends a symbol that a name of the page of `file` leads to, for its tooltip, keyed by
/// the link: its kind and number of uses, and on another page its file and the line's
/// text (the name is the link's text, the line is in the link's anchor, and a line of the
/// page itself is read from the page).
void appendTargetEntry(std::string& out, ScriptLists& lists, const WorkspaceXref& xref,
                       std::uint32_t file, std::uint32_t symbol) {
  const xref::SymbolTable& table = xref.table;
  const xref::Symbol& s = table.symbols[symbol];
  const xref::Record& r = table.recordOf(s);
  const std::string href = symbolHref(xref, xref.folders[file], file, symbol);
  appendScriptString(out, href, isUtf8Text(href));
  out += ":[";
  appendDecimal(out, lists.word(xref::kindName(r.kind)));
  out += ',';
  appendDecimal(out, static_cast<std::uint32_t>(table.uses[symbol].size()));
  if (s.file != file) {
    out += ',';
    appendDecimal(out, lists.file(s.file));
    out += ',';
    appendScriptString(out, lineOf(xref, s.file, r), xref.utf8[s.file]);
  }
  out += ']';
}

}  // namespace

std::string usesScriptText(const WorkspaceXref& xref, std::uint32_t file) {
  // The symbols whose own place is on this page, and where each link of the page leads.
  std::vector<std::uint32_t> defined, targets;
  for (const xref::Link& link : xref.table.links[file]) {
    if (link.kind == xref::Link::Kind::Chooser) continue;
    (link.kind == xref::Link::Kind::Anchor ? defined : targets).push_back(link.target);
  }
  for (std::vector<std::uint32_t>* list : {&defined, &targets}) {
    std::sort(list->begin(), list->end());
    list->erase(std::unique(list->begin(), list->end()), list->end());
  }
  // The entries first: the lists of words and files they name come before them.
  ScriptLists lists;
  lists.file(file);  // the page's own file comes first
  // Most definitions of a header are used nowhere: they are listed by kind, by anchor alone.
  std::vector<std::pair<std::uint32_t, std::string>> unused;  // (kind's word, anchors)
  std::string entries = "defs:{";
  const char* separator = "\n";
  for (std::uint32_t symbol : defined) {
    const xref::Symbol& s = xref.table.symbols[symbol];
    if (xref.table.uses[symbol].empty()) {
      const std::uint32_t kind = lists.word(xref::kindName(xref.table.recordOf(s).kind));
      auto group = std::find_if(unused.begin(), unused.end(),
                                [&](const auto& g) { return g.first == kind; });
      if (group == unused.end()) group = unused.insert(unused.end(), {kind, std::string()});
      if (!group->second.empty()) group->second += ' ';
      group->second += symbolAnchor(xref.table, s);
      continue;
    }
    entries += separator;
    appendDefinitionEntry(entries, lists, xref, file, symbol);
    separator = ",\n";
  }
  entries += "},\nunused:[";
  separator = "\n";
  for (const auto& [kind, anchors] : unused) {
    entries += separator;
    entries += '[';
    appendDecimal(entries, kind);
    entries += ",\"";
    entries += anchors;
    entries += "\"]";
    separator = ",\n";
  }
  entries += "],\ntargets:{";
  separator = "\n";
  for (std::uint32_t symbol : targets) {
    entries += separator;
    appendTargetEntry(entries, lists, xref, file, symbol);
    separator = ",\n";
  }
  entries += "}});\n";

  const std::string& page = xref.pages[file];
  std::string out = "quillonXref({page:";
  appendScriptString(out, page, isUtf8Text(page));
  out += ",\nwords:[";
  for (size_t i = 0; i < lists.words.size(); ++i) {
    if (i) out += ',';
    out += '"';
    out += lists.words[i];
    out += '"';
  }
  out += "],\nfiles:[";
  for (size_t i = 0; i < lists.files.size(); ++i) {
    const std::uint32_t f = lists.files[i];
    const std::string href = pageHref(xref, file, f);
    out += i ? ",\n[" : "\n[";
    appendScriptString(out, xref.shown[f], isUtf8Text(xref.shown[f]));
    out += ',';
    appendScriptString(out, href, isUtf8Text(href));
    out += ']';
  }
  out += "],\n";
  out += entries;
  return out;
}

void writeXrefFiles(const ConversionSettings& settings, RunState& run, const WorkspaceXref& xref,
                    const std::string& folder, const std::string& directory) {
  const std::string xrefDirectory = platform::joinPath(directory, xrefFolderName);
  if (!platform::createDirectory(xrefDirectory)) {
    addProblem(run, "<" + folder + "/" + xrefFolderName + " can't be created>");
    return;
  }
  std::string script;
  if (!readWholeFile(platform::joinPath(settings.startupDirectory, xrefScriptName), &script)) {
    addProblem(run, "<" + std::string(xrefScriptName) + " can't be read>");
  } else {
    script.erase(std::remove(script.begin(), script.end(), '\r'), script.end());
    if (!writeTextFile(platform::joinPath(directory, xrefScriptName), script))
      addProblem(run, "<" + std::string(xrefScriptName) + " can't be written>");
  }
  // The files are written on the run's threads: the uses scripts of the folder's pages,
  // then the chooser pages they link to.
  std::set<std::uint32_t> shardSet;
  std::vector<std::string> names;
  std::vector<std::uint32_t> items;  // per name: its file, or its chooser page
  for (std::uint32_t file = 0; file < xref.table.files.size(); ++file) {
    if (xref.folders[file] != folder) continue;
    for (const xref::Link& link : xref.table.links[file])
      if (link.kind == xref::Link::Kind::Chooser) shardSet.insert(link.target / choosersPerPage);
    names.push_back("u" + std::to_string(file) + ".js");
    items.push_back(file);
  }
  const size_t scripts = names.size();
  for (std::uint32_t shard : shardSet) {
    names.push_back("c" + std::to_string(shard) + ".htm");
    items.push_back(shard);
  }
  std::atomic<bool> ok{true};
  forEachOnThreads(names.size(), settings.jobs, [&](size_t i) {
    if (run.stopRequested) return;
    const std::string text = i < scripts ? usesScriptText(xref, items[i])
                                         : chooserPageText(settings, xref, folder, items[i]);
    if (!writeTextFile(platform::joinPath(xrefDirectory, names[i]), text)) ok = false;
  });
  if (!ok) addProblem(run, "<" + folder + "/" + xrefFolderName + " can't be written>");
  if (!run.stopRequested)
    removeOtherFiles(xrefDirectory, std::unordered_set<std::string>(names.begin(), names.end()));
}

}  // namespace quillon
