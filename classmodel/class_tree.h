#pragma once
// The class tree block of a workspace's class tree page: one node per class, struct and
// enum, with its members as leaves.
#include <functional>
#include <string>
#include <vector>

namespace quillon {

struct ClassModel;
struct ClassRecord;
struct MemberRecord;

/// Appends the whole block to `lines` (classes, then structs, then enums). Each member
/// links to its record's declaration, or with `memberLines` to its own line's anchor
/// ("page.htm#L12") when its line is known.
void buildClassTree(const ClassModel& model, std::vector<std::string>& lines,
                    bool memberLines = false);

/// Where a member's item leads: its record's declaration, or with `memberLines` (pages
/// with line numbers) the line the member starts on, when it is known.
std::string memberLinkTarget(const ClassRecord& record, const MemberRecord& member,
                             bool memberLines);

/// A record as the class tree lists it: its kind's icon and its node's number.
struct TreeRecord {
  const ClassRecord* record;
  const char* icon;  ///< classicon.gif, structicon.gif or enumicon.gif
  int itemNumber;    ///< its node is "ClassItem<itemNumber>", counted from 1
  bool lastOfAll;    ///< the last node of the whole tree
};

/// Calls `visit` for every record in the tree's order: classes, then structs, then enums.
void forEachTreeRecord(const ClassModel& model, const std::function<void(const TreeRecord&)>& visit);

/// Appends the four lines that open one node. `prefix` holds one connector image per
/// level above it (none at the top); with `childSource` its child division is empty and
/// names the script that holds its members' lines.
void classNodeLines(std::vector<std::string>& lines, const std::string& name,
                    const std::string& link, const std::string& page, const std::string& icon,
                    bool lastNode, size_t memberCount, int itemNumber,
                    const std::string& prefix = "", const std::string& childSource = "");

/// Appends the lines of a record's members: `prefix` holds one connector image per level
/// above them (the record's node's included).
void memberItemLines(std::vector<std::string>& lines, const ClassRecord& record,
                     const std::string& prefix, bool memberLines);

}  // namespace quillon
