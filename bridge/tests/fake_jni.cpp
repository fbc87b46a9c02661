#include "fake_jni.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace fakejni {

namespace {

enum class Kind { Class, String, IntArray, DoubleArray, ObjectArray, Instance };

struct Field {
  std::string name;
  std::string signature;
  jobject object = nullptr;
  jint i = 0;
  jdouble d = 0.0;
};

struct Method {
  std::string name;
  std::string signature;
};

}  // namespace

struct Object {
  Kind kind = Kind::Instance;
  std::string className;  // a class's own name, or the class of a value
  Object* cls = nullptr;  // the class object of an instance or throwable
  std::u16string units;   // String
  jsize length = 0;       // arrays
  std::unique_ptr<jint[]> ints;
  std::unique_ptr<jdouble[]> doubles;
  std::vector<Object*> elements;
  // A class's declared fields and static methods.
  std::vector<std::unique_ptr<Field>> fields;
  std::vector<std::unique_ptr<Method>> methods;
  std::string message;  // a throwable's message
};

namespace {

struct Handout {
  Object* array;
  bool critical;
  bool chars;
};

// --- Modified UTF-8 ---------------------------------------------------------

std::string toModifiedUtf8(const char16_t* units, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned u = units[i];
    if (u != 0 && u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xc0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3f));
    } else {
      out += static_cast<char>(0xe0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3f));
      out += static_cast<char>(0x80 | (u & 0x3f));
    }
  }
  return out;
}

// Decodes standard or modified UTF-8 into UTF-16 code units.
std::u16string fromUtf8(const std::string& s) {
  std::u16string out;
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    unsigned cp;
    std::size_t extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xe0) == 0xc0) {
      cp = c & 0x1f;
      extra = 1;
    } else if ((c & 0xf0) == 0xe0) {
      cp = c & 0x0f;
      extra = 2;
    } else {
      cp = c & 0x07;
      extra = 3;
    }
    for (std::size_t k = 1; k <= extra && i + k < s.size(); ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xd800 | (cp >> 10));
      out += static_cast<char16_t>(0xdc00 | (cp & 0x3ff));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

}  // namespace

struct EnvHolder {
  JNIEnv_ env;  // first, so a JNIEnv* is the holder's address
  FakeJvm::State* state;
};

struct FakeJvm::State {
  JNINativeInterface_ table;
  EnvHolder holder;
  std::vector<std::unique_ptr<Object>> objects;
  std::map<std::string, Object*> classes;  // found by FindClass
  std::map<Object*, int> localRefs;
  int live = 0;
  int maxLive = 0;
  std::map<const void*, Handout> handouts;
  int criticalHeld = 0;
  Object* pending = nullptr;
  bool failNext = false;
  std::vector<std::string> misuse;
  std::vector<std::string> calls;
  std::vector<StaticCall> staticCalls;
  std::vector<jarray> released;
  State* previous = nullptr;  // the thread's environment before this one

  Object* make(Kind kind, const std::string& className) {
    objects.push_back(std::make_unique<Object>());
    Object* o = objects.back().get();
    o->kind = kind;
    o->className = className;
    return o;
  }
  template <typename T>
  T local(Object* o) {
    if (o != nullptr) {
      ++localRefs[o];
      ++live;
      maxLive = std::max(maxLive, live);
    }
    return reinterpret_cast<T>(o);
  }
  Object* classNamed(const std::string& name) {
    auto it = classes.find(name);
    if (it != classes.end()) return it->second;
    Object* c = make(Kind::Class, name);
    classes[name] = c;
    return c;
  }
  void raise(const std::string& className, const std::string& message) {
    if (pending != nullptr) return;  // the first one stays
    Object* t = make(Kind::Instance, className);
    t->cls = classNamed(className);
    t->message = message;
    pending = t;
  }
};

