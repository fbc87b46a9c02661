#include "mesh_counts.h"

#include <array>
#include <cstring>
#include <map>
#include <mutex>

#include "quarnel.h"

namespace velmora {

namespace {

using Key = std::array<char, kNameWidth>;

Key keyOf(const char* name) {
  Key key;
  std::memcpy(key.data(), name, key.size());
  return key;
}

struct Record {
  std::mutex lock;
  std::map<Key, MeshCounts> counts;
};

Record& record() {
  static Record r;
  return r;
}

}  // namespace

void rememberMeshCounts(const char* name, MeshCounts counts) {
  Record& r = record();
  std::lock_guard<std::mutex> hold(r.lock);
  r.counts[keyOf(name)] = counts;
}

bool findMeshCounts(const char* name, MeshCounts* counts) {
  Record& r = record();
  const Key key = keyOf(name);
  std::lock_guard<std::mutex> hold(r.lock);
  auto it = r.counts.find(key);
  if (it == r.counts.end()) return false;
  *counts = it->second;
  return true;
}

void forgetMeshCounts() {
  Record& r = record();
  std::lock_guard<std::mutex> hold(r.lock);
  r.counts.clear();
}

}  // namespace velmora
