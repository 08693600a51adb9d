#include "workspace/incremental.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "classmodel/class_links.h"
#include "engine/include_links.h"
#include "engine/keyword_sets.h"
#include "engine/page_writer.h"
#include "engine/text_tests.h"
#include "quillon_version.h"
#include "workspace/disk_paths.h"
#include "workspace/page_names.h"

namespace quillon {

namespace {

std::uint64_t mix(std::uint64_t h, std::uint64_t value) {
  h = (h ^ value) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 29);
}

std::uint64_t mixText(std::uint64_t h, std::string_view text) {
  return mix(h, contentHash(text));
}

/// The key of each class name: the links its records give, in the order a page tries
/// them (classes, structs, enums, each in the order listed).
using NameKeys = std::unordered_map<std::string, std::uint64_t>;

/// Adds the links of the records of `model` to the keys of their names, kind by kind.
void addNameKeys(NameKeys (&byKind)[3], const ClassModel& model) {
  for (int k = 0; k < 3; ++k)
    for (const ClassRecord& record : recordsOf(model, static_cast<RecordKind>(k))) {
      std::uint64_t& key = byKind[k][record.name];
      key = mixText(mix(key, static_cast<std::uint64_t>(k) + 1),
                    recordLinkTarget(record.link, record.page));
    }
}

NameKeys combinedKeys(const NameKeys (&byKind)[3]) {
  NameKeys keys;
  for (int k = 0; k < 3; ++k)
    for (const auto& [name, key] : byKind[k]) keys[name] = mix(keys[name], key);
  return keys;
}

/// The keys of the names of the gathered files, as the lists of their records in file
/// order give them.
NameKeys nameKeysOf(const std::vector<ManifestGathered>& gathered) {
  NameKeys byKind[3];
  for (const ManifestGathered& file : gathered) addNameKeys(byKind, file.records.model);
  return combinedKeys(byKind);
}

NameKeys nameKeysOf(const ClassModel& model) {
  NameKeys byKind[3];
  addNameKeys(byKind, model);
  return combinedKeys(byKind);
}

/// Whether two files' records give their names the same links: the same names, links and
/// pages, kind by kind.
bool sameLinks(const ClassModel& a, const ClassModel& b) {
  for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum}) {
    const std::vector<ClassRecord>& x = recordsOf(a, kind);
    const std::vector<ClassRecord>& y = recordsOf(b, kind);
    if (x.size() != y.size()) return false;
    for (size_t r = 0; r < x.size(); ++r)
      if (x[r].name != y[r].name || x[r].link != y[r].link || x[r].page != y[r].page) return false;
  }
  return true;
}

/// Words that the escaping itself writes ("&nbsp;"): a class of such a name may be linked
/// in any page.
bool isMarkupWord(const std::string& name) {
  for (const char* word : {"nbsp", "lt", "gt", "amp", "quot"})
    if (name == word) return true;
  return !std::all_of(name.begin(), name.end(), isWordChar) || name.empty();
}

}  // namespace

std::uint64_t contentHash(std::string_view bytes) {
  std::uint64_t h = 0xCBF29CE484222325ull ^ bytes.size();
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    h = mix(h, word);
  }
  std::uint64_t tail = 0;
  // (An empty view may have no data at all.)
  if (i < bytes.size()) std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
  h = mix(mix(h, tail), h >> 17);
  return h | 1;  // never 0, which stands for "not read"
}

