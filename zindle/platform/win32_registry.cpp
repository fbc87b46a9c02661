// SystemPlatform: read-only registry access.
//
// A RegKey is the HKEY itself. Keys are opened with KEY_READ; the own view
// adds no view flag, so a 32-bit launcher reads the 32-bit view unless the
// 64-bit one is asked for.
#include <windows.h>

#include <vector>

#include "platform/system_platform.h"

namespace zindle {

namespace {

HKEY toHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

bool SystemPlatform::regOpenKeyIn(const RegistryPlace& place,
                                  const std::string& path, RegKey* key) {
  HKEY root = place.root == RegistryRoot::kUser ? HKEY_CURRENT_USER
                                                : HKEY_LOCAL_MACHINE;
  REGSAM access = KEY_READ;
  if (place.view == RegistryView::k64) access |= KEY_WOW64_64KEY;
  if (place.view == RegistryView::k32) access |= KEY_WOW64_32KEY;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, access, &opened) != ERROR_SUCCESS)
    return false;
  *key = reinterpret_cast<RegKey>(opened);
  return true;
}

bool SystemPlatform::regQueryString(RegKey key, const std::string& valueName,
                                    std::size_t maxBytes, std::string* value) {
  if (maxBytes == 0) return false;
  std::vector<char> buffer(maxBytes, '\0');
  DWORD size = static_cast<DWORD>(maxBytes);
  if (RegQueryValueExA(toHkey(key), valueName.c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS)
    return false;
  // The stored text need not end in a zero: end it within the buffer.
  std::size_t length = size < maxBytes ? size : maxBytes - 1;
  buffer[length] = '\0';
  value->assign(buffer.data());
  return true;
}

bool SystemPlatform::regQuerySubkeyCount(RegKey key, unsigned* count) {
  DWORD subkeys = 0;
  if (RegQueryInfoKeyA(toHkey(key), nullptr, nullptr, nullptr, &subkeys,
                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return false;
  *count = subkeys;
  return true;
}

bool SystemPlatform::regEnumSubkey(RegKey key, unsigned index,
                                   std::size_t maxChars, std::string* name) {
  std::vector<char> buffer(maxChars + 1, '\0');
  DWORD length = static_cast<DWORD>(buffer.size());
  if (RegEnumKeyExA(toHkey(key), index, buffer.data(), &length, nullptr,
                    nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  name->assign(buffer.data(), length);
  return true;
}

void SystemPlatform::regCloseKey(RegKey key) { RegCloseKey(toHkey(key)); }

}  // namespace zindle
