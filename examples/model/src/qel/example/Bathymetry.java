package qel.example;

/**
 * The elevation tables of a subbasin, in the form the bridge reads for
 * {@code Native2DSolver.initializeSubbasinBathymetry}.
 *
 * <p>Like the mesh, this is a plain object whose four fields the bridge finds
 * by name and signature. Each cell gets a volume–elevation table and each
 * face an area–elevation table; an info row (first row, number of rows)
 * points into the values table of its kind. Unlike the geometry, these
 * values reach the solver unchanged: no unit conversion.
 *
 * <p>The ground is a valley sloping down towards the east: a plane falling
 * 1 m per kilometre with a parabolic cross-section 2 m deep at its banks.
 */
final class Bathymetry {

  /** Water depths (m) at which every table has a point. */
  static final double[] DEPTHS = {0.0, 0.25, 0.5, 1.0, 2.0, 4.0, 8.0};

  /** Manning's roughness given with every face point. */
  static final double MANNING_N = 0.035;

  /** Per cell: (first row in {@code _cellVolumeElevationValues}, number of rows). "[[I" */
  final int[][] _cellVolumeElevationInfo;
  /** (elevation, stored volume) rows, grouped by cell. "[[D" */
  final double[][] _cellVolumeElevationValues;
  /** Per face: (first row in {@code _faceAreaElevationValues}, number of rows). "[[I" */
  final int[][] _faceAreaElevationInfo;
  /** (elevation, flow area, wetted perimeter, Manning's n) rows, grouped by face. "[[D" */
  final double[][] _faceAreaElevationValues;

  /** Ground elevation at each cell (m), kept for the example's own use. */
  final double[] cellGround;

  Bathymetry(RectangularMesh mesh) {
    int p = DEPTHS.length;
    int cells = mesh.cellCount();
    cellGround = new double[cells];
    _cellVolumeElevationInfo = new int[cells][];
    _cellVolumeElevationValues = new double[cells * p][];
    for (int c = 0; c < cells; c++) {
      double[] xy = mesh._cellCoordinates[c];
      double ground = ground(mesh, xy[0], xy[1]);
      double area = mesh._cellBathAreas[c];
      cellGround[c] = ground;
      _cellVolumeElevationInfo[c] = new int[] {c * p + RectangularMesh.BASE, p};
      for (int k = 0; k < p; k++) {
        _cellVolumeElevationValues[c * p + k] = new double[] {ground + DEPTHS[k], area * DEPTHS[k]};
      }
    }

    int faces = mesh.faceCount();
    _faceAreaElevationInfo = new int[faces][];
    _faceAreaElevationValues = new double[faces * p][];
    for (int f = 0; f < faces; f++) {
      double[] a = mesh._nodeCoordinates[mesh._faceNodeIndices[f][0] - RectangularMesh.BASE];
      double[] b = mesh._nodeCoordinates[mesh._faceNodeIndices[f][1] - RectangularMesh.BASE];
      double ground = ground(mesh, (a[0] + b[0]) / 2, (a[1] + b[1]) / 2);
      double width = mesh._faceVectorLength[f];
      _faceAreaElevationInfo[f] = new int[] {f * p + RectangularMesh.BASE, p};
      for (int k = 0; k < p; k++) {
        double d = DEPTHS[k];
        double perimeter = d > 0 ? width : 0.0;
        _faceAreaElevationValues[f * p + k] = new double[] {ground + d, width * d, perimeter, MANNING_N};
      }
    }
  }

  /** Ground elevation (m) at (x, y). */
  static double ground(RectangularMesh mesh, double x, double y) {
    double halfWidth = mesh.ny * mesh.cellSize / 2;
    double across = (y - halfWidth) / halfWidth;  // -1 at the south bank, +1 at the north bank
    return 10.0 - 0.001 * x + 2.0 * across * across;
  }
}
