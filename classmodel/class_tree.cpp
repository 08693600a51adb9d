#include "classmodel/class_tree.h"

#include "classmodel/class_links.h"
#include "classmodel/records.h"
#include "engine/html_text.h"
#include "workspace/tree_lines.h"

namespace quillon {

void classNodeLines(std::vector<std::string>& lines, const std::string& name,
                    const std::string& link, const std::string& page, const std::string& icon,
                    bool lastNode, size_t memberCount, int itemNumber, const std::string& prefix,
                    const std::string& childSource) {
  const std::string n = std::to_string(itemNumber);
  const std::string item = "ClassItem" + n;
  const std::string shownName = attributeText(name);
  lines.push_back("\t\t\t<div ID=\"" + item + "\" class=\"tree_parent\">");
  // A node with members has an opener whose click opens and closes its children.
  std::string node = "\t\t\t\t<nobr>" + prefix + "<a name=\"" + item + "a\"";
  if (memberCount > 0)
    node += " href=\"#" + attributeUrl(name) + "\" onClick=\"tree_iconclick('" + item + "')\"";
  node += "><img name=\"" + item + "_o\" src=\"images/";
  node += memberCount > 0 ? (lastNode ? "Lplus.gif" : "Tplus.gif") : (lastNode ? "L.gif" : "T.gif");
  node += "\" align=\"absmiddle\" border=\"0\"><img src=\"images/" + icon +
          "\" class=\"tree_icon\" align=\"absmiddle\" border=\"0\"></a><a name=\"" + shownName +
          "\" HREF=\"" + recordLinkTarget(link, page) + "\" ID=\"" + item +
          "a\" target=\"source_frame\" onClick=\"SendTabText('" + scriptString(page) +
          "');\" class=\"tree_pitem\">" + shownName + "</a></nobr>";
  lines.push_back(node);
  lines.push_back("\t\t\t</div>\n");
  lines.push_back(childDivisionLine(item, childSource));
}

std::string memberLinkTarget(const ClassRecord& record, const MemberRecord& member,
                             bool memberLines) {
  if (memberLines && member.line > 0)
    return pageLinkTarget(record.page, "L" + std::to_string(member.line));
  return recordLinkTarget(record.link, record.page);
}

void forEachTreeRecord(const ClassModel& model, const std::function<void(const TreeRecord&)>& visit) {
  static const struct {
    RecordKind kind;
    const char* icon;
  } lists[] = {{RecordKind::Class, "classicon.gif"},
               {RecordKind::Struct, "structicon.gif"},
               {RecordKind::Enum, "enumicon.gif"}};
  int itemNumber = 1;
  for (size_t k = 0; k < 3; ++k) {
    const std::vector<ClassRecord>& records = recordsOf(model, lists[k].kind);
    bool laterListsEmpty = true;
    for (size_t later = k + 1; later < 3; ++later)
      laterListsEmpty = laterListsEmpty && recordsOf(model, lists[later].kind).empty();
    for (size_t r = 0; r < records.size(); ++r)
      visit({&records[r], lists[k].icon, itemNumber++, laterListsEmpty && r + 1 == records.size()});
  }
}

void memberItemLines(std::vector<std::string>& lines, const ClassRecord& record,
                     const std::string& prefix, bool memberLines) {
  const std::string tabText = scriptString(record.page);
  for (size_t m = 0; m < record.members.size(); ++m) {
    const MemberRecord& member = record.members[m];
    lines.push_back(leafLine(prefix, member.icon, memberLinkTarget(record, member, memberLines),
                             tabText, elementText(member.text), m + 1 == record.members.size()));
  }
}

void buildClassTree(const ClassModel& model, std::vector<std::string>& lines, bool memberLines) {
  forEachTreeRecord(model, [&](const TreeRecord& item) {
    const ClassRecord& record = *item.record;
    classNodeLines(lines, record.name, record.link, record.page, item.icon, item.lastOfAll,
                   record.members.size(), item.itemNumber);
    memberItemLines(lines, record, connectorImage(item.lastOfAll ? "white.gif" : "I.gif"),
                    memberLines);
    lines.push_back("\t\t\t</div>\n");
  });
}

}  // namespace quillon
