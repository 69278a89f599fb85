#include "app/help_texts.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "model/text.h"

namespace tracemont {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

// The command table: every command with a pop-up text, in the order help
// looks them up. Commands that share a text share its id.
constexpr HelpPair kCommandTable[] = {
    {101, 10101},   {57600, 10102}, {57601, 10105}, {57603, 10106}, {57607, 10107},
    {57609, 10108}, {32823, 10110}, {32811, 10111}, {32812, 10112}, {32810, 10113},
    {32816, 10114}, {32817, 10115}, {32831, 10116}, {32822, 10117}, {32876, 11300},
    {32875, 11200}, {32796, 11510}, {33300, 11500}, {57643, 10120}, {57644, 10121},
    {32750, 10122}, {32776, 10123}, {32802, 21202}, {32879, 11600}, {32873, 11610},
    {32871, 11620}, {32870, 11630}, {57667, 10130}, {57669, 10131}, {57664, 10132},
    {32780, 11010}, {32781, 11011}, {32836, 11012}, {32778, 11013}, {32779, 11014},
    {32784, 11015}, {32837, 11016}, {32783, 11017}, {32814, 11102}, {32815, 11102},
    {32813, 11103}, {32788, 11104}, {32790, 11105}, {32852, 11402}, {32851, 11402},
    {32850, 11402}, {32853, 11402}, {32854, 11402}, {32855, 11402}, {32843, 11452},
    {32844, 11452}, {32845, 11452}, {32839, 11460}, {21000, 21001}, {21010, 21011},
    {21100, 21101}, {21110, 21111}, {21120, 21121}, {21130, 21131}, {194, 21202},
    {0, 0},
};
static_assert(std::size(kCommandTable) == 61, "60 commands and the end row");

constexpr HelpPair kAboutTable[] = {{1, 4012}, {2, 4015}, {12321, 4018}, {9, 4021}, {0, 0}};

}  // namespace

LanguageFile::LanguageFile(std::string path, std::string section)
    : path_(std::move(path)), section_(std::move(section)) {
  Load();
}

void LanguageFile::Repoint(std::string path) {
  path_ = std::move(path);
  section_ = "Strings";
  Load();
}

void LanguageFile::Load() {
  values_.clear();
  language_ = "???";
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;
  std::string section;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t.front() == '[' && t.back() == ']') {
      section = Lower(Trim(t.substr(1, t.size() - 2)));
      continue;
    }
    const auto eq = t.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = Lower(Trim(t.substr(0, eq)));
    auto& keys = values_[section];
    // The first occurrence of a key wins, as in settings files.
    keys.emplace(key, Trim(t.substr(eq + 1)));
  }
  if (const auto lang = Value("Main", "lang")) language_ = lang->substr(0, kMaxText);
}

std::optional<std::string> LanguageFile::Value(const std::string& section, const std::string& key) const {
  const auto s = values_.find(Lower(section));
  if (s == values_.end()) return std::nullopt;
  const auto k = s->second.find(Lower(key));
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

std::string LanguageFile::String(std::uint32_t id, const std::string& fallback) const {
  const auto value = Value(section_, StrFormat("%d", static_cast<int>(id & 0xFFFF)));
  std::string text = value ? value->substr(0, kMaxText) : fallback;
  if (text.find("*.") == std::string::npos) std::replace(text.begin(), text.end(), '|', '\n');
  return text;
}

std::span<const HelpPair> CommandHelpTable() { return kCommandTable; }
std::span<const HelpPair> AboutHelpTable() { return kAboutTable; }

std::optional<std::uint32_t> HelpTextId(std::span<const HelpPair> table, std::uint32_t id) {
  for (const HelpPair& row : table) {
    if (row.id == 0) return std::nullopt;
    if (row.id == id) return row.textId == 0 ? std::nullopt : std::optional(row.textId);
  }
  return std::nullopt;
}

int HelpTopicForDialog(int id) {
  switch (id) {
    case 144: case 145: case 146: case 164: case 165: case 166: return 146;
    case 156: case 157: case 158: case 159: return 159;
    case 190: return 190;
    case 192: return 182;
    case 211: case 212: case 213: return 212;
    case 221: case 222: case 223: return 222;
    default: return id >= 182 && id <= 189 ? 182 : 0;
  }
}

}  // namespace tracemont
