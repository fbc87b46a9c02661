// UTF-16 to UTF-8, for platforms whose code page is UTF-8.
#pragma once

#include <string>

namespace zindle {

// `text` in UTF-8. A surrogate without its partner becomes U+FFFD, as the
// system conversions do, and *replaced is set.
std::string utf16ToUtf8(const std::u16string& text, bool* replaced);

}  // namespace zindle