std::uint64_t optionsKey(const RunContext& context) {
  const ConversionSettings& s = context.settings;
  std::uint64_t key = mixText(0, QUILLON_VERSION);
  const ColorScheme& c = s.colors;
  for (ColorRef colour : {c.background, c.keyword, c.defaultText, c.comment, c.string, c.number,
                          c.preprocessor})
    key = mix(key, colour);
  key = mixText(key, s.fontFace);
  for (bool option : {s.lineNumbers, s.crossReferences, s.textSearch, s.richColours})
    key = mix(key, option);
  key = mix(mix(key, static_cast<std::uint64_t>(s.theme)), static_cast<std::uint64_t>(s.trees));
  if (s.keywords)
    for (SourceLanguage language : keywordLanguages)
      for (std::string_view word : s.keywords->table(language)) key = mixText(key, word);
  key = mix(key, 0x4C494E4B53ull);  // the reference links follow
  for (const ReferenceLink& link : context.referenceLinks.links) {
    key = mixText(mixText(key, link.word), link.link);
    key = mix(key, link.cpp | link.csharp << 1 | link.java << 2 | link.vb << 3 | link.all << 4);
  }
  return key;
}


ManifestReading::ManifestReading(const std::string& directory, std::uint64_t options) {
  auto read = [this, path = platform::joinPath(directory, manifestName), options] {
    try {
      if (!readWholeFile(path, &text_)) return;
      dropCarriageReturns(text_);  // written with CR LF; the records' lines are repeated with LF
      usable_ = readManifest(text_, &manifest_) && manifest_.options == options;
    } catch (const std::bad_alloc&) {
      usable_ = false;  // too big for the memory there is: a full run
    }
    if (!usable_) manifest_ = Manifest();
  };
  try {
    thread_ = std::thread(read);
  } catch (const std::system_error&) {
    read();  // no thread to be had: read it now
  }
}

ManifestReading::~ManifestReading() {
  if (thread_.joinable()) thread_.join();
}

Manifest& ManifestReading::manifest(bool* usable) {
  if (thread_.joinable()) thread_.join();
  *usable = usable_;
  return manifest_;
}

namespace {
/// The reading given, else one made now.
std::unique_ptr<ManifestReading> readingUnlessGiven(ManifestReading* given, const std::string& directory,
                                                    std::uint64_t options) {
  return given ? nullptr : std::make_unique<ManifestReading>(directory, options);
}
}  // namespace

IncrementalRun::IncrementalRun(RunContext& context, const ProjectModel& project, std::string directory,
                               ManifestReading* reading)
    : context_(context),
      project_(project),
      directory_(std::move(directory)),
      options_(optionsKey(context)),
      ownReading_(readingUnlessGiven(reading, directory_, options_)),
      old_((reading ? *reading : *ownReading_).manifest(&usable_)) {
  // The files gathered are looked at on two threads, and those whose stamps changed are
  // read on both.
  const std::vector<std::string> order = gatheringOrder(project);
  std::vector<Now> files(order.size());
  const bool twoThreads = context.settings.jobs > 1 && order.size() > 1;
  auto onBoth = [&](const std::function<void(size_t)>& look) {
    std::thread second;
    if (twoThreads)
      second = std::thread([&] { for (size_t i = 1; i < order.size(); i += 2) look(i); });
    for (size_t i = 0; i < order.size(); i += twoThreads ? 2 : 1) look(i);
    if (second.joinable()) second.join();
  };
  onBoth([&](size_t i) { files[i] = stamped(order[i]); });
  oldPages_.reserve(old_.pages.size());
  oldStamps_.reserve(old_.pages.size() + old_.gathered.size());
  for (const ManifestPage& page : old_.pages) {
    oldPages_[page.page] = &page;
    oldStamps_[page.entry] = {page.stamp, page.hash};
  }
  for (const ManifestGathered& file : old_.gathered) oldStamps_[file.entry] = {file.stamp, file.hash};
  onBoth([&](size_t i) { hash(order[i], files[i]); });
  now_.reserve(order.size());
  for (size_t i = 0; i < order.size(); ++i) now_.emplace(order[i], std::move(files[i]));

  // The files gathered before whose bytes and page are as they were stand for reading them.
  sameGathering_ = usable_ && old_.gathered.size() == order.size();
  for (size_t i = 0; sameGathering_ && i < order.size(); ++i)
    sameGathering_ = old_.gathered[i].entry == order[i];
  std::unordered_map<std::string, ManifestGathered*> gathered;
  if (!sameGathering_) {
    for (ManifestGathered& file : old_.gathered) gathered.emplace(file.entry, &file);
    if (usable_) oldNameKeys_ = nameKeysOf(old_.gathered);  // before their records move on
  }
  gathering_.earlier.assign(order.size(), nullptr);
  earlierFiles_.assign(order.size(), nullptr);
  for (size_t i = 0; i < order.size(); ++i) {
    ManifestGathered* earlier = nullptr;
    if (sameGathering_) {
      earlier = &old_.gathered[i];
    } else if (auto found = gathered.find(order[i]); found != gathered.end()) {
      earlier = found->second;
    }
    if (!earlier) continue;
    const Now& file = now(order[i]);
    if (file.hash != 0 && file.hash == earlier->hash &&
        earlier->page == listedNameOf(project, order[i]).page) {
      gathering_.earlier[i] = &earlier->records;
      earlierFiles_[i] = earlier;
    }
  }
}

