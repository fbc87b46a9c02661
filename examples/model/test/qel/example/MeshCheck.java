package qel.example;

import java.util.ArrayList;
import java.util.HashSet;
import java.util.List;
import java.util.Set;

/**
 * Checks that the example's mesh and bathymetry are consistent in every
 * table the bridge hands to the solver, independently of how they were
 * built: each relation is rebuilt here from the primary tables (cell nodes,
 * face nodes, coordinates) and compared. Prints "mesh check: OK" or fails
 * with the first inconsistency.
 */
public final class MeshCheck {
  private static final int B = RectangularMesh.BASE;

  public static void main(String[] args) {
    int[][] sizes = {{1, 1}, {3, 2}, {7, 4}, {200, 100}};
    for (int[] size : sizes) {
      RectangularMesh mesh = new RectangularMesh(size[0], size[1], 10.0, 500.0, -250.0);
      check(mesh);
      check(mesh, new Bathymetry(mesh));
    }
    System.out.println("mesh check: OK (" + sizes.length + " meshes)");
  }

  static void fail(String what) {
    throw new AssertionError(what);
  }

  static void check(RectangularMesh m) {
    int cells = m.cellCount();
    int faces = m.faceCount();
    int nodes = m.nodeCount();
    int internal = m._numberInternalCells;
    int boundaryFaces = 2 * (m.nx + m.ny);
    if (internal != m.nx * m.ny) fail("internal cell count");
    if (cells != internal + boundaryFaces) fail("one external cell per boundary face");
    if (nodes != (m.nx + 1) * (m.ny + 1)) fail("node count");
    if (faces != (m.nx + 1) * m.ny + m.nx * (m.ny + 1)) fail("face count");
    // The bridge reads both orientation-value tables with one row count.
    if (m._cellFaceOrientationValues.length != 2 * faces) fail("cell-face rows");
    if (m._nodeFaceOrientationValues.length != m._cellFaceOrientationValues.length) {
      fail("node-face rows differ from cell-face rows");
    }
    for (int[][] t : new int[][][] {m._cellFaceOrientationInfo, m._cellNodeIndices}) {
      if (t.length != cells) fail("a per-cell table lacks rows");
    }
    if (m._cellCoordinates.length != cells) fail("cell coordinates rows");
    if (m._nodeFaceOrientationInfo.length != nodes || m._nodeCellInfo.length != nodes) {
      fail("a per-node table lacks rows");
    }
    if (m._faceVectorLength.length != faces || m._faceNodeIndices.length != faces) {
      fail("a per-face table lacks rows");
    }

    // Areas: the internal cells tile the rectangle; external cells have none.
    double area = 0;
    for (int c = 0; c < cells; c++) {
      double a = m._cellBathAreas[c];
      if (c < internal ? !(a > 0) : a != 0.0) fail("area of cell " + c);
      area += a;
    }
    double expected = m.nx * m.ny * m.cellSize * m.cellSize;
    if (Math.abs(area - expected) > 1e-9 * expected) fail("areas do not tile the mesh");

    // Faces: unit normal on the right-hand side of first node -> second node,
    // length equal to the distance of the nodes.
    for (int f = 0; f < faces; f++) {
      double[] a = m._nodeCoordinates[m._faceNodeIndices[f][0] - B];
      double[] b = m._nodeCoordinates[m._faceNodeIndices[f][1] - B];
      double dx = b[0] - a[0];
      double dy = b[1] - a[1];
      double length = Math.hypot(dx, dy);
      double[] n = m._faceNormalVector[f];
      if (Math.abs(Math.hypot(n[0], n[1]) - 1) > 1e-12) fail("normal of face " + f + " not unit");
      if (Math.abs(n[0] - dy / length) > 1e-12 || Math.abs(n[1] + dx / length) > 1e-12) {
        fail("normal of face " + f + " not on the right-hand side");
      }
      if (Math.abs(m._faceVectorLength[f] - length) > 1e-9) fail("length of face " + f);
    }

    // Cell -> faces: each face once in each of its two cells, +1 where the
    // normal leaves the cell; the face's nodes are nodes of the cell.
    int[] out = new int[faces];
    int[] in = new int[faces];
    for (int c = 0; c < cells; c++) {
      Set<Integer> cellNodes = new HashSet<>();
      for (int node : m._cellNodeIndices[c]) {
        if (node != RectangularMesh.NO_NODE) cellNodes.add(node);
      }
      for (int[] row : group(m._cellFaceOrientationInfo[c], m._cellFaceOrientationValues, "cell " + c)) {
        int f = row[0] - B;
        if (f < 0 || f >= faces) fail("cell " + c + " names face " + row[0]);
        if (row[1] == 1) out[f]++;
        else if (row[1] == -1) in[f]++;
        else fail("orientation " + row[1]);
        for (int node : m._faceNodeIndices[f]) {
          if (!cellNodes.contains(node)) fail("face " + f + " has a node outside cell " + c);
        }
        if (c < internal) {
          double[] a = m._nodeCoordinates[m._faceNodeIndices[f][0] - B];
          double[] b = m._nodeCoordinates[m._faceNodeIndices[f][1] - B];
          double[] centre = m._cellCoordinates[c];
          double[] n = m._faceNormalVector[f];
          double side = ((a[0] + b[0]) / 2 - centre[0]) * n[0] + ((a[1] + b[1]) / 2 - centre[1]) * n[1];
          if (Math.signum(side) != row[1]) fail("orientation of face " + f + " in cell " + c);
        }
      }
    }
    for (int f = 0; f < faces; f++) {
      if (out[f] != 1 || in[f] != 1) fail("face " + f + " is not between exactly two cells");
    }

    // Internal cell nodes: counter-clockwise around the centre.
    for (int c = 0; c < internal; c++) {
      int[] ids = m._cellNodeIndices[c];
      double twiceArea = 0;
      for (int k = 0; k < ids.length; k++) {
        double[] p = m._nodeCoordinates[ids[k] - B];
        double[] q = m._nodeCoordinates[ids[(k + 1) % ids.length] - B];
        twiceArea += p[0] * q[1] - q[0] * p[1];
      }
      if (Math.abs(twiceArea / 2 - m._cellBathAreas[c]) > 1e-6) fail("nodes of cell " + c);
    }

    // Node -> cells: exactly the cells that name the node.
    List<Set<Integer>> cellsOfNode = new ArrayList<>();
    for (int n = 0; n < nodes; n++) cellsOfNode.add(new HashSet<>());
    for (int c = 0; c < cells; c++) {
      for (int node : m._cellNodeIndices[c]) {
        if (node != RectangularMesh.NO_NODE) cellsOfNode.get(node - B).add(c + B);
      }
    }
    int listed = 0;
    for (int n = 0; n < nodes; n++) {
      int[] info = m._nodeCellInfo[n];
      Set<Integer> got = new HashSet<>();
      for (int k = info[0] - B; k < info[0] - B + info[1]; k++) got.add(m._nodeCellValues[k]);
      if (info[0] - B != listed) fail("node-cell groups are not contiguous at node " + n);
      listed += info[1];
      if (!got.equals(cellsOfNode.get(n))) fail("cells of node " + n);
    }
    if (listed != m._nodeCellValues.length) fail("node-cell values left over");

    // Node -> faces: every face at both its nodes, +1 where it starts.
    int[] starts = new int[faces];
    int[] ends = new int[faces];
    for (int n = 0; n < nodes; n++) {
      for (int[] row : group(m._nodeFaceOrientationInfo[n], m._nodeFaceOrientationValues, "node " + n)) {
        int f = row[0] - B;
        int at = row[1] == 1 ? 0 : 1;
        if (m._faceNodeIndices[f][at] != n + B) fail("node " + n + " orientation of face " + f);
        if (at == 0) starts[f]++;
        else ends[f]++;
      }
    }
    for (int f = 0; f < faces; f++) {
      if (starts[f] != 1 || ends[f] != 1) fail("face " + f + " is not at exactly two nodes");
    }
  }

