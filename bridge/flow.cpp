// Flow control, initial state and solving of a subbasin.
#include <jni.h>

#include "jni_support.h"
#include "quarnel.h"

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setSubbasinNumberThreads(
    JNIEnv* env, jclass, jstring subbasin, jint threads) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    const int copy = threads;
    SETSUBBASINNUMBERTHREADS(name, &copy, kNameWidth);
  });
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setSubbasinImplicitFactor(JNIEnv* env, jclass,
                                                          jstring subbasin,
                                                          jdouble factor) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    const double copy = factor;
    SETSUBBASINIMPLICITFACTOR(name, &copy, kNameWidth);
  });
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_setSubbasinControlParameters(
    JNIEnv* env, jclass, jstring subbasin, jdouble c1, jdouble c2, jdouble c3,
    jdouble c4, jint c5) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    const double c[4] = {c1, c2, c3, c4};
    const int c5Copy = c5;
    SETSUBBASINCONTROLPARAMETERS(name, &c[0], &c[1], &c[2], &c[3], &c5Copy,
                                 kNameWidth);
  });
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_initializeSubbasinFlow(
    JNIEnv* env, jclass, jstring subbasin) {
  velmora::withSubbasin(env, subbasin, [](const char* name) {
    INITSUBBASINFLOW(name, kNameWidth);
  });
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_initializeSubbasinFlowState(JNIEnv* env, jclass,
                                                            jstring subbasin) {
  velmora::withSubbasin(env, subbasin, [](const char* name) {
    INITSUBBASINFLOWSTATE(name, kNameWidth);
  });
}

// The routine receives the addresses of the two received arguments
// themselves; w2 is declared double on the Java side because the routine
// reads a double there.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_initializeWarmUp(
    JNIEnv* env, jclass, jstring subbasin, jdouble w1, jdouble w2) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    INITSUBBASINWARMUP(name, &w1, &w2, kNameWidth);
  });
}

// The period arrays are handed over in place and released in mode 0, not as
// a critical region, because the solver may relay a message to Java while
// the period runs; the caller sizes them.
JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
    JNIEnv* env, jclass, jstring subbasin, jdouble p1, jdouble p2,
    jdoubleArray a, jint n) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    const double p[2] = {p1, p2};
    const int nCopy = n;
    velmora::DoubleElements<1> period(env);
    if (!period.add(a, "a")) return;
    SOLVESUBBASINFLOW(name, &nCopy, period[0], &p[0], &p[1], kNameWidth);
  });
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
    JNIEnv* env, jclass, jstring subbasin, jdouble p1, jdouble p2,
    jdoubleArray a1, jdoubleArray a2, jdoubleArray a3, jint n) {
  velmora::withSubbasin(env, subbasin, [&](const char* name) {
    const double p[2] = {p1, p2};
    const int nCopy = n;
    velmora::DoubleElements<3> periods(env);
    if (!periods.add(a1, "a1") || !periods.add(a2, "a2") ||
        !periods.add(a3, "a3")) {
      return;
    }
    SOLVESUBBASINFLOWSEDIMENT(name, &nCopy, periods[0], periods[1], periods[2],
                              &p[0], &p[1], kNameWidth);
  });
}

}  // extern "C"
