// initializeSubbasinGeometry over the fake JNIEnv: what reaches
// INITSUBBASINGEOMETRY, and bad meshes that must throw before the call.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "expected_line.h"
#include "fake_jni.h"
#include "native_methods.h"
#include "solver_calls.h"

namespace {

using fakejni::FakeJvm;
template <typename T>
using Rows = std::vector<std::vector<T>>;

constexpr double kFeet = 3.280839895013123;
constexpr double kSquareFeet = 10.763910416709722;

struct Mesh {
  std::vector<jdouble> cellBathAreas;
  jint numberInternalCells = 0;
  jint maxNumberNodesPerCell = 0;
  Rows<jdouble> cellCoordinates;
  Rows<jint> cellFaceOrientationInfo;
  Rows<jint> cellFaceOrientationValues;
  Rows<jint> cellNodeIndices;
  Rows<jint> nodeCellInfo;
  std::vector<jint> nodeCellValues;
  Rows<jdouble> nodeCoordinates;
  Rows<jint> nodeFaceOrientationInfo;
  Rows<jint> nodeFaceOrientationValues;
  Rows<jdouble> faceNormalVector;
  std::vector<jdouble> faceVectorLength;
  Rows<jint> faceNodeIndices;
};

// Three cells (two internal), four nodes, three faces; several rows are
// longer than what is read.
Mesh smallMesh() {
  Mesh m;
  m.cellBathAreas = {1.0, 2.5, 0.125};
  m.numberInternalCells = 2;
  m.maxNumberNodesPerCell = 3;
  m.cellCoordinates = {{1.0, 2.0}, {3.0, 4.0, 99.0}, {-5.5, 0.0}};
  m.cellFaceOrientationInfo = {{1, 2}, {3, 1}, {4, 0, 77}};
  m.cellFaceOrientationValues = {{1, -1}, {2, 1}, {3, -1}, {1, 1}};
  m.cellNodeIndices = {{1, 2, 3, 55}, {2, 3, 4}, {1, 4, 0}};
  m.nodeCellInfo = {{1, 1}, {2, 2}, {4, 2}, {6, 1}, {7, 7}};
  m.nodeCellValues = {1, 1, 2, 1, 3, 2, 3};
  m.nodeCoordinates = {{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0, 5.0}, {0.0, 1.0}};
  m.nodeFaceOrientationInfo = {{1, 1}, {2, 2}, {4, 1}, {5, 0}};
  m.nodeFaceOrientationValues = {{1, 1}, {2, -1}, {3, 1}, {1, -1}, {9, 9}};
  m.faceNormalVector = {{1.0, 0.0}, {0.0, 1.0}, {0.6, 0.8, 7.0}};
  m.faceVectorLength = {1.0, 1.0, 1.4142135623730951, 8.0};
  m.faceNodeIndices = {{1, 2}, {2, 3}, {3, 4, 1}};
  return m;
}

jobject build(FakeJvm& jvm, const Mesh& m) {
  jobject g = jvm.newObject("qel/surface/SubbasinGeometry");
  jvm.setObjectField(g, "_cellBathAreas", "[D", jvm.doubles(m.cellBathAreas));
  jvm.setIntField(g, "_numberInternalCells", m.numberInternalCells);
  jvm.setIntField(g, "_maxNumberNodesPerCell", m.maxNumberNodesPerCell);
  jvm.setObjectField(g, "_cellCoordinates", "[[D",
                     jvm.doubleRows(m.cellCoordinates));
  jvm.setObjectField(g, "_cellFaceOrientationInfo", "[[I",
                     jvm.intRows(m.cellFaceOrientationInfo));
  jvm.setObjectField(g, "_cellFaceOrientationValues", "[[I",
                     jvm.intRows(m.cellFaceOrientationValues));
  jvm.setObjectField(g, "_cellNodeIndices", "[[I",
                     jvm.intRows(m.cellNodeIndices));
  jvm.setObjectField(g, "_nodeCellInfo", "[[I", jvm.intRows(m.nodeCellInfo));
  jvm.setObjectField(g, "_nodeCellValues", "[I", jvm.ints(m.nodeCellValues));
  jvm.setObjectField(g, "_nodeCoordinates", "[[D",
                     jvm.doubleRows(m.nodeCoordinates));
  jvm.setObjectField(g, "_nodeFaceOrientationInfo", "[[I",
                     jvm.intRows(m.nodeFaceOrientationInfo));
  jvm.setObjectField(g, "_nodeFaceOrientationValues", "[[I",
                     jvm.intRows(m.nodeFaceOrientationValues));
  jvm.setObjectField(g, "_faceNormalVector", "[[D",
                     jvm.doubleRows(m.faceNormalVector));
  jvm.setObjectField(g, "_faceVectorLength", "[D",
                     jvm.doubles(m.faceVectorLength));
  jvm.setObjectField(g, "_faceNodeIndices", "[[I",
                     jvm.intRows(m.faceNodeIndices));
  return g;
}

template <typename T>
std::vector<T> flat(const Rows<T>& rows, std::size_t count, std::size_t k,
                    double factor = 1.0) {
  std::vector<T> out;
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t j = 0; j < k; ++j) {
      out.push_back(static_cast<T>(rows[i][j] * factor));
    }
  }
  return out;
}

