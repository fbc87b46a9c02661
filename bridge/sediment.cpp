// Sediment configuration of a subbasin. Arrays go to the solver in place and
// are released in mode 0 in the order obtained, so whatever the solver
// writes into them reaches Java; the caller sizes them.
#include <jni.h>

#include "jni_support.h"
#include "quarnel.h"

namespace velmora {
namespace {

// Element 1 of `array`, which must hold at least two elements. Only that one
// element is read (GetDoubleArrayRegion), so the array is never held.
bool readSecondElement(JNIEnv* env, jdoubleArray array, const char* what,
                       double& out) {
  if (array == nullptr) {
    throwNullArgument(env, what);
    return false;
  }
  if (!requireLength(env, array, 2, what)) return false;
  jdouble value = 0.0;
  env->GetDoubleArrayRegion(array, 1, 1, &value);
  if (env->ExceptionCheck()) return false;
  out = value;
  return true;
}

// The routine takes m ahead of the four arrays.
void cohesiveTransport(JNIEnv* env, const char* name, const char* method,
                       jdoubleArray d1, jdoubleArray d2, jdoubleArray d3,
                       jdoubleArray d4, jint m) {
  const int mCopy = m;
  DoubleElements<4> d(env);
  if (!d.add(d1, "d1") || !d.add(d2, "d2") || !d.add(d3, "d3") ||
      !d.add(d4, "d4")) {
    return;
  }
  SETCOHESIVETRANSPORTMETHOD(name, method, &mCopy, d[0], d[1], d[2], d[3],
                             kNameWidth, kNameWidth);
}

}  // namespace
}  // namespace velmora

extern "C" {

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_initializeSubbasinSediment(JNIEnv* env, jclass,
                                                           jstring subbasin) {
  velmora::withSubbasin(env, subbasin, [](const char* name) {
    INITSUBBASINSEDIMENT(name, kNameWidth);
  });
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setFallVelocityMethod(
    JNIEnv* env, jclass, jstring subbasin, jstring method) {
  velmora::withNames(env, subbasin, method, "method",
                     [](const char* name, const char* methodText) {
                       SETFALLVELOCITYMETHOD(name, methodText, kNameWidth,
                                             kNameWidth);
                     });
}

// The only method name of the solver that is 16 bytes wide.
JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setTransportPotentialMethod(JNIEnv* env, jclass,
                                                            jstring subbasin,
                                                            jstring method) {
  velmora::withNames<kShortMethodWidth>(
      env, subbasin, method, "method",
      [](const char* name, const char* methodText) {
        SETTRANSPORTPOTENTIALMETHOD(name, methodText, kNameWidth,
                                    kShortMethodWidth);
      });
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setCohesiveTransportMethod(
    JNIEnv* env, jclass, jstring subbasin, jstring method, jdoubleArray d1,
    jdoubleArray d2, jdoubleArray d3, jdoubleArray d4, jint m) {
  velmora::withNames(env, subbasin, method, "method",
                     [&](const char* name, const char* methodText) {
                       velmora::cohesiveTransport(env, name, methodText, d1, d2,
                                                  d3, d4, m);
                     });
}

// No subbasin: the properties are the basin's. The routine takes g first.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setSedimentProperties(
    JNIEnv* env, jclass, jdoubleArray p, jint g, jdouble s1, jdouble s2,
    jdouble s3, jdouble s4) {
  velmora::guarded(env, [&] {
    const int gCopy = g;
    const double s[4] = {s1, s2, s3, s4};
    velmora::DoubleElements<1> properties(env);
    if (!properties.add(p, "p")) return;
    SETSEDIMENTPROPERTIES(&gCopy, properties[0], &s[0], &s[1], &s[2], &s[3]);
  });
}

// The routine receives R1 in place and a copy of R2's element at index 1.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setRhemParameters(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray r1, jdoubleArray r2,
    jint r, jdouble x1, jdouble x2) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    const int rCopy = r;
    const double x[2] = {x1, x2};
    velmora::DoubleElements<1> first(env);
    double second = 0.0;
    if (!first.add(r1, "r1") ||
        !velmora::readSecondElement(env, r2, "r2", second)) {
      return;
    }
    SETSEDIMENTTRANSPORTPARAMETERS(name, first[0], &rCopy, &second, &x[0],
                                   &x[1], kNameWidth);
  });
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setSubbasinMobilityFactor(JNIEnv* env, jclass,
                                                          jstring subbasin,
                                                          jdouble factor) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    const double copy = factor;
    SETSUBBASINMOBILITYFACTOR(name, &copy, kNameWidth);
  });
}

// The routine takes g1 and g2 ahead of F.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setGrainSizeFractions(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray f, jint g1, jint g2) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    const int g[2] = {g1, g2};
    velmora::DoubleElements<1> fractions(env);
    if (!fractions.add(f, "f")) return;
    SETGRAINSIZEFRACTIONS(name, &g[0], &g[1], fractions[0], kNameWidth);
  });
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_checkSedimentSetup(
    JNIEnv* env, jclass, jstring subbasin) {
  velmora::withSubbasin(env, subbasin, [](const char* name) {
    CHECKSEDIMENTSETUP(name, kNameWidth);
  });
}

}  // extern "C"
