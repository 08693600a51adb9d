#pragma once
// quillon links: lists, adds and removes the records of the reference links file, as the
// Custom Reference Links dialog does, on the same file and with the same reader.
#include <string>
#include <vector>

namespace quillon {

/// What a links command printed and how it ended: 0 done, 1 error, 2 bad usage.
struct LinksCommandResult {
  int status = 0;
  std::string out;  ///< for standard output
  std::string err;  ///< for standard error, one line per problem
};

/// Runs `quillon links ARGS...` with `args` the arguments after "links". Relative paths
/// are taken from `currentDirectory`. A file that a rewrite would not reproduce (see
/// reflinks/rewrite_check.h) is named with its problem and left as it is.
LinksCommandResult runLinksCommand(const std::vector<std::string>& args,
                                   const std::string& currentDirectory);

/// The usage text of `quillon links`.
const char* linksUsageText();

}  // namespace quillon