namespace {

FakeJvm::State& stateOf(JNIEnv* env) {
  return *reinterpret_cast<EnvHolder*>(env)->state;
}

Object* obj(jobject o) { return reinterpret_cast<Object*>(o); }

// Records the call; notes misuse when an exception is pending or a critical
// region is held (except for the functions allowed then).
FakeJvm::State& enter(JNIEnv* env, const char* name,
                      bool allowedWithException = false,
                      bool allowedInCritical = false) {
  FakeJvm::State& s = stateOf(env);
  s.calls.emplace_back(name);
  if (s.pending != nullptr && !allowedWithException) {
    s.misuse.push_back(std::string(name) + " called with " +
                       s.pending->className + " pending");
  }
  if (s.criticalHeld > 0 && !allowedInCritical) {
    s.misuse.push_back(std::string(name) + " called in a critical region");
  }
  return s;
}

template <int I>
void JNICALL unexpected() {
  std::fprintf(stderr, "fake JNI: unexpected call of function table slot %d\n",
               I);
  std::fflush(stderr);
  std::abort();
}

template <int... I>
void fillTraps(void** slots, std::integer_sequence<int, I...>) {
  ((slots[I] = reinterpret_cast<void*>(&unexpected<I>)), ...);
}

// --- Classes, exceptions, references
// ------------------------------------------

jclass JNICALL findClass(JNIEnv* env, const char* name) {
  FakeJvm::State& s = enter(env, "FindClass");
  auto it = s.classes.find(name);
  if (it == s.classes.end()) {
    s.raise("java/lang/NoClassDefFoundError", name);
    return nullptr;
  }
  return s.local<jclass>(it->second);
}

jint JNICALL throwNew(JNIEnv* env, jclass cls, const char* message) {
  FakeJvm::State& s = enter(env, "ThrowNew");
  if (cls == nullptr) {
    s.misuse.push_back("ThrowNew with a null class");
    return -1;
  }
  s.raise(obj(cls)->className, message != nullptr ? message : "");
  return 0;
}

jint JNICALL throwObject(JNIEnv* env, jthrowable t) {
  FakeJvm::State& s = enter(env, "Throw");
  if (s.pending == nullptr) s.pending = obj(t);
  return 0;
}

jthrowable JNICALL exceptionOccurred(JNIEnv* env) {
  FakeJvm::State& s = enter(env, "ExceptionOccurred", true);
  return s.local<jthrowable>(s.pending);
}

void JNICALL exceptionDescribe(JNIEnv* env) {
  FakeJvm::State& s = enter(env, "ExceptionDescribe", true);
  s.pending = nullptr;
}

void JNICALL exceptionClear(JNIEnv* env) {
  FakeJvm::State& s = enter(env, "ExceptionClear", true);
  s.pending = nullptr;
}

jboolean JNICALL exceptionCheck(JNIEnv* env) {
  FakeJvm::State& s = enter(env, "ExceptionCheck", true);
  return s.pending != nullptr ? JNI_TRUE : JNI_FALSE;
}

void JNICALL deleteLocalRef(JNIEnv* env, jobject ref) {
  FakeJvm::State& s = enter(env, "DeleteLocalRef", true, true);
  auto it = s.localRefs.find(obj(ref));
  if (it == s.localRefs.end()) return;  // an argument: allowed, not counted
  --s.live;
  if (--it->second == 0) s.localRefs.erase(it);
}

jobject JNICALL newLocalRef(JNIEnv* env, jobject ref) {
  FakeJvm::State& s = enter(env, "NewLocalRef");
  return s.local<jobject>(obj(ref));
}

jint JNICALL ensureLocalCapacity(JNIEnv* env, jint) {
  enter(env, "EnsureLocalCapacity");
  return 0;
}

jboolean JNICALL isSameObject(JNIEnv* env, jobject a, jobject b) {
  enter(env, "IsSameObject");
  return a == b ? JNI_TRUE : JNI_FALSE;
}

// --- Fields and methods
// -------------------------------------------------------

jclass JNICALL getObjectClass(JNIEnv* env, jobject o) {
  FakeJvm::State& s = enter(env, "GetObjectClass");
  if (o == nullptr) {
    s.misuse.push_back("GetObjectClass of null");
    return nullptr;
  }
  Object* c =
      obj(o)->cls != nullptr ? obj(o)->cls : s.classNamed("java/lang/Object");
  return s.local<jclass>(c);
}

// GetFieldID and GetStaticMethodID: the member of `cls` among `members` with
// the exact name and signature, or the JVM's error `missing` pending.
template <typename Id, typename Member>
Id findMember(JNIEnv* env, const char* call, jclass cls,
              std::vector<std::unique_ptr<Member>> Object::*members,
              const char* name, const char* sig, const char* missing) {
  FakeJvm::State& s = enter(env, call);
  if (cls == nullptr) {
    s.misuse.push_back(std::string(call) + " on a null class");
    return nullptr;
  }
  for (auto& m : obj(cls)->*members) {
    if (m->name == name && m->signature == sig) {
      return reinterpret_cast<Id>(m.get());
    }
  }
  s.raise(missing, name);
  return nullptr;
}

jfieldID JNICALL getFieldID(JNIEnv* env, jclass cls, const char* name,
                            const char* sig) {
  return findMember<jfieldID>(env, "GetFieldID", cls, &Object::fields, name,
                              sig, "java/lang/NoSuchFieldError");
}

Field* fieldOf(FakeJvm::State& s, jobject o, jfieldID id, const char* what) {
  if (o == nullptr || id == nullptr) {
    s.misuse.push_back(std::string(what) + " with a null object or field");
    return nullptr;
  }
  return reinterpret_cast<Field*>(id);
}

jobject JNICALL getObjectField(JNIEnv* env, jobject o, jfieldID id) {
  FakeJvm::State& s = enter(env, "GetObjectField");
  Field* f = fieldOf(s, o, id, "GetObjectField");
  return f != nullptr ? s.local<jobject>(obj(f->object)) : nullptr;
}

jint JNICALL getIntField(JNIEnv* env, jobject o, jfieldID id) {
  FakeJvm::State& s = enter(env, "GetIntField");
  Field* f = fieldOf(s, o, id, "GetIntField");
  return f != nullptr ? f->i : 0;
}

jdouble JNICALL getDoubleField(JNIEnv* env, jobject o, jfieldID id) {
  FakeJvm::State& s = enter(env, "GetDoubleField");
  Field* f = fieldOf(s, o, id, "GetDoubleField");
  return f != nullptr ? f->d : 0.0;
}

jmethodID JNICALL getStaticMethodID(JNIEnv* env, jclass cls, const char* name,
                                    const char* sig) {
  return findMember<jmethodID>(env, "GetStaticMethodID", cls, &Object::methods,
                               name, sig, "java/lang/NoSuchMethodError");
}

void recordStaticCall(FakeJvm::State& s, jclass cls, jmethodID id,
                      const std::vector<jvalue>& args,
                      const std::string& signature) {
  StaticCall call;
  call.className = obj(cls)->className;
  call.method = reinterpret_cast<Method*>(id)->name;
  call.signature = signature;
  call.args = args;
  call.thread = std::this_thread::get_id();
  for (const jvalue& v : args) {
    Object* o = obj(v.l);
    if (o != nullptr && o->kind == Kind::String) {
      call.stringArgs.push_back(
          toModifiedUtf8(o->units.data(), o->units.size()));
    }
  }
  s.staticCalls.push_back(std::move(call));
}

// The argument kinds of a method signature: 'L' for any reference.
std::string argumentKinds(const std::string& sig) {
  std::string kinds;
  std::size_t i = 1;
  while (i < sig.size() && sig[i] != ')') {
    char c = sig[i];
    if (c == '[') {
      while (i < sig.size() && sig[i] == '[') ++i;
      if (sig[i] == 'L') i = sig.find(';', i);
      kinds += 'L';
    } else if (c == 'L') {
      i = sig.find(';', i);
      kinds += 'L';
    } else {
      kinds += c;
    }
    ++i;
  }
  return kinds;
}

bool checkStaticCall(FakeJvm::State& s, jclass cls, jmethodID id) {
  if (cls == nullptr || id == nullptr) {
    s.misuse.push_back("CallStaticVoidMethod with a null class or method");
    return false;
  }
  return true;
}

void JNICALL callStaticVoidMethodV(JNIEnv* env, jclass cls, jmethodID id,
                                   va_list ap) {
  FakeJvm::State& s = enter(env, "CallStaticVoidMethodV");
  if (!checkStaticCall(s, cls, id)) return;
  const std::string sig = reinterpret_cast<Method*>(id)->signature;
  std::vector<jvalue> args;
  for (char k : argumentKinds(sig)) {
    jvalue v;
    std::memset(&v, 0, sizeof v);
    switch (k) {
      case 'L':
        v.l = va_arg(ap, jobject);
        break;
      case 'J':
        v.j = va_arg(ap, jlong);
        break;
      case 'D':
        v.d = va_arg(ap, jdouble);
        break;
      case 'F':
        v.f = static_cast<jfloat>(va_arg(ap, jdouble));
        break;
      default:
        v.i = static_cast<jint>(va_arg(ap, int));
        break;
    }
    args.push_back(v);
  }
  recordStaticCall(s, cls, id, args, sig);
}

void JNICALL callStaticVoidMethod(JNIEnv* env, jclass cls, jmethodID id, ...) {
  stateOf(env).calls.emplace_back("CallStaticVoidMethod");
  va_list ap;
  va_start(ap, id);
  callStaticVoidMethodV(env, cls, id, ap);
  va_end(ap);
}

void JNICALL callStaticVoidMethodA(JNIEnv* env, jclass cls, jmethodID id,
                                   const jvalue* values) {
  FakeJvm::State& s = enter(env, "CallStaticVoidMethodA");
  if (!checkStaticCall(s, cls, id)) return;
  const std::string sig = reinterpret_cast<Method*>(id)->signature;
  std::vector<jvalue> args(values, values + argumentKinds(sig).size());
  recordStaticCall(s, cls, id, args, sig);
}

// --- Strings
// --------------------------------------------------------------------

Object* stringOf(FakeJvm::State& s, jstring str, const char* what) {
  Object* o = obj(str);
  if (o == nullptr || o->kind != Kind::String) {
    s.misuse.push_back(std::string(what) + " of a null or non-string");
    return nullptr;
  }
  return o;
}

jstring JNICALL newStringUTF(JNIEnv* env, const char* utf) {
  FakeJvm::State& s = enter(env, "NewStringUTF");
  if (utf == nullptr) return nullptr;
  Object* o = s.make(Kind::String, "java/lang/String");
  o->units = fromUtf8(utf);
  return s.local<jstring>(o);
}

jsize JNICALL getStringLength(JNIEnv* env, jstring str) {
  FakeJvm::State& s = enter(env, "GetStringLength");
  Object* o = stringOf(s, str, "GetStringLength");
  return o != nullptr ? static_cast<jsize>(o->units.size()) : 0;
}

jsize JNICALL getStringUTFLength(JNIEnv* env, jstring str) {
  FakeJvm::State& s = enter(env, "GetStringUTFLength");
  Object* o = stringOf(s, str, "GetStringUTFLength");
  return o != nullptr
             ? static_cast<jsize>(
                   toModifiedUtf8(o->units.data(), o->units.size()).size())
             : 0;
}

const char* JNICALL getStringUTFChars(JNIEnv* env, jstring str,
                                      jboolean* isCopy) {
  FakeJvm::State& s = enter(env, "GetStringUTFChars");
  Object* o = stringOf(s, str, "GetStringUTFChars");
  if (o == nullptr) return nullptr;
  if (s.failNext) {
    s.failNext = false;
    s.raise("java/lang/OutOfMemoryError", "GetStringUTFChars");
    return nullptr;
  }
  const std::string bytes = toModifiedUtf8(o->units.data(), o->units.size());
  char* copy = new char[bytes.size() + 1];
  std::memcpy(copy, bytes.c_str(), bytes.size() + 1);
  s.handouts[copy] = Handout{o, false, true};
  if (isCopy != nullptr) *isCopy = JNI_TRUE;
  return copy;
}

void JNICALL releaseStringUTFChars(JNIEnv* env, jstring, const char* chars) {
  FakeJvm::State& s = enter(env, "ReleaseStringUTFChars", true);
  auto it = s.handouts.find(chars);
  if (it == s.handouts.end() || !it->second.chars) {
    s.misuse.push_back("ReleaseStringUTFChars of chars never handed out");
    return;
  }
  s.handouts.erase(it);
  delete[] chars;
}

void JNICALL getStringUTFRegion(JNIEnv* env, jstring str, jsize start,
                                jsize len, char* buf) {
  FakeJvm::State& s = enter(env, "GetStringUTFRegion");
  Object* o = stringOf(s, str, "GetStringUTFRegion");
  if (o == nullptr) return;
  const jsize n = static_cast<jsize>(o->units.size());
  if (start < 0 || len < 0 || start > n || len > n - start) {
    s.raise("java/lang/StringIndexOutOfBoundsException", "GetStringUTFRegion");
    return;
  }
  // Like HotSpot, the bytes are followed by a terminating NUL.
  const std::string bytes =
      toModifiedUtf8(o->units.data() + start, static_cast<std::size_t>(len));
  std::memcpy(buf, bytes.c_str(), bytes.size() + 1);
}

// --- Arrays
// --------------------------------------------------------------------------

Object* arrayOf(FakeJvm::State& s, jobject a, Kind kind, const char* what) {
  Object* o = obj(a);
  if (o == nullptr || o->kind != kind) {
    s.misuse.push_back(std::string(what) + " of a null or mistyped array");
    return nullptr;
  }
  return o;
}

jsize JNICALL getArrayLength(JNIEnv* env, jarray a) {
  FakeJvm::State& s = enter(env, "GetArrayLength");
  Object* o = obj(a);
  if (o == nullptr ||
      (o->kind != Kind::IntArray && o->kind != Kind::DoubleArray &&
       o->kind != Kind::ObjectArray)) {
    s.misuse.push_back("GetArrayLength of a null or non-array");
    return 0;
  }
  return o->length;
}

jobject JNICALL getObjectArrayElement(JNIEnv* env, jobjectArray a, jsize i) {
  FakeJvm::State& s = enter(env, "GetObjectArrayElement");
  Object* o = arrayOf(s, a, Kind::ObjectArray, "GetObjectArrayElement");
  if (o == nullptr) return nullptr;
  if (i < 0 || i >= o->length) {
    s.raise("java/lang/ArrayIndexOutOfBoundsException", std::to_string(i));
    return nullptr;
  }
  return s.local<jobject>(o->elements[static_cast<std::size_t>(i)]);
}

template <typename T>
T* storage(Object* o);
template <>
jint* storage<jint>(Object* o) {
  return o->ints.get();
}
template <>
jdouble* storage<jdouble>(Object* o) {
  return o->doubles.get();
}

template <typename T>
T* getElements(JNIEnv* env, jobject a, Kind kind, const char* name,
               bool critical) {
  FakeJvm::State& s = enter(env, name, false, critical);
  Object* o = arrayOf(s, a, kind, name);
  if (o == nullptr) return nullptr;
  if (s.failNext) {
    s.failNext = false;
    s.raise("java/lang/OutOfMemoryError", name);
    return nullptr;
  }
  // A fresh block of exactly the array's length.
  T* copy = new T[static_cast<std::size_t>(o->length)];
  std::copy(storage<T>(o), storage<T>(o) + o->length, copy);
  s.handouts[copy] = Handout{o, critical, false};
  if (critical) ++s.criticalHeld;
  return copy;
}

template <typename T>
void releaseElements(JNIEnv* env, jobject a, T* elements, jint mode,
                     const char* name, bool critical) {
  FakeJvm::State& s = enter(env, name, true, true);
  auto it = s.handouts.find(elements);
  if (it == s.handouts.end() || it->second.critical != critical ||
      it->second.chars || it->second.array != obj(a)) {
    s.misuse.push_back(std::string(name) + " of elements never handed out");
    return;
  }
  Object* o = it->second.array;
  s.released.push_back(reinterpret_cast<jarray>(o));
  if (mode == 0 || mode == JNI_COMMIT) {
    std::copy(elements, elements + o->length, storage<T>(o));
  }
  if (mode == 0 || mode == JNI_ABORT) {
    s.handouts.erase(it);
    if (critical) --s.criticalHeld;
    delete[] elements;
  }
}

jint* JNICALL getIntArrayElements(JNIEnv* env, jintArray a, jboolean* isCopy) {
  if (isCopy != nullptr) *isCopy = JNI_TRUE;
  return getElements<jint>(env, a, Kind::IntArray, "GetIntArrayElements",
                           false);
}

jdouble* JNICALL getDoubleArrayElements(JNIEnv* env, jdoubleArray a,
                                        jboolean* isCopy) {
  if (isCopy != nullptr) *isCopy = JNI_TRUE;
  return getElements<jdouble>(env, a, Kind::DoubleArray,
                              "GetDoubleArrayElements", false);
}

void JNICALL releaseIntArrayElements(JNIEnv* env, jintArray a, jint* e,
                                     jint mode) {
  releaseElements<jint>(env, a, e, mode, "ReleaseIntArrayElements", false);
}

void JNICALL releaseDoubleArrayElements(JNIEnv* env, jdoubleArray a, jdouble* e,
                                        jint mode) {
  releaseElements<jdouble>(env, a, e, mode, "ReleaseDoubleArrayElements",
                           false);
}

void* JNICALL getPrimitiveArrayCritical(JNIEnv* env, jarray a,
                                        jboolean* isCopy) {
  if (isCopy != nullptr) *isCopy = JNI_TRUE;
  Object* o = obj(a);
  if (o != nullptr && o->kind == Kind::IntArray) {
    return getElements<jint>(env, a, Kind::IntArray,
                             "GetPrimitiveArrayCritical", true);
  }
  return getElements<jdouble>(env, a, Kind::DoubleArray,
                              "GetPrimitiveArrayCritical", true);
}

void JNICALL releasePrimitiveArrayCritical(JNIEnv* env, jarray a, void* e,
                                           jint mode) {
  Object* o = obj(a);
  if (o != nullptr && o->kind == Kind::IntArray) {
    releaseElements<jint>(env, a, static_cast<jint*>(e), mode,
                          "ReleasePrimitiveArrayCritical", true);
  } else {
    releaseElements<jdouble>(env, a, static_cast<jdouble*>(e), mode,
                             "ReleasePrimitiveArrayCritical", true);
  }
}

template <typename T>
void arrayRegion(JNIEnv* env, jobject a, jsize start, jsize len, T* buf,
                 Kind kind, const char* name, bool write) {
  FakeJvm::State& s = enter(env, name);
  Object* o = arrayOf(s, a, kind, name);
  if (o == nullptr) return;
  if (start < 0 || len < 0 || start > o->length || len > o->length - start) {
    s.raise("java/lang/ArrayIndexOutOfBoundsException",
            std::string(name) + " " + std::to_string(start) + "+" +
                std::to_string(len));
    return;
  }
  T* data = storage<T>(o) + start;
  if (write) {
    std::copy(buf, buf + len, data);
  } else {
    std::copy(data, data + len, buf);
  }
}

void JNICALL getIntArrayRegion(JNIEnv* env, jintArray a, jsize start, jsize len,
                               jint* buf) {
  arrayRegion<jint>(env, a, start, len, buf, Kind::IntArray,
                    "GetIntArrayRegion", false);
}

void JNICALL getDoubleArrayRegion(JNIEnv* env, jdoubleArray a, jsize start,
                                  jsize len, jdouble* buf) {
  arrayRegion<jdouble>(env, a, start, len, buf, Kind::DoubleArray,
                       "GetDoubleArrayRegion", false);
}

void JNICALL setIntArrayRegion(JNIEnv* env, jintArray a, jsize start, jsize len,
                               const jint* buf) {
  arrayRegion<jint>(env, a, start, len, const_cast<jint*>(buf), Kind::IntArray,
                    "SetIntArrayRegion", true);
}

void JNICALL setDoubleArrayRegion(JNIEnv* env, jdoubleArray a, jsize start,
                                  jsize len, const jdouble* buf) {
  arrayRegion<jdouble>(env, a, start, len, const_cast<jdouble*>(buf),
                       Kind::DoubleArray, "SetDoubleArrayRegion", true);
}

Field& declare(Object* instance, const std::string& name,
               const std::string& signature) {
  Object* cls = instance->cls;
  for (auto& f : cls->fields) {
    if (f->name == name) {
      f->signature = signature;
      return *f;
    }
  }
  cls->fields.push_back(std::make_unique<Field>());
  Field& f = *cls->fields.back();
  f.name = name;
  f.signature = signature;
  return f;
}

// --- The Java VM
// -------------------------------------------------------------------

// The environment of each thread, and the FakeJvm made last, which attached
// threads join.
thread_local FakeJvm::State* threadState = nullptr;
std::mutex vmLock;
FakeJvm::State* newest = nullptr;
VmCounts counts;

jint JNICALL vmGetEnv(JavaVM*, void** env, jint) {
  if (threadState == nullptr) {
    *env = nullptr;
    return JNI_EDETACHED;
  }
  *env = &threadState->holder.env;
  return JNI_OK;
}

jint JNICALL vmAttach(JavaVM* vm, void** env, void*) {
  std::lock_guard<std::mutex> hold(vmLock);
  if (newest == nullptr) return JNI_ERR;
  ++counts.attached;
  threadState = newest;
  return vmGetEnv(vm, env, JNI_VERSION_1_6);
}

jint JNICALL vmDetach(JavaVM*) {
  std::lock_guard<std::mutex> hold(vmLock);
  ++counts.detached;
  threadState = nullptr;
  return JNI_OK;
}

JavaVM* theVm() {
  static JNIInvokeInterface_ table = [] {
    JNIInvokeInterface_ t{};
    t.AttachCurrentThread = vmAttach;
    t.DetachCurrentThread = vmDetach;
    t.GetEnv = vmGetEnv;
    t.AttachCurrentThreadAsDaemon = vmAttach;
    return t;
  }();
  static JavaVM vm{&table};
  return &vm;
}

jint JNICALL getJavaVM(JNIEnv* env, JavaVM** vm) {
  enter(env, "GetJavaVM", true, true);
  *vm = theVm();
  return JNI_OK;
}

}  // namespace

