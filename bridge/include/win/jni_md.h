// Machine-dependent JNI types for 64-bit Windows (LLP64: long is 32 bits).
#ifndef VELMORA_WIN_JNI_MD_H
#define VELMORA_WIN_JNI_MD_H

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef __int64 jlong;
typedef signed char jbyte;

#ifdef __cplusplus
static_assert(sizeof(jint) == 4, "jint must be 32 bits");
static_assert(sizeof(jlong) == 8, "jlong must be 64 bits");
#endif

#endif
