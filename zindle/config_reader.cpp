// The application configuration file: lines, directives, includes, "setenv"
// and "$" expansion.
#include "config_reader.h"

#include <string_view>

#include "java_discovery.h"

namespace zindle {

void toForwardSlashes(std::string& text) {
  for (char& c : text)
    if (c == '\\') c = '/';
}

void addJarFolder(Launcher& launcher, const std::string& folder) {
  launcher.settings.classPath.push_back(folder + "/*");
}

std::vector<std::string> splitConfigLines(const std::string& contents) {
  // Read as Windows text mode reads: a CR LF pair becomes LF, a CR on its
  // own stays, and a Ctrl-Z ends the file.
  std::string_view text(contents);
  text = text.substr(0, text.find('\x1a'));
  std::string normalised;
  if (text.find('\r') != std::string_view::npos) {
    normalised.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        continue;
      normalised += text[i];
    }
    text = normalised;
  }
  // Each piece is what one read into the 2048-byte line buffer gives: up to
  // and including the next LF, but never more than 2047 characters.
  std::vector<std::string> pieces;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t lf = text.find('\n', pos);
    std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
    if (end - pos > kMaxLineChars) end = pos + kMaxLineChars;
    std::string_view piece = text.substr(pos, end - pos);
    // The line is a C text to everything that handles it: a NUL ends it.
    piece = piece.substr(0, piece.find('\0'));
    pieces.emplace_back(piece);
    pos = end;
  }
  return pieces;
}

// ---------------------------------------------------------------------------
// Expansion

namespace {

bool findVariable(Launcher& launcher, const std::string& name,
                  std::string* value) {
  // A name longer than the 1023-character name buffer cannot be one the
  // launcher looks up; it is treated as undefined rather than cut, which
  // could find a different variable.
  if (name.size() > kMaxVariableNameChars) return false;
  if (launcher.os.lookupStartupEnv(name, value)) return true;
  if (name == "pid") {
    *value = std::to_string(launcher.os.processId());
    return true;
  }
  return false;
}

}  // namespace

std::string expandVariables(Launcher& launcher, const std::string& text,
                            bool quote) {
  std::string current = text;
  bool quoting = quote;
  // Each round replaces the first "$" of the text. A value that brings back
  // its own "$NAME" would go on for ever; the bound ends it with the text as
  // it stands, like a name that is not found.
  for (int round = 0;; ++round) {
    if (current.empty()) return std::string();
    std::size_t dollar = current.find('$');
    if (dollar == std::string::npos) return current;
    if (round == kMaxSubstitutions) {
      debugBox(launcher, current, "Expansion stopped");
      return current;
    }

    // The name span ends at the first backslash after the "$", else at the
    // first "/", else at the end; the tail starts with that separator.
    std::size_t spanEnd = current.find('\\', dollar + 1);
    if (spanEnd == std::string::npos) spanEnd = current.find('/', dollar + 1);
    if (spanEnd == std::string::npos) spanEnd = current.size();
    std::string span = current.substr(dollar + 1, spanEnd - dollar - 1);
    std::string tail = current.substr(spanEnd);

    std::size_t equals = current.find('=');
    if (equals != std::string::npos && equals < dollar) quoting = true;
    bool holdsEquals = equals != std::string::npos;

    // A double quote ends the name. It and whatever follows it within the
    // span are put back after the value, so -Da="$X"tail keeps its tail.
    std::string name = span;
    std::string afterName;
    std::size_t quotePos = span.find('"');
    if (quotePos != std::string::npos) {
      name = span.substr(0, quotePos);
      afterName = span.substr(quotePos);
    }

    const bool debug = launcher.settings.debug;
    const std::string shownName =
        debug ? fitBuffer(name, kMaxVariableNameChars + 1) : std::string();
    debugBox(launcher, shownName, "Found variable");
    std::string value;
    if (!findVariable(launcher, name, &value)) {
      debugBox(launcher, shownName, "Can't find variable");
      return current;
    }

    // Quotes are judged on the variable's own value; the separator rule on
    // what stands before the tail.
    bool spaced = value.find(' ') != std::string::npos;
    std::string placed = value + afterName;
    bool wrap = quoting && spaced;
    std::string result;
    if (wrap && !holdsEquals) result += '"';
    result += current.substr(0, dollar);
    if (wrap && holdsEquals) result += '"';
    result += placed;
    if (!placed.empty() && (placed.back() == '/' || placed.back() == '\\') &&
        !tail.empty())
      result += tail.substr(1);
    else
      result += tail;
    if (wrap) result += '"';
    result = fitBuffer(result, kMaxExpandedChars + 1);

    if (debug)
      launcher.os.messageBox(
          fitBuffer("arg [" + current + "] expanded to [" + result + "]\n",
                    kParsePathBufferSize),
          "Parse Path", kMbOk);
    toForwardSlashes(result);
    current = result;
  }
}

