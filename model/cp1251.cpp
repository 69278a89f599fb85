#include "model/cp1251.h"

#include <array>
#include <cstdint>

namespace tracemont {
namespace {

// Characters of the bytes 0x80..0xFF; 0x98 has none in the code page and is
// carried as the C1 control U+0098.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

constexpr char32_t kReplacement = 0xFFFD;

// One decoded character and the bytes it took; invalid input decodes as
// U+FFFD of one byte and reports itself as invalid.
struct Decoded {
  char32_t code;
  std::size_t length;
  bool valid;
};

Decoded DecodeUtf8(std::string_view s, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t lead = byte(at);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length = 0;
  char32_t code = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code = lead & 0x1F;
    least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code = lead & 0x0F;
    least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code = lead & 0x07;
    least = 0x10000;
  } else {
    return {kReplacement, 1, false};
  }
  if (at + length > s.size()) return {kReplacement, 1, false};
  for (std::size_t i = 1; i < length; ++i) {
    const std::uint8_t b = byte(at + i);
    if ((b & 0xC0) != 0x80) return {kReplacement, 1, false};
    code = (code << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return {kReplacement, 1, false};
  return {code, length, true};
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::optional<char> Cp1251ByteOf(char32_t c) {
  if (c < 0x80) return static_cast<char>(c);
  // Cyrillic А..я is one contiguous run in both tables.
  if (c >= 0x0410 && c <= 0x044F) return static_cast<char>(c - 0x0410 + 0xC0);
  for (std::size_t i = 0; i < 0x40; ++i)
    if (kHighHalf[i] == c) return static_cast<char>(0x80 + i);
  return std::nullopt;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (b < 0x80)
      out.push_back(ch);
    else
      AppendUtf8(out, kHighHalf[b - 0x80]);
  }
  return out;
}

std::optional<std::string> Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Decoded d = DecodeUtf8(utf8, at);
    if (!d.valid) return std::nullopt;
    const auto b = Cp1251ByteOf(d.code);
    if (!b) return std::nullopt;
    out.push_back(*b);
    at += d.length;
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Decoded d = DecodeUtf8(utf8, at);
    at += d.length;
    if (d.code < 0x10000) {
      out.push_back(static_cast<char16_t>(d.code));
    } else {
      const char32_t v = d.code - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < utf8.size(); ++count) at += DecodeUtf8(utf8, at).length;
  return count;
}

std::string Utf8Prefix(std::string_view utf8, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < count && at < utf8.size(); ++n) at += DecodeUtf8(utf8, at).length;
  return std::string(utf8.substr(0, at));
}

std::vector<std::string> Utf8Characters(std::string_view utf8) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t length = DecodeUtf8(utf8, at).length;
    out.emplace_back(utf8.substr(at, length));
    at += length;
  }
  return out;
}

}  // namespace tracemont
