// The bridge's marshalling of geometry, bathymetry and boundary objects
// through the fake JNIEnv, with fuzzed shapes: row counts, row lengths,
// null rows, null arrays, missing fields and fields of the wrong type; and
// cell and face results into arrays of fuzzed length after a fuzzed mesh.
// The stand-in solver is linked in with its journal off.
//
// The fake hands out every array copy as a block of exactly its size, so
// ASan sees any read past a row or an array. Beyond that, each call must
// leave the environment clean (no JNI call with an exception pending, every
// element block released, local references bounded whatever the row count),
// and must raise a Java exception exactly when the object breaks one of the
// requirements the bridge documents (null, too short, missing field, no
// mesh for a result), so
// that bad input never reaches the solver and good input always does.
#include <fuzzer/FuzzedDataProvider.h>
#include <jni.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake_jni.h"
#include "native_methods.h"

// Huge counts ask for more memory than exists; the bridge must turn that
// into OutOfMemoryError, which needs operator new to throw, not abort.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1";
}

namespace {

// Local references a JVM guarantees without EnsureLocalCapacity, with room
// for what a method holds at once; a row loop that keeps its rows exceeds it.
constexpr int kLocalRefBound = 32;

enum class Verdict { kValid, kInvalid, kUnknown };

struct Oracle {
  bool invalid = false;
  bool unknown = false;
  Verdict verdict() const {
    if (invalid) return Verdict::kInvalid;
    return unknown ? Verdict::kUnknown : Verdict::kValid;
  }
};

class Builder {
 public:
  Builder(fakejni::FakeJvm& jvm, FuzzedDataProvider& in, Oracle& oracle)
      : jvm_(jvm), in_(in), oracle_(oracle) {}

  jstring name() {
    if (in_.ConsumeIntegralInRange<int>(0, 15) == 0) {
      oracle_.invalid = true;
      return nullptr;
    }
    std::size_t n = in_.ConsumeIntegralInRange<std::size_t>(0, 40);
    std::u16string units;
    for (std::size_t i = 0; i < n; ++i) {
      // Mostly ASCII, sometimes any UTF-16 unit, lone surrogates included.
      units += in_.ConsumeBool()
                   ? static_cast<char16_t>(
                         in_.ConsumeIntegralInRange<int>(0x20, 0x7e))
                   : in_.ConsumeIntegral<char16_t>();
    }
    return jvm_.string16(units);
  }

  int count(int typicalMax) {
    switch (in_.ConsumeIntegralInRange<int>(0, 31)) {
      case 0:
        return in_.ConsumeIntegralInRange<int>(0, 300);
      case 1:
        return 0;
      default:
        return in_.ConsumeIntegralInRange<int>(0, typicalMax);
    }
  }

  // How a field is declared: 0 as it should be, 1 missing, 2 holding null,
  // 3 under another signature.
  int fieldState() {
    int s = in_.ConsumeIntegralInRange<int>(0, 40);
    return s <= 3 ? s : 0;
  }

  jint intValue() { return in_.ConsumeIntegral<jint>(); }

  double doubleValue() {
    return in_.ConsumeBool() ? in_.ConsumeFloatingPoint<double>()
                             : in_.ConsumeIntegralInRange<int>(-100, 100);
  }

  // A 1-D array field; `need` elements are read (-1: all of them). Returns
  // the array's length.
  int array1(jobject object, const char* field, bool isDouble, int need,
             int typicalMax) {
    int state = fieldState();
    int n = count(typicalMax);
    if (state != 0) oracle_.invalid = true;
    if (state == 1) return n;
    if (state == 2) {
      jvm_.setObjectField(object, field, isDouble ? "[D" : "[I", nullptr);
      return n;
    }
    std::vector<jint> ints;
    std::vector<jdouble> doubles;
    for (int i = 0; i < n; ++i) {
      if (isDouble)
        doubles.push_back(doubleValue());
      else
        ints.push_back(intValue());
    }
    bool asDouble = state == 3 ? !isDouble : isDouble;
    jobject array;
    if (asDouble)
      array = jvm_.doubles(isDouble ? doubles : std::vector<jdouble>(n));
    else
      array = jvm_.ints(isDouble ? std::vector<jint>(n) : ints);
    jvm_.setObjectField(object, field, asDouble ? "[D" : "[I", array);
    if (state == 0 && need > n) oracle_.invalid = true;
    return n;
  }

