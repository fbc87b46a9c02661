// The volume-elevation and area-elevation tables of
// initializeSubbasinBathymetry, passed without unit conversion.

#include "jni_support.h"
#include "quarnel.h"

namespace velmora {

namespace {

// What one call hands to INITSUBBASINBATHYMETRY.
struct BathymetryBuffers {
  jsize cellCount = 0;
  jsize cellVolumeElevationCount = 0;
  jsize faceCount = 0;
  jsize faceAreaElevationCount = 0;
  Buffer<jint> cellVolumeElevationInfo;
  Buffer<jdouble> cellVolumeElevationValues;
  Buffer<jint> faceAreaElevationInfo;
  Buffer<jdouble> faceAreaElevationValues;
};

bool readBathymetry(JNIEnv* env, jobject bathymetry, BathymetryBuffers& b) {
  ScopedLocalRef<jclass> cls(env, env->GetObjectClass(bathymetry));
  jclass c = cls.get();
  return c != nullptr &&
         readTable(env, bathymetry, c, "_cellVolumeElevationInfo", kAllRows, 2,
                   b.cellVolumeElevationInfo, &b.cellCount) &&
         readTable(env, bathymetry, c, "_cellVolumeElevationValues", kAllRows,
                   2, b.cellVolumeElevationValues,
                   &b.cellVolumeElevationCount) &&
         readTable(env, bathymetry, c, "_faceAreaElevationInfo", kAllRows, 2,
                   b.faceAreaElevationInfo, &b.faceCount) &&
         readTable(env, bathymetry, c, "_faceAreaElevationValues", kAllRows, 4,
                   b.faceAreaElevationValues, &b.faceAreaElevationCount);
}

void initializeBathymetry(const char* name, const BathymetryBuffers& b) {
  const int cellCount = b.cellCount;
  const int cellVolumeElevationCount = b.cellVolumeElevationCount;
  const int faceCount = b.faceCount;
  const int faceAreaElevationCount = b.faceAreaElevationCount;
  INITSUBBASINBATHYMETRY(name, &cellCount, &cellVolumeElevationCount,
                         &faceCount, &faceAreaElevationCount,
                         solverInts(b.cellVolumeElevationInfo.data()),
                         b.cellVolumeElevationValues.data(),
                         solverInts(b.faceAreaElevationInfo.data()),
                         b.faceAreaElevationValues.data(), kNameWidth);
}

}  // namespace

}  // namespace velmora

extern "C" JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_initializeSubbasinBathymetry(
    JNIEnv* env, jclass, jstring subbasin, jobject bathymetry) {
  velmora::withSubbasinRecord<velmora::BathymetryBuffers>(
      env, subbasin, bathymetry, "bathymetry", velmora::readBathymetry,
      velmora::initializeBathymetry);
}
