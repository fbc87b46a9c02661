// Configuration file bytes to lines: encodings, text mode, line pieces.
#include "config_text.h"

#include <cstring>
#include <optional>
#include <string_view>

#include "launcher.h"

namespace zindle {

namespace {

bool startsWith(const std::string& bytes, const char* mark) {
  return bytes.compare(0, std::strlen(mark), mark) == 0;
}

// The 16-bit units after the byte-order mark; an odd last byte has no unit
// and counts as a replaced character.
std::u16string utf16Units(const std::string& bytes, bool bigEndian,
                          bool* replaced) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    unsigned first = static_cast<unsigned char>(bytes[i]);
    unsigned second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? first << 8 | second
                                             : second << 8 | first);
  }
  if (bytes.size() % 2 != 0) *replaced = true;
  return units;
}

// The UTF-16 units of UTF-8 text. A byte that begins no valid sequence (a
// stray continuation, an overlong form, a surrogate, a value past U+10FFFF,
// a cut sequence) becomes U+FFFD and counts as a replaced character.
std::u16string utf8Units(std::string_view bytes, bool* replaced) {
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
    // The shortest form only, and no surrogates.
    static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && c >= kLeast[length] && c <= 0x10FFFF &&
            (c < 0xD800 || c > 0xDFFF);
    if (!valid) {
      units += u'\uFFFD';
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

// Text mode: CR LF as LF, the text up to a Ctrl-Z.
std::string textMode(std::string text) {
  std::size_t end = text.find('\x1a');
  if (end != std::string::npos) text.resize(end);
  std::size_t cr = text.find('\r');
  if (cr == std::string::npos) return text;
  // Moves each run between two CRs down over the CRs dropped so far.
  std::size_t out = cr;
  std::size_t in = cr;
  while (in < text.size()) {
    if (!(in + 1 < text.size() && text[in + 1] == '\n')) text[out++] = '\r';
    ++in;
    std::size_t next = text.find('\r', in);
    if (next == std::string::npos) next = text.size();
    std::memmove(&text[out], text.data() + in, next - in);
    out += next - in;
    in = next;
  }
  text.resize(out);
  return text;
}

}  // namespace

std::string configFileText(Platform& os, std::string bytes, bool* replaced) {
  *replaced = false;
  std::optional<std::u16string> units;
  if (startsWith(bytes, "\xEF\xBB\xBF")) {
    bytes.erase(0, 3);
    if (!os.codePageIsUtf8()) units = utf8Units(bytes, replaced);
  } else if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
    units = utf16Units(bytes, bytes[0] == '\xFE', replaced);
  }
  if (units) {
    bool converted = false;
    bytes = os.narrowUtf16(*units, &converted);
    *replaced = *replaced || converted;
  }
  return textMode(std::move(bytes));
}

bool ConfigLines::next(std::string_view* line) {
  if (pos_ >= text_.size()) return false;
  // What one read into the 2048-byte line buffer gives: up to and
  // including the next LF, but never more than 2047 characters.
  std::size_t end = text_.size();
  if (end - pos_ > kMaxLineChars) end = pos_ + kMaxLineChars;
  const void* lf = std::memchr(text_.data() + pos_, '\n', end - pos_);
  if (lf != nullptr)
    end =
        static_cast<std::size_t>(static_cast<const char*>(lf) - text_.data()) +
        1;
  std::string_view piece = text_.substr(pos_, end - pos_);
  // A piece cut at the limit ends its line only when the line feed comes
  // next: a line of exactly 2047 characters is not a long one.
  const bool cut = lf == nullptr && end < text_.size() && text_[end] != '\n';
  if (atLineStart_) ++lineNumber_;
  startsLongLine_ = cut && atLineStart_;
  atLineStart_ = lf != nullptr;
  pos_ = end;
  if (holdsNul_) piece = piece.substr(0, piece.find('\0'));
  *line = piece;
  return true;
}

std::vector<std::string> splitConfigLines(const std::string& contents) {
  const std::string text = textMode(contents);
  std::vector<std::string> pieces;
  ConfigLines lines(text);
  for (std::string_view piece; lines.next(&piece);) pieces.emplace_back(piece);
  return pieces;
}

}  // namespace zindle
