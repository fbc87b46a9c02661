// Result retrieval: single values at a boundary, and one value per cell or
// face of a subbasin. None of these methods allocates memory.
#include <jni.h>

#include "jni_support.h"
#include "mesh_counts.h"
#include "quarnel.h"

namespace velmora {
namespace {

// A boundary result lands in element 0 of `result`, which must exist. Only
// that element is read and written (Get/SetDoubleArrayRegion), so the
// others keep their values and the array is never copied as a whole.
bool checkResultArray(JNIEnv* env, jdoubleArray result) {
  if (result == nullptr) {
    throwNullArgument(env, "result");
    return false;
  }
  return requireLength(env, result, 1, "result");
}

// `start` is where the routine's value starts: the array's element 0, so
// that a routine that does not write it leaves the Java array as it was
// (nullptr), or the given value.
template <typename Call>
void boundaryResult(JNIEnv* env, jstring subbasin, jstring boundary,
                    jdoubleArray result, const double* start, Call&& call) {
  withNames(env, subbasin, boundary, "boundary",
            [&](const char* subbasinText, const char* boundaryText) {
              if (!checkResultArray(env, result)) return;
              jdouble value = 0.0;
              if (start != nullptr) {
                value = *start;
              } else {
                env->GetDoubleArrayRegion(result, 0, 1, &value);
                if (env->ExceptionCheck()) return;
              }
              double local = value;
              call(subbasinText, boundaryText, &local);
              const jdouble element = local;
              env->SetDoubleArrayRegion(result, 0, 1, &element);
            });
}

using BoundaryRoutine = void (*)(const char*, const char*, double*, FLen, FLen);

void boundaryValue(JNIEnv* env, BoundaryRoutine routine, jstring subbasin,
                   jstring boundary, jdoubleArray result) {
  boundaryResult(env, subbasin, boundary, result, nullptr,
                 [&](const char* s, const char* b, double* value) {
                   routine(s, b, value, kNameWidth, kNameWidth);
                 });
}

// GETBOUNDARYLOAD with the result value set to 0.0 before the call.
void boundaryLoad(JNIEnv* env, jstring subbasin, jstring boundary,
                  jdoubleArray result, jint k) {
  static const double kZero = 0.0;
  boundaryResult(env, subbasin, boundary, result, &kZero,
                 [&](const char* s, const char* b, double* value) {
                   const int kCopy = k;
                   GETBOUNDARYLOAD(s, b, value, &kCopy, kNameWidth, kNameWidth);
                 });
}

enum class Per { kCell, kFace };

// The routine writes one value per cell (per face) of the mesh last handed
// to the solver under this name, so `values` must hold that many: a shorter
// array is refused, and so is a name with no geometry, before the routine
// is called. The count comes from the bridge's own record (mesh_counts.h).
bool checkValues(JNIEnv* env, const char* name, jdoubleArray values, Per per) {
  if (values == nullptr) {
    throwNullArgument(env, "values");
    return false;
  }
  MeshCounts counts;
  if (!findMeshCounts(name, &counts)) {
    FLen n = kNameWidth;
    while (n > 0 && name[n - 1] == ' ') --n;
    throwIllegalState(env, "subbasin \"%.*s\" has no geometry",
                      static_cast<int>(n), name);
    return false;
  }
  return requireLength(
      env, values, per == Per::kCell ? counts.cells : counts.faces, "values");
}

// Cell and face results: the routine writes straight into the Java array's
// elements, taken as a critical region, which on HotSpot hands over the
// array itself instead of a copy. A message the routine relays meanwhile
// is held by the relay and delivered once the region is released.
template <typename Call>
void cellResult(JNIEnv* env, Per per, jstring subbasin, jdoubleArray values,
                Call&& call) {
  withSubbasin(env, subbasin, [&](const char* name) {
    if (!checkValues(env, name, values, per)) return;
    CriticalDoubles elements(env);
    if (!elements.add(values, "values")) return;
    call(name, elements[0]);
  });
}

using CellRoutine = void (*)(const char*, double*, const int*, FLen);
using CellRoutineWithClass = void (*)(const char*, double*, const int*,
                                      const int*, FLen);

void cellResult(JNIEnv* env, CellRoutine routine, jstring subbasin,
                jdoubleArray values, jint i1, Per per = Per::kCell) {
  cellResult(env, per, subbasin, values, [&](const char* name, double* v) {
    const int i1Copy = i1;
    routine(name, v, &i1Copy, kNameWidth);
  });
}

void cellResult(JNIEnv* env, CellRoutineWithClass routine, jstring subbasin,
                jdoubleArray values, jint i1, jint i2) {
  cellResult(env, Per::kCell, subbasin, values,
             [&](const char* name, double* v) {
               const int i[2] = {i1, i2};
               routine(name, v, &i[0], &i[1], kNameWidth);
             });
}

}  // namespace
}  // namespace velmora

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryOutflow(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result) {
  velmora::boundaryValue(env, GETBOUNDARYOUTFLOW, subbasin, boundary, result);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryStage(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result) {
  velmora::boundaryValue(env, GETBOUNDARYSTAGE, subbasin, boundary, result);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryLoad(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result, jint k) {
  velmora::boundaryLoad(env, subbasin, boundary, result, k);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryTotalLoad(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result) {
  velmora::boundaryValue(env, GETBOUNDARYTOTALLOAD, subbasin, boundary, result);
}

// The solver has no boundary concentration routine that takes k; the one
// whose arguments match is GETBOUNDARYLOAD, so this method calls it exactly
// as getBoundaryLoad does and hands back the same value.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getBoundaryConcentration(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result, jint k) {
  velmora::boundaryLoad(env, subbasin, boundary, result, k);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getBoundaryTotalConcentration(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary,
    jdoubleArray result) {
  velmora::boundaryValue(env, GETBOUNDARYTOTALCONCENTRATION, subbasin, boundary,
                         result);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinCellWetArea(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  velmora::cellResult(env, GETSUBBASINCELLAREAWET, subbasin, values, i1);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinCellVolume(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  velmora::cellResult(env, GETSUBBASINCELLVOLUME, subbasin, values, i1);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(JNIEnv* env, jclass,
                                                            jstring subbasin,
                                                            jdoubleArray values,
                                                            jint i1) {
  velmora::cellResult(env, GETSUBBASINCELLWATERLEVEL, subbasin, values, i1);
}

// The one result with a value per face.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinFaceVelocity(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  velmora::cellResult(env, GETSUBBASINFACEVELOCITY, subbasin, values, i1,
                      velmora::Per::kFace);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinCellVelocity(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  velmora::cellResult(env, GETSUBBASINCELLVELOCITY, subbasin, values, i1);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellConcentration(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1,
    jint i2) {
  velmora::cellResult(env, GETSUBBASINCELLCONCENTRATION, subbasin, values, i1,
                      i2);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellTotalConcentration(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  velmora::cellResult(env, GETSUBBASINCELLTOTALCONCENTRATION, subbasin, values,
                      i1);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_getSubbasinCellBedChange(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1,
    jint i2) {
  velmora::cellResult(env, GETSUBBASINCELLBEDCHANGE, subbasin, values, i1, i2);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellTotalBedChange(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1) {
  velmora::cellResult(env, GETSUBBASINCELLTOTALBEDCHANGE, subbasin, values, i1);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_getSubbasinCellActiveFraction(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray values, jint i1,
    jint i2) {
  velmora::cellResult(env, GETSUBBASINCELLACTIVEFRACTION, subbasin, values, i1,
                      i2);
}

}  // extern "C"
