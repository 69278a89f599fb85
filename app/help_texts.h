// Help texts and topics: the reader of the settings-format text files
// ("lang.lng", "StrRes/HelpEnglish.lng") and the tables that map command and
// dialog ids to pop-up texts and help topics.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

namespace tracemont {

// Reads a file of "[Section]" headers and "key=value" lines. Keys and
// section names compare without regard to ASCII case; a missing file reads
// as empty.
class LanguageFile {
 public:
  static constexpr std::size_t kMaxText = 1024;

  // path: the full path of the file; section: the section string reads use.
  explicit LanguageFile(std::string path, std::string section = "Strings");

  // Points the reader at another file; the language is read again and the
  // section reset to "Strings".
  void Repoint(std::string path);

  const std::string& Path() const { return path_; }
  // Value of "lang" in section "Main"; "???" when absent (at most 1024 characters).
  const std::string& Language() const { return language_; }
  const std::string& Section() const { return section_; }

  // The text stored under key "%d" (low 16 bits of id) in the current
  // section, at most 1024 characters; `fallback` when absent. Every "|"
  // becomes a line break unless the text holds a file filter ("*.").
  std::string String(std::uint32_t id, const std::string& fallback = {}) const;
  // The raw value of a key in a section, if present.
  std::optional<std::string> Value(const std::string& section, const std::string& key) const;

 private:
  void Load();

  std::string path_;
  std::string language_ = "???";
  std::string section_;
  // section (lower case) -> key (lower case) -> value
  std::map<std::string, std::map<std::string, std::string>> values_;
};

// One row of an id-to-text table.
struct HelpPair {
  std::uint32_t id;
  std::uint32_t textId;
};

// Commands (and a few windows) to pop-up text ids, ended by (0, 0).
std::span<const HelpPair> CommandHelpTable();
// The "About" box's controls, ended by (0, 0).
std::span<const HelpPair> AboutHelpTable();

// Text id of the first row whose id matches; nothing when the table ends
// (a row with id 0) first or the text id is 0.
std::optional<std::uint32_t> HelpTextId(std::span<const HelpPair> table, std::uint32_t id);

// Help topic of a dialog resource id (0 for dialogs without a topic).
int HelpTopicForDialog(int dialogId);

}  // namespace tracemont
