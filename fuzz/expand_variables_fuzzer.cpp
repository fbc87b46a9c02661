// expandVariables over a fuzzed text and environment.
//
// Input: flag byte (1 quoting wish, 2 debug), then the environment
// ("NAME=VALUE" lines) and the text, separated by 0xFF.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "config_reader.h"
#include "fake_platform.h"
#include "fuzz_input.h"

using zindle::fuzz::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  zindle::fuzz::Input in = zindle::fuzz::splitInput(data, size);
  zindle::testing::FakePlatform os;
  zindle::fuzz::loadEnvironment(os, in.section(0));
  zindle::Launcher launcher(os);
  launcher.settings.debug = (in.flags & 2) != 0;
  const std::string& text = in.section(1);

  std::string result = zindle::expandVariables(launcher, text, in.flags & 1);

  if (text.find('$') == std::string::npos && result != text)
    fail("a text without \"$\" changed", text + "\n->\n" + result);
  if (result.size() > std::max(zindle::kMaxExpandedChars, text.size()))
    fail("expansion longer than its bound",
         std::to_string(result.size()) + " characters");
  // Once anything was substituted, the whole result has had its
  // backslashes turned into slashes.
  if (result != text && result.find('\\') != std::string::npos)
    fail("backslash left in an expanded text", text + "\n->\n" + result);
  // A second expansion of the same text gives the same result: nothing in
  // the launcher's state may change between them.
  if (zindle::expandVariables(launcher, text, in.flags & 1) != result)
    fail("expansion is not repeatable", text);
  return 0;
}
