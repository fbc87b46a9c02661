// Sediment configuration over the fake JNIEnv.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_jni.h"
#include "native_methods.h"
#include "solver_calls.h"

namespace {

using fakejni::FakeJvm;
using solvercalls::Line;

using Sediment = solvercalls::BridgeTest;

TEST_F(Sediment, NamedMethodsFillAndCutTheirTexts) {
  const auto fall = Java_qel_surface_Native2DSolver_setFallVelocityMethod;
  const auto potential =
      Java_qel_surface_Native2DSolver_setTransportPotentialMethod;
  const std::string name20 = "abcdefghijklmnopqrst";
  struct Case {
    decltype(fall) call;
    const char* routine;
    std::size_t width;
    std::string method;
  };
  const Case cases[] = {
      {fall, "SETFALLVELOCITYMETHOD", 32, name20},
      {potential, "SETTRANSPORTPOTENTIALMETHOD", 16, name20},
      {potential, "SETTRANSPORTPOTENTIALMETHOD", 16, "yang"},
      {fall, "SETFALLVELOCITYMETHOD", 32, std::string(40, 'm')},
  };
  for (const Case& c : cases) {
    const std::string line = Line(c.routine)
                                 .text("subbasin", "basin")
                                 .text("method", c.method, c.width)
                                 .len("subbasinLen")
                                 .len("methodLen", c.width);
    SCOPED_TRACE(line);
    fakejni::journal::clear();
    c.call(jvm.env(), nullptr, s("basin"), s(c.method));
    EXPECT_FALSE(jvm.exceptionPending());
    EXPECT_EQ(lines(), std::vector<std::string>{line});
  }
}

TEST_F(Sediment, NameOnlyMethods) {
  Java_qel_surface_Native2DSolver_initializeSubbasinSediment(jvm.env(), nullptr,
                                                             s("basin"));
  Java_qel_surface_Native2DSolver_setSubbasinMobilityFactor(jvm.env(), nullptr,
                                                            s("basin"), -1.5);
  Java_qel_surface_Native2DSolver_checkSedimentSetup(jvm.env(), nullptr,
                                                     s("basin"));
  EXPECT_EQ(lines(), (std::vector<std::string>{Line("INITSUBBASINSEDIMENT")
                                                   .text("subbasin", "basin")
                                                   .len("subbasinLen"),
                                               Line("SETSUBBASINMOBILITYFACTOR")
                                                   .text("subbasin", "basin")
                                                   .f64("factor", -1.5)
                                                   .len("subbasinLen"),
                                               Line("CHECKSEDIMENTSETUP")
                                                   .text("subbasin", "basin")
                                                   .len("subbasinLen")}));
}

TEST_F(Sediment, CohesiveMethodTakesMAheadOfTheFourArrays) {
  jdoubleArray d[4] = {jvm.doubles({1, 2}), jvm.doubles({3, 4}),
                       jvm.doubles({5, 6}), jvm.doubles({7, 8, 9})};
  Java_qel_surface_Native2DSolver_setCohesiveTransportMethod(
      jvm.env(), nullptr, s("basin"), s("krone"), d[0], d[1], d[2], d[3], 2);
  ASSERT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(lines(), std::vector<std::string>{Line("SETCOHESIVETRANSPORTMETHOD")
                                                  .text("subbasin", "basin")
                                                  .text("method", "krone")
                                                  .i32("m", 2)
                                                  .doubles("d1", {1, 2})
                                                  .doubles("d2", {3, 4})
                                                  .doubles("d3", {5, 6})
                                                  .doubles("d4", {7, 8})
                                                  .len("subbasinLen")
                                                  .len("methodLen")});
  // Written back: 2v+k into the m values of the k-th array.
  EXPECT_EQ(jvm.doublesOf(d[0]), (std::vector<jdouble>{3, 5}));
  EXPECT_EQ(jvm.doublesOf(d[1]), (std::vector<jdouble>{8, 10}));
  EXPECT_EQ(jvm.doublesOf(d[2]), (std::vector<jdouble>{13, 15}));
  EXPECT_EQ(jvm.doublesOf(d[3]), (std::vector<jdouble>{18, 20, 9}));
  EXPECT_EQ(jvm.outstandingElements(), 0);
}

TEST_F(Sediment, PropertiesHaveNoNameAndTakeGFirst) {
  jdoubleArray p = jvm.doubles({0.5, 1.5, 2.5});
  Java_qel_surface_Native2DSolver_setSedimentProperties(jvm.env(), nullptr, p,
                                                        3, 1.0, 2.0, 3.0, 4.0);
  ASSERT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(lines(), std::vector<std::string>{Line("SETSEDIMENTPROPERTIES")
                                                  .i32("g", 3)
                                                  .doubles("p", {0.5, 1.5, 2.5})
                                                  .f64("s1", 1.0)
                                                  .f64("s2", 2.0)
                                                  .f64("s3", 3.0)
                                                  .f64("s4", 4.0)});
  EXPECT_EQ(jvm.doublesOf(p), (std::vector<jdouble>{2, 4, 6}));
}

TEST_F(Sediment, RhemParametersPassTheSecondElementOfR2) {
  jdoubleArray r1 = jvm.doubles({1.0, 2.0});
  jdoubleArray r2 = jvm.doubles({10.0, 20.0, 30.0});
  Java_qel_surface_Native2DSolver_setRhemParameters(
      jvm.env(), nullptr, s("basin"), r1, r2, 2, 0.125, -4.0);
  ASSERT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(lines(),
            std::vector<std::string>{Line("SETSEDIMENTTRANSPORTPARAMETERS")
                                         .text("subbasin", "basin")
                                         .doubles("r1", {1.0, 2.0})
                                         .i32("r", 2)
                                         .f64("r2", 20.0)
                                         .f64("x1", 0.125)
                                         .f64("x2", -4.0)
                                         .len("subbasinLen")});
  EXPECT_EQ(jvm.doublesOf(r1), (std::vector<jdouble>{3.0, 5.0}));
  EXPECT_EQ(jvm.doublesOf(r2), (std::vector<jdouble>{10.0, 20.0, 30.0}));
  EXPECT_EQ(jvm.outstandingElements(), 0);
}

TEST_F(Sediment, GrainSizeFractionsTakeG1AndG2AheadOfF) {
  jdoubleArray f = jvm.doubles({1, 2, 3, 4, 5, 6, 7});
  Java_qel_surface_Native2DSolver_setGrainSizeFractions(jvm.env(), nullptr,
                                                        s("basin"), f, 2, 3);
  ASSERT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(lines(),
            std::vector<std::string>{Line("SETGRAINSIZEFRACTIONS")
                                         .text("subbasin", "basin")
                                         .i32("g1", 2)
                                         .i32("g2", 3)
                                         .doubles("f", {1, 2, 3, 4, 5, 6})
                                         .len("subbasinLen")});
  EXPECT_EQ(jvm.doublesOf(f), (std::vector<jdouble>{3, 5, 7, 9, 11, 13, 7}));
}

TEST_F(Sediment, BadInputThrowsAndNeverReachesTheSolver) {
  using Case = solvercalls::RefusedCall;
  auto rhem = [](FakeJvm& j, jdoubleArray r1, jdoubleArray r2) {
    Java_qel_surface_Native2DSolver_setRhemParameters(
        j.env(), nullptr, j.string("b"), r1, r2, 1, 1.0, 1.0);
  };
  auto cohesive = [](FakeJvm& j, int nullAt) {
    jdoubleArray d[4];
    for (int i = 0; i < 4; ++i) d[i] = i == nullAt ? nullptr : j.doubles({1});
    Java_qel_surface_Native2DSolver_setCohesiveTransportMethod(
        j.env(), nullptr, j.string("b"), j.string("m"), d[0], d[1], d[2], d[3],
        1);
  };
  const Case cases[] = {
      {"R2 of one element",
       [&](FakeJvm& j) { rhem(j, j.doubles({1}), j.doubles({5})); },
       "java/lang/IllegalArgumentException", "r2"},
      {"empty R2", [&](FakeJvm& j) { rhem(j, j.doubles({1}), j.doubles({})); },
       "java/lang/IllegalArgumentException", "r2"},
      {"null R2", [&](FakeJvm& j) { rhem(j, j.doubles({1}), nullptr); },
       "java/lang/NullPointerException", "r2"},
      {"null R1",
       [&](FakeJvm& j) {
         rhem(j, nullptr, j.doubles({1, 2}));
       },
       "java/lang/NullPointerException", "r1"},
      {"null D1", [&](FakeJvm& j) { cohesive(j, 0); },
       "java/lang/NullPointerException", "d1"},
      {"null D4", [&](FakeJvm& j) { cohesive(j, 3); },
       "java/lang/NullPointerException", "d4"},
      {"null method name",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_setTransportPotentialMethod(
             j.env(), nullptr, j.string("b"), nullptr);
       },
       "java/lang/NullPointerException", "method"},
      {"null P",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_setSedimentProperties(
             j.env(), nullptr, nullptr, 1, 1, 1, 1, 1);
       },
       "java/lang/NullPointerException", "p"},
      {"null F",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_setGrainSizeFractions(
             j.env(), nullptr, j.string("b"), nullptr, 1, 1);
       },
       "java/lang/NullPointerException", "f"},
      {"null name",
       [](FakeJvm& j) {
         Java_qel_surface_Native2DSolver_checkSedimentSetup(j.env(), nullptr,
                                                            nullptr);
       },
       "java/lang/NullPointerException", "subbasin"},
  };
  solvercalls::expectRefused(cases);
}

}  // namespace
