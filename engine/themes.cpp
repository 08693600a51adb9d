#include "engine/themes.h"

#include <cmath>

namespace quillon {

namespace {

/// The colours of a dark workspace's panels, as #rrggbb: behind the trees and tabs, their
/// text, lines between parts, quieter text, the current item and found letters.
constexpr std::string_view darkPanel = "#161a21", darkPanelText = "#d6dbe4",
                           darkHeader = "#232832", darkBorder = "#343b48",
                           darkMuted = "#9aa4b2", darkLink = "#7cb7ff",
                           darkHighlight = "#2b3a55", darkMark = "#5c4a12";

/// The custom properties of a dark page: its own seven colours and the panel colours.
std::string darkProperties(const ColorScheme& c) {
  std::string p = ":root{color-scheme:dark";
  const std::pair<const char*, ColorRef> own[] = {
      {"background", c.background}, {"text", c.defaultText}, {"keyword", c.keyword},
      {"comment", c.comment},       {"string", c.string},    {"number", c.number},
      {"preprocessor", c.preprocessor}};
  for (const auto& [name, color] : own) p += std::string(";--quillon-") + name + ":" + htmlColor(color);
  const std::pair<const char*, std::string_view> panels[] = {
      {"panel", darkPanel},   {"panel-text", darkPanelText}, {"header", darkHeader},
      {"border", darkBorder}, {"muted", darkMuted},          {"link", darkLink},
      {"highlight", darkHighlight}, {"mark", darkMark}};
  for (const auto& [name, color] : panels) p += std::string(";--quillon-") + name + ":" + std::string(color);
  return p + "}\n";
}

/// The dark rules of the trees, the search box and the tab pages. Each selector begins
/// with the dark <html> element, so it outweighs the page's own light rule.
constexpr std::string_view darkWorkspaceRules =
    "html.quillon-dark{background:var(--quillon-panel)}\n"
    "html.quillon-dark body{background:var(--quillon-panel);color:var(--quillon-panel-text)}\n"
    "html.quillon-dark .tree_header{background:var(--quillon-header);"
    "border-bottom-color:var(--quillon-border);color:var(--quillon-muted)}\n"
    "html.quillon-dark .tree_root,html.quillon-dark .tree_pitem,html.quillon-dark .tree_citem,"
    "html.quillon-dark .tree_result{color:var(--quillon-panel-text)}\n"
    "html.quillon-dark .tree_pitem:hover,html.quillon-dark .tree_citem:hover,"
    "html.quillon-dark .tree_result.tree_active{background:var(--quillon-header);"
    "color:var(--quillon-link)}\n"
    "html.quillon-dark .tree_current,html.quillon-dark .tree_current:hover{"
    "background:var(--quillon-highlight);color:#ffffff}\n"
    "html.quillon-dark .tree_empty,html.quillon-dark .tree_result_detail,"
    "html.quillon-dark .absent .tree_pitem,html.quillon-dark .facts,"
    "html.quillon-dark .tree_search_note{color:var(--quillon-muted)}\n"
    "html.quillon-dark .tree_search{background:var(--quillon-panel);"
    "border-bottom-color:var(--quillon-border)}\n"
    "html.quillon-dark .tree_search input{background:var(--quillon-header);"
    "border-color:var(--quillon-border);color:var(--quillon-panel-text)}\n"
    "html.quillon-dark .tree_result mark{background:var(--quillon-mark)}\n"
    "html.quillon-dark .tab{color:var(--quillon-muted)}\n"
    "html.quillon-dark .tab:hover{background:var(--quillon-header);"
    "border-color:var(--quillon-border)}\n"
    "html.quillon-dark .tab.current,html.quillon-dark .tab.current:hover,"
    "html.quillon-dark .page_tab{background:var(--quillon-header);"
    "border-color:var(--quillon-border);color:var(--quillon-panel-text)}\n"
    "html.quillon-dark .page_tab{border-bottom-color:var(--quillon-header)}\n"
    "html.quillon-dark body{border-color:var(--quillon-border)}\n";

/// The style a dark workspace page gets in its head.
std::string darkWorkspaceStyle(const ColorScheme& colors) {
  return "<style>\n" + darkProperties(colors) + std::string(darkWorkspaceRules) + "</style>\n";
}

/// The first `lower` of `text`, or else its first `upper` (the index page's tags are in
/// capitals).
size_t findTag(const std::string& text, const char* lower, const char* upper) {
  const size_t at = text.find(lower);
  return at != std::string::npos ? at : text.find(upper);
}

/// Marks the first "<html" element of `text` dark, and puts `head` before its first
/// "</head>" (each once: `done` records which was made).
void themeText(std::string& text, const std::string& head, bool done[2]) {
  const size_t html = done[0] ? std::string::npos : findTag(text, "<html", "<HTML");
  if (html != std::string::npos) {
    text.insert(html + 5, " class=\"quillon-dark\"");
    done[0] = true;
  }
  const size_t end = done[1] ? std::string::npos : findTag(text, "</head>", "</HEAD>");
  if (end != std::string::npos) {
    text.insert(end, head);
    done[1] = true;
  }
}

double channel(ColorRef color, int shift) {
  const double c = static_cast<double>((color >> shift) & 0xFF) / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(ColorRef color) {
  // The Windows layout: red in the lowest byte.
  return 0.2126 * channel(color, 0) + 0.7152 * channel(color, 8) + 0.0722 * channel(color, 16);
}

}  // namespace

ColorScheme themeColors(Theme theme) {
  if (theme == Theme::Light) return ColorScheme{};
  ColorScheme dark;
  dark.background = 0x29211D;    // #1d2129
  dark.defaultText = 0xE4DBD6;   // #d6dbe4
  dark.keyword = 0xFFB77C;       // #7cb7ff
  dark.comment = 0x8AC488;       // #88c48a
  dark.string = 0x77A4E9;        // #e9a477
  dark.number = 0x74C6F0;        // #f0c674
  dark.preprocessor = 0xE89BD7;  // #d79be8
  return dark;
}

double contrastRatio(ColorRef a, ColorRef b) {
  double la = luminance(a), lb = luminance(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

std::string themeHead(const ConversionSettings& settings) {
  if (settings.theme != Theme::Dark) return {};
  return "<style type=\"text/css\">\n" + darkProperties(settings.colors) +
         "a:link,a:visited{color:var(--quillon-link)}\n</style>\n";
}

std::string_view themeHtmlAttribute(const ConversionSettings& settings) {
  return settings.theme == Theme::Dark ? " class=\"quillon-dark\"" : "";
}

void themeWorkspacePage(const ConversionSettings& settings, std::string& page) {
  if (settings.theme != Theme::Dark) return;
  bool done[2] = {false, false};
  themeText(page, darkWorkspaceStyle(settings.colors), done);
}

void themeWorkspaceLines(const ConversionSettings& settings, std::vector<std::string>& lines) {
  if (settings.theme != Theme::Dark) return;
  const std::string head = darkWorkspaceStyle(settings.colors);
  bool done[2] = {false, false};
  // Both stand near the top, before the tree's (perhaps many) lines.
  for (size_t i = 0; i < lines.size() && !done[1]; ++i) themeText(lines[i], head, done);
}

}  // namespace quillon
