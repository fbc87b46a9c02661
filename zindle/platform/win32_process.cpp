// SystemPlatform: processes, consoles and the shell.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <vector>

#include "platform/system_platform.h"

namespace zindle {

namespace {

// Closes a kernel handle when it goes out of scope.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE h = nullptr) : handle_(h) {}
  ~UniqueHandle() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE)
      CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE get() const { return handle_; }
  HANDLE release() {
    HANDLE h = handle_;
    handle_ = nullptr;
    return h;
  }

 private:
  HANDLE handle_;
};

HANDLE toHandle(ProcessHandle process) {
  return reinterpret_cast<HANDLE>(process);
}

// The command that hands an address to the registered browser, and the
// buffer it is formed in, terminator included.
constexpr const char* kOpenAddressHead =
    "rundll32 url.dll,FileProtocolHandler \"";
constexpr std::size_t kOpenAddressCommandSize = 512;
static_assert(std::char_traits<char>::length(kOpenAddressHead) +
                      kMaxAddressChars + 2 ==
                  kOpenAddressCommandSize,
              "the longest address and its closing quote fill the command");

}  // namespace

bool SystemPlatform::startProcess(const ProcessRequest& request,
                                  ProcessHandle* process, unsigned* errorCode) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  std::vector<char> title(request.consoleTitle.begin(),
                          request.consoleTitle.end());
  title.push_back('\0');
  if (request.hasConsoleTitle) startup.lpTitle = title.data();
  // CreateProcessA may write into the command line: give it a copy.
  std::vector<char> commandLine(request.commandLine.begin(),
                                request.commandLine.end());
  commandLine.push_back('\0');
  PROCESS_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  if (!CreateProcessA(
          nullptr, commandLine.data(), nullptr, nullptr,
          request.inheritHandles ? TRUE : FALSE, request.creationFlags, nullptr,
          request.workingDir.empty() ? nullptr : request.workingDir.c_str(),
          &startup, &info)) {
    *errorCode = GetLastError();
    return false;
  }
  UniqueHandle thread(info.hThread);
  UniqueHandle started(info.hProcess);
  *process = reinterpret_cast<ProcessHandle>(started.release());
  return true;
}

void SystemPlatform::waitForInputIdle(ProcessHandle process,
                                      unsigned milliseconds) {
  WaitForInputIdle(toHandle(process), milliseconds);
}

int SystemPlatform::waitForExit(ProcessHandle process) {
  WaitForSingleObject(toHandle(process), INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(toHandle(process), &code)) return -1;
  return static_cast<int>(code);
}

void SystemPlatform::closeProcess(ProcessHandle process) {
  UniqueHandle closing(toHandle(process));
}

std::string SystemPlatform::systemErrorText(unsigned errorCode) {
  char buffer[512] = {};
  DWORD n =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, errorCode, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' ||
                           text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  if (text.empty()) text = "error " + std::to_string(errorCode);
  return text;
}

void SystemPlatform::openAddress(const std::string& url) {
  const std::string command = kOpenAddressHead + url + "\"";
  // An address that does not fit the buffer is not cut into another one.
  if (command.size() >= kOpenAddressCommandSize) return;
  ProcessRequest request;
  request.commandLine = command;
  request.creationFlags = 0;
  request.inheritHandles = true;
  ProcessHandle process = 0;
  unsigned error = 0;
  // Not checked and not waited for: the browser runs on its own.
  if (startProcess(request, &process, &error)) closeProcess(process);
}

bool SystemPlatform::allocConsole() { return AllocConsole() != 0; }

bool SystemPlatform::setConsoleTitle(const std::string& title) {
  return SetConsoleTitleA(title.c_str()) != 0;
}

std::intptr_t SystemPlatform::shellOpen(const std::string& file) {
  return reinterpret_cast<std::intptr_t>(
      ShellExecuteA(nullptr, "open", file.c_str(), "", nullptr, SW_SHOW));
}

}  // namespace zindle
