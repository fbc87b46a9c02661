// Stand-in boundary routines.
//
// A declaration keeps the boundary under its name in its subbasin (made on
// first use), with its kind, faces and numeric argument; a FLOW or STAGE
// boundary also takes that argument as its current flow or stage.
// INITBOUNDARYRATINGCURVE reads the curve integer as the number of curve
// points n: it journals n values of each curve array and writes each of
// them back changed, 2v+1 into the first array and 2v+2 into the second, so
// a caller can see its arrays come back. The value setters change a
// boundary that was declared before and ignore any other.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "journal.h"
#include "quarnel.h"
#include "store.h"

namespace quarnel {
namespace {

Boundary& declare(const char* kind, const char* subbasinText,
                  const char* boundaryText, int faceCount,
                  const int* faceIndices, const double* faceFractions,
                  double declared) {
  Boundary& b = subbasin(subbasinText, kNameWidth)
                    .boundaries[nameKey(boundaryText, kNameWidth)];
  b = Boundary{};
  b.kind = kind;
  if (faceCount > 0) {
    b.faceIndices.assign(faceIndices, faceIndices + faceCount);
    b.faceFractions.assign(faceFractions, faceFractions + faceCount);
  }
  b.declared = declared;
  return b;
}

// The boundary last found, by its two names: a value is mostly set for the
// same boundary again and again. Map nodes stay where they are until the
// subbasins are released.
struct LastBoundary {
  char names[2 * kNameWidth];
  Boundary* boundary = nullptr;
  unsigned generation = 0;
};

Boundary* findBoundaryCached(const char* subbasinText,
                             const char* boundaryText) {
  thread_local LastBoundary last;
  if (last.boundary != nullptr && last.generation == storeGeneration() &&
      std::memcmp(last.names, subbasinText, kNameWidth) == 0 &&
      std::memcmp(last.names + kNameWidth, boundaryText, kNameWidth) == 0)
    return last.boundary;
  Boundary* found =
      findBoundary(findSubbasin(subbasinText, kNameWidth), boundaryText);
  if (found == nullptr) return nullptr;
  std::memcpy(last.names, subbasinText, kNameWidth);
  std::memcpy(last.names + kNameWidth, boundaryText, kNameWidth);
  last.boundary = found;
  last.generation = storeGeneration();
  return last.boundary;
}

// The bridge hands over buffers even for a boundary without faces.
void requireBuffers(const char* routine, const int* faceIndices,
                    const double* faceFractions) {
  if (faceIndices != nullptr && faceFractions != nullptr) return;
  std::fprintf(stderr, "Quarnel stand-in: %s received a null face buffer\n",
               routine);
  std::fflush(stderr);
  std::abort();
}

// The journal line of a declaration, with the texts and faces that all four
// share; the faces must come as buffers.
struct Declaration : NamedCall {
  Declaration(const char* routine, const char* subbasinText,
              const char* boundaryText, const int* faceCount,
              const int* faceIndices, const double* faceFractions,
              FLen subbasinLen, FLen boundaryLen)
      : NamedCall(routine, subbasinText, subbasinLen, "boundary", boundaryText,
                  boundaryLen) {
    requireBuffers(routine, faceIndices, faceFractions);
    journal()
        .i32("faceCount", *faceCount)
        .ints("faceIndices", faceIndices, *faceCount)
        .doubles("faceFractions", faceFractions, *faceCount);
  }
};

// NORMALDEPTH, FLOW and STAGE: the declaration's value; a FLOW or STAGE
// boundary also takes it as its current flow or stage.
void declareWithValue(const char* routine, const char* kind,
                      double Boundary::*current, const char* subbasinText,
                      const char* boundaryText, const int* faceCount,
                      const int* faceIndices, const double* faceFractions,
                      const double* value, FLen subbasinLen, FLen boundaryLen) {
  Declaration(routine, subbasinText, boundaryText, faceCount, faceIndices,
              faceFractions, subbasinLen, boundaryLen)
      .journal()
      .f64("value", *value);
  Boundary& b = declare(kind, subbasinText, boundaryText, *faceCount,
                        faceIndices, faceFractions, *value);
  if (current != nullptr) b.*current = *value;
}

// The three setters: a declared boundary takes the value as its flow, stage
// or load; any other name is ignored.
void setValue(const char* routine, double Boundary::*member,
              const char* subbasinText, const char* boundaryText,
              const double* value, FLen subbasinLen, FLen boundaryLen) {
  NamedCall(routine, subbasinText, subbasinLen, "boundary", boundaryText,
            boundaryLen)
      .journal()
      .f64("value", *value);
  if (Boundary* b = findBoundaryCached(subbasinText, boundaryText)) {
    b->*member = *value;
  }
}

}  // namespace
}  // namespace quarnel

