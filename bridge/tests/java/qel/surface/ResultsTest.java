package qel.surface;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static qel.surface.SolverObjects.cellValue;
import static qel.surface.SolverObjects.expectCall;
import static qel.surface.SolverObjects.faces;
import static qel.surface.SolverObjects.text;

import java.util.List;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;

class ResultsTest extends BridgeCase {
  /** A flow boundary of 5 with load 2, after one solved period. */
  @BeforeEach
  void oneBoundaryOnePeriod() {
    Native2DSolver.releaseSubbasins();
    Native2DSolver.setBoundaryFlow("basin", "inflow", faces(new int[] {0}, 1.0), 0, 5.0);
    Native2DSolver.setBoundaryValueLoad("basin", "inflow", 2.0);
    Native2DSolver.subbasinSolvePeriodFlow("basin", 0, 0, new double[0], 0);
    Journal.clear();
  }

  interface BoundaryResult {
    void get(String subbasin, String boundary, double[] result);
  }

  interface LoadResult {
    void get(String subbasin, String boundary, double[] result, int k);
  }

  @Test
  void boundaryResultsLandInElementZeroOnly() {
    Object[][] cases = {
      {"GETBOUNDARYOUTFLOW", (BoundaryResult) Native2DSolver::getBoundaryOutflow, 1005.0},
      {"GETBOUNDARYSTAGE", (BoundaryResult) Native2DSolver::getBoundaryStage, 1000.0},
      {"GETBOUNDARYTOTALLOAD", (BoundaryResult) Native2DSolver::getBoundaryTotalLoad, 3.0},
      {"GETBOUNDARYTOTALCONCENTRATION",
          (BoundaryResult) Native2DSolver::getBoundaryTotalConcentration, 2.0},
    };
    for (Object[] c : cases) {
      Journal.clear();
      double[] result = {-1.0, 42.0, 43.0};
      ((BoundaryResult) c[1]).get("basin", "inflow", result);
      assertArrayEquals(new double[] {(Double) c[2], 42.0, 43.0}, result, (String) c[0]);
      // The routine's value starts as element 0.
      expectCall(Journal.only(), (String) c[0],
          "subbasin", text("basin"), "boundary", text("inflow"), "value", -1.0,
          "subbasinLen", 32, "boundaryLen", 32);
    }
  }

  @Test
  void loadAndConcentrationCallGetBoundaryLoadFromZero() {
    LoadResult[] methods = {Native2DSolver::getBoundaryLoad, Native2DSolver::getBoundaryConcentration};
    for (LoadResult method : methods) {
      for (int k : new int[] {3, 0, -5}) {
        Journal.clear();
        double[] result = {-1.0, 42.0};
        method.get("basin", "inflow", result, k);
        // load k + P
        assertArrayEquals(new double[] {2.0 * k + 1, 42.0}, result);
        expectCall(Journal.only(), "GETBOUNDARYLOAD",
            "subbasin", text("basin"), "boundary", text("inflow"), "value", 0.0, "k", k,
            "subbasinLen", 32, "boundaryLen", 32);
      }
    }
  }

  @Test
  void aValueTheRoutineLeavesAlone() {
    // The stand-in does not write the value for a boundary it does not hold.
    double[] load = {9.0, 8.0};
    Native2DSolver.getBoundaryLoad("basin", "nowhere", load, 1);
    assertArrayEquals(new double[] {0.0, 8.0}, load);
    double[] outflow = {9.0, 8.0};
    Native2DSolver.getBoundaryOutflow("basin", "nowhere", outflow);
    assertArrayEquals(new double[] {9.0, 8.0}, outflow);
  }

  interface CellResult {
    void get(String subbasin, double[] values, int i1, int i2);
  }

