// Stand-in result routines.
//
// With P the number of periods a subbasin has solved (flow and sediment):
//
// Boundary results, for a boundary the subbasin holds:
//   GETBOUNDARYOUTFLOW             flow + 1000 P
//   GETBOUNDARYSTAGE               stage + 1000 P
//   GETBOUNDARYTOTALLOAD           load + P
//   GETBOUNDARYTOTALCONCENTRATION  0.5 load + P
//   GETBOUNDARYLOAD                load k + P
// where flow, stage and load are the boundary's current values. For a
// subbasin or boundary that the stand-in does not hold, the value is left
// untouched.
//
// Cell and face results: for a subbasin with geometry, one value per cell
// (per face for GETSUBBASINFACEVELOCITY), c = 0, 1, ...:
//   code 1000000 + 1000 P + c + 0.5 i1 + 0.25 i2 + area(c)
// summed left to right, with area(c) the cell's bath area as received by
// INITSUBBASINGEOMETRY (0 for faces), i2 = 0 where the routine has none,
// and the codes AREAWET 1, VOLUME 2, WATERLEVEL 3, CELLVELOCITY 4,
// FACEVELOCITY 5, TOTALCONCENTRATION 6, TOTALBEDCHANGE 7, CONCENTRATION 8,
// BEDCHANGE 9, ACTIVEFRACTION 10. Exactly cellCount (faceCount) values are
// written; an unknown subbasin gets none. For a subbasin whose name begins
// with "RESULTRELAY" the routine relays "<ROUTINE> <subbasin>" to Java
// before it writes the values.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "journal.h"
#include "quarnel.h"
#include "relay.h"
#include "store.h"

namespace quarnel {
namespace {

int periodsSolved(const Subbasin& s) {
  return s.flowPeriods + s.sedimentPeriods;
}

enum class Quantity { kOutflow, kStage, kTotalLoad, kTotalConcentration };

void boundaryResult(const char* routine, Quantity quantity,
                    const char* subbasinText, const char* boundaryText,
                    double* value, FLen subbasinLen, FLen boundaryLen) {
  NamedCall(routine, subbasinText, subbasinLen, "boundary", boundaryText,
            boundaryLen)
      .journal()
      .f64("value", *value);
  Subbasin* s = findSubbasin(subbasinText, kNameWidth);
  const Boundary* b = findBoundary(s, boundaryText);
  if (b == nullptr) return;
  const int periods = periodsSolved(*s);
  switch (quantity) {
    case Quantity::kOutflow:
      *value = b->flow + 1000.0 * periods;
      break;
    case Quantity::kStage:
      *value = b->stage + 1000.0 * periods;
      break;
    case Quantity::kTotalLoad:
      *value = b->load + periods;
      break;
    case Quantity::kTotalConcentration:
      *value = 0.5 * b->load + periods;
      break;
  }
}

enum class Over { kCells, kFaces };

void cellResult(const char* routine, int code, Over over,
                const char* subbasinText, double* values, int i1, const int* i2,
                FLen subbasinLen) {
  {
    NamedCall call(routine, subbasinText, subbasinLen);
    call.journal().i32("i1", i1);
    if (i2 != nullptr) call.journal().i32("i2", *i2);
  }
  if (relayFrom(subbasinText, kNameWidth) == RelayFrom::kResult) {
    relayMessage(
        (std::string(routine) + " " + nameKey(subbasinText, kNameWidth))
            .c_str());
  }
  Subbasin* s = findSubbasin(subbasinText, kNameWidth);
  if (s == nullptr) return;
  const int n = over == Over::kCells ? s->cellCount : s->faceCount;
  const int count = n > 0 ? n : 0;
  const int periods = periodsSolved(*s);
  const int second = i2 != nullptr ? *i2 : 0;
  ResultCache& cache = s->lastResult;
  if (cache.code == code && cache.periods == periods && cache.i1 == i1 &&
      cache.i2 == second && cache.geometryVersion == s->geometryVersion &&
      cache.values.size() == static_cast<std::size_t>(count)) {
    std::memcpy(values, cache.values.data(), cache.values.size() * 8);
    return;
  }
  // The sum keeps its left-to-right order; the loops are split, with an int
  // index, so that the compiler can vectorise them.
  const double base = code * 1000000.0 + 1000.0 * periods;
  const double first = 0.5 * i1;
  const double last = 0.25 * second;
  const int withArea =
      over == Over::kCells
          ? static_cast<int>(std::min<std::size_t>(
                static_cast<std::size_t>(count), s->cellBathAreas.size()))
          : 0;
  const double* area = s->cellBathAreas.data();
  int c = 0;
  for (; c < withArea; ++c) values[c] = base + c + first + last + area[c];
  for (; c < count; ++c) values[c] = base + c + first + last + 0.0;
  cache.code = code;
  cache.periods = periods;
  cache.i1 = i1;
  cache.i2 = second;
  cache.geometryVersion = s->geometryVersion;
  cache.values.assign(values, values + count);
}

}  // namespace
}  // namespace quarnel

