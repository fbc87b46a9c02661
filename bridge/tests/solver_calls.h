// Helpers for the fake-JNI tests of boundaries, flow, sediment and results:
// expected journal lines built argument by argument in the journal's format,
// boundary objects and a small mesh.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "fake_jni.h"
#include "native_methods.h"

namespace solvercalls {

// `s` (plain ASCII) cut or blank-filled to exactly n bytes.
inline std::string padded(const std::string& s, std::size_t n) {
  std::string t = s.substr(0, n);
  t.resize(n, ' ');
  return t;
}

class Line {
 public:
  explicit Line(const std::string& routine) : line_(routine) {}
  Line& text(const std::string& name, const std::string& value,
             std::size_t n = 32) {
    return add(name, "\"" + padded(value, n) + "\"");
  }
  Line& i32(const std::string& name, long value) {
    return add(name, std::to_string(value));
  }
  Line& f64(const std::string& name, double value) {
    return add(name, fakejni::number(value));
  }
  Line& ints(const std::string& name, const std::vector<int>& values) {
    return add(name, fakejni::list(values));
  }
  Line& doubles(const std::string& name, const std::vector<double>& values) {
    return add(name, fakejni::list(values));
  }
  Line& len(const std::string& name, std::size_t n = 32) {
    return add(name, std::to_string(n));
  }
  operator std::string() const { return line_; }
  std::string str() const { return line_; }

 private:
  Line& add(const std::string& name, const std::string& value) {
    line_ += " " + name + "=" + value;
    return *this;
  }
  std::string line_;
};

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

// Starts a test with no subbasin in the solver and an empty journal.
inline void freshSolver(fakejni::FakeJvm& jvm) {
  Java_qel_surface_Native2DSolver_releaseSubbasins(jvm.env(), nullptr);
  fakejni::journal::clear();
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
