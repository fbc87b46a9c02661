package qel.example;

import java.io.IOException;
import java.io.PrintWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import qel.surface.Native2DSolver;

/**
 * A small surface-flow model run from start to end through the solver bridge.
 *
 * <p>It builds a rectangular valley (200 × 100 cells of 10 m by default),
 * hands its mesh, bathymetry and four boundaries to the solver, sets the
 * control parameters, brings the subbasin to its initial state, warms it up,
 * solves a number of periods of flow and then of flow with sediment, and
 * after each period reads the results back. It prints one line per period
 * and a summary table at the end, and exits with status 0 (1 when anything
 * failed, so that the launcher reports it).
 *
 * <p>The calls appear in the order a model makes them, each with what it
 * hands to the solver. Three rules hold for all of them:
 *
 * <ul>
 *   <li>Names (subbasin, boundary, method) reach the solver as fixed-width
 *       texts of 32 bytes (16 for the transport potential method), filled
 *       with blanks or cut. Names that differ only after byte 32 are the
 *       same name to the solver.
 *   <li>Arrays that the solver reads or writes in place carry no length:
 *       this program sizes them, and the solver decides how much it uses.
 *       Result arrays hold one value per cell (or face) of the subbasin.
 *   <li>Bad input (a null name, object or array; a missing field; a row or
 *       array shorter than what is read) throws NullPointerException,
 *       IllegalArgumentException or NoSuchFieldError naming the argument or
 *       field, and the solver is not called.
 * </ul>
 *
 * <p>What the control values, period values, integers and method names mean
 * is a convention between the model and the solver; the bridge passes them
 * through unchanged. The meanings in the comments below are this model's.
 *
 * <p>Program arguments: {@code --cells=NXxNY}, {@code --flow-periods=N},
 * {@code --sediment-periods=N}, {@code --subbasin=NAME}.
 */
public final class SurfaceModel {

  /** The subbasin's name unless --subbasin gives another. */
  static final String DEFAULT_SUBBASIN = "Valley";
  static final String INFLOW = "Upstream inflow";
  static final String OUTLET = "Downstream outlet";
  static final String LAKE = "Lake";
  static final String WEIR = "Side weir";
  static final String[] BOUNDARIES = {INFLOW, OUTLET, LAKE, WEIR};

  /** Unit system code handed to the solver; 1 is metric in this model's convention. */
  static final int UNIT_SYSTEM = 1;

  /** Grain classes of the sediment computation: sand, silt, clay. */
  static final double[] GRAIN_DIAMETERS_MM = {0.5, 0.03, 0.002};

  static final double PERIOD_HOURS = 1.0;

  private final String subbasin;
  private final RectangularMesh mesh;
  private final Bathymetry bathymetry;
  private final PrintWriter log;
  private final List<String[]> summaryRows = new ArrayList<>();

  // Result arrays, sized once: one value per cell or per face. The solver
  // writes straight into them; an array shorter than that would let it write
  // past the end, so their sizes come from the mesh, never from a guess.
  private final double[] wetArea;
  private final double[] volume;
  private final double[] waterSurface;
  private final double[] cellVelocity;
  private final double[] faceVelocity;
  private final double[] concentration;
  private final double[] totalConcentration;
  private final double[] bedChange;
  private final double[] totalBedChange;
  private final double[] activeFraction;
  // A boundary result is one value, in element 0.
  private final double[] one = new double[1];

  SurfaceModel(String subbasin, int nx, int ny, PrintWriter log) {
    this.subbasin = subbasin;
    this.mesh = new RectangularMesh(nx, ny, 10.0, 0.0, 0.0);
    this.bathymetry = new Bathymetry(mesh);
    this.log = log;
    int cells = mesh.cellCount();
    int faces = mesh.faceCount();
    wetArea = new double[cells];
    volume = new double[cells];
    waterSurface = new double[cells];
    cellVelocity = new double[cells];
    faceVelocity = new double[faces];
    concentration = new double[cells];
    totalConcentration = new double[cells];
    bedChange = new double[cells];
    totalBedChange = new double[cells];
    activeFraction = new double[cells];
  }

