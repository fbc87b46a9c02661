// SystemPlatform: registry reads from a .reg file or from the installed Java
// runtimes.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/posix_paths.h"
#include "platform/posix_registry_state.h"
#include "platform/system_platform.h"
#include "text.h"

namespace zindle {

namespace posix_registry {

namespace {

constexpr const char* kJvmDir = "/usr/lib/jvm";
constexpr const char* kJavaRoot =
    "SOFTWARE\\JavaSoft\\Java Runtime Environment";
// The first name of the keys of a place apart from the launcher's own view
// of HKEY_LOCAL_MACHINE; no real key is named so.
const std::string kView64 = "64:";
const std::string kView32 = "32:";
const std::string kUserHive = "user:";

using posix::isExecutableFile;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t kUtf16MarkSize = 2;
// A key path names the 32-bit registry view by this node after "SOFTWARE";
// the launcher's own view kept here has one tree for both.
constexpr std::string_view kSoftwareKey = "software";
constexpr std::string_view kWow64Node = "\\wow6432node";

// Makes the key and every key above it, recording each new name in its
// parent's subkey list.
Key& ensureKey(Tree& tree, const std::string& displayPath) {
  std::string path;
  Key* key = nullptr;
  std::stringstream parts(displayPath);
  std::string part;
  while (std::getline(parts, part, '\\')) {
    if (part.empty()) continue;
    std::string child =
        path.empty() ? asciiLower(part) : path + "\\" + asciiLower(part);
    if (tree.find(child) == tree.end()) {
      tree[child];
      if (!path.empty()) tree[path].subkeys.push_back(part);
    }
    path = child;
    key = &tree[path];
  }
  static Key none;
  return key ? *key : none;
}

void deleteKey(Tree& tree, const std::string& path) {
  if (path.empty()) return;
  for (auto it = tree.begin(); it != tree.end();) {
    if (it->first == path || hasPrefix(it->first, path + "\\"))
      it = tree.erase(it);
    else
      ++it;
  }
  std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return;
  auto parent = tree.find(path.substr(0, slash));
  if (parent == tree.end()) return;
  std::string name = path.substr(slash + 1);
  auto& subkeys = parent->second.subkeys;
  subkeys.erase(std::remove_if(subkeys.begin(), subkeys.end(),
                               [&](const std::string& s) {
                                 return asciiLower(s) == name;
                               }),
                subkeys.end());
}

void setValue(Key& key, const std::string& name, const std::string* value) {
  auto& values = key.values;
  auto it = std::find_if(values.begin(), values.end(), [&](const auto& v) {
    return asciiLower(v.first) == asciiLower(name);
  });
  if (value == nullptr) {
    if (it != values.end()) values.erase(it);
  } else if (it != values.end()) {
    it->second = *value;
  } else {
    values.emplace_back(name, *value);
  }
}

// A quoted .reg string starting at text[pos] == '"'; \\ and \" are escapes.
// Sets *end to the index after the closing quote.
bool readQuoted(const std::string& text, std::size_t pos, std::string* out,
                std::size_t* end) {
  out->clear();
  for (std::size_t i = pos + 1; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      *out += text[++i];
    } else if (text[i] == '"') {
      *end = i + 1;
      return true;
    } else {
      *out += text[i];
    }
  }
  return false;
}

std::string trimmed(const std::string& text) {
  std::size_t b = text.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  std::size_t e = text.find_last_not_of(" \t\r");
  return text.substr(b, e - b + 1);
}

std::string realPath(const std::string& path) {
  char buffer[PATH_MAX];
  if (realpath(path.c_str(), buffer) == nullptr) return {};
  return buffer;
}

bool isLink(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// JAVA_VERSION="17.0.15" of a runtime's release file.
std::string releaseVersion(const std::string& home) {
  std::ifstream release(home + "/release", std::ios::binary);
  std::ostringstream text;
  text << release.rdbuf();
  return releaseJavaVersion(text.str()).value_or(std::string());
}

}  // namespace

std::string startupRegistryFile() {
  const char* file = std::getenv("ZINDLE_REGISTRY");
  if (file == nullptr || *file == '\0') return {};
  if (file[0] == '/') return file;
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd) == nullptr) return file;
  return std::string(cwd) + "/" + file;
}

