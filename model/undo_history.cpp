#include "model/undo_history.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "model/text.h"

namespace tracemont {

UndoHistory::~UndoHistory() {
  if (folder_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

bool UndoHistory::EnsureFolder() {
  if (!folder_.empty()) return true;
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  std::string pattern = (base / "tracemont-undo-XXXXXX").string();
  // mkdtemp makes the folder with mode 0700 under a name no one can predict.
  if (::mkdtemp(pattern.data()) == nullptr) return false;
  folder_ = pattern;
  return true;
}

std::string UndoHistory::PathOf(char kind, std::size_t index) const {
  return folder_ + "/" + StrFormat("%c%d.tmp", kind, static_cast<int>(index));
}

std::optional<std::string> UndoHistory::NextUndoPath() {
  if (!EnsureFolder()) return std::nullopt;
  return PathOf('u', undo_.size());
}

std::optional<std::string> UndoHistory::NextRedoPath() {
  if (!EnsureFolder()) return std::nullopt;
  return PathOf('r', redo_.size());
}

}  // namespace tracemont