  @Test
  void cellAndFaceResultsAreWhatTheRoutineWrote() {
    double[] areas = {1.0, 2.5, 4.0};
    Native2DSolver.initializeSubbasinGeometry("mesh", SolverObjects.mesh(areas, 2));
    Native2DSolver.subbasinSolvePeriodFlow("mesh", 0, 0, new double[0], 0);
    Native2DSolver.subbasinSolvePeriodSediment("mesh", 0, 0, new double[0], new double[0], new double[0], 0);
    // routine, code, over faces, takes i2, method
    Object[][] cases = {
      {"GETSUBBASINCELLAREAWET", 1, false, false,
          (CellResult) (s, v, i1, i2) -> Native2DSolver.getSubbasinCellWetArea(s, v, i1)},
      {"GETSUBBASINCELLVOLUME", 2, false, false,
          (CellResult) (s, v, i1, i2) -> Native2DSolver.getSubbasinCellVolume(s, v, i1)},
      {"GETSUBBASINCELLWATERLEVEL", 3, false, false,
          (CellResult) (s, v, i1, i2) -> Native2DSolver.getSubbasinCellWaterSurface(s, v, i1)},
      {"GETSUBBASINCELLVELOCITY", 4, false, false,
          (CellResult) (s, v, i1, i2) -> Native2DSolver.getSubbasinCellVelocity(s, v, i1)},
      {"GETSUBBASINFACEVELOCITY", 5, true, false,
          (CellResult) (s, v, i1, i2) -> Native2DSolver.getSubbasinFaceVelocity(s, v, i1)},
      {"GETSUBBASINCELLTOTALCONCENTRATION", 6, false, false,
          (CellResult) (s, v, i1, i2) -> Native2DSolver.getSubbasinCellTotalConcentration(s, v, i1)},
      {"GETSUBBASINCELLTOTALBEDCHANGE", 7, false, false,
          (CellResult) (s, v, i1, i2) -> Native2DSolver.getSubbasinCellTotalBedChange(s, v, i1)},
      {"GETSUBBASINCELLCONCENTRATION", 8, false, true,
          (CellResult) Native2DSolver::getSubbasinCellConcentration},
      {"GETSUBBASINCELLBEDCHANGE", 9, false, true,
          (CellResult) Native2DSolver::getSubbasinCellBedChange},
      {"GETSUBBASINCELLACTIVEFRACTION", 10, false, true,
          (CellResult) Native2DSolver::getSubbasinCellActiveFraction},
    };
    for (Object[] c : cases) {
      String routine = (String) c[0];
      int code = (Integer) c[1];
      boolean overFaces = (Boolean) c[2];
      boolean takesI2 = (Boolean) c[3];
      for (int i1 : new int[] {-2, 0, 7}) {
        int i2 = takesI2 ? -3 : 0;
        int n = overFaces ? 2 : areas.length;
        double[] values = new double[n + 1];
        values[n] = -1.0;
        Journal.clear();
        ((CellResult) c[4]).get("mesh", values, i1, i2);
        double[] expected = new double[n + 1];
        for (int cell = 0; cell < n; cell++) {
          double area = overFaces ? 0.0 : areas[cell] * SolverObjects.SQUARE_FEET;
          expected[cell] = cellValue(code, 2, cell, i1, i2, area);
        }
        expected[n] = -1.0;
        assertArrayEquals(expected, values, routine + " i1=" + i1);
        Journal.Call call = Journal.only();
        if (takesI2) {
          expectCall(call, routine, "subbasin", text("mesh"), "i1", i1, "i2", i2, "subbasinLen", 32);
        } else {
          expectCall(call, routine, "subbasin", text("mesh"), "i1", i1, "subbasinLen", 32);
        }
      }
    }
  }

  @Test
  void badInputThrowsAndNeverReachesTheSolver() {
    // Ten cells and three faces: a shorter values array would be written past.
    Native2DSolver.initializeSubbasinGeometry("ten", SolverObjects.mesh(new double[10], 3));
    Object[][] cases = {
      {IllegalArgumentException.class, "values has 1 elements, needs 10",
          (Executable) () -> Native2DSolver.getSubbasinCellWaterSurface("ten", new double[1], 1)},
      {IllegalArgumentException.class, "values has 2 elements, needs 3",
          (Executable) () -> Native2DSolver.getSubbasinFaceVelocity("ten", new double[2], 1)},
      {IllegalStateException.class, "subbasin \"nowhere\" has no geometry",
          (Executable) () -> Native2DSolver.getSubbasinCellVolume("nowhere", new double[9], 1)},
      {IllegalArgumentException.class, "result",
          (Executable) () -> Native2DSolver.getBoundaryStage("a", "b", new double[0])},
      {IllegalArgumentException.class, "result",
          (Executable) () -> Native2DSolver.getBoundaryLoad("a", "b", new double[0], 1)},
      {IllegalArgumentException.class, "result",
          (Executable) () -> Native2DSolver.getBoundaryConcentration("a", "b", new double[0], 1)},
      {NullPointerException.class, "result",
          (Executable) () -> Native2DSolver.getBoundaryTotalConcentration("a", "b", null)},
      {NullPointerException.class, "boundary",
          (Executable) () -> Native2DSolver.getBoundaryOutflow("a", null, new double[1])},
      {NullPointerException.class, "subbasin",
          (Executable) () -> Native2DSolver.getBoundaryTotalLoad(null, "b", new double[1])},
      {NullPointerException.class, "values",
          (Executable) () -> Native2DSolver.getSubbasinCellBedChange("a", null, 1, 1)},
      {NullPointerException.class, "subbasin",
          (Executable) () -> Native2DSolver.getSubbasinFaceVelocity(null, new double[1], 1)},
    };
    for (Object[] c : cases) {
      Journal.clear();
      @SuppressWarnings("unchecked")
      Class<? extends Throwable> type = (Class<? extends Throwable>) c[0];
      Throwable thrown = assertThrows(type, (Executable) c[2]);
      assertTrue((thrown.getMessage() + " ").startsWith(c[1] + " "),
          thrown.toString());
      assertEquals(List.of(), Journal.lines(), "the solver was called: " + thrown);
    }
  }
}
