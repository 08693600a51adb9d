#pragma once
// The themes: each a set of all seven page colours, and what a dark page and a dark
// workspace add so that everything around the source follows it (links, the trees, the
// tabs, the search box, and any panel that reads the theme's custom properties).
#include <string>
#include <string_view>
#include <vector>

#include "engine/settings.h"

namespace quillon {

/// The seven colours of a theme. The light theme's are `ColorScheme`'s defaults (its four
/// base colours are those of every page before themes); every colour of the dark theme
/// has a contrast of at least 4.5:1 against its background.
ColorScheme themeColors(Theme theme);


/// The contrast ratio of two colours by the WCAG formula: from 1 (the same) to 21
/// (black on white).
double contrastRatio(ColorRef a, ColorRef b);

/// What a page of the settings' theme has in its head besides the fixed lines: for the
/// dark theme, a style that gives the page's colours as custom properties on :root
/// (--quillon-background, -text, -keyword, -comment, -string, -number, -preprocessor and
/// the panel colours --quillon-panel, -panel-text, -border, -link, -muted, -highlight),
/// asks the browser for its dark form controls and scroll bars, and shows include links
/// in the link colour. Empty for the light theme.
std::string themeHead(const ConversionSettings& settings);

/// The attribute that the <html> element of a page of a dark theme carries,
/// ` class="quillon-dark"`; empty for the light theme.
std::string_view themeHtmlAttribute(const ConversionSettings& settings);

/// Makes one of a workspace's own pages (a tree page, a tab page, the index page) follow
/// the settings' theme: for the dark theme, its <html> element gets the class and its head the dark
/// style of the trees, tabs and search box. `page` is the page's text; lines end in
/// "\n". The light theme leaves the page as it is.
void themeWorkspacePage(const ConversionSettings& settings, std::string& page);

/// The same for a page held as its lines (the tree pages).
void themeWorkspaceLines(const ConversionSettings& settings, std::vector<std::string>& lines);

}  // namespace quillon
