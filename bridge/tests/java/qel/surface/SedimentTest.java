package qel.surface;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static qel.surface.SolverObjects.expectCall;
import static qel.surface.SolverObjects.text;

import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;

class SedimentTest extends BridgeCase {
  @Test
  void methodNamesAreThirtyTwoBytesExceptTheTransportPotential() {
    String[] names = {"", "yang", "a".repeat(16), "b".repeat(17), "c".repeat(40), "Ünterwasser-Gleichung"};
    for (String name : names) {
      Journal.clear();
      Native2DSolver.setFallVelocityMethod("basin", name);
      Native2DSolver.setTransportPotentialMethod("basin", name);
      List<Journal.Call> calls = Journal.calls();
      expectCall(calls.get(0), "SETFALLVELOCITYMETHOD",
          "subbasin", text("basin"), "method", Journal.text(name, 32),
          "subbasinLen", 32, "methodLen", 32);
      expectCall(calls.get(1), "SETTRANSPORTPOTENTIALMETHOD",
          "subbasin", text("basin"), "method", Journal.text(name, 16),
          "subbasinLen", 32, "methodLen", 16);
    }
  }

  @Test
  void nameOnlyMethods() {
    Native2DSolver.initializeSubbasinSediment("basin");
    Native2DSolver.setSubbasinMobilityFactor("basin", -1.5);
    Native2DSolver.checkSedimentSetup("basin");
    List<Journal.Call> calls = Journal.calls();
    assertEquals(3, calls.size());
    expectCall(calls.get(0), "INITSUBBASINSEDIMENT", "subbasin", text("basin"), "subbasinLen", 32);
    expectCall(calls.get(1), "SETSUBBASINMOBILITYFACTOR",
        "subbasin", text("basin"), "factor", -1.5, "subbasinLen", 32);
    expectCall(calls.get(2), "CHECKSEDIMENTSETUP", "subbasin", text("basin"), "subbasinLen", 32);
  }

  @Test
  void cohesiveMethodTakesMAheadOfTheFourArrays() {
    double[] d1 = {1, 2};
    double[] d2 = {3, 4};
    double[] d3 = {5, 6};
    double[] d4 = {7, 8, 9};
    Native2DSolver.setCohesiveTransportMethod("basin", "krone", d1, d2, d3, d4, 2);
    expectCall(Journal.only(), "SETCOHESIVETRANSPORTMETHOD",
        "subbasin", text("basin"), "method", text("krone"), "m", 2,
        "d1", new double[] {1, 2}, "d2", new double[] {3, 4},
        "d3", new double[] {5, 6}, "d4", new double[] {7, 8},
        "subbasinLen", 32, "methodLen", 32);
    // Written back: 2v+k into the m values of the k-th array.
    assertArrayEquals(new double[] {3, 5}, d1);
    assertArrayEquals(new double[] {8, 10}, d2);
    assertArrayEquals(new double[] {13, 15}, d3);
    assertArrayEquals(new double[] {18, 20, 9}, d4);
  }

  @Test
  void propertiesHaveNoNameAndTakeGFirst() {
    double[] p = {0.5, 1.5, 2.5};
    Native2DSolver.setSedimentProperties(p, 3, 1.0, 2.0, 3.0, 4.0);
    expectCall(Journal.only(), "SETSEDIMENTPROPERTIES",
        "g", 3, "p", new double[] {0.5, 1.5, 2.5},
        "s1", 1.0, "s2", 2.0, "s3", 3.0, "s4", 4.0);
    assertArrayEquals(new double[] {2, 4, 6}, p);
  }

  @Test
  void rhemParametersPassTheElementAtIndexOneOfR2() {
    double[] r1 = {1.0, 2.0};
    double[] r2 = {10.0, 20.0, 30.0};
    Native2DSolver.setRhemParameters("basin", r1, r2, 2, 0.125, -4.0);
    expectCall(Journal.only(), "SETSEDIMENTTRANSPORTPARAMETERS",
        "subbasin", text("basin"), "r1", new double[] {1.0, 2.0}, "r", 2,
        "r2", 20.0, "x1", 0.125, "x2", -4.0, "subbasinLen", 32);
    assertArrayEquals(new double[] {3.0, 5.0}, r1);
    assertArrayEquals(new double[] {10.0, 20.0, 30.0}, r2);
  }

  @Test
  void grainSizeFractionsTakeG1AndG2AheadOfF() {
    double[] f = {1, 2, 3, 4, 5, 6, 7};
    Native2DSolver.setGrainSizeFractions("basin", f, 2, 3);
    expectCall(Journal.only(), "SETGRAINSIZEFRACTIONS",
        "subbasin", text("basin"), "g1", 2, "g2", 3,
        "f", new double[] {1, 2, 3, 4, 5, 6}, "subbasinLen", 32);
    assertArrayEquals(new double[] {3, 5, 7, 9, 11, 13, 7}, f);
  }

  @Test
  void badInputThrowsAndNeverReachesTheSolver() {
    double[] one = {1};
    Object[][] cases = {
      {IllegalArgumentException.class, "r2",
          (Executable) () -> Native2DSolver.setRhemParameters("b", one, new double[] {5}, 1, 1, 1)},
      {IllegalArgumentException.class, "r2",
          (Executable) () -> Native2DSolver.setRhemParameters("b", one, new double[0], 1, 1, 1)},
      {NullPointerException.class, "r2",
          (Executable) () -> Native2DSolver.setRhemParameters("b", one, null, 1, 1, 1)},
      {NullPointerException.class, "r1",
          (Executable) () -> Native2DSolver.setRhemParameters("b", null, new double[2], 1, 1, 1)},
      {NullPointerException.class, "d3",
          (Executable) () -> Native2DSolver.setCohesiveTransportMethod("b", "m", one, one, null, one, 1)},
      {NullPointerException.class, "method",
          (Executable) () -> Native2DSolver.setCohesiveTransportMethod("b", null, one, one, one, one, 1)},
      {NullPointerException.class, "method",
          (Executable) () -> Native2DSolver.setTransportPotentialMethod("b", null)},
      {NullPointerException.class, "subbasin",
          (Executable) () -> Native2DSolver.setFallVelocityMethod(null, "m")},
      {NullPointerException.class, "p",
          (Executable) () -> Native2DSolver.setSedimentProperties(null, 1, 1, 1, 1, 1)},
      {NullPointerException.class, "f",
          (Executable) () -> Native2DSolver.setGrainSizeFractions("b", null, 1, 1)},
      {NullPointerException.class, "subbasin",
          (Executable) () -> Native2DSolver.initializeSubbasinSediment(null)},
      {NullPointerException.class, "subbasin",
          (Executable) () -> Native2DSolver.setSubbasinMobilityFactor(null, 1)},
      {NullPointerException.class, "subbasin",
          (Executable) () -> Native2DSolver.checkSedimentSetup(null)},
    };
    for (Object[] c : cases) {
      Journal.clear();
      @SuppressWarnings("unchecked")
      Class<? extends Throwable> type = (Class<? extends Throwable>) c[0];
      Throwable thrown = assertThrows(type, (Executable) c[2]);
      assertTrue(thrown.getMessage() != null && thrown.getMessage().startsWith(c[1] + " "),
          thrown.toString());
      assertEquals(List.of(), Journal.lines(), "the solver was called: " + thrown);
      assertArrayEquals(new double[] {1}, one, "an array changed without a call");
    }
  }
}