  // A table of rows; `need` rows are read (-1: all of them), the first k
  // elements of each. Returns the number of rows.
  int table(jobject object, const char* field, bool isDouble, int need, int k,
            int typicalMax) {
    int state = fieldState();
    int rows = count(typicalMax);
    const char* sig = isDouble ? "[[D" : "[[I";
    if (state != 0) oracle_.invalid = true;
    if (state == 1) return rows;
    if (state == 2) {
      jvm_.setObjectField(object, field, sig, nullptr);
      return rows;
    }
    bool asDouble = state == 3 ? !isDouble : isDouble;
    int read = need < 0 ? rows : need;
    if (read > rows) oracle_.invalid = true;
    std::vector<jobject> elements;
    for (int i = 0; i < rows; ++i) {
      int shape = in_.ConsumeIntegralInRange<int>(0, 63);
      bool counted = i < read;
      if (shape == 0) {
        elements.push_back(nullptr);
        if (counted && state == 0) {
          // A null row of which nothing is read may or may not be touched.
          if (k > 0)
            oracle_.invalid = true;
          else
            oracle_.unknown = true;
        }
        continue;
      }
      int length = k + in_.ConsumeIntegralInRange<int>(0, 2);
      if (shape == 1 && k > 0)
        length = in_.ConsumeIntegralInRange<int>(0, k - 1);
      if (counted && state == 0 && length < k) oracle_.invalid = true;
      if (asDouble) {
        std::vector<jdouble> row;
        for (int j = 0; j < length; ++j) row.push_back(doubleValue());
        elements.push_back(jvm_.doubles(row));
      } else {
        std::vector<jint> row;
        for (int j = 0; j < length; ++j) row.push_back(intValue());
        elements.push_back(jvm_.ints(row));
      }
    }
    jobjectArray table = jvm_.objects(elements, asDouble ? "[[D" : "[[I");
    jvm_.setObjectField(object, field, asDouble ? "[[D" : "[[I", table);
    return rows;
  }

  // An "I" field; returns its value.
  jint intField(jobject object, const char* field, jint value) {
    int state = fieldState();
    if (state == 0) {
      jvm_.setIntField(object, field, value);
    } else {
      oracle_.invalid = true;
      if (state >= 2) jvm_.setDoubleField(object, field, value);
    }
    return value;
  }

  // A null object, sometimes.
  bool nullObject() {
    if (in_.ConsumeIntegralInRange<int>(0, 31) != 0) return false;
    oracle_.invalid = true;
    return true;
  }

 private:
  fakejni::FakeJvm& jvm_;
  FuzzedDataProvider& in_;
  Oracle& oracle_;
};

// Hands a fuzzed mesh to initializeSubbasinGeometry under `subbasin` (a
// fuzzed name when null); *cells and *faces receive the mesh's counts.
void geometry(fakejni::FakeJvm& jvm, FuzzedDataProvider& in, Oracle& oracle,
              jstring subbasin = nullptr, int* cellCount = nullptr,
              int* faceCount = nullptr) {
  Builder b(jvm, in, oracle);
  if (subbasin == nullptr) subbasin = b.name();
  jobject g = jvm.newObject("qel/surface/SubbasinGeometry");
  int cells = b.array1(g, "_cellBathAreas", true, -1, 12);
  b.intField(g, "_numberInternalCells", b.intValue());
  jint maxNodes;
  switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0:
      maxNodes = in.PickValueInArray({-1, INT_MIN, 0, 1 << 16});
      break;
    default:
      maxNodes = in.ConsumeIntegralInRange<jint>(1, 8);
  }
  b.intField(g, "_maxNumberNodesPerCell", maxNodes);
  // What a negative row width means is the implementer's choice.
  if (maxNodes < 0) oracle.unknown = true;
  b.table(g, "_cellCoordinates", true, cells, 2, 12);
  b.table(g, "_cellFaceOrientationInfo", false, cells, 2, 12);
  int cellFaceValues =
      b.table(g, "_cellFaceOrientationValues", false, -1, 2, 24);
  b.table(g, "_cellNodeIndices", false, cells, maxNodes < 0 ? 0 : maxNodes, 12);
  b.table(g, "_nodeCellInfo", false, -1, 2, 12);
  b.array1(g, "_nodeCellValues", false, -1, 24);
  int nodes = b.table(g, "_nodeCoordinates", true, -1, 2, 12);
  b.table(g, "_nodeFaceOrientationInfo", false, nodes, 2, 12);
  b.table(g, "_nodeFaceOrientationValues", false, cellFaceValues, 2, 24);
  int faces = b.table(g, "_faceNormalVector", true, -1, 2, 12);
  b.array1(g, "_faceVectorLength", true, faces, 12);
  b.table(g, "_faceNodeIndices", false, faces, 2, 12);
  if (cellCount != nullptr) *cellCount = cells;
  if (faceCount != nullptr) *faceCount = faces;
  if (b.nullObject()) g = nullptr;
  jvm.clearCalls();
  Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(jvm.env(), nullptr,
                                                             subbasin, g);
}

