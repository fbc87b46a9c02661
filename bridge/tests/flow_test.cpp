// Flow control, initial state and solving over the fake JNIEnv.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "fake_jni.h"
#include "native_methods.h"
#include "solver_calls.h"

namespace {

using fakejni::FakeJvm;
using solvercalls::Line;

using Flow = solvercalls::BridgeTest;

TEST_F(Flow, ScalarMethodsPassTheirValuesUnchanged) {
  struct Case {
    std::function<void(JNIEnv*, jstring)> call;
    std::string line;
  };
  const Case cases[] = {
      {[](JNIEnv* e, jstring n) {
         Java_qel_surface_Native2DSolver_setSubbasinNumberThreads(e, nullptr, n,
                                                                  -3);
       },
       Line("SETSUBBASINNUMBERTHREADS")
           .text("subbasin", "basin")
           .i32("threads", -3)
           .len("subbasinLen")},
      {[](JNIEnv* e, jstring n) {
         Java_qel_surface_Native2DSolver_setSubbasinNumberThreads(e, nullptr, n,
                                                                  INT_MAX);
       },
       Line("SETSUBBASINNUMBERTHREADS")
           .text("subbasin", "basin")
           .i32("threads", INT_MAX)
           .len("subbasinLen")},
      {[](JNIEnv* e, jstring n) {
         Java_qel_surface_Native2DSolver_setSubbasinImplicitFactor(e, nullptr,
                                                                   n, 1e308);
       },
       Line("SETSUBBASINIMPLICITFACTOR")
           .text("subbasin", "basin")
           .f64("factor", 1e308)
           .len("subbasinLen")},
      {[](JNIEnv* e, jstring n) {
         Java_qel_surface_Native2DSolver_setSubbasinControlParameters(
             e, nullptr, n, 0.1, -2.0, 3.5, 0.0, -9);
       },
       Line("SETSUBBASINCONTROLPARAMETERS")
           .text("subbasin", "basin")
           .f64("c1", 0.1)
           .f64("c2", -2.0)
           .f64("c3", 3.5)
           .f64("c4", 0.0)
           .i32("c5", -9)
           .len("subbasinLen")},
      {[](JNIEnv* e, jstring n) {
         Java_qel_surface_Native2DSolver_initializeSubbasinFlow(e, nullptr, n);
       },
       Line("INITSUBBASINFLOW").text("subbasin", "basin").len("subbasinLen")},
      {[](JNIEnv* e, jstring n) {
         Java_qel_surface_Native2DSolver_initializeSubbasinFlowState(e, nullptr,
                                                                     n);
       },
       Line("INITSUBBASINFLOWSTATE")
           .text("subbasin", "basin")
           .len("subbasinLen")},
      {[](JNIEnv* e, jstring n) {
         Java_qel_surface_Native2DSolver_initializeWarmUp(e, nullptr, n, 2.5,
                                                          -0.75);
       },
       Line("INITSUBBASINWARMUP")
           .text("subbasin", "basin")
           .f64("w1", 2.5)
           .f64("w2", -0.75)
           .len("subbasinLen")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    fakejni::journal::clear();
    c.call(jvm.env(), s("basin"));
    EXPECT_FALSE(jvm.exceptionPending());
    EXPECT_EQ(lines(), std::vector<std::string>{c.line});
  }
}

TEST_F(Flow, SolveFlowPassesNFirstAndThePeriodValuesAfterTheArray) {
  jdoubleArray a = jvm.doubles({1.0, 2.0, 3.0, 4.0});
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
      jvm.env(), nullptr, s(std::string(33, 'q')), 0.5, 0.25, a, 3);
  ASSERT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(lines(),
            std::vector<std::string>{Line("SOLVESUBBASINFLOW")
                                         .text("subbasin", std::string(32, 'q'))
                                         .i32("n", 3)
                                         .doubles("a", {1.0, 2.0, 3.0})
                                         .f64("p1", 0.5)
                                         .f64("p2", 0.25)
                                         .len("subbasinLen")});
  // First period: a[i] = 1000 + i + p1 for i < n; the rest is untouched.
  EXPECT_EQ(jvm.doublesOf(a),
            (std::vector<jdouble>{1000.5, 1001.5, 1002.5, 4.0}));
  EXPECT_EQ(jvm.outstandingElements(), 0);
}

TEST_F(Flow, SolveSedimentPassesTheThreeArraysInOrder) {
  jdoubleArray a1 = jvm.doubles({1.0, 2.0});
  jdoubleArray a2 = jvm.doubles({3.0, 4.0});
  jdoubleArray a3 = jvm.doubles({5.0, 6.0});
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
      jvm.env(), nullptr, s("basin"), 0.0, 0.0, jvm.doubles({}), 0);
  fakejni::journal::clear();
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
      jvm.env(), nullptr, s("basin"), 7.0, 8.0, a1, a2, a3, 2);
  ASSERT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(lines(), std::vector<std::string>{Line("SOLVESUBBASINFLOWSEDIMENT")
                                                  .text("subbasin", "basin")
                                                  .i32("n", 2)
                                                  .doubles("a1", {1.0, 2.0})
                                                  .doubles("a2", {3.0, 4.0})
                                                  .doubles("a3", {5.0, 6.0})
                                                  .f64("p1", 7.0)
                                                  .f64("p2", 8.0)
                                                  .len("subbasinLen")});
  // Second period of the subbasin.
  EXPECT_EQ(jvm.doublesOf(a1), (std::vector<jdouble>{2007.0, 2008.0}));
  EXPECT_EQ(jvm.doublesOf(a2), (std::vector<jdouble>{2008.0, 2009.0}));
  EXPECT_EQ(jvm.doublesOf(a3), (std::vector<jdouble>{2000.0, 2001.0}));
  EXPECT_EQ(jvm.outstandingElements(), 0);
}

