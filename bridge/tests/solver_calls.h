// Helpers for the fake-JNI tests: the fixture of every suite, boundary
// objects, a small mesh, and the check of calls the bridge must refuse.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "expected_line.h"
#include "fake_jni.h"
#include "native_methods.h"

namespace solvercalls {

using expected::Line;

// Starts a test with no subbasin in the solver and an empty journal.
inline void freshSolver(fakejni::FakeJvm& jvm) {
  Java_qel_surface_Native2DSolver_releaseSubbasins(jvm.env(), nullptr);
  fakejni::journal::clear();
}

// The fixture of every suite: a fresh solver and journal, and after each
// test no JNI misuse, no elements held and no local reference left.
template <typename Base = ::testing::Test>
class BridgeTestOf : public Base {
 protected:
  void SetUp() override { freshSolver(jvm); }
  void TearDown() override {
    EXPECT_TRUE(jvm.misuse().empty()) << jvm.misuse().front();
    EXPECT_EQ(jvm.outstandingElements(), 0);
    EXPECT_EQ(jvm.liveLocalRefs(), 0);
  }
  jstring s(const std::string& text) { return jvm.string(text); }
  std::vector<std::string> lines() { return fakejni::journal::lines(); }
  fakejni::FakeJvm jvm;
};
using BridgeTest = BridgeTestOf<>;

// A boundary object with the two face fields.
inline jobject faces(fakejni::FakeJvm& jvm, const std::vector<jint>& indices,
                     const std::vector<jdouble>& fractions) {
  jobject object = jvm.newObject("test/BoundaryFaces");
  jvm.setObjectField(object, "_faceIndex", "[I", jvm.ints(indices));
  jvm.setObjectField(object, "_faceFraction", "[D", jvm.doubles(fractions));
  return object;
}

// The square feet per square metre the bridge applies to cell areas.
constexpr double kSquareFeet = 10.763910416709722;

// A mesh of areas.size() cells (two nodes each), `faceCount` faces and two
// nodes, handed to the solver under `name`.
inline void makeMesh(fakejni::FakeJvm& jvm, const std::string& name,
                     const std::vector<jdouble>& areas, int faceCount) {
  const std::size_t cells = areas.size();
  const std::vector<std::vector<jint>> cellPairs(cells, {1, 2});
  const std::vector<std::vector<jint>> facePairs(faceCount, {1, 2});
  const std::vector<std::vector<jint>> twoPairs(2, {1, 2});
  const std::vector<std::vector<jint>> onePair(1, {1, 2});
  jobject g = jvm.newObject("test/Geometry");
  jvm.setObjectField(g, "_cellBathAreas", "[D", jvm.doubles(areas));
  jvm.setIntField(g, "_numberInternalCells", static_cast<jint>(cells));
  jvm.setIntField(g, "_maxNumberNodesPerCell", 2);
  jvm.setObjectField(
      g, "_cellCoordinates", "[[D",
      jvm.doubleRows(std::vector<std::vector<jdouble>>(cells, {0.0, 1.0})));
  jvm.setObjectField(g, "_cellFaceOrientationInfo", "[[I",
                     jvm.intRows(cellPairs));
  jvm.setObjectField(g, "_cellFaceOrientationValues", "[[I",
                     jvm.intRows(onePair));
  jvm.setObjectField(g, "_cellNodeIndices", "[[I", jvm.intRows(cellPairs));
  jvm.setObjectField(g, "_nodeCellInfo", "[[I", jvm.intRows(twoPairs));
  jvm.setObjectField(g, "_nodeCellValues", "[I", jvm.ints({1, 2}));
  jvm.setObjectField(
      g, "_nodeCoordinates", "[[D",
      jvm.doubleRows(std::vector<std::vector<jdouble>>(2, {0.0, 1.0})));
  jvm.setObjectField(g, "_nodeFaceOrientationInfo", "[[I",
                     jvm.intRows(twoPairs));
  jvm.setObjectField(g, "_nodeFaceOrientationValues", "[[I",
                     jvm.intRows(onePair));
  jvm.setObjectField(
      g, "_faceNormalVector", "[[D",
      jvm.doubleRows(std::vector<std::vector<jdouble>>(faceCount, {1.0, 0.0})));
  jvm.setObjectField(g, "_faceVectorLength", "[D",
                     jvm.doubles(std::vector<jdouble>(faceCount, 1.0)));
  jvm.setObjectField(g, "_faceNodeIndices", "[[I", jvm.intRows(facePairs));
  Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(
      jvm.env(), nullptr, jvm.string(name), g);
}

// A call the bridge must refuse: it leaves `exception` pending with a
// message holding `message`, never reaches the solver, holds no array
// elements and misuses no JNI function.
struct RefusedCall {
  const char* what;
  std::function<void(fakejni::FakeJvm&)> call;
  const char* exception;
  const char* message;
};

template <std::size_t N>
void expectRefused(const RefusedCall (&cases)[N]) {
  for (const RefusedCall& c : cases) {
    SCOPED_TRACE(c.what);
    fakejni::FakeJvm fresh;
    fakejni::journal::clear();
    c.call(fresh);
    EXPECT_TRUE(fresh.exceptionPending());
    EXPECT_EQ(fresh.exceptionClass(), c.exception);
    EXPECT_NE(fresh.exceptionMessage().find(c.message), std::string::npos)
        << fresh.exceptionMessage();
    EXPECT_TRUE(fakejni::journal::lines().empty()) << "the solver was called";
    EXPECT_EQ(fresh.outstandingElements(), 0);
    EXPECT_TRUE(fresh.misuse().empty())
        << (fresh.misuse().empty() ? "" : fresh.misuse().front());
  }
}

}  // namespace solvercalls
