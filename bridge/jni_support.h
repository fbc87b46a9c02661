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
#include <utility>

#include "frame.h"
#include "quarnel.h"

namespace velmora {

// --- Java exceptions ------------------------------------------------------
//
// The one family of throw helpers. Each does nothing when an exception is
// already pending (the first one stays), and formats its message on the
// stack (at most 511 bytes): reporting bad input must not itself fail for
// want of memory.

#if defined(__GNUC__)
#define VELMORA_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define VELMORA_PRINTF(f, a)
#endif

void throwLiteral(JNIEnv* env, const char* className,
                  const char* message) noexcept;
void throwFormatted(JNIEnv* env, const char* className, const char* format,
                    ...) noexcept VELMORA_PRINTF(3, 4);
// NullPointerException("<what> is null").
void throwNullArgument(JNIEnv* env, const char* what) noexcept;
void throwIllegalArgument(JNIEnv* env, const char* format, ...) noexcept
    VELMORA_PRINTF(2, 3);
void throwIllegalState(JNIEnv* env, const char* format, ...) noexcept
    VELMORA_PRINTF(2, 3);
// OutOfMemoryError("cannot allocate the buffer for <what>").
void throwOutOfMemory(JNIEnv* env, const char* what) noexcept;

// --- Diagnostic output ------------------------------------------------------

// Prints one line (`format` ends in "\n") on standard output and flushes it
// at once: standard output is buffered when it is not a terminal, and an
// unflushed line would appear out of order with Java's own output, or not at
// all if the process ends abruptly.
void printLine(const char* format, ...) noexcept VELMORA_PRINTF(1, 2);

// Runs a native method's body so that no C++ exception leaves it: a
// std::bad_alloc becomes OutOfMemoryError, anything else java.lang.Error,
// both thrown only when no Java exception is pending yet. Every native
// method runs its body here, which is also where the Java VM is recorded
// for the relay the first time any method runs.
template <typename Body>
void guarded(JNIEnv* env, Body&& body) noexcept {
  rememberJavaVm(env);
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
  ~ScopedLocalRef() { reset(); }
  ScopedLocalRef(const ScopedLocalRef&) = delete;
  ScopedLocalRef& operator=(const ScopedLocalRef&) = delete;
  ScopedLocalRef(ScopedLocalRef&& other) noexcept
      : env_(other.env_), ref_(other.release()) {}
  ScopedLocalRef& operator=(ScopedLocalRef&& other) noexcept {
    if (this != &other) {
      reset(other.release());
      env_ = other.env_;
    }
    return *this;
  }
  T get() const { return ref_; }
  // Gives up the reference without deleting it.
  T release() { return std::exchange(ref_, nullptr); }
  // Deletes the reference held, if any, and holds `ref` instead.
  void reset(T ref = nullptr) {
    if (ref_ != nullptr) env_->DeleteLocalRef(ref_);
    ref_ = ref;
  }

 private:
  JNIEnv* env_;
  T ref_;
};

// --- Solver text arguments ------------------------------------------------

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
  static constexpr FLen kLength = N;
  bool read(JNIEnv* env, jstring s, const char* what) {
    return copySolverText(env, s, bytes_, N, what);
  }
  const char* data() const { return bytes_; }

 private:
  char bytes_[N];
};

using Name = SolverText<kNameWidth>;

// The shape of nearly every native method: under guarded(), the subbasin
// name is read (and then a second name of width N: a boundary or a
// method), and `call` gets their solver texts. A null name throws
// NullPointerException naming it, and `call` is not made.
template <typename Call>
void withSubbasin(JNIEnv* env, jstring subbasin, Call&& call) noexcept {
  guarded(env, [&] {
    Name name;
    if (name.read(env, subbasin, "subbasin")) call(name.data());
  });
}

template <std::size_t N = kNameWidth, typename Call>
void withNames(JNIEnv* env, jstring subbasin, jstring second,
               const char* secondWhat, Call&& call) noexcept {
  guarded(env, [&] {
    Name name;
    SolverText<N> other;
    if (name.read(env, subbasin, "subbasin") &&
        other.read(env, second, secondWhat)) {
      call(name.data(), other.data());
    }
  });
}

// The shape of the methods that read a Java object into a record of
// buffers: under withSubbasin, a null `object` throws NullPointerException
// naming `what`, `read(env, object, record)` fills a fresh Record, and
// `call(name, record)` hands it to the routine once it was read in full.
template <typename Record, typename Read, typename Call>
void withSubbasinRecord(JNIEnv* env, jstring subbasin, jobject object,
                        const char* what, Read&& read, Call&& call) noexcept {
  withSubbasin(env, subbasin, [&](const char* name) {
    if (object == nullptr) {
      throwNullArgument(env, what);
      return;
    }
    Record record;
    if (read(env, object, record)) call(name, record);
  });
}

