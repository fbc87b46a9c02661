// The routines of the solver library Quarnel.dll.
//
// Fortran conventions: upper-case undecorated names, every scalar by
// address, arrays as the address of their first element (tables stored
// column-major, first index fastest), and each CHARACTER argument as a
// fixed-width buffer without terminator whose length follows all other
// arguments by value, one length per text in the order of the texts.
//
// The hidden lengths are declared std::size_t: passed zero-extended to 64
// bits, they read correctly both in a routine that takes a 32-bit length and
// in one built by a compiler whose hidden lengths are 64-bit (gfortran 8 and
// later, Intel Fortran on x64). The values are always 256, 32 or 16.
#pragma once

#include <cstddef>

#if defined(_WIN32)
#if defined(QUARNEL_BUILD)
#define QUARNEL_API __declspec(dllexport)
#else
#define QUARNEL_API __declspec(dllimport)
#endif
#else
#define QUARNEL_API __attribute__((visibility("default")))
#endif

using FLen = std::size_t;  // hidden CHARACTER length

// The widths of the solver's CHARACTER arguments, shared by the bridge and
// the stand-in.
constexpr FLen kNameWidth = 32;  // subbasin, boundary and method names
constexpr FLen kShortMethodWidth =
    16;  // the method of SETTRANSPORTPOTENTIALMETHOD
constexpr FLen kLogPathWidth = 256;  // the path of SETLOGFILE

