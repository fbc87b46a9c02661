// The bridge against the Fortran test solver, over the fake JNIEnv: the
// program sits beside a copy of the bridge and the Fortran solver library
// built by the same toolchain. One call of each of the 47 methods, the same
// calls as FortranRecordCheck.java makes on the real JVM; the solver's
// record must equal expected_record.txt, and the values written back the
// routines' results (routines.f90).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "fake_jni.h"
#include "native_methods.h"
#include "solver_calls.h"

namespace {

using fakejni::FakeJvm;
using Rows = std::vector<std::vector<jdouble>>;
using IntRows = std::vector<std::vector<jint>>;

// The lines of a file without line ends (LF or CRLF), leaving out empty
// lines and lines beginning with '#'.
std::vector<std::string> recordLines(const std::string& path) {
  std::vector<std::string> out;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') out.push_back(line);
  }
  return out;
}

jobject geometry(FakeJvm& jvm) {
  jobject g = jvm.newObject("test/Geometry");
  auto rows = [&](const char* field, const Rows& values) {
    jvm.setObjectField(g, field, "[[D", jvm.doubleRows(values));
  };
  auto intRows = [&](const char* field, const IntRows& values) {
    jvm.setObjectField(g, field, "[[I", jvm.intRows(values));
  };
  jvm.setObjectField(g, "_cellBathAreas", "[D", jvm.doubles({1.0, 2.0}));
  jvm.setIntField(g, "_numberInternalCells", 1);
  jvm.setIntField(g, "_maxNumberNodesPerCell", 3);
  rows("_cellCoordinates", {{0.5, 1.0}, {2.0, 0.25}});
  intRows("_cellFaceOrientationInfo", {{1, 2}, {3, 1}});
  intRows("_cellFaceOrientationValues", {{1, 1}, {2, -1}, {3, 1}});
  intRows("_cellNodeIndices", {{1, 2, 3}, {2, 4, 3}});
  intRows("_nodeCellInfo", {{1, 1}, {2, 2}, {4, 1}, {5, 1}});
  jvm.setObjectField(g, "_nodeCellValues", "[I", jvm.ints({1, 1, 2, 1, 2}));
  rows("_nodeCoordinates", {{0, 0}, {1, 0}, {0, 1}, {1, 1}});
  intRows("_nodeFaceOrientationInfo", {{1, 1}, {2, 1}, {3, 0}, {3, 1}});
  intRows("_nodeFaceOrientationValues", {{1, 0}, {2, 1}, {3, 2}});
  rows("_faceNormalVector", {{1, 0}, {0, 1}, {-1, 0}});
  jvm.setObjectField(g, "_faceVectorLength", "[D",
                     jvm.doubles({1.0, 0.5, 2.0}));
  intRows("_faceNodeIndices", {{1, 2}, {2, 4}, {3, 1}});
  return g;
}

jobject bathymetry(FakeJvm& jvm) {
  jobject b = jvm.newObject("test/Bathymetry");
  jvm.setObjectField(b, "_cellVolumeElevationInfo", "[[I",
                     jvm.intRows({{1, 2}, {3, 1}}));
  jvm.setObjectField(b, "_cellVolumeElevationValues", "[[D",
                     jvm.doubleRows({{100, 0}, {101, 1.5}, {99.5, 0}}));
  jvm.setObjectField(b, "_faceAreaElevationInfo", "[[I",
                     jvm.intRows({{1, 1}, {2, 1}, {3, 0}}));
  jvm.setObjectField(b, "_faceAreaElevationValues", "[[D",
                     jvm.doubleRows({{100, 0, 0, 0}, {101, 2, 1.5, 0.5}}));
  return b;
}

