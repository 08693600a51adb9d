#include "workspace/search_index.h"

#include <unordered_set>

#include "classmodel/class_links.h"
#include "classmodel/class_tree.h"
#include "classmodel/records.h"
#include "engine/file_kinds.h"
#include "engine/page_writer.h"
#include "platform/platform.h"
#include "workspace/page_names.h"
#include "workspace/project_model.h"
#include "workspace/tree_lines.h"

namespace quillon {

namespace {

/// The characters of windows-1252 for the bytes 0x80 to 0x9F; the five bytes it leaves
/// undefined stand for themselves, as browsers read them.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char hexDigits[] = "0123456789ABCDEF";

void appendUnicodeEscape(std::string& out, unsigned code) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += hexDigits[(code >> shift) & 15];
}

/// The character of the UTF-8 sequence that begins at `i` of `text`; `i` moves to its last
/// byte. A byte that begins no well-formed sequence is U+FFFD on its own.
unsigned nextUtf8Character(std::string_view text, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
  if (more < 0 || i + more >= text.size()) return 0xFFFD;
  unsigned code = lead & (0x3F >> more);
  for (int k = 1; k <= more; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0xFFFD;
    code = code << 6 | (next & 0x3F);
  }
  const unsigned least[] = {0, 0x80, 0x800, 0x10000};
  if (code < least[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0xFFFD;
  i += more;
  return code;
}

/// The icon of a member item, by number: 0 and 1 functions, 2 and 3 data; odd: private.
int memberIconCode(const MemberRecord& member) {
  return (member.isFunction ? 0 : 2) + (member.isPublic ? 0 : 1);
}

/// The folder part of a path relative to a folder workspace ("" for a file at its top).
std::string folderOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

/// Appends `entries` (one a line, each already a script array) as the array `name`.
void appendList(std::string& out, const char* name, const std::vector<std::string>& entries,
                bool last) {
  out += "\"";
  out += name;
  out += "\": [\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    out += entries[i];
    out += i + 1 < entries.size() ? ",\n" : "\n";
  }
  out += last ? "]\n" : "],\n";
}

/// The file entries: each listed file once, as its tree item shows it and leads.
std::vector<std::string> fileEntries(const ProjectModel& project, bool utf8) {
  const bool fromDisk = !project.folderFiles.empty();
  std::vector<const std::string*> files;
  if (fromDisk) {
    for (const std::string& entry : project.folderFiles) files.push_back(&entry);
  } else {
    for (const std::vector<std::string>* list :
         {&project.sourceFiles, &project.headerFiles, &project.resourceFiles})
      for (const std::string& entry : *list) files.push_back(&entry);
  }
  std::vector<std::string> entries;
  std::unordered_set<std::string> seen;
  for (const std::string* entry : files) {
    const ListedName named = listedNameOf(project, *entry);
    const std::string target = fileItemLink(*entry, named);
    // A tree read from disk shows each file by its own name under its folders.
    const std::string shown = fromDisk ? baseName(*entry) : named.shown;
    if (!seen.insert(target + '\n' + shown).second) continue;
    entries.push_back("[" + scriptFileString(shown, utf8) + "," + scriptFileString(target, utf8) +
                      "," + scriptFileString(named.shown, utf8) + "," +
                      scriptFileString(fromDisk ? folderOf(*entry) : std::string(), utf8) + "]");
  }
  return entries;
}

}  // namespace

std::string scriptFileString(std::string_view text, bool utf8) {
  std::string out;
  out.reserve(text.size() + 2);
  appendScriptString(out, text, utf8);
  return out;
}

namespace {

/// The bytes that a script string holds as they are: printable ASCII but for its quote,
/// the backslash and the angle brackets (no "</script>" can end the element).
struct PlainScriptBytes {
  bool plain[256] = {};
  constexpr PlainScriptBytes() {
    for (int b = 0x20; b < 0x7F; ++b) plain[b] = b != '"' && b != '\\' && b != '<' && b != '>';
  }
};
constexpr PlainScriptBytes plainScriptBytes;

}  // namespace

void appendScriptString(std::string& out, std::string_view text, bool utf8) {
  out += '"';
  for (size_t i = 0; i < text.size(); ++i) {
    // Runs of printable ASCII that need no escape go at once.
    size_t run = i;
    while (run < text.size() && plainScriptBytes.plain[static_cast<unsigned char>(text[run])]) ++run;
    if (run > i) {
      out.append(text, i, run - i);
      i = run;
      if (i == text.size()) break;
    }
    const char c = text[i];
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 && utf8) {
      const unsigned code = nextUtf8Character(text, i);
      if (code >= 0x10000) {  // a surrogate pair
        appendUnicodeEscape(out, 0xD800 + ((code - 0x10000) >> 10));
        appendUnicodeEscape(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        appendUnicodeEscape(out, code);
      }
    } else if (b >= 0x80) {
      appendUnicodeEscape(out, b < 0xA0 ? windows1252High[b - 0x80] : b);
    } else if (b < 0x20 || b == 0x7F || c == '<' || c == '>') {
      const char escape[] = {'\\', 'x', hexDigits[b >> 4], hexDigits[b & 15]};
      out.append(escape, sizeof escape);
    } else {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
  }
  out += '"';
}

std::string asciiElementText(std::string_view text, bool utf8) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80) {
      const unsigned code =
          utf8 ? nextUtf8Character(text, i) : b < 0xA0 ? windows1252High[b - 0x80] : b;
      out += "&#" + std::to_string(code) + ";";
    } else if (b < 0x20 || b == 0x7F) {
      out += ' ';
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

std::string searchIndexText(const ProjectModel& project, const ClassModel& model,
                            bool memberLines, bool utf8) {
  std::vector<std::string> records, members;
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum}) {
    for (const ClassRecord& record : recordsOf(model, kind)) {
      const std::string number = std::to_string(records.size());
      const std::string target = recordLinkTarget(record.link, record.page);
      records.push_back("[" + std::to_string(static_cast<int>(kind)) + "," +
                        scriptFileString(record.name, utf8) + "," +
                        scriptFileString(target, utf8) + "," +
                        scriptFileString(record.page, utf8) + "]");
      for (const MemberRecord& member : record.members) {
        std::string entry = "[" + number + "," + scriptFileString(member.text, utf8) + "," +
                            std::to_string(memberIconCode(member));
        const std::string memberTarget = memberLinkTarget(record, member, memberLines);
        if (memberTarget != target) entry += "," + scriptFileString(memberTarget, utf8);
        members.push_back(entry + "]");
      }
    }
  }
  std::string out =
      "// The names of this workspace for the search box of its trees. files: [name, target,\n"
      "// tab text, folder]; records: [0 class, 1 struct or 2 enum, name, target, tab text];\n"
      "// members: [record, text, icon, target when not the record's].\n"
      "quillonSearchIndex({\n";
  appendList(out, "files", fileEntries(project, utf8), false);
  appendList(out, "records", records, false);
  appendList(out, "members", members, true);
  out += "});\n";
  return out;
}

bool writeSearchIndex(const std::string& directory, const ProjectModel& project,
                      const ClassModel& model, bool memberLines, bool utf8) {
  return writeTextFile(platform::joinPath(directory, searchIndexName),
                       searchIndexText(project, model, memberLines, utf8));
}

}  // namespace quillon
