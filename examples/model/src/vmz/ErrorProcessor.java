package vmz;

/**
 * Receives the solver's coded messages.
 *
 * <p>The bridge relays a message by looking up this class ("vmz/ErrorProcessor")
 * and its static method {@code processCodedMessage(String)} on every message,
 * on the Java thread that is inside the solve call. An application that
 * leaves the class out loses the messages: the bridge then prints two lines
 * on standard output instead.
 */
public final class ErrorProcessor {
  private ErrorProcessor() {}

  private static int received;

  public static void processCodedMessage(String message) {
    received++;
    System.out.println("  solver message: " + message);
  }

  /** Number of messages received so far. */
  public static int received() {
    return received;
  }
}