const IncrementalRun::Now& IncrementalRun::now(const std::string& entry) {
  auto found = now_.find(entry);
  if (found != now_.end()) return found->second;
  Now file = stamped(entry);
  hash(entry, file);
  return now_.emplace(entry, std::move(file)).first->second;
}

IncrementalRun::Now IncrementalRun::stamped(const std::string& entry) const {
  Now file;
  const std::string& source = context_.settings.sourceDirectory;
  file.disk = diskPathOf(project_, source, entry);
  if (file.disk.empty()) file.disk = platform::resolvePath(source, entry);
  auto walked = project_.diskStamps.find(entry);
  if (walked != project_.diskStamps.end()) {
    file.stamp = walked->second;
    file.exists = true;
  } else {
    file.exists = platform::fileStamp(file.disk, &file.stamp);
  }
  return file;
}

void IncrementalRun::hash(const std::string& entry, Now& file) const {
  if (!file.exists) return;
  auto earlier = oldStamps_.find(entry);
  if (earlier != oldStamps_.end() && earlier->second.first.size == file.stamp.size &&
      earlier->second.first.modified == file.stamp.modified) {
    file.hash = earlier->second.second;  // the file was not written since
    return;
  }
  std::string bytes;
  if (readWholeFile(file.disk, &bytes)) file.hash = contentHash(bytes);
}

