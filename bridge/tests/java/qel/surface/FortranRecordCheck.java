package qel.surface;

import static org.junit.jupiter.api.Assertions.assertAll;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertSame;
import static qel.surface.SolverObjects.faces;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.stream.Collectors;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;
import vmz.ErrorProcessor;

/**
 * The bridge against the Fortran test solver (bridge/tests/fortran), not
 * the stand-in: run only by the test junit_fortran_solver, with the Fortran
 * libQuarnel.so beside a copy of libVelmora.so. One call of each of the 47
 * methods, the same calls as fortran_record_test.cpp makes on Windows; the
 * solver's record must equal expected_record.txt (system property
 * quarnel.expected), and the values written back the routines' results.
 */
class FortranRecordCheck {
  @BeforeAll
  static void load() {
    Journal.load();
  }

  private static final String V = "Valley";
  private static final String DEBIT = "D\u00e9bit";

  static SubbasinGeometry geometry() {
    SubbasinGeometry g = new SubbasinGeometry();
    g._cellBathAreas = new double[] {1.0, 2.0};
    g._numberInternalCells = 1;
    g._maxNumberNodesPerCell = 3;
    g._cellCoordinates = new double[][] {{0.5, 1.0}, {2.0, 0.25}};
    g._cellFaceOrientationInfo = new int[][] {{1, 2}, {3, 1}};
    g._cellFaceOrientationValues = new int[][] {{1, 1}, {2, -1}, {3, 1}};
    g._cellNodeIndices = new int[][] {{1, 2, 3}, {2, 4, 3}};
    g._nodeCellInfo = new int[][] {{1, 1}, {2, 2}, {4, 1}, {5, 1}};
    g._nodeCellValues = new int[] {1, 1, 2, 1, 2};
    g._nodeCoordinates = new double[][] {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    g._nodeFaceOrientationInfo = new int[][] {{1, 1}, {2, 1}, {3, 0}, {3, 1}};
    g._nodeFaceOrientationValues = new int[][] {{1, 0}, {2, 1}, {3, 2}};
    g._faceNormalVector = new double[][] {{1, 0}, {0, 1}, {-1, 0}};
    g._faceVectorLength = new double[] {1.0, 0.5, 2.0};
    g._faceNodeIndices = new int[][] {{1, 2}, {2, 4}, {3, 1}};
    return g;
  }

  static SubbasinBathymetry bathymetry() {
    SubbasinBathymetry b = new SubbasinBathymetry();
    b._cellVolumeElevationInfo = new int[][] {{1, 2}, {3, 1}};
    b._cellVolumeElevationValues = new double[][] {{100, 0}, {101, 1.5}, {99.5, 0}};
    b._faceAreaElevationInfo = new int[][] {{1, 1}, {2, 1}, {3, 0}};
    b._faceAreaElevationValues = new double[][] {{100, 0, 0, 0}, {101, 2, 1.5, 0.5}};
    return b;
  }

  interface CellResult {
    void get(double[] values);
  }

  @Test
  void everyMethodReachesTheFortranSolverIntact() throws IOException {
    Journal.clear();
    ErrorProcessor.clear();
    List<Executable> back = new ArrayList<>();

    Native2DSolver.setFortranLogFile("fortran.log");
    Native2DSolver.setUnitSystem(2);
    Native2DSolver.releaseSubbasins();
    Native2DSolver.setupBasinFlow(2, new String[] {"North", "South", "not read"});
    Native2DSolver.setupBasinSediment(1, new String[] {V});
    Native2DSolver.initializeSubbasinGeometry(V, geometry());
    Native2DSolver.initializeSubbasinBathymetry(V, bathymetry());

    Native2DSolver.setBoundaryNormalDepth(V, "Outlet", faces(new int[] {1, 3}, 0.5, 0.25), 0.75);
    double[] curve1 = {1, 2, 3, 9};
    double[] curve2 = {10, 20, 30};
    Native2DSolver.setBoundaryRatingCurve(V, "Rating", faces(new int[] {2}, 1.0), 3, curve1, curve2);
    back.add(() -> assertArrayEquals(new double[] {-1, -2, -3, 9}, curve1, "curve1"));
    back.add(() -> assertArrayEquals(new double[] {-10, -20, -30}, curve2, "curve2"));
    Native2DSolver.setBoundaryFlow(V, DEBIT, faces(new int[] {1}, 1.0), 99.0, 12.5);
    Native2DSolver.setBoundaryStage(V, "Stage", faces(new int[] {3}, 0.5), 99.0, 101.25);
    Native2DSolver.setBoundaryValueFlow(V, DEBIT, 13.5);
    Native2DSolver.setBoundaryValueStage(V, "Stage", 102.5);
    Native2DSolver.setBoundaryValueLoad(V, DEBIT, 0.125);

    Native2DSolver.setSubbasinNumberThreads(V, 4);
    Native2DSolver.setSubbasinImplicitFactor(V, 0.6);
    Native2DSolver.setSubbasinControlParameters(V, 0.1, 0.2, 0.3, 0.4, 5);
    Native2DSolver.initializeSubbasinFlow("A subbasin name longer than 32 bytes");
    Native2DSolver.initializeSubbasinFlowState(V);
    Native2DSolver.initializeWarmUp(V, 1.5, -2.5);
    double[] a = {1, 2, 3, 4};
    Native2DSolver.subbasinSolvePeriodFlow(V, 0.5, 0.25, a, 3);
    back.add(() -> assertArrayEquals(new double[] {-1, -2, -3, 4}, a, "a"));

    Native2DSolver.initializeSubbasinSediment(V);
    Native2DSolver.setFallVelocityMethod(V, "Rubey");
    Native2DSolver.setTransportPotentialMethod(V, "Yang-1973-sand-and-gravel");
    double[][] d = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    Native2DSolver.setCohesiveTransportMethod(V, "Krone", d[0], d[1], d[2], d[3], 2);
    back.add(
        () -> assertArrayEquals(new double[][] {{-1, -2}, {-3, -4}, {-5, -6}, {-7, -8}}, d, "d"));
    double[] p = {2650, 0.4, 9};
    Native2DSolver.setSedimentProperties(p, 2, 1.1, 1.2, 1.3, 1.4);
    back.add(() -> assertArrayEquals(new double[] {-2650, -0.4, 9}, p, "p"));
    double[] r1 = {0.5, 1.5};
    Native2DSolver.setRhemParameters(V, r1, new double[] {7, 8}, 2, 0.01, 0.02);
    back.add(() -> assertArrayEquals(new double[] {-0.5, -1.5}, r1, "r1"));
    Native2DSolver.setSubbasinMobilityFactor(V, 1.25);
    double[] f = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6};
    Native2DSolver.setGrainSizeFractions(V, f, 2, 3);
    back.add(() -> assertArrayEquals(new double[] {-0.1, -0.2, -0.3, -0.4, -0.5, -0.6}, f, "f"));
    Native2DSolver.checkSedimentSetup(V);
    double[][] s = {{1, 2}, {3, 4}, {5, 6}};
    Native2DSolver.subbasinSolvePeriodSediment("Vall\u00e9e", 1.0, 2.0, s[0], s[1], s[2], 2);
    back.add(() -> assertArrayEquals(new double[][] {{-1, -2}, {-3, -4}, {-5, -6}}, s, "a1..a3"));

    // Boundary results: value = value + 100 code (+ k); GETBOUNDARYLOAD's
    // value starts at 0, the others' at element 0.
    double[][] r = {{5, 42}, {1.5}, {7}, {0}, {9}, {0.5}};
    Native2DSolver.getBoundaryOutflow(V, DEBIT, r[0]);
    Native2DSolver.getBoundaryStage(V, "Stage", r[1]);
    Native2DSolver.getBoundaryLoad(V, DEBIT, r[2], 3);
    Native2DSolver.getBoundaryTotalLoad(V, DEBIT, r[3]);
    Native2DSolver.getBoundaryConcentration(V, DEBIT, r[4], -2);
    Native2DSolver.getBoundaryTotalConcentration(V, DEBIT, r[5]);
    back.add(
        () ->
            assertArrayEquals(
                new double[][] {{105, 42}, {201.5}, {303}, {400}, {298}, {500.5}}, r, "r"));

    // Cell and face results: values(c) = 100 code + c + i1/2 + i2/4.
    CellResult[] cells = {
      v -> Native2DSolver.getSubbasinCellWetArea(V, v, 1),
      v -> Native2DSolver.getSubbasinCellVolume(V, v, 2),
      v -> Native2DSolver.getSubbasinCellWaterSurface(V, v, 0),
      v -> Native2DSolver.getSubbasinCellVelocity(V, v, -1),
      v -> Native2DSolver.getSubbasinFaceVelocity(V, v, 4),
      v -> Native2DSolver.getSubbasinCellTotalConcentration(V, v, 1),
      v -> Native2DSolver.getSubbasinCellTotalBedChange(V, v, 0),
      v -> Native2DSolver.getSubbasinCellConcentration(V, v, 1, 2),
      v -> Native2DSolver.getSubbasinCellBedChange(V, v, 0, -4),
      v -> Native2DSolver.getSubbasinCellActiveFraction(V, v, 3, 1),
    };
    double[][] want = {
      {101.5, 102.5}, {202, 203}, {301, 302}, {400.5, 401.5}, {503, 504, 505, -7},
      {601.5, 602.5}, {701, 702}, {802, 803}, {900, 901}, {1002.75, 1003.75},
    };
    for (int i = 0; i < cells.length; i++) {
      double[] values = new double[want[i].length];
      values[values.length - 1] = -7;
      cells[i].get(values);
      double[] expected = want[i];
      back.add(() -> assertArrayEquals(expected, values, "cell result " + expected[0]));
    }

    List<String> messages = new ArrayList<>();
    for (ErrorProcessor.Received m : ErrorProcessor.received()) {
      messages.add(m.message);
      back.add(() -> assertSame(Thread.currentThread(), m.thread, m.message));
    }
    back.add(
        () ->
            assertEquals(
                List.of("SOLVESUBBASINFLOW Valley", "SOLVESUBBASINFLOWSEDIMENT Vall\u00e9e"),
                messages));

    List<String> expected =
        Files.readAllLines(
                Paths.get(System.getProperty("quarnel.expected")), StandardCharsets.ISO_8859_1)
            .stream()
            .filter(line -> !line.isEmpty() && !line.startsWith("#"))
            .collect(Collectors.toList());
    List<String> record = Journal.lines();
    List<Executable> checks = new ArrayList<>();
    for (int i = 0; i < Math.max(expected.size(), record.size()); i++) {
      String want1 = i < expected.size() ? expected.get(i) : "(none)";
      String got = i < record.size() ? record.get(i) : "(none)";
      int line = i + 1;
      checks.add(() -> assertEquals(want1, got, "record line " + line));
    }
    checks.addAll(back);
    assertAll(checks);
  }
}