VmCounts vmCounts() {
  std::lock_guard<std::mutex> hold(vmLock);
  return counts;
}

// --- FakeJvm
// ------------------------------------------------------------------------

FakeJvm::FakeJvm() : state_(std::make_unique<State>()) {
  State& s = *state_;
  void** slots = reinterpret_cast<void**>(&s.table);
  constexpr int kSlots = sizeof(JNINativeInterface_) / sizeof(void*);
  fillTraps(slots, std::make_integer_sequence<int, kSlots>());
  JNINativeInterface_& t = s.table;
  t.reserved0 = t.reserved1 = t.reserved2 = t.reserved3 = nullptr;
  t.FindClass = findClass;
  t.Throw = throwObject;
  t.ThrowNew = throwNew;
  t.ExceptionOccurred = exceptionOccurred;
  t.ExceptionDescribe = exceptionDescribe;
  t.ExceptionClear = exceptionClear;
  t.ExceptionCheck = exceptionCheck;
  t.DeleteLocalRef = deleteLocalRef;
  t.NewLocalRef = newLocalRef;
  t.EnsureLocalCapacity = ensureLocalCapacity;
  t.IsSameObject = isSameObject;
  t.GetObjectClass = getObjectClass;
  t.GetFieldID = getFieldID;
  t.GetObjectField = getObjectField;
  t.GetIntField = getIntField;
  t.GetDoubleField = getDoubleField;
  t.GetStaticMethodID = getStaticMethodID;
  t.CallStaticVoidMethod = callStaticVoidMethod;
  t.CallStaticVoidMethodV = callStaticVoidMethodV;
  t.CallStaticVoidMethodA = callStaticVoidMethodA;
  t.NewStringUTF = newStringUTF;
  t.GetStringLength = getStringLength;
  t.GetStringUTFLength = getStringUTFLength;
  t.GetStringUTFChars = getStringUTFChars;
  t.ReleaseStringUTFChars = releaseStringUTFChars;
  t.GetStringUTFRegion = getStringUTFRegion;
  t.GetArrayLength = getArrayLength;
  t.GetObjectArrayElement = getObjectArrayElement;
  t.GetIntArrayElements = getIntArrayElements;
  t.GetDoubleArrayElements = getDoubleArrayElements;
  t.ReleaseIntArrayElements = releaseIntArrayElements;
  t.ReleaseDoubleArrayElements = releaseDoubleArrayElements;
  t.GetIntArrayRegion = getIntArrayRegion;
  t.GetDoubleArrayRegion = getDoubleArrayRegion;
  t.SetIntArrayRegion = setIntArrayRegion;
  t.SetDoubleArrayRegion = setDoubleArrayRegion;
  t.GetPrimitiveArrayCritical = getPrimitiveArrayCritical;
  t.ReleasePrimitiveArrayCritical = releasePrimitiveArrayCritical;
  t.GetJavaVM = getJavaVM;
  s.holder.env.functions = &s.table;
  s.holder.state = &s;
  s.previous = threadState;
  threadState = &s;
  {
    std::lock_guard<std::mutex> hold(vmLock);
    newest = &s;
  }
  for (const char* name :
       {"java/lang/NullPointerException", "java/lang/IllegalArgumentException",
        "java/lang/OutOfMemoryError", "java/lang/NoSuchFieldError",
        "java/lang/NoSuchMethodError", "java/lang/NoClassDefFoundError",
        "java/lang/ArrayIndexOutOfBoundsException",
        "java/lang/StringIndexOutOfBoundsException", "java/lang/Error",
        "java/lang/IllegalStateException", "java/lang/String",
        "java/lang/Object"}) {
    s.classNamed(name);
  }
}

