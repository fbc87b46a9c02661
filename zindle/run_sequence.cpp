// The launcher's run sequence: options, Windows version, start directory,
// configuration file, launch loop.
#include "run_sequence.h"

#include <new>

#include "sample_writer.h"
#include "version.h"

namespace zindle {

namespace {

char separatorOf(PathStyle style) {
  return style == PathStyle::kWindows ? '\\' : '/';
}

// Whether the launcher's path names its own directory: on Windows a drive
// letter and a backslash, on POSIX a path from the root.
bool isAnchored(const std::string& path, PathStyle style) {
  if (style == PathStyle::kWindows)
    return path.size() >= 2 && path[1] == ':' &&
           path.find('\\') != std::string::npos;
  return !path.empty() && path[0] == '/';
}

std::string bracketed(const std::string& text, std::size_t bufferSize) {
  return fitBuffer("[" + text + "]", bufferSize);
}

}  // namespace

EarlyExit parseOptions(Launcher& launcher,
                       const std::vector<std::string>& args) {
  LaunchSettings& settings = launcher.settings;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-d") {
      settings.debug = true;
    } else if (hasPrefix(arg, "-D")) {
      settings.vmParams.push_back(arg);
    } else if (hasPrefix(arg, "-con")) {
      settings.showConsole = true;
    } else if (hasPrefix(arg, "-c")) {
      settings.configPath = arg.substr(2);
    } else if (hasPrefix(arg, "-sample")) {
      return writeSampleConfig(launcher);
    } else if (hasPrefix(arg, "-q")) {
      settings.quiet = true;
    } else if (hasPrefix(arg, "-o")) {
      settings.logCommandLine = true;
    } else {
      settings.programArgs.push_back(arg);
    }
  }
  return std::nullopt;
}

bool detectVistaOrLater(Launcher& launcher) {
  return launcher.os.windowsMajorVersion() >= kVistaMajorVersion;
}

void fixStartDirectory(Launcher& launcher, const std::string& exePath) {
  PathStyle style = launcher.os.pathStyle();
  std::string& startDir = launcher.settings.startDir;
  if (isAnchored(exePath, style)) {
    std::size_t last = exePath.rfind(separatorOf(style));
    startDir = fitBuffer(exePath.substr(0, last), kLineBufferSize);
    // "/runner" lives in the root, which the cut leaves empty.
    if (startDir.empty() && style == PathStyle::kPosix) startDir = "/";
    launcher.os.changeDirectory(startDir);
  } else {
    startDir = fitBuffer(launcher.os.currentDirectory(), kLineBufferSize);
  }
}

ConfigRead findAppConfig(Launcher& launcher, const std::string& exePath) {
  LaunchSettings& settings = launcher.settings;
  std::string path;
  try {
    if (settings.configPath) {
      path = *settings.configPath;
    } else {
      char separator = separatorOf(launcher.os.pathStyle());
      std::size_t last = exePath.rfind(separator);
      std::string name =
          last == std::string::npos ? exePath : exePath.substr(last + 1);
      // Only the exact lower-case ending is cut: RUNNER.EXE keeps it.
      constexpr std::string_view kExeSuffix = ".exe";
      if (name.size() >= kExeSuffix.size() &&
          name.compare(name.size() - kExeSuffix.size(), kExeSuffix.size(),
                       kExeSuffix) == 0)
        name.resize(name.size() - kExeSuffix.size());
      path = settings.startDir + separator + name + ".config";
    }
  } catch (const std::bad_alloc&) {
    launcher.os.writeStdout("no Application config file\n");
    if (!settings.quiet)
      launcher.os.messageBox("No Application config file", "Error", kMbOk);
    return {kConfigUnreadable, std::nullopt};
  }
  if (settings.debug) {
    launcher.os.writeStdout("reading app config " + path + "\n");
    launcher.os.messageBox(bracketed(path, kLineBufferSize),
                           "Reading App Config file", kMbOk);
  }
  ConfigRead read = readConfigFile(launcher, path);
  launcher.appConfigPath = path;
  launcher.appConfigFound = read.found;
  return read;
}

int runSequence(Launcher& launcher, const std::vector<std::string>& args,
                LaunchStep launch) {
  LaunchSettings& settings = launcher.settings;
  const std::string exePath = args.empty() ? std::string() : args[0];

  if (EarlyExit end = parseOptions(launcher, args)) return *end;
  if (settings.quiet) settings.debug = false;
  settings.isVistaOrLater = detectVistaOrLater(launcher);
  if (settings.isVistaOrLater) debugBox(launcher, kVersion, "Running on Vista");
  const std::string commandLineBox = bracketed(exePath, kMessageBufferSize);
  debugBox(launcher, kVersion, "Version");
  debugBox(launcher, commandLineBox, "LpCmdLine");

  fixStartDirectory(launcher, exePath);
  debugBox(launcher, settings.startDir, "CWD");

  const ConfigRead read = findAppConfig(launcher, exePath);
  if (read.earlyExit) return *read.earlyExit;
  if (read.code != kConfigRead) {
    debugBox(launcher, commandLineBox, "LpCmdLine");
    return kExitConfigUnreadable;
  }

  if (settings.debug) {
    launcher.os.messageBox(settings.mainClass.value_or(std::string()),
                           "MainClass is", kMbOk);
    for (std::size_t i = 0; i < settings.vmParams.size(); ++i)
      launcher.os.writeStdout("vmparam " + std::to_string(i) + "=" +
                              settings.vmParams[i] + "\n");
    for (std::size_t i = 0; i < settings.classPath.size(); ++i)
      launcher.os.writeStdout("vmpath " + std::to_string(i) + "=" +
                              settings.classPath[i] + "\n");
  }

  // The Java exit code is not passed on; only a launch that started nothing
  // ends the run with a status of its own.
  for (;;) {
    const JavaExit exit = launch(launcher);
    if (!exit) return kExitJavaNotStarted;
    if (*exit != kRestartCode) return kExitSuccess;
  }
}

}  // namespace zindle
