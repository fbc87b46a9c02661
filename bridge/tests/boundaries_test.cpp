// Boundary declarations and value setters over the fake JNIEnv.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fake_jni.h"
#include "native_methods.h"
#include "solver_calls.h"

namespace {

using fakejni::FakeJvm;
using solvercalls::Line;

class Boundaries : public solvercalls::BridgeTest {
 protected:
  void expectClean() {
    EXPECT_EQ(jvm.outstandingElements(), 0);
    EXPECT_TRUE(jvm.misuse().empty());
  }
};

Line declaration(const char* routine, const std::string& subbasin,
                 const std::string& boundary, const std::vector<int>& indices,
                 const std::vector<double>& fractions, double value) {
  Line line(routine);
  line.text("subbasin", subbasin)
      .text("boundary", boundary)
      .i32("faceCount", static_cast<long>(indices.size()))
      .ints("faceIndices", indices)
      .doubles("faceFractions", fractions)
      .f64("value", value)
      .len("subbasinLen")
      .len("boundaryLen");
  return line;
}

TEST_F(Boundaries, DeclarationsPassNamesFacesAndTheReceivedValue) {
  struct Case {
    const char* routine;
    std::function<void(JNIEnv*, jstring, jstring, jobject, double)> call;
  };
  const Case cases[] = {
      {"INITBOUNDARYNORMALDEPTH",
       [](JNIEnv* env, jstring a, jstring b, jobject f, double v) {
         Java_qel_surface_Native2DSolver_setBoundaryNormalDepth(env, nullptr, a,
                                                                b, f, v);
       }},
      {"INITBOUNDARYFLOW",
       [](JNIEnv* env, jstring a, jstring b, jobject f, double v) {
         Java_qel_surface_Native2DSolver_setBoundaryFlow(env, nullptr, a, b, f,
                                                         -7.0, v);
       }},
      {"INITBOUNDARYSTAGE",
       [](JNIEnv* env, jstring a, jstring b, jobject f, double v) {
         Java_qel_surface_Native2DSolver_setBoundaryStage(env, nullptr, a, b, f,
                                                          99.0, v);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.routine);
    fakejni::journal::clear();
    c.call(jvm.env(), s("basin"), s("outlet"),
           solvercalls::faces(jvm, {0, 5, -1}, {0.25, 0.5, 1.0, 9.0}), 12.5);
    EXPECT_FALSE(jvm.exceptionPending());
    EXPECT_EQ(lines(), std::vector<std::string>{
                           declaration(c.routine, "basin", "outlet", {0, 5, -1},
                                       {0.25, 0.5, 1.0}, 12.5)});
    expectClean();
  }
}

TEST_F(Boundaries, FlowAndStageIgnoreTheFourthArgument) {
  for (double ignored : {0.0, -1.0, 1e300}) {
    Java_qel_surface_Native2DSolver_setBoundaryFlow(
        jvm.env(), nullptr, s("b"), s("in"), solvercalls::faces(jvm, {1}, {1}),
        ignored, 3.0);
    Java_qel_surface_Native2DSolver_setBoundaryStage(
        jvm.env(), nullptr, s("b"), s("in"), solvercalls::faces(jvm, {1}, {1}),
        ignored, 4.0);
  }
  const std::vector<std::string> got = lines();
  ASSERT_EQ(got.size(), 6u);
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i], got[i % 2]) << i;
  }
  EXPECT_EQ(got[0],
            declaration("INITBOUNDARYFLOW", "b", "in", {1}, {1}, 3.0).str());
}

TEST_F(Boundaries, NamesAreCutOrFilledToThirtyTwoBytes) {
  const std::string longName(40, 'x');
  const std::string exact(32, 'y');
  Java_qel_surface_Native2DSolver_setBoundaryNormalDepth(
      jvm.env(), nullptr, s(longName), s(exact),
      solvercalls::faces(jvm, {}, {}), 0.0);
  EXPECT_EQ(lines(), std::vector<std::string>{declaration(
                         "INITBOUNDARYNORMALDEPTH", std::string(32, 'x'), exact,
                         {}, {}, 0.0)});
}

TEST_F(Boundaries, EmptyFacesGiveCountZero) {
  Java_qel_surface_Native2DSolver_setBoundaryFlow(
      jvm.env(), nullptr, s(""), s(""), solvercalls::faces(jvm, {}, {}), 0.0,
      1.0);
  EXPECT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(lines(), std::vector<std::string>{
                         declaration("INITBOUNDARYFLOW", "", "", {}, {}, 1.0)});
  expectClean();
}

TEST_F(Boundaries, RatingCurveHandsOverBothCurvesAndSeesThemWrittenBack) {
  jdoubleArray first = jvm.doubles({1.0, 2.0, 3.0});
  jdoubleArray second = jvm.doubles({10.0, 20.0, 30.0, 40.0});
  Java_qel_surface_Native2DSolver_setBoundaryRatingCurve(
      jvm.env(), nullptr, s("basin"), s("weir"),
      solvercalls::faces(jvm, {4, 2}, {0.5, 0.5}), 3, first, second);
  ASSERT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(lines(),
            std::vector<std::string>{Line("INITBOUNDARYRATINGCURVE")
                                         .text("subbasin", "basin")
                                         .text("boundary", "weir")
                                         .i32("faceCount", 2)
                                         .ints("faceIndices", {4, 2})
                                         .doubles("faceFractions", {0.5, 0.5})
                                         .i32("curveInt", 3)
                                         .doubles("curve1", {1.0, 2.0, 3.0})
                                         .doubles("curve2", {10.0, 20.0, 30.0})
                                         .len("subbasinLen")
                                         .len("boundaryLen")});
  // The stand-in writes 2v+1 and 2v+2 into the points it read.
  EXPECT_EQ(jvm.doublesOf(first), (std::vector<jdouble>{3.0, 5.0, 7.0}));
  EXPECT_EQ(jvm.doublesOf(second),
            (std::vector<jdouble>{22.0, 42.0, 62.0, 40.0}));
  expectClean();
}

