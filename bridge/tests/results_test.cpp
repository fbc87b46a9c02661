// Result retrieval over the fake JNIEnv.
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

class Results : public solvercalls::BridgeTest {
 protected:
  void SetUp() override {
    solvercalls::BridgeTest::SetUp();
    // A flow boundary of 5 with load 2, and one solved period.
    Java_qel_surface_Native2DSolver_setBoundaryFlow(
        jvm.env(), nullptr, s("basin"), s("inflow"),
        solvercalls::faces(jvm, {0}, {1.0}), 0.0, 5.0);
    Java_qel_surface_Native2DSolver_setBoundaryValueLoad(
        jvm.env(), nullptr, s("basin"), s("inflow"), 2.0);
    Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
        jvm.env(), nullptr, s("basin"), 0.0, 0.0, jvm.doubles({}), 0);
    fakejni::journal::clear();
  }
};

using BoundaryMethod = void (*)(JNIEnv*, jclass, jstring, jstring,
                                jdoubleArray);
using LoadMethod = void (*)(JNIEnv*, jclass, jstring, jstring, jdoubleArray,
                            jint);

TEST_F(Results, BoundaryResultsLandInElementZeroOnly) {
  struct Case {
    const char* routine;
    BoundaryMethod method;
    double expected;
  };
  const Case cases[] = {
      {"GETBOUNDARYOUTFLOW", Java_qel_surface_Native2DSolver_getBoundaryOutflow,
       1005.0},
      {"GETBOUNDARYSTAGE", Java_qel_surface_Native2DSolver_getBoundaryStage,
       1000.0},
      {"GETBOUNDARYTOTALLOAD",
       Java_qel_surface_Native2DSolver_getBoundaryTotalLoad, 3.0},
      {"GETBOUNDARYTOTALCONCENTRATION",
       Java_qel_surface_Native2DSolver_getBoundaryTotalConcentration, 2.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.routine);
    fakejni::journal::clear();
    jdoubleArray result = jvm.doubles({-1.0, 42.0, 43.0});
    c.method(jvm.env(), nullptr, s("basin"), s("inflow"), result);
    ASSERT_FALSE(jvm.exceptionPending());
    EXPECT_EQ(jvm.doublesOf(result),
              (std::vector<jdouble>{c.expected, 42.0, 43.0}));
    // The routine's value starts as the array's element 0.
    EXPECT_EQ(lines(), std::vector<std::string>{Line(c.routine)
                                                    .text("subbasin", "basin")
                                                    .text("boundary", "inflow")
                                                    .f64("value", -1.0)
                                                    .len("subbasinLen")
                                                    .len("boundaryLen")});
  }
}

TEST_F(Results, LoadAndConcentrationBothCallGetBoundaryLoadFromZero) {
  const LoadMethod methods[] = {
      Java_qel_surface_Native2DSolver_getBoundaryLoad,
      Java_qel_surface_Native2DSolver_getBoundaryConcentration};
  for (LoadMethod method : methods) {
    for (int k : {3, 0, -5}) {
      SCOPED_TRACE(k);
      fakejni::journal::clear();
      jdoubleArray result = jvm.doubles({-1.0, 42.0});
      method(jvm.env(), nullptr, s("basin"), s("inflow"), result, k);
      ASSERT_FALSE(jvm.exceptionPending());
      // load k + P
      EXPECT_EQ(jvm.doublesOf(result), (std::vector<jdouble>{2.0 * k + 1, 42}));
      EXPECT_EQ(lines(),
                std::vector<std::string>{Line("GETBOUNDARYLOAD")
                                             .text("subbasin", "basin")
                                             .text("boundary", "inflow")
                                             .f64("value", 0.0)
                                             .i32("k", k)
                                             .len("subbasinLen")
                                             .len("boundaryLen")});
    }
  }
}

TEST_F(Results, AValueTheRoutineLeavesAlone) {
  // The stand-in leaves the value untouched for a boundary it does not hold.
  jdoubleArray load = jvm.doubles({9.0, 8.0});
  Java_qel_surface_Native2DSolver_getBoundaryLoad(
      jvm.env(), nullptr, s("basin"), s("nowhere"), load, 1);
  EXPECT_EQ(jvm.doublesOf(load), (std::vector<jdouble>{0.0, 8.0}));
  jdoubleArray outflow = jvm.doubles({9.0, 8.0});
  Java_qel_surface_Native2DSolver_getBoundaryOutflow(
      jvm.env(), nullptr, s("basin"), s("nowhere"), outflow);
  EXPECT_EQ(jvm.doublesOf(outflow), (std::vector<jdouble>{9.0, 8.0}));
}

