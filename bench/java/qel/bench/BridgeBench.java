package qel.bench;

import java.io.FileOutputStream;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.Arrays;
import qel.surface.Native2DSolver;

/**
 * Bridge benchmarks on the real JVM, each against a native baseline measured in
 * the same JVM: warm-up first, then medians of interleaved repeated runs.
 *
 * <p>{@code java qel.bench.BridgeBench speed} prints the call-cost figures; {@code
 * memory} must run in a fresh JVM and prints the peak extra memory of the first
 * geometry call. Each figure is one line "RESULT|name|value|unit|baseline|ratio|goal".
 */
public final class BridgeBench {
  private static final String SUBBASIN = "subbasin_name_0001xy";
  private static final String BOUNDARY = "boundary_name_0001xy";
  private static final int SIDE = Integer.getInteger("bench.side", 1000);

  private static volatile double sink;

  private BridgeBench() {}

  public static void main(String[] args) throws Exception {
    System.loadLibrary("Velmora");
    System.loadLibrary("VelmoraBench");
    String mode = args.length > 0 ? args[0] : "speed";
    if (mode.equals("memory")) {
      memory();
    } else {
      speed();
    }
  }

  // --- Timing -------------------------------------------------------------

  interface Run {
    void run();
  }

  static double median(double[] samples) {
    double[] s = samples.clone();
    Arrays.sort(s);
    int n = s.length;
    return n % 2 == 1 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
  }

  /**
   * Nanoseconds per operation of a and of b: warm-up runs of both, then samples of
   * both taken alternately, so drift of the machine touches both alike.
   */
  static double[] compare(Run a, Run b, int opsPerSample, int warmups, int samples) {
    for (int i = 0; i < warmups; i++) {
      a.run();
      b.run();
    }
    double[] ta = new double[samples];
    double[] tb = new double[samples];
    for (int i = 0; i < samples; i++) {
      long t0 = System.nanoTime();
      a.run();
      long t1 = System.nanoTime();
      b.run();
      long t2 = System.nanoTime();
      ta[i] = (t1 - t0) / (double) opsPerSample;
      tb[i] = (t2 - t1) / (double) opsPerSample;
    }
    return new double[] {median(ta), median(tb)};
  }

  static void result(String name, double value, String unit, double baseline, String goal) {
    System.out.printf(
        "RESULT|%s|%.4g|%s|%.4g|%.3f|%s%n", name, value, unit, baseline, value / baseline, goal);
  }

  /** A figure without a goal, against the baseline its name says or, unsaid, of the row above. */
  static void figure(String name, double value, String unit, double baseline) {
    System.out.printf(
        "FIGURE|%s|%.4g|%s|%.4g|%.3f|%n", name, value, unit, baseline, value / baseline);
  }

  // --- Figures --------------------------------------------------------------

  /** A boundary of one face, for declaring the boundary whose value is set. */
  static final class Faces {
    int[] _faceIndex = {1};
    double[] _faceFraction = {1.0};
  }

