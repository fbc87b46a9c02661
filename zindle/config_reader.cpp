// The application configuration file: lines, directives, includes, "setenv"
// and "$" expansion.
#include "config_reader.h"

#include <cstring>
#include <string_view>

#include "java_discovery.h"

namespace zindle {

std::string fitBuffer(const std::string& text, std::size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  if (text.size() < bufferSize) return text;
  return text.substr(0, bufferSize - 1);
}

bool hasPrefix(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

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

void debugBox(Launcher& launcher, const std::string& text,
              const std::string& caption) {
  if (launcher.settings.debug) launcher.os.messageBox(text, caption, kMbOk);
}

}  // namespace

std::string expandVariables(Launcher& launcher, const std::string& text,
                            bool quote) {
  std::string t = text;
  bool q = quote;
  // Each round replaces the first "$" of the text. A value that brings back
  // its own "$NAME" would go on for ever; the bound ends it with the text as
  // it stands, like a name that is not found.
  for (int round = 0;; ++round) {
    if (t.empty()) return std::string();
    std::size_t dollar = t.find('$');
    if (dollar == std::string::npos) return t;
    if (round == kMaxSubstitutions) {
      debugBox(launcher, t, "Expansion stopped");
      return t;
    }

    // The name span ends at the first backslash after the "$", else at the
    // first "/", else at the end; the tail starts with that separator.
    std::size_t spanEnd = t.find('\\', dollar + 1);
    if (spanEnd == std::string::npos) spanEnd = t.find('/', dollar + 1);
    if (spanEnd == std::string::npos) spanEnd = t.size();
    std::string span = t.substr(dollar + 1, spanEnd - dollar - 1);
    std::string tail = t.substr(spanEnd);

    std::size_t equals = t.find('=');
    if (equals != std::string::npos && equals < dollar) q = true;
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
      return t;
    }

    // Quotes are judged on the variable's own value; the separator rule on
    // what stands before the tail.
    bool spaced = value.find(' ') != std::string::npos;
    std::string placed = value + afterName;
    bool wrap = q && spaced;
    std::string r;
    if (wrap && !holdsEquals) r += '"';
    r += t.substr(0, dollar);
    if (wrap && holdsEquals) r += '"';
    r += placed;
    if (!placed.empty() && (placed.back() == '/' || placed.back() == '\\') &&
        !tail.empty())
      r += tail.substr(1);
    else
      r += tail;
    if (wrap) r += '"';
    r = fitBuffer(r, kMaxExpandedChars + 1);

    if (debug)
      launcher.os.messageBox(
          fitBuffer("arg [" + t + "] expanded to [" + r + "]\n",
                    kParsePathBufferSize),
          "Parse Path", kMbOk);
    toForwardSlashes(r);
    t = r;
  }
}

// ---------------------------------------------------------------------------
// Directives

