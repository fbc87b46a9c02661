// Flow control, initial state and solving of a subbasin.
#include <jni.h>

#include "frame.h"
#include "jni_support.h"
#include "quarnel.h"

namespace velmora {
namespace {
constexpr FLen kNameLength = Name32::kLength;
}  // namespace
}  // namespace velmora

using namespace velmora;

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setSubbasinNumberThreads(
    JNIEnv* env, jclass, jstring subbasin, jint threads) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const int copy = threads;
  SETSUBBASINNUMBERTHREADS(text.data(), &copy, kNameLength);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setSubbasinImplicitFactor(JNIEnv* env, jclass,
                                                          jstring subbasin,
                                                          jdouble factor) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const double copy = factor;
  SETSUBBASINIMPLICITFACTOR(text.data(), &copy, kNameLength);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setSubbasinControlParameters(
    JNIEnv* env, jclass, jstring subbasin, jdouble c1, jdouble c2, jdouble c3,
    jdouble c4, jint c5) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const double c1Copy = c1;
  const double c2Copy = c2;
  const double c3Copy = c3;
  const double c4Copy = c4;
  const int c5Copy = c5;
  SETSUBBASINCONTROLPARAMETERS(text.data(), &c1Copy, &c2Copy, &c3Copy, &c4Copy,
                               &c5Copy, kNameLength);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_initializeSubbasinFlow(
    JNIEnv* env, jclass, jstring subbasin) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  INITSUBBASINFLOW(text.data(), kNameLength);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_initializeSubbasinFlowState(JNIEnv* env, jclass,
                                                            jstring subbasin) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  INITSUBBASINFLOWSTATE(text.data(), kNameLength);
}

// The routine receives the addresses of the two received arguments
// themselves; w2 is declared double on the Java side because the routine
// reads a double there.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_initializeWarmUp(
    JNIEnv* env, jclass, jstring subbasin, jdouble w1, jdouble w2) {
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  INITSUBBASINWARMUP(text.data(), &w1, &w2, kNameLength);
}

// The solves store the environment before anything else, so the solver can
// relay coded messages to Java while the period runs. The period array is
// handed over in place and released in mode 0 (the solver may relay a
// message, so no critical region here); the caller sizes it.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
    JNIEnv* env, jclass, jstring subbasin, jdouble p1, jdouble p2,
    jdoubleArray a, jint n) {
  storeEnvironment(env);
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const double p1Copy = p1;
  const double p2Copy = p2;
  const int nCopy = n;
  DoubleElements period;
  if (!period.get(env, a, "a")) return;
  SOLVESUBBASINFLOW(text.data(), &nCopy, period.data(), &p1Copy, &p2Copy,
                    kNameLength);
  period.release();
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
    JNIEnv* env, jclass, jstring subbasin, jdouble p1, jdouble p2,
    jdoubleArray a1, jdoubleArray a2, jdoubleArray a3, jint n) {
  storeEnvironment(env);
  Name32 text;
  if (!text.read(env, subbasin, "subbasin")) return;
  const double p1Copy = p1;
  const double p2Copy = p2;
  const int nCopy = n;
  DoubleElements first;
  DoubleElements second;
  DoubleElements third;
  if (!first.get(env, a1, "a1") || !second.get(env, a2, "a2") ||
      !third.get(env, a3, "a3")) {
    return;
  }
  SOLVESUBBASINFLOWSEDIMENT(text.data(), &nCopy, first.data(), second.data(),
                            third.data(), &p1Copy, &p2Copy, kNameLength);
  first.release();
  second.release();
  third.release();
}

}  // extern "C"
