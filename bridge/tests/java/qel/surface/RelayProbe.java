package qel.surface;

/**
 * Relays one message through the stand-in ("SETLOGFILE RELAY probe") and
 * ends normally; run with a class path where vmz.ErrorProcessor is missing
 * or lacks processCodedMessage, the bridge prints its two lines.
 */
public final class RelayProbe {
  private RelayProbe() {}

  public static void main(String[] args) {
    System.loadLibrary("Velmora");
    Native2DSolver.setFortranLogFile("RELAY probe");
    System.out.println("probe done");
  }
}
