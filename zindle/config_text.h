// The bytes of a configuration file as the reader takes them: the encoding
// of files saved by Windows editors, text-mode line ends, and the pieces
// that a 2048-byte line buffer would hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform.h"

namespace zindle {

// The text of a configuration file. A file with a byte-order mark says what
// it holds: UTF-16 (little or big endian) is converted by the platform into
// the code page the launcher works in, and so is UTF-8 unless that code page
// is UTF-8 itself, when only the mark is dropped. *replaced is then set when
// a character had no equivalent there (or was no character at all). A file
// without a mark is taken byte for byte. The result reads as Windows text
// mode reads: a CR LF pair is one LF, a CR on its own stays, and a Ctrl-Z
// ends the text.
std::string configFileText(Platform& os, std::string bytes, bool* replaced);

// The lines of a text, each piece up to and including its LF and at most
// 2047 characters, cut at a NUL (a line is a C text to everything that
// handles it). Pieces are views into the text.
class ConfigLines {
 public:
  explicit ConfigLines(std::string_view text) : text_(text) {}
  bool next(std::string_view* line);
  // The 1-based number of the physical line the last piece belongs to.
  std::size_t lineNumber() const { return lineNumber_; }
  // True when the last piece is the first of a line longer than 2047
  // characters, whose rest comes as pieces of their own.
  bool startsLongLine() const { return startsLongLine_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  bool holdsNul_ = text_.find('\0') != std::string_view::npos;
  std::size_t lineNumber_ = 0;
  bool atLineStart_ = true;
  bool startsLongLine_ = false;
};

}  // namespace zindle