std::string placeKeyPath(const RegistryPlace& place, const std::string& path) {
  std::string normal = normalizeKeyPath(path);
  if (normal.empty()) return normal;
  if (place.root == RegistryRoot::kUser) return kUserHive + "\\" + normal;
  if (place.view == RegistryView::k64) return kView64 + "\\" + normal;
  if (place.view == RegistryView::k32) return kView32 + "\\" + normal;
  return normal;
}

std::string normalizeKeyPath(const std::string& path) {
  std::string result;
  for (char c : path) {
    if (c == '\\' && (result.empty() || result.back() == '\\')) continue;
    result += c;
  }
  while (!result.empty() && result.back() == '\\') result.pop_back();
  result = asciiLower(result);
  const std::string wow = std::string(kSoftwareKey) + std::string(kWow64Node);
  if (result == wow)
    result = kSoftwareKey;
  else if (hasPrefix(result, wow + "\\"))
    result = std::string(kSoftwareKey) + result.substr(wow.size());
  return result;
}

namespace {

// The text of a .reg file: UTF-16 as regedit writes version 5 files, or
// ANSI with or without a UTF-8 mark.
std::string regFileText(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE)
    // Narrowed to single bytes, as this reader always took such files.
    return latin1FromUtf16(utf16Units(bytes, kUtf16MarkSize, false));
  if (hasPrefix(bytes, kUtf8Mark)) return bytes.substr(kUtf8Mark.size());
  return bytes;
}

bool isRegHeader(const std::string& line) {
  return line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00";
}

// Where the reading stands: the keys whose values follow. A key of
// HKEY_LOCAL_MACHINE is kept twice: in the view of its own (64-bit, or
// 32-bit under "Wow6432Node") and in the launcher's own view, which holds
// both.
struct RegReader {
  Tree* tree = nullptr;
  std::vector<std::string> keyPaths;  // display paths, with a place prefix
};

// "[HKEY_LOCAL_MACHINE\...]" or "[HKEY_CURRENT_USER\...]" opens (and
// makes) a key; "[-...]" deletes one. Keys of other hives are passed over,
// with their values.
void readKeyLine(RegReader& reader, const std::string& line) {
  reader.keyPaths.clear();
  std::size_t close = line.rfind(']');
  std::string name = line.substr(
      1, close == std::string::npos ? std::string::npos : close - 1);
  bool remove = !name.empty() && name[0] == '-';
  if (remove) name = name.substr(1);
  std::string hive = asciiLower(name.substr(0, name.find('\\')));
  const bool machine = hive == "hkey_local_machine" || hive == "hklm";
  const bool user = hive == "hkey_current_user" || hive == "hkcu";
  if (!machine && !user) return;
  std::size_t slash = name.find('\\');
  std::string keyPath =
      slash == std::string::npos ? std::string() : name.substr(slash);
  // Keep the names as written, without the 32-bit view's node.
  const std::string wow =
      "\\" + std::string(kSoftwareKey) + std::string(kWow64Node);
  std::string lowered = asciiLower(keyPath);
  const bool view32 = lowered == wow || hasPrefix(lowered, wow + "\\");
  if (view32) keyPath.erase(1 + kSoftwareKey.size(), kWow64Node.size());
  if (machine) {
    reader.keyPaths.push_back(keyPath);
    reader.keyPaths.push_back((view32 ? kView32 : kView64) + keyPath);
  } else {
    reader.keyPaths.push_back(kUserHive + keyPath);
  }
  for (const std::string& path : reader.keyPaths) {
    if (remove)
      deleteKey(*reader.tree, normalizeKeyPath(path));
    else
      ensureKey(*reader.tree, path);
  }
  if (remove) reader.keyPaths.clear();
}

