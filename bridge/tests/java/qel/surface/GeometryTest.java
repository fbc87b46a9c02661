package qel.surface;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.lang.reflect.Field;
import java.util.List;
import org.junit.jupiter.api.Test;

class GeometryTest extends BridgeCase {
  static final double FEET = 3.280839895013123;
  static final double SQUARE_FEET = 10.763910416709722;

  /** Three cells, four nodes, three faces; several rows longer than read. */
  static SubbasinGeometry small() {
    SubbasinGeometry g = new SubbasinGeometry();
    g._cellBathAreas = new double[] {1.0, 2.5, 0.125};
    g._numberInternalCells = 2;
    g._maxNumberNodesPerCell = 3;
    g._cellCoordinates = new double[][] {{1.0, 2.0}, {3.0, 4.0, 99.0}, {-5.5, 0.0}};
    g._cellFaceOrientationInfo = new int[][] {{1, 2}, {3, 1}, {4, 0, 77}};
    g._cellFaceOrientationValues = new int[][] {{1, -1}, {2, 1}, {3, -1}, {1, 1}};
    g._cellNodeIndices = new int[][] {{1, 2, 3, 55}, {2, 3, 4}, {1, 4, 0}};
    g._nodeCellInfo = new int[][] {{1, 1}, {2, 2}, {4, 2}, {6, 1}, {7, 7}};
    g._nodeCellValues = new int[] {1, 1, 2, 1, 3, 2, 3};
    g._nodeCoordinates = new double[][] {{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0, 5.0}, {0.0, 1.0}};
    g._nodeFaceOrientationInfo = new int[][] {{1, 1}, {2, 2}, {4, 1}, {5, 0}};
    g._nodeFaceOrientationValues = new int[][] {{1, 1}, {2, -1}, {3, 1}, {1, -1}, {9, 9}};
    g._faceNormalVector = new double[][] {{1.0, 0.0}, {0.0, 1.0}, {0.6, 0.8, 7.0}};
    g._faceVectorLength = new double[] {1.0, 1.0, 1.4142135623730951, 8.0};
    g._faceNodeIndices = new int[][] {{1, 2}, {2, 3}, {3, 4, 1}};
    return g;
  }

  static double[] feet(double... metres) {
    double[] out = metres.clone();
    for (int i = 0; i < out.length; i++) {
      out[i] *= FEET;
    }
    return out;
  }

  @Test
  void meshReachesTheRoutineRowAfterRowInFeet() {
    Native2DSolver.initializeSubbasinGeometry("Upper \u00e9tang", small());
    Journal.Call c = Journal.only();
    assertEquals("INITSUBBASINGEOMETRY", c.routine);
    assertEquals(
        List.of(
            "subbasin", "cellCount", "internalCellCount", "cellFaceValueCount",
            "maxNodesPerCell", "cellCoordinates", "cellBathAreas", "cellFaceOrientationInfo",
            "cellFaceOrientationValues", "cellNodeIndices", "nodeCount", "nodeCellValueCount",
            "nodeCoordinates", "nodeCellInfo", "nodeCellValues", "nodeFaceOrientationInfo",
            "nodeFaceOrientationValues", "faceCount", "faceNormalVector", "faceVectorLength",
            "faceNodeIndices", "subbasinLen"),
        c.names());
    assertEquals(Journal.text("Upper \u00e9tang", 32), c.get("subbasin"));
    assertEquals("3", c.get("cellCount"));
    assertEquals("2", c.get("internalCellCount"));
    assertEquals("4", c.get("cellFaceValueCount"));
    assertEquals("3", c.get("maxNodesPerCell"));
    assertArrayEquals(
        feet(1.0, 2.0, 3.0, 4.0, -5.5, 0.0), Journal.doublesOf(c.get("cellCoordinates")));
    assertArrayEquals(
        new double[] {1.0 * SQUARE_FEET, 2.5 * SQUARE_FEET, 0.125 * SQUARE_FEET},
        Journal.doublesOf(c.get("cellBathAreas")));
    assertEquals("[1,2,3,1,4,0]", c.get("cellFaceOrientationInfo"));
    assertEquals("[1,-1,2,1,3,-1,1,1]", c.get("cellFaceOrientationValues"));
    assertEquals("[1,2,3,2,3,4,1,4,0]", c.get("cellNodeIndices"));
    assertEquals("4", c.get("nodeCount"));
    assertEquals("7", c.get("nodeCellValueCount"));
    assertArrayEquals(
        feet(0.0, 0.0, 1.0, 0.0, 1.0, 1.0, 0.0, 1.0),
        Journal.doublesOf(c.get("nodeCoordinates")));
    // The stand-in reads one pair per node; the bridge copied all five rows.
    assertEquals("[1,1,2,2,4,2,6,1]", c.get("nodeCellInfo"));
    assertEquals("[1,1,2,1,3,2,3]", c.get("nodeCellValues"));
    assertEquals("[1,1,2,2,4,1,5,0]", c.get("nodeFaceOrientationInfo"));
    // Read with the row count of _cellFaceOrientationValues (4 of 5 rows).
    assertEquals("[1,1,2,-1,3,1,1,-1]", c.get("nodeFaceOrientationValues"));
    assertEquals("3", c.get("faceCount"));
    assertArrayEquals(
        new double[] {1.0, 0.0, 0.0, 1.0, 0.6, 0.8}, Journal.doublesOf(c.get("faceNormalVector")));
    // Read with the face count (3 of 4 lengths).
    assertArrayEquals(
        feet(1.0, 1.0, 1.4142135623730951), Journal.doublesOf(c.get("faceVectorLength")));
    assertEquals("[1,2,2,3,3,4]", c.get("faceNodeIndices"));
    assertEquals("32", c.get("subbasinLen"));
  }

