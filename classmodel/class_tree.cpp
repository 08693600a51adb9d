#include "classmodel/class_tree.h"

#include "classmodel/records.h"

namespace quillon {

void buildClassTree(const ClassModel&, std::vector<std::string>&) {}

void classNodeLines(std::vector<std::string>&, const std::string&, const std::string&,
                    const std::string&, const std::string&, bool, size_t, int) {}

}  // namespace quillon