FakeJvm::~FakeJvm() {
  if (threadState == state_.get()) threadState = state_->previous;
  {
    std::lock_guard<std::mutex> hold(vmLock);
    if (newest == state_.get()) newest = state_->previous;
  }
  for (auto& h : state_->handouts) {
    if (h.second.chars) {
      delete[] static_cast<const char*>(h.first);
    } else if (h.second.array->kind == Kind::IntArray) {
      delete[] static_cast<const jint*>(h.first);
    } else {
      delete[] static_cast<const jdouble*>(h.first);
    }
  }
}

JNIEnv* FakeJvm::env() { return &state_->holder.env; }
FakeJvm::State& FakeJvm::state() { return *state_; }

jstring FakeJvm::string(const std::string& utf8) {
  return string16(fromUtf8(utf8));
}

jstring FakeJvm::string16(const std::u16string& units) {
  Object* o = state_->make(Kind::String, "java/lang/String");
  o->cls = state_->classNamed("java/lang/String");
  o->units = units;
  return reinterpret_cast<jstring>(o);
}

namespace {
// A new primitive array holding `values` in its `elements`.
template <typename T>
Object* primitiveArray(FakeJvm::State& s, Kind kind, const char* className,
                       std::unique_ptr<T[]> Object::*elements,
                       const std::vector<T>& values) {
  Object* o = s.make(kind, className);
  o->length = static_cast<jsize>(values.size());
  (o->*elements).reset(new T[values.size()]);
  std::copy(values.begin(), values.end(), (o->*elements).get());
  return o;
}
}  // namespace