std::vector<double> times(std::vector<double> v, std::size_t n, double f) {
  v.resize(n);
  for (double& x : v) x *= f;
  return v;
}

// What INITSUBBASINGEOMETRY must receive for a valid mesh.
std::string expectedLine(const std::string& name, const Mesh& m) {
  const std::size_t cells = m.cellBathAreas.size();
  const std::size_t values = m.cellFaceOrientationValues.size();
  const std::size_t nodes = m.nodeCoordinates.size();
  const std::size_t faces = m.faceNormalVector.size();
  const std::size_t k = static_cast<std::size_t>(m.maxNumberNodesPerCell);
  // The stand-in reads nodeCellInfo as one pair per node.
  return expected::Line("INITSUBBASINGEOMETRY")
      .text("subbasin", name, 32)
      .i32("cellCount", static_cast<long>(cells))
      .i32("internalCellCount", m.numberInternalCells)
      .i32("cellFaceValueCount", static_cast<long>(values))
      .i32("maxNodesPerCell", m.maxNumberNodesPerCell)
      .doubles("cellCoordinates", flat(m.cellCoordinates, cells, 2, kFeet))
      .doubles("cellBathAreas", times(m.cellBathAreas, cells, kSquareFeet))
      .ints("cellFaceOrientationInfo",
            flat(m.cellFaceOrientationInfo, cells, 2))
      .ints("cellFaceOrientationValues",
            flat(m.cellFaceOrientationValues, values, 2))
      .ints("cellNodeIndices", flat(m.cellNodeIndices, cells, k))
      .i32("nodeCount", static_cast<long>(nodes))
      .i32("nodeCellValueCount", static_cast<long>(m.nodeCellValues.size()))
      .doubles("nodeCoordinates", flat(m.nodeCoordinates, nodes, 2, kFeet))
      .ints("nodeCellInfo", flat(m.nodeCellInfo, nodes, 2))
      .ints("nodeCellValues", m.nodeCellValues)
      .ints("nodeFaceOrientationInfo",
            flat(m.nodeFaceOrientationInfo, nodes, 2))
      .ints("nodeFaceOrientationValues",
            flat(m.nodeFaceOrientationValues, values, 2))
      .i32("faceCount", static_cast<long>(faces))
      .doubles("faceNormalVector", flat(m.faceNormalVector, faces, 2))
      .doubles("faceVectorLength", times(m.faceVectorLength, faces, kFeet))
      .ints("faceNodeIndices", flat(m.faceNodeIndices, faces, 2))
      .raw("subbasinLen", "32");
}

class GeometryTest : public solvercalls::BridgeTest {
 protected:
  void call(const std::string& name, jobject geometry) {
    Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(
        jvm.env(), nullptr, jvm.string(name), geometry);
  }
};

TEST_F(GeometryTest, SmallMeshReachesTheRoutineRowAfterRowInFeet) {
  const Mesh m = smallMesh();
  call("basin", build(jvm, m));
  ASSERT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
  EXPECT_EQ(fakejni::journal::lines(),
            std::vector<std::string>{expectedLine("basin", m)});
}

