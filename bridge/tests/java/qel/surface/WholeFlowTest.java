package qel.surface;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static qel.surface.SolverObjects.cellValue;
import static qel.surface.SolverObjects.faces;

import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import vmz.ErrorProcessor;

/**
 * One whole computation through the real JVM: basin set-up, mesh and
 * bathymetry, boundaries of the four kinds, flow control, initial state,
 * warm-up, sediment set-up, periods of flow and of flow with sediment, and
 * every result, each matching the stand-in solver's documented results.
 */
class WholeFlowTest extends BridgeCase {
  private static final String BASIN = "RELAY valley";
  private static final double[] AREAS = {10.0, 12.5, 7.25, 3.0};
  private static final int FACES = 5;

  @Test
  void aComputationFromSetUpToResults() {
    Native2DSolver.releaseSubbasins();
    ErrorProcessor.clear();
    Journal.clear();

    Native2DSolver.setUnitSystem(1);
    Native2DSolver.setupBasinFlow(1, new String[] {BASIN});
    Native2DSolver.setupBasinSediment(1, new String[] {BASIN});
    Native2DSolver.initializeSubbasinGeometry(BASIN, SolverObjects.mesh(AREAS, FACES));
    Native2DSolver.initializeSubbasinBathymetry(BASIN, SolverObjects.bathymetry(AREAS.length, FACES));

    Native2DSolver.setBoundaryNormalDepth(BASIN, "outlet", faces(new int[] {4}, 1.0), 0.001);
    double[] stages = {1.0, 2.0};
    double[] flows = {0.0, 30.0};
    Native2DSolver.setBoundaryRatingCurve(BASIN, "weir", faces(new int[] {3}, 1.0), 2, stages, flows);
    Native2DSolver.setBoundaryFlow(BASIN, "inflow", faces(new int[] {0, 1}, 0.5, 0.5), 0, 40.0);
    Native2DSolver.setBoundaryStage(BASIN, "sea", faces(new int[] {2}, 1.0), 0, 1.5);
    Native2DSolver.setBoundaryValueFlow(BASIN, "inflow", 42.0);
    Native2DSolver.setBoundaryValueStage(BASIN, "sea", 1.75);
    Native2DSolver.setBoundaryValueLoad(BASIN, "inflow", 6.0);
    assertArrayEquals(new double[] {3.0, 5.0}, stages);
    assertArrayEquals(new double[] {2.0, 62.0}, flows);

    Native2DSolver.setSubbasinNumberThreads(BASIN, 2);
    Native2DSolver.setSubbasinImplicitFactor(BASIN, 0.6);
    Native2DSolver.setSubbasinControlParameters(BASIN, 0.01, 0.5, 1e-6, 30.0, 20);
    Native2DSolver.initializeSubbasinFlow(BASIN);
    Native2DSolver.initializeSubbasinFlowState(BASIN);
    Native2DSolver.initializeWarmUp(BASIN, 3600.0, 60.0);

    Native2DSolver.initializeSubbasinSediment(BASIN);
    Native2DSolver.setFallVelocityMethod(BASIN, "van rijn");
    Native2DSolver.setTransportPotentialMethod(BASIN, "laursen copeland");
    Native2DSolver.setCohesiveTransportMethod(
        BASIN, "krone", new double[] {1}, new double[] {2}, new double[] {3}, new double[] {4}, 1);
    Native2DSolver.setSedimentProperties(new double[] {0.1, 0.2}, 2, 2.65, 1.0, 0.3, 9.81);
    Native2DSolver.setRhemParameters(BASIN, new double[] {0.5}, new double[] {0.0, 0.7}, 1, 1.0, 2.0);
    Native2DSolver.setSubbasinMobilityFactor(BASIN, 1.2);
    Native2DSolver.setGrainSizeFractions(BASIN, new double[] {0.6, 0.4}, 2, 1);
    Native2DSolver.checkSedimentSetup(BASIN);

    int periods = 0;
    for (int p = 0; p < 3; p++) {
      double[] a = new double[3];
      Native2DSolver.subbasinSolvePeriodFlow(BASIN, 60.0 * p, 60.0, a, 3);
      periods++;
      assertArrayEquals(
          new double[] {1000.0 * periods + 60.0 * p, 1000.0 * periods + 1 + 60.0 * p,
              1000.0 * periods + 2 + 60.0 * p},
          a);
    }
    for (int p = 0; p < 2; p++) {
      double[] a1 = new double[2];
      double[] a2 = new double[2];
      double[] a3 = new double[2];
      Native2DSolver.subbasinSolvePeriodSediment(BASIN, 5.0, 6.0, a1, a2, a3, 2);
      periods++;
      double base = 1000.0 * periods;
      assertArrayEquals(new double[] {base + 5.0, base + 6.0}, a1);
      assertArrayEquals(new double[] {base + 6.0, base + 7.0}, a2);
      assertArrayEquals(new double[] {base, base + 1.0}, a3);
    }
    assertEquals(5, ErrorProcessor.received().size(), "one relayed message per period");
    assertEquals("SOLVESUBBASINFLOWSEDIMENT RELAY valley period 5",
        ErrorProcessor.received().get(4).message);

    double[] one = new double[1];
    Native2DSolver.getBoundaryOutflow(BASIN, "inflow", one);
    assertEquals(42.0 + 5000.0, one[0]);
    Native2DSolver.getBoundaryStage(BASIN, "sea", one);
    assertEquals(1.75 + 5000.0, one[0]);
    Native2DSolver.getBoundaryTotalLoad(BASIN, "inflow", one);
    assertEquals(6.0 + 5, one[0]);
    Native2DSolver.getBoundaryTotalConcentration(BASIN, "inflow", one);
    assertEquals(3.0 + 5, one[0]);
    Native2DSolver.getBoundaryLoad(BASIN, "inflow", one, 2);
    assertEquals(12.0 + 5, one[0]);
    Native2DSolver.getBoundaryConcentration(BASIN, "inflow", one, 3);
    assertEquals(18.0 + 5, one[0]);

    double[] cells = new double[AREAS.length];
    double[] faceValues = new double[FACES];
    Native2DSolver.getSubbasinCellWetArea(BASIN, cells, 1);
    assertArrayEquals(expectedCells(1, 1, 0), cells);
    Native2DSolver.getSubbasinCellVolume(BASIN, cells, 1);
    assertArrayEquals(expectedCells(2, 1, 0), cells);
    Native2DSolver.getSubbasinCellWaterSurface(BASIN, cells, 1);
    assertArrayEquals(expectedCells(3, 1, 0), cells);
    Native2DSolver.getSubbasinCellVelocity(BASIN, cells, 1);
    assertArrayEquals(expectedCells(4, 1, 0), cells);
    Native2DSolver.getSubbasinFaceVelocity(BASIN, faceValues, 1);
    double[] expectedFaces = new double[FACES];
    for (int f = 0; f < FACES; f++) {
      expectedFaces[f] = cellValue(5, 5, f, 1, 0, 0.0);
    }
    assertArrayEquals(expectedFaces, faceValues);
    Native2DSolver.getSubbasinCellTotalConcentration(BASIN, cells, 1);
    assertArrayEquals(expectedCells(6, 1, 0), cells);
    Native2DSolver.getSubbasinCellTotalBedChange(BASIN, cells, 1);
    assertArrayEquals(expectedCells(7, 1, 0), cells);
    Native2DSolver.getSubbasinCellConcentration(BASIN, cells, 1, 2);
    assertArrayEquals(expectedCells(8, 1, 2), cells);
    Native2DSolver.getSubbasinCellBedChange(BASIN, cells, 1, 2);
    assertArrayEquals(expectedCells(9, 1, 2), cells);
    Native2DSolver.getSubbasinCellActiveFraction(BASIN, cells, 1, 2);
    assertArrayEquals(expectedCells(10, 1, 2), cells);

    Native2DSolver.releaseSubbasins();
    // A released subbasin has no geometry: the call is refused and the
    // array keeps its values.
    double[] after = {-1.0, -1.0, -1.0, -1.0};
    assertThrows(
        IllegalStateException.class,
        () -> Native2DSolver.getSubbasinCellWaterSurface(BASIN, after, 1));
    assertArrayEquals(new double[] {-1.0, -1.0, -1.0, -1.0}, after);

    List<String> routines = new ArrayList<>();
    for (Journal.Call call : Journal.calls()) {
      routines.add(call.routine);
    }
    assertEquals(List.of(
        "SETUNITSYSTEM", "INITBASINFLOW", "INITBASINSEDIMENT", "INITSUBBASINGEOMETRY",
        "INITSUBBASINBATHYMETRY", "INITBOUNDARYNORMALDEPTH", "INITBOUNDARYRATINGCURVE",
        "INITBOUNDARYFLOW", "INITBOUNDARYSTAGE", "SETBOUNDARYVALUEFLOW", "SETBOUNDARYVALUESTAGE",
        "SETBOUNDARYVALUETOTALLOAD", "SETSUBBASINNUMBERTHREADS", "SETSUBBASINIMPLICITFACTOR",
        "SETSUBBASINCONTROLPARAMETERS", "INITSUBBASINFLOW", "INITSUBBASINFLOWSTATE",
        "INITSUBBASINWARMUP", "INITSUBBASINSEDIMENT", "SETFALLVELOCITYMETHOD",
        "SETTRANSPORTPOTENTIALMETHOD", "SETCOHESIVETRANSPORTMETHOD", "SETSEDIMENTPROPERTIES",
        "SETSEDIMENTTRANSPORTPARAMETERS", "SETSUBBASINMOBILITYFACTOR", "SETGRAINSIZEFRACTIONS",
        "CHECKSEDIMENTSETUP", "SOLVESUBBASINFLOW", "SOLVESUBBASINFLOW", "SOLVESUBBASINFLOW",
        "SOLVESUBBASINFLOWSEDIMENT", "SOLVESUBBASINFLOWSEDIMENT", "GETBOUNDARYOUTFLOW",
        "GETBOUNDARYSTAGE", "GETBOUNDARYTOTALLOAD", "GETBOUNDARYTOTALCONCENTRATION",
        "GETBOUNDARYLOAD", "GETBOUNDARYLOAD", "GETSUBBASINCELLAREAWET", "GETSUBBASINCELLVOLUME",
        "GETSUBBASINCELLWATERLEVEL", "GETSUBBASINCELLVELOCITY", "GETSUBBASINFACEVELOCITY",
        "GETSUBBASINCELLTOTALCONCENTRATION", "GETSUBBASINCELLTOTALBEDCHANGE",
        "GETSUBBASINCELLCONCENTRATION", "GETSUBBASINCELLBEDCHANGE",
        "GETSUBBASINCELLACTIVEFRACTION", "DEALLOCATESUBBASINS"),
        routines);
  }

  private static double[] expectedCells(int code, int i1, int i2) {
    double[] out = new double[AREAS.length];
    for (int c = 0; c < AREAS.length; c++) {
      out[c] = cellValue(code, 5, c, i1, i2, AREAS[c] * SolverObjects.SQUARE_FEET);
    }
    return out;
  }
}