jintArray FakeJvm::ints(const std::vector<jint>& values) {
  return reinterpret_cast<jintArray>(
      primitiveArray(*state_, Kind::IntArray, "[I", &Object::ints, values));
}

jdoubleArray FakeJvm::doubles(const std::vector<jdouble>& values) {
  return reinterpret_cast<jdoubleArray>(primitiveArray(
      *state_, Kind::DoubleArray, "[D", &Object::doubles, values));
}

jobjectArray FakeJvm::objects(const std::vector<jobject>& elements,
                              const std::string& className) {
  Object* o = state_->make(Kind::ObjectArray, className);
  o->length = static_cast<jsize>(elements.size());
  for (jobject e : elements) o->elements.push_back(obj(e));
  return reinterpret_cast<jobjectArray>(o);
}

jobjectArray FakeJvm::strings(const std::vector<std::string>& utf8) {
  std::vector<jobject> elements;
  for (const std::string& s : utf8) elements.push_back(string(s));
  return objects(elements, "[Ljava/lang/String;");
}

jobjectArray FakeJvm::intRows(const std::vector<std::vector<jint>>& rows) {
  std::vector<jobject> elements;
  for (const auto& r : rows) elements.push_back(ints(r));
  return objects(elements, "[[I");
}

jobjectArray FakeJvm::doubleRows(
    const std::vector<std::vector<jdouble>>& rows) {
  std::vector<jobject> elements;
  for (const auto& r : rows) elements.push_back(doubles(r));
  return objects(elements, "[[D");
}

