// Reads the certified regression data sets of the shared data folder: a
// small JSON reader that keeps only what the accuracy tests need.
#pragma once

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace tracemont::testdata {

struct JsonNode {
  double number = 0.0;
  std::string text;
  std::vector<JsonNode> items;
  std::map<std::string, JsonNode> members;

  const JsonNode* Find(const std::string& name) const {
    const auto it = members.find(name);
    return it == members.end() ? nullptr : &it->second;
  }
  std::vector<double> Numbers() const {
    std::vector<double> out;
    for (const JsonNode& n : items) out.push_back(n.number);
    return out;
  }
};

// Enough of JSON for trusted data files: objects, arrays, strings without
// escapes beyond \" and \\, numbers, true/false/null (read as 0).
class JsonParser {
 public:
  explicit JsonParser(std::string text) : text_(std::move(text)) {}
  JsonNode Parse() { return Value(); }

 private:
  void Space() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  JsonNode Value() {
    Space();
    JsonNode node;
    if (pos_ >= text_.size()) return node;
    const char c = text_[pos_];
    if (c == '{') {
      ++pos_;
      for (Space(); pos_ < text_.size() && text_[pos_] != '}'; Space()) {
        const std::string name = String();
        Space();
        ++pos_;  // ':'
        node.members[name] = Value();
        Space();
        if (text_[pos_] == ',') ++pos_;
      }
      ++pos_;
    } else if (c == '[') {
      ++pos_;
      for (Space(); pos_ < text_.size() && text_[pos_] != ']'; Space()) {
        node.items.push_back(Value());
        Space();
        if (text_[pos_] == ',') ++pos_;
      }
      ++pos_;
    } else if (c == '"') {
      node.text = String();
    } else if (std::isalpha(static_cast<unsigned char>(c))) {
      while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    } else {
      char* end = nullptr;
      node.number = std::strtod(text_.c_str() + pos_, &end);
      pos_ = static_cast<std::size_t>(end - text_.c_str());
    }
    return node;
  }
  std::string String() {
    std::string out;
    ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      if (text_[pos_] == '\\') ++pos_;
      out += text_[pos_++];
    }
    ++pos_;
    return out;
  }

  std::string text_;
  std::size_t pos_ = 0;
};

struct NistSet {
  std::string name;
  std::string kind;  // "polynomial" or "nonlinear"
  int degree = 0;
  int params = 0;
  std::string formula;
  std::vector<double> x, y, certified, start1, start2;
  double certifiedRss = 0.0;
};

inline std::vector<NistSet> ReadNistSets(const std::string& path) {
  std::ifstream in(path);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const JsonNode root = JsonParser(buffer.str()).Parse();
  std::vector<NistSet> sets;
  const JsonNode* list = root.Find("sets");
  if (!list) return sets;
  for (const JsonNode& node : list->items) {
    NistSet s;
    const auto text = [&](const char* n) { return node.Find(n) ? node.Find(n)->text : ""; };
    const auto number = [&](const char* n) { return node.Find(n) ? node.Find(n)->number : 0.0; };
    const auto numbers = [&](const char* n) {
      return node.Find(n) ? node.Find(n)->Numbers() : std::vector<double>{};
    };
    s.name = text("name");
    s.kind = text("kind");
    s.formula = text("formula");
    s.degree = static_cast<int>(number("degree"));
    s.params = static_cast<int>(number("params"));
    s.x = numbers("x");
    s.y = numbers("y");
    s.certified = numbers("certified");
    s.start1 = numbers("start1");
    s.start2 = numbers("start2");
    s.certifiedRss = number("certified_rss");
    sets.push_back(std::move(s));
  }
  return sets;
}

}  // namespace tracemont::testdata
