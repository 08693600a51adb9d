#include "app/reference_links_dialog.h"

#include <algorithm>

namespace quillon {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool listsBefore(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return lower(x) < lower(y); });
}

void fillList(ReferenceLinksDialog& dialog) {
  dialog.list.clear();
  for (const ReferenceLink& record : dialog.table.links) dialog.list.push_back(record.word);
  if (dialog.showList)
    dialog.showList(dialog.host, dialog.list);
  else
    sortLikeListBox(dialog.list);
  dialog.selected = -1;
}

/// The table and the list are read again from the file.
void reload(ReferenceLinksDialog& dialog) {
  dialog.list.clear();
  loadReferenceLinks(dialog.table, dialog.filePath);
  fillList(dialog);
}

const std::string* selectedLine(const ReferenceLinksDialog& dialog) {
  if (dialog.selected < 0 || dialog.selected >= static_cast<int>(dialog.list.size()))
    return nullptr;
  return &dialog.list[dialog.selected];
}

int firstRecordWith(const ReferenceLinkTable& table, const std::string& word) {
  for (size_t i = 0; i < table.links.size(); ++i)
    if (table.links[i].word == word) return static_cast<int>(i);
  return -1;
}

}  // namespace

void sortLikeListBox(std::vector<std::string>& lines) {
  std::stable_sort(lines.begin(), lines.end(), listsBefore);
}

void openReferenceLinksDialog(ReferenceLinksDialog& dialog) {
  dialog.word.clear();
  dialog.link = "http://";
  dialog.checks = {};
  dialog.updateEnabled = false;
  dialog.editedPosition = -1;
  fillList(dialog);
}

std::string dialogItemLine(const ReferenceLinksDialog& dialog) {
  const LanguageChecks& c = dialog.checks;
  return formatItemLine({dialog.word, dialog.link, c.cpp, c.csharp, c.java, c.vb, c.all});
}

const ReferenceLink* recordForLine(const ReferenceLinkTable& table, const std::string& line) {
  int i = firstRecordWith(table, line);
  return i < 0 ? nullptr : &table.links[i];
}

void editSelected(ReferenceLinksDialog& dialog) {
  const std::string* line = selectedLine(dialog);
  if (!line) {
    platform::showMessage(dialog.window, "Please select a keyword in the list to edit",
                          "Message");
    return;
  }
  dialog.editedPosition = dialog.selected;
  const ReferenceLink* record = recordForLine(dialog.table, *line);
  if (!record) return;
  dialog.word = record->word;
  dialog.link = record->link;
  dialog.checks = {record->cpp, record->csharp, record->java, record->vb, record->all};
  dialog.updateEnabled = true;
}

void updateEdited(ReferenceLinksDialog& dialog) {
  if (dialog.editedPosition < 0 || dialog.editedPosition >= static_cast<int>(dialog.list.size()))
    return;
  const std::string edited = dialog.list[dialog.editedPosition];
  // The replaced records keep their places in the file, so the first of them tells the
  // word as it reads back (blanks removed, text cut where the reader cuts it).
  const int first = firstRecordWith(dialog.table, edited);
  const size_t count = dialog.table.links.size();
  saveReferenceLinksReplacing(dialog.table, dialog.filePath, edited, dialogItemLine(dialog));
  reload(dialog);

  dialog.editedPosition = -1;
  if (first >= 0 && dialog.table.links.size() == count) {
    const std::string& updated = dialog.table.links[first].word;
    auto at = std::find(dialog.list.begin(), dialog.list.end(), updated);
    if (at != dialog.list.end()) dialog.editedPosition = static_cast<int>(at - dialog.list.begin());
  }
  dialog.updateEnabled = dialog.editedPosition >= 0;
}

void addTyped(ReferenceLinksDialog& dialog) {
  if (!saveReferenceLinksAdding(dialog.table, dialog.filePath, dialogItemLine(dialog))) {
    platform::showMessage(dialog.window, addFailedMessage, "Error");
    return;
  }
  dialog.editedPosition = 0;
  platform::showMessage(dialog.window, addedMessage, "Message");
  dialog.updateEnabled = false;
  reload(dialog);
}

void deleteSelected(ReferenceLinksDialog& dialog) {
  if (!platform::askYesNo(dialog.window,
                          "Are you sure you want to delete the current reference link?"))
    return;
  const std::string* line = selectedLine(dialog);
  const ReferenceLink* record = line ? recordForLine(dialog.table, *line) : nullptr;
  if (!record) return;
  if (!saveReferenceLinksRemoving(dialog.table, dialog.filePath, record->word)) {
    platform::showMessage(dialog.window, deleteFailedMessage, "Error");
    return;
  }
  platform::showMessage(dialog.window, deletedMessage, "Message");
  dialog.updateEnabled = false;
  reload(dialog);
}

std::string goToPageTarget(const ReferenceLinksDialog& dialog) { return dialog.link; }

}  // namespace quillon
