// Boundary conditions: the four declarations, which hand a boundary's faces
// to the solver, and the three setters of a boundary's current value.
#include <jni.h>

#include <vector>

#include "jni_support.h"
#include "quarnel.h"

namespace velmora {
namespace {

// The faces of one boundary, copied out of the Java boundary object for the
// duration of one declaration call. The solver copies what it keeps.
struct BoundaryFaceSet {
  int faceCount = 0;
  std::vector<jdouble> faceFractions;
  std::vector<jint> faceIndices;
  const int* indices() const { return solverInts(faceIndices.data()); }
};

// Fills `faces` from the fields "_faceIndex" (whose length is the face
// count) and "_faceFraction" (read for exactly that many elements). Both
// Java arrays are copied in one pass each and held by no one afterwards.
// Both buffers get at least one element, so the solver never receives a null
// pointer, even for a boundary without faces.
bool readBoundaryFaces(JNIEnv* env, jobject boundary, BoundaryFaceSet& faces) {
  if (boundary == nullptr) {
    throwNullArgument(env, "faces");
    return false;
  }
  ScopedLocalRef<jclass> cls(env, env->GetObjectClass(boundary));
  ScopedLocalRef<jintArray> indices(
      env, static_cast<jintArray>(
               getArrayField(env, boundary, cls.get(), "_faceIndex", "[I")));
  if (indices.get() == nullptr) return false;
  const jsize count = env->GetArrayLength(indices.get());
  const std::size_t slots = count > 0 ? static_cast<std::size_t>(count) : 1;
  if (!allocate(env, faces.faceIndices, slots, "_faceIndex") ||
      !copyElements(env, indices.get(), count, faces.faceIndices.data(),
                    "_faceIndex")) {
    return false;
  }
  ScopedLocalRef<jdoubleArray> fractions(
      env, static_cast<jdoubleArray>(
               getArrayField(env, boundary, cls.get(), "_faceFraction", "[D")));
  if (fractions.get() == nullptr) return false;
  if (!allocate(env, faces.faceFractions, slots, "_faceFraction") ||
      !copyElements(env, fractions.get(), count, faces.faceFractions.data(),
                    "_faceFraction")) {
    return false;
  }
  faces.faceCount = count;
  return true;
}

// Frees the face indices, then the fractions.
void releaseBoundaryFaces(BoundaryFaceSet& faces) {
  std::vector<jint>().swap(faces.faceIndices);
  std::vector<jdouble>().swap(faces.faceFractions);
}

using DeclareRoutine = void (*)(const char*, const char*, const int*,
                                const int*, const double*, const double*, FLen,
                                FLen);

// NORMALDEPTH, FLOW and STAGE: `value` is the address of the received Java
// argument itself, which the routine reads as a double.
void declareBoundary(JNIEnv* env, DeclareRoutine routine, jstring subbasin,
                     jstring boundary, jobject facesObject,
                     const jdouble* value) {
  withNames(env, subbasin, boundary, "boundary",
            [&](const char* subbasinText, const char* boundaryText) {
              BoundaryFaceSet faces;
              if (!readBoundaryFaces(env, facesObject, faces)) return;
              routine(subbasinText, boundaryText, &faces.faceCount,
                      faces.indices(), faces.faceFractions.data(), value,
                      kNameWidth, kNameWidth);
              releaseBoundaryFaces(faces);
            });
}

using ValueRoutine = void (*)(const char*, const char*, const double*, FLen,
                              FLen);

void setBoundaryValue(JNIEnv* env, ValueRoutine routine, jstring subbasin,
                      jstring boundary, jdouble value) {
  withNames(env, subbasin, boundary, "boundary",
            [&](const char* subbasinText, const char* boundaryText) {
              const double copy = value;
              routine(subbasinText, boundaryText, &copy, kNameWidth,
                      kNameWidth);
            });
}

// The curve arrays go to the routine in place; it may write into them.
void declareRatingCurve(JNIEnv* env, const char* subbasinText,
                        const char* boundaryText, jobject facesObject,
                        jint curveInt, jdoubleArray curve1,
                        jdoubleArray curve2) {
  BoundaryFaceSet faces;
  if (!readBoundaryFaces(env, facesObject, faces)) return;
  const int curveCopy = curveInt;
  DoubleElements first;
  DoubleElements second;
  if (!first.get(env, curve1, "curve1") || !second.get(env, curve2, "curve2"))
    return;
  INITBOUNDARYRATINGCURVE(subbasinText, boundaryText, &faces.faceCount,
                          faces.indices(), faces.faceFractions.data(),
                          &curveCopy, first.data(), second.data(), kNameWidth,
                          kNameWidth);
  releaseBoundaryFaces(faces);
  // In the order obtained, not the destructors' reverse order.
  releaseInOrder(first, second);
}

}  // namespace
}  // namespace velmora

using namespace velmora;

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryNormalDepth(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jobject faces,
    jdouble value) {
  declareBoundary(env, INITBOUNDARYNORMALDEPTH, subbasin, boundary, faces,
                  &value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryRatingCurve(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jobject faces,
    jint curveInt, jdoubleArray curve1, jdoubleArray curve2) {
  withNames(env, subbasin, boundary, "boundary",
            [&](const char* subbasinText, const char* boundaryText) {
              declareRatingCurve(env, subbasinText, boundaryText, faces,
                                 curveInt, curve1, curve2);
            });
}

// The fourth argument of setBoundaryFlow and setBoundaryStage is ignored.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryFlow(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jobject faces,
    jdouble, jdouble value) {
  declareBoundary(env, INITBOUNDARYFLOW, subbasin, boundary, faces, &value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryStage(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jobject faces,
    jdouble, jdouble value) {
  declareBoundary(env, INITBOUNDARYSTAGE, subbasin, boundary, faces, &value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryValueFlow(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jdouble value) {
  setBoundaryValue(env, SETBOUNDARYVALUEFLOW, subbasin, boundary, value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryValueStage(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jdouble value) {
  setBoundaryValue(env, SETBOUNDARYVALUESTAGE, subbasin, boundary, value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryValueLoad(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jdouble value) {
  setBoundaryValue(env, SETBOUNDARYVALUETOTALLOAD, subbasin, boundary, value);
}

}  // extern "C"
