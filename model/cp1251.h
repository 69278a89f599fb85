// Text encodings of documents: strings are UTF-8 in memory, Windows-1251
// bytes on disk, and UTF-16 code units in the wide string form.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tracemont {

// Windows-1251 bytes to UTF-8. Every byte has a character: the one byte the
// code page leaves undefined (0x98) becomes U+0098, so that text read and
// written again keeps its bytes.
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1251 bytes; nothing when the text holds a character the
// code page cannot hold (or is not valid UTF-8), so the caller can choose a
// lossless form instead.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8);

// UTF-8 to UTF-16 code units (characters above U+FFFF become surrogate
// pairs); each invalid UTF-8 byte becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

// Number of characters (code points) of a UTF-8 text; every invalid byte
// counts as one character.
std::size_t Utf8Length(std::string_view utf8);

// The first `count` characters of a UTF-8 text (never cuts a character).
std::string Utf8Prefix(std::string_view utf8, std::size_t count);

// The characters of a UTF-8 text, each as its own UTF-8 string (an invalid
// byte stands alone).
std::vector<std::string> Utf8Characters(std::string_view utf8);

}  // namespace tracemont
