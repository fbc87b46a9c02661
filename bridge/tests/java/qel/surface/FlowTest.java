package qel.surface;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static qel.surface.SolverObjects.expectCall;
import static qel.surface.SolverObjects.text;

import java.util.List;
import java.util.concurrent.atomic.AtomicReference;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;
import vmz.ErrorProcessor;

class FlowTest extends BridgeCase {
  @Test
  void controlMethodsPassTheirValuesUnchanged() {
    Native2DSolver.setSubbasinNumberThreads("basin", -3);
    Native2DSolver.setSubbasinNumberThreads("basin", Integer.MAX_VALUE);
    Native2DSolver.setSubbasinImplicitFactor("basin", 1e308);
    Native2DSolver.setSubbasinControlParameters("basin", 0.1, -2.0, 3.5, -0.0, Integer.MIN_VALUE);
    Native2DSolver.initializeSubbasinFlow("basin");
    Native2DSolver.initializeSubbasinFlowState("basin");
    List<Journal.Call> calls = Journal.calls();
    assertEquals(6, calls.size());
    expectCall(calls.get(0), "SETSUBBASINNUMBERTHREADS",
        "subbasin", text("basin"), "threads", -3, "subbasinLen", 32);
    expectCall(calls.get(1), "SETSUBBASINNUMBERTHREADS",
        "subbasin", text("basin"), "threads", Integer.MAX_VALUE, "subbasinLen", 32);
    expectCall(calls.get(2), "SETSUBBASINIMPLICITFACTOR",
        "subbasin", text("basin"), "factor", 1e308, "subbasinLen", 32);
    expectCall(calls.get(3), "SETSUBBASINCONTROLPARAMETERS",
        "subbasin", text("basin"), "c1", 0.1, "c2", -2.0, "c3", 3.5, "c4", -0.0,
        "c5", Integer.MIN_VALUE, "subbasinLen", 32);
    expectCall(calls.get(4), "INITSUBBASINFLOW", "subbasin", text("basin"), "subbasinLen", 32);
    expectCall(calls.get(5), "INITSUBBASINFLOWSTATE", "subbasin", text("basin"), "subbasinLen", 32);
  }

  @Test
  void warmUpPassesItsReceivedValues() {
    Native2DSolver.initializeWarmUp("c".repeat(33), 2.5, -0.75);
    expectCall(Journal.only(), "INITSUBBASINWARMUP",
        "subbasin", text("c".repeat(32)), "w1", 2.5, "w2", -0.75, "subbasinLen", 32);
  }

  @Test
  void solveFlowPassesNFirstAndThePeriodValuesLast() {
    double[] a = {1.0, 2.0, 3.0, 4.0};
    Native2DSolver.subbasinSolvePeriodFlow("basin", 0.5, 0.25, a, 3);
    expectCall(Journal.only(), "SOLVESUBBASINFLOW",
        "subbasin", text("basin"),
        "n", 3,
        "a", new double[] {1.0, 2.0, 3.0},
        "p1", 0.5,
        "p2", 0.25,
        "subbasinLen", 32);
    // First period: a[i] = 1000 + i + p1 for i < n.
    assertArrayEquals(new double[] {1000.5, 1001.5, 1002.5, 4.0}, a);
  }

  @Test
  void solveSedimentPassesTheThreeArraysInOrder() {
    double[] a1 = {1.0, 2.0};
    double[] a2 = {3.0, 4.0};
    double[] a3 = {5.0, 6.0};
    Native2DSolver.subbasinSolvePeriodFlow("basin", 0, 0, new double[0], 0);
    Journal.clear();
    Native2DSolver.subbasinSolvePeriodSediment("basin", 7.0, 8.0, a1, a2, a3, 2);
    expectCall(Journal.only(), "SOLVESUBBASINFLOWSEDIMENT",
        "subbasin", text("basin"),
        "n", 2,
        "a1", new double[] {1.0, 2.0},
        "a2", new double[] {3.0, 4.0},
        "a3", new double[] {5.0, 6.0},
        "p1", 7.0,
        "p2", 8.0,
        "subbasinLen", 32);
    // Second period of the subbasin.
    assertArrayEquals(new double[] {2007.0, 2008.0}, a1);
    assertArrayEquals(new double[] {2008.0, 2009.0}, a2);
    assertArrayEquals(new double[] {2000.0, 2001.0}, a3);
  }