  public static void main(String[] args) {
    String logFile = System.getProperty("LOGFILE");
    System.out.println("surface-model: Java " + System.getProperty("java.version"));
    System.out.println("  java.library.path = " + System.getProperty("java.library.path"));
    System.out.println("  LOGFILE           = " + logFile);
    System.out.println("  SURFACE_MODEL_RUN = " + System.getenv("SURFACE_MODEL_RUN"));
    System.out.println("  working directory = " + Paths.get("").toAbsolutePath());

    int status = 0;
    try (PrintWriter log = openLog(logFile)) {
      try {
        Settings settings = Settings.parse(args);

        // The solver library first, then the bridge, both from
        // java.library.path (Quarnel.dll and Velmora.dll on Windows,
        // libQuarnel.so and libVelmora.so on Linux). Windows looks for the
        // DLL that Velmora.dll imports by its name only, in java.exe's
        // folder, the system folders, the current directory and PATH, but
        // not in Velmora.dll's own folder; a Quarnel.dll that is already
        // loaded is the one it binds to. On Linux the bridge would find the
        // solver beside itself anyway. Either missing: UnsatisfiedLinkError.
        System.loadLibrary("Quarnel");
        System.loadLibrary("Velmora");
        SurfaceModel model = new SurfaceModel(settings.subbasin, settings.nx, settings.ny, log);
        model.run(settings.flowPeriods, settings.sedimentPeriods);
      } catch (RuntimeException | Error e) {
        // Into the log file too: after a failure the launcher offers it.
        System.err.println("surface-model: failed: " + e);
        log.println("failed: " + e);
        e.printStackTrace(log);
        status = 1;
      }
    } catch (IOException e) {
      System.err.println("surface-model: cannot write the log file " + logFile + ": " + e);
      status = 1;
    }
    System.out.println("surface-model: finished, exit status " + status);
    System.exit(status);
  }

  /** The program arguments. */
  record Settings(String subbasin, int nx, int ny, int flowPeriods, int sedimentPeriods) {
    static Settings parse(String[] args) {
      String subbasin = DEFAULT_SUBBASIN;
      int nx = 200;
      int ny = 100;
      int flowPeriods = 6;
      int sedimentPeriods = 4;
      for (String a : args) {
        try {
          if (a.startsWith("--cells=")) {
            String[] xy = a.substring(8).split("x", 2);
            nx = Integer.parseInt(xy[0]);
            ny = Integer.parseInt(xy[1]);
          } else if (a.startsWith("--flow-periods=")) {
            flowPeriods = Integer.parseInt(a.substring(15));
          } else if (a.startsWith("--sediment-periods=")) {
            sedimentPeriods = Integer.parseInt(a.substring(19));
          } else if (a.startsWith("--subbasin=")) {
            subbasin = a.substring(11);
          } else {
            throw new IllegalArgumentException("unknown argument");
          }
        } catch (RuntimeException e) {
          throw new IllegalArgumentException("bad argument " + a + ": " + e.getMessage(), e);
        }
      }
      return new Settings(subbasin, nx, ny, flowPeriods, sedimentPeriods);
    }
  }

  /** The application's log: the file named by -DLOGFILE, which the launcher offers after a crash. */
  private static PrintWriter openLog(String logFile) throws IOException {
    if (logFile == null || logFile.isEmpty()) {
      return new PrintWriter(PrintWriter.nullWriter());
    }
    Path path = Paths.get(logFile.replace("\"", ""));
    if (path.getParent() != null) Files.createDirectories(path.getParent());
    return new PrintWriter(Files.newBufferedWriter(path, StandardCharsets.UTF_8), true);
  }

  void run(int flowPeriods, int sedimentPeriods) throws IOException {
    setUpBasin();
    declareBoundaries();
    showThatBadInputIsRefused();
    setUpFlow();
    double hour = 0.0;
    for (int p = 1; p <= flowPeriods; p++) {
      solveFlowPeriod(p, flowPeriods, hour);
      hour += PERIOD_HOURS;
    }
    setUpSediment();
    for (int p = 1; p <= sedimentPeriods; p++) {
      solveSedimentPeriod(p, sedimentPeriods, hour);
      hour += PERIOD_HOURS;
    }
    printSummary();

    // Everything the solver holds for the basin goes; a new model would
    // start again with setupBasinFlow.
    Native2DSolver.releaseSubbasins();
  }

