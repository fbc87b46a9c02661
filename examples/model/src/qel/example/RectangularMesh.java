package qel.example;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/**
 * A rectangular mesh of nx × ny square cells, in the form the bridge reads
 * for {@code Native2DSolver.initializeSubbasinGeometry}.
 *
 * <p>The bridge finds the fifteen fields below by their exact names and JNI
 * signatures on the object's run-time class ({@code GetFieldID}); no base
 * class or interface is involved, and the fields need not be public. Each
 * {@code double[][]} or {@code int[][]} field is a table of rows; the bridge
 * reads the first two elements of each row (the first
 * {@code _maxNumberNodesPerCell} of {@code _cellNodeIndices}).
 *
 * <p>Every face has a cell on each side. Where the mesh ends, that cell is an
 * <em>external</em> cell: one per boundary face, with no area, numbered after
 * the {@code nx × ny} internal cells. With that rule the cell-face table and
 * the node-face table both hold two rows per face, which is what the bridge
 * requires: it reads {@code _nodeFaceOrientationValues} with the row count of
 * {@code _cellFaceOrientationValues}.
 *
 * <p>Lengths are in metres and areas in square metres; the bridge converts
 * coordinates, areas and face lengths to feet for the solver. Indices are
 * handed over unchanged, so they are written in the solver's own numbering,
 * which starts at {@link #BASE}.
 */
final class RectangularMesh {

  /** Number of the first cell, face, node or table row in the solver's numbering. */
  static final int BASE = 1;

  /** Marks an unused slot of a {@code _cellNodeIndices} row (external cells have two nodes). */
  static final int NO_NODE = BASE - 1;

  // --- The fifteen fields the bridge reads ---------------------------------

  /** Area of every cell, internal then external; its length is the cell count. "[D" */
  final double[] _cellBathAreas;
  /** How many of the cells are internal (they come first). "I" */
  final int _numberInternalCells;
  /** Width of a {@code _cellNodeIndices} row. "I" */
  final int _maxNumberNodesPerCell;
  /** Centre (x, y) of each cell; an external cell sits at the midpoint of its face. "[[D" */
  final double[][] _cellCoordinates;
  /** Per cell: (first row in {@code _cellFaceOrientationValues}, number of rows). "[[I" */
  final int[][] _cellFaceOrientationInfo;
  /** (face, +1 when the face normal points out of the cell, else -1), grouped by cell. "[[I" */
  final int[][] _cellFaceOrientationValues;
  /** Per cell: its nodes counter-clockwise, padded with {@link #NO_NODE}. "[[I" */
  final int[][] _cellNodeIndices;
  /** Per node: (first element in {@code _nodeCellValues}, number of cells). "[[I" */
  final int[][] _nodeCellInfo;
  /** The cells around each node, grouped by node. "[I" */
  final int[] _nodeCellValues;
  /** Position (x, y) of each node; its row count is the node count. "[[D" */
  final double[][] _nodeCoordinates;
  /** Per node: (first row in {@code _nodeFaceOrientationValues}, number of rows). "[[I" */
  final int[][] _nodeFaceOrientationInfo;
  /** (face, +1 when the face starts at the node, else -1), grouped by node. "[[I" */
  final int[][] _nodeFaceOrientationValues;
  /** Unit normal (nx, ny) of each face, from its first cell to its second; row count = face count. "[[D" */
  final double[][] _faceNormalVector;
  /** Length of each face. "[D" */
  final double[] _faceVectorLength;
  /** The two end nodes of each face, ordered so that the normal lies on the right-hand side. "[[I" */
  final int[][] _faceNodeIndices;

  // --- What the example itself needs (0-based, not read by the bridge) -----

  final int nx;
  final int ny;
  final double cellSize;
  /** Per face: the cell on each side, 0-based. */
  final int[][] faceCells;

