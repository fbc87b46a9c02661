#include "jni_support.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace velmora {

void throwLiteral(JNIEnv* env, const char* className,
                  const char* message) noexcept {
  if (env->ExceptionCheck()) return;
  jclass cls = env->FindClass(className);
  // When even the exception class cannot be found, FindClass has left its
  // own error pending, which serves as well.
  if (cls != nullptr) {
    env->ThrowNew(cls, message);
    env->DeleteLocalRef(cls);
  }
}

namespace {
void throwV(JNIEnv* env, const char* className, const char* format,
            va_list args) noexcept {
  char message[512];
  std::vsnprintf(message, sizeof message, format, args);
  throwLiteral(env, className, message);
}
}  // namespace

#define VELMORA_THROW_FORMATTED(className) \
  va_list args;                            \
  va_start(args, format);                  \
  throwV(env, className, format, args);    \
  va_end(args)

void throwFormatted(JNIEnv* env, const char* className, const char* format,
                    ...) noexcept {
  VELMORA_THROW_FORMATTED(className);
}

void throwIllegalArgument(JNIEnv* env, const char* format, ...) noexcept {
  VELMORA_THROW_FORMATTED("java/lang/IllegalArgumentException");
}

void throwIllegalState(JNIEnv* env, const char* format, ...) noexcept {
  VELMORA_THROW_FORMATTED("java/lang/IllegalStateException");
}

void throwNullArgument(JNIEnv* env, const char* what) noexcept {
  throwFormatted(env, "java/lang/NullPointerException", "%s is null", what);
}

void throwOutOfMemory(JNIEnv* env, const char* what) noexcept {
  throwFormatted(env, "java/lang/OutOfMemoryError",
                 "cannot allocate the buffer for %s", what);
}

void printLine(const char* format, ...) noexcept {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}

bool copySolverText(JNIEnv* env, jstring s, char* out, std::size_t n,
                    const char* what) {
  if (s == nullptr) {
    throwNullArgument(env, what);
    return false;
  }
  constexpr std::size_t kMaxText = 256;
  // A UTF-16 unit takes at most 3 bytes in modified UTF-8, so the first n
  // units always yield at least n bytes when the string has that many.
  char utf[3 * kMaxText + 1];
  const std::size_t width = n < kMaxText ? n : kMaxText;
  const jsize units = env->GetStringLength(s);
  const jsize take =
      units < static_cast<jsize>(width) ? units : static_cast<jsize>(width);
  std::memset(utf, 0, 3 * static_cast<std::size_t>(take) + 1);
  // take is within the string, so the region cannot fail.
  env->GetStringUTFRegion(s, 0, take, utf);
  // Modified UTF-8 holds no zero byte, so the text ends at the first one.
  const void* end = std::memchr(utf, '\0', width);
  const std::size_t bytes =
      end != nullptr
          ? static_cast<std::size_t>(static_cast<const char*>(end) - utf)
          : width;
  std::memcpy(out, utf, bytes);
  std::memset(out + bytes, ' ', n - bytes);
  return true;
}

jdouble* ElementsAccess::get(JNIEnv* env, jdoubleArray array) {
  return env->GetDoubleArrayElements(array, nullptr);
}

void ElementsAccess::release(JNIEnv* env, jdoubleArray array,
                             jdouble* elements) {
  env->ReleaseDoubleArrayElements(array, elements, 0);
}

jdouble* CriticalAccess::get(JNIEnv* env, jdoubleArray array) {
  void* elements = env->GetPrimitiveArrayCritical(array, nullptr);
  if (elements != nullptr) enterCriticalRegion();
  return static_cast<jdouble*>(elements);
}

void CriticalAccess::release(JNIEnv* env, jdoubleArray array,
                             jdouble* elements) {
  env->ReleasePrimitiveArrayCritical(array, elements, 0);
  leaveCriticalRegion(env);
}

jobject getArrayField(JNIEnv* env, jobject object, jclass cls, const char* name,
                      const char* sig) {
  jfieldID fid = env->GetFieldID(cls, name, sig);
  if (fid == nullptr) return nullptr;  // NoSuchFieldError is pending
  jobject value = env->GetObjectField(object, fid);
  if (value == nullptr) {
    throwFormatted(env, "java/lang/NullPointerException", "field %s is null",
                   name);
  }
  return value;
}

bool requireLength(JNIEnv* env, jarray array, jsize needed, const char* what,
                   const char* unit) {
  const jsize length = env->GetArrayLength(array);
  if (length < needed) {
    throwIllegalArgument(env, "%s has %d %s, needs %d", what,
                         static_cast<int>(length), unit,
                         static_cast<int>(needed));
    return false;
  }
  return true;
}

