// The application configuration file: directives, includes, "setenv" and
// "$" expansion.
//
// A configuration may hold thousands of lines, so a line is handled as a
// view into the file's text: the only texts made are the values stored.
#include "config_reader.h"

#include <cstring>
#include <string_view>

#include "config_text.h"
#include "java_discovery.h"

namespace zindle {

void addJarFolder(Launcher& launcher, const std::string& folder) {
  launcher.settings.classPath.push_back(folder + "/*");
}

// ---------------------------------------------------------------------------
// Expansion

namespace {

// The last variable looked up, kept from one value to the next. The
// variables the launcher started with do not change during a run, so a name
// met again (a configuration uses a few, on many lines) is not looked up
// anew.
struct LastVariable {
  bool known = false;
  std::string name;
  bool found = false;
  std::string value;
  bool spaced = false;  // the value holds a blank
};

// The value of `name`, or null when it is not defined.
const std::string* findVariable(Launcher& launcher, std::string_view name,
                                LastVariable& last) {
  if (last.known && last.name == name)
    return last.found ? &last.value : nullptr;
  last.known = true;
  last.name.assign(name);
  // A name longer than the 1023-character name buffer cannot be one the
  // launcher looks up; it is treated as undefined rather than cut, which
  // could find a different variable.
  last.found = name.size() <= kMaxVariableNameChars &&
               launcher.os.lookupStartupEnv(last.name, &last.value);
  // Two names have a value of the launcher's own when no variable of that
  // name exists: its process id and its start folder.
  if (!last.found && name == "pid") {
    last.value = std::to_string(launcher.os.processId());
    last.found = true;
  } else if (!last.found && name == "appdir") {
    last.value = launcher.settings.startDir;
    last.found = true;
  }
  last.spaced = last.found && last.value.find(' ') != std::string::npos;
  return last.found ? &last.value : nullptr;
}

bool endsInSeparator(std::string_view text) {
  return !text.empty() && (text.back() == '/' || text.back() == '\\');
}

// One round: replaces the "$" at `dollar` (the first of `current`) into
// `result`. False when its name is not defined.
bool substituteFirst(Launcher& launcher, std::string_view current,
                     std::size_t dollar, bool* quoting, LastVariable& last,
                     std::string* result) {
  // The name span ends at the first backslash after the "$", else at the
  // first "/", else at the end; the tail starts with that separator.
  std::size_t spanEnd = current.find('\\', dollar + 1);
  if (spanEnd == std::string_view::npos)
    spanEnd = current.find('/', dollar + 1);
  if (spanEnd == std::string_view::npos) spanEnd = current.size();
  const std::string_view span =
      current.substr(dollar + 1, spanEnd - dollar - 1);
  std::string_view tail = current.substr(spanEnd);

  // An "=" before the "$" turns quoting on for the rest of the expansion.
  if (!*quoting &&
      current.substr(0, dollar).find('=') != std::string_view::npos)
    *quoting = true;

  // A double quote ends the name. It and whatever follows it within the
  // span are put back after the value, so -Da="$X"tail keeps its tail.
  const std::size_t quote = span.find('"');
  const std::string_view name = span.substr(0, quote);
  const std::string_view afterName =
      quote == std::string_view::npos ? std::string_view() : span.substr(quote);

  const bool debug = launcher.settings.debug;
  const std::string shownName =
      debug ? std::string(name.substr(0, kMaxVariableNameChars))
            : std::string();
  debugBox(launcher, shownName, "Found variable");
  const std::string* value = findVariable(launcher, name, last);
  if (value == nullptr) {
    debugBox(launcher, shownName, "Can't find variable");
    return false;
  }

  // Quotes are judged on the variable's own value; the separator rule on
  // what stands before the tail.
  const bool wrap = *quoting && last.spaced;
  const bool holdsEquals = wrap && current.find('=') != std::string_view::npos;
  if (endsInSeparator(afterName.empty() ? std::string_view(*value)
                                        : afterName) &&
      !tail.empty())
    tail.remove_prefix(1);
  result->clear();
  result->reserve(current.size() + value->size() + 2);
  if (wrap && !holdsEquals) result->push_back('"');
  if (dollar > 0) result->append(current.data(), dollar);
  if (wrap && holdsEquals) result->push_back('"');
  result->append(*value);
  if (!afterName.empty()) result->append(afterName);
  if (!tail.empty()) result->append(tail);
  if (wrap) result->push_back('"');
  if (result->size() > kMaxExpandedChars) result->resize(kMaxExpandedChars);
  return true;
}

std::string expand(Launcher& launcher, std::string_view text, bool quote,
                   LastVariable& last) {
  std::string_view current = text;
  std::string held;  // the text after the last substitution
  std::string result;
  bool quoting = quote;
  bool substituted = false;
  // Each round replaces the first "$" of the text. A value that brings back
  // its own "$NAME" would go on for ever; the bound ends it with the text as
  // it stands, like a name that is not found.
  int round = 0;
  for (std::size_t dollar = current.find('$'); dollar != std::string_view::npos;
       dollar = current.find('$'), ++round) {
    if (round == kMaxSubstitutions) {
      debugBox(launcher, std::string(current), "Expansion stopped");
      break;
    }
    // The first round writes straight into the text it returns; later
    // rounds need the previous text while they write.
    std::string& next = substituted ? result : held;
    if (!substituteFirst(launcher, current, dollar, &quoting, last, &next))
      break;
    if (launcher.settings.debug)
      launcher.os.messageBox(fitBuffer("arg [" + std::string(current) +
                                           "] expanded to [" + next + "]\n",
                                       kParsePathBufferSize),
                             "Parse Path", kMbOk);
    toForwardSlashes(next);
    if (substituted) held.swap(result);
    current = held;
    substituted = true;
  }
  if (!substituted) return std::string(text);
  return held;
}

}  // namespace

std::string expandVariables(Launcher& launcher, const std::string& text,
                            bool quote) {
  LastVariable last;
  return expand(launcher, text, quote, last);
}

// ---------------------------------------------------------------------------
// Directives

namespace {

enum class Expansion { kQuoting, kNoQuoting, kAsWritten };

// What a directive does with its value, when it does more than store it. A
// "javaVersion" line that finds no runtime ends the run: its status is
// returned up to the run sequence.
using Effect = EarlyExit (*)(Launcher&, std::string);

using Text = std::optional<std::string> LaunchSettings::*;
using List = std::vector<std::string> LaunchSettings::*;

// A directive stores its value in a text or appends it to a list of the
// settings, or has an effect of its own.
struct Directive {
  std::string_view keyword;
  Expansion expansion;
  Text text = nullptr;
  List list = nullptr;
  Effect effect = nullptr;
};

EarlyExit addVmParam(Launcher& launcher, std::string value) {
  // "-DLOGFILE" and the character after it (normally "=") are skipped.
  constexpr std::string_view kLogFileParam = "-DLOGFILE";
  constexpr std::size_t kLogFileStart = kLogFileParam.size() + 1;
  if (hasPrefix(value, kLogFileParam))
    launcher.settings.logFile = value.size() > kLogFileStart
                                    ? value.substr(kLogFileStart)
                                    : std::string();
  launcher.settings.vmParams.push_back(std::move(value));
  return std::nullopt;
}

EarlyExit setJavaVersion(Launcher& launcher, std::string value) {
  launcher.settings.javaVersion = std::move(value);
  JavaSearch search = findJavaForVersion(launcher);
  if (search.earlyExit) return search.earlyExit;
  if (!search.path || search.path->empty()) return kExitNoJavaForVersion;
  launcher.settings.javaPath = std::move(search.path);
  return std::nullopt;
}

EarlyExit setJavaMinVersion(Launcher& launcher, std::string minimum) {
  std::optional<std::string> path = findJavaForMinVersion(launcher, minimum);
  if (!path) return kExitNoJavaForVersion;
  launcher.settings.javaPath = std::move(path);
  return std::nullopt;
}

EarlyExit setJavaDownloadUrl(Launcher& launcher, std::string address) {
  if (isDownloadAddress(address))
    launcher.settings.javaDownloadUrl = std::move(address);
  else
    debugBox(launcher, address, "javaDownloadUrl ignored");
  return std::nullopt;
}

EarlyExit addJars(Launcher& launcher, std::string folder) {
  addJarFolder(launcher, folder);
  return std::nullopt;
}

EarlyExit include(Launcher& launcher, std::string path) {
  // Whether the file could be opened does not matter here; only an end of
  // the run goes further up.
  return readConfigFile(launcher, path).earlyExit;
}

EarlyExit showConsole(Launcher& launcher, std::string value) {
  // Only turns the console on; no directive turns it off.
  if (hasPrefix(value, "true") || hasPrefix(value, "TRUE"))
    launcher.settings.showConsole = true;
  return std::nullopt;
}

EarlyExit setEnvironment(Launcher& launcher, std::string assignment) {
  std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) return std::nullopt;
  std::string name = assignment.substr(0, equals);
  std::string value = assignment.substr(equals + 1);
  debugBox(launcher, value, name);
  launcher.os.setEnv(name, expandVariables(launcher, value, false));
  return std::nullopt;
}

using S = LaunchSettings;

// Tested in this order; the first keyword the line begins with applies.
// "addjars" comes before "addjar" so the longer keyword is not taken for
// the shorter.
const Directive kDirectives[] = {
    {"vmparam", Expansion::kQuoting, nullptr, nullptr, addVmParam},
    {"javapath", Expansion::kQuoting, &S::javaPath},
    {"addpath", Expansion::kQuoting, nullptr, &S::classPath},
    {"mainclass", Expansion::kNoQuoting, &S::mainClass},
    {"appname", Expansion::kNoQuoting, &S::appName},
    {"javaVersion", Expansion::kNoQuoting, nullptr, nullptr, setJavaVersion},
    {"addjars", Expansion::kQuoting, nullptr, nullptr, addJars},
    {"argument", Expansion::kAsWritten, nullptr, &S::programArgs},
    {"addjar", Expansion::kQuoting, nullptr, &S::classPath},
    {"include", Expansion::kNoQuoting, nullptr, nullptr, include},
    {"consoleTitle", Expansion::kQuoting, &S::consoleTitle},
    {"workingDir", Expansion::kQuoting, &S::workingDir},
    {"outputFile", Expansion::kQuoting, &S::outputFile},
    {"showConsole", Expansion::kAsWritten, nullptr, nullptr, showConsole},
    {"setenv", Expansion::kAsWritten, nullptr, nullptr, setEnvironment},
    {"javaMinVersion", Expansion::kNoQuoting, nullptr, nullptr,
     setJavaMinVersion},
    {"javaDownloadUrl", Expansion::kAsWritten, nullptr, nullptr,
     setJavaDownloadUrl},
};

const Directive* directiveOf(std::string_view line) {
  for (const Directive& directive : kDirectives) {
    const std::string_view keyword = directive.keyword;
    // First and last character before the whole keyword: most keywords
    // differ there.
    if (line.size() >= keyword.size() && line[0] == keyword[0] &&
        line[keyword.size() - 1] == keyword.back() &&
        std::memcmp(line.data(), keyword.data(), keyword.size()) == 0)
      return &directive;
  }
  return nullptr;
}

EarlyExit handleLine(Launcher& launcher, std::string_view line,
                     LastVariable& last) {
  if (line.empty() || line[0] == '#' || line[0] == '/') return std::nullopt;
  const Directive* directive = directiveOf(line);
  if (directive == nullptr) return std::nullopt;
  // Keywords hold no blank: the first blank is at the keyword's end or
  // after it.
  const std::size_t space = line.find(' ', directive->keyword.size());
  if (space == std::string_view::npos) return std::nullopt;

  std::string_view written = line.substr(space + 1);
  if (!written.empty() && written.back() == '\n') written.remove_suffix(1);
  std::string stored =
      directive->expansion == Expansion::kAsWritten
          ? std::string(written)
          : expand(launcher, written,
                   directive->expansion == Expansion::kQuoting, last);
  LaunchSettings& settings = launcher.settings;
  if (directive->text != nullptr) {
    settings.*(directive->text) = std::move(stored);
  } else if (directive->list != nullptr) {
    (settings.*(directive->list)).push_back(std::move(stored));
  } else {
    return directive->effect(launcher, std::move(stored));
  }
  return std::nullopt;
}

// A line past the line buffer is still read in pieces, but not without a
// word: its end would otherwise be taken for directives of their own.
void reportLongLine(Launcher& launcher, const std::string& path,
                    std::size_t lineNumber) {
  const std::string text =
      path + ":" + std::to_string(lineNumber) + ": longer than " +
      std::to_string(kMaxLineChars) +
      " characters; the rest is read as lines of their own";
  launcher.os.writeStderr(text + "\n");
  debugBox(launcher, text, "Line Too Long");
}

}  // namespace

