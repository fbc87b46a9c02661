package qel.surface;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static qel.surface.SolverObjects.expectCall;
import static qel.surface.SolverObjects.faces;
import static qel.surface.SolverObjects.text;

import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;

class BoundariesTest extends BridgeCase {
  interface Declaration {
    void declare(String subbasin, String boundary, Object faces, double value);
  }

  @Test
  void declarationsPassNamesFacesAndTheReceivedValue() {
    Object[][] cases = {
      {"INITBOUNDARYNORMALDEPTH",
          (Declaration) (a, b, f, v) -> Native2DSolver.setBoundaryNormalDepth(a, b, f, v)},
      {"INITBOUNDARYFLOW",
          (Declaration) (a, b, f, v) -> Native2DSolver.setBoundaryFlow(a, b, f, -1.0, v)},
      {"INITBOUNDARYSTAGE",
          (Declaration) (a, b, f, v) -> Native2DSolver.setBoundaryStage(a, b, f, 77.0, v)},
    };
    for (Object[] c : cases) {
      Journal.clear();
      ((Declaration) c[1])
          .declare("basin", "outlet", faces(new int[] {0, 7, -2}, 0.25, 0.5, 1.0, 99.0), 0.1);
      expectCall(
          Journal.only(), (String) c[0],
          "subbasin", text("basin"),
          "boundary", text("outlet"),
          "faceCount", 3,
          "faceIndices", new int[] {0, 7, -2},
          "faceFractions", new double[] {0.25, 0.5, 1.0},
          "value", 0.1,
          "subbasinLen", 32,
          "boundaryLen", 32);
    }
  }

  @Test
  void flowAndStageIgnoreTheFourthArgument() {
    for (double ignored : new double[] {0.0, Double.NaN, -1e300}) {
      Native2DSolver.setBoundaryFlow("b", "in", faces(new int[] {1}, 1.0), ignored, 3.5);
      Native2DSolver.setBoundaryStage("b", "in", faces(new int[] {1}, 1.0), ignored, 4.5);
    }
    List<String> lines = Journal.lines();
    assertEquals(6, lines.size());
    for (int i = 2; i < 6; i++) {
      assertEquals(lines.get(i % 2), lines.get(i));
    }
    assertEquals("3.5", Journal.parse(lines.get(0)).get("value"));
    assertEquals("4.5", Journal.parse(lines.get(1)).get("value"));
  }

  @Test
  void namesAreCutOrFilledToThirtyTwoBytes() {
    String[] names = {
      "", "x", "a".repeat(32), "b".repeat(40), "Flüsse über Äcker", "c".repeat(31) + "ü", "ß".repeat(20)
    };
    for (String subbasin : names) {
      for (String boundary : new String[] {"outlet", subbasin}) {
        Journal.clear();
        Native2DSolver.setBoundaryValueStage(subbasin, boundary, 1.0);
        Journal.Call call = Journal.only();
        assertEquals(text(subbasin), call.get("subbasin"), subbasin);
        assertEquals(text(boundary), call.get("boundary"), boundary);
      }
    }
  }

  @Test
  void emptyFacesGiveCountZero() {
    Native2DSolver.setBoundaryNormalDepth("basin", "dry", faces(new int[0]), 2.0);
    Journal.Call call = Journal.only();
    assertEquals("0", call.get("faceCount"));
    assertEquals("[]", call.get("faceIndices"));
    assertEquals("[]", call.get("faceFractions"));
  }

  @Test
  void ratingCurveHandsOverItsCurvesInPlace() {
    double[] first = {1.0, 2.0, 3.0};
    double[] second = {10.0, 20.0, 30.0, 40.0};
    Native2DSolver.setBoundaryRatingCurve(
        "basin", "weir", faces(new int[] {4, 2}, 0.5, 0.5), 3, first, second);
    expectCall(
        Journal.only(), "INITBOUNDARYRATINGCURVE",
        "subbasin", text("basin"),
        "boundary", text("weir"),
        "faceCount", 2,
        "faceIndices", new int[] {4, 2},
        "faceFractions", new double[] {0.5, 0.5},
        "curveInt", 3,
        "curve1", new double[] {1.0, 2.0, 3.0},
        "curve2", new double[] {10.0, 20.0, 30.0},
        "subbasinLen", 32,
        "boundaryLen", 32);
    // The stand-in wrote 2v+1 and 2v+2 into the points it read.
    assertArrayEquals(new double[] {3.0, 5.0, 7.0}, first);
    assertArrayEquals(new double[] {22.0, 42.0, 62.0, 40.0}, second);
  }

