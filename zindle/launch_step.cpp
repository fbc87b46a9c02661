// The launch step: the Java command line, the child process, the wait, and
// the report of an abnormal end.
#include "launch_step.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "java_discovery.h"
#include "version.h"

namespace zindle {

namespace {

bool hasBlank(const std::string& text) {
  return text.find(' ') != std::string::npos;
}

// Whether the C runtime would split `text` or lose it unless it stands in
// quotes: an empty text, or one with a blank or a tab.
bool needsQuotes(const std::string& text) {
  return text.empty() || text.find_first_of(" \t") != std::string::npos;
}

bool isQuoted(const std::string& text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// Appends `arg` so that the C runtime's split gives it back unchanged:
// backslashes before a double quote, or before the closing quote added
// here, are doubled, and a double quote inside is written as \". Other
// backslashes stay single, so a text without quotes is written as it is.
void appendArgument(std::string& line, const std::string& arg, bool quoted) {
  if (quoted) line += '"';
  if (arg.find('"') == std::string::npos &&
      arg.find('\\') == std::string::npos) {
    line += arg;
    if (quoted) line += '"';
    return;
  }
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
    } else {
      if (c == '"') line.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    line += c;
  }
  if (quoted) {
    line.append(backslashes, '\\');
    line += '"';
  }
}

// The folder a working directory names. The expansion wraps a value with a
// blank in double quotes, which a folder name cannot hold: one enclosing
// pair is dropped, whoever wrote it.
std::string folderOf(const std::string& text) {
  return isQuoted(text) ? text.substr(1, text.size() - 2) : text;
}

std::string withoutQuotes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
  return text;
}

std::string orEmpty(const std::optional<std::string>& text) {
  return text.value_or(std::string());
}

bool isSetAndNotEmpty(const std::optional<std::string>& text) {
  return text && !text->empty();
}

// Room for the composed line: every piece, a blank after each, and quotes
// and escapes for a few.
std::size_t commandLineSize(const LaunchSettings& settings) {
  std::size_t size = 64 + orEmpty(settings.javaPath).size() +
                     orEmpty(settings.mainClass).size();
  for (const auto* list :
       {&settings.vmParams, &settings.classPath, &settings.programArgs})
    for (const std::string& text : *list) size += text.size() + 3;
  return size;
}

void reportStartFailure(Launcher& launcher, const std::string& commandLine,
                        unsigned error) {
  std::string text = "Java could not be started.\nError " +
                     std::to_string(error) + ": " +
                     launcher.os.systemErrorText(error) + "\n";
  // A working directory that does not exist fails the start as a missing
  // program does; name it so the user looks at both.
  if (isSetAndNotEmpty(launcher.settings.workingDir))
    text += "Working directory:\n" + *launcher.settings.workingDir + "\n";
  if (commandLine.size() >= kMaxCommandLineChars)
    text += "The command line has " + std::to_string(commandLine.size()) +
            " characters; Windows accepts at most 32,767.\n";
  text += "Command line:\n" + commandLine;
  launcher.os.messageBox(fitBuffer(text, kMessageBufferSize),
                         "Error Starting Java", kMbIconError);
}

// Whether `text` holds `word` between blanks or text ends: one "vmparam"
// line may hold several parameters.
bool holdsWord(std::string_view text, std::string_view word) {
  for (std::size_t at = text.find(word); at != std::string_view::npos;
       at = text.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if ((at == 0 || text[at - 1] == ' ') &&
        (end == text.size() || text[end] == ' '))
      return true;
  }
  return false;
}

// A sentence for the reports of an abnormal end when no main class was set
// and no "-jar" names the application: the usual cause is a configuration
// file that was not found (Explorer hides "M.config.txt") or lacks its
// "mainclass" line. Empty otherwise.
std::string missingMainClassNote(const Launcher& launcher) {
  const LaunchSettings& settings = launcher.settings;
  if (settings.mainClass ||
      std::any_of(settings.vmParams.begin(), settings.vmParams.end(),
                  [](const std::string& p) { return holdsWord(p, "-jar"); }))
    return std::string();
  return "No main class is set: the configuration file " +
         launcher.appConfigPath +
         (launcher.appConfigFound ? " has no mainclass line."
                                  : " was not found.");
}

void reportAbnormalEnd(Launcher& launcher, int exitCode,
                       std::int64_t elapsedSeconds) {
  const LaunchSettings& settings = launcher.settings;
  const bool offersLog = isSetAndNotEmpty(settings.logFile);
  if (settings.quiet || (!offersLog && elapsedSeconds >= kQuickFailureSeconds))
    return;
  const std::string sentence = missingMainClassNote(launcher);
  // The sentence also goes to standard error, where a box leaves no trace.
  if (!sentence.empty()) launcher.os.writeStderr(sentence + "\n");
  const std::string note = sentence.empty() ? sentence : "\n" + sentence;
  if (offersLog) {
    std::string app =
        isSetAndNotEmpty(settings.appName) ? *settings.appName : "Application";
    std::string text =
        app +
        " has closed in an unexpected way. Would you like to view the log "
        "file?\n\nLog file location:" +
        *settings.logFile + "\n\nJava returned the following error code: " +
        std::to_string(exitCode) + note;
    if (launcher.os.messageBox(fitBuffer(text, kMessageBufferSize),
                               "Unexpected Close",
                               kMbYesNo | kMbIconError) == kIdYes)
      launcher.os.shellOpen(*settings.logFile);
  } else {
    std::string text = "Error launching Class " + orEmpty(settings.mainClass) +
                       "\n with Java " + orEmpty(settings.javaPath) +
                       ".\nError=" + std::to_string(exitCode) + note;
    launcher.os.messageBox(fitBuffer(text, kMessageBufferSize), "Error",
                           kMbIconError);
  }
}

}  // namespace