ConfigRead readConfigFile(Launcher& launcher, const std::string& path) {
  if (path.empty() || !launcher.os.pathExists(path)) {
    // Silent but in debug mode: a misnamed file ("M.config.txt") or
    // include is otherwise hard to tell from one that sets nothing.
    debugBox(launcher, path, "Config File Not Found");
    return {};
  }
  // A file that includes itself, directly or through others, would recurse
  // without end, and one that includes itself twice would double the work
  // at every level. Past either bound the include is skipped and the
  // including file goes on.
  std::string bound;
  if (launcher.includeDepth >= kMaxIncludeDepth)
    bound = "Include nesting deeper than " + std::to_string(kMaxIncludeDepth) +
            " files";
  else if (launcher.filesRead >= kMaxFilesRead)
    bound = "More than " + std::to_string(kMaxFilesRead) +
            " configuration files read";
  if (!bound.empty()) {
    debugBox(launcher, bound + "; skipped " + path, "Include skipped");
    return {kConfigRead, std::nullopt, true};
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
    return {kConfigUnreadable, std::nullopt, true};
  }
  bool replaced = false;
  const std::string text =
      configFileText(launcher.os, std::move(contents), &replaced);
  if (replaced) debugBox(launcher, path, "Characters replaced in");

  ConfigRead read;
  read.found = true;
  ++launcher.includeDepth;
  ConfigLines lines(text);
  LastVariable last;
  for (std::string_view line; !read.earlyExit && lines.next(&line);) {
    if (lines.startsLongLine())
      reportLongLine(launcher, path, lines.lineNumber());
    read.earlyExit = handleLine(launcher, line, last);
  }
  --launcher.includeDepth;
  return read;
}

}  // namespace zindle
