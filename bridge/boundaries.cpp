// Boundary conditions: the four declarations, which hand a boundary's faces
// to the solver, and the three setters of a boundary's current value.
#include <jni.h>

#include "jni_support.h"
#include "quarnel.h"

namespace velmora {
namespace {

// The faces of one boundary, copied out of the Java boundary object for the
// duration of one declaration call. The solver copies what it keeps. The
// indices are freed first, then the fractions (the reverse of declaration).
struct BoundaryFaceSet {
  int faceCount = 0;
  Buffer<jdouble> faceFractions;
  Buffer<jint> faceIndices;
  const int* indices() const { return solverInts(faceIndices.data()); }
};

// Fills `faces` from the fields "_faceIndex" (whose length is the face
// count) and "_faceFraction" (read for exactly that many elements). Both
// Java arrays are copied in one pass each and held by no one afterwards.
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
  const std::size_t n = static_cast<std::size_t>(count);
  if (!faces.faceIndices.allocate(env, n, "_faceIndex") ||
      !copyElements(env, indices.get(), count, faces.faceIndices.data(),
                    "_faceIndex")) {
    return false;
  }
  ScopedLocalRef<jdoubleArray> fractions(
      env, static_cast<jdoubleArray>(
               getArrayField(env, boundary, cls.get(), "_faceFraction", "[D")));
  if (fractions.get() == nullptr) return false;
  if (!faces.faceFractions.allocate(env, n, "_faceFraction") ||
      !copyElements(env, fractions.get(), count, faces.faceFractions.data(),
                    "_faceFraction")) {
    return false;
  }
  faces.faceCount = count;
  return true;
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
  DoubleElements<2> curves(env);
  if (!curves.add(curve1, "curve1") || !curves.add(curve2, "curve2")) return;
  INITBOUNDARYRATINGCURVE(subbasinText, boundaryText, &faces.faceCount,
                          faces.indices(), faces.faceFractions.data(),
                          &curveCopy, curves[0], curves[1], kNameWidth,
                          kNameWidth);
}

}  // namespace
}  // namespace velmora

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryNormalDepth(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jobject faces,
    jdouble value) {
  velmora::declareBoundary(env, INITBOUNDARYNORMALDEPTH, subbasin, boundary,
                           faces, &value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryRatingCurve(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jobject faces,
    jint curveInt, jdoubleArray curve1, jdoubleArray curve2) {
  velmora::withNames(env, subbasin, boundary, "boundary",
                     [&](const char* subbasinText, const char* boundaryText) {
                       velmora::declareRatingCurve(env, subbasinText,
                                                   boundaryText, faces,
                                                   curveInt, curve1, curve2);
                     });
}

// The fourth argument of setBoundaryFlow and setBoundaryStage is ignored.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryFlow(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jobject faces,
    jdouble, jdouble value) {
  velmora::declareBoundary(env, INITBOUNDARYFLOW, subbasin, boundary, faces,
                           &value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryStage(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jobject faces,
    jdouble, jdouble value) {
  velmora::declareBoundary(env, INITBOUNDARYSTAGE, subbasin, boundary, faces,
                           &value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryValueFlow(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jdouble value) {
  velmora::setBoundaryValue(env, SETBOUNDARYVALUEFLOW, subbasin, boundary,
                            value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryValueStage(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jdouble value) {
  velmora::setBoundaryValue(env, SETBOUNDARYVALUESTAGE, subbasin, boundary,
                            value);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setBoundaryValueLoad(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jdouble value) {
  velmora::setBoundaryValue(env, SETBOUNDARYVALUETOTALLOAD, subbasin, boundary,
                            value);
}

}  // extern "C"
