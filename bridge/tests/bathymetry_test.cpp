// initializeSubbasinBathymetry over the fake JNIEnv.

#include <gtest/gtest.h>

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

struct Tables {
  Rows<jint> cellInfo;
  Rows<jdouble> cellValues;
  Rows<jint> faceInfo;
  Rows<jdouble> faceValues;
};

jobject build(FakeJvm& jvm, const Tables& t) {
  jobject b = jvm.newObject("qel/surface/SubbasinBathymetry");
  jvm.setObjectField(b, "_cellVolumeElevationInfo", "[[I",
                     jvm.intRows(t.cellInfo));
  jvm.setObjectField(b, "_cellVolumeElevationValues", "[[D",
                     jvm.doubleRows(t.cellValues));
  jvm.setObjectField(b, "_faceAreaElevationInfo", "[[I",
                     jvm.intRows(t.faceInfo));
  jvm.setObjectField(b, "_faceAreaElevationValues", "[[D",
                     jvm.doubleRows(t.faceValues));
  return b;
}

class BathymetryTest : public solvercalls::BridgeTest {
 protected:
  void call(const char* name, jobject bathymetry) {
    Java_qel_surface_Native2DSolver_initializeSubbasinBathymetry(
        jvm.env(), nullptr, name ? jvm.string(name) : nullptr, bathymetry);
  }
};

TEST_F(BathymetryTest, TablesReachTheRoutineUnconverted) {
  Tables t;
  t.cellInfo = {{1, 2}, {3, 2, 99}};
  t.cellValues = {{100.0, 10.0}, {101.5, 20.0}, {102.0, 30.0, 7.0}};
  t.faceInfo = {{1, 1}};
  t.faceValues = {{100.0, 0.5, 1.0, 2.0, 66.0, 77.0}, {0.1, -0.0, 3, 4}};
  call("Lower basin with a long name beyond 32", build(jvm, t));
  ASSERT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
  EXPECT_EQ(
      fakejni::journal::lines(),
      std::vector<std::string>{
          expected::Line("INITSUBBASINBATHYMETRY")
              .text("subbasin", "Lower basin with a long name beyond 32", 32)
              .i32("cellCount", 2)
              .i32("cellVolumeElevationCount", 3)
              .i32("faceCount", 1)
              .i32("faceAreaElevationCount", 2)
              .raw("cellVolumeElevationInfo", "[1,2,3,2]")
              .raw("cellVolumeElevationValues", "[100,10,101.5,20,102,30]")
              .raw("faceAreaElevationInfo", "[1,1]")
              .raw("faceAreaElevationValues",
                   "[100,0.5,1,2,0.10000000000000001,-0,3,4]")
              .raw("subbasinLen", "32")});
}

TEST_F(BathymetryTest, EmptyTablesStillCallTheRoutine) {
  call("e", build(jvm, Tables{}));
  EXPECT_EQ(fakejni::journal::lines(),
            std::vector<std::string>{expected::Line("INITSUBBASINBATHYMETRY")
                                         .text("subbasin", "e", 32)
                                         .raw("cellCount", "0")
                                         .raw("cellVolumeElevationCount", "0")
                                         .raw("faceCount", "0")
                                         .raw("faceAreaElevationCount", "0")
                                         .raw("cellVolumeElevationInfo", "[]")
                                         .raw("cellVolumeElevationValues", "[]")
                                         .raw("faceAreaElevationInfo", "[]")
                                         .raw("faceAreaElevationValues", "[]")
                                         .raw("subbasinLen", "32")});
}

TEST_F(BathymetryTest, BadInputThrowsWithoutCall) {
  const Tables good{{{1, 1}}, {{1, 2}}, {{1, 1}}, {{1, 2, 3, 4}}};
  struct Case {
    const char* what;
    void (*spoil)(FakeJvm&, jobject);
    const char* exceptionClass;
    const char* message;
  } cases[] = {
      {"missing field",
       [](FakeJvm& jvm, jobject b) {
         jvm.removeField(b, "_faceAreaElevationInfo");
       },
       "java/lang/NoSuchFieldError", "_faceAreaElevationInfo"},
      {"wrong signature",
       [](FakeJvm& jvm, jobject b) {
         jvm.setObjectField(b, "_cellVolumeElevationValues", "[[I",
                            jvm.intRows({{1, 2}}));
       },
       "java/lang/NoSuchFieldError", "_cellVolumeElevationValues"},
      {"null table",
       [](FakeJvm& jvm, jobject b) {
         jvm.setObjectField(b, "_cellVolumeElevationInfo", "[[I", nullptr);
       },
       "java/lang/NullPointerException",
       "field _cellVolumeElevationInfo is null"},
      {"null row",
       [](FakeJvm& jvm, jobject b) {
         jvm.setObjectField(b, "_faceAreaElevationInfo", "[[I",
                            jvm.objects({jvm.ints({1, 1}), nullptr}, "[[I"));
       },
       "java/lang/NullPointerException",
       "_faceAreaElevationInfo row 1 is null"},
      {"face values row of three",
       [](FakeJvm& jvm, jobject b) {
         jvm.setObjectField(b, "_faceAreaElevationValues", "[[D",
                            jvm.doubleRows({{1, 2, 3, 4}, {1, 2, 3}}));
       },
       "java/lang/IllegalArgumentException",
       "_faceAreaElevationValues row 1 has 3 elements, needs 4"},
      {"cell info row of one",
       [](FakeJvm& jvm, jobject b) {
         jvm.setObjectField(b, "_cellVolumeElevationInfo", "[[I",
                            jvm.intRows({{1}}));
       },
       "java/lang/IllegalArgumentException",
       "_cellVolumeElevationInfo row 0 has 1 elements, needs 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    jobject b = build(jvm, good);
    c.spoil(jvm, b);
    call("bad", b);
    EXPECT_EQ(jvm.exceptionClass(), c.exceptionClass);
    EXPECT_EQ(jvm.exceptionMessage(), c.message);
    jvm.clearException();
  }
  call(nullptr, build(jvm, good));
  EXPECT_EQ(jvm.exceptionMessage(), "subbasin is null");
  jvm.clearException();
  call("bad", nullptr);
  EXPECT_EQ(jvm.exceptionMessage(), "bathymetry is null");
  jvm.clearException();
  EXPECT_TRUE(fakejni::journal::lines().empty());
}

}  // namespace
