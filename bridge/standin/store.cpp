#include "store.h"

#include "journal.h"

namespace quarnel {

namespace {
std::map<std::string, Subbasin>& subbasins() {
  static std::map<std::string, Subbasin> all;
  return all;
}
}  // namespace

Subbasin& subbasin(const char* text, std::size_t n) {
  return subbasins()[nameKey(text, n)];
}

Subbasin* findSubbasin(const char* text, std::size_t n) {
  auto it = subbasins().find(nameKey(text, n));
  return it == subbasins().end() ? nullptr : &it->second;
}

void releaseAllSubbasins() { subbasins().clear(); }

Basin& basin() {
  static Basin b;
  return b;
}

}  // namespace quarnel
