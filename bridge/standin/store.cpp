#include "store.h"

#include "journal.h"

namespace quarnel {

namespace {
// Keyed by name without trailing blanks; looked up without copying the name.
std::map<std::string, Subbasin, std::less<>>& subbasins() {
  static std::map<std::string, Subbasin, std::less<>> all;
  return all;
}
}  // namespace

Subbasin& subbasin(const char* text, std::size_t n) {
  auto& all = subbasins();
  const std::string_view key = nameView(text, n);
  auto it = all.find(key);
  if (it != all.end()) return it->second;
  return all.emplace(std::string(key), Subbasin{}).first->second;
}

Subbasin* findSubbasin(const char* text, std::size_t n) {
  auto it = subbasins().find(nameView(text, n));
  return it == subbasins().end() ? nullptr : &it->second;
}

namespace {
unsigned generation = 0;
}  // namespace

void releaseAllSubbasins() {
  subbasins().clear();
  ++generation;
}

unsigned storeGeneration() { return generation; }

Basin& basin() {
  static Basin b;
  return b;
}

}  // namespace quarnel
