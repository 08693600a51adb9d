#include "workspace/tree_lines.h"

namespace quillon {

std::string treeLeafLine(const std::string& icon, const std::string& linkTarget,
                         const std::string& tabText, const std::string& shownText,
                         bool lastItem, bool underLastNode) {
  // The link target, the tab text and the shown text each go into their own place, so a
  // name that holds "Source.cpp" or "SOURCE_FILE" cannot land inside another field.
  std::string line = "\t\t\t\t<DIV><nobr><img src=\"images/";
  line += underLastNode ? "white.gif" : "I.gif";
  line += "\" align=\"absmiddle\"><img src=\"images/";
  line += lastItem ? "L.gif" : "T.gif";
  line += "\" align=\"absmiddle\"><img src=\"images/";
  line += icon;
  line += "\" align=\"absmiddle\" class=\"tree_icon\" border=0><a HREF=\"";
  line += linkTarget;
  line += "\" target=\"source_frame\" onClick=\"SendTabText('";
  line += tabText;
  line += "');\" class=tree_citem>";
  line += shownText;
  line += "</a></nobr></DIV>";
  return line;
}

}  // namespace quillon