  // --- Set-up -----------------------------------------------------------

  private void setUpBasin() throws IOException {
    // The solver's own log file: a path of at most 256 bytes (longer paths
    // are cut), in the working directory here.
    Path solverLog = Paths.get("solver.log").toAbsolutePath();
    Native2DSolver.setFortranLogFile(solverLog.toString());

    // The unit system code goes to the solver unchanged. It does not change
    // what the bridge does: coordinates, areas and face lengths always go to
    // the solver in feet, converted from the metres given here.
    Native2DSolver.setUnitSystem(UNIT_SYSTEM);

    // The subbasins of the basin, for flow and for sediment. The count says
    // how many names are read; it must not exceed the array's length.
    String[] subbasins = {subbasin};
    Native2DSolver.setupBasinFlow(subbasins.length, subbasins);
    Native2DSolver.setupBasinSediment(subbasins.length, subbasins);

    // The mesh: fifteen fields read by name (see RectangularMesh). The
    // bridge copies every table (two values per row, four node indices per
    // cell row), converts lengths to feet and areas to square feet, and
    // hands the copies to INITSUBBASINGEOMETRY; the solver keeps what it
    // needs under the subbasin's name.
    Native2DSolver.initializeSubbasinGeometry(subbasin, mesh);

    // The elevation tables: four fields read by name (see Bathymetry), two
    // values per row (four in the face values), passed unconverted.
    Native2DSolver.initializeSubbasinBathymetry(subbasin, bathymetry);

    String text =
        String.format(
            Locale.ROOT,
            "mesh %d x %d: %d cells (%d internal), %d faces, %d nodes, %d elevation points",
            mesh.nx,
            mesh.ny,
            mesh.cellCount(),
            mesh._numberInternalCells,
            mesh.faceCount(),
            mesh.nodeCount(),
            bathymetry._cellVolumeElevationValues.length
                + bathymetry._faceAreaElevationValues.length);
    say(text);
  }

  private BoundaryFaces westEdge() {
    int[] faces = new int[mesh.ny];
    for (int j = 0; j < mesh.ny; j++) faces[j] = mesh.verticalFace(0, j);
    return new BoundaryFaces(faces);
  }

  private BoundaryFaces eastEdge() {
    int[] faces = new int[mesh.ny];
    for (int j = 0; j < mesh.ny; j++) faces[j] = mesh.verticalFace(mesh.nx, j);
    return new BoundaryFaces(faces);
  }

  /** Faces of the north (row ny) or south (row 0) edge, columns [from, to). */
  private BoundaryFaces edge(int row, int from, int to) {
    int[] faces = new int[to - from];
    for (int i = from; i < to; i++) faces[i - from] = mesh.horizontalFace(i, row);
    return new BoundaryFaces(faces);
  }

  private void declareBoundaries() {
    // Each declaration names the subbasin, then the boundary, and passes an
    // object with int[] _faceIndex and double[] _faceFraction (see
    // BoundaryFaces). The bridge copies the face lists, so the objects may
    // be changed or dropped afterwards.

    // Inflow along the whole west edge. The fourth argument is not passed
    // on; the fifth is the initial flow (m3/s).
    Native2DSolver.setBoundaryFlow(subbasin, INFLOW, westEdge(), 0.0, inflow(0.0));

    // The east edge drains at normal depth; the value is the energy slope.
    Native2DSolver.setBoundaryNormalDepth(subbasin, OUTLET, eastEdge(), 0.001);

    // A lake on the western quarter of the north bank holds a stage (m).
    Native2DSolver.setBoundaryStage(subbasin, LAKE, edge(mesh.ny, 0, mesh.nx / 4), 0.0, lakeStage(0.0));

    // A weir on the eastern quarter of the south bank: a rating curve of
    // stages (m) against flows (m3/s). The integer is the number of curve
    // points; the two arrays go to the solver in place and may come back
    // changed.
    double[] stages = {10.0, 10.5, 11.0, 11.5, 12.0};
    double[] flows = {0.0, 2.0, 8.0, 18.0, 32.0};
    Native2DSolver.setBoundaryRatingCurve(
        subbasin, WEIR, edge(0, 3 * mesh.nx / 4, mesh.nx), stages.length, stages, flows);
  }

