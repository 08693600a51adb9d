// The part of the per-file scan that every language shares: records put in order, placed
// by the occurrence of their name on the line, and the texts of their lines.
#include <gtest/gtest.h>

#include "xref/scan.h"

using namespace quillon::xref;

namespace {

Record at(FileScan& scan, std::string_view name, std::uint32_t line, std::uint32_t column,
          Role role = Role::Read) {
  Record r;
  r.name = scan.intern(name);
  r.line = line;
  r.column = column;
  r.role = role;
  return r;
}

}  // namespace

TEST(FinishScan, OrdersRecordsCountsOccurrencesAndKeepsLineTexts) {
  const std::string text = "\tint a = a_b + a; // a\r\n  a$x = f(a);\nlast";
  FileScan scan;
  scan.records = {at(scan, "a", 2, 10), at(scan, "a", 1, 15), at(scan, "a", 1, 5, Role::Definition),
                  at(scan, "a", 1, 6),    // not a whole identifier there: dropped
                  at(scan, "a$x", 2, 2, Role::Write), at(scan, "last", 3, 0),
                  at(scan, "last", 3, 0, Role::Definition)};  // one place twice: the definition
  scan.records[0].local = 2;  // the use on line 2 is of the definition on line 1
  finishScan(text, scan);
  ASSERT_EQ(scan.records.size(), 5u);
  std::vector<std::uint32_t> ordinals;
  for (const Record& r : scan.records) ordinals.push_back(r.ordinal);
  EXPECT_EQ(ordinals, (std::vector<std::uint32_t>{0, 1, 0, 0, 0}));
  EXPECT_EQ(scan.records[3].line, 2u);
  EXPECT_EQ(scan.records[3].local, 0u);  // moved with its definition
  EXPECT_EQ(scan.lineText(1), "int a = a_b + a; // a");
  EXPECT_EQ(scan.lineText(2), "a$x = f(a);");
  EXPECT_EQ(scan.lineText(3), "last");
  EXPECT_EQ(scan.records[4].role, Role::Definition);
  EXPECT_EQ(scan.lineText(4), "");
}
