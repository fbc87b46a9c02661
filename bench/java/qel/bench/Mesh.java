package qel.bench;

/**
 * A structured mesh of nx by ny square cells in the shape the bridge reads: cells,
 * nodes and faces with their connectivity, every row its own Java array.
 */
final class Mesh {
  double[] _cellBathAreas;
  int _numberInternalCells;
  int _maxNumberNodesPerCell;
  double[][] _cellCoordinates;
  int[][] _cellFaceOrientationInfo;
  int[][] _cellFaceOrientationValues;
  int[][] _cellNodeIndices;
  int[][] _nodeCellInfo;
  int[] _nodeCellValues;
  double[][] _nodeCoordinates;
  int[][] _nodeFaceOrientationInfo;
  int[][] _nodeFaceOrientationValues;
  double[][] _faceNormalVector;
  double[] _faceVectorLength;
  int[][] _faceNodeIndices;

  final int cells;
  final int nodes;
  final int faces;

  Mesh(int nx, int ny) {
    cells = nx * ny;
    nodes = (nx + 1) * (ny + 1);
    int verticalFaces = (nx + 1) * ny;
    faces = verticalFaces + nx * (ny + 1);

    _cellBathAreas = new double[cells];
    _numberInternalCells = Math.max(0, (nx - 2) * (ny - 2));
    _maxNumberNodesPerCell = 4;
    _cellCoordinates = new double[cells][];
    _cellFaceOrientationInfo = new int[cells][];
    _cellFaceOrientationValues = new int[4 * cells][];
    _cellNodeIndices = new int[cells][];
    for (int j = 0; j < ny; j++) {
      for (int i = 0; i < nx; i++) {
        int c = j * nx + i;
        _cellBathAreas[c] = 1.0;
        _cellCoordinates[c] = new double[] {i + 0.5, j + 0.5};
        _cellFaceOrientationInfo[c] = new int[] {4 * c + 1, 4};
        int west = j * (nx + 1) + i;
        int south = verticalFaces + j * nx + i;
        _cellFaceOrientationValues[4 * c] = new int[] {west + 1, -1};
        _cellFaceOrientationValues[4 * c + 1] = new int[] {west + 2, 1};
        _cellFaceOrientationValues[4 * c + 2] = new int[] {south + 1, -1};
        _cellFaceOrientationValues[4 * c + 3] = new int[] {south + nx + 1, 1};
        int n0 = j * (nx + 1) + i + 1;
        _cellNodeIndices[c] = new int[] {n0, n0 + 1, n0 + nx + 2, n0 + nx + 1};
      }
    }

    // Nodes: the cells around each, and one face-orientation row per
    // cell-face value (the same count as _cellFaceOrientationValues).
    _nodeCoordinates = new double[nodes][];
    _nodeCellInfo = new int[nodes][];
    _nodeFaceOrientationInfo = new int[nodes][];
    int[] around = new int[4];
    int[] cellValues = new int[4 * cells];
    int used = 0;
    for (int j = 0; j <= ny; j++) {
      for (int i = 0; i <= nx; i++) {
        int n = j * (nx + 1) + i;
        _nodeCoordinates[n] = new double[] {i, j};
        int count = 0;
        for (int dj = -1; dj <= 0; dj++) {
          for (int di = -1; di <= 0; di++) {
            int ci = i + di;
            int cj = j + dj;
            if (ci >= 0 && ci < nx && cj >= 0 && cj < ny) around[count++] = cj * nx + ci + 1;
          }
        }
        _nodeCellInfo[n] = new int[] {used + 1, count};
        for (int k = 0; k < count; k++) cellValues[used++] = around[k];
        _nodeFaceOrientationInfo[n] = new int[] {4 * Math.min(n, cells - 1) + 1, 4};
      }
    }
    _nodeCellValues = java.util.Arrays.copyOf(cellValues, used);
    _nodeFaceOrientationValues = new int[4 * cells][];
    for (int v = 0; v < 4 * cells; v++) {
      _nodeFaceOrientationValues[v] = new int[] {v / 4 + 1, (v & 1) == 0 ? 1 : -1};
    }

    _faceNormalVector = new double[faces][];
    _faceVectorLength = new double[faces];
    _faceNodeIndices = new int[faces][];
    for (int f = 0; f < faces; f++) {
      _faceVectorLength[f] = 1.0;
      if (f < verticalFaces) {
        int j = f / (nx + 1);
        int i = f % (nx + 1);
        int n = j * (nx + 1) + i + 1;
        _faceNormalVector[f] = new double[] {1.0, 0.0};
        _faceNodeIndices[f] = new int[] {n, n + nx + 1};
      } else {
        int h = f - verticalFaces;
        int j = h / nx;
        int i = h % nx;
        int n = j * (nx + 1) + i + 1;
        _faceNormalVector[f] = new double[] {0.0, 1.0};
        _faceNodeIndices[f] = new int[] {n, n + 1};
      }
    }
  }

  /** Rows of all tables together. */
  long rows() {
    return (long) _cellCoordinates.length
        + _cellFaceOrientationInfo.length
        + _cellFaceOrientationValues.length
        + _cellNodeIndices.length
        + _nodeCellInfo.length
        + _nodeCoordinates.length
        + _nodeFaceOrientationInfo.length
        + _nodeFaceOrientationValues.length
        + _faceNormalVector.length
        + _faceNodeIndices.length;
  }

  /** Bytes of the thirteen buffers the routine receives. */
  long bytesHandedOver() {
    long cfv = _cellFaceOrientationValues.length;
    return cells * (16L + 8 + 8 + 4L * _maxNumberNodesPerCell)
        + cfv * 8
        + _nodeCellInfo.length * 8L
        + _nodeCellValues.length * 4L
        + nodes * (16L + 8)
        + cfv * 8
        + faces * (16L + 8 + 8);
  }
}