namespace {

enum class Expansion { kQuoting, kNoQuoting, kAsWritten };

using Effect = void (*)(Launcher&, const std::string&);

struct Directive {
  const char* keyword;
  Expansion expansion;
  Effect effect;
};

void setVmParam(Launcher& l, const std::string& v) {
  l.settings.vmParams.push_back(v);
  // "-DLOGFILE" and the character after it (normally "=") are skipped.
  if (hasPrefix(v, "-DLOGFILE"))
    l.settings.logFile = v.size() > 10 ? v.substr(10) : std::string();
}

void setJavaPath(Launcher& l, const std::string& v) { l.settings.javaPath = v; }

void addPath(Launcher& l, const std::string& v) {
  l.settings.classPath.push_back(v);
}

void setMainClass(Launcher& l, const std::string& v) {
  l.settings.mainClass = v;
}

void setAppName(Launcher& l, const std::string& v) { l.settings.appName = v; }

void setJavaVersion(Launcher& l, const std::string& v) {
  l.settings.javaVersion = v;
  std::optional<std::string> path = findJavaForVersion(l);
  if (!path || path->empty()) l.os.exitProcess(5);
  l.settings.javaPath = *path;
}

void addJars(Launcher& l, const std::string& v) { addJarFolder(l, v); }

void addArgument(Launcher& l, const std::string& v) {
  l.settings.programArgs.push_back(v);
}

void include(Launcher& l, const std::string& v) { readConfigFile(l, v); }

void setConsoleTitle(Launcher& l, const std::string& v) {
  l.settings.consoleTitle = v;
}

void setWorkingDir(Launcher& l, const std::string& v) {
  l.settings.workingDir = v;
}

void setOutputFile(Launcher& l, const std::string& v) {
  l.settings.outputFile = v;
}

void showConsole(Launcher& l, const std::string& v) {
  // Only turns the console on; no directive turns it off.
  if (hasPrefix(v, "true") || hasPrefix(v, "TRUE"))
    l.settings.showConsole = true;
}

void setEnvironment(Launcher& l, const std::string& v) {
  std::size_t equals = v.find('=');
  if (equals == std::string::npos) return;
  std::string name = v.substr(0, equals);
  std::string value = v.substr(equals + 1);
  debugBox(l, value, name);
  l.os.setEnv(name, expandVariables(l, value, false));
}

// Tested in this order; the first keyword the line begins with applies.
// "addjars" comes before "addjar" so the longer keyword is not taken for
// the shorter.
const Directive kDirectives[] = {
    {"vmparam", Expansion::kQuoting, setVmParam},
    {"javapath", Expansion::kQuoting, setJavaPath},
    {"addpath", Expansion::kQuoting, addPath},
    {"mainclass", Expansion::kNoQuoting, setMainClass},
    {"appname", Expansion::kNoQuoting, setAppName},
    {"javaVersion", Expansion::kNoQuoting, setJavaVersion},
    {"addjars", Expansion::kQuoting, addJars},
    {"argument", Expansion::kAsWritten, addArgument},
    {"addjar", Expansion::kQuoting, addPath},
    {"include", Expansion::kNoQuoting, include},
    {"consoleTitle", Expansion::kQuoting, setConsoleTitle},
    {"workingDir", Expansion::kQuoting, setWorkingDir},
    {"outputFile", Expansion::kQuoting, setOutputFile},
    {"showConsole", Expansion::kAsWritten, showConsole},
    {"setenv", Expansion::kAsWritten, setEnvironment},
};

void handleLine(Launcher& launcher, const std::string& line) {
  if (line.empty() || line[0] == '#' || line[0] == '/') return;
  std::size_t space = line.find(' ');
  if (space == std::string::npos) return;
  std::string value = line.substr(space + 1);
  if (!value.empty() && value.back() == '\n') value.pop_back();
  for (const Directive& d : kDirectives) {
    if (!hasPrefix(line, d.keyword)) continue;
    switch (d.expansion) {
      case Expansion::kQuoting:
        d.effect(launcher, expandVariables(launcher, value, true));
        break;
      case Expansion::kNoQuoting:
        d.effect(launcher, expandVariables(launcher, value, false));
        break;
      case Expansion::kAsWritten:
        d.effect(launcher, value);
        break;
    }
    return;
  }
}

}  // namespace

int readConfigFile(Launcher& launcher, const std::string& path) {
  if (path.empty() || !launcher.os.pathExists(path)) return 0;
  // A file that includes itself, directly or through others, would recurse
  // without end. Past the bound the include is skipped and the including
  // file goes on.
  if (launcher.includeDepth >= kMaxIncludeDepth) {
    debugBox(launcher,
             "Include nesting deeper than " + std::to_string(kMaxIncludeDepth) +
                 " files; skipped " + path,
             "Include skipped");
    return 0;
  }
  if (launcher.filesRead >= kMaxFilesRead) {
    debugBox(launcher,
             "More than " + std::to_string(kMaxFilesRead) +
                 " configuration files read; skipped " + path,
             "Include skipped");
    return 0;
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
    return 1;
  }

  ++launcher.includeDepth;
  for (const std::string& line : splitConfigLines(contents))
    handleLine(launcher, line);
  --launcher.includeDepth;
  return 0;
}

}  // namespace zindle
