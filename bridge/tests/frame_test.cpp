// The frame methods and the relay over the fake JNIEnv.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "fake_jni.h"
#include "native_methods.h"
#include "quarnel.h"
#include "solver_calls.h"

namespace {

using fakejni::FakeJvm;

using FrameTest = solvercalls::BridgeTest;

std::string blanks(std::size_t n) { return std::string(n, ' '); }

TEST_F(FrameTest, LogFilePathIsFilledOrCutTo256Bytes) {
  const std::string exact(256, 'p');
  struct Case {
    std::string path;
    std::string received;
  } cases[] = {
      {"", blanks(256)},
      {"C:\\model\\quarnel.log", "C:\\\\model\\\\quarnel.log" + blanks(236)},
      {exact, exact},
      {exact + "tail", exact},
      // 255 ASCII bytes and a two-byte character: the cut falls inside it.
      {std::string(255, 'a') + "\xc3\xa9", std::string(255, 'a') + "\\xc3"},
  };
  for (const Case& c : cases) {
    fakejni::journal::clear();
    Java_qel_surface_Native2DSolver_setFortranLogFile(jvm.env(), nullptr,
                                                      jvm.string(c.path));
    ASSERT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
    EXPECT_EQ(fakejni::journal::lines(),
              std::vector<std::string>{"SETLOGFILE path=\"" + c.received +
                                       "\" pathLen=256"});
  }
}

TEST_F(FrameTest, NullLogFilePathThrowsWithoutCall) {
  Java_qel_surface_Native2DSolver_setFortranLogFile(jvm.env(), nullptr,
                                                    nullptr);
  EXPECT_EQ(jvm.exceptionClass(), "java/lang/NullPointerException");
  EXPECT_EQ(jvm.exceptionMessage(), "path is null");
  EXPECT_TRUE(fakejni::journal::lines().empty());
  jvm.clearException();
}

TEST_F(FrameTest, UnitSystemAndReleasePassThrough) {
  for (jint unit : {0, 1, 2, -7, 2147483647}) {
    Java_qel_surface_Native2DSolver_setUnitSystem(jvm.env(), nullptr, unit);
  }
  Java_qel_surface_Native2DSolver_releaseSubbasins(jvm.env(), nullptr);
  EXPECT_EQ(fakejni::journal::lines(),
            (std::vector<std::string>{
                "SETUNITSYSTEM unitSystem=0", "SETUNITSYSTEM unitSystem=1",
                "SETUNITSYSTEM unitSystem=2", "SETUNITSYSTEM unitSystem=-7",
                "SETUNITSYSTEM unitSystem=2147483647", "DEALLOCATESUBBASINS"}));
}

class RelayTest : public FrameTest {
 protected:
  // A log file path that begins with "RELAY" makes the stand-in relay a
  // message during setFortranLogFile.
  void relay(const char* path) {
    Java_qel_surface_Native2DSolver_setFortranLogFile(jvm.env(), nullptr,
                                                      jvm.string(path));
  }
};

TEST_F(RelayTest, MessageReachesProcessCodedMessage) {
  jclass ep = jvm.defineClass("vmz/ErrorProcessor");
  jvm.addStaticMethod(ep, "processCodedMessage", "(Ljava/lang/String;)V");
  relay("RELAY one");
  relay("RELAY two \xc3\xa9");
  ASSERT_EQ(jvm.staticCalls().size(), 2u);
  EXPECT_EQ(jvm.staticCalls()[0].className, "vmz/ErrorProcessor");
  EXPECT_EQ(jvm.staticCalls()[0].method, "processCodedMessage");
  EXPECT_EQ(jvm.staticCalls()[0].stringArgs,
            std::vector<std::string>{"SETLOGFILE RELAY one"});
  EXPECT_EQ(jvm.staticCalls()[1].stringArgs,
            std::vector<std::string>{"SETLOGFILE RELAY two \xc3\xa9"});
  // Looked up anew for every message.
  EXPECT_EQ(jvm.callCount("FindClass"), 2);
  EXPECT_EQ(jvm.callCount("GetStaticMethodID"), 2);
  EXPECT_FALSE(jvm.exceptionPending());
}

TEST_F(RelayTest, MissingClassOrMethodLeavesNoException) {
  relay("RELAY no class");
  EXPECT_TRUE(jvm.staticCalls().empty());
  EXPECT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(jvm.callCount("GetStaticMethodID"), 0);

  jvm.defineClass("vmz/ErrorProcessor");  // without the method
  relay("RELAY no method");
  EXPECT_TRUE(jvm.staticCalls().empty());
  EXPECT_FALSE(jvm.exceptionPending());
  EXPECT_EQ(jvm.callCount("NewStringUTF"), 0);
}

// What `action` prints on standard output and flushes. Standard output that
// is not a terminal (as under CTest) is fully buffered: a line reaches the
// file it is redirected to only when flushed, and the file is read before
// anything here flushes.
std::string flushedOutputOf(const std::function<void()>& action) {
  const std::string path = testing::TempDir() + "flushed_output.txt";
  std::fflush(stdout);
  const int saved = dup(fileno(stdout));
  FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return "cannot open " + path;
  dup2(fileno(file), fileno(stdout));
  action();
  std::ostringstream seen;
  seen << std::ifstream(path).rdbuf();
  std::fflush(stdout);
  dup2(saved, fileno(stdout));
  close(saved);
  std::fclose(file);
  return seen.str();
}

// Flushed line by line, so they come in order with Java's own output and
// survive a crash of the JVM.
TEST_F(RelayTest, MissingClassOrMethodPrintsTwoFlushedLines) {
  struct Case {
    bool classDefined;
    const char* path;
    const char* lines;
  } cases[] = {
      {false, "RELAY lost",
       "sendMessageToJava: message: SETLOGFILE RELAY lost\n"
       "sendMessageToJava: epClass is NULL\n"},
      {true, "RELAY lost again",
       "sendMessageToJava: message: SETLOGFILE RELAY lost again\n"
       "sendMessageToJava: methodID is NULL\n"},
  };
  for (const Case& c : cases) {
    if (c.classDefined) jvm.defineClass("vmz/ErrorProcessor");
    EXPECT_EQ(flushedOutputOf([&] { relay(c.path); }), c.lines);
  }
}

TEST_F(RelayTest, EachMessageArrivesOnTheThreadThatRelayedIt) {
  jvm.addStaticMethod(jvm.defineClass("vmz/ErrorProcessor"),
                      "processCodedMessage", "(Ljava/lang/String;)V");
  const fakejni::VmCounts before = fakejni::vmCounts();
  auto solve = [&](const char* name) {
    Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
        jvm.env(), nullptr, jvm.string(name), 0, 0, jvm.doubles({}), 0);
  };
  solve("RELAY basin");        // through the calling thread's environment
  solve("WORKERRELAY basin");  // from the solver's worker thread
  std::thread([] { sendMessageToJava("from a thread of the solver"); }).join();
  const auto& calls = jvm.staticCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].stringArgs[0], "SOLVESUBBASINFLOW RELAY basin period 1");
  EXPECT_EQ(calls[0].thread, std::this_thread::get_id());
  EXPECT_EQ(calls[1].stringArgs[0],
            "SOLVESUBBASINFLOW WORKERRELAY basin period 1");
  EXPECT_NE(calls[1].thread, std::this_thread::get_id());
  EXPECT_EQ(calls[2].stringArgs[0], "from a thread of the solver");
  EXPECT_NE(calls[2].thread, std::this_thread::get_id());
  // The two unknown threads were attached for their message and detached.
  const fakejni::VmCounts after = fakejni::vmCounts();
  EXPECT_EQ(after.attached - before.attached, 2);
  EXPECT_EQ(after.detached - before.detached, 2);
}

