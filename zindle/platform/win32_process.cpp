// Placeholder until processes are built.
#include "platform/win32_platform.h"

namespace zindle {
bool Win32Platform::startProcess(const ProcessRequest&, ProcessHandle*, unsigned* e) { *e = 1; return false; }
void Win32Platform::waitForInputIdle(ProcessHandle, unsigned) {}
int Win32Platform::waitForExit(ProcessHandle) { return 0; }
void Win32Platform::closeProcess(ProcessHandle) {}
std::string Win32Platform::systemErrorText(unsigned) { return {}; }
bool Win32Platform::allocConsole() { return false; }
bool Win32Platform::setConsoleTitle(const std::string&) { return false; }
std::intptr_t Win32Platform::shellOpen(const std::string&) { return 0; }
}  // namespace zindle
