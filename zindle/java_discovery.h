// Finding an installed Java runtime through the registry.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "launcher.h"

namespace zindle {

constexpr const char* kJavaRootKey =
    "SOFTWARE\\JavaSoft\\Java Runtime Environment";

// Buffer sizes that discovery and the wider search (java_search.h) share,
// in bytes including the terminating zero. Texts that would not fit are
// refused, never overrun.
constexpr std::size_t kSubkeyNameSize = 256;  // 255 passed to the registry
constexpr std::size_t kKeyPathSize = 255;     // a key path
constexpr std::size_t kJavaHomeSize = 2048;   // a home and the Java path

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

// The Java path of the registry's current runtime, or none. When the
// current runtime's key names none, the wider search of java_search.h
// looks further before the "No Java Installation" box is shown.
std::optional<std::string> findCurrentJava(Launcher& launcher);

// The Java path of the highest runtime of at least `minimum` that the wider
// search finds, or none after the download prompt (unless quiet).
std::optional<std::string> findJavaForMinVersion(Launcher& launcher,
                                                 const std::string& minimum);

// True for an address the download prompt may open: http:// or https://,
// without a double quote or blank, fitting the download command.
bool isDownloadAddress(const std::string& address);

// Scans the installed versions for the best match of javaVersion. A
// required version too long for the scan's 20-byte copy is not scanned: it
// stays as it is, and opening its key then fails. Ends the run (status 11,
// after the download prompt) when no installed version reaches the
// required patch level or the versions cannot be listed.
EarlyExit selectInstalledVersion(Launcher& launcher);

// <home>\bin\javaw.exe (java.exe in debug mode), without quotes.
std::string unquotedJavaExePath(const LaunchSettings& settings,
                                const std::string& home);

// <home>\bin\javaw.exe (java.exe in debug mode), quoted when the home holds
// a space or on Vista and later. None when the path would not fit the
// 2048-byte buffer.
std::optional<std::string> makeJavaExePath(Launcher& launcher,
                                           const std::string& home);

// Offers the download page; returns the status the run then ends with, 11.
ExitStatus offerJavaDownload(Launcher& launcher, const std::string& caption);

// Starts the download page, without waiting: javaDownloadUrl when the
// configuration gave one, else the page for javaVersion, if any.
void openJavaDownloadPage(Launcher& launcher);

}  // namespace zindle