jclass FakeJvm::defineClass(const std::string& name) {
  return reinterpret_cast<jclass>(state_->classNamed(name));
}

void FakeJvm::addStaticMethod(jclass cls, const std::string& name,
                              const std::string& signature) {
  obj(cls)->methods.push_back(std::make_unique<Method>());
  obj(cls)->methods.back()->name = name;
  obj(cls)->methods.back()->signature = signature;
}

void FakeJvm::removeClass(const std::string& name) {
  state_->classes.erase(name);
}

jobject FakeJvm::newObject(const std::string& className) {
  Object* cls = state_->make(Kind::Class, className);
  Object* o = state_->make(Kind::Instance, className);
  o->cls = cls;
  return reinterpret_cast<jobject>(o);
}

void FakeJvm::setObjectField(jobject object, const std::string& name,
                             const std::string& signature, jobject value) {
  declare(obj(object), name, signature).object = value;
}

void FakeJvm::setIntField(jobject object, const std::string& name, jint value) {
  declare(obj(object), name, "I").i = value;
}

void FakeJvm::setDoubleField(jobject object, const std::string& name,
                             jdouble value) {
  declare(obj(object), name, "D").d = value;
}

void FakeJvm::removeField(jobject object, const std::string& name) {
  auto& fields = obj(object)->cls->fields;
  fields.erase(std::remove_if(fields.begin(), fields.end(),
                              [&](const std::unique_ptr<Field>& f) {
                                return f->name == name;
                              }),
               fields.end());
}

