// The bridge frame: the stored environment and the relay to Java.
#pragma once

#include <jni.h>

namespace velmora {

// Keeps `env` as the environment the relay uses. Written by
// setFortranLogFile and the two solve methods as their very first step.
void storeEnvironment(JNIEnv* env);

// The stored environment (null until first stored).
JNIEnv* storedEnvironment();

}  // namespace velmora

// Delivers a NUL-terminated message to vmz.ErrorProcessor.processCodedMessage
// through the stored environment. The solver library calls it during a call
// of the bridge, on the calling thread.
extern "C" JNIEXPORT void sendMessageToJava(const char* message);
