// Declarations of the 47 native methods Velmora exports, for tests that call
// them directly (through a fake JNIEnv or a hand-made function table).
#pragma once

#include <jni.h>

#if defined(_WIN32)
#define VELMORA_METHOD extern "C" __declspec(dllimport) void JNICALL
#else
#define VELMORA_METHOD extern "C" void JNICALL
#endif

VELMORA_METHOD Java_qel_surface_Native2DSolver_setFortranLogFile(JNIEnv* env,
                                                                 jclass cls,
                                                                 jstring path);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setUnitSystem(JNIEnv* env,
                                                             jclass cls,
                                                             jint unitSystem);
VELMORA_METHOD Java_qel_surface_Native2DSolver_releaseSubbasins(JNIEnv* env,
                                                                jclass cls);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setupBasinFlow(
    JNIEnv* env, jclass cls, jint count, jobjectArray names);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setupBasinSediment(
    JNIEnv* env, jclass cls, jint count, jobjectArray names);
VELMORA_METHOD Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(
    JNIEnv* env, jclass cls, jstring subbasin, jobject geometry);
VELMORA_METHOD Java_qel_surface_Native2DSolver_initializeSubbasinBathymetry(
    JNIEnv* env, jclass cls, jstring subbasin, jobject bathymetry);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setBoundaryNormalDepth(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary, jobject faces,
    jdouble value);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setBoundaryRatingCurve(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary, jobject faces,
    jint curveInt, jdoubleArray curve1, jdoubleArray curve2);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setBoundaryFlow(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary, jobject faces,
    jdouble ignored, jdouble value);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setBoundaryStage(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary, jobject faces,
    jdouble ignored, jdouble value);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setBoundaryValueFlow(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary, jdouble value);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setBoundaryValueStage(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary, jdouble value);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setBoundaryValueLoad(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary, jdouble value);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setSubbasinNumberThreads(
    JNIEnv* env, jclass cls, jstring subbasin, jint threads);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setSubbasinImplicitFactor(
    JNIEnv* env, jclass cls, jstring subbasin, jdouble factor);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setSubbasinControlParameters(
    JNIEnv* env, jclass cls, jstring subbasin, jdouble c1, jdouble c2,
    jdouble c3, jdouble c4, jint c5);
VELMORA_METHOD Java_qel_surface_Native2DSolver_initializeSubbasinFlow(
    JNIEnv* env, jclass cls, jstring subbasin);
VELMORA_METHOD Java_qel_surface_Native2DSolver_initializeSubbasinFlowState(
    JNIEnv* env, jclass cls, jstring subbasin);
VELMORA_METHOD Java_qel_surface_Native2DSolver_initializeWarmUp(
    JNIEnv* env, jclass cls, jstring subbasin, jdouble w1, jdouble w2);
VELMORA_METHOD Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
    JNIEnv* env, jclass cls, jstring subbasin, jdouble p1, jdouble p2,
    jdoubleArray a, jint n);
VELMORA_METHOD Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
    JNIEnv* env, jclass cls, jstring subbasin, jdouble p1, jdouble p2,
    jdoubleArray a1, jdoubleArray a2, jdoubleArray a3, jint n);
VELMORA_METHOD Java_qel_surface_Native2DSolver_initializeSubbasinSediment(
    JNIEnv* env, jclass cls, jstring subbasin);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setFallVelocityMethod(
    JNIEnv* env, jclass cls, jstring subbasin, jstring method);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setTransportPotentialMethod(
    JNIEnv* env, jclass cls, jstring subbasin, jstring method);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setCohesiveTransportMethod(
    JNIEnv* env, jclass cls, jstring subbasin, jstring method, jdoubleArray d1,
    jdoubleArray d2, jdoubleArray d3, jdoubleArray d4, jint m);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setSedimentProperties(
    JNIEnv* env, jclass cls, jdoubleArray p, jint g, jdouble s1, jdouble s2,
    jdouble s3, jdouble s4);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setRhemParameters(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray r1, jdoubleArray r2,
    jint r, jdouble x1, jdouble x2);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setSubbasinMobilityFactor(
    JNIEnv* env, jclass cls, jstring subbasin, jdouble factor);
VELMORA_METHOD Java_qel_surface_Native2DSolver_setGrainSizeFractions(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray f, jint g1,
    jint g2);
VELMORA_METHOD Java_qel_surface_Native2DSolver_checkSedimentSetup(
    JNIEnv* env, jclass cls, jstring subbasin);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getBoundaryOutflow(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary,
    jdoubleArray result);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getBoundaryStage(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary,
    jdoubleArray result);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getBoundaryLoad(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary,
    jdoubleArray result, jint k);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getBoundaryTotalLoad(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary,
    jdoubleArray result);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getBoundaryConcentration(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary,
    jdoubleArray result, jint k);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getBoundaryTotalConcentration(
    JNIEnv* env, jclass cls, jstring subbasin, jstring boundary,
    jdoubleArray result);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinCellWetArea(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinCellVolume(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinFaceVelocity(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinCellVelocity(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinCellConcentration(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1,
    jint i2);
VELMORA_METHOD
Java_qel_surface_Native2DSolver_getSubbasinCellTotalConcentration(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinCellBedChange(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1,
    jint i2);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinCellTotalBedChange(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1);
VELMORA_METHOD Java_qel_surface_Native2DSolver_getSubbasinCellActiveFraction(
    JNIEnv* env, jclass cls, jstring subbasin, jdoubleArray values, jint i1,
    jint i2);

// The relay the solver library calls with a coded message.
#if defined(_WIN32)
extern "C" __declspec(dllimport) void sendMessageToJava(const char* message);
#else
extern "C" void sendMessageToJava(const char* message);
#endif
