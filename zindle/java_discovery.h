// Finding an installed Java runtime through the registry.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "launcher.h"

namespace zindle {

constexpr const char* kJavaRootKey =
    "SOFTWARE\\JavaSoft\\Java Runtime Environment";

// A version text split into its base and patch level.
struct JavaVersionParts {
  std::string base;    // text before the first underscore, or all of it
  int patchLevel = 0;  // read like atoi after the first underscore, else 0
  bool hasUnderscore = false;
};

// Splits a required or an installed version text.
JavaVersionParts splitJavaVersion(const std::string& version);

// What the search for a required version found: the Java path, or none; or
// the end of the run after the download prompt (status 11).
struct JavaSearch {
  std::optional<std::string> path;
  EarlyExit earlyExit;
};

// The Java path for the required javaVersion. May replace javaVersion.
JavaSearch findJavaForVersion(Launcher& launcher);

// The Java path of the registry's current runtime, or none.
std::optional<std::string> findCurrentJava(Launcher& launcher);

// Scans the installed versions for the best match of javaVersion. A
// required version too long for the scan's 20-byte copy is not scanned: it
// stays as it is, and opening its key then fails. Ends the run (status 11,
// after the download prompt) when no installed version reaches the
// required patch level or the versions cannot be listed.
EarlyExit selectInstalledVersion(Launcher& launcher);

// <home>\bin\javaw.exe (java.exe in debug mode), quoted when the home holds
// a space or on Vista and later. None when the path would not fit the
// 2048-byte buffer.
std::optional<std::string> makeJavaExePath(Launcher& launcher,
                                           const std::string& home);

// Offers the download page; returns the status the run then ends with, 11.
ExitStatus offerJavaDownload(Launcher& launcher, const std::string& caption);

// Starts the download page for javaVersion, without waiting.
void openJavaDownloadPage(Launcher& launcher);

}  // namespace zindle
