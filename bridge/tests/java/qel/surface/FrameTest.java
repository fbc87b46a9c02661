package qel.surface;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

class FrameTest extends BridgeCase {
  @ParameterizedTest
  @ValueSource(
      strings = {
        "",
        "C:\\models\\basin\\quarnel.log",
        "/tmp/\u00e9t\u00e9/log.txt",
        "\u20ac\uD83C\uDF0A",
      })
  void logFilePathIsBlankFilledTo256Bytes(String path) {
    Native2DSolver.setFortranLogFile(path);
    Journal.Call call = Journal.only();
    assertEquals("SETLOGFILE", call.routine);
    assertEquals(List.of("path", "pathLen"), call.names());
    assertEquals(Journal.text(path, 256), call.get("path"));
    assertEquals("256", call.get("pathLen"));
  }

  @Test
  void longLogFilePathIsCutTo256Bytes() {
    String exact = "d".repeat(256);
    Native2DSolver.setFortranLogFile(exact + "/more");
    // 255 bytes and a two-byte character: only its first byte fits.
    Native2DSolver.setFortranLogFile("a".repeat(255) + "\u00e9");
    // 86 three-byte characters make 258 bytes: 85 whole ones and one byte.
    Native2DSolver.setFortranLogFile("\u20ac".repeat(86));
    List<String> paths =
        Journal.calls().stream().map(c -> c.get("path")).collect(Collectors.toList());
    assertEquals(
        List.of(
            "\"" + exact + "\"",
            "\"" + "a".repeat(255) + "\\xc3\"",
            "\"" + "\\xe2\\x82\\xac".repeat(85) + "\\xe2\""),
        paths);
  }

  @Test
  void nullLogFilePathThrowsAndCallsNothing() {
    NullPointerException e =
        assertThrows(NullPointerException.class, () -> Native2DSolver.setFortranLogFile(null));
    assertEquals("path is null", e.getMessage());
    assertTrue(Journal.lines().isEmpty());
  }

  @Test
  void unitSystemPassesAnyValue() {
    for (int unit : new int[] {0, 1, 2, -1, Integer.MIN_VALUE, Integer.MAX_VALUE}) {
      Native2DSolver.setUnitSystem(unit);
    }
    assertEquals(
        List.of(
            "SETUNITSYSTEM unitSystem=0",
            "SETUNITSYSTEM unitSystem=1",
            "SETUNITSYSTEM unitSystem=2",
            "SETUNITSYSTEM unitSystem=-1",
            "SETUNITSYSTEM unitSystem=-2147483648",
            "SETUNITSYSTEM unitSystem=2147483647"),
        Journal.lines());
  }

  @Test
  void releaseSubbasinsCallsTheRoutineEvenWithoutSubbasins() {
    Native2DSolver.releaseSubbasins();
    Native2DSolver.releaseSubbasins();
    assertEquals(List.of("DEALLOCATESUBBASINS", "DEALLOCATESUBBASINS"), Journal.lines());
  }
}