void bathymetry(fakejni::FakeJvm& jvm, FuzzedDataProvider& in, Oracle& oracle) {
  Builder b(jvm, in, oracle);
  jstring subbasin = b.name();
  jobject t = jvm.newObject("qel/surface/SubbasinBathymetry");
  b.table(t, "_cellVolumeElevationInfo", false, -1, 2, 12);
  b.table(t, "_cellVolumeElevationValues", true, -1, 2, 24);
  b.table(t, "_faceAreaElevationInfo", false, -1, 2, 12);
  b.table(t, "_faceAreaElevationValues", true, -1, 4, 24);
  if (b.nullObject()) t = nullptr;
  jvm.clearCalls();
  Java_qel_surface_Native2DSolver_initializeSubbasinBathymetry(
      jvm.env(), nullptr, subbasin, t);
}

jdoubleArray curve(fakejni::FakeJvm& jvm, FuzzedDataProvider& in, int points,
                   Oracle& oracle) {
  if (in.ConsumeIntegralInRange<int>(0, 31) == 0) {
    oracle.invalid = true;
    return nullptr;
  }
  // The caller sizes the curve arrays for the points it declares; the
  // solver reads and writes that many.
  std::vector<jdouble> v(points + in.ConsumeIntegralInRange<int>(0, 3));
  for (jdouble& x : v) x = in.ConsumeIntegralInRange<int>(-50, 50);
  return jvm.doubles(v);
}

void boundary(fakejni::FakeJvm& jvm, FuzzedDataProvider& in, Oracle& oracle,
              int kind) {
  Builder b(jvm, in, oracle);
  jstring subbasin = b.name();
  jstring name = b.name();
  jobject faces = jvm.newObject("qel/surface/BoundaryFaces");
  int n = b.array1(faces, "_faceIndex", false, -1, 16);
  b.array1(faces, "_faceFraction", true, n, 16);
  if (b.nullObject()) faces = nullptr;
  double value = b.doubleValue();
  JNIEnv* env = jvm.env();
  switch (kind) {
    case 0:
      jvm.clearCalls();
      Java_qel_surface_Native2DSolver_setBoundaryNormalDepth(
          env, nullptr, subbasin, name, faces, value);
      break;
    case 1: {
      jint points = in.ConsumeIntegralInRange<jint>(-2, 12);
      int sized = points > 0 ? points : 0;
      jdoubleArray c1 = curve(jvm, in, sized, oracle);
      jdoubleArray c2 = curve(jvm, in, sized, oracle);
      jvm.clearCalls();
      Java_qel_surface_Native2DSolver_setBoundaryRatingCurve(
          env, nullptr, subbasin, name, faces, points, c1, c2);
      break;
    }
    case 2:
      jvm.clearCalls();
      Java_qel_surface_Native2DSolver_setBoundaryFlow(env, nullptr, subbasin,
                                                      name, faces, 0.0, value);
      break;
    default:
      jvm.clearCalls();
      Java_qel_surface_Native2DSolver_setBoundaryStage(env, nullptr, subbasin,
                                                       name, faces, 0.0, value);
      break;
  }
}

// A cell or face result after a fuzzed geometry under the same name: the
// values array must hold one value per cell (face) of that mesh, and the
// name must have a mesh at all, or the call is refused before the solver
// writes anything.
void result(fakejni::FakeJvm& jvm, FuzzedDataProvider& in, Oracle& oracle) {
  Builder b(jvm, in, oracle);
  jstring subbasin = b.name();
  int cells = 0;
  int faces = 0;
  bool meshKept = false;
  if (subbasin != nullptr && in.ConsumeBool()) {
    Oracle ignored;
    geometry(jvm, in, ignored, subbasin, &cells, &faces);
    meshKept = !jvm.exceptionPending();
    jvm.clearException();
  }
  const bool perFace = in.ConsumeBool();
  const int needed = perFace ? faces : cells;
  const int length = in.ConsumeIntegralInRange<int>(0, needed + 2);
  jdoubleArray values = nullptr;
  if (in.ConsumeIntegralInRange<int>(0, 15) == 0) {
    oracle.invalid = true;
  } else {
    values = jvm.doubles(std::vector<jdouble>(length, -1.0));
  }
  if (!meshKept || length < needed) oracle.invalid = true;
  jvm.clearCalls();
  if (perFace)
    Java_qel_surface_Native2DSolver_getSubbasinFaceVelocity(
        jvm.env(), nullptr, subbasin, values, 1);
  else
    Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(
        jvm.env(), nullptr, subbasin, values, 1);
}

