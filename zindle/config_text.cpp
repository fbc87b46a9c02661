// Configuration file bytes to lines: encodings, text mode, line pieces.
#include "config_text.h"

#include <cstring>
#include <optional>
#include <string_view>

#include "launcher.h"

namespace zindle {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

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
  if (hasPrefix(bytes, kUtf8Mark)) {
    bytes.erase(0, kUtf8Mark.size());
    if (!os.codePageIsUtf8()) units = utf8ToUtf16(bytes, replaced);
  } else if (hasPrefix(bytes, kUtf16LittleEndianMark) ||
             hasPrefix(bytes, kUtf16BigEndianMark)) {
    const bool bigEndian = hasPrefix(bytes, kUtf16BigEndianMark);
    // An odd last byte holds no unit and counts as a replaced character.
    *replaced = bytes.size() % 2 != 0;
    units = utf16Units(bytes, kUtf16BigEndianMark.size(), bigEndian);
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

}  // namespace zindle
