// Small RAII helpers that carry every native method of the bridge.
//
// Each helper either succeeds or leaves a Java exception pending, in which
// case the native method returns at once, before the solver routine is
// called, and the destructors release whatever was obtained. Nothing here
// throws a C++ exception.
#pragma once

#include <jni.h>

#include <cstddef>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora {

// --- Java exceptions ------------------------------------------------------

void throwJava(JNIEnv* env, const char* className, const std::string& message);
// NullPointerException("<what> is null").
void throwNullArgument(JNIEnv* env, const char* what);
void throwIllegalArgument(JNIEnv* env, const std::string& message);
void throwOutOfMemory(JNIEnv* env, const std::string& what);

// --- Local references -------------------------------------------------------

template <typename T = jobject>
class ScopedLocalRef {
 public:
  ScopedLocalRef(JNIEnv* env, T ref) : env_(env), ref_(ref) {}
  ~ScopedLocalRef() {
    if (ref_ != nullptr) env_->DeleteLocalRef(ref_);
  }
  ScopedLocalRef(const ScopedLocalRef&) = delete;
  ScopedLocalRef& operator=(const ScopedLocalRef&) = delete;
  T get() const { return ref_; }

 private:
  JNIEnv* env_;
  T ref_;
};

// --- Solver text arguments ----------------------------------------------------

// Copies the modified UTF-8 bytes of the first `n` bytes' worth of `s` into
// `out`, blank-filled to exactly n bytes, no terminator. The string's bytes
// are taken with GetStringUTFRegion into a stack buffer, so no heap memory
// is used. A null string throws NullPointerException naming `what`.
bool copySolverText(JNIEnv* env, jstring s, char* out, std::size_t n,
                    const char* what);

// A solver text argument of N bytes read from a Java string.
template <std::size_t N>
class SolverText {
 public:
  static constexpr std::size_t kLength = N;
  bool read(JNIEnv* env, jstring s, const char* what) {
    return copySolverText(env, s, bytes_, N, what);
  }
  const char* data() const { return bytes_; }

 private:
  char bytes_[N];
};

using Name32 = SolverText<32>;

// --- Owned buffers ----------------------------------------------------------

// Sizes `buffer` to n elements; throws OutOfMemoryError naming `what` when
// the memory cannot be had.
template <typename T>
bool allocate(JNIEnv* env, std::vector<T>& buffer, std::size_t n,
              const char* what) {
  try {
    buffer.resize(n);
    return true;
  } catch (const std::bad_alloc&) {
    throwOutOfMemory(env, what);
    return false;
  } catch (const std::length_error&) {
    throwOutOfMemory(env, what);
    return false;
  }
}

// --- Arrays handed over in place --------------------------------------------

// Get<Type>ArrayElements on construction, Release<Type>ArrayElements in mode
// 0 on release() or destruction, so whatever the routine wrote reaches the
// Java array.
class DoubleElements {
 public:
  DoubleElements() = default;
  ~DoubleElements() { release(); }
  DoubleElements(const DoubleElements&) = delete;
  DoubleElements& operator=(const DoubleElements&) = delete;
  // A null array throws NullPointerException naming `what`.
  bool get(JNIEnv* env, jdoubleArray array, const char* what);
  void release();
  jdouble* data() const { return elements_; }

 private:
  JNIEnv* env_ = nullptr;
  jdoubleArray array_ = nullptr;
  jdouble* elements_ = nullptr;
};

// GetPrimitiveArrayCritical for a double array that a routine only writes,
// without calling back into Java. Released in mode 0 (commit and free).
class CriticalDoubles {
 public:
  CriticalDoubles() = default;
  ~CriticalDoubles() { release(); }
  CriticalDoubles(const CriticalDoubles&) = delete;
  CriticalDoubles& operator=(const CriticalDoubles&) = delete;
  bool get(JNIEnv* env, jdoubleArray array, const char* what);
  void release();
  jdouble* data() const { return elements_; }

 private:
  JNIEnv* env_ = nullptr;
  jdoubleArray array_ = nullptr;
  jdouble* elements_ = nullptr;
};

// --- Fields and copies of read-only arrays ----------------------------------

// Reads the array field `name` of signature `sig` from `object` (of class
// `cls`). A missing field leaves the JVM's NoSuchFieldError pending; a null
// value throws NullPointerException naming the field.
jobject getArrayField(JNIEnv* env, jobject object, jclass cls,
                      const char* name, const char* sig);

// Copies elements [0, n) of a 1-D array into `out` in one pass
// (Get<Type>ArrayRegion). An array shorter than n throws
// IllegalArgumentException naming `what`.
bool copyElements(JNIEnv* env, jintArray array, jsize n, jint* out,
                  const char* what);
bool copyElements(JNIEnv* env, jdoubleArray array, jsize n, jdouble* out,
                  const char* what);

// Copies the first k elements of rows [0, rows) of a 2-D array into out[k*i
// ... k*i+k-1], deleting each row's local reference after use. `rows` must
// not exceed the outer array's length, and every row must hold at least k
// elements; otherwise IllegalArgumentException names `what` and the row. A
// null row throws NullPointerException.
bool copyRows(JNIEnv* env, jobjectArray table, jsize rows, jsize k, jint* out,
              const char* what);
bool copyRows(JNIEnv* env, jobjectArray table, jsize rows, jsize k,
              jdouble* out, const char* what);

// Multiplies every element by `factor` in 64-bit floating point.
void scale(std::vector<double>& values, double factor);

}  // namespace velmora