  static void check(RectangularMesh m, Bathymetry b) {
    if (b._cellVolumeElevationInfo.length != m.cellCount()) fail("one volume table per cell");
    if (b._faceAreaElevationInfo.length != m.faceCount()) fail("one area table per face");
    int next = 0;
    for (int c = 0; c < m.cellCount(); c++) {
      int[] info = b._cellVolumeElevationInfo[c];
      if (info[0] - B != next || info[1] < 2) fail("volume table of cell " + c);
      for (int k = 1; k < info[1]; k++) {
        double[] p = b._cellVolumeElevationValues[next + k - 1];
        double[] q = b._cellVolumeElevationValues[next + k];
        if (!(q[0] > p[0]) || q[1] < p[1]) fail("volume table of cell " + c + " not rising");
      }
      next += info[1];
    }
    if (next != b._cellVolumeElevationValues.length) fail("volume rows left over");
    next = 0;
    for (int f = 0; f < m.faceCount(); f++) {
      int[] info = b._faceAreaElevationInfo[f];
      if (info[0] - B != next || info[1] < 2) fail("area table of face " + f);
      for (int k = 0; k < info[1]; k++) {
        if (b._faceAreaElevationValues[next + k].length < 4) fail("face row with fewer than 4 values");
      }
      next += info[1];
    }
    if (next != b._faceAreaElevationValues.length) fail("area rows left over");
  }

  /** The rows of one group: info = (first row in the solver's numbering, count). */
  static List<int[]> group(int[] info, int[][] rows, String owner) {
    int first = info[0] - B;
    if (info[1] < 0 || first < 0 || first + info[1] > rows.length) fail("group of " + owner);
    List<int[]> g = new ArrayList<>();
    for (int k = first; k < first + info[1]; k++) g.add(rows[k]);
    return g;
  }
}
