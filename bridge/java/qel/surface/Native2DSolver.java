package qel.surface;

/**
 * The native methods of the solver bridge (library "Velmora").
 *
 * <p>Every method passes its arguments to one routine of the solver library
 * and returns nothing; results come back through the arrays the caller
 * passes in. Names are handed to the solver as fixed-width texts: 32 bytes
 * of modified UTF-8 (16 for the method name of
 * {@link #setTransportPotentialMethod}), cut or filled with blanks.
 *
 * <p>Bad input never reaches the solver: a null name, object, array or
 * field throws {@link NullPointerException}; an array or row shorter than
 * what is read throws {@link IllegalArgumentException}; a missing field
 * throws {@link NoSuchFieldError}. The message names the argument or field.
 *
 * <p>Cell and face results need one value per cell (per face for
 * {@link #getSubbasinFaceVelocity}) of the mesh last given to
 * {@link #initializeSubbasinGeometry} under that name: a shorter array
 * throws {@link IllegalArgumentException}, a name without geometry
 * {@link IllegalStateException}, and the solver is not called.
 *
 * <p>The other arrays handed over in place (curve arrays, period arrays and
 * sediment arrays) are passed without a length: the solver decides from the
 * integer beside them how many values it reads or writes, so the caller
 * must size them. A too-short array lets the solver read or write past its
 * end, which the bridge cannot see; run with {@code -Xcheck:jni} while
 * testing.
 *
 * <p>Any thread may call; messages the solver relays reach
 * {@code vmz.ErrorProcessor} on the thread that relays them.
 */
public final class Native2DSolver {
  private Native2DSolver() {}

  // Frame.
  public static native void setFortranLogFile(String path);

  public static native void setUnitSystem(int unitSystem);

  public static native void releaseSubbasins();

  // Basin setup and geometry. The count names how many of the names are
  // read; it must not be negative nor exceed names.length (names may be null
  // when the count is 0, since then no name is read).
  public static native void setupBasinFlow(int count, String[] names);

  public static native void setupBasinSediment(int count, String[] names);

  /**
   * The geometry object's class declares the mesh fields read by name
   * (_cellBathAreas, _numberInternalCells, _maxNumberNodesPerCell,
   * _cellCoordinates, ...); tables whose row count is fixed by another field
   * must have at least that many rows, each row at least the elements read.
   * Give coordinates and lengths in metres and areas in square metres: the
   * bridge converts them to feet and square feet for the solver, whatever
   * {@link #setUnitSystem} was given. Normal vectors are passed unchanged.
   * The cell count (_cellBathAreas.length) and face count
   * (_faceNormalVector.length) are kept under the name for the results.
   */
  public static native void initializeSubbasinGeometry(String subbasin, Object geometry);

  /**
   * The bathymetry object's class declares _cellVolumeElevationInfo (int[][]),
   * _cellVolumeElevationValues (double[][]), _faceAreaElevationInfo (int[][])
   * and _faceAreaElevationValues (double[][], four values a row); values are
   * passed unconverted.
   */
  public static native void initializeSubbasinBathymetry(String subbasin, Object bathymetry);

  // Boundary conditions. The boundary object holds int[] _faceIndex and
  // double[] _faceFraction (at least as long as _faceIndex).
  public static native void setBoundaryNormalDepth(
      String subbasin, String boundary, Object faces, double value);

  /** The two curve arrays are handed over in place; the caller sizes them. */
  public static native void setBoundaryRatingCurve(
      String subbasin, String boundary, Object faces, int curveInt, double[] curve1,
      double[] curve2);

  /** The fourth argument is ignored; the fifth is the value passed on. */
  public static native void setBoundaryFlow(
      String subbasin, String boundary, Object faces, double ignored, double value);

  /** The fourth argument is ignored; the fifth is the value passed on. */
  public static native void setBoundaryStage(
      String subbasin, String boundary, Object faces, double ignored, double value);

  public static native void setBoundaryValueFlow(String subbasin, String boundary, double value);

  public static native void setBoundaryValueStage(String subbasin, String boundary, double value);

  public static native void setBoundaryValueLoad(String subbasin, String boundary, double value);

  // Flow control, initial state and solving.
  public static native void setSubbasinNumberThreads(String subbasin, int threads);

  public static native void setSubbasinImplicitFactor(String subbasin, double factor);

  public static native void setSubbasinControlParameters(
      String subbasin, double c1, double c2, double c3, double c4, int c5);

  public static native void initializeSubbasinFlow(String subbasin);

  public static native void initializeSubbasinFlowState(String subbasin);

  public static native void initializeWarmUp(String subbasin, double w1, double w2);

  /** The period array is handed over in place; the caller sizes it. */
  public static native void subbasinSolvePeriodFlow(
      String subbasin, double p1, double p2, double[] a, int n);

  /** The three period arrays are handed over in place; the caller sizes them. */
  public static native void subbasinSolvePeriodSediment(
      String subbasin, double p1, double p2, double[] a1, double[] a2, double[] a3, int n);

  // Sediment configuration. Arrays are handed over in place; the caller
  // sizes them.
  public static native void initializeSubbasinSediment(String subbasin);

  public static native void setFallVelocityMethod(String subbasin, String method);

  public static native void setTransportPotentialMethod(String subbasin, String method);

  public static native void setCohesiveTransportMethod(
      String subbasin, String method, double[] d1, double[] d2, double[] d3, double[] d4, int m);

  public static native void setSedimentProperties(
      double[] p, int g, double s1, double s2, double s3, double s4);

  /** r2 must hold at least two elements; its element at index 1 is passed. */
  public static native void setRhemParameters(
      String subbasin, double[] r1, double[] r2, int r, double x1, double x2);

  public static native void setSubbasinMobilityFactor(String subbasin, double factor);

  public static native void setGrainSizeFractions(String subbasin, double[] f, int g1, int g2);

  public static native void checkSedimentSetup(String subbasin);

  // Results at a boundary: one value in element 0 of result (which must
  // hold at least one element); the other elements are left as they are.
  public static native void getBoundaryOutflow(String subbasin, String boundary, double[] result);

  public static native void getBoundaryStage(String subbasin, String boundary, double[] result);

  public static native void getBoundaryLoad(
      String subbasin, String boundary, double[] result, int k);

  public static native void getBoundaryTotalLoad(String subbasin, String boundary, double[] result);

  public static native void getBoundaryConcentration(
      String subbasin, String boundary, double[] result, int k);

  public static native void getBoundaryTotalConcentration(
      String subbasin, String boundary, double[] result);

  // Results per cell or face, written by the solver straight into values,
  // which must hold at least one element per cell (or face) of the
  // subbasin's last geometry; checked before the call.
  public static native void getSubbasinCellWetArea(String subbasin, double[] values, int i1);

  public static native void getSubbasinCellVolume(String subbasin, double[] values, int i1);

  public static native void getSubbasinCellWaterSurface(String subbasin, double[] values, int i1);

  public static native void getSubbasinFaceVelocity(String subbasin, double[] values, int i1);

  public static native void getSubbasinCellVelocity(String subbasin, double[] values, int i1);

  public static native void getSubbasinCellConcentration(
      String subbasin, double[] values, int i1, int i2);

  public static native void getSubbasinCellTotalConcentration(
      String subbasin, double[] values, int i1);

  public static native void getSubbasinCellBedChange(
      String subbasin, double[] values, int i1, int i2);

  public static native void getSubbasinCellTotalBedChange(
      String subbasin, double[] values, int i1);

  public static native void getSubbasinCellActiveFraction(
      String subbasin, double[] values, int i1, int i2);
}