using namespace quarnel;

extern "C" {

void GETBOUNDARYOUTFLOW(const char* subbasin, const char* boundary,
                        double* value, FLen subbasinLen, FLen boundaryLen) {
  boundaryResult("GETBOUNDARYOUTFLOW", Quantity::kOutflow, subbasin, boundary,
                 value, subbasinLen, boundaryLen);
}

void GETBOUNDARYSTAGE(const char* subbasin, const char* boundary, double* value,
                      FLen subbasinLen, FLen boundaryLen) {
  boundaryResult("GETBOUNDARYSTAGE", Quantity::kStage, subbasin, boundary,
                 value, subbasinLen, boundaryLen);
}

void GETBOUNDARYTOTALLOAD(const char* subbasin, const char* boundary,
                          double* value, FLen subbasinLen, FLen boundaryLen) {
  boundaryResult("GETBOUNDARYTOTALLOAD", Quantity::kTotalLoad, subbasin,
                 boundary, value, subbasinLen, boundaryLen);
}

void GETBOUNDARYTOTALCONCENTRATION(const char* subbasin, const char* boundary,
                                   double* value, FLen subbasinLen,
                                   FLen boundaryLen) {
  boundaryResult("GETBOUNDARYTOTALCONCENTRATION", Quantity::kTotalConcentration,
                 subbasin, boundary, value, subbasinLen, boundaryLen);
}

void GETBOUNDARYLOAD(const char* subbasinText, const char* boundaryText,
                     double* value, const int* k, FLen subbasinLen,
                     FLen boundaryLen) {
  NamedCall("GETBOUNDARYLOAD", subbasinText, subbasinLen, "boundary",
            boundaryText, boundaryLen)
      .journal()
      .f64("value", *value)
      .i32("k", *k);
  Subbasin* s = findSubbasin(subbasinText, kNameWidth);
  const Boundary* b = findBoundary(s, boundaryText);
  if (b == nullptr) return;
  *value = b->load * *k + periodsSolved(*s);
}

void GETSUBBASINCELLAREAWET(const char* subbasin, double* values, const int* i1,
                            FLen subbasinLen) {
  cellResult("GETSUBBASINCELLAREAWET", 1, Over::kCells, subbasin, values, *i1,
             nullptr, subbasinLen);
}

void GETSUBBASINCELLVOLUME(const char* subbasin, double* values, const int* i1,
                           FLen subbasinLen) {
  cellResult("GETSUBBASINCELLVOLUME", 2, Over::kCells, subbasin, values, *i1,
             nullptr, subbasinLen);
}

void GETSUBBASINCELLWATERLEVEL(const char* subbasin, double* values,
                               const int* i1, FLen subbasinLen) {
  cellResult("GETSUBBASINCELLWATERLEVEL", 3, Over::kCells, subbasin, values,
             *i1, nullptr, subbasinLen);
}

void GETSUBBASINCELLVELOCITY(const char* subbasin, double* values,
                             const int* i1, FLen subbasinLen) {
  cellResult("GETSUBBASINCELLVELOCITY", 4, Over::kCells, subbasin, values, *i1,
             nullptr, subbasinLen);
}

void GETSUBBASINFACEVELOCITY(const char* subbasin, double* values,
                             const int* i1, FLen subbasinLen) {
  cellResult("GETSUBBASINFACEVELOCITY", 5, Over::kFaces, subbasin, values, *i1,
             nullptr, subbasinLen);
}

void GETSUBBASINCELLTOTALCONCENTRATION(const char* subbasin, double* values,
                                       const int* i1, FLen subbasinLen) {
  cellResult("GETSUBBASINCELLTOTALCONCENTRATION", 6, Over::kCells, subbasin,
             values, *i1, nullptr, subbasinLen);
}

void GETSUBBASINCELLTOTALBEDCHANGE(const char* subbasin, double* values,
                                   const int* i1, FLen subbasinLen) {
  cellResult("GETSUBBASINCELLTOTALBEDCHANGE", 7, Over::kCells, subbasin, values,
             *i1, nullptr, subbasinLen);
}

void GETSUBBASINCELLCONCENTRATION(const char* subbasin, double* values,
                                  const int* i1, const int* i2,
                                  FLen subbasinLen) {
  cellResult("GETSUBBASINCELLCONCENTRATION", 8, Over::kCells, subbasin, values,
             *i1, i2, subbasinLen);
}

void GETSUBBASINCELLBEDCHANGE(const char* subbasin, double* values,
                              const int* i1, const int* i2, FLen subbasinLen) {
  cellResult("GETSUBBASINCELLBEDCHANGE", 9, Over::kCells, subbasin, values, *i1,
             i2, subbasinLen);
}

void GETSUBBASINCELLACTIVEFRACTION(const char* subbasin, double* values,
                                   const int* i1, const int* i2,
                                   FLen subbasinLen) {
  cellResult("GETSUBBASINCELLACTIVEFRACTION", 10, Over::kCells, subbasin,
             values, *i1, i2, subbasinLen);
}

}  // extern "C"