std::size_t skipBlanks(const std::string& text, std::size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  return pos;
}

// "name"="text", @="text" or "name"=- in the current key. Values of other
// types (dword:, hex:) are not strings and are passed over.
void readValueLine(RegReader& reader, const std::string& line) {
  std::string name;
  std::size_t pos = 0;
  if (line[0] == '@') {
    pos = 1;
  } else if (line[0] != '"' || !readQuoted(line, 0, &name, &pos)) {
    return;
  }
  pos = skipBlanks(line, pos);
  if (pos >= line.size() || line[pos] != '=') return;
  pos = skipBlanks(line, pos + 1);
  const bool erase = pos < line.size() && line[pos] == '-';
  std::string value;
  std::size_t end = 0;
  if (!erase && (pos >= line.size() || line[pos] != '"' ||
                 !readQuoted(line, pos, &value, &end)))
    return;
  for (const std::string& path : reader.keyPaths)
    setValue((*reader.tree)[normalizeKeyPath(path)], name,
             erase ? nullptr : &value);
}

// The next logical line: a binary value continues on the next line after a
// backslash, and the pieces are joined.
bool nextLogicalLine(std::istream& lines, std::string* line) {
  std::string joined;
  std::string piece;
  while (std::getline(lines, piece)) {
    if (!piece.empty() && piece.back() == '\r') piece.pop_back();
    bool continues =
        !piece.empty() && piece.back() == '\\' &&
        (!joined.empty() || piece.find("=hex") != std::string::npos);
    joined += piece;
    if (!continues) {
      *line = joined;
      return true;
    }
  }
  // A value still open at the end of the file is dropped.
  return false;
}

}  // namespace

bool parseRegFile(const std::string& bytes, Tree* tree, std::string* error) {
  std::stringstream lines(regFileText(bytes));
  std::string line;
  bool sawHeader = false;
  RegReader reader;
  reader.tree = tree;
  while (nextLogicalLine(lines, &line)) {
    std::string text = trimmed(line);
    if (!sawHeader) {
      if (text.empty()) continue;
      if (!isRegHeader(text)) {
        *error =
            "not a registry file (no REGEDIT4 or Windows Registry "
            "Editor Version 5.00 header)";
        return false;
      }
      sawHeader = true;
    } else if (text.empty() || text[0] == ';') {
      continue;
    } else if (text[0] == '[') {
      readKeyLine(reader, text);
    } else if (!reader.keyPaths.empty()) {
      readValueLine(reader, text);
    }
  }
  if (!sawHeader) {
    *error = "empty registry file";
    return false;
  }
  return true;
}