// --- Owned buffers ----------------------------------------------------------

// The bridge's owned buffer: n elements whose memory is not initialised,
// since each element is written by the copy that follows, so a large mesh is
// touched once. Even for n = 0 it holds one element, so a routine never
// receives a null pointer. allocate() throws OutOfMemoryError naming `what`
// when the memory cannot be had (or n elements cannot even be counted in
// bytes).
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

// --- Arrays handed over in place --------------------------------------------

// Get<Type>ArrayElements and Release in mode 0, so whatever the routine
// wrote reaches the Java array. For arrays a routine may hold while it
// relays a message to Java.
struct ElementsAccess {
  static jdouble* get(JNIEnv* env, jdoubleArray array);
  static void release(JNIEnv* env, jdoubleArray array, jdouble* elements);
};

// GetPrimitiveArrayCritical, which on HotSpot hands over the array itself,
// for a routine that only writes values. No JNI call may be made while the
// region is held, so the relay holds messages that arrive in it and delivers
// them once it is released.
struct CriticalAccess {
  static jdouble* get(JNIEnv* env, jdoubleArray array);
  static void release(JNIEnv* env, jdoubleArray array, jdouble* elements);
};

// The double arrays a routine receives in place, up to N of them, each
// obtained by add() in the routine's order. The guard releases all it
// obtained (mode 0) when it goes out of scope, however the method ends, in
// the order they were obtained: that is the order in which the copies reach
// the Java arrays, while N guards of one array each would release them the
// other way round. (Names need no such guard: withSubbasin and withNames
// copy their bytes into solver texts and hold nothing.)
template <std::size_t N, typename Access>
class InPlaceArrays {
 public:
  explicit InPlaceArrays(JNIEnv* env) : env_(env) {}
  ~InPlaceArrays() {
    for (std::size_t i = 0; i < count_; ++i) {
      Access::release(env_, arrays_[i], elements_[i]);
    }
  }
  InPlaceArrays(const InPlaceArrays&) = delete;
  InPlaceArrays& operator=(const InPlaceArrays&) = delete;
  // Obtains `array` as the next one. A null array throws
  // NullPointerException naming `what`.
  bool add(jdoubleArray array, const char* what) {
    static_assert(N > 0, "an in-place guard holds at least one array");
    if (count_ == N) {
      throwLiteral(env_, "java/lang/Error",
                   "more in-place arrays than the solver bridge can hold");
      return false;
    }
    if (array == nullptr) {
      throwNullArgument(env_, what);
      return false;
    }
    jdouble* elements = Access::get(env_, array);
    if (elements == nullptr) return false;  // OutOfMemoryError is pending
    arrays_[count_] = array;
    elements_[count_] = elements;
    ++count_;
    return true;
  }
  // The elements of the i-th array obtained.
  jdouble* operator[](std::size_t i) const { return elements_[i]; }

 private:
  JNIEnv* env_;
  std::size_t count_ = 0;
  jdoubleArray arrays_[N] = {};
  jdouble* elements_[N] = {};
};

template <std::size_t N>
using DoubleElements = InPlaceArrays<N, ElementsAccess>;
using CriticalDoubles = InPlaceArrays<1, CriticalAccess>;

// --- Fields and copies of read-only arrays ----------------------------------

// Throws IllegalArgumentException "<what> has <length> elements, needs
// <needed>" when the array is shorter than `needed`.
bool requireLength(JNIEnv* env, jarray array, jsize needed, const char* what,
                   const char* unit = "elements");

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
void scale(double* values, std::size_t n, double factor);

// Read every row of a table, every element of an array.
constexpr jsize kAllRows = -1;

// A table field of `object` read into `out`: `rows` rows (all of the
// outer array's rows for kAllRows) of the first k elements each,
// row i at k*i ... k*i+k-1. `*rowCount` receives the number of rows read.
// Every failure leaves a Java exception pending naming the field (and the
// row): NoSuchFieldError, NullPointerException, IllegalArgumentException or
// OutOfMemoryError. The field's local reference is deleted.
bool readTable(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize rows, jsize k, Buffer<jint>& out, jsize* rowCount);
bool readTable(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize rows, jsize k, Buffer<jdouble>& out, jsize* rowCount);
// The same for a one-dimensional field ("[I", "[D"): `n` elements, or all
// of them for kAllRows.
bool readArray(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize n, Buffer<jint>& out, jsize* count);
bool readArray(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize n, Buffer<jdouble>& out, jsize* count);
// The int field `name` of `object`; a missing field leaves NoSuchFieldError.
bool readIntField(JNIEnv* env, jobject object, jclass cls, const char* name,
                  jint* value);

}  // namespace velmora