  @Test
  void faceArraysAreCopiesForTheSolver() {
    int[] index = {3, 4};
    double[] fraction = {0.5, 0.5};
    Native2DSolver.setBoundaryFlow("basin", "in", faces(index, fraction), 0.0, 1.0);
    assertArrayEquals(new int[] {3, 4}, index);
    assertArrayEquals(new double[] {0.5, 0.5}, fraction);
  }

  @Test
  void valueSettersPassTheirValue() {
    Object[][] cases = {
      {"SETBOUNDARYVALUEFLOW", (Runnable) () -> Native2DSolver.setBoundaryValueFlow("s", "b", -0.0)},
      {"SETBOUNDARYVALUESTAGE", (Runnable) () -> Native2DSolver.setBoundaryValueStage("s", "b", -0.0)},
      {"SETBOUNDARYVALUETOTALLOAD", (Runnable) () -> Native2DSolver.setBoundaryValueLoad("s", "b", -0.0)},
    };
    for (Object[] c : cases) {
      Journal.clear();
      ((Runnable) c[1]).run();
      expectCall(
          Journal.only(), (String) c[0],
          "subbasin", text("s"),
          "boundary", text("b"),
          "value", -0.0,
          "subbasinLen", 32,
          "boundaryLen", 32);
    }
  }

  @Test
  void badInputThrowsAndNeverReachesTheSolver() {
    Object[][] cases = {
      {NullPointerException.class, "subbasin",
          (Executable) () -> Native2DSolver.setBoundaryNormalDepth(null, "b", faces(new int[] {1}, 1), 1)},
      {NullPointerException.class, "boundary",
          (Executable) () -> Native2DSolver.setBoundaryFlow("a", null, faces(new int[] {1}, 1), 0, 1)},
      {NullPointerException.class, "faces",
          (Executable) () -> Native2DSolver.setBoundaryStage("a", "b", null, 0, 1)},
      {NoSuchFieldError.class, "_faceFraction",
          (Executable) () -> Native2DSolver.setBoundaryNormalDepth("a", "b", new SolverObjects.NoFaces(), 1)},
      {NoSuchFieldError.class, "_faceIndex",
          (Executable) () -> Native2DSolver.setBoundaryNormalDepth("a", "b", "not a boundary", 1)},
      {NullPointerException.class, "_faceIndex",
          (Executable) () -> Native2DSolver.setBoundaryNormalDepth("a", "b", faces(null, 1), 1)},
      {NullPointerException.class, "_faceFraction",
          (Executable) () -> Native2DSolver.setBoundaryNormalDepth(
              "a", "b", new SolverObjects.Faces(new int[0], null), 1)},
      {IllegalArgumentException.class, "_faceFraction",
          (Executable) () -> Native2DSolver.setBoundaryNormalDepth("a", "b", faces(new int[] {1, 2, 3}, 1, 1), 1)},
      {NullPointerException.class, "curve1",
          (Executable) () -> Native2DSolver.setBoundaryRatingCurve(
              "a", "b", faces(new int[] {1}, 1), 1, null, new double[1])},
      {NullPointerException.class, "curve2",
          (Executable) () -> Native2DSolver.setBoundaryRatingCurve(
              "a", "b", faces(new int[] {1}, 1), 1, new double[1], null)},
      {NullPointerException.class, "boundary",
          (Executable) () -> Native2DSolver.setBoundaryValueLoad("a", null, 1)},
    };
    for (Object[] c : cases) {
      Journal.clear();
      @SuppressWarnings("unchecked")
      Class<? extends Throwable> type = (Class<? extends Throwable>) c[0];
      Throwable thrown = assertThrows(type, (Executable) c[2]);
      assertTrue(
          thrown.getMessage() != null && thrown.getMessage().contains((String) c[1]),
          thrown.toString());
      assertEquals(List.of(), Journal.lines(), "the solver was called: " + thrown);
    }
  }
}
