#include "store.h"

#include <atomic>
#include <mutex>

#include "journal.h"

namespace quarnel {

namespace {
// Keyed by name without trailing blanks; looked up without copying the name.
std::map<std::string, Subbasin, std::less<>>& subbasins() {
  static std::map<std::string, Subbasin, std::less<>> all;
  return all;
}

// Several Java threads may call at once, each for subbasins of its own: the
// map is changed and searched under this lock, and a subbasin, whose node
// stays where it is, is then used by the thread that asked for it.
std::mutex& storeLock() {
  static std::mutex lock;
  return lock;
}
}  // namespace

Subbasin& subbasin(const char* text, std::size_t n) {
  std::lock_guard<std::mutex> hold(storeLock());
  auto& all = subbasins();
  const std::string_view key = nameView(text, n);
  auto it = all.find(key);
  if (it != all.end()) return it->second;
  return all.emplace(std::string(key), Subbasin{}).first->second;
}

Subbasin* findSubbasin(const char* text, std::size_t n) {
  std::lock_guard<std::mutex> hold(storeLock());
  auto it = subbasins().find(nameView(text, n));
  return it == subbasins().end() ? nullptr : &it->second;
}

Boundary* findBoundary(Subbasin* s, const char* boundaryText) {
  if (s == nullptr) return nullptr;
  auto it = s->boundaries.find(nameView(boundaryText, kNameWidth));
  return it == s->boundaries.end() ? nullptr : &it->second;
}

namespace {
std::atomic<unsigned> generation{0};
}  // namespace

void releaseAllSubbasins() {
  std::lock_guard<std::mutex> hold(storeLock());
  subbasins().clear();
  ++generation;
}

unsigned storeGeneration() { return generation; }

Basin& basin() {
  static Basin b;
  return b;
}

}  // namespace quarnel
