#pragma once
// Re-runs that redo only what changed: a workspace made with incremental runs keeps a
// manifest beside its pages (each source's size, time and content hash, what each page
// depends on besides its source, and the classes each file declares). The next run reads
// it and converts only the pages whose bytes would change; the result is what a fresh
// run writes. A manifest that is missing, damaged, of another version or another option
// set gives a full run.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/converter.h"
#include "platform/platform.h"
#include "workspace/manifest.h"

namespace quillon {

struct WorkspacePages;

/// The manifest's file name in the workspace folder. No page can take it: pages end in
/// ".htm".
inline constexpr const char* manifestName = "Quillon.manifest";

/// A hash of `bytes` that tells one content from another (not made to resist an
/// adversary).
std::uint64_t contentHash(std::string_view bytes);

/// The key of everything in the run's settings that a page's bytes depend on: the
/// program's version, the colours, font, reading options, added keywords and reference
/// links.
std::uint64_t optionsKey(const RunContext& context);

/// The manifest of a workspace's last run, read on a thread of its own from the moment
/// the workspace's folder is known, while its files are listed and named.
class ManifestReading {
 public:
  /// Starts reading the manifest of the workspace folder `directory`, usable when it was
  /// written with the options of key `options`.
  ManifestReading(const std::string& directory, std::uint64_t options);
  ~ManifestReading();
  ManifestReading(const ManifestReading&) = delete;
  ManifestReading& operator=(const ManifestReading&) = delete;
  /// Waits for the reading: the manifest, empty when it is missing, damaged, of another
  /// version or another option set. It points into this object's text.
  Manifest& manifest(bool* usable);

 private:
  std::thread thread_;
  std::string text_;
  Manifest manifest_;
  bool usable_ = false;
};

/// One incremental run of a workspace: what its last manifest says, the files' bytes now,
/// and which pages must be converted again.
class IncrementalRun {
 public:
  /// Takes the last manifest of the workspace folder `directory` from `reading` (which
  /// must outlive the run; null: reads it now) and looks at every listed file of
  /// `project` (its stamp, and its bytes' hash where the stamp changed).
  IncrementalRun(RunContext& context, const ProjectModel& project, std::string directory,
                 ManifestReading* reading = nullptr);

  /// Whether the manifest could be used (else every page is converted).
  bool usable() const { return usable_; }

  /// The gathering of the classes: unchanged files stand by their earlier records.
  GatheringCache& gathering() { return gathering_; }

  /// After gathering into `model`, before its records are sorted (`sorted`: they will
  /// be) and with the project's missing images marked: whether the tree pages and search
  /// index of the last run are what this run would write (then `utf8` tells their
  /// charset). When they are not, gives the records taken from the manifest their
  /// members, which only the trees show. Notes the trees' key for the manifest either way.
  bool treesCurrent(ClassModel& model, const std::string& sourceTreeTemplate, bool sorted,
                    bool* utf8);
  /// Notes the charset of the trees written.
  void treesWritten(bool utf8) { utf8Trees_ = utf8; }

  /// After gathering: the pages of `plans` that must be converted, given the class
  /// records of this run, the workspace's pages (which includes link to) and, with
  /// cross-references, a digest of each page's placed names (`placedKey`, may be null).
  std::vector<PagePlan> pagesToConvert(
      const std::vector<PagePlan>& plans, const ClassModel& model, const WorkspacePages& pages,
      const std::function<std::uint64_t(const PagePlan&)>& placedKey);

  /// Notes what converting `plans` came to (each page's outcome at its place).
  void converted(const std::vector<PagePlan>& plans, const std::vector<PageOutcome>& outcomes);

  /// Ends the run: removes the pages of files no longer listed and writes the manifest
  /// (a run that was stopped writes none and removes the old one). Says how many pages
  /// were kept.
  void finish();

 private:
  /// A listed file as it is now.
  struct Now {
    std::string disk;  ///< where it is read
    platform::FileStamp stamp;
    std::uint64_t hash = 0;  ///< 0: it cannot be read
    bool exists = false;     ///< it has a stamp
  };
  const Now& now(const std::string& entry);
  /// Where `entry` is and its stamp; no hash yet.
  Now stamped(const std::string& entry) const;
  /// Gives `file` (found for `entry`) its hash: the manifest's when its stamp is as it
  /// was, else of its bytes.
  void hash(const std::string& entry, Now& file) const;
  /// Whether the source of `entry` holds a word among `changedNames_`.
  bool mentions(const std::string& entry);

  RunContext& context_;
  const ProjectModel& project_;
  std::string directory_;
  std::uint64_t options_ = 0;
  bool usable_ = false;
  std::unique_ptr<ManifestReading> ownReading_;  ///< when no reading was given
  Manifest& old_;  ///< the last manifest (empty when not usable)
  /// Per file in the gathering order, the last manifest's file that may stand for it.
  std::vector<const ManifestGathered*> earlierFiles_;
  /// The last manifest lists the files gathered now, in their order: then only the files
  /// read again can change a class name's links.
  bool sameGathering_ = false;
  std::unordered_map<std::string, std::uint64_t> oldNameKeys_;  ///< when not the same
  std::unordered_map<std::string, const ManifestPage*> oldPages_;  ///< by page name
  std::unordered_map<std::string, std::pair<platform::FileStamp, std::uint64_t>> oldStamps_;
  std::unordered_map<std::string, Now> now_;  ///< by entry
  GatheringCache gathering_;
  const WorkspacePages* pages_ = nullptr;
  /// The class names whose links changed, when pages naming them must be converted.
  std::unordered_set<std::string> changedNames_;
  bool everyPageNamesThem_ = false;  ///< a changed name may stand in any page's markup
  /// Per file in the gathering order, the lines of the records read in this run.
  std::vector<std::string> recordTexts_;
  std::vector<ManifestPage> current_;  ///< this run's pages, in their order
  std::unordered_map<std::string, size_t> currentByPage_;
  size_t kept_ = 0;
  std::uint64_t trees_ = 0;
  bool utf8Trees_ = false;
};

}  // namespace quillon