TEST_F(GeometryTest, ConversionFactorsAreExactAndIntegersUnchanged) {
  Mesh m;
  m.cellBathAreas = {1.0};
  m.numberInternalCells = -3;  // passed through as it stands
  m.maxNumberNodesPerCell = 1;
  m.cellCoordinates = {{1.0, -1.0}};
  m.cellFaceOrientationInfo = {{0, 2147483647}};
  m.cellFaceOrientationValues = {{-2147483647 - 1, 0}};
  m.cellNodeIndices = {{-1}};
  m.nodeCoordinates = {{1.0, 0.3048}};
  m.nodeCellInfo = {{1, 1}};
  m.nodeCellValues = {1};
  m.nodeFaceOrientationInfo = {{5, 6}};
  m.nodeFaceOrientationValues = {{7, 8}};
  m.faceNormalVector = {{0.1, 1.0}};
  m.faceVectorLength = {1.0};
  m.faceNodeIndices = {{0, 1}};
  call("x", build(jvm, m));
  ASSERT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
  const std::string line = fakejni::journal::lines().at(0);
  for (const char* part :
       {" cellCoordinates=[3.280839895013123,-3.280839895013123]",
        " cellBathAreas=[10.763910416709722]", " internalCellCount=-3",
        " cellFaceOrientationInfo=[0,2147483647]",
        " cellFaceOrientationValues=[-2147483648,0]", " cellNodeIndices=[-1]",
        // 0.3048 times the factor is not quite 1: multiplied, not divided.
        " nodeCoordinates=[3.280839895013123,0.99999999999999989]",
        " nodeFaceOrientationInfo=[5,6]", " nodeFaceOrientationValues=[7,8]",
        " faceNormalVector=[0.10000000000000001,1]",
        " faceVectorLength=[3.280839895013123]", " faceNodeIndices=[0,1]"}) {
    EXPECT_NE(line.find(part), std::string::npos) << part << "\n" << line;
  }
}

TEST_F(GeometryTest, EmptyMeshStillCallsTheRoutine) {
  call("empty", build(jvm, Mesh{}));
  ASSERT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
  EXPECT_EQ(fakejni::journal::lines(),
            std::vector<std::string>{expectedLine("empty", Mesh{})});
}

TEST_F(GeometryTest, CountsComeFromTheirOwnFields) {
  // Five rows of _nodeCellInfo for four nodes; _nodeFaceOrientationValues
  // and _faceVectorLength longer than the counts that read them.
  Mesh m = smallMesh();
  m.nodeCellInfo.push_back({8, 8});
  call("counts", build(jvm, m));
  ASSERT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
  const std::string line = fakejni::journal::lines().at(0);
  EXPECT_NE(line.find(" cellCount=3 "), std::string::npos);
  EXPECT_NE(line.find(" cellFaceValueCount=4 "), std::string::npos);
  EXPECT_NE(line.find(" nodeCount=4 "), std::string::npos);
  EXPECT_NE(line.find(" nodeCellValueCount=7 "), std::string::npos);
  EXPECT_NE(line.find(" faceCount=3 "), std::string::npos);
  EXPECT_NE(line.find(" nodeFaceOrientationValues=[1,1,2,-1,3,1,1,-1] "),
            std::string::npos);
  // Every row of _nodeCellInfo was read, none of the unread tails.
  EXPECT_EQ(line, expectedLine("counts", m));
}

TEST_F(GeometryTest, CopiesWithRegionsAndDeletesEachRowReference) {
  Mesh m;
  const int cells = 500;
  m.maxNumberNodesPerCell = 4;
  for (int i = 0; i < cells; ++i) {
    m.cellBathAreas.push_back(i);
    m.cellCoordinates.push_back({1.0 * i, 2.0 * i});
    m.cellFaceOrientationInfo.push_back({i, i + 1});
    m.cellFaceOrientationValues.push_back({i, -i});
    m.cellNodeIndices.push_back({i, i + 1, i + 2, i + 3});
    m.nodeFaceOrientationValues.push_back({-i, i});
  }
  call("big", build(jvm, m));
  ASSERT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
  EXPECT_EQ(fakejni::journal::lines().at(0), expectedLine("big", m));
  EXPECT_EQ(jvm.callCount("GetDoubleArrayElements"), 0);
  EXPECT_EQ(jvm.callCount("GetIntArrayElements"), 0);
  EXPECT_LE(jvm.maxLiveLocalRefs(), 4);
}

