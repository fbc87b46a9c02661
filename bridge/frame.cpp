// The bridge frame: the recorded Java VM, the relay to Java, and the three
// frame methods.

#include "frame.h"

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "jni_support.h"
#include "mesh_counts.h"
#include "quarnel.h"

namespace velmora {

namespace {

// Written once, by the first native method; read by the relay on any
// thread.
std::atomic<JavaVM*> javaVm{nullptr};

// Per thread: the critical regions held, and the messages that arrived while
// one was (made only then, and freed once they are delivered). Both are
// plain values: a thread-local object with a destructor is not reliably
// destroyed at thread exit in a Windows DLL.
thread_local int criticalRegions = 0;
thread_local std::vector<std::string>* heldMessages = nullptr;

// A missing class or method (`missing` names which) is reported by two
// lines, and the error that FindClass or GetStaticMethodID left pending is
// cleared, so the solver routine and the bridge go on with a clean
// environment.
void reportUndelivered(JNIEnv* env, const char* message, const char* missing) {
  env->ExceptionClear();
  printLine("sendMessageToJava: message: %s\n", message);
  printLine("sendMessageToJava: %s is NULL\n", missing);
}

// Looks vmz/ErrorProcessor.processCodedMessage up anew on every message. An
// exception thrown by processCodedMessage itself is printed to standard
// error by the JVM (ExceptionDescribe, which clears it), so the solve goes
// on with a clean environment too. Local references are deleted, since a
// solve may relay many messages in one native frame.
void deliver(JNIEnv* env, const char* message) {
  ScopedLocalRef<jclass> epClass(env, env->FindClass("vmz/ErrorProcessor"));
  if (epClass.get() == nullptr) {
    reportUndelivered(env, message, "epClass");
    return;
  }
  jmethodID methodID = env->GetStaticMethodID(
      epClass.get(), "processCodedMessage", "(Ljava/lang/String;)V");
  if (methodID == nullptr) {
    reportUndelivered(env, message, "methodID");
    return;
  }
  ScopedLocalRef<jstring> text(env, env->NewStringUTF(message));
  if (text.get() == nullptr) {
    env->ExceptionClear();  // OutOfMemoryError: the message is dropped
    return;
  }
  env->CallStaticVoidMethod(epClass.get(), methodID, text.get());
  if (env->ExceptionCheck()) env->ExceptionDescribe();
}

// A thread the VM does not know (a solver's worker) is attached as a daemon,
// so it never keeps the VM from ending, and detached right after, so the
// VM's threads do not grow with every solve. On such a thread FindClass
// uses the system class loader.
void deliverOnThisThread(JavaVM* vm, const char* message) {
  JNIEnv* env = nullptr;
  const jint state =
      vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_6);
  if (state == JNI_OK) {
    deliver(env, message);
    return;
  }
  if (state != JNI_EDETACHED) return;
  JavaVMAttachArgs args{JNI_VERSION_1_6, const_cast<char*>("solver relay"),
                        nullptr};
  if (vm->AttachCurrentThreadAsDaemon(reinterpret_cast<void**>(&env), &args) !=
      JNI_OK) {
    return;
  }
  deliver(env, message);
  vm->DetachCurrentThread();
}

}  // namespace

void rememberJavaVm(JNIEnv* env) {
  if (javaVm.load(std::memory_order_acquire) != nullptr) return;
  JavaVM* vm = nullptr;
  if (env->GetJavaVM(&vm) == JNI_OK) {
    javaVm.store(vm, std::memory_order_release);
  }
}

void enterCriticalRegion() { ++criticalRegions; }

void leaveCriticalRegion(JNIEnv* env) {
  if (--criticalRegions > 0 || heldMessages == nullptr) return;
  const std::unique_ptr<std::vector<std::string>> held(
      std::exchange(heldMessages, nullptr));
  for (const std::string& message : *held) deliver(env, message.c_str());
}

}  // namespace velmora

// Called by the solver, so nothing may escape it: a message that cannot be
// held for want of memory is dropped.
extern "C" JNIEXPORT void sendMessageToJava(const char* message) {
  JavaVM* vm = velmora::javaVm.load(std::memory_order_acquire);
  if (vm == nullptr || message == nullptr) return;
  if (velmora::criticalRegions > 0) {
    try {
      auto& held = velmora::heldMessages;
      if (held == nullptr) held = new std::vector<std::string>();
      held->emplace_back(message);
    } catch (...) {
    }
    return;
  }
  velmora::deliverOnThisThread(vm, message);
}

extern "C" {

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setFortranLogFile(
    JNIEnv* env, jclass, jstring path) {
  velmora::guarded(env, [&] {
    velmora::SolverText<kLogPathWidth> text;
    if (text.read(env, path, "path")) SETLOGFILE(text.data(), text.kLength);
  });
}

JNIEXPORT void JNICALL Java_qel_surface_Native2DSolver_setUnitSystem(
    JNIEnv* env, jclass, jint unitSystem) {
  velmora::guarded(env, [&] {
    const int value = unitSystem;
    SETUNITSYSTEM(&value);
  });
}

// The solver drops every subbasin, and with them the mesh counts the
// bridge kept.
JNIEXPORT void JNICALL
Java_qel_surface_Native2DSolver_releaseSubbasins(JNIEnv* env, jclass) {
  velmora::guarded(env, [&] {
    DEALLOCATESUBBASINS();
    velmora::forgetMeshCounts();
  });
}

}  // extern "C"
