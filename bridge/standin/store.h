// What the stand-in keeps between calls: subbasins by name, with what their
// set-up calls gave and what their solves did, so results can be derived
// deterministically from them.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "journal.h"

namespace quarnel {

struct Boundary {
  std::string kind;  // "NORMALDEPTH", "RATINGCURVE", "FLOW", "STAGE"
  std::vector<int> faceIndices;
  std::vector<double> faceFractions;
  double declared = 0.0;  // numeric argument of the declaration
  double flow = 0.0;
  double stage = 0.0;
  double load = 0.0;
};

// The last cell or face result written, kept so that asking for the same
// result again costs one copy: benchmarks of the bridge then see the bridge,
// not the stand-in's arithmetic.
struct ResultCache {
  int code = -1;  // none yet
  int periods = 0;
  int i1 = 0;
  int i2 = 0;
  unsigned geometryVersion = 0;
  std::vector<double> values;
};

struct Subbasin {
  // Geometry.
  int cellCount = 0;
  int internalCellCount = 0;
  int faceCount = 0;
  int nodeCount = 0;
  int cellFaceValueCount = 0;
  int nodeCellValueCount = 0;
  int maxNodesPerCell = 0;
  std::vector<double> cellBathAreas;  // as received (square feet)
  unsigned geometryVersion = 0;       // raised by every geometry call
  // Bathymetry.
  int bathymetryCellCount = 0;
  int bathymetryFaceCount = 0;
  // Boundaries by name.
  std::map<std::string, Boundary, std::less<>> boundaries;
  // Flow control and state.
  int threads = 0;
  double implicitFactor = 0.0;
  double control[4] = {0.0, 0.0, 0.0, 0.0};
  int control5 = 0;
  bool flowInitialized = false;
  bool flowStateInitialized = false;
  double warmUp[2] = {0.0, 0.0};
  int flowPeriods = 0;      // SOLVESUBBASINFLOW calls
  int sedimentPeriods = 0;  // SOLVESUBBASINFLOWSEDIMENT calls
  // Sediment.
  bool sedimentInitialized = false;
  std::string fallVelocityMethod;
  std::string transportPotentialMethod;
  std::string cohesiveTransportMethod;
  double mobilityFactor = 0.0;
  int grainClasses = 0;
  bool sedimentChecked = false;
  ResultCache lastResult;
};

// The subbasin of that name, made on first use.
Subbasin& subbasin(const char* text, std::size_t n);

// A routine that sets one value of a subbasin: journals it as `name` and
// keeps it in the subbasin.
template <typename T>
void setSubbasinValue(const char* routine, const char* subbasinText,
                      FLen subbasinLen, const char* name, T value,
                      T Subbasin::*kept) {
  NamedCall call(routine, subbasinText, subbasinLen);
  if constexpr (std::is_same_v<T, int>) {
    call.journal().i32(name, value);
  } else {
    call.journal().f64(name, value);
  }
  subbasin(subbasinText, kNameWidth).*kept = value;
}
// The subbasin of that name, or null.
Subbasin* findSubbasin(const char* text, std::size_t n);
// The boundary of `s` (which may be null) named by a 32-byte text, or null.
Boundary* findBoundary(Subbasin* s, const char* boundaryText);
void releaseAllSubbasins();
// Raised by releaseAllSubbasins: pointers into the store taken before it are
// no longer valid.
unsigned storeGeneration();

// Basin-wide settings.
struct Basin {
  std::string logFile;
  int unitSystem = 0;
  std::vector<std::string> flowNames;
  std::vector<std::string> sedimentNames;
  int sedimentGrainClasses = 0;
};
Basin& basin();

}  // namespace quarnel