  @Test
  void conversionFactorsArriveBitForBitWhateverTheUnitSystem() {
    SubbasinGeometry g = new SubbasinGeometry();
    g._cellBathAreas = new double[] {1.0};
    g._numberInternalCells = -3;
    g._maxNumberNodesPerCell = 1;
    g._cellCoordinates = new double[][] {{1.0, 0.3048}};
    g._cellFaceOrientationInfo = new int[][] {{Integer.MIN_VALUE, Integer.MAX_VALUE}};
    g._cellNodeIndices = new int[][] {{0}};
    Native2DSolver.setUnitSystem(2);
    Native2DSolver.initializeSubbasinGeometry("u", g);
    Journal.Call c = Journal.calls().get(1);
    double[] coordinates = Journal.doublesOf(c.get("cellCoordinates"));
    assertEquals(Double.doubleToRawLongBits(3.280839895013123), Double.doubleToRawLongBits(coordinates[0]));
    // Multiplied, not divided: 0.3048 * (1 / 0.3048) is not quite 1.
    assertEquals(Double.doubleToRawLongBits(0.3048 * FEET), Double.doubleToRawLongBits(coordinates[1]));
    assertEquals(
        Double.doubleToRawLongBits(10.763910416709722),
        Double.doubleToRawLongBits(Journal.doublesOf(c.get("cellBathAreas"))[0]));
    assertEquals("-3", c.get("internalCellCount"));
    assertEquals("[-2147483648,2147483647]", c.get("cellFaceOrientationInfo"));
    assertEquals("[0]", c.get("cellNodeIndices"));
  }

  @Test
  void emptyMeshStillCallsTheRoutine() {
    Native2DSolver.initializeSubbasinGeometry("", new SubbasinGeometry());
    Journal.Call c = Journal.only();
    for (String count :
        new String[] {"cellCount", "cellFaceValueCount", "nodeCount", "nodeCellValueCount", "faceCount"}) {
      assertEquals("0", c.get(count), count);
    }
    for (String table : new String[] {"cellCoordinates", "cellNodeIndices", "faceVectorLength"}) {
      assertEquals("[]", c.get(table), table);
    }
    assertEquals(Journal.text("", 32), c.get("subbasin"));
  }

