package qel.surface;

/** Test bathymetry object: the four tables the bridge reads by name. */
public class SubbasinBathymetry {
  public int[][] _cellVolumeElevationInfo = {};
  public double[][] _cellVolumeElevationValues = {};
  public int[][] _faceAreaElevationInfo = {};
  public double[][] _faceAreaElevationValues = {};

  /** One two-point table per cell and per face of a grid. */
  public static SubbasinBathymetry forGrid(int cells, int faces) {
    SubbasinBathymetry b = new SubbasinBathymetry();
    b._cellVolumeElevationInfo = new int[cells][];
    b._cellVolumeElevationValues = new double[2 * cells][];
    for (int c = 0; c < cells; c++) {
      b._cellVolumeElevationInfo[c] = new int[] {2 * c + 1, 2};
      b._cellVolumeElevationValues[2 * c] = new double[] {100.0, 0.0};
      b._cellVolumeElevationValues[2 * c + 1] = new double[] {101.0, 1.0};
    }
    b._faceAreaElevationInfo = new int[faces][];
    b._faceAreaElevationValues = new double[2 * faces][];
    for (int f = 0; f < faces; f++) {
      b._faceAreaElevationInfo[f] = new int[] {2 * f + 1, 2};
      b._faceAreaElevationValues[2 * f] = new double[] {100.0, 0.0, 0.0, 0.0};
      b._faceAreaElevationValues[2 * f + 1] = new double[] {101.0, 1.0, 1.0, 0.5};
    }
    return b;
  }
}
