// The stand-in's frame, basin set-up, geometry and bathymetry routines.

#include <string>

#include "journal.h"
#include "quarnel.h"
#include "relay.h"
#include "store.h"

namespace {

// Element count of a table of `perRow` values for `rows` rows; a negative
// count (which no valid caller sends) reads nothing.
long tableSize(int rows, int perRow) {
  return rows > 0 && perRow > 0 ? static_cast<long>(rows) * perRow : 0;
}

std::vector<std::string> nameList(const char* names, int count, FLen n) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) {
    out.push_back(quarnel::nameKey(names + static_cast<std::size_t>(i) * n, n));
  }
  return out;
}

// INITBASINFLOW and INITBASINSEDIMENT: the basin keeps the names.
void basinNames(const char* routine, const int* count, const char* names,
                FLen nameLen, std::vector<std::string> quarnel::Basin::*kept) {
  quarnel::checkLength(routine, "nameLen", nameLen, kNameWidth);
  quarnel::Journal(routine)
      .i32("count", *count)
      .texts("names", names, *count, nameLen)
      .length("nameLen", nameLen);
  quarnel::basin().*kept = nameList(names, *count, nameLen);
}

}  // namespace

extern "C" {

QUARNEL_API void SETLOGFILE(const char* path, FLen pathLen) {
  quarnel::checkLength("SETLOGFILE", "pathLen", pathLen, kLogPathWidth);
  quarnel::Journal("SETLOGFILE")
      .text("path", path, pathLen)
      .length("pathLen", pathLen);
  quarnel::basin().logFile = quarnel::nameKey(path, pathLen);
  if (quarnel::wantsRelay(path, pathLen)) {
    const std::string message = "SETLOGFILE " + quarnel::basin().logFile;
    quarnel::relayMessage(message.c_str());
  }
}

QUARNEL_API void SETUNITSYSTEM(const int* unitSystem) {
  quarnel::Journal("SETUNITSYSTEM").i32("unitSystem", *unitSystem);
  quarnel::basin().unitSystem = *unitSystem;
}

QUARNEL_API void DEALLOCATESUBBASINS() {
  quarnel::Journal("DEALLOCATESUBBASINS");
  quarnel::releaseAllSubbasins();
}

QUARNEL_API void INITBASINFLOW(const int* count, const char* names,
                               FLen nameLen) {
  basinNames("INITBASINFLOW", count, names, nameLen,
             &quarnel::Basin::flowNames);
}

QUARNEL_API void INITBASINSEDIMENT(const int* count, const char* names,
                                   FLen nameLen) {
  basinNames("INITBASINSEDIMENT", count, names, nameLen,
             &quarnel::Basin::sedimentNames);
}

// nodeCellInfo is read as one pair per node: the routine is told no other
// row count for it.
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
    FLen subbasinLen) {
  quarnel::checkLength("INITSUBBASINGEOMETRY", "subbasinLen", subbasinLen,
                       kNameWidth);
  const int cells = *cellCount;
  const int nodes = *nodeCount;
  const int faces = *faceCount;
  const int values = *cellFaceValueCount;
  quarnel::Journal("INITSUBBASINGEOMETRY")
      .text("subbasin", subbasin, subbasinLen)
      .i32("cellCount", cells)
      .i32("internalCellCount", *internalCellCount)
      .i32("cellFaceValueCount", values)
      .i32("maxNodesPerCell", *maxNodesPerCell)
      .doubles("cellCoordinates", cellCoordinates, tableSize(cells, 2))
      .doubles("cellBathAreas", cellBathAreas, tableSize(cells, 1))
      .ints("cellFaceOrientationInfo", cellFaceOrientationInfo,
            tableSize(cells, 2))
      .ints("cellFaceOrientationValues", cellFaceOrientationValues,
            tableSize(values, 2))
      .ints("cellNodeIndices", cellNodeIndices,
            tableSize(cells, *maxNodesPerCell))
      .i32("nodeCount", nodes)
      .i32("nodeCellValueCount", *nodeCellValueCount)
      .doubles("nodeCoordinates", nodeCoordinates, tableSize(nodes, 2))
      .ints("nodeCellInfo", nodeCellInfo, tableSize(nodes, 2))
      .ints("nodeCellValues", nodeCellValues, tableSize(*nodeCellValueCount, 1))
      .ints("nodeFaceOrientationInfo", nodeFaceOrientationInfo,
            tableSize(nodes, 2))
      .ints("nodeFaceOrientationValues", nodeFaceOrientationValues,
            tableSize(values, 2))
      .i32("faceCount", faces)
      .doubles("faceNormalVector", faceNormalVector, tableSize(faces, 2))
      .doubles("faceVectorLength", faceVectorLength, tableSize(faces, 1))
      .ints("faceNodeIndices", faceNodeIndices, tableSize(faces, 2))
      .length("subbasinLen", subbasinLen);

  quarnel::Subbasin& s = quarnel::subbasin(subbasin, subbasinLen);
  s.cellCount = cells;
  s.internalCellCount = *internalCellCount;
  s.faceCount = faces;
  s.nodeCount = nodes;
  s.cellFaceValueCount = values;
  s.nodeCellValueCount = *nodeCellValueCount;
  s.maxNodesPerCell = *maxNodesPerCell;
  s.cellBathAreas.assign(cellBathAreas, cellBathAreas + tableSize(cells, 1));
  ++s.geometryVersion;
}

QUARNEL_API void INITSUBBASINBATHYMETRY(
    const char* subbasin, const int* cellCount,
    const int* cellVolumeElevationCount, const int* faceCount,
    const int* faceAreaElevationCount, const int* cellVolumeElevationInfo,
    const double* cellVolumeElevationValues, const int* faceAreaElevationInfo,
    const double* faceAreaElevationValues, FLen subbasinLen) {
  quarnel::checkLength("INITSUBBASINBATHYMETRY", "subbasinLen", subbasinLen,
                       kNameWidth);
  quarnel::Journal("INITSUBBASINBATHYMETRY")
      .text("subbasin", subbasin, subbasinLen)
      .i32("cellCount", *cellCount)
      .i32("cellVolumeElevationCount", *cellVolumeElevationCount)
      .i32("faceCount", *faceCount)
      .i32("faceAreaElevationCount", *faceAreaElevationCount)
      .ints("cellVolumeElevationInfo", cellVolumeElevationInfo,
            tableSize(*cellCount, 2))
      .doubles("cellVolumeElevationValues", cellVolumeElevationValues,
               tableSize(*cellVolumeElevationCount, 2))
      .ints("faceAreaElevationInfo", faceAreaElevationInfo,
            tableSize(*faceCount, 2))
      .doubles("faceAreaElevationValues", faceAreaElevationValues,
               tableSize(*faceAreaElevationCount, 4))
      .length("subbasinLen", subbasinLen);

  quarnel::Subbasin& s = quarnel::subbasin(subbasin, subbasinLen);
  s.bathymetryCellCount = *cellCount;
  s.bathymetryFaceCount = *faceCount;
}

}  // extern "C"