  @Test
  void largeGridCrossesWithoutJniWarnings() {
    // 90 000 cells: every row's local reference must be deleted, or
    // -Xcheck:jni warns (and the test's output check fails).
    SubbasinGeometry g = SubbasinGeometry.grid(300, 300);
    Native2DSolver.initializeSubbasinGeometry("grid", g);
    Journal.Call c = Journal.only();
    assertEquals("90000", c.get("cellCount"));
    assertEquals("90601", c.get("nodeCount"));
    assertEquals("180600", c.get("faceCount"));
    assertEquals("360000", c.get("cellFaceValueCount"));
    double[] areas = Journal.doublesOf(c.get("cellBathAreas"));
    assertEquals(90000, areas.length);
    assertEquals(SQUARE_FEET, areas[89999]);
  }

  /** Geometry objects with a field missing or of another type. */
  static class NoCoordinates {
    public double[] _cellBathAreas = {};
    public int _numberInternalCells;
    public int _maxNumberNodesPerCell;
  }

  static class IntAreas {
    public int[] _cellBathAreas = {};
  }

  static class NoMaximum {
    public double[] _cellBathAreas = {};
    public int _numberInternalCells;
  }

  @Test
  void everyNullArrayFieldThrowsNamingIt() throws Exception {
    int checked = 0;
    for (Field f : SubbasinGeometry.class.getFields()) {
      if (!f.getType().isArray()) {
        continue;
      }
      SubbasinGeometry g = small();
      f.set(g, null);
      NullPointerException e =
          assertThrows(
              NullPointerException.class,
              () -> Native2DSolver.initializeSubbasinGeometry("n", g),
              f.getName());
      assertEquals("field " + f.getName() + " is null", e.getMessage());
      checked++;
    }
    assertEquals(13, checked);
    assertTrue(Journal.lines().isEmpty());
  }

  @Test
  void badMeshThrowsNamingFieldAndRowAndCallsNothing() {
    SubbasinGeometry shortRow = small();
    shortRow._cellCoordinates[1] = new double[] {3.0};
    SubbasinGeometry nullRow = small();
    nullRow._nodeCoordinates[2] = null;
    SubbasinGeometry shortNodes = small();
    shortNodes._cellNodeIndices[2] = new int[] {1, 2};
    SubbasinGeometry fewRows = small();
    fewRows._cellFaceOrientationInfo = new int[][] {{1, 2}, {3, 4}};
    SubbasinGeometry fewValues = small();
    fewValues._nodeFaceOrientationValues = new int[][] {{1, 2}, {1, 2}, {1, 2}};
    SubbasinGeometry fewLengths = small();
    fewLengths._faceVectorLength = new double[] {1.0, 2.0};
    SubbasinGeometry negative = small();
    negative._maxNumberNodesPerCell = -1;

    assertMessage(IllegalArgumentException.class, shortRow, "_cellCoordinates row 1 has 1 elements, needs 2");
    assertMessage(NullPointerException.class, nullRow, "_nodeCoordinates row 2 is null");
    assertMessage(IllegalArgumentException.class, shortNodes, "_cellNodeIndices row 2 has 2 elements, needs 3");
    assertMessage(IllegalArgumentException.class, fewRows, "_cellFaceOrientationInfo has 2 rows, needs 3");
    assertMessage(IllegalArgumentException.class, fewValues, "_nodeFaceOrientationValues has 3 rows, needs 4");
    assertMessage(IllegalArgumentException.class, fewLengths, "_faceVectorLength has 2 elements, needs 3");
    assertMessage(IllegalArgumentException.class, negative, "_maxNumberNodesPerCell is negative: -1");
    assertMessage(NoSuchFieldError.class, new NoCoordinates(), "_cellCoordinates");
    assertMessage(NoSuchFieldError.class, new IntAreas(), "_cellBathAreas");
    assertMessage(NoSuchFieldError.class, new NoMaximum(), "_maxNumberNodesPerCell");
    assertMessage(NullPointerException.class, null, "geometry is null");
    assertEquals(
        "subbasin is null",
        assertThrows(
                NullPointerException.class,
                () -> Native2DSolver.initializeSubbasinGeometry(null, small()))
            .getMessage());
    assertTrue(Journal.lines().isEmpty());
  }

  private static void assertMessage(Class<? extends Throwable> type, Object geometry, String message) {
    Throwable t = assertThrows(type, () -> Native2DSolver.initializeSubbasinGeometry("bad", geometry));
    assertTrue(t.getMessage() != null && t.getMessage().contains(message), t.toString());
  }
}
