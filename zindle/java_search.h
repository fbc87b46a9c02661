// The wider search for a Java runtime, for when the current runtime's key
// names none or a configuration asks for a minimum version: the JavaSoft
// and vendor keys of HKEY_LOCAL_MACHINE's 64-bit view, of
// HKEY_CURRENT_USER and of the 32-bit view, then JAVA_HOME; and the version
// numbers that rank what it finds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher.h"

namespace zindle {

// The numbers of a version text, most significant first.
using JavaVersionNumbers = std::vector<unsigned>;

// Reads a version from a key name or a version text: leading non-digits
// are skipped ("zulu-21"), ".", "_", "+" and "-" separate numbers, any
// other character ends the version, and a leading "1." followed by a
// number is dropped: "1.8.0_301" reads as 8.0.301, "17.0.9.9" as 17.0.9.9.
// Empty when the text holds no digit.
JavaVersionNumbers readJavaVersion(std::string_view text);

// Negative, zero or positive as a is below, equal to or above b, number by
// number; a missing number counts as 0.
int compareJavaVersions(const JavaVersionNumbers& a,
                        const JavaVersionNumbers& b);

// "17.0.9" from the numbers.
std::string javaVersionText(const JavaVersionNumbers& version);

// Where a candidate was found, in the order searched.
enum class JavaSource { kMachine64, kUser, kMachine32, kJavaHome };

struct JavaCandidate {
  JavaSource source = JavaSource::kMachine64;
  std::string key;   // the registry key it was read from, or "JAVA_HOME"
  std::string home;  // without a trailing backslash
  // None for a JAVA_HOME whose release file names no version.
  std::optional<JavaVersionNumbers> version;
  bool present = false;  // the home holds the program the launcher starts
};

// Every runtime the registry places and JAVA_HOME name, in search order.
std::vector<JavaCandidate> gatherJavaCandidates(Launcher& launcher);

// The index of the candidate to use, or none. Only present candidates
// count, and with a minimum only those of at least that version. One from
// the 32-bit view is taken only when the 64-bit view and
// HKEY_CURRENT_USER give none. The highest version wins; on a tie the
// earlier one. A JAVA_HOME without a version is taken only when nothing
// else is found, and never for a minimum.
std::optional<std::size_t> chooseJava(
    const std::vector<JavaCandidate>& candidates,
    const JavaVersionNumbers* minimum);

// Searches, chooses, and in debug mode shows what was searched and what
// was chosen. Returns the chosen home directory, or none.
std::optional<std::string> searchJavaHome(Launcher& launcher,
                                          const JavaVersionNumbers* minimum);

}  // namespace zindle