std::string composeCommandLine(Launcher& launcher) {
  const LaunchSettings& settings = launcher.settings;
  const bool quoteClassPath = std::any_of(settings.classPath.begin(),
                                          settings.classPath.end(), hasBlank);
  const char listSeparator = launcher.os.pathListSeparator();

  std::string line;
  line.reserve(commandLineSize(settings));
  line += orEmpty(settings.javaPath);
  line += ' ';
  for (const std::string& param : settings.vmParams) {
    line += param;
    line += ' ';
  }
  // Without entries an empty "-classpath" would take the main class (or,
  // with "-jar", hand the application a stray "-classpath"); Java then uses
  // CLASSPATH or the current folder. A main class with a blank names the
  // class path itself ("lib/* app.Main") and keeps the option.
  if (!settings.classPath.empty() || hasBlank(orEmpty(settings.mainClass))) {
    line += "-classpath ";
    if (quoteClassPath) line += '"';
    for (std::size_t i = 0; i < settings.classPath.size(); ++i) {
      if (i > 0) line += listSeparator;
      // The list gets one pair of quotes; quotes that the expansion put
      // around an entry would close it early.
      if (quoteClassPath)
        line += withoutQuotes(settings.classPath[i]);
      else
        line += settings.classPath[i];
    }
    if (quoteClassPath) line += '"';
    line += ' ';
  }
  line += orEmpty(settings.mainClass);
  if (!settings.programArgs.empty()) line += ' ';
  for (const std::string& arg : settings.programArgs) {
    // An argument written in quotes is passed as it stands.
    if (isQuoted(arg)) {
      line += arg;
    } else {
      const bool quoted = settings.isVistaOrLater || needsQuotes(arg);
      if (quoted) debugBox(launcher, arg, "Adding double quotes around");
      appendArgument(line, arg, quoted);
    }
    line += ' ';
  }
  return line;
}

JavaExit launchJava(Launcher& launcher) {
  LaunchSettings& settings = launcher.settings;
  Platform& os = launcher.os;

  if (!settings.javaPath) {
    settings.javaPath = findCurrentJava(launcher);
    if (!settings.javaPath) return std::nullopt;
  }
  debugBox(launcher, *settings.javaPath, "Javapath is");

  const std::string commandLine = composeCommandLine(launcher);
  debugBox(launcher, orEmpty(settings.workingDir), "Starting dir");
  if (isSetAndNotEmpty(settings.logFile))
    debugBox(launcher, *settings.logFile, "LogFile");
  debugBox(launcher, commandLine, "Command Line is");

  ProcessRequest request;
  request.commandLine = commandLine;
  request.workingDir = folderOf(orEmpty(settings.workingDir));
  request.hasConsoleTitle =
      settings.showConsole && settings.consoleTitle.has_value();
  request.consoleTitle = orEmpty(settings.consoleTitle);
  request.inheritHandles = true;

  const std::int64_t start = os.calendarSeconds();
  debugBox(launcher, settings.showConsole ? "true" : "false", "Show Console");
  // A console-mode runtime then shares the launcher's new console.
  if (settings.showConsole &&
      settings.javaPath->find("javaw") == std::string::npos && !settings.debug)
    os.allocConsole();
  request.creationFlags = settings.showConsole ? 0 : kCreateNoWindow;

  const std::string record =
      "#Version " + versionRecord() + "\n#Command line=\n" + commandLine + "\n";
  // A record file that cannot be written (beside a launcher in a folder the
  // user may not write to) is skipped; only debug mode says so.
  if (settings.logCommandLine && !os.writeFile("zindle.out", record, true))
    debugBox(launcher, "zindle.out", "Record file not written");
  os.writeStdout(record);

  ProcessHandle process = 0;
  unsigned error = 0;
  if (!os.startProcess(request, &process, &error)) {
    // Nothing to wait for.
    if (!settings.quiet) reportStartFailure(launcher, commandLine, error);
    if (settings.debug)
      os.writeStdout("CreateProcess ret 0, exitCode=" +
                     std::to_string(kExitJavaNotStarted) + "\n");
    return std::nullopt;
  }
  os.waitForInputIdle(process, kInputIdleWaitMs);
  if (settings.showConsole && isSetAndNotEmpty(settings.consoleTitle))
    os.setConsoleTitle(*settings.consoleTitle);
  const int exitCode = os.waitForExit(process);
  os.closeProcess(process);
  const std::int64_t elapsed = os.calendarSeconds() - start;

  if (exitCode != 0 && exitCode != kRestartCode)
    reportAbnormalEnd(launcher, exitCode, elapsed);
  if (settings.debug)
    os.writeStdout("CreateProcess ret 1, exitCode=" + std::to_string(exitCode) +
                   "\n");
  return exitCode;
}

}  // namespace zindle