// A bad mesh: one change to a valid one, and the exception it must raise.
struct BadMesh {
  const char* what;
  std::function<void(FakeJvm&, jobject)> spoil;
  const char* exceptionClass;
  const char* message;
};

void setRows(FakeJvm& jvm, jobject g, const char* field, const Rows<jint>& r) {
  jvm.setObjectField(g, field, "[[I", jvm.intRows(r));
}
void setRows(FakeJvm& jvm, jobject g, const char* field,
             const Rows<jdouble>& r) {
  jvm.setObjectField(g, field, "[[D", jvm.doubleRows(r));
}

const char* const kNpe = "java/lang/NullPointerException";
const char* const kIae = "java/lang/IllegalArgumentException";
const char* const kNoField = "java/lang/NoSuchFieldError";

std::vector<BadMesh> badMeshes() {
  std::vector<BadMesh> cases;
  const std::pair<const char*, const char*> arrays[] = {
      {"_cellBathAreas", "[D"},
      {"_cellCoordinates", "[[D"},
      {"_cellFaceOrientationInfo", "[[I"},
      {"_cellFaceOrientationValues", "[[I"},
      {"_cellNodeIndices", "[[I"},
      {"_nodeCellInfo", "[[I"},
      {"_nodeCellValues", "[I"},
      {"_nodeCoordinates", "[[D"},
      {"_nodeFaceOrientationInfo", "[[I"},
      {"_nodeFaceOrientationValues", "[[I"},
      {"_faceNormalVector", "[[D"},
      {"_faceVectorLength", "[D"},
      {"_faceNodeIndices", "[[I"}};
  for (const auto& [field, sig] : arrays) {
    const std::string name = field;
    const std::string signature = sig;
    cases.push_back(
        {field, [name](FakeJvm& jvm, jobject g) { jvm.removeField(g, name); },
         kNoField, field});
    cases.push_back({field,
                     [name, signature](FakeJvm& jvm, jobject g) {
                       jvm.setObjectField(g, name, signature, nullptr);
                     },
                     kNpe, nullptr});
    // The right name with another signature is a missing field too.
    cases.push_back({field,
                     [name](FakeJvm& jvm, jobject g) {
                       jvm.setObjectField(g, name, "[J", jvm.ints({}));
                     },
                     kNoField, field});
  }
  for (const char* field : {"_numberInternalCells", "_maxNumberNodesPerCell"}) {
    const std::string name = field;
    cases.push_back(
        {field, [name](FakeJvm& jvm, jobject g) { jvm.removeField(g, name); },
         kNoField, field});
  }
  cases.push_back({"short coordinate row",
                   [](FakeJvm& jvm, jobject g) {
                     setRows(jvm, g, "_cellCoordinates",
                             Rows<jdouble>{{1, 2}, {3}, {5, 6}});
                   },
                   kIae, "_cellCoordinates row 1 has 1 elements, needs 2"});
  cases.push_back({"null row",
                   [](FakeJvm& jvm, jobject g) {
                     jvm.setObjectField(g, "_nodeCoordinates", "[[D",
                                        jvm.objects({nullptr}, "[[D"));
                   },
                   kNpe, "_nodeCoordinates row 0 is null"});
  cases.push_back({"node indices shorter than the maximum",
                   [](FakeJvm& jvm, jobject g) {
                     setRows(jvm, g, "_cellNodeIndices",
                             Rows<jint>{{1, 2, 3}, {1, 2, 3}, {1, 2}});
                   },
                   kIae, "_cellNodeIndices row 2 has 2 elements, needs 3"});
  cases.push_back({"fewer rows than cells",
                   [](FakeJvm& jvm, jobject g) {
                     setRows(jvm, g, "_cellFaceOrientationInfo",
                             Rows<jint>{{1, 2}, {3, 4}});
                   },
                   kIae, "_cellFaceOrientationInfo has 2 rows, needs 3"});
  cases.push_back(
      {"fewer node rows than nodes",
       [](FakeJvm& jvm, jobject g) {
         setRows(jvm, g, "_nodeFaceOrientationInfo", Rows<jint>{{1, 2}});
       },
       kIae, "_nodeFaceOrientationInfo has 1 rows, needs 4"});
  cases.push_back({"fewer node face values than cell face values",
                   [](FakeJvm& jvm, jobject g) {
                     setRows(jvm, g, "_nodeFaceOrientationValues",
                             Rows<jint>{{1, 2}, {1, 2}, {1, 2}});
                   },
                   kIae, "_nodeFaceOrientationValues has 3 rows, needs 4"});
  cases.push_back({"fewer lengths than faces",
                   [](FakeJvm& jvm, jobject g) {
                     jvm.setObjectField(g, "_faceVectorLength", "[D",
                                        jvm.doubles({1.0, 2.0}));
                   },
                   kIae, "_faceVectorLength has 2 elements, needs 3"});
  cases.push_back({"fewer face node rows than faces",
                   [](FakeJvm& jvm, jobject g) {
                     setRows(jvm, g, "_faceNodeIndices", Rows<jint>{});
                   },
                   kIae, "_faceNodeIndices has 0 rows, needs 3"});
  cases.push_back({"negative maximum of nodes per cell",
                   [](FakeJvm& jvm, jobject g) {
                     jvm.setIntField(g, "_maxNumberNodesPerCell", -1);
                   },
                   kIae, "_maxNumberNodesPerCell is negative: -1"});
  return cases;
}