TEST_F(RelayTest, AMessageFromAResultRoutineWaitsForTheCriticalRegion) {
  jvm.addStaticMethod(jvm.defineClass("vmz/ErrorProcessor"),
                      "processCodedMessage", "(Ljava/lang/String;)V");
  solvercalls::makeMesh(jvm, "RESULTRELAY mesh", {1.0, 2.0}, 1);
  jvm.clearCalls();
  jdoubleArray values = jvm.doubles({0.0, 0.0});
  Java_qel_surface_Native2DSolver_getSubbasinCellVolume(
      jvm.env(), nullptr, jvm.string("RESULTRELAY mesh"), values, 0);
  ASSERT_EQ(jvm.staticCalls().size(), 1u);
  EXPECT_EQ(jvm.staticCalls()[0].stringArgs[0],
            "GETSUBBASINCELLVOLUME RESULTRELAY mesh");
  // Delivered once the region was released; no JNI call inside it (the
  // fixture finds any as misuse).
  const auto& calls = jvm.calls();
  const auto released =
      std::find(calls.begin(), calls.end(), "ReleasePrimitiveArrayCritical");
  EXPECT_LT(released - calls.begin(),
            std::find(calls.begin(), calls.end(), "FindClass") - calls.begin());
  EXPECT_EQ(jvm.doublesOf(values)[1], 2000001.0 + 2 * solvercalls::kSquareFeet);
}

#if !defined(_WIN32)
// The stand-in reads every hidden length as a full 64-bit value and ends the
// process on anything but the expected width: garbage in the upper half, as
// a caller passing a 32-bit length can leave there, is never mistaken for 256.
TEST(StandInTest, WrongHiddenLengthEndsTheProcessLoudly) {
  const std::string path(256, ' ');
  const FLen garbage = (FLen{0xdeadbeef} << 32) | 256;
  EXPECT_DEATH(SETLOGFILE(path.data(), garbage),
               "SETLOGFILE received hidden length pathLen=.*expected 256");
  const std::string names(32, ' ');
  const int one = 1;
  EXPECT_DEATH(INITBASINFLOW(&one, names.data(), 31),
               "INITBASINFLOW received hidden length nameLen=31");
}
#endif

}  // namespace
