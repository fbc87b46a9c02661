#include "text.h"

namespace zindle {

namespace {

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char16_t kLatin1End = 0x100;
constexpr std::string_view kReleaseVersionKey = "JAVA_VERSION=";

}  // namespace

std::string asciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::u16string utf16Units(std::string_view bytes, std::size_t start,
                          bool bigEndian) {
  std::u16string units;
  if (bytes.size() > start) units.reserve((bytes.size() - start) / 2);
  for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
    unsigned first = static_cast<unsigned char>(bytes[i]);
    unsigned second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? first << 8 | second
                                             : second << 8 | first);
  }
  return units;
}

std::u16string utf8ToUtf16(std::string_view bytes, bool* replaced) {
  // The least value of a sequence of each length: a longer form than needed
  // is no character.
  static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  std::u16string units;
  units.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = length != 0 && i + length <= bytes.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const unsigned next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3F);
    }
    valid = valid && c >= kLeast[length] && c <= 0x10FFFF &&
            !isHighSurrogate(c) && !isLowSurrogate(c);
    if (!valid) {
      units += static_cast<char16_t>(kReplacementCharacter);
      *replaced = true;
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(c);
    }
    i += length;
  }
  return units;
}

std::string utf16ToUtf8(const std::u16string& text, bool* replaced) {
  *replaced = false;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (isHighSurrogate(c) && i + 1 < text.size() &&
        isLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
      c = kReplacementCharacter;
      *replaced = true;
    }
    appendUtf8(out, c);
  }
  return out;
}

std::optional<std::string> releaseJavaVersion(std::string_view release) {
  for (const std::string& line : splitAt(release, '\n')) {
    if (!hasPrefix(line, kReleaseVersionKey)) continue;
    std::string_view value = line;
    value.remove_prefix(kReleaseVersionKey.size());
    const std::size_t first = value.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return std::string();
    value = value.substr(first, value.find_last_not_of(" \t\r") - first + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

std::string latin1FromUtf16(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out += c < kLatin1End ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace zindle
