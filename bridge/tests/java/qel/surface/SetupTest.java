package qel.surface;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import java.util.function.BiConsumer;
import java.util.stream.Stream;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

class SetupTest extends BridgeCase {
  static Stream<Arguments> methods() {
    BiConsumer<Integer, String[]> flow = Native2DSolver::setupBasinFlow;
    BiConsumer<Integer, String[]> sediment = Native2DSolver::setupBasinSediment;
    return Stream.of(Arguments.of("INITBASINFLOW", flow), Arguments.of("INITBASINSEDIMENT", sediment));
  }

  @ParameterizedTest
  @MethodSource("methods")
  void namesAreFilledOrCutTo32Bytes(String routine, BiConsumer<Integer, String[]> method) {
    String[] names = {
      "", "North", "n".repeat(32), "n".repeat(40), "Caf\u00e9 \u00fcber", "\uD83C\uDF0A wave",
      "a".repeat(31) + "\u00e9", "\u20ac".repeat(11)
    };
    method.accept(names.length, names);
    Journal.Call call = Journal.only();
    assertEquals(routine, call.routine);
    assertEquals(List.of("count", "names", "nameLen"), call.names());
    assertEquals("8", call.get("count"));
    assertEquals(Journal.texts(32, names), call.get("names"));
    assertEquals("32", call.get("nameLen"));
    // The cuts fall inside characters: bytes, not characters, are counted.
    assertTrue(call.get("names").contains("\"" + "a".repeat(31) + "\\xc3\""));
    assertTrue(call.get("names").contains("\\xe2\\x82\\xac\\xe2\\x82\""));
  }

  @ParameterizedTest
  @MethodSource("methods")
  void countDecidesHowManyNamesAreRead(String routine, BiConsumer<Integer, String[]> method) {
    method.accept(2, new String[] {"one", "two", "three"});
    method.accept(0, new String[] {"unread"});
    method.accept(0, new String[0]);
    List<Journal.Call> calls = Journal.calls();
    assertEquals(3, calls.size());
    assertEquals(Journal.texts(32, "one", "two"), calls.get(0).get("names"));
    assertEquals("0", calls.get(1).get("count"));
    assertEquals("[]", calls.get(1).get("names"));
    assertEquals("[]", calls.get(2).get("names"));
  }

  @ParameterizedTest
  @MethodSource("methods")
  void badInputThrowsAndCallsNothing(String routine, BiConsumer<Integer, String[]> method) {
    assertEquals(
        "count is negative: -1",
        assertThrows(IllegalArgumentException.class, () -> method.accept(-1, new String[] {"a"}))
            .getMessage());
    assertEquals(
        "count 3 exceeds the 2 names",
        assertThrows(
                IllegalArgumentException.class, () -> method.accept(3, new String[] {"a", "b"}))
            .getMessage());
    assertEquals(
        "names is null",
        assertThrows(NullPointerException.class, () -> method.accept(1, null)).getMessage());
    assertEquals(
        "names[1] is null",
        assertThrows(
                NullPointerException.class, () -> method.accept(2, new String[] {"a", null}))
            .getMessage());
    assertTrue(Journal.lines().isEmpty());
  }
}