  /** Any class with the two fields is a boundary object, a record as well. */
  record Faces(int[] _faceIndex, double[] _faceFraction) {}

  /**
   * Mistakes the bridge catches: the call throws, names what is wrong, and
   * the solver is not called, so its state stays as it was and the model
   * can go on.
   */
  private void showThatBadInputIsRefused() {
    try {
      Native2DSolver.setBoundaryValueFlow(subbasin, null, 1.0);
    } catch (NullPointerException e) {
      say("bad input refused: " + e.getMessage());
    }
    try {
      // Three faces but only two fractions.
      Faces broken = new Faces(new int[] {1, 2, 3}, new double[] {0.5, 0.5});
      Native2DSolver.setBoundaryNormalDepth(subbasin, "Broken", broken, 0.001);
    } catch (IllegalArgumentException e) {
      say("bad input refused: " + e.getMessage());
    }
  }

  private void setUpFlow() {
    // Threads the solver may use for this subbasin. Messages to Java come
    // only from the calling thread, whatever the solver does inside.
    Native2DSolver.setSubbasinNumberThreads(subbasin, 2);
    // Weight of the new time level in the time stepping (0.5 to 1).
    Native2DSolver.setSubbasinImplicitFactor(subbasin, 0.6);
    // Four numbers and a count: time step (s), dry-cell depth (m),
    // water-surface tolerance (m), volume tolerance (m3), iteration limit.
    Native2DSolver.setSubbasinControlParameters(subbasin, 30.0, 0.001, 0.003, 0.5, 20);

    // Initialise the flow computation, then the initial water state, then
    // warm up: run for w1 hours at time step w2 seconds with the initial
    // boundary values, so the first period starts from a settled state.
    Native2DSolver.initializeSubbasinFlow(subbasin);
    Native2DSolver.initializeSubbasinFlowState(subbasin);
    Native2DSolver.initializeWarmUp(subbasin, 2.0, 30.0);
  }

  private void setUpSediment() {
    int g = GRAIN_DIAMETERS_MM.length;

    Native2DSolver.initializeSubbasinSediment(subbasin);
    // Method names are passed through as texts: 32 bytes for these two ...
    Native2DSolver.setFallVelocityMethod(subbasin, "Rubey");
    // ... and 16 bytes for this one ("Laursen-Copeland" is exactly 16).
    Native2DSolver.setTransportPotentialMethod(subbasin, "Laursen-Copeland");

    // Cohesive transport: four arrays with one value per grain class
    // (critical shear for deposition and for erosion (Pa), erosion rate,
    // consolidation), then the number of classes. The arrays go in place.
    Native2DSolver.setCohesiveTransportMethod(
        subbasin,
        "Krone-Partheniades",
        new double[] {0.0, 0.08, 0.06},
        new double[] {0.0, 0.2, 0.15},
        new double[] {0.0, 0.0004, 0.0002},
        new double[] {0.0, 0.9, 0.8},
        g);

    // Basin-wide sediment properties, tied to no subbasin: grain diameters
    // (mm) per class, the number of classes, then specific gravity, bed
    // porosity, water density (kg/m3) and water temperature (degrees C).
    // The array goes in place and the solver may write into it, so it gets
    // a copy of the model's constants.
    Native2DSolver.setSedimentProperties(GRAIN_DIAMETERS_MM.clone(), g, 2.65, 0.4, 1000.0, 15.0);

    // Transport parameters: one coefficient per class in R1; of R2 only
    // the element at index 1 is passed (R2 must hold at least two); then the
    // number of classes and two exponents.
    Native2DSolver.setRhemParameters(
        subbasin, new double[] {1.0, 1.2, 1.5}, new double[] {0.0, 0.75}, g, 1.05, 0.5);

    Native2DSolver.setSubbasinMobilityFactor(subbasin, 1.0);

    // Bed gradation: fractions per class (g1) and bed layer (g2), layer after
    // layer; each layer sums to 1.
    int layers = 2;
    double[] fractions = {0.6, 0.3, 0.1, 0.5, 0.35, 0.15};
    Native2DSolver.setGrainSizeFractions(subbasin, fractions, g, layers);

    // The solver checks the whole sediment set-up; it reports problems
    // through its log file and coded messages, not through the bridge.
    Native2DSolver.checkSedimentSetup(subbasin);
    say("sediment: " + g + " grain classes set up and checked");
  }

