// The launcher's only door to the operating system.
//
// Everything the portable launcher code needs from the system goes through
// this interface: message boxes, read-only registry views, process creation
// and waiting, consoles, the shell and the browser, the environment, the
// current directory, files, path rules and the calendar clock. It says what
// the launcher wants done; how a system does it (a rundll32 command, a list
// separator, a registry view flag) stays below it.
// There are three implementations: Win32 (the real calls), POSIX (the Linux
// build) and a recording fake for unit tests.
#pragma once

#include <cstdint>
#include <string>

#include "exit_status.h"

namespace zindle {

// MessageBoxA styles and answers, with their Win32 values.
enum : unsigned {
  kMbOk = 0x00000000u,
  kMbYesNo = 0x00000004u,
  kMbIconError = 0x00000010u,
  kMbTypeMask = 0x0000000Fu,  // the bits that choose the buttons
};
enum : int {
  kIdOk = 1,
  kIdYes = 6,
  kIdNo = 7,
};

// The major version of Windows Vista. From it on the launcher quotes the
// Java path and every program argument.
constexpr unsigned kVistaMajorVersion = 6;

// CreateProcessA creation flag used when no console is wanted.
constexpr unsigned kCreateNoWindow = 0x08000000u;

// The longest web address openAddress hands on; a longer one is not opened
// (Windows forms a command of 512 bytes around it).
constexpr std::size_t kMaxAddressChars = 472;

// How the launcher's own path is read. Windows: directories are separated
// by a backslash, and a path is anchored when it has a drive letter (a colon
// as its second character) and a backslash. POSIX: "/" separates, and a path
// is anchored when it begins with "/".
enum class PathStyle { kWindows, kPosix };

// Where a registry key is read: HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER,
// in the launcher's own view or in the 64-bit or 32-bit view of a 64-bit
// system (a 32-bit program sees only the 32-bit view of its own accord).
enum class RegistryRoot { kMachine, kUser };
enum class RegistryView { kOwn, k64, k32 };
struct RegistryPlace {
  RegistryRoot root = RegistryRoot::kMachine;
  RegistryView view = RegistryView::kOwn;
};

// An open registry key or a started process; 0 means none.
using RegKey = std::uintptr_t;
using ProcessHandle = std::uintptr_t;

// What CreateProcessA is given. No application name: the system takes the
// program from the first word of the command line.
struct ProcessRequest {
  std::string commandLine;
  std::string workingDir;  // empty: inherit the launcher's current directory
  bool hasConsoleTitle = false;
  std::string consoleTitle;  // STARTUPINFOA.lpTitle when hasConsoleTitle
  unsigned creationFlags = 0;
  bool inheritHandles = true;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Message boxes (no owner window). Returns the button pressed
  // (kIdOk, kIdYes, kIdNo) or a value <= 0 when no box could be shown.
  virtual int messageBox(const std::string& text, const std::string& caption,
                         unsigned style) = 0;

  // --- Registry, read only, KEY_READ access. Each returns true on success;
  // on failure the out-parameter is untouched.
  virtual bool regOpenKeyIn(const RegistryPlace& place, const std::string& path,
                            RegKey* key) = 0;
  // A key of HKEY_LOCAL_MACHINE in the launcher's own view.
  bool regOpenKey(const std::string& path, RegKey* key) {
    return regOpenKeyIn(RegistryPlace{}, path, key);
  }
  // Reads a string value of at most maxBytes bytes including the
  // terminator; the text returned never holds more than maxBytes - 1 bytes.
  virtual bool regQueryString(RegKey key, const std::string& valueName,
                              std::size_t maxBytes, std::string* value) = 0;
  virtual bool regQuerySubkeyCount(RegKey key, unsigned* count) = 0;
  // Name of subkey `index` in enumeration order, of at most maxChars
  // characters (longer names fail, as RegEnumKeyExA does).
  virtual bool regEnumSubkey(RegKey key, unsigned index, std::size_t maxChars,
                             std::string* name) = 0;
  virtual void regCloseKey(RegKey key) = 0;