// setupBasinFlow and setupBasinSediment: a count against an array of names
// that may be shorter, null or hold nulls.
void nameList(fakejni::FakeJvm& jvm, FuzzedDataProvider& in, Oracle& oracle,
              bool sediment) {
  Builder b(jvm, in, oracle);
  int length = b.count(8);
  jint count = in.ConsumeIntegralInRange<jint>(-1, length + 2);
  if (count < 0) oracle.invalid = true;
  if (count > length) oracle.invalid = true;
  jobjectArray names = nullptr;
  if (in.ConsumeIntegralInRange<int>(0, 15) == 0) {
    if (count > 0) oracle.invalid = true;
  } else {
    std::vector<jobject> elements;
    Oracle ignored;
    Builder nameBuilder(jvm, in, ignored);
    for (int i = 0; i < length; ++i) {
      jstring name = nameBuilder.name();
      if (name == nullptr && i < count) oracle.invalid = true;
      elements.push_back(name);
    }
    names = jvm.objects(elements, "[Ljava/lang/String;");
  }
  jvm.clearCalls();
  if (sediment)
    Java_qel_surface_Native2DSolver_setupBasinSediment(jvm.env(), nullptr,
                                                       count, names);
  else
    Java_qel_surface_Native2DSolver_setupBasinFlow(jvm.env(), nullptr, count,
                                                   names);
}

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "property violated: %s\n%s\n", what, detail.c_str());
  std::abort();
}

bool allowedException(const std::string& cls) {
  return cls == "java/lang/NullPointerException" ||
         cls == "java/lang/IllegalArgumentException" ||
         cls == "java/lang/NoSuchFieldError" ||
         cls == "java/lang/IllegalStateException" ||
         cls == "java/lang/OutOfMemoryError";
}

// With BRIDGE_FUZZ_STATS set, how often each verdict came up is printed at
// exit, to see that the shapes reach both sides of every check.
long verdicts[3][2];

void printStats() {
  std::fprintf(stderr,
               "verdicts (raised / passed): valid %ld/%ld, invalid %ld/%ld, "
               "unknown %ld/%ld\n",
               verdicts[0][0], verdicts[0][1], verdicts[1][0], verdicts[1][1],
               verdicts[2][0], verdicts[2][1]);
}

void check(fakejni::FakeJvm& jvm, const Oracle& oracle, const char* method) {
  static const bool stats = [] {
    if (std::getenv("BRIDGE_FUZZ_STATS") == nullptr) return false;
    std::atexit(printStats);
    return true;
  }();
  if (stats)
    ++verdicts[static_cast<int>(oracle.verdict())]
              [jvm.exceptionPending() ? 0 : 1];
  std::string where = std::string(method) + ": ";
  if (!jvm.misuse().empty()) fail("JNI misuse", where + jvm.misuse().front());
  if (jvm.outstandingElements() != 0)
    fail("elements not released",
         where + std::to_string(jvm.outstandingElements()));
  if (jvm.maxLiveLocalRefs() > kLocalRefBound)
    fail("local references pile up",
         where + std::to_string(jvm.maxLiveLocalRefs()) + " live at once");
  bool pending = jvm.exceptionPending();
  if (pending && !allowedException(jvm.exceptionClass()))
    fail("unexpected exception",
         where + jvm.exceptionClass() + ": " + jvm.exceptionMessage());
  if (pending && oracle.verdict() == Verdict::kValid &&
      jvm.exceptionClass() != "java/lang/OutOfMemoryError")
    fail("valid input was refused",
         where + jvm.exceptionClass() + ": " + jvm.exceptionMessage());
  if (!pending && oracle.verdict() == Verdict::kInvalid)
    fail("invalid input reached the solver", where + "no exception raised");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  FuzzedDataProvider in(data, size);
  Oracle oracle;
  static const char* const kMethods[] = {"initializeSubbasinGeometry",
                                         "initializeSubbasinBathymetry",
                                         "setBoundaryNormalDepth",
                                         "setBoundaryRatingCurve",
                                         "setBoundaryFlow",
                                         "setBoundaryStage",
                                         "setupBasinFlow",
                                         "setupBasinSediment",
                                         "cell or face result"};
  int method = in.ConsumeIntegralInRange<int>(0, 8);
  {
    fakejni::FakeJvm jvm;
    if (method == 0)
      geometry(jvm, in, oracle);
    else if (method == 1)
      bathymetry(jvm, in, oracle);
    else if (method == 8)
      result(jvm, in, oracle);
    else if (method >= 6)
      nameList(jvm, in, oracle, method == 7);
    else
      boundary(jvm, in, oracle, method - 2);
    check(jvm, oracle, kMethods[method]);
  }
  // The stand-in keeps subbasins by name between calls; start each input
  // afresh so memory stays flat over a long campaign.
  fakejni::FakeJvm cleanup;
  Java_qel_surface_Native2DSolver_releaseSubbasins(cleanup.env(), nullptr);
  return 0;
}