  // --- Periods ----------------------------------------------------------

  private void solveFlowPeriod(int p, int periods, double hour) {
    // New boundary values for the period.
    double q = inflow(hour);
    Native2DSolver.setBoundaryValueFlow(subbasin, INFLOW, q);
    Native2DSolver.setBoundaryValueStage(subbasin, LAKE, lakeStage(hour));

    // One period: start time and length (hours), and an array that the
    // solver fills with one figure per boundary (here: the flow through
    // it), n of them.
    double[] boundaryFlows = new double[BOUNDARIES.length];
    Native2DSolver.subbasinSolvePeriodFlow(
        subbasin, hour, PERIOD_HOURS, boundaryFlows, boundaryFlows.length);

    readFlowResults();
    progress("flow", p, periods, hour + PERIOD_HOURS, q, Double.NaN);
  }

  private void solveSedimentPeriod(int p, int periods, double hour) {
    double q = inflow(hour);
    double load = inflowLoad(hour);
    Native2DSolver.setBoundaryValueFlow(subbasin, INFLOW, q);
    Native2DSolver.setBoundaryValueStage(subbasin, LAKE, lakeStage(hour));
    // Sediment load entering at the inflow (t/day), all classes together.
    Native2DSolver.setBoundaryValueLoad(subbasin, INFLOW, load);

    // Flow with sediment: as the flow period, with three arrays the solver
    // fills per boundary: flow, sediment load and concentration.
    int n = BOUNDARIES.length;
    double[] flows = new double[n];
    double[] loads = new double[n];
    double[] concentrations = new double[n];
    Native2DSolver.subbasinSolvePeriodSediment(
        subbasin, hour, PERIOD_HOURS, flows, loads, concentrations, n);

    readFlowResults();
    readSedimentResults();
    progress("sediment", p, periods, hour + PERIOD_HOURS, q, load);
  }

  // --- Results ----------------------------------------------------------

  /** i1 of the cell and face results: the time level, 1 for the end of the period. */
  static final int END_OF_PERIOD = 1;

  private void readFlowResults() {
    Native2DSolver.getSubbasinCellWetArea(subbasin, wetArea, END_OF_PERIOD);
    Native2DSolver.getSubbasinCellVolume(subbasin, volume, END_OF_PERIOD);
    Native2DSolver.getSubbasinCellWaterSurface(subbasin, waterSurface, END_OF_PERIOD);
    Native2DSolver.getSubbasinCellVelocity(subbasin, cellVelocity, END_OF_PERIOD);
    Native2DSolver.getSubbasinFaceVelocity(subbasin, faceVelocity, END_OF_PERIOD);
  }

  private void readSedimentResults() {
    // The results per grain class take the class (1-based) as i2; the
    // "Total" ones sum over the classes. Class 1 (sand) is shown here.
    int sand = 1;
    Native2DSolver.getSubbasinCellConcentration(subbasin, concentration, END_OF_PERIOD, sand);
    Native2DSolver.getSubbasinCellTotalConcentration(subbasin, totalConcentration, END_OF_PERIOD);
    Native2DSolver.getSubbasinCellBedChange(subbasin, bedChange, END_OF_PERIOD, sand);
    Native2DSolver.getSubbasinCellTotalBedChange(subbasin, totalBedChange, END_OF_PERIOD);
    Native2DSolver.getSubbasinCellActiveFraction(subbasin, activeFraction, END_OF_PERIOD, sand);
  }

  /** One boundary result: the solver's value lands in element 0 of the array. */
  private double atBoundary(String kind, String boundary) {
    one[0] = Double.NaN;
    switch (kind) {
      case "outflow" -> Native2DSolver.getBoundaryOutflow(subbasin, boundary, one);
      case "stage" -> Native2DSolver.getBoundaryStage(subbasin, boundary, one);
      // Per grain class k (1-based); 0.0 when the solver has no value.
      case "load" -> Native2DSolver.getBoundaryLoad(subbasin, boundary, one, 1);
      case "total load" -> Native2DSolver.getBoundaryTotalLoad(subbasin, boundary, one);
      case "concentration" -> Native2DSolver.getBoundaryConcentration(subbasin, boundary, one, 1);
      case "total concentration" -> Native2DSolver.getBoundaryTotalConcentration(subbasin, boundary, one);
      default -> throw new IllegalArgumentException(kind);
    }
    return one[0];
  }

