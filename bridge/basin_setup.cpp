// Basin set-up (the name lists of setupBasinFlow and setupBasinSediment) and
// the subbasin geometry of initializeSubbasinGeometry.

#include <cstdio>

#include "jni_support.h"
#include "mesh_counts.h"
#include "quarnel.h"

namespace velmora {

namespace {

constexpr double kFeetPerMetre = 3.280839895013123;
constexpr double kSquareFeetPerSquareMetre = 10.763910416709722;

using BasinRoutine = void (*)(const int*, const char*, FLen);

// Builds count slots of 32 bytes from the first `count` names and calls the
// routine. The count is the caller's, not the array's length; it must lie
// within the array. With a count of 0 no name is read.
void setupBasin(JNIEnv* env, jint count, jobjectArray names,
                BasinRoutine routine) {
  constexpr std::size_t kSlot = kNameWidth;
  if (count < 0) {
    throwIllegalArgument(env, "count is negative: %d", static_cast<int>(count));
    return;
  }
  if (count > 0 && names == nullptr) {
    throwNullArgument(env, "names");
    return;
  }
  if (count > 0 && count > env->GetArrayLength(names)) {
    throwIllegalArgument(env, "count %d exceeds the %d names",
                         static_cast<int>(count),
                         static_cast<int>(env->GetArrayLength(names)));
    return;
  }
  Buffer<char> list;
  if (!list.allocate(env, static_cast<std::size_t>(count) * kSlot,
                     "the name list")) {
    return;
  }
  for (jint i = 0; i < count; ++i) {
    ScopedLocalRef<jstring> name(
        env, static_cast<jstring>(env->GetObjectArrayElement(names, i)));
    if (env->ExceptionCheck()) return;
    char what[32];
    std::snprintf(what, sizeof what, "names[%d]", static_cast<int>(i));
    if (!copySolverText(env, name.get(), list.data() + kSlot * i, kSlot,
                        what)) {
      return;
    }
  }
  const int n = count;
  routine(&n, list.data(), kSlot);
}

// What one call of initializeSubbasinGeometry hands to INITSUBBASINGEOMETRY.
struct GeometryBuffers {
  jsize cellCount = 0;
  jint internalCellCount = 0;
  jsize faceCount = 0;
  jsize nodeCount = 0;
  jsize cellFaceValueCount = 0;
  jsize nodeCellValueCount = 0;
  jint maxNodesPerCell = 0;
  Buffer<jdouble> cellCoordinates;
  Buffer<jdouble> cellBathAreas;
  Buffer<jint> cellFaceOrientationInfo;
  Buffer<jint> cellFaceOrientationValues;
  Buffer<jint> cellNodeIndices;
  Buffer<jint> nodeCellInfo;
  Buffer<jint> nodeCellValues;
  Buffer<jdouble> nodeCoordinates;
  Buffer<jint> nodeFaceOrientationInfo;
  Buffer<jint> nodeFaceOrientationValues;
  Buffer<jint> faceNodeIndices;
  Buffer<jdouble> faceNormalVector;
  Buffer<jdouble> faceVectorLength;
};

// _cellCoordinates is the one field whose lookup reports on standard
// output; its rows are the cells'.
bool readCellCoordinates(JNIEnv* env, jobject geometry, jclass cls,
                         GeometryBuffers& g) {
  jfieldID fid = env->GetFieldID(cls, "_cellCoordinates", "[[D");
  if (fid == nullptr) {
    printLine(">>>> failed to get fid for jCoord\n");
    return false;  // NoSuchFieldError is pending
  }
  ScopedLocalRef<jobject> coordinates(env, env->GetObjectField(geometry, fid));
  if (coordinates.get() == nullptr) {
    printLine(">>>> failed to get jCoord\n");
    throwFormatted(env, "java/lang/NullPointerException",
                   "field _cellCoordinates is null");
    return false;
  }
  if (!g.cellCoordinates.allocate(
          env, 2 * static_cast<std::size_t>(g.cellCount), "_cellCoordinates") ||
      !copyRows(env, static_cast<jobjectArray>(coordinates.get()), g.cellCount,
                2, g.cellCoordinates.data(), "_cellCoordinates")) {
    return false;
  }
  scale(g.cellCoordinates.data(), g.cellCoordinates.size(), kFeetPerMetre);
  return true;
}

// Reads the geometry object's fields in the order the solver's interface
// describes; stops at the first violation with its exception pending.
bool readGeometry(JNIEnv* env, jobject geometry, GeometryBuffers& g) {
  ScopedLocalRef<jclass> cls(env, env->GetObjectClass(geometry));
  jclass c = cls.get();
  if (c == nullptr) return false;
  {
    // The areas' length is the cell count; they are copied after the two
    // integer fields.
    ScopedLocalRef<jobject> areas(
        env, getArrayField(env, geometry, c, "_cellBathAreas", "[D"));
    if (areas.get() == nullptr) return false;
    g.cellCount = env->GetArrayLength(static_cast<jarray>(areas.get()));
    if (!readIntField(env, geometry, c, "_numberInternalCells",
                      &g.internalCellCount) ||
        !readIntField(env, geometry, c, "_maxNumberNodesPerCell",
                      &g.maxNodesPerCell)) {
      return false;
    }
    if (g.maxNodesPerCell < 0) {
      throwIllegalArgument(env, "_maxNumberNodesPerCell is negative: %d",
                           static_cast<int>(g.maxNodesPerCell));
      return false;
    }
    if (!g.cellBathAreas.allocate(env, static_cast<std::size_t>(g.cellCount),
                                  "_cellBathAreas") ||
        !copyElements(env, static_cast<jdoubleArray>(areas.get()), g.cellCount,
                      g.cellBathAreas.data(), "_cellBathAreas")) {
      return false;
    }
    scale(g.cellBathAreas.data(), g.cellBathAreas.size(),
          kSquareFeetPerSquareMetre);
  }
  if (!readCellCoordinates(env, geometry, c, g) ||
      !readTable(env, geometry, c, "_cellFaceOrientationInfo", g.cellCount, 2,
                 g.cellFaceOrientationInfo, nullptr) ||
      !readTable(env, geometry, c, "_cellFaceOrientationValues", kAllRows, 2,
                 g.cellFaceOrientationValues, &g.cellFaceValueCount) ||
      !readTable(env, geometry, c, "_cellNodeIndices", g.cellCount,
                 g.maxNodesPerCell, g.cellNodeIndices, nullptr) ||
      !readTable(env, geometry, c, "_nodeCellInfo", kAllRows, 2, g.nodeCellInfo,
                 nullptr) ||
      !readArray(env, geometry, c, "_nodeCellValues", kAllRows,
                 g.nodeCellValues, &g.nodeCellValueCount) ||
      !readTable(env, geometry, c, "_nodeCoordinates", kAllRows, 2,
                 g.nodeCoordinates, &g.nodeCount)) {
    return false;
  }
  scale(g.nodeCoordinates.data(), g.nodeCoordinates.size(), kFeetPerMetre);
  if (!readTable(env, geometry, c, "_nodeFaceOrientationInfo", g.nodeCount, 2,
                 g.nodeFaceOrientationInfo, nullptr) ||
      !readTable(env, geometry, c, "_nodeFaceOrientationValues",
                 g.cellFaceValueCount, 2, g.nodeFaceOrientationValues,
                 nullptr) ||
      !readTable(env, geometry, c, "_faceNormalVector", kAllRows, 2,
                 g.faceNormalVector, &g.faceCount) ||
      !readArray(env, geometry, c, "_faceVectorLength", g.faceCount,
                 g.faceVectorLength, nullptr) ||
      !readTable(env, geometry, c, "_faceNodeIndices", g.faceCount, 2,
                 g.faceNodeIndices, nullptr)) {
    return false;
  }
  scale(g.faceVectorLength.data(), g.faceVectorLength.size(), kFeetPerMetre);
  return true;
}

// The cell and face counts handed over are remembered under the name once
// the routine has them: the result methods size their arrays by them.
void initializeGeometry(const char* name, const GeometryBuffers& g) {
  const int cellCount = g.cellCount;
  const int internalCellCount = g.internalCellCount;
  const int cellFaceValueCount = g.cellFaceValueCount;
  const int maxNodesPerCell = g.maxNodesPerCell;
  const int nodeCount = g.nodeCount;
  const int nodeCellValueCount = g.nodeCellValueCount;
  const int faceCount = g.faceCount;
  INITSUBBASINGEOMETRY(
      name, &cellCount, &internalCellCount, &cellFaceValueCount,
      &maxNodesPerCell, g.cellCoordinates.data(), g.cellBathAreas.data(),
      solverInts(g.cellFaceOrientationInfo.data()),
      solverInts(g.cellFaceOrientationValues.data()),
      solverInts(g.cellNodeIndices.data()), &nodeCount, &nodeCellValueCount,
      g.nodeCoordinates.data(), solverInts(g.nodeCellInfo.data()),
      solverInts(g.nodeCellValues.data()),
      solverInts(g.nodeFaceOrientationInfo.data()),
      solverInts(g.nodeFaceOrientationValues.data()), &faceCount,
      g.faceNormalVector.data(), g.faceVectorLength.data(),
      solverInts(g.faceNodeIndices.data()), kNameWidth);
  rememberMeshCounts(name, MeshCounts{g.cellCount, g.faceCount});
}

}  // namespace

}  // namespace velmora

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setupBasinFlow(
    JNIEnv* env, jclass, jint count, jobjectArray names) {
  velmora::guarded(
      env, [&] { velmora::setupBasin(env, count, names, INITBASINFLOW); });
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setupBasinSediment(
    JNIEnv* env, jclass, jint count, jobjectArray names) {
  velmora::guarded(
      env, [&] { velmora::setupBasin(env, count, names, INITBASINSEDIMENT); });
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(JNIEnv* env, jclass,
                                                           jstring subbasin,
                                                           jobject geometry) {
  velmora::withSubbasinRecord<velmora::GeometryBuffers>(
      env, subbasin, geometry, "geometry", velmora::readGeometry,
      velmora::initializeGeometry);
}

}  // extern "C"
