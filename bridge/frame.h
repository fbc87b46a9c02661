// The bridge frame: the Java VM the relay reaches Java through, and the
// relay itself.
#pragma once

#include <jni.h>

namespace velmora {

// Records the Java VM of `env` the first time any native method runs
// (guarded() calls it); later calls cost one atomic load.
void rememberJavaVm(JNIEnv* env);

// Marks the calling thread as holding a JNI critical region, in which no JNI
// function may be called: messages relayed meanwhile are held. When the last
// region of the thread is released, the held messages are delivered through
// `env`, in the order they arrived.
void enterCriticalRegion();
void leaveCriticalRegion(JNIEnv* env);

}  // namespace velmora

// Delivers a NUL-terminated message to vmz.ErrorProcessor.processCodedMessage
// on the calling thread. The solver library may call it on any thread: a
// thread the Java VM does not know is attached (as a daemon) for the
// delivery and detached again. Before any native method has run there is no
// VM to reach, and the message is dropped.
extern "C" JNIEXPORT void sendMessageToJava(const char* message);