  private void progress(String phase, int p, int periods, double hour, double inflow, double load) {
    Stats wse = Stats.of(waterSurface, mesh._numberInternalCells);
    String line =
        String.format(
            Locale.ROOT,
            "%-8s period %2d/%-2d t=%5.1f h  inflow %7.2f  outflow %9.3f  stage %8.3f  wet area %11.1f  volume %12.1f  WSE %7.3f..%7.3f%s",
            phase,
            p,
            periods,
            hour,
            inflow,
            atBoundary("outflow", OUTLET),
            atBoundary("stage", OUTLET),
            Stats.of(wetArea, mesh._numberInternalCells).sum,
            Stats.of(volume, mesh._numberInternalCells).sum,
            wse.min,
            wse.max,
            Double.isNaN(load)
                ? ""
                : String.format(Locale.ROOT, "  load in %7.2f  total load out %9.4f", load,
                    atBoundary("total load", OUTLET)));
    say(line);
  }

  private void printSummary() {
    say("");
    say("Boundaries at the end of the run");
    say(String.format(Locale.ROOT, "  %-18s %12s %12s %12s %12s %12s %12s",
        "boundary", "outflow", "stage", "load(1)", "total load", "conc(1)", "total conc"));
    for (String b : BOUNDARIES) {
      say(String.format(Locale.ROOT, "  %-18s %12.4f %12.4f %12.4f %12.4f %12.4f %12.4f",
          b, atBoundary("outflow", b), atBoundary("stage", b), atBoundary("load", b),
          atBoundary("total load", b), atBoundary("concentration", b),
          atBoundary("total concentration", b)));
    }
    say("");
    say("Cell and face results at the end of the run (internal cells, all faces)");
    say(String.format(Locale.ROOT, "  %-26s %8s %14s %14s %14s", "result", "values", "min", "mean", "max"));
    int cells = mesh._numberInternalCells;
    row("cell wet area", wetArea, cells);
    row("cell volume", volume, cells);
    row("cell water surface", waterSurface, cells);
    row("cell velocity", cellVelocity, cells);
    row("face velocity", faceVelocity, faceVelocity.length);
    row("cell concentration (1)", concentration, cells);
    row("cell total concentration", totalConcentration, cells);
    row("cell bed change (1)", bedChange, cells);
    row("cell total bed change", totalBedChange, cells);
    row("cell active fraction (1)", activeFraction, cells);
    say("");
    say("solver messages received: " + vmz.ErrorProcessor.received());
  }

  private void row(String name, double[] values, int n) {
    Stats s = Stats.of(values, n);
    say(String.format(Locale.ROOT, "  %-26s %8d %14.5g %14.5g %14.5g", name, n, s.min, s.sum / n, s.max));
  }

  /** A line on standard output and in the log file. */
  private void say(String line) {
    System.out.println(line);
    log.println(line);
  }

  // --- Boundary values over time ----------------------------------------

  /** Inflow hydrograph (m3/s): a flood wave peaking after four hours. */
  static double inflow(double hour) {
    return 20.0 + 60.0 * Math.exp(-Math.pow((hour - 4.0) / 2.0, 2));
  }

  /** Lake stage (m), slowly rising. */
  static double lakeStage(double hour) {
    return 11.0 + 0.05 * hour;
  }

  /** Sediment load at the inflow (t/day), following the flow. */
  static double inflowLoad(double hour) {
    return 0.8 * inflow(hour);
  }

  /** Minimum, maximum and sum of the first n values. */
  record Stats(double min, double max, double sum) {
    static Stats of(double[] v, int n) {
      double min = Double.POSITIVE_INFINITY;
      double max = Double.NEGATIVE_INFINITY;
      double sum = 0.0;
      for (int k = 0; k < n; k++) {
        min = Math.min(min, v[k]);
        max = Math.max(max, v[k]);
        sum += v[k];
      }
      return new Stats(min, max, sum);
    }
  }
}