TEST_F(Results, CellAndFaceResultsAreWrittenByTheRoutine) {
  const std::vector<jdouble> areas = {1.0, 2.0, 3.0};
  solvercalls::makeMesh(jvm, "mesh", areas, 2);
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
      jvm.env(), nullptr, s("mesh"), 0.0, 0.0, jvm.doubles({}), 0);
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
      jvm.env(), nullptr, s("mesh"), 0.0, 0.0, jvm.doubles({}), 0);
  ASSERT_FALSE(jvm.exceptionPending());
  using One = void (*)(JNIEnv*, jclass, jstring, jdoubleArray, jint);
  using Two = void (*)(JNIEnv*, jclass, jstring, jdoubleArray, jint, jint);
  struct Case {
    const char* routine;
    int code;
    One one;
    Two two;
    bool faces;
  };
  const Case cases[] = {
      {"GETSUBBASINCELLAREAWET", 1,
       Java_qel_surface_Native2DSolver_getSubbasinCellWetArea, nullptr, false},
      {"GETSUBBASINCELLVOLUME", 2,
       Java_qel_surface_Native2DSolver_getSubbasinCellVolume, nullptr, false},
      {"GETSUBBASINCELLWATERLEVEL", 3,
       Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface, nullptr,
       false},
      {"GETSUBBASINCELLVELOCITY", 4,
       Java_qel_surface_Native2DSolver_getSubbasinCellVelocity, nullptr, false},
      {"GETSUBBASINFACEVELOCITY", 5,
       Java_qel_surface_Native2DSolver_getSubbasinFaceVelocity, nullptr, true},
      {"GETSUBBASINCELLTOTALCONCENTRATION", 6,
       Java_qel_surface_Native2DSolver_getSubbasinCellTotalConcentration,
       nullptr, false},
      {"GETSUBBASINCELLTOTALBEDCHANGE", 7,
       Java_qel_surface_Native2DSolver_getSubbasinCellTotalBedChange, nullptr,
       false},
      {"GETSUBBASINCELLCONCENTRATION", 8, nullptr,
       Java_qel_surface_Native2DSolver_getSubbasinCellConcentration, false},
      {"GETSUBBASINCELLBEDCHANGE", 9, nullptr,
       Java_qel_surface_Native2DSolver_getSubbasinCellBedChange, false},
      {"GETSUBBASINCELLACTIVEFRACTION", 10, nullptr,
       Java_qel_surface_Native2DSolver_getSubbasinCellActiveFraction, false},
  };
  for (const Case& c : cases) {
    for (int i1 : {-2, 0, 7}) {
      SCOPED_TRACE(std::string(c.routine) + " i1=" + std::to_string(i1));
      const int i2 = c.two != nullptr ? -3 : 0;
      const std::size_t n = c.faces ? 2 : areas.size();
      // Exactly sized: under ASan a write past the count fails the test.
      jdoubleArray values = jvm.doubles(std::vector<jdouble>(n, -1.0));
      fakejni::journal::clear();
      if (c.one != nullptr) {
        c.one(jvm.env(), nullptr, s("mesh"), values, i1);
      } else {
        c.two(jvm.env(), nullptr, s("mesh"), values, i1, i2);
      }
      ASSERT_FALSE(jvm.exceptionPending());
      std::vector<jdouble> expected;
      for (std::size_t cell = 0; cell < n; ++cell) {
        const double area =
            c.faces ? 0.0 : areas[cell] * solvercalls::kSquareFeet;
        expected.push_back(c.code * 1000000.0 + 1000.0 * 2 +
                           static_cast<double>(cell) + 0.5 * i1 + 0.25 * i2 +
                           area);
      }
      EXPECT_EQ(jvm.doublesOf(values), expected);
      Line line(c.routine);
      line.text("subbasin", "mesh").i32("i1", i1);
      if (c.two != nullptr) line.i32("i2", i2);
      line.len("subbasinLen");
      EXPECT_EQ(lines(), std::vector<std::string>{line});
      EXPECT_EQ(jvm.outstandingElements(), 0);
    }
  }
}

TEST_F(Results, ARepeatedResultFollowsTheSolversState) {
  // The same result asked again is the same; a solve, another integer or a
  // new mesh changes it.
  solvercalls::makeMesh(jvm, "mesh", {1.0, 2.0}, 2);
  auto level = [&](int i1) {
    jdoubleArray values = jvm.doubles({0.0, 0.0});
    Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(
        jvm.env(), nullptr, s("mesh"), values, i1);
    return jvm.doublesOf(values);
  };
  const double feet = solvercalls::kSquareFeet;
  const std::vector<jdouble> first = level(0);
  EXPECT_EQ(first,
            (std::vector<jdouble>{3000000.0 + feet, 3000000.0 + 1 + 2 * feet}));
  EXPECT_EQ(level(0), first);
  EXPECT_EQ(level(2)[0], 3000000.0 + 1.0 + feet);
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
      jvm.env(), nullptr, s("mesh"), 0.0, 0.0, jvm.doubles({}), 0);
  EXPECT_EQ(level(0)[0], 3001000.0 + feet);
  solvercalls::makeMesh(jvm, "mesh", {4.0, 5.0}, 2);
  EXPECT_EQ(level(0)[0], 3001000.0 + 4 * feet);
  ASSERT_FALSE(jvm.exceptionPending());
}

