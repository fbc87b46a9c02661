package vmz;

/** A receiver class without processCodedMessage. */
public final class ErrorProcessor {
  private ErrorProcessor() {}

  public static void processOtherMessage(String message) {}
}