std::vector<jint> FakeJvm::intsOf(jintArray array) const {
  Object* o = obj(array);
  return std::vector<jint>(o->ints.get(), o->ints.get() + o->length);
}

std::vector<jdouble> FakeJvm::doublesOf(jdoubleArray array) const {
  Object* o = obj(array);
  return std::vector<jdouble>(o->doubles.get(), o->doubles.get() + o->length);
}

std::string FakeJvm::utf8Of(jstring s) const {
  Object* o = obj(s);
  return toModifiedUtf8(o->units.data(), o->units.size());
}

bool FakeJvm::exceptionPending() const { return state_->pending != nullptr; }

std::string FakeJvm::exceptionClass() const {
  return state_->pending != nullptr ? state_->pending->className : "";
}

std::string FakeJvm::exceptionMessage() const {
  return state_->pending != nullptr ? state_->pending->message : "";
}

void FakeJvm::clearException() { state_->pending = nullptr; }
void FakeJvm::failNextElements() { state_->failNext = true; }
int FakeJvm::liveLocalRefs() const { return state_->live; }
int FakeJvm::maxLiveLocalRefs() const { return state_->maxLive; }

int FakeJvm::outstandingElements() const {
  return static_cast<int>(state_->handouts.size());
}

const std::vector<std::string>& FakeJvm::misuse() const {
  return state_->misuse;
}