TEST_F(Results, TheCountsFollowTheLastGeometryUntilRelease) {
  // Sized for 2 cells, then the name gets 3, then nothing at all.
  jdoubleArray two = jvm.doubles({0.0, 0.0});
  auto level = [&] {
    Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(
        jvm.env(), nullptr, s("mesh"), two, 0);
    const std::string thrown = jvm.exceptionClass();
    jvm.clearException();
    return thrown;
  };
  solvercalls::makeMesh(jvm, "mesh", {1.0, 2.0}, 2);
  EXPECT_EQ(level(), "");
  solvercalls::makeMesh(jvm, "mesh", {1.0, 2.0, 3.0}, 2);
  EXPECT_EQ(level(), "java/lang/IllegalArgumentException");
  // The key is the 32-byte text: a name cut to the same bytes is the same.
  solvercalls::makeMesh(jvm, std::string(32, 'm') + "1", {1.0}, 1);
  Java_qel_surface_Native2DSolver_getSubbasinCellVolume(
      jvm.env(), nullptr, s(std::string(32, 'm') + "2"), two, 0);
  EXPECT_FALSE(jvm.exceptionPending());
  Java_qel_surface_Native2DSolver_releaseSubbasins(jvm.env(), nullptr);
  EXPECT_EQ(level(), "java/lang/IllegalStateException");
}

TEST_F(Results, BadInputThrowsAndNeverReachesTheSolver) {
  using Case = solvercalls::RefusedCall;
  const Case cases[] = {
      {"empty boundary result",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_getBoundaryStage(
             j.env(), nullptr, j.string("a"), j.string("b"), j.doubles({}));
       },
       "java/lang/IllegalArgumentException", "result"},
      {"empty load result",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_getBoundaryLoad(
             j.env(), nullptr, j.string("a"), j.string("b"), j.doubles({}), 1);
       },
       "java/lang/IllegalArgumentException", "result"},
      {"null boundary result",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_getBoundaryConcentration(
             j.env(), nullptr, j.string("a"), j.string("b"), nullptr, 1);
       },
       "java/lang/NullPointerException", "result"},
      {"null boundary name",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_getBoundaryTotalLoad(
             j.env(), nullptr, j.string("a"), nullptr, j.doubles({1}));
       },
       "java/lang/NullPointerException", "boundary"},
      {"null values",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_getSubbasinCellActiveFraction(
             j.env(), nullptr, j.string("a"), nullptr, 1, 1);
       },
       "java/lang/NullPointerException", "values"},
      {"null subbasin of a cell result",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_getSubbasinCellWetArea(
             j.env(), nullptr, nullptr, j.doubles({1}), 1);
       },
       "java/lang/NullPointerException", "subbasin"},
      {"values unavailable",
       [](FakeJvm& j) {
         solvercalls::makeMesh(j, "a", {1.0}, 1);
         fakejni::journal::clear();
         j.failNextElements();
         Java_qel_surface_Native2DSolver_getSubbasinCellVolume(
             j.env(), nullptr, j.string("a"), j.doubles({1}), 1);
       },
       "java/lang/OutOfMemoryError", ""},
      // One value per cell (per face) of the mesh handed over under the
      // name, which the routine would write past a shorter array.
      {"values shorter than the cells",
       [](FakeJvm& j) {
         solvercalls::makeMesh(j, "ten", std::vector<jdouble>(10, 1.0), 3);
         fakejni::journal::clear();
         Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(
             j.env(), nullptr, j.string("ten"), j.doubles({0}), 1);
       },
       "java/lang/IllegalArgumentException", "values has 1 elements, needs 10"},
      {"values shorter than the faces",
       [](FakeJvm& j) {
         solvercalls::makeMesh(j, "ten", std::vector<jdouble>(10, 1.0), 12);
         fakejni::journal::clear();
         Java_qel_surface_Native2DSolver_getSubbasinFaceVelocity(
             j.env(), nullptr, j.string("ten"),
             j.doubles(std::vector<jdouble>(10)), 1);
       },
       "java/lang/IllegalArgumentException",
       "values has 10 elements, needs 12"},
      {"no geometry under the name",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_getSubbasinCellBedChange(
             j.env(), nullptr, j.string("nowhere"), j.doubles({1}), 1, 1);
       },
       "java/lang/IllegalStateException",
       "subbasin \"nowhere\" has no geometry"},
  };
  solvercalls::expectRefused(cases);
}

}  // namespace
