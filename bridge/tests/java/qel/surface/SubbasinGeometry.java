package qel.surface;

/** Test geometry object: the fields the bridge reads by name. */
public class SubbasinGeometry {
  public double[] _cellBathAreas = {};
  public int _numberInternalCells;
  public int _maxNumberNodesPerCell;
  public double[][] _cellCoordinates = {};
  public int[][] _cellFaceOrientationInfo = {};
  public int[][] _cellFaceOrientationValues = {};
  public int[][] _cellNodeIndices = {};
  public int[][] _nodeCellInfo = {};
  public int[] _nodeCellValues = {};
  public double[][] _nodeCoordinates = {};
  public int[][] _nodeFaceOrientationInfo = {};
  public int[][] _nodeFaceOrientationValues = {};
  public double[][] _faceNormalVector = {};
  public double[] _faceVectorLength = {};
  public int[][] _faceNodeIndices = {};

  /**
   * A unit-square grid of nx by ny cells in metres: cells, their corner
   * nodes and their faces, with consistent counts (rows of each table as
   * the solver reads them).
   */
  public static SubbasinGeometry grid(int nx, int ny) {
    SubbasinGeometry g = new SubbasinGeometry();
    int cells = nx * ny;
    int nodes = (nx + 1) * (ny + 1);
    int faces = nx * (ny + 1) + ny * (nx + 1);
    g._cellBathAreas = new double[cells];
    g._numberInternalCells = cells;
    g._maxNumberNodesPerCell = 4;
    g._cellCoordinates = new double[cells][];
    g._cellFaceOrientationInfo = new int[cells][];
    g._cellNodeIndices = new int[cells][];
    g._cellFaceOrientationValues = new int[4 * cells][];
    g._nodeFaceOrientationValues = new int[4 * cells][];
    for (int j = 0; j < ny; j++) {
      for (int i = 0; i < nx; i++) {
        int c = j * nx + i;
        g._cellBathAreas[c] = 1.0;
        g._cellCoordinates[c] = new double[] {i + 0.5, j + 0.5};
        g._cellFaceOrientationInfo[c] = new int[] {4 * c + 1, 4};
        int n0 = j * (nx + 1) + i + 1;
        g._cellNodeIndices[c] = new int[] {n0, n0 + 1, n0 + nx + 2, n0 + nx + 1};
        for (int k = 0; k < 4; k++) {
          g._cellFaceOrientationValues[4 * c + k] = new int[] {c + 1, k % 2 == 0 ? 1 : -1};
          g._nodeFaceOrientationValues[4 * c + k] = new int[] {c + 1, k};
        }
      }
    }
    g._nodeCoordinates = new double[nodes][];
    g._nodeCellInfo = new int[nodes][];
    g._nodeFaceOrientationInfo = new int[nodes][];
    g._nodeCellValues = new int[nodes];
    for (int n = 0; n < nodes; n++) {
      g._nodeCoordinates[n] = new double[] {n % (nx + 1), n / (nx + 1)};
      g._nodeCellInfo[n] = new int[] {n + 1, 1};
      g._nodeFaceOrientationInfo[n] = new int[] {n + 1, 2};
      g._nodeCellValues[n] = Math.min(n, cells - 1) + 1;
    }
    g._faceNormalVector = new double[faces][];
    g._faceVectorLength = new double[faces];
    g._faceNodeIndices = new int[faces][];
    for (int f = 0; f < faces; f++) {
      boolean horizontal = f < nx * (ny + 1);
      g._faceNormalVector[f] = horizontal ? new double[] {0.0, 1.0} : new double[] {1.0, 0.0};
      g._faceVectorLength[f] = 1.0;
      g._faceNodeIndices[f] = new int[] {f % nodes + 1, (f + 1) % nodes + 1};
    }
    return g;
  }
}