using namespace quarnel;

extern "C" {

void INITBOUNDARYNORMALDEPTH(const char* subbasin, const char* boundary,
                             const int* faceCount, const int* faceIndices,
                             const double* faceFractions, const double* value,
                             FLen subbasinLen, FLen boundaryLen) {
  declareWithValue("INITBOUNDARYNORMALDEPTH", "NORMALDEPTH", nullptr, subbasin,
                   boundary, faceCount, faceIndices, faceFractions, value,
                   subbasinLen, boundaryLen);
}

void INITBOUNDARYRATINGCURVE(const char* subbasin, const char* boundary,
                             const int* faceCount, const int* faceIndices,
                             const double* faceFractions, const int* curveInt,
                             double* curve1, double* curve2, FLen subbasinLen,
                             FLen boundaryLen) {
  const int points = *curveInt > 0 ? *curveInt : 0;
  Declaration("INITBOUNDARYRATINGCURVE", subbasin, boundary, faceCount,
              faceIndices, faceFractions, subbasinLen, boundaryLen)
      .journal()
      .i32("curveInt", *curveInt)
      .doubles("curve1", curve1, points)
      .doubles("curve2", curve2, points);
  declare("RATINGCURVE", subbasin, boundary, *faceCount, faceIndices,
          faceFractions, *curveInt);
  for (int i = 0; i < points; ++i) {
    curve1[i] = 2.0 * curve1[i] + 1.0;
    curve2[i] = 2.0 * curve2[i] + 2.0;
  }
}

void INITBOUNDARYFLOW(const char* subbasin, const char* boundary,
                      const int* faceCount, const int* faceIndices,
                      const double* faceFractions, const double* value,
                      FLen subbasinLen, FLen boundaryLen) {
  declareWithValue("INITBOUNDARYFLOW", "FLOW", &Boundary::flow, subbasin,
                   boundary, faceCount, faceIndices, faceFractions, value,
                   subbasinLen, boundaryLen);
}

void INITBOUNDARYSTAGE(const char* subbasin, const char* boundary,
                       const int* faceCount, const int* faceIndices,
                       const double* faceFractions, const double* value,
                       FLen subbasinLen, FLen boundaryLen) {
  declareWithValue("INITBOUNDARYSTAGE", "STAGE", &Boundary::stage, subbasin,
                   boundary, faceCount, faceIndices, faceFractions, value,
                   subbasinLen, boundaryLen);
}

void SETBOUNDARYVALUEFLOW(const char* subbasin, const char* boundary,
                          const double* value, FLen subbasinLen,
                          FLen boundaryLen) {
  setValue("SETBOUNDARYVALUEFLOW", &Boundary::flow, subbasin, boundary, value,
           subbasinLen, boundaryLen);
}

void SETBOUNDARYVALUESTAGE(const char* subbasin, const char* boundary,
                           const double* value, FLen subbasinLen,
                           FLen boundaryLen) {
  setValue("SETBOUNDARYVALUESTAGE", &Boundary::stage, subbasin, boundary, value,
           subbasinLen, boundaryLen);
}

void SETBOUNDARYVALUETOTALLOAD(const char* subbasin, const char* boundary,
                               const double* value, FLen subbasinLen,
                               FLen boundaryLen) {
  setValue("SETBOUNDARYVALUETOTALLOAD", &Boundary::load, subbasin, boundary,
           value, subbasinLen, boundaryLen);
}

}  // extern "C"