  static void speed() {
    final int calls = 1_000_000;
    // Values are set for a declared boundary, as an application does.
    Native2DSolver.setBoundaryFlow(SUBBASIN, BOUNDARY, new Faces(), 0.0, 0.0);
    // The setter is judged against its floor on this machine: a native call of
    // the same signature that reads the two names and nothing more, interleaved
    // with it. Against an empty call the ratio depends on how cheap a bare call
    // is on the machine, so that one is printed, not judged.
    double[] setter =
        compare(
            () -> {
              for (int i = 0; i < calls; i++) {
                Native2DSolver.setBoundaryValueFlow(SUBBASIN, BOUNDARY, i);
              }
            },
            () -> {
              for (int i = 0; i < calls; i++) {
                Baselines.readTwoNames(SUBBASIN, BOUNDARY, i);
              }
            },
            calls,
            5,
            15);
    double[] parts =
        compare(
            () -> {
              for (int i = 0; i < calls; i++) {
                Baselines.emptyCall(SUBBASIN, BOUNDARY, i);
              }
            },
            () -> Baselines.standinSetter(calls),
            calls,
            3,
            15);
    result(
        "setBoundaryValueFlow vs a native call reading the two names",
        setter[0],
        "ns/call",
        setter[1],
        "<= 1.5x");
    figure("  also: setBoundaryValueFlow vs empty native call", setter[0], "ns/call", parts[0]);
    figure(
        "  part: a native call reading the two names, vs empty native call",
        setter[1],
        "ns/call",
        parts[0]);
    figure(
        "  part: the stand-in's SETBOUNDARYVALUEFLOW alone, vs empty native call",
        parts[1],
        "ns/call",
        parts[0]);

    long t0 = System.nanoTime();
    final Mesh mesh = new Mesh(SIDE, SIDE);
    System.out.printf(
        "INFO|mesh of %d cells, %d nodes, %d faces, %d rows, %d bytes handed over, built in %.1f s%n",
        mesh.cells,
        mesh.nodes,
        mesh.faces,
        mesh.rows(),
        mesh.bytesHandedOver(),
        (System.nanoTime() - t0) / 1e9);
    double[] geometry =
        compare(
            () -> Native2DSolver.initializeSubbasinGeometry(SUBBASIN, mesh),
            () -> {
              if (Baselines.geometryFloor(SUBBASIN, mesh) < 0) {
                throw new IllegalStateException("geometry floor failed");
              }
            },
            1,
            2,
            7);
    result(
        "initializeSubbasinGeometry (" + mesh.cells + " cells) vs row-copy floor",
        geometry[0] / 1e6,
        "ms/call",
        geometry[1] / 1e6,
        "<= 1.25x");

    // The subbasin now holds the mesh, so the getter writes one value per cell.
    final double[] values = new double[mesh.cells];
    Baselines.prepareResult(mesh.cells);
    final int repeat = 20;
    double[] getter =
        compare(
            () -> {
              for (int i = 0; i < repeat; i++) {
                Native2DSolver.getSubbasinCellWaterSurface(SUBBASIN, values, 0);
              }
            },
            () -> {
              for (int i = 0; i < repeat; i++) {
                Baselines.fillResult(SUBBASIN, values, 0);
              }
            },
            repeat,
            5,
            21);
    double[] alone =
        compare(
            () -> {
              for (int i = 0; i < repeat; i++) {
                Baselines.standinCellResult(SUBBASIN, mesh.cells);
              }
            },
            () -> {},
            repeat,
            3,
            11);
    Native2DSolver.getSubbasinCellWaterSurface(SUBBASIN, values, 0);
    sink = values[values.length - 1];
    if (!(values[0] > 1e6)) {
      System.out.println("INFO|warning: the getter wrote no results (value " + values[0] + ")");
    }
    result(
        "getSubbasinCellWaterSurface (" + mesh.cells + " cells) vs one copy of "
            + String.format("%.0f", 8.0 * mesh.cells / 1e6)
            + " MB",
        getter[0] / 1e6,
        "ms/call",
        getter[1] / 1e6,
        "<= 1.1x");
    figure(
        "  part: the stand-in's GETSUBBASINCELLWATERLEVEL into native memory",
        alone[0] / 1e6,
        "ms/call",
        getter[1] / 1e6);
  }

  /** VmRSS or VmHWM of this process, in bytes. */
  static long status(String key) throws Exception {
    for (String line : Files.readAllLines(Paths.get("/proc/self/status"))) {
      if (line.startsWith(key + ":")) {
        String kb = line.substring(key.length() + 1).trim().split("\\s+")[0];
        return Long.parseLong(kb) * 1024;
      }
    }
    throw new IllegalStateException(key + " not found");
  }

  static void memory() throws Exception {
    Mesh mesh = new Mesh(SIDE, SIDE);
    System.gc();
    System.gc();
    Thread.sleep(200);
    // Resets the peak so that VmHWM afterwards is the peak of the call itself.
    boolean reset = true;
    try (FileOutputStream out = new FileOutputStream("/proc/self/clear_refs")) {
      out.write("5".getBytes());
    } catch (Exception e) {
      reset = false;
    }
    long before = status("VmRSS");
    long hwmBefore = status("VmHWM");
    Native2DSolver.initializeSubbasinGeometry(SUBBASIN, mesh);
    long peak = status("VmHWM");
    long extra = peak - Math.max(before, reset ? before : hwmBefore);
    long handed = mesh.bytesHandedOver();
    System.out.printf(
        "INFO|first call: RSS before %.1f MB, peak %.1f MB (peak reset: %s)%n",
        before / 1e6, peak / 1e6, reset);
    result(
        "initializeSubbasinGeometry first call: peak extra RSS vs bytes handed over",
        extra / 1e6,
        "MB",
        handed / 1e6,
        "<= 1.2x");
    sink = mesh._cellBathAreas[0];
  }
}
