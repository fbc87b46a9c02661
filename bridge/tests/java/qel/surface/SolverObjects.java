package qel.surface;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;

import java.util.ArrayList;
import java.util.List;

/**
 * Test support for the boundary, flow, sediment and result tests: the Java
 * objects whose fields the bridge reads, the stand-in's documented results,
 * and a check of one journal line against its expected arguments.
 */
final class SolverObjects {
  private SolverObjects() {}

  /** Square feet per square metre, applied by the bridge to cell areas. */
  static final double SQUARE_FEET = 10.763910416709722;

  /** A boundary object: the faces it covers and their fractions. */
  static final class Faces {
    final int[] _faceIndex;
    final double[] _faceFraction;

    Faces(int[] faceIndex, double[] faceFraction) {
      _faceIndex = faceIndex;
      _faceFraction = faceFraction;
    }
  }

  /** An object without the face fields. */
  static final class NoFaces {
    final int[] _faceIndex = {1};
  }

  static Faces faces(int[] index, double... fraction) {
    return new Faces(index, fraction);
  }

  /** A geometry object: cells with two nodes each, two nodes, faces. */
  static final class Geometry {
    double[] _cellBathAreas;
    int _numberInternalCells;
    int _maxNumberNodesPerCell = 2;
    double[][] _cellCoordinates;
    int[][] _cellFaceOrientationInfo;
    int[][] _cellFaceOrientationValues = {{1, 2}};
    int[][] _cellNodeIndices;
    int[][] _nodeCellInfo = {{1, 2}, {1, 2}};
    int[] _nodeCellValues = {1, 2};
    double[][] _nodeCoordinates = {{0, 0}, {1, 1}};
    int[][] _nodeFaceOrientationInfo = {{1, 2}, {1, 2}};
    int[][] _nodeFaceOrientationValues = {{1, 2}};
    double[][] _faceNormalVector;
    double[] _faceVectorLength;
    int[][] _faceNodeIndices;
  }

  static Geometry mesh(double[] areas, int faceCount) {
    Geometry g = new Geometry();
    int cells = areas.length;
    g._cellBathAreas = areas.clone();
    g._numberInternalCells = cells;
    g._cellCoordinates = new double[cells][2];
    g._cellFaceOrientationInfo = pairs(cells);
    g._cellNodeIndices = pairs(cells);
    g._faceNormalVector = new double[faceCount][2];
    g._faceVectorLength = new double[faceCount];
    g._faceNodeIndices = pairs(faceCount);
    return g;
  }

  /** A bathymetry object with one elevation row per cell and per face. */
  static final class Bathymetry {
    int[][] _cellVolumeElevationInfo;
    double[][] _cellVolumeElevationValues;
    int[][] _faceAreaElevationInfo;
    double[][] _faceAreaElevationValues;
  }

  static Bathymetry bathymetry(int cells, int faces) {
    Bathymetry b = new Bathymetry();
    b._cellVolumeElevationInfo = pairs(cells);
    b._cellVolumeElevationValues = new double[cells][2];
    b._faceAreaElevationInfo = pairs(faces);
    b._faceAreaElevationValues = new double[faces][4];
    return b;
  }

  private static int[][] pairs(int rows) {
    int[][] out = new int[rows][];
    for (int i = 0; i < rows; i++) {
      out[i] = new int[] {1, 2};
    }
    return out;
  }

  /**
   * The stand-in's cell or face result: code 1000000 + 1000 P + c + 0.5 i1
   * + 0.25 i2 + area, summed left to right.
   */
  static double cellValue(int code, int periods, int c, int i1, int i2, double area) {
    return code * 1000000.0 + 1000.0 * periods + c + 0.5 * i1 + 0.25 * i2 + area;
  }

  /** The journal form of a 32-byte solver text. */
  static String text(String s) {
    return Journal.text(s, 32);
  }

  /**
   * Checks a journal call: its routine, and its arguments by name in this
   * exact order. Expected values: a String is the journal's text as it
   * stands, an Integer or Long a decimal, a Double compared bit for bit, an
   * int[] or double[] the list of values.
   */
  static void expectCall(Journal.Call call, String routine, Object... namesAndValues) {
    assertEquals(routine, call.routine, "routine");
    List<String> names = new ArrayList<>();
    for (int i = 0; i < namesAndValues.length; i += 2) {
      names.add((String) namesAndValues[i]);
    }
    assertEquals(names, call.names(), routine + " arguments in order");
    for (int i = 0; i < namesAndValues.length; i += 2) {
      String name = (String) namesAndValues[i];
      Object want = namesAndValues[i + 1];
      String got = call.get(name);
      String what = routine + " " + name;
      if (want instanceof String) {
        assertEquals(want, got, what);
      } else if (want instanceof Integer || want instanceof Long) {
        assertEquals(((Number) want).longValue(), Long.parseLong(got), what);
      } else if (want instanceof Double) {
        assertEquals(
            Double.doubleToRawLongBits((Double) want),
            Double.doubleToRawLongBits(Double.parseDouble(got)),
            what + " = " + got);
      } else if (want instanceof int[]) {
        assertArrayEquals((int[]) want, Journal.intsOf(got), what);
      } else if (want instanceof double[]) {
        assertArrayEquals((double[]) want, Journal.doublesOf(got), what);
      } else {
        throw new IllegalArgumentException("cannot compare " + want);
      }
    }
  }
}