bool IncrementalRun::mentions(const std::string& entry) {
  std::string bytes;
  if (!readWholeFile(now(entry).disk, &bytes)) return true;
  for (size_t i = 0; i < bytes.size();) {
    if (!isWordChar(bytes[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < bytes.size() && isWordChar(bytes[end])) ++end;
    if (changedNames_.count(bytes.substr(i, end - i))) return true;
    i = end;
  }
  return false;
}

bool IncrementalRun::treesCurrent(ClassModel& model, const std::string& sourceTreeTemplate,
                                  bool sorted, bool* utf8) {
  // What the trees and the search index are made of: the templates, the project's name
  // and listed files with their names, and every record with its members, which the
  // lines of each file's records give in full (in the order gathered, sorted or not).
  const std::string& data = context_.settings.startupDirectory;
  std::uint64_t key = mixText(options_, project_.displayName);
  for (const char* name : {"ClassTree_Template.htm", "SourceTree_Template.htm",
                           "ProjectTree_Template.htm", "TreeNodes.js"}) {
    std::string text;
    readWholeFile(platform::joinPath(data, name), &text);
    key = mixText(key, text);
  }
  key = mixText(key, sourceTreeTemplate);
  for (const std::vector<std::string>* list :
       {&project_.sourceFiles, &project_.headerFiles, &project_.resourceFiles, &project_.folderFiles}) {
    key = mix(key, list->size());
    for (const std::string& entry : *list) {
      const ListedName named = listedNameOf(project_, entry);
      key = mix(mixText(mixText(mixText(key, entry), named.page), named.shown), named.missing);
    }
  }
  key = mix(key, sorted);
  const std::vector<const GatheredFile*>& used = gathering_.gathered;
  recordTexts_.assign(used.size(), std::string());
  for (size_t i = 0; i < used.size(); ++i) {
    if (!used[i]) {
      key = mix(key, 0);
    } else if (used[i] == gathering_.earlier[i] && earlierFiles_[i]) {
      key = mixText(key, earlierFiles_[i]->recordsText);
    } else {
      appendRecordsText(recordTexts_[i], used[i]->model);
      key = mixText(key, recordTexts_[i]);
    }
  }
  trees_ = key | 1;
  *utf8 = old_.utf8Trees;
  if (usable_ && old_.trees == trees_ &&
      platform::fileExists(platform::joinPath(directory_, "SourceTree.htm")) &&
      platform::fileExists(platform::joinPath(directory_, "ClassTree.htm")) &&
      platform::fileExists(platform::joinPath(directory_, "SearchIndex.js")))
    return true;
  // The records taken from the manifest come without their members; the trees show them.
  size_t next[3] = {0, 0, 0};
  for (size_t i = 0; i < used.size() && used[i]; ++i) {
    if (used[i] == gathering_.earlier[i] && earlierFiles_[i]) {
      readMembers(earlierFiles_[i]->recordsText, model, next);  // read once before: it fits
    } else {
      for (int k = 0; k < 3; ++k) next[k] += recordsOf(used[i]->model, static_cast<RecordKind>(k)).size();
    }
  }
  return false;
}

std::vector<PagePlan> IncrementalRun::pagesToConvert(
    const std::vector<PagePlan>& plans, const ClassModel& model, const WorkspacePages& pages,
    const std::function<std::uint64_t(const PagePlan&)>& placedKey) {
  pages_ = &pages;
  // The class names whose links are not what they were: the pages that name them change.
  if (usable_ && changedNames_.empty() && !everyPageNamesThem_) {
    auto note = [&](const std::string& name) {
      changedNames_.insert(name);
      everyPageNamesThem_ = everyPageNamesThem_ || isMarkupWord(name);
    };
    if (sameGathering_) {
      // A name's links follow from the records of the files in order: only a file read
      // again can change them, and then only the names it declared or declares.
      const ClassModel none;
      for (size_t i = 0; i < old_.gathered.size(); ++i) {
        const GatheredFile* used = i < gathering_.gathered.size() ? gathering_.gathered[i] : nullptr;
        if (used && used == gathering_.earlier[i]) continue;
        const ClassModel& before = old_.gathered[i].records.model;
        const ClassModel& after = used ? used->model : none;
        if (sameLinks(before, after)) continue;
        for (const ClassModel* side : {&before, &after})
          for (RecordKind kind : {RecordKind::Class, RecordKind::Struct, RecordKind::Enum})
            for (const ClassRecord& record : recordsOf(*side, kind)) note(record.name);
      }
    } else {
      const NameKeys after = nameKeysOf(model);
      for (const auto& [name, key] : after) {
        auto was = oldNameKeys_.find(name);
        if (was == oldNameKeys_.end() || was->second != key) note(name);
      }
      for (const auto& [name, key] : oldNameKeys_)
        if (!after.count(name)) note(name);
    }
  }
  // The pages there are, found in one reading of the folder.
  std::vector<std::string> files, folders;
  platform::listDirectory(directory_, &files, &folders);
  const std::unordered_set<std::string> present(files.begin(), files.end());
  std::vector<PagePlan> convert;
  for (const PagePlan& plan : plans) {
    const Now& file = now(plan.path);
    ManifestPage page;
    page.page = plan.pageName;
    page.entry = plan.path;
    page.stamp = file.stamp;
    page.hash = file.hash;
    if (file.hash != 0)
      page.key = mix(mixText(mixText(mix(options_, file.hash), plan.path), plan.pageName),
                     placedKey ? placedKey(plan) : 0) | 1;
    auto found = oldPages_.find(plan.pageName);
    const ManifestPage* old = usable_ && found != oldPages_.end() ? found->second : nullptr;
    bool current = old && page.key != 0 && old->key == page.key && present.count(plan.pageName);
    // An include leads where it led (the files listed, and those beside the includer).
    for (size_t k = 0; current && k < old->includes.size(); ++k)
      current = includedPage(pages, plan.path, old->includes[k].first) == old->includes[k].second;
    if (current && (everyPageNamesThem_ || (!changedNames_.empty() && mentions(plan.path))))
      current = false;
    if (current) {
      page.includes = old->includes;
      ++kept_;
    } else {
      convert.push_back(plan);
    }
    currentByPage_[page.page] = current_.size();
    current_.push_back(std::move(page));
  }
  return convert;
}

void IncrementalRun::converted(const std::vector<PagePlan>& plans,
                               const std::vector<PageOutcome>& outcomes) {
  for (size_t i = 0; i < plans.size() && i < outcomes.size(); ++i) {
    auto found = currentByPage_.find(plans[i].pageName);
    if (found == currentByPage_.end()) continue;
    ManifestPage& page = current_[found->second];
    const PageOutcome& outcome = outcomes[i];
    page.includes.clear();
    if (!outcome.written || outcome.outOfMemory || !outcome.readable) {
      page.key = 0;  // converted again next time
      continue;
    }
    for (const std::string& name : outcome.includes)
      page.includes.emplace_back(name, pages_ ? includedPage(*pages_, plans[i].path, name) : "");
  }
}

void IncrementalRun::finish() {
  const std::string manifestPath = platform::joinPath(directory_, manifestName);
  if (context_.run.stopRequested) {
    platform::removeFile(manifestPath);  // what was not converted must be next time
    return;
  }
  // The pages of files no longer listed go.
  for (const ManifestPage& page : old_.pages)
    if (!currentByPage_.count(page.page) && page.page.find_first_of("/\\") == std::string::npos)
      platform::removeFile(platform::joinPath(directory_, page.page));
  Manifest manifest;
  manifest.options = options_;
  manifest.trees = trees_;
  manifest.utf8Trees = utf8Trees_;
  manifest.pages = std::move(current_);  // the run is over: what it kept moves on
  // Written as it is made, a piece at a time: the gathered files' lines are most of it.
  PageWriter writer;
  bool written = writer.open(manifestPath);
  std::string text = manifestText(manifest);
  text.resize(text.size() - 4);  // "end\n" comes after the gathered files
  const std::vector<std::string> order = gatheringOrder(project_);
  for (size_t i = 0; i < order.size() && i < gathering_.gathered.size(); ++i) {
    const GatheredFile* records = gathering_.gathered[i];
    const Now& file = now(order[i]);
    if (!records || !records->read || !records->complete || file.hash == 0) continue;
    ManifestGathered kept;
    kept.entry = order[i];
    kept.page = listedNameOf(project_, order[i]).page;
    kept.stamp = file.stamp;
    kept.hash = file.hash;
    appendGatheredHeading(text, kept, *records);
    if (records == gathering_.earlier[i] && earlierFiles_[i])
      text += earlierFiles_[i]->recordsText;  // its records moved into the model
    else if (i < recordTexts_.size() && !recordTexts_[i].empty())
      text += recordTexts_[i];
    else
      appendRecordsText(text, records->model);
    if (text.size() >= 1 << 16) {
      writer.write(text);
      text.clear();
    }
  }
  text += "end\n";
  writer.write(text);
  if (!written || !writer.commit())
    addProblem(context_.run, std::string("<") + manifestName + " can't be written>");
  if (usable_) addProgressLine(context_.run, "Unchanged pages kept: " + std::to_string(kept_));
}

}  // namespace quillon
