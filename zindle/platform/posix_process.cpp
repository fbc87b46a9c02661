// SystemPlatform: starting and waiting for processes, consoles and the
// shell.
//
// The launcher composes a Windows command line. Here it is split into argv
// by the Microsoft C runtime's rules, so Java gets the same arguments on
// both systems (a "vmparam" line may hold several parameters), and the
// program is found the way CreateProcessA finds it without an application
// name. Files and addresses are handed to xdg-open.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/command_line_split.h"
#include "platform/posix_paths.h"
#include "platform/system_platform.h"
#include "text.h"

extern char** environ;

namespace zindle {

namespace {

// An 8-bit exit status cannot hold the restart code 999; Java's
// System.exit(999) arrives as 999 & 0xFF.
constexpr int kRestartCodeLowByte = kRestartCode & 0xFF;  // 231
// A child ended by a signal reports 128 + the signal, as shells do.
constexpr int kSignalBase = 128;

using posix::isExecutableFile;

constexpr std::string_view kExeSuffix = ".exe";

bool endsWithExe(const std::string& name) {
  return name.size() >= kExeSuffix.size() &&
         asciiLower(name.substr(name.size() - kExeSuffix.size())) == kExeSuffix;
}

// The names tried for a program, in order: as written; without ".exe";
// and for javaw, java in the same place.
std::vector<std::string> candidateNames(const std::string& program) {
  std::vector<std::string> names{program};
  const bool exe = endsWithExe(program);
  const std::string stem =
      exe ? program.substr(0, program.size() - kExeSuffix.size()) : program;
  if (exe) names.push_back(stem);
  std::size_t slash = stem.rfind('/');
  std::string dir = slash == std::string::npos ? "" : stem.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? stem : stem.substr(slash + 1);
  if (asciiLower(base) == "javaw") {
    if (exe) names.push_back(dir + "java.exe");
    names.push_back(dir + "java");
  }
  return names;
}

// The program a command line's first word names, or "" when none exists.
// A path is taken relative to the launcher's directory, as CreateProcessA
// does, not to the child's working directory.
std::string resolveProgram(const std::string& firstWord) {
  const std::string program = withForwardSlashes(firstWord);
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) {
    for (std::string name : candidateNames(program)) {
      if (name[0] != '/') {
        std::string dir = posix::currentDirectory();
        name = (dir.empty() ? "." : dir) + "/" + name;
      }
      if (isExecutableFile(name)) return name;
    }
    return {};
  }
  for (const std::string& name : candidateNames(program)) {
    std::string found = posix::findOnPath(name);
    if (!found.empty()) return found;
  }
  return {};
}

// Starts args[0] (already resolved; the list ends with a null) with the
// launcher's environment.
int spawn(char* const* args, const std::string& workingDir, pid_t* pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string dir = withForwardSlashes(workingDir);
  if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  int error = posix_spawn(pid, args[0], &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  return error;
}

std::string unquoted(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return text.substr(1, text.size() - 2);
  return text;
}

// Starts xdg-open on `target` in the launcher's directory, without waiting.
bool startOpener(std::string target, pid_t* pid) {
  std::string opener = resolveProgram("xdg-open");
  if (opener.empty()) return false;
  char* args[] = {opener.data(), target.data(), nullptr};
  return spawn(args, "", pid) == 0;
}

}  // namespace

bool SystemPlatform::programExists(const std::string& path) {
  return !resolveProgram(path).empty();
}

bool SystemPlatform::startProcess(const ProcessRequest& request,
                                  ProcessHandle* process, unsigned* errorCode) {
  SplitArguments split = splitArguments(request.commandLine);
  if (split.size() == 0) {
    *errorCode = EINVAL;
    return false;
  }
  std::vector<char*> argv;
  argv.reserve(split.size() + 1);
  for (std::size_t i = 0; i < split.size(); ++i) argv.push_back(split[i]);
  std::string program = resolveProgram(argv[0]);
  if (program.empty()) {
    *errorCode = ENOENT;
    return false;
  }
  argv[0] = program.data();
  argv.push_back(nullptr);
  pid_t pid = 0;
  int error = spawn(argv.data(), request.workingDir, &pid);
  if (error != 0) {
    *errorCode = static_cast<unsigned>(error);
    return false;
  }
  *process = static_cast<ProcessHandle>(pid);
  return true;
}

// A POSIX program has no message loop to wait for.
void SystemPlatform::waitForInputIdle(ProcessHandle, unsigned) {}

int SystemPlatform::waitForExit(ProcessHandle process) {
  const pid_t pid = static_cast<pid_t>(process);
  int status = 0;
  pid_t result;
  do {
    result = waitpid(pid, &status, 0);
  } while (result < 0 && errno == EINTR);
  if (result < 0) return -1;
  if (WIFEXITED(status)) {
    int code = WEXITSTATUS(status);
    // The restart protocol works here too, at the price of 231 itself.
    return code == kRestartCodeLowByte ? kRestartCode : code;
  }
  if (WIFSIGNALED(status)) return kSignalBase + WTERMSIG(status);
  return -1;
}

void SystemPlatform::closeProcess(ProcessHandle process) {
  // Reaps a process that has already ended and was not waited for.
  int status = 0;
  waitpid(static_cast<pid_t>(process), &status, WNOHANG);
}

std::string SystemPlatform::systemErrorText(unsigned errorCode) {
  return std::strerror(static_cast<int>(errorCode));
}

// The launcher's terminal, when it has one, is the console.
bool SystemPlatform::allocConsole() { return true; }

bool SystemPlatform::setConsoleTitle(const std::string& title) {
  if (!isatty(STDOUT_FILENO)) return false;
  std::string sequence = "\033]0;" + title + "\007";
  return write(STDOUT_FILENO, sequence.data(), sequence.size()) ==
         static_cast<ssize_t>(sequence.size());
}

std::intptr_t SystemPlatform::shellOpen(const std::string& file) {
  // ShellExecuteA's results: above 32 on success, 2 when nothing opens it.
  constexpr std::intptr_t kOpened = 33;
  constexpr std::intptr_t kNotFound = 2;
  pid_t pid = 0;
  return startOpener(withForwardSlashes(unquoted(file)), &pid) ? kOpened
                                                               : kNotFound;
}

void SystemPlatform::openAddress(const std::string& url) {
  pid_t pid = 0;
  if (startOpener(url, &pid)) closeProcess(static_cast<ProcessHandle>(pid));
}

}  // namespace zindle
