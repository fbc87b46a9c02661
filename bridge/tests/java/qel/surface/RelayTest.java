package qel.surface;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.atomic.AtomicReference;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;
import vmz.ErrorProcessor;

/**
 * The relay: the stand-in's SETLOGFILE relays "SETLOGFILE <path>" when the
 * path begins with "RELAY", through the environment setFortranLogFile has
 * just stored.
 */
class RelayTest extends BridgeCase {
  private static List<String> messages() {
    return ErrorProcessor.received().stream().map(r -> r.message).collect(Collectors.toList());
  }

  @Test
  void messageReachesProcessCodedMessageOnTheCallingThread() throws Exception {
    AtomicReference<Thread> caller = new AtomicReference<>();
    Thread t =
        new Thread(
            () -> {
              caller.set(Thread.currentThread());
              Native2DSolver.setFortranLogFile("RELAY from a thread \u00e9");
            },
            "solver-caller");
    t.start();
    t.join();
    List<ErrorProcessor.Received> got = ErrorProcessor.received();
    assertEquals(1, got.size());
    assertEquals("SETLOGFILE RELAY from a thread \u00e9", got.get(0).message);
    assertSame(caller.get(), got.get(0).thread);
  }

  @Test
  void everyMessageArrivesInOrder() {
    Native2DSolver.setFortranLogFile("RELAY 1");
    Native2DSolver.setFortranLogFile("not relayed");
    Native2DSolver.setFortranLogFile("RELAY 2");
    assertEquals(List.of("SETLOGFILE RELAY 1", "SETLOGFILE RELAY 2"), messages());
    assertEquals(3, Journal.lines().size());
  }

  @Test
  void anExceptionInProcessCodedMessageDoesNotReachTheCaller() {
    ErrorProcessor.throwOnNext(new IllegalStateException("thrown by the receiver (expected)"));
    Native2DSolver.setFortranLogFile("RELAY throws");
    Native2DSolver.setFortranLogFile("RELAY after");
    assertEquals(List.of("SETLOGFILE RELAY throws", "SETLOGFILE RELAY after"), messages());
  }

  private static final int PERIODS = 300;

  @Test
  void twoThreadsSolvingAtOnceEachGetTheirOwnMessages() throws Exception {
    Native2DSolver.releaseSubbasins();
    List<Thread> threads = new ArrayList<>();
    for (String name : new String[] {"RELAY east", "RELAY west"}) {
      threads.add(
          new Thread(
              () -> {
                double[] a = new double[4];
                for (int p = 0; p < PERIODS; p++) {
                  Native2DSolver.subbasinSolvePeriodFlow(name, 0, 0, a, a.length);
                }
              },
              name));
    }
    threads.forEach(Thread::start);
    for (Thread t : threads) {
      t.join();
    }
    for (Thread t : threads) {
      List<String> expected = new ArrayList<>();
      for (int p = 1; p <= PERIODS; p++) {
        expected.add("SOLVESUBBASINFLOW " + t.getName() + " period " + p);
      }
      List<String> got = new ArrayList<>();
      for (ErrorProcessor.Received r : ErrorProcessor.received()) {
        if (r.message.contains(t.getName())) {
          assertSame(t, r.thread, r.message);
          got.add(r.message);
        }
      }
      assertEquals(expected, got);
    }
  }

  @Test
  void aWorkerThreadOfTheSolverIsAttachedForItsMessageOnly() {
    Native2DSolver.releaseSubbasins();
    for (int p = 0; p < 100; p++) {
      Native2DSolver.subbasinSolvePeriodFlow("WORKERRELAY basin", 0, 0, new double[0], 0);
    }
    List<ErrorProcessor.Received> got = ErrorProcessor.received();
    assertEquals(100, got.size());
    assertEquals("SOLVESUBBASINFLOW WORKERRELAY basin period 100", got.get(99).message);
    for (ErrorProcessor.Received r : got) {
      assertNotSame(Thread.currentThread(), r.thread);
      assertTrue(r.thread.isDaemon());
    }
    // Each was detached after its message: none of them is still alive.
    assertTrue(
        Thread.getAllStackTraces().keySet().stream()
            .noneMatch(t -> t.getName().equals("solver relay")));
  }

  @Test
  void aMessageFromAResultRoutineArrivesAfterTheCriticalRegion() {
    double[] areas = {1.0, 2.0, 3.0};
    Native2DSolver.initializeSubbasinGeometry("RESULTRELAY r", SolverObjects.mesh(areas, 2));
    double[] values = new double[3];
    Native2DSolver.getSubbasinCellVolume("RESULTRELAY r", values, 0);
    assertEquals(List.of("GETSUBBASINCELLVOLUME RESULTRELAY r"), messages());
    assertSame(Thread.currentThread(), ErrorProcessor.received().get(0).thread);
    assertEquals(2000002.0 + 3.0 * SolverObjects.SQUARE_FEET, values[2], 1e-6);
  }
}