TEST(FortranSolver, EveryMethodReachesItIntact) {
  FakeJvm jvm;
  JNIEnv* env = jvm.env();
  jvm.addStaticMethod(jvm.defineClass("vmz/ErrorProcessor"),
                      "processCodedMessage", "(Ljava/lang/String;)V");
  auto s = [&](const char* text) { return jvm.string(text); };
  const jstring V = s("Valley");
  const jstring debit =
      s("D\xc3\xa9"
        "bit");
  auto faces = [&](std::vector<jint> index, std::vector<jdouble> fraction) {
    return solvercalls::faces(jvm, index, fraction);
  };
  // Arrays that come back, with the values they must hold.
  std::vector<std::pair<jdoubleArray, std::vector<jdouble>>> back;
  auto inPlace = [&](std::vector<jdouble> values, std::vector<jdouble> after) {
    jdoubleArray a = jvm.doubles(values);
    back.emplace_back(a, after);
    return a;
  };
  fakejni::journal::clear();

  Java_qel_surface_Native2DSolver_setFortranLogFile(env, nullptr,
                                                    s("fortran.log"));
  Java_qel_surface_Native2DSolver_setUnitSystem(env, nullptr, 2);
  Java_qel_surface_Native2DSolver_releaseSubbasins(env, nullptr);
  Java_qel_surface_Native2DSolver_setupBasinFlow(
      env, nullptr, 2, jvm.strings({"North", "South", "not read"}));
  Java_qel_surface_Native2DSolver_setupBasinSediment(env, nullptr, 1,
                                                     jvm.strings({"Valley"}));
  Java_qel_surface_Native2DSolver_initializeSubbasinGeometry(env, nullptr, V,
                                                             geometry(jvm));
  Java_qel_surface_Native2DSolver_initializeSubbasinBathymetry(env, nullptr, V,
                                                               bathymetry(jvm));

  Java_qel_surface_Native2DSolver_setBoundaryNormalDepth(
      env, nullptr, V, s("Outlet"), faces({1, 3}, {0.5, 0.25}), 0.75);
  Java_qel_surface_Native2DSolver_setBoundaryRatingCurve(
      env, nullptr, V, s("Rating"), faces({2}, {1.0}), 3,
      inPlace({1, 2, 3, 9}, {-1, -2, -3, 9}),
      inPlace({10, 20, 30}, {-10, -20, -30}));
  Java_qel_surface_Native2DSolver_setBoundaryFlow(
      env, nullptr, V, debit, faces({1}, {1.0}), 99.0, 12.5);
  Java_qel_surface_Native2DSolver_setBoundaryStage(
      env, nullptr, V, s("Stage"), faces({3}, {0.5}), 99.0, 101.25);
  Java_qel_surface_Native2DSolver_setBoundaryValueFlow(env, nullptr, V, debit,
                                                       13.5);
  Java_qel_surface_Native2DSolver_setBoundaryValueStage(env, nullptr, V,
                                                        s("Stage"), 102.5);
  Java_qel_surface_Native2DSolver_setBoundaryValueLoad(env, nullptr, V, debit,
                                                       0.125);

  Java_qel_surface_Native2DSolver_setSubbasinNumberThreads(env, nullptr, V, 4);
  Java_qel_surface_Native2DSolver_setSubbasinImplicitFactor(env, nullptr, V,
                                                            0.6);
  Java_qel_surface_Native2DSolver_setSubbasinControlParameters(
      env, nullptr, V, 0.1, 0.2, 0.3, 0.4, 5);
  Java_qel_surface_Native2DSolver_initializeSubbasinFlow(
      env, nullptr, s("A subbasin name longer than 32 bytes"));
  Java_qel_surface_Native2DSolver_initializeSubbasinFlowState(env, nullptr, V);
  Java_qel_surface_Native2DSolver_initializeWarmUp(env, nullptr, V, 1.5, -2.5);
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
      env, nullptr, V, 0.5, 0.25, inPlace({1, 2, 3, 4}, {-1, -2, -3, 4}), 3);

  Java_qel_surface_Native2DSolver_initializeSubbasinSediment(env, nullptr, V);
  Java_qel_surface_Native2DSolver_setFallVelocityMethod(env, nullptr, V,
                                                        s("Rubey"));
  Java_qel_surface_Native2DSolver_setTransportPotentialMethod(
      env, nullptr, V, s("Yang-1973-sand-and-gravel"));
  Java_qel_surface_Native2DSolver_setCohesiveTransportMethod(
      env, nullptr, V, s("Krone"), inPlace({1, 2}, {-1, -2}),
      inPlace({3, 4}, {-3, -4}), inPlace({5, 6}, {-5, -6}),
      inPlace({7, 8}, {-7, -8}), 2);
  Java_qel_surface_Native2DSolver_setSedimentProperties(
      env, nullptr, inPlace({2650, 0.4, 9}, {-2650, -0.4, 9}), 2, 1.1, 1.2, 1.3,
      1.4);
  Java_qel_surface_Native2DSolver_setRhemParameters(
      env, nullptr, V, inPlace({0.5, 1.5}, {-0.5, -1.5}), jvm.doubles({7, 8}),
      2, 0.01, 0.02);
  Java_qel_surface_Native2DSolver_setSubbasinMobilityFactor(env, nullptr, V,
                                                            1.25);
  Java_qel_surface_Native2DSolver_setGrainSizeFractions(
      env, nullptr, V,
      inPlace({0.1, 0.2, 0.3, 0.4, 0.5, 0.6},
              {-0.1, -0.2, -0.3, -0.4, -0.5, -0.6}),
      2, 3);
  Java_qel_surface_Native2DSolver_checkSedimentSetup(env, nullptr, V);
  Java_qel_surface_Native2DSolver_subbasinSolvePeriodSediment(
      env, nullptr,
      s("Vall\xc3\xa9"
        "e"),
      1.0, 2.0, inPlace({1, 2}, {-1, -2}), inPlace({3, 4}, {-3, -4}),
      inPlace({5, 6}, {-5, -6}), 2);

  // Boundary results: value = value + 100 code (+ k); GETBOUNDARYLOAD's
  // value starts at 0, the others' at element 0.
  Java_qel_surface_Native2DSolver_getBoundaryOutflow(
      env, nullptr, V, debit, inPlace({5, 42}, {105, 42}));
  Java_qel_surface_Native2DSolver_getBoundaryStage(env, nullptr, V, s("Stage"),
                                                   inPlace({1.5}, {201.5}));
  Java_qel_surface_Native2DSolver_getBoundaryLoad(env, nullptr, V, debit,
                                                  inPlace({7}, {303}), 3);
  Java_qel_surface_Native2DSolver_getBoundaryTotalLoad(env, nullptr, V, debit,
                                                       inPlace({0}, {400}));
  Java_qel_surface_Native2DSolver_getBoundaryConcentration(
      env, nullptr, V, debit, inPlace({9}, {298}), -2);
  Java_qel_surface_Native2DSolver_getBoundaryTotalConcentration(
      env, nullptr, V, debit, inPlace({0.5}, {500.5}));

  // Cell and face results: values(c) = 100 code + c + i1/2 + i2/4, for 2
  // cells or 3 faces.
  const std::vector<jdouble> two(2, 0.0);
  Java_qel_surface_Native2DSolver_getSubbasinCellWetArea(
      env, nullptr, V, inPlace(two, {101.5, 102.5}), 1);
  Java_qel_surface_Native2DSolver_getSubbasinCellVolume(
      env, nullptr, V, inPlace(two, {202, 203}), 2);
  Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(
      env, nullptr, V, inPlace(two, {301, 302}), 0);
  Java_qel_surface_Native2DSolver_getSubbasinCellVelocity(
      env, nullptr, V, inPlace(two, {400.5, 401.5}), -1);
  Java_qel_surface_Native2DSolver_getSubbasinFaceVelocity(
      env, nullptr, V, inPlace({0, 0, 0, -7}, {503, 504, 505, -7}), 4);
  Java_qel_surface_Native2DSolver_getSubbasinCellTotalConcentration(
      env, nullptr, V, inPlace(two, {601.5, 602.5}), 1);
  Java_qel_surface_Native2DSolver_getSubbasinCellTotalBedChange(
      env, nullptr, V, inPlace(two, {701, 702}), 0);
  Java_qel_surface_Native2DSolver_getSubbasinCellConcentration(
      env, nullptr, V, inPlace(two, {802, 803}), 1, 2);
  Java_qel_surface_Native2DSolver_getSubbasinCellBedChange(
      env, nullptr, V, inPlace(two, {900, 901}), 0, -4);
  Java_qel_surface_Native2DSolver_getSubbasinCellActiveFraction(
      env, nullptr, V, inPlace(two, {1002.75, 1003.75}), 3, 1);

  EXPECT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
  EXPECT_TRUE(jvm.misuse().empty()) << jvm.misuse().front();
  EXPECT_EQ(jvm.outstandingElements(), 0);

  const std::vector<std::string> expected = recordLines("expected_record.txt");
  const std::vector<std::string> record =
      recordLines(std::getenv("QUARNEL_JOURNAL"));
  ASSERT_FALSE(expected.empty());
  for (std::size_t i = 0; i < std::max(expected.size(), record.size()); ++i) {
    EXPECT_EQ(i < record.size() ? record[i] : "(none)",
              i < expected.size() ? expected[i] : "(none)")
        << "record line " << i + 1;
  }
  for (const auto& [array, values] : back) {
    EXPECT_EQ(jvm.doublesOf(array), values);
  }
  std::vector<std::string> messages;
  for (const fakejni::StaticCall& call : jvm.staticCalls()) {
    messages.push_back(call.stringArgs.empty() ? "" : call.stringArgs[0]);
  }
  EXPECT_EQ(messages,
            (std::vector<std::string>{"SOLVESUBBASINFLOW Valley",
                                      "SOLVESUBBASINFLOWSEDIMENT Vall\xc3\xa9"
                                      "e"}));
}

}  // namespace