TEST_F(Boundaries, ValueSettersPassACopyOfTheValue) {
  struct Case {
    const char* routine;
    void (*call)(JNIEnv*, jclass, jstring, jstring, jdouble);
  };
  const Case cases[] = {
      {"SETBOUNDARYVALUEFLOW",
       Java_qel_surface_Native2DSolver_setBoundaryValueFlow},
      {"SETBOUNDARYVALUESTAGE",
       Java_qel_surface_Native2DSolver_setBoundaryValueStage},
      {"SETBOUNDARYVALUETOTALLOAD",
       Java_qel_surface_Native2DSolver_setBoundaryValueLoad},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.routine);
    fakejni::journal::clear();
    c.call(jvm.env(), nullptr, s("basin"), s("outlet"), -0.125);
    EXPECT_EQ(lines(), std::vector<std::string>{Line(c.routine)
                                                    .text("subbasin", "basin")
                                                    .text("boundary", "outlet")
                                                    .f64("value", -0.125)
                                                    .len("subbasinLen")
                                                    .len("boundaryLen")});
  }
}

TEST_F(Boundaries, BadInputThrowsAndNeverReachesTheSolver) {
  using Case = solvercalls::RefusedCall;
  auto normalDepth = [](FakeJvm& j, jstring a, jstring b, jobject f) {
    Java_qel_surface_Native2DSolver_setBoundaryNormalDepth(j.env(), nullptr, a,
                                                           b, f, 1.0);
  };
  auto curve = [](FakeJvm& j, jdoubleArray c1, jdoubleArray c2) {
    Java_qel_surface_Native2DSolver_setBoundaryRatingCurve(
        j.env(), nullptr, j.string("b"), j.string("w"),
        solvercalls::faces(j, {1}, {1.0}), 1, c1, c2);
  };
  // A declaration whose faces object lacks `field` (no signature) or holds
  // null in it.
  auto spoiledFaces = [&](FakeJvm& j, const char* field, const char* sig) {
    jobject f = solvercalls::faces(j, {1}, {1});
    if (sig == nullptr) {
      j.removeField(f, field);
    } else {
      j.setObjectField(f, field, sig, nullptr);
    }
    normalDepth(j, j.string("a"), j.string("b"), f);
  };
  const Case cases[] = {
      {"null subbasin",
       [&](FakeJvm& j) {
         normalDepth(j, nullptr, j.string("b"),
                     solvercalls::faces(j, {1}, {1}));
       },
       "java/lang/NullPointerException", "subbasin"},
      {"null boundary",
       [&](FakeJvm& j) {
         normalDepth(j, j.string("a"), nullptr,
                     solvercalls::faces(j, {1}, {1}));
       },
       "java/lang/NullPointerException", "boundary"},
      {"null boundary object",
       [&](FakeJvm& j) {
         normalDepth(j, j.string("a"), j.string("b"), nullptr);
       },
       "java/lang/NullPointerException", "faces"},
      {"missing _faceIndex",
       [&](FakeJvm& j) { spoiledFaces(j, "_faceIndex", nullptr); },
       "java/lang/NoSuchFieldError", "_faceIndex"},
      {"missing _faceFraction",
       [&](FakeJvm& j) { spoiledFaces(j, "_faceFraction", nullptr); },
       "java/lang/NoSuchFieldError", "_faceFraction"},
      {"null _faceIndex",
       [&](FakeJvm& j) { spoiledFaces(j, "_faceIndex", "[I"); },
       "java/lang/NullPointerException", "_faceIndex"},
      {"null _faceFraction",
       [&](FakeJvm& j) {
         jobject f = solvercalls::faces(j, {}, {});
         j.setObjectField(f, "_faceFraction", "[D", nullptr);
         normalDepth(j, j.string("a"), j.string("b"), f);
       },
       "java/lang/NullPointerException", "_faceFraction"},
      {"short _faceFraction",
       [&](FakeJvm& j) {
         normalDepth(j, j.string("a"), j.string("b"),
                     solvercalls::faces(j, {1, 2, 3}, {0.5, 0.5}));
       },
       "java/lang/IllegalArgumentException", "_faceFraction"},
      {"null first curve",
       [&](FakeJvm& j) { curve(j, nullptr, j.doubles({1.0})); },
       "java/lang/NullPointerException", "curve1"},
      {"null second curve",
       [&](FakeJvm& j) { curve(j, j.doubles({1.0}), nullptr); },
       "java/lang/NullPointerException", "curve2"},
      {"curve elements unavailable",
       [&](FakeJvm& j) {
         j.failNextElements();
         curve(j, j.doubles({1.0}), j.doubles({1.0}));
       },
       "java/lang/OutOfMemoryError", ""},
      {"null name of a value setter",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_setBoundaryValueLoad(
             j.env(), nullptr, j.string("a"), nullptr, 1.0);
       },
       "java/lang/NullPointerException", "boundary"},
  };
  solvercalls::expectRefused(cases);
}

}  // namespace
