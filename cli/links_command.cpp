#include "cli/links_command.h"

#include <algorithm>
#include <iterator>

#include "app/reference_links_dialog.h"
#include "cli/options.h"
#include "engine/page_writer.h"
#include "platform/platform.h"
#include "reflinks/reference_links.h"
#include "reflinks/rewrite_check.h"
#include "reflinks/url_safety.h"

namespace quillon {

namespace {

struct LinksRequest {
  std::string operation;  ///< list, add or remove
  std::vector<std::string> operands;
  std::string file;
  bool haveLanguages = false;
  std::string languages;  ///< as given to --lang
  bool help = false;
};

struct Language {
  const char* name;
  bool ReferenceLink::*flag;
};
// In the order of the item line's flags.
constexpr Language languages[] = {{"cpp", &ReferenceLink::cpp},
                                  {"cs", &ReferenceLink::csharp},
                                  {"java", &ReferenceLink::java},
                                  {"vb", &ReferenceLink::vb},
                                  {"all", &ReferenceLink::all}};

bool refuse(std::string* error, std::string text) {
  *error = std::move(text);
  return false;
}

bool parseRequest(const std::vector<std::string>& args, LinksRequest* r, std::string* error) {
  bool operandsOnly = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string* value = nullptr;
    if (operandsOnly || a.empty() || a[0] != '-') {
      if (r->operation.empty()) r->operation = a;
      else r->operands.push_back(a);
      continue;
    }
    if (a == "--") {
      operandsOnly = true;
    } else if (a == "-h" || a == "--help") {
      r->help = true;
    } else if (a == "--links") {
      value = &r->file;
    } else if (a == "--lang") {
      value = &r->languages;
      r->haveLanguages = true;
    } else {
      return refuse(error, "unknown option " + a + " for links");
    }
    if (value && i + 1 >= args.size()) return refuse(error, "option " + a + " needs a value");
    if (value) *value = args[++i];
  }
  if (r->help) return true;
  if (r->operation != "list" && r->operation != "add" && r->operation != "remove")
    return refuse(error, r->operation.empty() ? "links needs list, add or remove"
                                              : "unknown links operation " + r->operation);
  const size_t wanted = r->operation == "list" ? 0 : r->operation == "add" ? 2 : 1;
  if (r->operands.size() != wanted)
    return refuse(error, "links " + r->operation + " takes " +
                             (wanted == 0 ? "no operand" : wanted == 1 ? "a WORD" : "a WORD and a URL"));
  if (r->haveLanguages && r->operation != "add")
    return refuse(error, "option --lang is for links add");
  return true;
}

bool parseLanguages(const std::string& list, ReferenceLink* record, std::string* error) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = std::min(list.find(',', start), list.size());
    const std::string name = list.substr(start, end - start);
    auto it = std::find_if(std::begin(languages), std::end(languages),
                           [&](const Language& l) { return name == l.name; });
    if (it == std::end(languages))
      return refuse(error, "option --lang: '" + name + "' is not one of cpp, cs, java, vb, all");
    record->*(it->flag) = true;
    start = end + 1;
  }
  return true;
}

std::string removeBlanks(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

// The file as the reader takes it, and whether a rewrite would lose any of it.
struct LinksFile {
  std::string path;
  ReferenceLinkTable table;
  RewriteLoss loss;
};

bool readLinksFile(const std::string& path, LinksFile* file, LinksCommandResult* result) {
  file->path = path;
  std::string text;
  if (platform::directoryExists(path)) {
    result->err += "quillon: " + path + " is a folder, not a reference links file\n";
    return false;
  }
  if (platform::fileExists(path) && !readWholeFile(path, &text)) {
    result->err += "quillon: " + path + ": cannot be read\n";
    return false;
  }
  parseReferenceLinks(file->table, text);
  file->loss = findRewriteLoss(text, file->table);
  if (file->loss.what.empty()) return true;
  result->err += "quillon: " + path +
                 (file->loss.line > 0 ? ":" + std::to_string(file->loss.line) : "") + ": " +
                 file->loss.what + "\n";
  return false;
}

void listLinks(const LinksFile& file, LinksCommandResult* result) {
  for (const ReferenceLink& record : file.table.links) {
    std::string marked;
    for (const Language& l : languages)
      if (record.*(l.flag)) marked += (marked.empty() ? "" : ",") + std::string(l.name);
    result->out += record.word + " " + record.link + " " + (marked.empty() ? "-" : marked) + "\n";
  }
}

int addLink(const LinksFile& file, const ReferenceLink& typed, LinksCommandResult* result) {
  if (findReferenceLink(file.table, removeBlanks(typed.word)))
    result->err += "quillon: " + removeBlanks(typed.word) +
                   " was already in the table; pages use the link added last\n";
  if (!saveReferenceLinksAdding(file.table, file.path, formatItemLine(typed))) {
    result->err += "quillon: " + file.path + ": " + std::string(addFailedMessage) + "\n";
    return 1;
  }
  result->out += std::string(addedMessage) + "\n";
  return 0;
}

int removeLink(const LinksFile& file, const std::string& word, LinksCommandResult* result) {
  if (!findReferenceLink(file.table, word)) {
    result->err += "quillon: " + file.path + ": there is no reference link for " + word + "\n";
    return 1;
  }
  if (!saveReferenceLinksRemoving(file.table, file.path, word)) {
    result->err += "quillon: " + file.path + ": " + std::string(deleteFailedMessage) + "\n";
    return 1;
  }
  result->out += std::string(deletedMessage) + "\n";
  return 0;
}

LinksCommandResult usageError(const std::string& error) {
  return {2, "", "quillon: " + error + "\n" + usageHint("quillon links") + "\n"};
}

}  // namespace

