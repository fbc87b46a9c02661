// A fake JNI environment for unit tests of the bridge's native methods.
//
// FakeJvm owns every Java object a test makes: strings, primitive arrays,
// arrays of objects and plain objects with fields. Primitive arrays are kept
// as heap blocks of exactly their length, and every Get<Type>ArrayElements,
// GetPrimitiveArrayCritical and GetStringUTFChars hands out a fresh block of
// exactly the right size, so under AddressSanitizer any read or write
// outside a Java array fails the test.
//
// Only the JNI functions the bridge uses are in the table; any other slot
// aborts with a message. The fake records what a test may want to check:
// the pending exception (class and message), JNI calls made while an
// exception is pending, local references handed out and not deleted,
// elements not released, the calls of static Java methods, and the name of
// every JNI function called.
//
// Typical use:
//   fakejni::FakeJvm jvm;
//   jobject geometry = jvm.newObject("qel/surface/Geometry");
//   jvm.setObjectField(geometry, "_cellBathAreas", "[D",
//                      jvm.doubles({1.0, 2.0}));
//   jvm.setIntField(geometry, "_numberInternalCells", 2);
//   Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(
//       jvm.env(), nullptr, jvm.string("basin"), geometry);
//   EXPECT_FALSE(jvm.exceptionPending());
#pragma once

#include <jni.h>

#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace fakejni {

struct Object;

// One call of a static Java method through CallStaticVoidMethod.
struct StaticCall {
  std::string className;
  std::string method;
  std::string signature;
  std::vector<jvalue> args;
  std::vector<std::string> stringArgs;  // UTF-8 of each String argument
  std::thread::id thread;               // the thread that made the call
};

// The one fake Java VM of the process (GetJavaVM of every FakeJvm's
// environment). A FakeJvm is the environment of the thread that made it, as
// long as it lives: GetEnv on that thread gives its environment. Another
// thread gets JNI_EDETACHED, and AttachCurrentThreadAsDaemon makes it a
// thread of the FakeJvm made last, until DetachCurrentThread.
struct VmCounts {
  int attached = 0;  // AttachCurrentThread(AsDaemon) calls
  int detached = 0;  // DetachCurrentThread calls
};
VmCounts vmCounts();

class FakeJvm {
 public:
  FakeJvm();
  ~FakeJvm();
  FakeJvm(const FakeJvm&) = delete;
  FakeJvm& operator=(const FakeJvm&) = delete;

  JNIEnv* env();

  // --- Making Java values ---------------------------------------------------

  // A string from standard UTF-8 (supplementary characters become surrogate
  // pairs, as in Java).
  jstring string(const std::string& utf8);
  // A string from UTF-16 code units.
  jstring string16(const std::u16string& units);
  jintArray ints(const std::vector<jint>& values);
  jdoubleArray doubles(const std::vector<jdouble>& values);
  // An Object[] (String[], int[][], ...); elements may be null.
  jobjectArray objects(const std::vector<jobject>& elements,
                       const std::string& className = "[Ljava/lang/Object;");
  jobjectArray strings(const std::vector<std::string>& utf8);
  jobjectArray intRows(const std::vector<std::vector<jint>>& rows);
  jobjectArray doubleRows(const std::vector<std::vector<jdouble>>& rows);

  // A class by name, made when missing ("vmz/ErrorProcessor").
  jclass defineClass(const std::string& name);
  // A static method of a class; CallStaticVoidMethod records its calls.
  void addStaticMethod(jclass cls, const std::string& name,
                       const std::string& signature);
  // FindClass of this name fails (NoClassDefFoundError) from now on.
  void removeClass(const std::string& name);

  // A new object of a class of its own, named className; fields are
  // declared by setting them.
  jobject newObject(const std::string& className);
  void setObjectField(jobject object, const std::string& name,
                      const std::string& signature, jobject value);
  void setIntField(jobject object, const std::string& name, jint value);
  void setDoubleField(jobject object, const std::string& name, jdouble value);
  // The field is no longer declared (GetFieldID raises NoSuchFieldError).
  void removeField(jobject object, const std::string& name);

  // --- Reading Java values back ---------------------------------------------

  std::vector<jint> intsOf(jintArray array) const;
  std::vector<jdouble> doublesOf(jdoubleArray array) const;
  std::string utf8Of(jstring s) const;  // modified UTF-8 bytes

  // --- What happened
  // ----------------------------------------------------------

  bool exceptionPending() const;
  // JNI name of the pending exception's class ("java/lang/...") and its
  // message; empty when none is pending.
  std::string exceptionClass() const;
  std::string exceptionMessage() const;
  void clearException();
  // Makes the next Get<Type>ArrayElements / GetPrimitiveArrayCritical /
  // GetStringUTFChars fail with OutOfMemoryError.
  void failNextElements();

  // Local references handed out by JNI functions and not yet deleted, and
  // the most that were live at once.
  int liveLocalRefs() const;
  int maxLiveLocalRefs() const;
  // Elements, critical regions and UTF chars not yet released.
  int outstandingElements() const;
  // Descriptions of misuse: calls made while an exception was pending,
  // releases of pointers never handed out, and the like.
  const std::vector<std::string>& misuse() const;
  // Every JNI function called, by name, in order.
  const std::vector<std::string>& calls() const;
  int callCount(const std::string& function) const;
  void clearCalls();
  const std::vector<StaticCall>& staticCalls() const;
  // The arrays whose elements or critical regions were released, in order.
  const std::vector<jarray>& releasedArrays() const;

  // Used by the function table.
  struct State;
  State& state();

 private:
  std::unique_ptr<State> state_;
};

// The stand-in solver's journal, at the path named by QUARNEL_JOURNAL.
namespace journal {
// Empties the journal.
void clear();
// The journal's lines, without their line ends.
std::vector<std::string> lines();
}  // namespace journal

// "[" + values joined by "," + "]" as the journal writes them (doubles as
// %.17g).
std::string number(double value);
template <typename T>
std::string list(const std::vector<T>& values) {
  std::string out = "[";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i) out += ',';
    if constexpr (std::is_floating_point_v<T>) {
      out += number(values[i]);
    } else {
      out += std::to_string(values[i]);
    }
  }
  return out + "]";
}

}  // namespace fakejni
