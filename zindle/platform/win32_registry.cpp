// Placeholder until registry reads are built.
#include "platform/win32_platform.h"

namespace zindle {
bool Win32Platform::regOpenKey(const std::string&, RegKey*) { return false; }
bool Win32Platform::regQueryString(RegKey, const std::string&, std::size_t, std::string*) { return false; }
bool Win32Platform::regQuerySubkeyCount(RegKey, unsigned*) { return false; }
bool Win32Platform::regEnumSubkey(RegKey, unsigned, std::size_t, std::string*) { return false; }
void Win32Platform::regCloseKey(RegKey) {}
}  // namespace zindle
