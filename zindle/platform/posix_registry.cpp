// Placeholder until registry reads are built.
#include "platform/posix_platform.h"

namespace zindle {
bool PosixPlatform::regOpenKey(const std::string&, RegKey*) { return false; }
bool PosixPlatform::regQueryString(RegKey, const std::string&, std::size_t, std::string*) { return false; }
bool PosixPlatform::regQuerySubkeyCount(RegKey, unsigned*) { return false; }
bool PosixPlatform::regEnumSubkey(RegKey, unsigned, std::size_t, std::string*) { return false; }
void PosixPlatform::regCloseKey(RegKey) {}
}  // namespace zindle
