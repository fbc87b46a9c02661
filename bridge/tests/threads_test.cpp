// Native methods called from several threads at once, each thread with an
// environment of its own. velmora_tsan_tests runs this file again under
// ThreadSanitizer, which sees what a plain run passes over: an unguarded
// access to the mesh counts the bridge keeps, to the stand-in's store or to
// the relay's state. It runs without the journal there, whose lock would
// order the threads' calls.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fake_jni.h"
#include "native_methods.h"
#include "solver_calls.h"

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 200;

// One thread's work: every round a mesh under a new name (so the kept
// counts gain an entry while other threads look theirs up), its result into
// an array of exactly its size, and a solve that relays a message.
void meshResultsAndSolves(int thread, std::atomic<int>& ready) {
  fakejni::FakeJvm jvm;
  jvm.addStaticMethod(jvm.defineClass("vmz/ErrorProcessor"),
                      "processCodedMessage", "(Ljava/lang/String;)V");
  const std::string name = "RELAY thread " + std::to_string(thread);
  // All threads start their calls together.
  ready.fetch_add(1);
  while (ready.load() < kThreads) std::this_thread::yield();
  for (int round = 0; round < kRounds; ++round) {
    const std::size_t cells = 1 + static_cast<std::size_t>(round + thread) % 7;
    const std::string mesh = name + " mesh " + std::to_string(round);
    solvercalls::makeMesh(jvm, mesh, std::vector<jdouble>(cells, 1.0), 2);
    Java_qel_surface_Native2DSolver_getSubbasinCellWaterSurface(
        jvm.env(), nullptr, jvm.string(mesh),
        jvm.doubles(std::vector<jdouble>(cells)), 0);
    EXPECT_FALSE(jvm.exceptionPending()) << jvm.exceptionMessage();
    Java_qel_surface_Native2DSolver_subbasinSolvePeriodFlow(
        jvm.env(), nullptr, jvm.string(name), 0, 0, jvm.doubles({}), 0);
  }
  ASSERT_EQ(jvm.staticCalls().size(), static_cast<std::size_t>(kRounds));
  for (const fakejni::StaticCall& call : jvm.staticCalls()) {
    EXPECT_EQ(call.thread, std::this_thread::get_id());
    EXPECT_EQ(call.stringArgs[0].rfind("SOLVESUBBASINFLOW " + name, 0), 0u);
  }
  EXPECT_TRUE(jvm.misuse().empty());
}

TEST(Threads, MeshesResultsAndRelaysOnSeveralThreadsAtOnce) {
  {
    fakejni::FakeJvm jvm;
    Java_qel_surface_Native2DSolver_releaseSubbasins(jvm.env(), nullptr);
  }
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back(meshResultsAndSolves, t, std::ref(ready));
  }
  for (std::thread& t : threads) t.join();
}

}  // namespace
