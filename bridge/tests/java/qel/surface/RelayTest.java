package qel.surface;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertSame;

import java.util.List;
import java.util.concurrent.atomic.AtomicReference;
import java.util.stream.Collectors;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import vmz.ErrorProcessor;

/**
 * The relay: the stand-in's SETLOGFILE relays "SETLOGFILE <path>" when the
 * path begins with "RELAY", through the environment setFortranLogFile has
 * just stored.
 */
class RelayTest {
  @BeforeAll
  static void load() {
    Journal.load();
  }

  @BeforeEach
  void clear() {
    Journal.clear();
    ErrorProcessor.clear();
  }

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
}