// ---------------------------------------------------------------------------
// Directives

namespace {

enum class Expansion { kQuoting, kNoQuoting, kAsWritten };

// What a directive does with its value. A "javaVersion" line that finds no
// runtime ends the run: its status is returned up to the run sequence.
using Effect = EarlyExit (*)(Launcher&, const std::string&);

struct Directive {
  const char* keyword;
  Expansion expansion;
  Effect effect;
};

EarlyExit addVmParam(Launcher& launcher, const std::string& value) {
  launcher.settings.vmParams.push_back(value);
  // "-DLOGFILE" and the character after it (normally "=") are skipped.
  if (hasPrefix(value, "-DLOGFILE"))
    launcher.settings.logFile =
        value.size() > 10 ? value.substr(10) : std::string();
  return std::nullopt;
}

EarlyExit setJavaPath(Launcher& launcher, const std::string& value) {
  launcher.settings.javaPath = value;
  return std::nullopt;
}

EarlyExit addClassPathEntry(Launcher& launcher, const std::string& value) {
  launcher.settings.classPath.push_back(value);
  return std::nullopt;
}

EarlyExit setMainClass(Launcher& launcher, const std::string& value) {
  launcher.settings.mainClass = value;
  return std::nullopt;
}

EarlyExit setAppName(Launcher& launcher, const std::string& value) {
  launcher.settings.appName = value;
  return std::nullopt;
}

EarlyExit setJavaVersion(Launcher& launcher, const std::string& value) {
  launcher.settings.javaVersion = value;
  JavaSearch search = findJavaForVersion(launcher);
  if (search.earlyExit) return search.earlyExit;
  if (!search.path || search.path->empty()) return kNoJavaForVersionStatus;
  launcher.settings.javaPath = *search.path;
  return std::nullopt;
}

EarlyExit addJars(Launcher& launcher, const std::string& value) {
  addJarFolder(launcher, value);
  return std::nullopt;
}

EarlyExit addArgument(Launcher& launcher, const std::string& value) {
  launcher.settings.programArgs.push_back(value);
  return std::nullopt;
}

EarlyExit include(Launcher& launcher, const std::string& value) {
  // Whether the file could be opened does not matter here; only an end of
  // the run goes further up.
  return readConfigFile(launcher, value).earlyExit;
}

EarlyExit setConsoleTitle(Launcher& launcher, const std::string& value) {
  launcher.settings.consoleTitle = value;
  return std::nullopt;
}

EarlyExit setWorkingDir(Launcher& launcher, const std::string& value) {
  launcher.settings.workingDir = value;
  return std::nullopt;
}

EarlyExit setOutputFile(Launcher& launcher, const std::string& value) {
  launcher.settings.outputFile = value;
  return std::nullopt;
}

EarlyExit showConsole(Launcher& launcher, const std::string& value) {
  // Only turns the console on; no directive turns it off.
  if (hasPrefix(value, "true") || hasPrefix(value, "TRUE"))
    launcher.settings.showConsole = true;
  return std::nullopt;
}

EarlyExit setEnvironment(Launcher& launcher, const std::string& assignment) {
  std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) return std::nullopt;
  std::string name = assignment.substr(0, equals);
  std::string value = assignment.substr(equals + 1);
  debugBox(launcher, value, name);
  launcher.os.setEnv(name, expandVariables(launcher, value, false));
  return std::nullopt;
}