TEST_F(GeometryTest, BadMeshThrowsAndNeverCallsTheRoutine) {
  for (const BadMesh& c : badMeshes()) {
    SCOPED_TRACE(c.what);
    FakeJvm local;
    jobject g = build(local, smallMesh());
    c.spoil(local, g);
    Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(
        local.env(), nullptr, local.string("bad"), g);
    EXPECT_EQ(local.exceptionClass(), c.exceptionClass);
    const std::string message = local.exceptionMessage();
    if (c.message != nullptr) {
      EXPECT_EQ(message, c.message);
    } else {
      EXPECT_EQ(message, std::string("field ") + c.what + " is null");
    }
    EXPECT_TRUE(fakejni::journal::lines().empty());
    EXPECT_TRUE(local.misuse().empty()) << local.misuse().front();
    EXPECT_EQ(local.outstandingElements(), 0);
    EXPECT_EQ(local.liveLocalRefs(), 0);
  }
}

TEST_F(GeometryTest, NullNameOrObjectThrows) {
  Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(
      jvm.env(), nullptr, nullptr, build(jvm, smallMesh()));
  EXPECT_EQ(jvm.exceptionMessage(), "subbasin is null");
  jvm.clearException();
  call("basin", nullptr);
  EXPECT_EQ(jvm.exceptionClass(), kNpe);
  EXPECT_EQ(jvm.exceptionMessage(), "geometry is null");
  jvm.clearException();
  EXPECT_TRUE(fakejni::journal::lines().empty());
}

TEST_F(GeometryTest, CellCoordinateLookupReportsOnStandardOutput) {
  jobject missing = build(jvm, smallMesh());
  jvm.removeField(missing, "_cellCoordinates");
  testing::internal::CaptureStdout();
  call("basin", missing);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            ">>>> failed to get fid for jCoord\n");
  jvm.clearException();
  jobject null = build(jvm, smallMesh());
  jvm.setObjectField(null, "_cellCoordinates", "[[D", nullptr);
  testing::internal::CaptureStdout();
  call("basin", null);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            ">>>> failed to get jCoord\n");
  jvm.clearException();
}

#if defined(__SANITIZE_ADDRESS__)
// Under the sanitizer's allocation limit (see fake_jni.cmake) a buffer of
// 1.6 GB cannot be had: OutOfMemoryError, no call.
TEST_F(GeometryTest, BufferThatCannotBeAllocatedThrowsOutOfMemory) {
  Mesh m = smallMesh();
  m.maxNumberNodesPerCell = 140000000;
  call("huge", build(jvm, m));
  EXPECT_EQ(jvm.exceptionClass(), "java/lang/OutOfMemoryError");
  EXPECT_NE(jvm.exceptionMessage().find("_cellNodeIndices"), std::string::npos);
  jvm.clearException();
  EXPECT_TRUE(fakejni::journal::lines().empty());
}
#endif

}  // namespace
