// Sediment configuration of a subbasin. Arrays go to the solver in place and
// are released in mode 0 in the order obtained, so whatever the solver
// writes into them reaches Java; the caller sizes them.
#include <jni.h>

#include <cstdio>

#include "jni_support.h"
#include "quarnel.h"

namespace velmora {
namespace {

constexpr FLen kNameLength = Name32::kLength;
using Method16 = SolverText<16>;

// Element 1 of `array`, which must hold at least two elements. Only that one
// element is read (GetDoubleArrayRegion), so the array is never held.
bool readSecondElement(JNIEnv* env, jdoubleArray array, const char* what,
                       double& out) {
  if (array == nullptr) {
    throwNullArgument(env, what);
    return false;
  }
  const jsize length = env->GetArrayLength(array);
  if (length < 2) {
    // Formatted on the stack: this method allocates nothing of its own.
    char message[96];
    std::snprintf(message, sizeof message, "%s has %d elements, needs 2", what,
                  static_cast<int>(length));
    jclass cls = env->FindClass("java/lang/IllegalArgumentException");
    if (cls != nullptr) {
      env->ThrowNew(cls, message);
      env->DeleteLocalRef(cls);
    }
    return false;
  }
  jdouble value = 0.0;
  env->GetDoubleArrayRegion(array, 1, 1, &value);
  if (env->ExceptionCheck()) return false;
  out = value;
  return true;
}

}  // namespace
}  // namespace velmora

using namespace velmora;

extern "C" {

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_initializeSubbasinSediment(JNIEnv* env, jclass,
                                                           jstring subbasin) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  INITSUBBASINSEDIMENT(text.data(), kNameLength);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setFallVelocityMethod(
    JNIEnv* env, jclass, jstring subbasin, jstring method) {
  Name32 text;
  Name32 methodText;
  if (!text.read(env, subbasin, "subbasin") ||
      !methodText.read(env, method, "method")) {
    return;
  }
  SETFALLVELOCITYMETHOD(text.data(), methodText.data(), kNameLength,
                        Name32::kLength);
}

// The only method name of the solver that is 16 bytes wide.
JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setTransportPotentialMethod(JNIEnv* env, jclass,
                                                            jstring subbasin,
                                                            jstring method) {
  Name32 text;
  Method16 methodText;
  if (!text.read(env, subbasin, "subbasin") ||
      !methodText.read(env, method, "method")) {
    return;
  }
  SETTRANSPORTPOTENTIALMETHOD(text.data(), methodText.data(), kNameLength,
                              Method16::kLength);
}

// The routine takes m ahead of the four arrays.
JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setCohesiveTransportMethod(
    JNIEnv* env, jclass, jstring subbasin, jstring method, jdoubleArray d1,
    jdoubleArray d2, jdoubleArray d3, jdoubleArray d4, jint m) {
  Name32 text;
  Name32 methodText;
  if (!text.read(env, subbasin, "subbasin") ||
      !methodText.read(env, method, "method")) {
    return;
  }
  const int mCopy = m;
  DoubleElements e1;
  DoubleElements e2;
  DoubleElements e3;
  DoubleElements e4;
  if (!e1.get(env, d1, "d1") || !e2.get(env, d2, "d2") ||
      !e3.get(env, d3, "d3") || !e4.get(env, d4, "d4")) {
    return;
  }
  SETCOHESIVETRANSPORTMETHOD(text.data(), methodText.data(), &mCopy, e1.data(),
                             e2.data(), e3.data(), e4.data(), kNameLength,
                             Name32::kLength);
  e1.release();
  e2.release();
  e3.release();
  e4.release();
}

// No subbasin: the properties are the basin's. The routine takes g first.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setSedimentProperties(
    JNIEnv* env, jclass, jdoubleArray p, jint g, jdouble s1, jdouble s2,
    jdouble s3, jdouble s4) {
  const int gCopy = g;
  const double s1Copy = s1;
  const double s2Copy = s2;
  const double s3Copy = s3;
  const double s4Copy = s4;
  DoubleElements properties;
  if (!properties.get(env, p, "p")) return;
  SETSEDIMENTPROPERTIES(&gCopy, properties.data(), &s1Copy, &s2Copy, &s3Copy,
                        &s4Copy);
  properties.release();
}

// The routine receives R1 in place and a copy of R2's element at index 1.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setRhemParameters(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray r1, jdoubleArray r2,
    jint r, jdouble x1, jdouble x2) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const int rCopy = r;
  const double x1Copy = x1;
  const double x2Copy = x2;
  DoubleElements first;
  double second = 0.0;
  if (!first.get(env, r1, "r1") || !readSecondElement(env, r2, "r2", second))
    return;
  SETSEDIMENTTRANSPORTPARAMETERS(text.data(), first.data(), &rCopy, &second,
                                 &x1Copy, &x2Copy, kNameLength);
  first.release();
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setSubbasinMobilityFactor(JNIEnv* env, jclass,
                                                          jstring subbasin,
                                                          jdouble factor) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const double copy = factor;
  SETSUBBASINMOBILITYFACTOR(text.data(), &copy, kNameLength);
}

// The routine takes g1 and g2 ahead of F.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setGrainSizeFractions(
    JNIEnv* env, jclass, jstring subbasin, jdoubleArray f, jint g1, jint g2) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const int g1Copy = g1;
  const int g2Copy = g2;
  DoubleElements fractions;
  if (!fractions.get(env, f, "f")) return;
  SETGRAINSIZEFRACTIONS(text.data(), &g1Copy, &g2Copy, fractions.data(),
                        kNameLength);
  fractions.release();
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_checkSedimentSetup(
    JNIEnv* env, jclass, jstring subbasin) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  CHECKSEDIMENTSETUP(text.data(), kNameLength);
}

}  // extern "C"