namespace {

template <typename Array, typename Elem>
void region(JNIEnv* env, Array array, jsize n, Elem* out);

template <>
void region(JNIEnv* env, jintArray array, jsize n, jint* out) {
  env->GetIntArrayRegion(array, 0, n, out);
}
template <>
void region(JNIEnv* env, jdoubleArray array, jsize n, jdouble* out) {
  env->GetDoubleArrayRegion(array, 0, n, out);
}

template <typename Array, typename Elem>
bool copyElementsImpl(JNIEnv* env, Array array, jsize n, Elem* out,
                      const char* what) {
  if (array == nullptr) {
    throwNullArgument(env, what);
    return false;
  }
  if (n <= 0) return true;
  if (!requireLength(env, array, n, what)) return false;
  region(env, array, n, out);
  return !env->ExceptionCheck();
}

template <typename Array, typename Elem>
bool copyRowsImpl(JNIEnv* env, jobjectArray table, jsize rows, jsize k,
                  Elem* out, const char* what) {
  if (table == nullptr) {
    throwNullArgument(env, what);
    return false;
  }
  if (rows <= 0) return true;
  if (!requireLength(env, table, rows, what, "rows")) return false;
  for (jsize i = 0; i < rows; ++i) {
    // i is below the length checked above, so this cannot throw; a mesh
    // has millions of rows, and every JNI call per row counts.
    ScopedLocalRef<jobject> row(env, env->GetObjectArrayElement(table, i));
    if (row.get() == nullptr) {
      throwFormatted(env, "java/lang/NullPointerException", "%s row %d is null",
                     what, static_cast<int>(i));
      return false;
    }
    Array typed = static_cast<Array>(row.get());
    const jsize length = env->GetArrayLength(typed);
    if (length < k) {
      throwIllegalArgument(env, "%s row %d has %d elements, needs %d", what,
                           static_cast<int>(i), static_cast<int>(length),
                           static_cast<int>(k));
      return false;
    }
    if (k > 0) region(env, typed, k, out + static_cast<std::size_t>(k) * i);
  }
  return !env->ExceptionCheck();
}

}  // namespace

bool copyElements(JNIEnv* env, jintArray array, jsize n, jint* out,
                  const char* what) {
  return copyElementsImpl(env, array, n, out, what);
}

bool copyElements(JNIEnv* env, jdoubleArray array, jsize n, jdouble* out,
                  const char* what) {
  return copyElementsImpl(env, array, n, out, what);
}

bool copyRows(JNIEnv* env, jobjectArray table, jsize rows, jsize k, jint* out,
              const char* what) {
  return copyRowsImpl<jintArray>(env, table, rows, k, out, what);
}

bool copyRows(JNIEnv* env, jobjectArray table, jsize rows, jsize k,
              jdouble* out, const char* what) {
  return copyRowsImpl<jdoubleArray>(env, table, rows, k, out, what);
}

void scale(double* values, std::size_t n, double factor) {
  for (std::size_t i = 0; i < n; ++i) values[i] *= factor;
}

namespace {

template <typename T>
struct Signature;
template <>
struct Signature<jint> {
  static constexpr const char* table = "[[I";
  static constexpr const char* array = "[I";
};
template <>
struct Signature<jdouble> {
  static constexpr const char* table = "[[D";
  static constexpr const char* array = "[D";
};

template <typename T>
bool readTableImpl(JNIEnv* env, jobject object, jclass cls, const char* field,
                   jsize rows, jsize k, Buffer<T>& out, jsize* rowCount) {
  ScopedLocalRef<jobject> value(
      env, getArrayField(env, object, cls, field, Signature<T>::table));
  if (value.get() == nullptr) return false;
  jobjectArray table = static_cast<jobjectArray>(value.get());
  const jsize n = rows == kAllRows ? env->GetArrayLength(table) : rows;
  if (k < 0) {
    throwIllegalArgument(env, "%s: negative row width %d", field,
                         static_cast<int>(k));
    return false;
  }
  if (!out.allocate(env, static_cast<std::size_t>(n) * k, field)) return false;
  if (!copyRows(env, table, n, k, out.data(), field)) return false;
  if (rowCount != nullptr) *rowCount = n;
  return true;
}

template <typename T, typename Array>
bool readArrayImpl(JNIEnv* env, jobject object, jclass cls, const char* field,
                   jsize n, Buffer<T>& out, jsize* count) {
  ScopedLocalRef<jobject> value(
      env, getArrayField(env, object, cls, field, Signature<T>::array));
  if (value.get() == nullptr) return false;
  Array array = static_cast<Array>(value.get());
  const jsize length = n == kAllRows ? env->GetArrayLength(array) : n;
  if (!out.allocate(env, static_cast<std::size_t>(length), field)) {
    return false;
  }
  if (!copyElements(env, array, length, out.data(), field)) return false;
  if (count != nullptr) *count = length;
  return true;
}

}  // namespace

bool readTable(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize rows, jsize k, Buffer<jint>& out, jsize* rowCount) {
  return readTableImpl(env, object, cls, field, rows, k, out, rowCount);
}

bool readTable(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize rows, jsize k, Buffer<jdouble>& out, jsize* rowCount) {
  return readTableImpl(env, object, cls, field, rows, k, out, rowCount);
}

bool readArray(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize n, Buffer<jint>& out, jsize* count) {
  return readArrayImpl<jint, jintArray>(env, object, cls, field, n, out, count);
}

bool readArray(JNIEnv* env, jobject object, jclass cls, const char* field,
               jsize n, Buffer<jdouble>& out, jsize* count) {
  return readArrayImpl<jdouble, jdoubleArray>(env, object, cls, field, n, out,
                                              count);
}

bool readIntField(JNIEnv* env, jobject object, jclass cls, const char* name,
                  jint* value) {
  jfieldID fid = env->GetFieldID(cls, name, "I");
  if (fid == nullptr) return false;  // NoSuchFieldError is pending
  *value = env->GetIntField(object, fid);
  return true;
}

}  // namespace velmora
