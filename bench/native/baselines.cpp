// Bench-only JNI baselines for the bridge figures, measured in the same JVM
// as the bridge: the least any implementation of each method must spend.
//
//  - emptyCall: a static native method with the Java signature of
//    setBoundaryValueFlow that does nothing.
//  - geometryFloor: reads a geometry object the way the bridge must at the
//    very least: per field one GetFieldID and GetObjectField; per row of a
//    table GetObjectArrayElement, Get<Type>ArrayRegion of the k elements
//    read and DeleteLocalRef; one region copy per 1-D array; all into fresh
//    buffers that are freed at the end. No conversion and no routine call.
//  - fillResult: one SetDoubleArrayRegion of n doubles from a native buffer
//    into the Java array, the floor of a per-cell result getter.
//
// And, to tell where a shortfall lies, two parts of the bridge's work on
// their own: reading two names into 32-byte solver texts, and the stand-in
// solver's routines called directly (found in the already loaded
// libQuarnel.so).
#include <dlfcn.h>
#include <jni.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Table {
  const char* name;
  bool isDouble;
  int rows;  // -1: all rows of the array
  int k;
};

// Frees on scope exit; the floor never hands out what it reads.
struct Buffer {
  void* data = nullptr;
  ~Buffer() { std::free(data); }
};

jobject field(JNIEnv* env, jobject object, jclass cls, const char* name,
              const char* sig) {
  jfieldID id = env->GetFieldID(cls, name, sig);
  if (id == nullptr) return nullptr;
  return env->GetObjectField(object, id);
}

// Copies `rows` rows of k elements; returns false on a pending exception.
bool copyTable(JNIEnv* env, jobjectArray table, jsize rows, jsize k,
               bool isDouble, Buffer& out) {
  std::size_t width = isDouble ? sizeof(jdouble) : sizeof(jint);
  out.data = std::malloc(static_cast<std::size_t>(rows) * k * width + 1);
  if (out.data == nullptr) return false;
  for (jsize i = 0; i < rows; ++i) {
    jobject row = env->GetObjectArrayElement(table, i);
    if (row == nullptr) return false;
    if (isDouble)
      env->GetDoubleArrayRegion(static_cast<jdoubleArray>(row), 0, k,
                                static_cast<jdouble*>(out.data) + k * i);
    else
      env->GetIntArrayRegion(static_cast<jintArray>(row), 0, k,
                             static_cast<jint*>(out.data) + k * i);
    env->DeleteLocalRef(row);
  }
  return !env->ExceptionCheck();
}

bool copyArray(JNIEnv* env, jarray array, jsize n, bool isDouble, Buffer& out) {
  std::size_t width = isDouble ? sizeof(jdouble) : sizeof(jint);
  out.data = std::malloc(static_cast<std::size_t>(n) * width + 1);
  if (out.data == nullptr) return false;
  if (isDouble)
    env->GetDoubleArrayRegion(static_cast<jdoubleArray>(array), 0, n,
                              static_cast<jdouble*>(out.data));
  else
    env->GetIntArrayRegion(static_cast<jintArray>(array), 0, n,
                           static_cast<jint*>(out.data));
  return !env->ExceptionCheck();
}

std::vector<double> resultSource;

void* standin(const char* routine) {
  void* library = dlopen("libQuarnel.so", RTLD_NOW | RTLD_NOLOAD);
  return library == nullptr ? nullptr : dlsym(library, routine);
}

void nameText(JNIEnv* env, jstring s, char* out) {
  std::memset(out, ' ', 32);
  char bytes[32 * 3 + 1];
  jsize units = env->GetStringLength(s);
  if (units > 32) units = 32;
  env->GetStringUTFRegion(s, 0, units, bytes);
  std::size_t n = std::strlen(bytes);
  std::memcpy(out, bytes, n < 32 ? n : 32);
}

using Setter = void (*)(const char*, const char*, const double*, std::size_t,
                        std::size_t);
using CellResult = void (*)(const char*, double*, const int*, std::size_t);

}  // namespace