  RectangularMesh(int nx, int ny, double cellSize, double x0, double y0) {
    if (nx < 1 || ny < 1 || !(cellSize > 0)) {
      throw new IllegalArgumentException("mesh needs nx, ny >= 1 and a positive cell size");
    }
    this.nx = nx;
    this.ny = ny;
    this.cellSize = cellSize;

    // Nodes: (i, j) with 0 <= i <= nx, 0 <= j <= ny.
    int nodeCount = (nx + 1) * (ny + 1);
    _nodeCoordinates = new double[nodeCount][];
    for (int j = 0; j <= ny; j++) {
      for (int i = 0; i <= nx; i++) {
        _nodeCoordinates[node(i, j)] = new double[] {x0 + i * cellSize, y0 + j * cellSize};
      }
    }

    // Faces: first the faces across x (normal +x, between columns), then the
    // faces across y (normal +y, between rows). A face runs from its first
    // node to its second with its normal on the right-hand side, so that
    // the normal points from faceCells[f][0] to faceCells[f][1].
    int verticalFaces = (nx + 1) * ny;
    int faceCount = verticalFaces + nx * (ny + 1);
    _faceNormalVector = new double[faceCount][];
    _faceVectorLength = new double[faceCount];
    _faceNodeIndices = new int[faceCount][];
    faceCells = new int[faceCount][];
    int internalCells = nx * ny;
    for (int j = 0; j < ny; j++) {
      for (int i = 0; i <= nx; i++) {
        int f = verticalFace(i, j);
        _faceNormalVector[f] = new double[] {1.0, 0.0};
        _faceNodeIndices[f] = new int[] {node(i, j) + BASE, node(i, j + 1) + BASE};
        faceCells[f] = new int[] {i > 0 ? cell(i - 1, j) : -1, i < nx ? cell(i, j) : -1};
      }
    }
    for (int j = 0; j <= ny; j++) {
      for (int i = 0; i < nx; i++) {
        int f = horizontalFace(i, j);
        _faceNormalVector[f] = new double[] {0.0, 1.0};
        _faceNodeIndices[f] = new int[] {node(i + 1, j) + BASE, node(i, j) + BASE};
        faceCells[f] = new int[] {j > 0 ? cell(i, j - 1) : -1, j < ny ? cell(i, j) : -1};
      }
    }
    Arrays.fill(_faceVectorLength, cellSize);

    // External cells: one per boundary face, numbered in face order.
    int cellCount = internalCells;
    for (int[] sides : faceCells) {
      for (int s = 0; s < 2; s++) {
        if (sides[s] < 0) sides[s] = cellCount++;
      }
    }
    _numberInternalCells = internalCells;
    _maxNumberNodesPerCell = 4;
    _cellBathAreas = new double[cellCount];
    _cellCoordinates = new double[cellCount][];
    _cellNodeIndices = new int[cellCount][];
    for (int j = 0; j < ny; j++) {
      for (int i = 0; i < nx; i++) {
        int c = cell(i, j);
        _cellBathAreas[c] = cellSize * cellSize;
        _cellCoordinates[c] = new double[] {x0 + (i + 0.5) * cellSize, y0 + (j + 0.5) * cellSize};
        _cellNodeIndices[c] =
            new int[] {
              node(i, j) + BASE, node(i + 1, j) + BASE, node(i + 1, j + 1) + BASE, node(i, j + 1) + BASE
            };
      }
    }
    for (int f = 0; f < faceCount; f++) {
      for (int s = 0; s < 2; s++) {
        int c = faceCells[f][s];
        if (c < internalCells) continue;
        double[] a = _nodeCoordinates[_faceNodeIndices[f][0] - BASE];
        double[] b = _nodeCoordinates[_faceNodeIndices[f][1] - BASE];
        _cellBathAreas[c] = 0.0;
        _cellCoordinates[c] = new double[] {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2};
        _cellNodeIndices[c] =
            new int[] {_faceNodeIndices[f][0], _faceNodeIndices[f][1], NO_NODE, NO_NODE};
      }
    }

    // Cell -> faces, with the orientation of each face seen from the cell.
    List<List<int[]>> facesOfCell = lists(cellCount);
    for (int f = 0; f < faceCount; f++) {
      facesOfCell.get(faceCells[f][0]).add(new int[] {f + BASE, +1});
      facesOfCell.get(faceCells[f][1]).add(new int[] {f + BASE, -1});
    }
    _cellFaceOrientationInfo = new int[cellCount][];
    _cellFaceOrientationValues = flatten(facesOfCell, _cellFaceOrientationInfo);

    // Node -> faces: +1 where the face starts at the node.
    List<List<int[]>> facesOfNode = lists(nodeCount);
    for (int f = 0; f < faceCount; f++) {
      facesOfNode.get(_faceNodeIndices[f][0] - BASE).add(new int[] {f + BASE, +1});
      facesOfNode.get(_faceNodeIndices[f][1] - BASE).add(new int[] {f + BASE, -1});
    }
    _nodeFaceOrientationInfo = new int[nodeCount][];
    _nodeFaceOrientationValues = flatten(facesOfNode, _nodeFaceOrientationInfo);

    // Node -> cells, internal and external.
    List<List<int[]>> cellsOfNode = lists(nodeCount);
    for (int c = 0; c < cellCount; c++) {
      for (int n : _cellNodeIndices[c]) {
        if (n != NO_NODE) cellsOfNode.get(n - BASE).add(new int[] {c + BASE});
      }
    }
    _nodeCellInfo = new int[nodeCount][];
    int[][] nodeCells = flatten(cellsOfNode, _nodeCellInfo);
    _nodeCellValues = new int[nodeCells.length];
    for (int k = 0; k < nodeCells.length; k++) _nodeCellValues[k] = nodeCells[k][0];
  }

  int cellCount() {
    return _cellBathAreas.length;
  }

  int faceCount() {
    return _faceNormalVector.length;
  }

  int nodeCount() {
    return _nodeCoordinates.length;
  }

  /** 0-based index of internal cell (i, j). */
  int cell(int i, int j) {
    return j * nx + i;
  }

  /** 0-based index of node (i, j). */
  int node(int i, int j) {
    return j * (nx + 1) + i;
  }

  /** 0-based index of the face across x at the west side of column i, row j (i may be nx). */
  int verticalFace(int i, int j) {
    return j * (nx + 1) + i;
  }

  /** 0-based index of the face across y at the south side of row j, column i (j may be ny). */
  int horizontalFace(int i, int j) {
    return (nx + 1) * ny + j * nx + i;
  }

  private static List<List<int[]>> lists(int n) {
    List<List<int[]>> all = new ArrayList<>(n);
    for (int k = 0; k < n; k++) all.add(new ArrayList<>());
    return all;
  }

  /**
   * Lays out grouped rows one group after another and fills info[g] with
   * (first row in the solver's numbering, number of rows) of group g.
   */
  private static int[][] flatten(List<List<int[]>> groups, int[][] info) {
    int total = 0;
    for (List<int[]> g : groups) total += g.size();
    int[][] rows = new int[total][];
    int next = 0;
    for (int g = 0; g < groups.size(); g++) {
      info[g] = new int[] {next + BASE, groups.get(g).size()};
      for (int[] row : groups.get(g)) rows[next++] = row;
    }
    return rows;
  }
}
