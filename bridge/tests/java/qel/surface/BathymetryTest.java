package qel.surface;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import org.junit.jupiter.api.Test;

class BathymetryTest extends BridgeCase {
  static SubbasinBathymetry sample() {
    SubbasinBathymetry b = new SubbasinBathymetry();
    b._cellVolumeElevationInfo = new int[][] {{1, 2}, {3, 2, 99}};
    b._cellVolumeElevationValues =
        new double[][] {{100.0, 10.0}, {101.5, 20.0}, {102.0, 30.0, 7.0}};
    b._faceAreaElevationInfo = new int[][] {{1, 1}};
    b._faceAreaElevationValues = new double[][] {{100.0, 0.5, 1.0, 2.0, 66.0, 77.0}, {0.1, -0.0, 3, 4}};
    return b;
  }

  @Test
  void tablesReachTheRoutineInOrderAndUnconverted() {
    Native2DSolver.setUnitSystem(1);
    Native2DSolver.initializeSubbasinBathymetry("Lower basin with a name of 40 bytes", sample());
    Journal.Call call = Journal.calls().get(1);
    assertEquals("INITSUBBASINBATHYMETRY", call.routine);
    assertEquals(
        List.of(
            "subbasin",
            "cellCount",
            "cellVolumeElevationCount",
            "faceCount",
            "faceAreaElevationCount",
            "cellVolumeElevationInfo",
            "cellVolumeElevationValues",
            "faceAreaElevationInfo",
            "faceAreaElevationValues",
            "subbasinLen"),
        call.names());
    assertEquals(Journal.text("Lower basin with a name of 40 bytes", 32), call.get("subbasin"));
    assertEquals("2", call.get("cellCount"));
    assertEquals("3", call.get("cellVolumeElevationCount"));
    assertEquals("1", call.get("faceCount"));
    assertEquals("2", call.get("faceAreaElevationCount"));
    assertEquals("[1,2,3,2]", call.get("cellVolumeElevationInfo"));
    assertArrayEquals(
        new double[] {100.0, 10.0, 101.5, 20.0, 102.0, 30.0},
        Journal.doublesOf(call.get("cellVolumeElevationValues")));
    assertEquals("[1,1]", call.get("faceAreaElevationInfo"));
    // A row of six contributes its first four; -0.0 keeps its sign.
    assertArrayEquals(
        new double[] {100.0, 0.5, 1.0, 2.0, 0.1, -0.0, 3.0, 4.0},
        Journal.doublesOf(call.get("faceAreaElevationValues")));
    assertEquals("32", call.get("subbasinLen"));
  }

  @Test
  void emptyTablesStillCallTheRoutine() {
    Native2DSolver.initializeSubbasinBathymetry("e", new SubbasinBathymetry());
    assertEquals(
        "INITSUBBASINBATHYMETRY subbasin="
            + Journal.text("e", 32)
            + " cellCount=0 cellVolumeElevationCount=0 faceCount=0 faceAreaElevationCount=0"
            + " cellVolumeElevationInfo=[] cellVolumeElevationValues=[] faceAreaElevationInfo=[]"
            + " faceAreaElevationValues=[] subbasinLen=32",
        Journal.lines().get(0));
  }

  /** A bathymetry object whose tables have the wrong types. */
  static class WrongTypes {
    public int[][] _cellVolumeElevationInfo = {};
    public float[][] _cellVolumeElevationValues = {};
    public int[][] _faceAreaElevationInfo = {};
    public double[][] _faceAreaElevationValues = {};
  }

  @Test
  void badInputThrowsAndCallsNothing() {
    SubbasinBathymetry nullTable = sample();
    nullTable._faceAreaElevationInfo = null;
    SubbasinBathymetry nullRow = sample();
    nullRow._cellVolumeElevationValues[1] = null;
    SubbasinBathymetry shortFaceRow = sample();
    shortFaceRow._faceAreaElevationValues[1] = new double[] {1, 2, 3};
    SubbasinBathymetry shortInfoRow = sample();
    shortInfoRow._cellVolumeElevationInfo[0] = new int[] {1};

    assertEquals(
        "field _faceAreaElevationInfo is null",
        assertThrows(
                NullPointerException.class,
                () -> Native2DSolver.initializeSubbasinBathymetry("b", nullTable))
            .getMessage());
    assertEquals(
        "_cellVolumeElevationValues row 1 is null",
        assertThrows(
                NullPointerException.class,
                () -> Native2DSolver.initializeSubbasinBathymetry("b", nullRow))
            .getMessage());
    assertEquals(
        "_faceAreaElevationValues row 1 has 3 elements, needs 4",
        assertThrows(
                IllegalArgumentException.class,
                () -> Native2DSolver.initializeSubbasinBathymetry("b", shortFaceRow))
            .getMessage());
    assertEquals(
        "_cellVolumeElevationInfo row 0 has 1 elements, needs 2",
        assertThrows(
                IllegalArgumentException.class,
                () -> Native2DSolver.initializeSubbasinBathymetry("b", shortInfoRow))
            .getMessage());
    NoSuchFieldError missing =
        assertThrows(
            NoSuchFieldError.class,
            () -> Native2DSolver.initializeSubbasinBathymetry("b", new WrongTypes()));
    assertTrue(missing.getMessage().contains("_cellVolumeElevationValues"), missing.getMessage());
    assertThrows(
        NoSuchFieldError.class, () -> Native2DSolver.initializeSubbasinBathymetry("b", "x"));
    assertEquals(
        "subbasin is null",
        assertThrows(
                NullPointerException.class,
                () -> Native2DSolver.initializeSubbasinBathymetry(null, sample()))
            .getMessage());
    assertEquals(
        "bathymetry is null",
        assertThrows(
                NullPointerException.class,
                () -> Native2DSolver.initializeSubbasinBathymetry("b", null))
            .getMessage());
    assertTrue(Journal.lines().isEmpty());
  }
}