  @Test
  void emptyPeriodArraysAndAnyNStillReachTheSolver() {
    Native2DSolver.subbasinSolvePeriodFlow("basin", 1, 2, new double[0], 0);
    Native2DSolver.subbasinSolvePeriodSediment(
        "basin", 1, 2, new double[0], new double[0], new double[0], -4);
    List<Journal.Call> calls = Journal.calls();
    assertEquals("0", calls.get(0).get("n"));
    assertEquals("[]", calls.get(0).get("a"));
    assertEquals("-4", calls.get(1).get("n"));
    assertEquals("[]", calls.get(1).get("a3"));
  }

  @Test
  void aMessageRelayedDuringASolveReachesJavaOnTheSolvingThread() throws Exception {
    Native2DSolver.subbasinSolvePeriodFlow("RELAY one", 0, 0, new double[0], 0);
    AtomicReference<Thread> solver = new AtomicReference<>();
    Thread other = new Thread(() -> {
      solver.set(Thread.currentThread());
      Native2DSolver.subbasinSolvePeriodSediment(
          "RELAY two", 0, 0, new double[0], new double[0], new double[0], 0);
    });
    other.start();
    other.join();
    // Back on this thread, a solve stores this thread's environment again.
    Native2DSolver.subbasinSolvePeriodSediment(
        "RELAY one", 0, 0, new double[0], new double[0], new double[0], 0);
    List<ErrorProcessor.Received> got = ErrorProcessor.received();
    assertEquals(3, got.size());
    assertEquals("SOLVESUBBASINFLOW RELAY one period 1", got.get(0).message);
    assertSame(Thread.currentThread(), got.get(0).thread);
    assertEquals("SOLVESUBBASINFLOWSEDIMENT RELAY two period 1", got.get(1).message);
    assertSame(solver.get(), got.get(1).thread);
    assertEquals("SOLVESUBBASINFLOWSEDIMENT RELAY one period 2", got.get(2).message);
    assertSame(Thread.currentThread(), got.get(2).thread);
  }

  @Test
  void aSolveCompletesWhenTheMessageReceiverThrows() {
    ErrorProcessor.throwOnNext(new IllegalStateException("from Java"));
    double[] a = {0.0};
    Native2DSolver.subbasinSolvePeriodFlow("RELAY x", 0.5, 0, a, 1);
    assertEquals(1, ErrorProcessor.received().size());
    // The period array still came back.
    assertArrayEquals(new double[] {1000.5}, a);
  }

  @Test
  void badInputThrowsAndNeverReachesTheSolver() {
    Object[][] cases = {
      {"subbasin", (Executable) () -> Native2DSolver.setSubbasinNumberThreads(null, 1)},
      {"subbasin", (Executable) () -> Native2DSolver.setSubbasinImplicitFactor(null, 1)},
      {"subbasin", (Executable) () -> Native2DSolver.setSubbasinControlParameters(null, 1, 2, 3, 4, 5)},
      {"subbasin", (Executable) () -> Native2DSolver.initializeSubbasinFlow(null)},
      {"subbasin", (Executable) () -> Native2DSolver.initializeSubbasinFlowState(null)},
      {"subbasin", (Executable) () -> Native2DSolver.initializeWarmUp(null, 1, 2)},
      {"subbasin", (Executable) () -> Native2DSolver.subbasinSolvePeriodFlow(null, 1, 2, new double[1], 1)},
      {"a", (Executable) () -> Native2DSolver.subbasinSolvePeriodFlow("b", 1, 2, null, 1)},
      {"a1", (Executable) () -> Native2DSolver.subbasinSolvePeriodSediment(
          "b", 1, 2, null, new double[1], new double[1], 1)},
      {"a2", (Executable) () -> Native2DSolver.subbasinSolvePeriodSediment(
          "b", 1, 2, new double[1], null, new double[1], 1)},
      {"a3", (Executable) () -> Native2DSolver.subbasinSolvePeriodSediment(
          "b", 1, 2, new double[1], new double[1], null, 1)},
    };
    for (Object[] c : cases) {
      Journal.clear();
      NullPointerException e = assertThrows(NullPointerException.class, (Executable) c[1]);
      assertTrue(e.getMessage() != null && e.getMessage().startsWith(c[0] + " "), e.toString());
      assertEquals(List.of(), Journal.lines(), "the solver was called: " + e);
    }
  }
}
