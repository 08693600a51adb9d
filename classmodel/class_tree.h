#pragma once
// The class tree block of a workspace's class tree page: one node per class, struct and
// enum, with its members as leaves.
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

/// Appends the four lines that open one node.
void classNodeLines(std::vector<std::string>& lines, const std::string& name,
                    const std::string& link, const std::string& page, const std::string& icon,
                    bool lastNode, size_t memberCount, int itemNumber);

}  // namespace quillon