TEST_F(Flow, EmptyPeriodArraysStillReachTheSolver) {
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
      jvm.env(), nullptr, s("basin"), 1.0, 2.0, jvm.doubles({}),
      jvm.doubles({}), jvm.doubles({}), 0);
  ASSERT_FALSE(jvm.exceptionPending());
  ASSERT_EQ(lines().size(), 1u);
  EXPECT_NE(lines()[0].find(" n=0 a1=[] a2=[] a3=[] p1=1 p2=2 "),
            std::string::npos)
      << lines()[0];
}

TEST_F(Flow, ArraysAreReleasedInTheOrderObtained) {
  // Destructors would release them the other way round.
  jdoubleArray a1 = jvm.doubles({1.0});
  jdoubleArray a2 = jvm.doubles({2.0});
  jdoubleArray a3 = jvm.doubles({3.0});
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
      jvm.env(), nullptr, s("basin"), 0, 0, a1, a2, a3, 1);
  jdoubleArray d[4] = {jvm.doubles({1}), jvm.doubles({2}), jvm.doubles({3}),
                       jvm.doubles({4})};
  Java_qel_surface_Native2DSolver_setCohesiveTransportMethod(
      jvm.env(), nullptr, s("basin"), s("m"), d[0], d[1], d[2], d[3], 1);
  ASSERT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(jvm.releasedArrays(),
            (std::vector<jarray>{a1, a2, a3, d[0], d[1], d[2], d[3]}));
}

TEST_F(Flow, BadInputThrowsAndNeverReachesTheSolver) {
  using Case = solvercalls::RefusedCall;
  const Case cases[] = {
      {"null name of a scalar method",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_setSubbasinControlParameters(
             j.env(), nullptr, nullptr, 1, 2, 3, 4, 5);
       },
       "java/lang/NullPointerException", "subbasin"},
      {"null name of warm-up",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_initializeWarmUp(j.env(), nullptr,
                                                          nullptr, 1, 2);
       },
       "java/lang/NullPointerException", "subbasin"},
      {"null period array",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
             j.env(), nullptr, j.string("b"), 1, 2, nullptr, 0);
       },
       "java/lang/NullPointerException", "a"},
      {"null third sediment array",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
             j.env(), nullptr, j.string("b"), 1, 2, j.doubles({1}),
             j.doubles({1}), nullptr, 1);
       },
       "java/lang/NullPointerException", "a3"},
      {"null second sediment array",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
             j.env(), nullptr, j.string("b"), 1, 2, j.doubles({1}), nullptr,
             j.doubles({1}), 1);
       },
       "java/lang/NullPointerException", "a2"},
      {"period elements unavailable",
       [](FakeJvm& j) {
         j.failNextElements();
         Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
             j.env(), nullptr, j.string("b"), 1, 2, j.doubles({1}), 1);
       },
       "java/lang/OutOfMemoryError", ""},
  };
  solvercalls::expectRefused(cases);
}

}  // namespace