const std::vector<std::string>& FakeJvm::calls() const { return state_->calls; }

int FakeJvm::callCount(const std::string& function) const {
  return static_cast<int>(
      std::count(state_->calls.begin(), state_->calls.end(), function));
}

void FakeJvm::clearCalls() { state_->calls.clear(); }

const std::vector<StaticCall>& FakeJvm::staticCalls() const {
  return state_->staticCalls;
}

const std::vector<jarray>& FakeJvm::releasedArrays() const {
  return state_->released;
}

// --- Journal
// ----------------------------------------------------------------------

namespace journal {

namespace {
const char* path() {
  const char* p = std::getenv("QUARNEL_JOURNAL");
  if (p == nullptr || *p == '\0') {
    std::fprintf(stderr, "QUARNEL_JOURNAL is not set\n");
    std::abort();
  }
  return p;
}
}  // namespace

void clear() {
  std::FILE* f = std::fopen(path(), "wb");
  if (f != nullptr) std::fclose(f);
}

std::vector<std::string> lines() {
  std::vector<std::string> out;
  std::FILE* f = std::fopen(path(), "rb");
  if (f == nullptr) return out;
  std::string line;
  int c;
  while ((c = std::fgetc(f)) != EOF) {
    if (c == '\n') {
      out.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  if (!line.empty()) out.push_back(line);
  std::fclose(f);
  return out;
}

}  // namespace journal

std::string number(double value) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  return buf;
}

}  // namespace fakejni
