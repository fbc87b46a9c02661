package qel.bench;

/** Native baselines of the bridge benchmarks (library "VelmoraBench"). */
final class Baselines {
  private Baselines() {}

  /** Does nothing; the Java signature of setBoundaryValueFlow. */
  static native void emptyCall(String subbasin, String boundary, double value);

  /**
   * The least reading of a geometry object: rows fetched, k elements copied, row
   * references deleted, 1-D arrays copied once, into fresh buffers. Returns the
   * bytes copied, or -1.
   */
  static native long geometryFloor(String subbasin, Object geometry);

  /** Makes the n doubles that fillResult copies. */
  static native void prepareResult(int n);

  /** One SetDoubleArrayRegion of the prepared doubles into values. */
  static native void fillResult(String subbasin, double[] values, int i1);

  /** Reads both names into 32-byte solver texts and does nothing else. */
  static native void readTwoNames(String subbasin, String boundary, double value);

  /** The stand-in's SETBOUNDARYVALUEFLOW called n times directly. */
  static native boolean standinSetter(int n);

  /** The stand-in's GETSUBBASINCELLWATERLEVEL into a native buffer of n doubles. */
  static native boolean standinCellResult(String subbasin, int n);
}