const char* linksUsageText() {
  return "usage: quillon links [--links FILE] list\n"
         "       quillon links [--links FILE] add WORD URL [--lang LANGS]\n"
         "       quillon links [--links FILE] remove WORD\n"
         "\n"
         "Keeps the table of reference links: words that converted pages link to the URL\n"
         "given for them. The table is the file ReferenceLinks.xml in the current\n"
         "directory, or FILE.\n"
         "\n"
         "  list           each link on a line: the word, its URL and its languages\n"
         "  add WORD URL   adds a link; for a word already in the table, pages use the\n"
         "                 link added last\n"
         "  remove WORD    removes every link of WORD\n"
         "  --lang LANGS   the languages a new link is marked for, separated by commas:\n"
         "                 cpp, cs, java, vb, all (default: none)\n"
         "\n"
         "A file that a rewrite would not reproduce (tags the format does not have, items\n"
         "the reader merges or skips) is named with its problem and left unchanged. A URL\n"
         "with a blank or a control character, or one that would run code in the browser\n"
         "(javascript:, vbscript:, data:), is refused; pages leave such links out.\n";
}

LinksCommandResult runLinksCommand(const std::vector<std::string>& args,
                                   const std::string& currentDirectory) {
  LinksRequest request;
  std::string error;
  if (!parseRequest(args, &request, &error)) return usageError(error);
  if (request.help) return {0, linksUsageText(), ""};

  ReferenceLink typed;
  if (request.operation == "add") {
    typed.word = request.operands[0];
    typed.link = request.operands[1];
    if (request.haveLanguages && !parseLanguages(request.languages, &typed, &error))
      return usageError(error);
    if (removeBlanks(typed.word).empty() || removeBlanks(typed.link).empty())
      return usageError("links add needs a WORD and a URL that are not blank");
  }

  LinksCommandResult result;
  const std::string refusal = request.operation == "add" ? urlRefusal(typed.link) : "";
  if (!refusal.empty()) {
    result.err = "quillon: the URL " + typed.link + " " + refusal + "; nothing was added\n";
    result.status = 1;
    return result;
  }
  if (request.operation == "add" && !readsBackAsTyped(typed)) {
    result.err = "quillon: " + typed.word + " " + typed.link +
                 ": the file cannot hold this link as it is (a \"]\" or \"<\" ends a text, and "
                 "a non-ASCII character reads back as \",\")\n";
    result.status = 1;
    return result;
  }
  LinksFile file;
  const std::string path = platform::resolvePath(
      currentDirectory, request.file.empty() ? std::string(referenceLinksFileName) : request.file);
  const bool readable = readLinksFile(path, &file, &result);
  if (request.operation == "list") {
    listLinks(file, &result);
    result.status = readable ? 0 : 1;
  } else if (!readable) {
    if (!file.loss.what.empty())
      result.err += "quillon: " + path + " is left unchanged, since a rewrite would lose that\n";
    result.status = 1;
  } else if (request.operation == "add") {
    result.status = addLink(file, typed, &result);
  } else {
    result.status = removeLink(file, removeBlanks(request.operands[0]), &result);
  }
  return result;
}

}  // namespace quillon
