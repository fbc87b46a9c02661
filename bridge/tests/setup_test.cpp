// setupBasinFlow and setupBasinSediment over the fake JNIEnv.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expected_line.h"
#include "fake_jni.h"
#include "native_methods.h"
#include "solver_calls.h"

namespace {

using fakejni::FakeJvm;
using Method = void (*)(JNIEnv*, jclass, jint, jobjectArray);

struct Routine {
  const char* name;
  Method method;
};

const Routine kRoutines[] = {
    {"INITBASINFLOW", Java_qel_surface_Native2DSolver_setupBasinFlow},
    {"INITBASINSEDIMENT", Java_qel_surface_Native2DSolver_setupBasinSediment},
};

class SetupTest
    : public solvercalls::BridgeTestOf<::testing::TestWithParam<Routine>> {
 protected:
  void call(jint count, jobjectArray names) {
    GetParam().method(jvm.env(), nullptr, count, names);
  }
  std::string line(long count, const std::vector<std::string>& bytes) {
    return expected::Line(GetParam().name)
        .i32("count", count)
        .texts("names", bytes, 32)
        .raw("nameLen", "32");
  }
};

TEST_P(SetupTest, NamesAreFilledOrCutTo32Bytes) {
  const std::string n32(32, 'n');
  const std::vector<std::string> names = {
      "",
      "Upper Reach",
      n32,
      n32 + "cut",
      "Caf\xc3\xa9",                         // two-byte character
      std::string(31, 'a') + "\xc3\xa9",     // cut inside a character
      std::string(30, 'b') + "\xe2\x82\xac"  // three bytes, cut after two
  };
  call(static_cast<jint>(names.size()), jvm.strings(names));
  ASSERT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
  EXPECT_EQ(fakejni::journal::lines(),
            std::vector<std::string>{
                line(7, {"", "Upper Reach", n32, n32, "Caf\xc3\xa9",
                         std::string(31, 'a') + "\xc3",
                         std::string(30, 'b') + "\xe2\x82"})});
}

TEST_P(SetupTest, NonBmpCharacterIsSixModifiedUtf8Bytes) {
  call(1, jvm.strings({"\xf0\x9f\x8c\x8a"}));  // U+1F30A, a surrogate pair
  EXPECT_EQ(fakejni::journal::lines(),
            std::vector<std::string>{line(1, {"\xed\xa0\xbc\xed\xbc\x8a"})});
}

TEST_P(SetupTest, OnlyTheFirstCountNamesAreRead) {
  call(2, jvm.strings({"one", "two", "three"}));
  EXPECT_EQ(fakejni::journal::lines(),
            std::vector<std::string>{line(2, {"one", "two"})});
  EXPECT_EQ(jvm.callCount("GetObjectArrayElement"), 2);
}

TEST_P(SetupTest, CountZeroStillCallsTheRoutine) {
  call(0, jvm.strings({"unread"}));
  call(0, nullptr);  // no name is read, so none is needed
  EXPECT_EQ(fakejni::journal::lines(),
            (std::vector<std::string>{line(0, {}), line(0, {})}));
}

TEST_P(SetupTest, BadInputThrowsWithoutCall) {
  struct Case {
    jint count;
    std::vector<const char*> names;  // nullptr: a null element
    bool nullArray;
    const char* exceptionClass;
    const char* message;
  } cases[] = {
      {-1,
       {"a"},
       false,
       "java/lang/IllegalArgumentException",
       "count is negative: -1"},
      {3,
       {"a", "b"},
       false,
       "java/lang/IllegalArgumentException",
       "count 3 exceeds the 2 names"},
      {1, {}, true, "java/lang/NullPointerException", "names is null"},
      {3,
       {"a", nullptr, "c"},
       false,
       "java/lang/NullPointerException",
       "names[1] is null"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<jobject> elements;
    for (const char* n : c.names) {
      elements.push_back(n != nullptr ? jvm.string(n) : nullptr);
    }
    jobjectArray names =
        c.nullArray ? nullptr : jvm.objects(elements, "[Ljava/lang/String;");
    call(c.count, names);
    EXPECT_EQ(jvm.exceptionClass(), c.exceptionClass);
    EXPECT_EQ(jvm.exceptionMessage(), c.message);
    jvm.clearException();
  }
  EXPECT_TRUE(fakejni::journal::lines().empty());
}

INSTANTIATE_TEST_SUITE_P(BothRoutines, SetupTest,
                         ::testing::ValuesIn(kRoutines), [](const auto& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
