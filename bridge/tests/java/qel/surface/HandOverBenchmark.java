package qel.surface;

/**
 * Prints what handing a Java array to the solver costs, per call, with the
 * stand-in doing no work (run without QUARNEL_JOURNAL, so nothing is
 * journalled):
 *
 * <ul>
 *   <li>a cell result (critical region: the solver writes the Java array
 *       itself);
 *   <li>a flow solve with n = 0 (elements obtained and released in mode 0:
 *       copied out and back on HotSpot);
 *   <li>a boundary result (one element read and written) and a value setter
 *       (two names, one value).
 * </ul>
 *
 * <p>Run: {@code java -Djava.library.path=<dir of libVelmora.so> -cp
 * <test classes> qel.surface.HandOverBenchmark [length]}.
 */
public final class HandOverBenchmark {
  private HandOverBenchmark() {}

  interface Call {
    void run();
  }

  private static double nanosPerCall(int calls, Call call) {
    for (int i = 0; i < Math.max(1, calls / 10); i++) {
      call.run();
    }
    long start = System.nanoTime();
    for (int i = 0; i < calls; i++) {
      call.run();
    }
    return (System.nanoTime() - start) / (double) calls;
  }

  public static void main(String[] args) {
    System.loadLibrary("Velmora");
    int length = args.length > 0 ? Integer.parseInt(args[0]) : 1_000_000;
    double[] values = new double[length];
    double[] one = new double[1];
    int big = Math.max(10, 200_000_000 / Math.max(1, length));
    System.out.printf("array of %d doubles (%.1f MiB)%n", length, length * 8 / 1048576.0);
    System.out.printf("  cell result, critical region:    %12.0f ns/call%n",
        nanosPerCall(big, () -> Native2DSolver.getSubbasinCellWaterSurface("bench", values, 0)));
    System.out.printf("  flow solve, elements in mode 0:  %12.0f ns/call%n",
        nanosPerCall(big, () -> Native2DSolver.subbasinSolvePeriodFlow("bench", 0, 0, values, 0)));
    System.out.printf("  boundary result, element 0:      %12.0f ns/call%n",
        nanosPerCall(2_000_000, () -> Native2DSolver.getBoundaryOutflow("bench", "b", one)));
    System.out.printf("  boundary value setter:           %12.0f ns/call%n",
        nanosPerCall(2_000_000, () -> Native2DSolver.setBoundaryValueFlow("bench", "b", 1.0)));
  }
}