extern "C" {

// Frame.
QUARNEL_API void SETLOGFILE(const char* path, FLen pathLen);
QUARNEL_API void SETUNITSYSTEM(const int* unitSystem);
QUARNEL_API void DEALLOCATESUBBASINS();

// Basin setup and subbasin geometry.
QUARNEL_API void INITBASINFLOW(const int* count, const char* names,
                               FLen nameLen);
QUARNEL_API void INITBASINSEDIMENT(const int* count, const char* names,
                                   FLen nameLen);
QUARNEL_API void INITSUBBASINGEOMETRY(
    const char* subbasin, const int* cellCount, const int* internalCellCount,
    const int* cellFaceValueCount, const int* maxNodesPerCell,
    const double* cellCoordinates, const double* cellBathAreas,
    const int* cellFaceOrientationInfo, const int* cellFaceOrientationValues,
    const int* cellNodeIndices, const int* nodeCount,
    const int* nodeCellValueCount, const double* nodeCoordinates,
    const int* nodeCellInfo, const int* nodeCellValues,
    const int* nodeFaceOrientationInfo, const int* nodeFaceOrientationValues,
    const int* faceCount, const double* faceNormalVector,
    const double* faceVectorLength, const int* faceNodeIndices,
    FLen subbasinLen);

// Bathymetry.
QUARNEL_API void INITSUBBASINBATHYMETRY(
    const char* subbasin, const int* cellCount,
    const int* cellVolumeElevationCount, const int* faceCount,
    const int* faceAreaElevationCount, const int* cellVolumeElevationInfo,
    const double* cellVolumeElevationValues, const int* faceAreaElevationInfo,
    const double* faceAreaElevationValues, FLen subbasinLen);

// Boundary conditions.
QUARNEL_API void INITBOUNDARYNORMALDEPTH(
    const char* subbasin, const char* boundary, const int* faceCount,
    const int* faceIndices, const double* faceFractions, const double* value,
    FLen subbasinLen, FLen boundaryLen);
QUARNEL_API void INITBOUNDARYRATINGCURVE(
    const char* subbasin, const char* boundary, const int* faceCount,
    const int* faceIndices, const double* faceFractions, const int* curveInt,
    double* curve1, double* curve2, FLen subbasinLen, FLen boundaryLen);
QUARNEL_API void INITBOUNDARYFLOW(const char* subbasin, const char* boundary,
                                  const int* faceCount, const int* faceIndices,
                                  const double* faceFractions,
                                  const double* value, FLen subbasinLen,
                                  FLen boundaryLen);
QUARNEL_API void INITBOUNDARYSTAGE(const char* subbasin, const char* boundary,
                                   const int* faceCount, const int* faceIndices,
                                   const double* faceFractions,
                                   const double* value, FLen subbasinLen,
                                   FLen boundaryLen);
QUARNEL_API void SETBOUNDARYVALUEFLOW(const char* subbasin,
                                      const char* boundary, const double* value,
                                      FLen subbasinLen, FLen boundaryLen);
QUARNEL_API void SETBOUNDARYVALUESTAGE(const char* subbasin,
                                       const char* boundary,
                                       const double* value, FLen subbasinLen,
                                       FLen boundaryLen);
QUARNEL_API void SETBOUNDARYVALUETOTALLOAD(const char* subbasin,
                                           const char* boundary,
                                           const double* value,
                                           FLen subbasinLen, FLen boundaryLen);

// Flow control, initial state and solving.
QUARNEL_API void SETSUBBASINNUMBERTHREADS(const char* subbasin,
                                          const int* threads, FLen subbasinLen);
QUARNEL_API void SETSUBBASINIMPLICITFACTOR(const char* subbasin,
                                           const double* factor,
                                           FLen subbasinLen);
QUARNEL_API void SETSUBBASINCONTROLPARAMETERS(
    const char* subbasin, const double* c1, const double* c2, const double* c3,
    const double* c4, const int* c5, FLen subbasinLen);
QUARNEL_API void INITSUBBASINFLOW(const char* subbasin, FLen subbasinLen);
QUARNEL_API void INITSUBBASINFLOWSTATE(const char* subbasin, FLen subbasinLen);
QUARNEL_API void INITSUBBASINWARMUP(const char* subbasin, const double* w1,
                                    const double* w2, FLen subbasinLen);
QUARNEL_API void SOLVESUBBASINFLOW(const char* subbasin, const int* n,
                                   double* a, const double* p1,
                                   const double* p2, FLen subbasinLen);
QUARNEL_API void SOLVESUBBASINFLOWSEDIMENT(const char* subbasin, const int* n,
                                           double* a1, double* a2, double* a3,
                                           const double* p1, const double* p2,
                                           FLen subbasinLen);

// Sediment configuration.
QUARNEL_API void INITSUBBASINSEDIMENT(const char* subbasin, FLen subbasinLen);
QUARNEL_API void SETFALLVELOCITYMETHOD(const char* subbasin, const char* method,
                                       FLen subbasinLen, FLen methodLen);
QUARNEL_API void SETTRANSPORTPOTENTIALMETHOD(const char* subbasin,
                                             const char* method,
                                             FLen subbasinLen, FLen methodLen);
QUARNEL_API void SETCOHESIVETRANSPORTMETHOD(const char* subbasin,
                                            const char* method, const int* m,
                                            double* d1, double* d2, double* d3,
                                            double* d4, FLen subbasinLen,
                                            FLen methodLen);
QUARNEL_API void SETSEDIMENTPROPERTIES(const int* g, double* p,
                                       const double* s1, const double* s2,
                                       const double* s3, const double* s4);
QUARNEL_API void SETSEDIMENTTRANSPORTPARAMETERS(
    const char* subbasin, double* r1, const int* r, const double* r2,
    const double* x1, const double* x2, FLen subbasinLen);
QUARNEL_API void SETSUBBASINMOBILITYFACTOR(const char* subbasin,
                                           const double* factor,
                                           FLen subbasinLen);
QUARNEL_API void SETGRAINSIZEFRACTIONS(const char* subbasin, const int* g1,
                                       const int* g2, double* f,
                                       FLen subbasinLen);
QUARNEL_API void CHECKSEDIMENTSETUP(const char* subbasin, FLen subbasinLen);

// Results: one value at a boundary.
QUARNEL_API void GETBOUNDARYOUTFLOW(const char* subbasin, const char* boundary,
                                    double* value, FLen subbasinLen,
                                    FLen boundaryLen);
QUARNEL_API void GETBOUNDARYSTAGE(const char* subbasin, const char* boundary,
                                  double* value, FLen subbasinLen,
                                  FLen boundaryLen);
QUARNEL_API void GETBOUNDARYLOAD(const char* subbasin, const char* boundary,
                                 double* value, const int* k, FLen subbasinLen,
                                 FLen boundaryLen);
QUARNEL_API void GETBOUNDARYTOTALLOAD(const char* subbasin,
                                      const char* boundary, double* value,
                                      FLen subbasinLen, FLen boundaryLen);
QUARNEL_API void GETBOUNDARYTOTALCONCENTRATION(const char* subbasin,
                                               const char* boundary,
                                               double* value, FLen subbasinLen,
                                               FLen boundaryLen);

// Results: one value per cell or face, written into `values`.
QUARNEL_API void GETSUBBASINCELLAREAWET(const char* subbasin, double* values,
                                        const int* i1, FLen subbasinLen);
QUARNEL_API void GETSUBBASINCELLVOLUME(const char* subbasin, double* values,
                                       const int* i1, FLen subbasinLen);
QUARNEL_API void GETSUBBASINCELLWATERLEVEL(const char* subbasin, double* values,
                                           const int* i1, FLen subbasinLen);
QUARNEL_API void GETSUBBASINCELLVELOCITY(const char* subbasin, double* values,
                                         const int* i1, FLen subbasinLen);
QUARNEL_API void GETSUBBASINFACEVELOCITY(const char* subbasin, double* values,
                                         const int* i1, FLen subbasinLen);
QUARNEL_API void GETSUBBASINCELLTOTALCONCENTRATION(const char* subbasin,
                                                   double* values,
                                                   const int* i1,
                                                   FLen subbasinLen);
QUARNEL_API void GETSUBBASINCELLTOTALBEDCHANGE(const char* subbasin,
                                               double* values, const int* i1,
                                               FLen subbasinLen);
QUARNEL_API void GETSUBBASINCELLCONCENTRATION(const char* subbasin,
                                              double* values, const int* i1,
                                              const int* i2, FLen subbasinLen);
QUARNEL_API void GETSUBBASINCELLBEDCHANGE(const char* subbasin, double* values,
                                          const int* i1, const int* i2,
                                          FLen subbasinLen);
QUARNEL_API void GETSUBBASINCELLACTIVEFRACTION(const char* subbasin,
                                               double* values, const int* i1,
                                               const int* i2, FLen subbasinLen);

}  // extern "C"
