// The state behind SystemPlatform's registry reads: a tree of keys and
// string values under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, loaded on first
// use from the .reg file named by ZINDLE_REGISTRY, or else made from the Java
// runtimes installed under /usr/lib/jvm.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/system_platform.h"

namespace zindle {

namespace posix_registry {

struct Key {
  // Value names as written; the default value has the empty name.
  std::vector<std::pair<std::string, std::string>> values;
  std::vector<std::string> subkeys;  // names as written, in file order
};

// Keys by their path (see placeKeyPath), in lower case with single
// backslashes ("software\\javasoft"): key names ignore case, as on Windows.
using Tree = std::map<std::string, Key>;

// The lookup form of a key path: lower case, no leading, trailing or
// doubled backslash, and "SOFTWARE\Wow6432Node\..." read as
// "SOFTWARE\...", so that a file written for the 32-bit view serves too.
std::string normalizeKeyPath(const std::string& path);

// The tree's path of a key of `place`: the lookup form, below a first name
// of its own for HKEY_CURRENT_USER and for each view of HKEY_LOCAL_MACHINE
// apart. The launcher's own view holds the keys of both views, as written
// in the file, so that a file made for either view serves the plain reads.
std::string placeKeyPath(const RegistryPlace& place, const std::string& path);

// Reads the text of a REGEDIT4 or "Windows Registry Editor Version 5.00"
// file (ANSI or UTF-16 with its byte-order mark) into `tree`: keys under
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER (see placeKeyPath) and their
// string values. Keys of other hives and
// values of other types are passed over. Returns false with `error` set
// when the text is not such a file.
bool parseRegFile(const std::string& text, Tree* tree, std::string* error);

// The view of the runtimes under `jvmDir`: the key "SOFTWARE\JavaSoft\Java
// Runtime Environment" with one subkey per runtime directory holding
// bin/java, named by JAVA_VERSION of its release file (else by the
// directory), with "JavaHome" the directory. A directory that is a link to
// another one listed is left out. "CurrentVersion" names the runtime whose
// bin/java `pathJava` resolves to, when one does. The keys stand in the own
// view and again in the 64-bit view.
Tree jvmView(const std::string& jvmDir, const std::string& pathJava);

// ZINDLE_REGISTRY as the process found it at start, a relative path made
// absolute against the directory the process started in (the launcher
// changes into its own directory before the registry is first read). ""
// when the variable is unset or empty.
std::string startupRegistryFile();

}  // namespace posix_registry

struct SystemPlatform::Registry {
  std::string file = posix_registry::startupRegistryFile();
  bool loaded = false;
  posix_registry::Tree tree;
  std::vector<std::string> openKeys;  // handle - 1 -> key path; "" closed

  // The key behind an open handle, or null.
  posix_registry::Key* find(RegKey handle) {
    if (handle == 0 || handle > openKeys.size()) return nullptr;
    const std::string& path = openKeys[handle - 1];
    if (path.empty()) return nullptr;
    auto it = tree.find(path);
    return it == tree.end() ? nullptr : &it->second;
  }
};

}  // namespace zindle