  // --- Processes.
  // Starts a process. On failure returns false and sets *errorCode to the
  // system's error number (GetLastError on Windows, errno on POSIX).
  virtual bool startProcess(const ProcessRequest& request,
                            ProcessHandle* process, unsigned* errorCode) = 0;
  virtual void waitForInputIdle(ProcessHandle process,
                                unsigned milliseconds) = 0;
  // Blocks until the process ends and returns its exit code. A system whose
  // exit statuses have 8 bits reports the low byte of kRestartCode as
  // kRestartCode, so the restart request works there too.
  virtual int waitForExit(ProcessHandle process) = 0;
  // Releases a process handle without waiting for the process.
  virtual void closeProcess(ProcessHandle process) = 0;
  // The system's own text for an error number.
  virtual std::string systemErrorText(unsigned errorCode) = 0;

  // --- Console and shell.
  virtual bool allocConsole() = 0;
  virtual bool setConsoleTitle(const std::string& title) = 0;
  // ShellExecuteA(NULL, "open", file, "", NULL, SW_SHOW); returns its result.
  virtual std::intptr_t shellOpen(const std::string& file) = 0;
  // Hands a web address (of at most kMaxAddressChars characters) to the
  // system's browser and does not wait for it. Whether a browser started is
  // not reported: nothing depends on it.
  virtual void openAddress(const std::string& url) = 0;

  // --- System facts.
  virtual unsigned windowsMajorVersion() = 0;  // GetVersionExA dwMajorVersion
  virtual unsigned processId() = 0;
  virtual std::int64_t calendarSeconds() = 0;  // time(NULL)

  // --- Environment.
  // Looks `name` up among the variables the process started with (the C
  // runtime's copy taken at start-up), without regard to case. Variables set
  // later through setEnv are not seen here.
  virtual bool lookupStartupEnv(const std::string& name,
                                std::string* value) = 0;
  // SetEnvironmentVariableA: affects the environment children inherit.
  virtual bool setEnv(const std::string& name, const std::string& value) = 0;

  // --- Directories and files.
  virtual std::string currentDirectory() = 0;
  virtual bool changeDirectory(const std::string& path) = 0;
  // _access(path, 0): true when the path names an existing file or directory.
  virtual bool pathExists(const std::string& path) = 0;
  // True when startProcess would find the program that `path` (a path with
  // folders, unquoted) names: on Windows the file itself; on POSIX also the
  // names it stands for there (without ".exe", javaw as java).
  virtual bool programExists(const std::string& path) = 0;
  // Reads a whole file as bytes. On failure returns false and sets *error to
  // the runtime library's text for the failure (strerror).
  virtual bool readFile(const std::string& path, std::string* contents,
                        std::string* error) = 0;
  // Creates or replaces a file. With textMode set, each "\n" is stored as the
  // platform's text-mode line end ("\r\n" on Windows, "\n" on POSIX).
  virtual bool writeFile(const std::string& path, const std::string& contents,
                         bool textMode) = 0;

  // --- Text. UTF-16 text (a configuration file saved as such) in the code
  // page the launcher works in: the ANSI code page on Windows, UTF-8 on
  // POSIX. Characters the code page cannot hold are replaced by its default
  // character, never by a look-alike, and *replaced is then set.
  virtual std::string narrowUtf16(const std::u16string& text,
                                  bool* replaced) = 0;
  // Whether that code page is UTF-8 (POSIX; Windows set to code page 65001).
  virtual bool codePageIsUtf8() = 0;

  // --- Path rules for the launcher's own path and its configuration name.
  virtual PathStyle pathStyle() = 0;
  // What separates the entries of a path list such as Java's class path:
  // ";" on Windows, ":" on POSIX.
  virtual char pathListSeparator() = 0;

  // --- Standard streams.
  virtual void writeStdout(const std::string& text) = 0;
  virtual void writeStderr(const std::string& text) = 0;
};

}  // namespace zindle
