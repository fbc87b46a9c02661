package vmz;

import java.util.ArrayList;
import java.util.List;

/** Test receiver of the messages the solver relays through the bridge. */
public final class ErrorProcessor {
  /** One relayed message and the thread it arrived on. */
  public static final class Received {
    public final String message;
    public final Thread thread;

    Received(String message, Thread thread) {
      this.message = message;
      this.thread = thread;
    }
  }

  private static final List<Received> RECEIVED = new ArrayList<>();
  private static RuntimeException toThrow;

  private ErrorProcessor() {}

  public static synchronized void processCodedMessage(String message) {
    RECEIVED.add(new Received(message, Thread.currentThread()));
    if (toThrow != null) {
      RuntimeException e = toThrow;
      toThrow = null;
      throw e;
    }
  }

  public static synchronized List<Received> received() {
    return new ArrayList<>(RECEIVED);
  }

  public static synchronized void clear() {
    RECEIVED.clear();
    toThrow = null;
  }

  /** The next message makes processCodedMessage throw e. */
  public static synchronized void throwOnNext(RuntimeException e) {
    toThrow = e;
  }
}