extern "C" {

JNIEXPORT void JNICALL Java_qel_bench_Baselines_emptyCall(JNIEnv*, jclass,
                                                          jstring, jstring,
                                                          jdouble) {}

// Returns the number of bytes the floor copied, or -1 on failure.
JNIEXPORT jlong JNICALL Java_qel_bench_Baselines_geometryFloor(
    JNIEnv* env, jclass, jstring subbasin, jobject geometry) {
  char name[32];
  std::memset(name, ' ', sizeof name);
  jsize nameLength = env->GetStringUTFLength(subbasin);
  if (nameLength <= 32)
    env->GetStringUTFRegion(subbasin, 0, env->GetStringLength(subbasin), name);
  jclass cls = env->GetObjectClass(geometry);
  jfieldID internalId = env->GetFieldID(cls, "_numberInternalCells", "I");
  jfieldID maxNodesId = env->GetFieldID(cls, "_maxNumberNodesPerCell", "I");
  if (internalId == nullptr || maxNodesId == nullptr) return -1;
  volatile jint internal = env->GetIntField(geometry, internalId);
  (void)internal;
  jint maxNodes = env->GetIntField(geometry, maxNodesId);

  jarray areas =
      static_cast<jarray>(field(env, geometry, cls, "_cellBathAreas", "[D"));
  if (areas == nullptr) return -1;
  jsize cells = env->GetArrayLength(areas);
  Buffer areaCopy;
  if (!copyArray(env, areas, cells, true, areaCopy)) return -1;
  env->DeleteLocalRef(areas);
  jlong bytes = static_cast<jlong>(cells) * 8;

  // Rows read: -1 all of them, -2 the cell count, -3 the node count, -4 the
  // cell-face value count, -5 the face count.
  static const Table kTables[] = {
      {"_cellCoordinates", true, -2, 2},
      {"_cellFaceOrientationInfo", false, -2, 2},
      {"_cellFaceOrientationValues", false, -1, 2},
      {"_cellNodeIndices", false, -2, 0},
      {"_nodeCellInfo", false, -1, 2},
      {"_nodeCoordinates", true, -1, 2},
      {"_nodeFaceOrientationInfo", false, -3, 2},
      {"_nodeFaceOrientationValues", false, -4, 2},
      {"_faceNormalVector", true, -1, 2},
      {"_faceNodeIndices", false, -5, 2},
  };
  jsize nodes = 0, cellFaceValues = 0, faces = 0;
  Buffer copies[sizeof kTables / sizeof kTables[0]];
  for (std::size_t t = 0; t < sizeof kTables / sizeof kTables[0]; ++t) {
    const Table& table = kTables[t];
    jobjectArray rows = static_cast<jobjectArray>(
        field(env, geometry, cls, table.name, table.isDouble ? "[[D" : "[[I"));
    if (rows == nullptr) return -1;
    jsize n = 0;
    switch (table.rows) {
      case -1:
        n = env->GetArrayLength(rows);
        break;
      case -2:
        n = cells;
        break;
      case -3:
        n = nodes;
        break;
      case -4:
        n = cellFaceValues;
        break;
      default:
        n = faces;
        break;
    }
    if (std::strcmp(table.name, "_cellFaceOrientationValues") == 0)
      cellFaceValues = n;
    if (std::strcmp(table.name, "_nodeCoordinates") == 0) nodes = n;
    if (std::strcmp(table.name, "_faceNormalVector") == 0) faces = n;
    jsize k = table.k == 0 ? maxNodes : table.k;
    if (!copyTable(env, rows, n, k, table.isDouble, copies[t])) return -1;
    env->DeleteLocalRef(rows);
    bytes += static_cast<jlong>(n) * k * (table.isDouble ? 8 : 4);
  }

  jarray nodeCellValues =
      static_cast<jarray>(field(env, geometry, cls, "_nodeCellValues", "[I"));
  jarray lengths =
      static_cast<jarray>(field(env, geometry, cls, "_faceVectorLength", "[D"));
  if (nodeCellValues == nullptr || lengths == nullptr) return -1;
  Buffer valuesCopy, lengthCopy;
  jsize nodeCellValueCount = env->GetArrayLength(nodeCellValues);
  if (!copyArray(env, nodeCellValues, nodeCellValueCount, false, valuesCopy) ||
      !copyArray(env, lengths, faces, true, lengthCopy))
    return -1;
  bytes += static_cast<jlong>(nodeCellValueCount) * 4 +
           static_cast<jlong>(faces) * 8;
  // Keep the compiler from dropping the copies.
  volatile char sink = name[0] + *static_cast<char*>(areaCopy.data);
  (void)sink;
  return bytes;
}

JNIEXPORT void JNICALL Java_qel_bench_Baselines_prepareResult(JNIEnv*, jclass,
                                                              jint n) {
  try {
    resultSource.assign(static_cast<std::size_t>(n), 0.0);
  } catch (...) {
    resultSource.clear();
    return;
  }
  for (jint i = 0; i < n; ++i) resultSource[i] = 1000000.0 + 3000.0 + i;
}

JNIEXPORT void JNICALL Java_qel_bench_Baselines_fillResult(JNIEnv* env, jclass,
                                                           jstring,
                                                           jdoubleArray values,
                                                           jint) {
  env->SetDoubleArrayRegion(values, 0, static_cast<jsize>(resultSource.size()),
                            resultSource.data());
}

JNIEXPORT void JNICALL Java_qel_bench_Baselines_readTwoNames(
    JNIEnv* env, jclass, jstring subbasin, jstring boundary, jdouble) {
  char a[32], b[32];
  nameText(env, subbasin, a);
  nameText(env, boundary, b);
  volatile char sink = a[0] + b[0];
  (void)sink;
}

// Calls SETBOUNDARYVALUEFLOW n times with fixed texts; false when the
// stand-in is not loaded.
JNIEXPORT jboolean JNICALL Java_qel_bench_Baselines_standinSetter(JNIEnv*,
                                                                  jclass,
                                                                  jint n) {
  auto routine = reinterpret_cast<Setter>(standin("SETBOUNDARYVALUEFLOW"));
  if (routine == nullptr) return JNI_FALSE;
  char a[32], b[32];
  std::memset(a, ' ', 32);
  std::memset(b, ' ', 32);
  std::memcpy(a, "subbasin_name_0001xy", 20);
  std::memcpy(b, "boundary_name_0001xy", 20);
  for (jint i = 0; i < n; ++i) {
    double value = i;
    routine(a, b, &value, 32, 32);
  }
  return JNI_TRUE;
}

// Calls GETSUBBASINCELLWATERLEVEL into a native buffer of n doubles.
JNIEXPORT jboolean JNICALL Java_qel_bench_Baselines_standinCellResult(
    JNIEnv* env, jclass, jstring subbasin, jint n) {
  auto routine =
      reinterpret_cast<CellResult>(standin("GETSUBBASINCELLWATERLEVEL"));
  if (routine == nullptr) return JNI_FALSE;
  static std::vector<double> target;
  try {
    target.resize(static_cast<std::size_t>(n));
  } catch (...) {
    return JNI_FALSE;
  }
  char text[32];
  nameText(env, subbasin, text);
  int i1 = 0;
  routine(text, target.data(), &i1, 32);
  return JNI_TRUE;
}

}  // extern "C"