// Tested in this order; the first keyword the line begins with applies.
// "addjars" comes before "addjar" so the longer keyword is not taken for
// the shorter.
const Directive kDirectives[] = {
    {"vmparam", Expansion::kQuoting, addVmParam},
    {"javapath", Expansion::kQuoting, setJavaPath},
    {"addpath", Expansion::kQuoting, addClassPathEntry},
    {"mainclass", Expansion::kNoQuoting, setMainClass},
    {"appname", Expansion::kNoQuoting, setAppName},
    {"javaVersion", Expansion::kNoQuoting, setJavaVersion},
    {"addjars", Expansion::kQuoting, addJars},
    {"argument", Expansion::kAsWritten, addArgument},
    {"addjar", Expansion::kQuoting, addClassPathEntry},
    {"include", Expansion::kNoQuoting, include},
    {"consoleTitle", Expansion::kQuoting, setConsoleTitle},
    {"workingDir", Expansion::kQuoting, setWorkingDir},
    {"outputFile", Expansion::kQuoting, setOutputFile},
    {"showConsole", Expansion::kAsWritten, showConsole},
    {"setenv", Expansion::kAsWritten, setEnvironment},
};

EarlyExit handleLine(Launcher& launcher, const std::string& line) {
  if (line.empty() || line[0] == '#' || line[0] == '/') return std::nullopt;
  std::size_t space = line.find(' ');
  if (space == std::string::npos) return std::nullopt;
  std::string value = line.substr(space + 1);
  if (!value.empty() && value.back() == '\n') value.pop_back();
  for (const Directive& directive : kDirectives) {
    if (!hasPrefix(line, directive.keyword)) continue;
    switch (directive.expansion) {
      case Expansion::kQuoting:
        return directive.effect(launcher,
                                expandVariables(launcher, value, true));
      case Expansion::kNoQuoting:
        return directive.effect(launcher,
                                expandVariables(launcher, value, false));
      case Expansion::kAsWritten:
        break;
    }
    return directive.effect(launcher, value);
  }
  return std::nullopt;
}

}  // namespace

ConfigRead readConfigFile(Launcher& launcher, const std::string& path) {
  if (path.empty() || !launcher.os.pathExists(path)) return {};
  // A file that includes itself, directly or through others, would recurse
  // without end. Past the bound the include is skipped and the including
  // file goes on.
  if (launcher.includeDepth >= kMaxIncludeDepth) {
    debugBox(launcher,
             "Include nesting deeper than " + std::to_string(kMaxIncludeDepth) +
                 " files; skipped " + path,
             "Include skipped");
    return {};
  }
  if (launcher.filesRead >= kMaxFilesRead) {
    debugBox(launcher,
             "More than " + std::to_string(kMaxFilesRead) +
                 " configuration files read; skipped " + path,
             "Include skipped");
    return {};
  }
  ++launcher.filesRead;
  debugBox(launcher, path, "Reading Config file");

  std::string contents;
  std::string error;
  if (!launcher.os.readFile(path, &contents, &error)) {
    std::string message = fitBuffer(
        "Can't open " + path + " Error " + fitBuffer(error, 80) + "\n",
        kMessageBufferSize);
    launcher.os.writeStderr(message);
    if (!launcher.settings.quiet)
      launcher.os.messageBox(message, "Error Reading Config File", kMbOk);
    return {1, std::nullopt};
  }

  ConfigRead read;
  ++launcher.includeDepth;
  for (const std::string& line : splitConfigLines(contents)) {
    read.earlyExit = handleLine(launcher, line);
    if (read.earlyExit) break;
  }
  --launcher.includeDepth;
  return read;
}

}  // namespace zindle