Tree jvmView(const std::string& jvmDir, const std::string& pathJava) {
  struct Runtime {
    std::string entry;
    std::string home;
    std::string real;
    bool link;
  };
  std::vector<Runtime> found;
  if (DIR* dir = opendir(jvmDir.c_str())) {
    while (dirent* e = readdir(dir)) {
      std::string entry = e->d_name;
      if (entry == "." || entry == "..") continue;
      std::string home = jvmDir + "/" + entry;
      if (!isExecutableFile(home + "/bin/java")) continue;
      found.push_back({entry, home, realPath(home), isLink(home)});
    }
    closedir(dir);
  }
  std::sort(found.begin(), found.end(), [](const Runtime& a, const Runtime& b) {
    return a.entry < b.entry;
  });

  // One runtime per real directory: the directory itself rather than a
  // link to it.
  std::vector<Runtime> runtimes;
  for (const Runtime& r : found) {
    auto same =
        std::find_if(runtimes.begin(), runtimes.end(),
                     [&](const Runtime& o) { return o.real == r.real; });
    if (same == runtimes.end())
      runtimes.push_back(r);
    else if (same->link && !r.link)
      *same = r;
  }

  std::sort(
      runtimes.begin(), runtimes.end(),
      [](const Runtime& a, const Runtime& b) { return a.entry < b.entry; });

  Tree tree;
  ensureKey(tree, kJavaRoot);
  const std::string rootPath = normalizeKeyPath(kJavaRoot);
  const std::string current = pathJava.empty() ? "" : realPath(pathJava);
  std::set<std::string> names;
  for (const Runtime& r : runtimes) {
    std::string name = releaseVersion(r.home);
    if (name.empty()) name = r.entry;
    bool isCurrent =
        !current.empty() && realPath(r.home + "/bin/java") == current;
    if (isCurrent) {
      std::string value = name;
      setValue(tree[rootPath], "CurrentVersion", &value);
    }
    // Two runtimes of one version: the registry has one key per name.
    if (!names.insert(asciiLower(name)).second) continue;
    Key& key = ensureKey(tree, std::string(kJavaRoot) + "\\" + name);
    setValue(key, "JavaHome", &r.home);
  }
  // A 64-bit system's runtimes: the same keys in the 64-bit view.
  Tree views = tree;
  for (const auto& [path, key] : tree) views[kView64 + "\\" + path] = key;
  return views;
}

}  // namespace posix_registry

using posix_registry::Key;

bool SystemPlatform::regOpenKeyIn(const RegistryPlace& place,
                                  const std::string& path, RegKey* key) {
  Registry& r = *registry_;
  if (!r.loaded) {
    r.loaded = true;
    const std::string& file = r.file;
    if (!file.empty()) {
      std::ifstream in(file, std::ios::binary);
      std::string error;
      if (!in) {
        error = std::strerror(errno);
      } else {
        std::stringstream contents;
        contents << in.rdbuf();
        if (posix_registry::parseRegFile(contents.str(), &r.tree, &error))
          error.clear();
        else
          r.tree.clear();
      }
      if (!error.empty())
        writeStderr("ZINDLE_REGISTRY: " + file + ": " + error + "\n");
    } else {
      r.tree = posix_registry::jvmView(posix_registry::kJvmDir,
                                       posix::findOnPath("java"));
    }
  }
  std::string normal = posix_registry::placeKeyPath(place, path);
  if (normal.empty() || r.tree.find(normal) == r.tree.end()) return false;
  r.openKeys.push_back(normal);
  *key = r.openKeys.size();
  return true;
}

bool SystemPlatform::regQueryString(RegKey key, const std::string& valueName,
                                    std::size_t maxBytes, std::string* value) {
  Key* k = registry_->find(key);
  if (k == nullptr) return false;
  const std::string name = asciiLower(valueName);
  for (const auto& [n, text] : k->values) {
    if (asciiLower(n) != name) continue;
    // As RegQueryValueExA: a value that does not fit is not read.
    if (text.size() + 1 > maxBytes) return false;
    *value = text;
    return true;
  }
  return false;
}

bool SystemPlatform::regQuerySubkeyCount(RegKey key, unsigned* count) {
  Key* k = registry_->find(key);
  if (k == nullptr) return false;
  *count = static_cast<unsigned>(k->subkeys.size());
  return true;
}

bool SystemPlatform::regEnumSubkey(RegKey key, unsigned index,
                                   std::size_t maxChars, std::string* name) {
  Key* k = registry_->find(key);
  if (k == nullptr || index >= k->subkeys.size()) return false;
  if (k->subkeys[index].size() > maxChars) return false;
  *name = k->subkeys[index];
  return true;
}

void SystemPlatform::regCloseKey(RegKey key) {
  Registry& r = *registry_;
  if (key != 0 && key <= r.openKeys.size()) r.openKeys[key - 1].clear();
}

}  // namespace zindle
