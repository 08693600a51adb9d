#pragma once
// The Custom Reference Links dialog's behaviour, over a plain record of its fields. The
// window copies its controls into the record before a command and shows the record
// afterwards; every change is written to the reference links file at once and the table
// and the list are reloaded from it.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "reflinks/reference_links.h"

namespace quillon {

/// What Add and Delete tell when they have written the file, or could not. The links
/// command says the same.
inline constexpr std::string_view addedMessage = "Successfully added!";
inline constexpr std::string_view addFailedMessage = "Unable to add!";
inline constexpr std::string_view deletedMessage = "Successfully deleted!";
inline constexpr std::string_view deleteFailedMessage = "Unable to deleted!";

/// The five language check boxes, in the order of the item line.
struct LanguageChecks {
  bool cpp = false;
  bool csharp = false;
  bool java = false;
  bool vb = false;
  bool all = false;
};

struct ReferenceLinksDialog {
  ReferenceLinksDialog(ReferenceLinkTable& t, std::string path, platform::Window w)
      : table(t), filePath(std::move(path)), window(w) {}

  ReferenceLinkTable& table;
  std::string filePath;                ///< the reference links file, fixed while open
  platform::Window window = nullptr;   ///< owner of the dialog's messages

  std::vector<std::string> list;       ///< the word list as shown (the list's own order)
  int selected = -1;                   ///< selected list line, or -1
  std::string word;                    ///< the keyword field
  std::string link;                    ///< the link field
  LanguageChecks checks;
  bool updateEnabled = false;
  int editedPosition = -1;             ///< list line last loaded by Edit, or -1

  /// Shows `lines` (the words in table order) in the window's list and puts them in the
  /// list's order. Null: sorted as the list box sorts, case ignored.
  void (*showList)(void* host, std::vector<std::string>& lines) = nullptr;
  void* host = nullptr;
};

/// The list box's alphabetical order: letter case ignored, ties kept in insertion order.
void sortLikeListBox(std::vector<std::string>& lines);

/// The dialog opens: the link field holds "http://", the list holds every word, Update is
/// disabled.
void openReferenceLinksDialog(ReferenceLinksDialog& dialog);

/// The item line that the fields and check boxes describe, texts as typed.
std::string dialogItemLine(const ReferenceLinksDialog& dialog);

/// The first record whose word is `line`, or null.
const ReferenceLink* recordForLine(const ReferenceLinkTable& table, const std::string& line);

/// Edit: loads the selected line's record into the fields and enables Update; with no
/// selection, says "Please select a keyword in the list to edit".
void editSelected(ReferenceLinksDialog& dialog);

/// Update: replaces every record of the word that Edit loaded with the typed record and
/// reloads. The edited position then follows the updated word, so a second Update changes
/// the same records again; when that word cannot be found, Update is disabled.
void updateEdited(ReferenceLinksDialog& dialog);

/// Add: appends the typed record to the file; "Successfully added!" or "Unable to add!".
void addTyped(ReferenceLinksDialog& dialog);

/// Delete: after confirmation, removes every record with the selected line's word;
/// "Successfully deleted!" or "Unable to deleted!".
void deleteSelected(ReferenceLinksDialog& dialog);

/// Go To Page: the text to open in the browser (the link field as typed).
std::string goToPageTarget(const ReferenceLinksDialog& dialog);

}  // namespace quillon
