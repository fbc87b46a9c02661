// Finding an installed Java runtime through the registry.
#pragma once

#include <optional>
#include <string>

#include "config_reader.h"

namespace zindle {

constexpr const char* kJavaRootKey =
    "SOFTWARE\\JavaSoft\\Java Runtime Environment";

// The Java path for the required javaVersion, or none. May replace
// javaVersion and may end the process (status 11).
std::optional<std::string> findJavaForVersion(Launcher& launcher);

// The Java path of the registry's current runtime, or none.
std::optional<std::string> findCurrentJava(Launcher& launcher);

// Scans the installed versions for the best match of javaVersion.
void selectInstalledVersion(Launcher& launcher);

// <home>\bin\javaw.exe (java.exe in debug mode), quoted when needed.
std::string makeJavaExePath(Launcher& launcher, const std::string& home);

// Offers the download page and ends the process with status 11.
[[noreturn]] void offerJavaDownload(Launcher& launcher,
                                    const std::string& caption);

// Starts the download page for javaVersion, without waiting.
void openJavaDownloadPage(Launcher& launcher);

}  // namespace zindle
