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
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora {

// --- Java exceptions ------------------------------------------------------

void throwJava(JNIEnv* env, const char* className,
               const std::string& message) noexcept;
// Throws a message formatted with printf rules (at most 511 bytes, built on
// the stack). Does nothing when an exception is already pending.
void throwFormatted(JNIEnv* env, const char* className, const char* format,
                    ...) noexcept
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
// NullPointerException("<what> is null").
void throwNullArgument(JNIEnv* env, const char* what) noexcept;
void throwIllegalArgument(JNIEnv* env, const std::string& message) noexcept;
void throwOutOfMemory(JNIEnv* env, const char* what) noexcept;
// Throws without building a message on the heap (for use where memory has
// run out). Does nothing when an exception is already pending.
void throwLiteral(JNIEnv* env, const char* className,
                  const char* message) noexcept;

// Runs a native method's body so that no C++ exception leaves it: a
// std::bad_alloc becomes OutOfMemoryError, anything else
// java.lang.Error, both thrown only when no Java exception is pending yet.
template <typename Body>
void guarded(JNIEnv* env, Body&& body) noexcept {
  try {
    body();
  } catch (const std::bad_alloc&) {
    throwLiteral(env, "java/lang/OutOfMemoryError",
                 "out of memory in the solver bridge");
  } catch (...) {
    throwLiteral(env, "java/lang/Error",
                 "unexpected failure in the solver bridge");
  }
}

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

// --- Solver text arguments
// ----------------------------------------------------

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

// An owned buffer of n elements whose memory is not initialised: each
// element is written by the copy that follows, so a large mesh is touched
// once. allocate() throws OutOfMemoryError naming `what` when the memory
// cannot be had (or n elements cannot even be counted in bytes).
template <typename T>
class Buffer {
 public:
  bool allocate(JNIEnv* env, std::size_t n, const char* what) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T) / 2) {
      throwOutOfMemory(env, what);
      return false;
    }
    data_.reset(new (std::nothrow) T[n == 0 ? 1 : n]);
    if (data_ == nullptr) {
      throwOutOfMemory(env, what);
      return false;
    }
    size_ = n;
    return true;
  }
  T* data() const { return data_.get(); }
  std::size_t size() const { return size_; }

 private:
  std::unique_ptr<T[]> data_;
  std::size_t size_ = 0;
};

// The solver library takes 32-bit integers as int; jint is the same size
// (but `long` on Windows).
static_assert(sizeof(jint) == sizeof(int), "jint must be a 32-bit int");
inline const int* solverInts(const jint* values) {
  return reinterpret_cast<const int*>(values);
}
inline int* solverInts(jint* values) { return reinterpret_cast<int*>(values); }

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
jobject getArrayField(JNIEnv* env, jobject object, jclass cls, const char* name,
                      const char* sig);

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
void scale(double* values, std::size_t n, double factor);

// A table field of `object` read into `out`: `rows` rows (all of the
// outer array's rows when `rows` is negative) of the first k elements each,
// row i at k*i ... k*i+k-1. `*rowCount` receives the number of rows read.
// Every failure leaves a Java exception pending naming the field (and the
// row): NoSuchFieldError, NullPointerException, IllegalArgumentException or
// OutOfMemoryError. The field's local reference is deleted.
bool readTable(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize rows, jsize k, Buffer<jint>& out, jsize* rowCount);
bool readTable(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize rows, jsize k, Buffer<jdouble>& out, jsize* rowCount);
// The same for a one-dimensional field ("[I", "[D"): `n` elements, or all
// of them when `n` is negative.
bool readArray(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize n, Buffer<jint>& out, jsize* count);
bool readArray(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize n, Buffer<jdouble>& out, jsize* count);
// The int field `name` of `object`; a missing field leaves NoSuchFieldError.
bool readIntField(JNIEnv* env, jobject object, jclass cls, const char* name,
                  jint* value);

}  // namespace velmora
