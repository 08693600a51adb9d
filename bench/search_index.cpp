// The search index's share of a workspace's time: converts a folder, or a set of files,
// into one workspace as the command does (its index included), then writes that
// workspace's search index again on its own, each ROUNDS times, and prints the medians.
//
//   search_index ROUNDS DATA_DIR OUT_DIR FOLDER
//   search_index ROUNDS DATA_DIR OUT_DIR FILE FILE...
//
// Prints one line: "names N index_bytes B workspace_s S index_s I share_percent P".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/converter.h"
#include "engine/page_writer.h"
#include "platform/platform.h"
#include "workspace/folder_workspace.h"
#include "workspace/search_index.h"
#include "workspace/workspace.h"

using namespace quillon;

namespace {

double secondsOf(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fputs("usage: search_index ROUNDS DATA_DIR OUT_DIR FOLDER | FILE FILE...\n", stderr);
    return 2;
  }
  const int rounds = std::max(1, std::atoi(argv[1]));
  const std::string out = argv[3];
  const std::string cwd = platform::currentDirectory();
  std::vector<std::string> inputs;
  for (int i = 4; i < argc; ++i) inputs.push_back(platform::resolvePath(cwd, argv[i]));
  ConversionSettings settings;
  RunState run;
  ReferenceLinkTable links;
  ClassModel classes;
  RunContext context{settings, run, links, classes, nullptr, nullptr, &classModelPasses()};
  settings.startupDirectory = argv[2];
  settings.outputDirectory = out;
  settings.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  SourceFileConverter converter(context);

  std::vector<double> workspace, index;
  for (int r = 0; r < rounds; ++r) {
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    run.currentDirectory = cwd;  // a run ends in the data folder
    workspace.push_back(secondsOf([&] {
      if (inputs.size() == 1 && platform::directoryExists(inputs[0]))
        convertFolder(converter, inputs[0]);
      else
        convertFileSet(converter, inputs);
    }));
  }
  const std::string folder = platform::joinPath(out, "index");
  std::filesystem::create_directories(folder);
  for (int r = 0; r < rounds; ++r)
    index.push_back(secondsOf([&] { writeSearchIndex(folder, converter.project, classes); }));

  size_t names = converter.project.folderFiles.empty()
                     ? converter.project.sourceFiles.size() + converter.project.headerFiles.size() +
                           converter.project.resourceFiles.size()
                     : converter.project.folderFiles.size();
  for (const auto* list : {&classes.classRecords, &classes.structRecords, &classes.enumRecords})
    for (const ClassRecord& record : *list) names += 1 + record.members.size();
  std::string text;
  readWholeFile(platform::joinPath(folder, searchIndexName), &text);
  const double w = median(workspace), i = median(index);
  std::printf("names %zu index_bytes %zu workspace_s %.4f index_s %.4f share_percent %.1f\n", names,
              text.size(), w, i, 100.0 * i / w);
  return run.problemCount ? 1 : 0;
}
