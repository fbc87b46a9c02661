// Placeholder until processes are built.
#include "platform/posix_platform.h"

namespace zindle {
bool PosixPlatform::startProcess(const ProcessRequest&, ProcessHandle*, unsigned* e) { *e = 1; return false; }
void PosixPlatform::waitForInputIdle(ProcessHandle, unsigned) {}
int PosixPlatform::waitForExit(ProcessHandle) { return 0; }
void PosixPlatform::closeProcess(ProcessHandle) {}
std::string PosixPlatform::systemErrorText(unsigned) { return {}; }
bool PosixPlatform::allocConsole() { return false; }
bool PosixPlatform::setConsoleTitle(const std::string&) { return false; }
std::intptr_t PosixPlatform::shellOpen(const std::string&) { return 0; }
}  // namespace zindle
