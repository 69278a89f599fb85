// The undo/redo history of a document: two lists of snapshot files, each a
// whole document in the archive format. The files live in a folder private
// to this history (mode 0700, made on first use under the system's
// temporary folder), so that no other user can read or plant snapshots;
// the folder and its files are deleted with the history.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tracemont {

class UndoHistory {
 public:
  UndoHistory() = default;
  ~UndoHistory();
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  // Path of the next undo ("u<n>.tmp", n = undo list length) or redo
  // ("r<n>.tmp") snapshot; makes the private folder first. Nothing when the
  // folder cannot be made.
  std::optional<std::string> NextUndoPath();
  std::optional<std::string> NextRedoPath();

  void PushUndo(std::string path) { undo_.push_back(std::move(path)); }
  void PushRedo(std::string path) { redo_.push_back(std::move(path)); }
  // The files stay on disk; later snapshots of the same index overwrite them.
  void PopUndo() { undo_.pop_back(); }
  void PopRedo() { redo_.pop_back(); }
  void ClearRedo() { redo_.clear(); }
  void Clear() {
    undo_.clear();
    redo_.clear();
  }

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Preconditions: CanUndo() / CanRedo().
  const std::string& LastUndo() const { return undo_.back(); }
  const std::string& LastRedo() const { return redo_.back(); }
  std::size_t UndoCount() const { return undo_.size(); }
  std::size_t RedoCount() const { return redo_.size(); }

  // The private folder ("" until the first snapshot).
  const std::string& Folder() const { return folder_; }

  // Set while a snapshot is read back, so that the reset of the document
  // keeps the lists.
  bool restoring = false;

 private:
  bool EnsureFolder();
  std::string PathOf(char kind, std::size_t index) const;
  std::string folder_;
  std::vector<std::string> undo_;
  std::vector<std::string> redo_;
};

}  // namespace tracemont
