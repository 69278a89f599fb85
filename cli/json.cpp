#include "cli/json.h"

#include <cstdio>
#include <tuple>

#include "formula/formula_syntax.h"

namespace tracemont::cli {
namespace {

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  // The one value of the text; throws JsonError.
  JsonValue ReadDocument() {
    JsonValue value = ReadValue(0);
    SkipSpace();
    if (pos_ != text_.size()) Fail("unexpected text after the value");
    return value;
  }

 private:
  static constexpr int kMaxDepth = 64;

  [[noreturn]] void Fail(const std::string& what) const {
    throw JsonError{pos_ + 1, what};
  }

  void SkipSpace() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
      ++pos_;
  }

  bool Take(char c) {
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected '") + c + "'");
  }

  JsonValue ReadValue(int depth) {
    if (depth > kMaxDepth) Fail("nested too deeply");
    SkipSpace();
    if (pos_ >= text_.size()) Fail("missing value");
    JsonValue v;
    const char c = text_[pos_];
    if (c == '{') {
      ++pos_;
      v.kind = JsonValue::Kind::kObject;
      if (Take('}')) return v;
      do {
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != '"') Fail("expected a member name");
        std::string key = ReadString();
        Expect(':');
        v.members.emplace_back(std::move(key), ReadValue(depth + 1));
      } while (Take(','));
      Expect('}');
      return v;
    }
    if (c == '[') {
      ++pos_;
      v.kind = JsonValue::Kind::kArray;
      if (Take(']')) return v;
      do v.items.push_back(ReadValue(depth + 1));
      while (Take(','));
      Expect(']');
      return v;
    }
    if (c == '"') {
      v.kind = JsonValue::Kind::kString;
      v.text = ReadString();
      return v;
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
      v.kind = JsonValue::Kind::kNumber;
      v.number = ReadNumber();
      return v;
    }
    for (const auto& [word, kind, flag] :
         {std::tuple{"true", JsonValue::Kind::kBool, true},
          std::tuple{"false", JsonValue::Kind::kBool, false},
          std::tuple{"null", JsonValue::Kind::kNull, false}}) {
      const std::string_view w(word);
      if (text_.substr(pos_, w.size()) == w) {
        pos_ += w.size();
        v.kind = kind;
        v.boolean = flag;
        return v;
      }
    }
    Fail("unexpected character");
  }

  double ReadNumber() {
    const std::size_t start = pos_;
    auto digits = [this] {
      const std::size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (text_[pos_] == '-') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '0')
      ++pos_;
    else if (!digits())
      Fail("bad number");
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      if (!digits()) Fail("bad number");
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (!digits()) Fail("bad number");
    }
    return formula::NumberValue(text_.substr(start, pos_ - start));
  }

  unsigned ReadHex4() {
    if (pos_ + 4 > text_.size()) Fail("bad \\u escape");
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = text_[pos_++];
      code <<= 4;
      if (h >= '0' && h <= '9')
        code |= static_cast<unsigned>(h - '0');
      else if (h >= 'a' && h <= 'f')
        code |= static_cast<unsigned>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F')
        code |= static_cast<unsigned>(h - 'A' + 10);
      else
        Fail("bad \\u escape");
    }
    return code;
  }

  static void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::string ReadString() {
    ++pos_;  // the opening quote
    std::string out;
    while (true) {
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char e = text_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned code = ReadHex4();
          if (code >= 0xD800 && code <= 0xDBFF) {
            if (text_.substr(pos_, 2) != "\\u") Fail("lone surrogate");
            pos_ += 2;
            const unsigned low = ReadHex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("lone surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          } else if (code >= 0xDC00 && code <= 0xDFFF) {
            Fail("lone surrogate");
          }
          AppendUtf8(out, code);
          break;
        }
        default: Fail("bad escape");
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// Length of the valid UTF-8 sequence at the start of `s`, 0 if none.
std::size_t Utf8Length(std::string_view s) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(0);
  std::size_t n = 0;
  unsigned min = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  unsigned code = c & (0xFF >> (n + 1));
  for (std::size_t i = 1; i < n; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (b(i) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

JsonValue ParseJson(std::string_view text) { return JsonReader(text).ReadDocument(); }

// A JSON string. Formula texts are byte strings: valid UTF-8 passes through,
// any other byte is written as the character of the same code.
std::string JsonQuote(std::string_view s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      if (const std::size_t n = Utf8Length(s.substr(i)); n > 0) {
        out.append(s.substr(i, n));
        i += n;
        continue;
      }
    }
    ++i;
    switch (c) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace tracemont::cli
