// Small text helpers shared by the core and the platforms: byte strings as
// the launcher handles them, and UTF-16 as configuration and registry files
// hold it.
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zindle {

// True when `text` begins with `prefix` (case-sensitive).
inline bool hasPrefix(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Replaces each backslash by "/": a configuration written for Windows names
// its files with backslashes.
inline void toForwardSlashes(std::string& text) {
  char* end = text.data() + text.size();
  for (char* at = text.data();
       (at = static_cast<char*>(std::memchr(at, '\\', end - at))) != nullptr;)
    *at++ = '/';
}

inline std::string withForwardSlashes(std::string text) {
  toForwardSlashes(text);
  return text;
}

// The pieces of `text` between `separator`s, empty ones included: n
// separators give n + 1 pieces.
inline std::vector<std::string> splitAt(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  for (std::size_t start = 0;;) {
    std::size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    pieces.emplace_back(text.substr(start, end - start));
    if (end == text.size()) return pieces;
    start = end + 1;
  }
}

// ASCII letters in lower case; other bytes as they are.
std::string asciiLower(std::string text);

// The 16-bit units of UTF-16 `bytes` from `start` on, in the byte order
// given. An odd last byte holds no unit and is left out.
std::u16string utf16Units(std::string_view bytes, std::size_t start,
                          bool bigEndian);

// The UTF-16 units of UTF-8 `bytes`. A byte that begins no valid sequence
// (a stray continuation byte, an overlong form, a surrogate, a value past
// U+10FFFF, a cut sequence) becomes U+FFFD, and *replaced is then set.
std::u16string utf8ToUtf16(std::string_view bytes, bool* replaced);

// `text` in UTF-8. A surrogate without its partner becomes U+FFFD, as the
// system conversions do, and *replaced is set.
std::string utf16ToUtf8(const std::u16string& text, bool* replaced);

// The value of JAVA_VERSION in the text of a Java runtime's "release" file,
// trimmed and without its quotes; none when the file has no such line.
std::optional<std::string> releaseJavaVersion(std::string_view release);

// `text` narrowed to single bytes: Latin-1 as it is, "?" for the rest.
std::string latin1FromUtf16(const std::u16string& text);

}  // namespace zindle
