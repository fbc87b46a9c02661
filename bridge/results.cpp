// Result retrieval: single values at a boundary, and one value per cell or
// face of a subbasin. None of these methods allocates memory.
#include <jni.h>

#include "jni_support.h"
#include "quarnel.h"

namespace velmora {
namespace {

constexpr FLen kNameLength = Name32::kLength;

bool readNames(JNIEnv* env, jstring subbasin, jstring boundary,
               Name32& subbasinText, Name32& boundaryText) {
  return subbasinText.read(env, subbasin, "subbasin") &&
         boundaryText.read(env, boundary, "boundary");
}

// A boundary result lands in element 0 of `result`, which must exist. Only
// that element is read and written (Get/SetDoubleArrayRegion), so the
// others keep their values and the array is never copied as a whole.
bool checkResultArray(JNIEnv* env, jdoubleArray result) {
  if (result == nullptr) {
    throwNullArgument(env, "result");
    return false;
  }
  if (env->GetArrayLength(result) < 1) {
    jclass cls = env->FindClass("java/lang/IllegalArgumentException");
    if (cls != nullptr) {
      env->ThrowNew(cls, "result has 0 elements, needs 1");
      env->DeleteLocalRef(cls);
    }
    return false;
  }
  return true;
}

void storeResult(JNIEnv* env, jdoubleArray result, double value) {
  const jdouble element = value;
  env->SetDoubleArrayRegion(result, 0, 1, &element);
}

using BoundaryRoutine = void (*)(const char*, const char*, double*, FLen, FLen);

// The local value starts as the array's element 0, so a routine that does
// not write it leaves the Java array as it was instead of storing an
// indeterminate value.
void boundaryResult(JNIEnv* env, BoundaryRoutine routine, jstring subbasin,
                    jstring boundary, jdoubleArray result) {
  Name32 subbasinText;
  Name32 boundaryText;
  if (!readNames(env, subbasin, boundary, subbasinText, boundaryText) ||
      !checkResultArray(env, result)) {
    return;
  }
  jdouble value = 0.0;
  env->GetDoubleArrayRegion(result, 0, 1, &value);
  if (env->ExceptionCheck()) return;
  double local = value;
  routine(subbasinText.data(), boundaryText.data(), &local, kNameLength,
          kNameLength);
  storeResult(env, result, local);
}

// GETBOUNDARYLOAD with the result value set to 0.0 before the call.
void boundaryLoad(JNIEnv* env, jstring subbasin, jstring boundary,
                  jdoubleArray result, jint k) {
  Name32 subbasinText;
  Name32 boundaryText;
  if (!readNames(env, subbasin, boundary, subbasinText, boundaryText) ||
      !checkResultArray(env, result)) {
    return;
  }
  const int kCopy = k;
  double local = 0.0;
  GETBOUNDARYLOAD(subbasinText.data(), boundaryText.data(), &local, &kCopy,
                  kNameLength, kNameLength);
  storeResult(env, result, local);
}

// Cell and face results: the routine writes straight into the Java array's
// elements. It only writes values and never calls back into Java, so the
// elements are taken as a critical region, which on HotSpot hands over the
// array itself instead of a copy. The caller sizes the array.
using CellRoutine = void (*)(const char*, double*, const int*, FLen);
using CellRoutine2 = void (*)(const char*, double*, const int*, const int*,
                              FLen);

void cellResult(JNIEnv* env, CellRoutine routine, jstring subbasin,
                jdoubleArray values, jint i1) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const int i1Copy = i1;
  CriticalDoubles elements;
  if (!elements.get(env, values, "values")) return;
  routine(text.data(), elements.data(), &i1Copy, kNameLength);
  elements.release();
}

void cellResult2(JNIEnv* env, CellRoutine2 routine, jstring subbasin,
                 jdoubleArray values, jint i1, jint i2) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const int i1Copy = i1;
  const int i2Copy = i2;
  CriticalDoubles elements;
  if (!elements.get(env, values, "values")) return;
  routine(text.data(), elements.data(), &i1Copy, &i2Copy, kNameLength);
  elements.release();
}

}  // namespace
}  // namespace velmora

using namespace velmora;

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryOutflow(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result) {
  boundaryResult(env, GETBOUNDARYOUTFLOW, subbasin, boundary, result);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryStage(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result) {
  boundaryResult(env, GETBOUNDARYSTAGE, subbasin, boundary, result);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryLoad(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result, jint k) {
  boundaryLoad(env, subbasin, boundary, result, k);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryTotalLoad(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result) {
  boundaryResult(env, GETBOUNDARYTOTALLOAD, subbasin, boundary, result);
}

// The solver has no boundary concentration routine that takes k; the one
// whose arguments match is GETBOUNDARYLOAD, so this method calls it exactly
// as getBoundaryLoad does and hands back the same value.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryConcentration(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result, jint k) {
  boundaryLoad(env, subbasin, boundary, result, k);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getBoundaryTotalConcentration(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result) {
  boundaryResult(env, GETBOUNDARYTOTALCONCENTRATION, subbasin, boundary,
                 result);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinCellWetArea(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  cellResult(env, GETSUBBASINCELLAREAWET, subbasin, values, i1);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinCellVolume(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  cellResult(env, GETSUBBASINCELLVOLUME, subbasin, values, i1);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(JNIEnv* env, jclass,
                                                            jstring subbasin,
                                                            jdoubleArray values,
                                                            jint i1) {
  cellResult(env, GETSUBBASINCELLWATERLEVEL, subbasin, values, i1);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinFaceVelocity(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  cellResult(env, GETSUBBASINFACEVELOCITY, subbasin, values, i1);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinCellVelocity(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  cellResult(env, GETSUBBASINCELLVELOCITY, subbasin, values, i1);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellConcentration(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1,
    jint i2) {
  cellResult2(env, GETSUBBASINCELLCONCENTRATION, subbasin, values, i1, i2);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellTotalConcentration(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  cellResult(env, GETSUBBASINCELLTOTALCONCENTRATION, subbasin, values, i1);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinCellBedChange(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1,
    jint i2) {
  cellResult2(env, GETSUBBASINCELLBEDCHANGE, subbasin, values, i1, i2);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellTotalBedChange(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  cellResult(env, GETSUBBASINCELLTOTALBEDCHANGE, subbasin, values, i1);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellActiveFraction(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1,
    jint i2) {
  cellResult2(env, GETSUBBASINCELLACTIVEFRACTION, subbasin, values, i1, i2);
}

}  // extern "C"
