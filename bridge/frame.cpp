// The bridge frame: the stored environment, the relay to Java, and the three
// frame methods.

#include "frame.h"

#include <cstdio>

#include "jni_support.h"
#include "quarnel.h"

namespace velmora {

namespace {
// The one piece of state that outlives a call. A plain pointer: it is valid
// only on the thread, and during the call, that stored it.
JNIEnv* storedEnv = nullptr;
}  // namespace

void storeEnvironment(JNIEnv* env) { storedEnv = env; }

JNIEnv* storedEnvironment() { return storedEnv; }

}  // namespace velmora

// Looks vmz/ErrorProcessor.processCodedMessage up anew on every message. A
// missing class or method is reported by the two lines (not flushed) and the
// error that FindClass or GetStaticMethodID left pending is cleared, so the
// solver routine and the bridge go on with a clean environment. An exception
// thrown by processCodedMessage itself is printed to standard error by the
// JVM (ExceptionDescribe) and cleared for the same reason. Local references
// are deleted, since a solve may relay many messages in one native frame.
// Before any environment was stored there is no way to reach Java, and the
// message is dropped.
extern "C" JNIEXPORT void sendMessageToJava(const char* message) {
  JNIEnv* env = velmora::storedEnvironment();
  if (env == nullptr || message == nullptr) return;
  jclass epClass = env->FindClass("vmz/ErrorProcessor");
  if (epClass == nullptr) {
    env->ExceptionClear();
    std::printf("sendMessageToJava: message: %s\n", message);
    std::printf("sendMessageToJava: epClass is NULL\n");
    return;
  }
  jmethodID methodID = env->GetStaticMethodID(epClass, "processCodedMessage",
                                              "(Ljava/lang/String;)V");
  if (methodID == nullptr) {
    env->ExceptionClear();
    std::printf("sendMessageToJava: message: %s\n", message);
    std::printf("sendMessageToJava: methodID is NULL\n");
    env->DeleteLocalRef(epClass);
    return;
  }
  jstring text = env->NewStringUTF(message);
  if (text != nullptr) {
    env->CallStaticVoidMethod(epClass, methodID, text);
    if (env->ExceptionCheck()) env->ExceptionDescribe();
    env->DeleteLocalRef(text);
  } else {
    env->ExceptionClear();  // OutOfMemoryError: the message is dropped
  }
  env->DeleteLocalRef(epClass);
}

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setFortranLogFile(
    JNIEnv* env, jclass, jstring path) {
  velmora::storeEnvironment(env);
  velmora::SolverText<256> text;
  if (!text.read(env, path, "path")) return;
  SETLOGFILE(text.data(), text.kLength);
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setUnitSystem(
    JNIEnv*, jclass, jint unitSystem) {
  const int value = unitSystem;
  SETUNITSYSTEM(&value);
}

JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_releaseSubbasins(JNIEnv*, jclass) {
  DEALLOCATESUBBASINS();
}

}  // extern "C"
