package qel.example;

/**
 * The faces a boundary covers, in the form the four boundary declarations
 * of {@code Native2DSolver} read: {@code int[] _faceIndex} (faces in the
 * solver's numbering) and {@code double[] _faceFraction} (the share of the
 * boundary's value that each face takes, at the same position). The bridge
 * copies exactly {@code _faceIndex.length} fractions, so
 * {@code _faceFraction} must be at least that long.
 */
final class BoundaryFaces {
  final int[] _faceIndex;
  final double[] _faceFraction;

  /** The given 0-based faces, each taking an equal share. */
  BoundaryFaces(int[] faces) {
    _faceIndex = new int[faces.length];
    _faceFraction = new double[faces.length];
    for (int k = 0; k < faces.length; k++) {
      _faceIndex[k] = faces[k] + RectangularMesh.BASE;
      _faceFraction[k] = 1.0 / faces.length;
    }
  }

  int faceCount() {
    return _faceIndex.length;
  }
}
