package qel.surface;

import java.io.ByteArrayOutputStream;
import java.io.DataOutputStream;
import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * Test support: the stand-in solver's journal (the file named by the
 * environment variable QUARNEL_JOURNAL), one line per routine call:
 * {@code ROUTINE name=value name=value ...}.
 */
public final class Journal {
  private Journal() {}

  static {
    System.loadLibrary("Velmora");
  }

  /** Loads the bridge (idempotent); call from a test class's set-up. */
  public static void load() {}

  public static Path path() {
    String p = System.getenv("QUARNEL_JOURNAL");
    if (p == null || p.isEmpty()) {
      throw new IllegalStateException("QUARNEL_JOURNAL is not set");
    }
    return Paths.get(p);
  }

  public static void clear() {
    try {
      Files.write(path(), new byte[0]);
    } catch (IOException e) {
      throw new UncheckedIOException(e);
    }
  }

  /** The lines, each byte as one char (the journal itself is ASCII). */
  public static List<String> lines() {
    try {
      if (!Files.exists(path())) {
        return new ArrayList<>();
      }
      return Files.readAllLines(path(), StandardCharsets.ISO_8859_1);
    } catch (IOException e) {
      throw new UncheckedIOException(e);
    }
  }

  /** One parsed line: its routine and its arguments in order. */
  public static final class Call {
    public final String routine;
    public final Map<String, String> args;

    Call(String routine, Map<String, String> args) {
      this.routine = routine;
      this.args = args;
    }

    public String get(String name) {
      if (!args.containsKey(name)) {
        throw new AssertionError(routine + " has no argument " + name + ": " + args.keySet());
      }
      return args.get(name);
    }

    public List<String> names() {
      return new ArrayList<>(args.keySet());
    }
  }

  public static List<Call> calls() {
    List<Call> out = new ArrayList<>();
    for (String line : lines()) {
      out.add(parse(line));
    }
    return out;
  }

  /** The only call in the journal; fails when there is not exactly one. */
  public static Call only() {
    List<String> all = lines();
    if (all.size() != 1) {
      throw new AssertionError("expected one journal line, got " + all);
    }
    return parse(all.get(0));
  }

  public static Call parse(String line) {
    int space = line.indexOf(' ');
    String routine = space < 0 ? line : line.substring(0, space);
    Map<String, String> args = new LinkedHashMap<>();
    int i = space < 0 ? line.length() : space + 1;
    while (i < line.length()) {
      int eq = line.indexOf('=', i);
      String name = line.substring(i, eq);
      int end = valueEnd(line, eq + 1);
      args.put(name, line.substring(eq + 1, end));
      i = end + 1;
    }
    return new Call(routine, args);
  }

  private static int valueEnd(String line, int i) {
    int depth = 0;
    boolean quoted = false;
    for (; i < line.length(); i++) {
      char c = line.charAt(i);
      if (quoted) {
        if (c == '\\') {
          i++;
        } else if (c == '"') {
          quoted = false;
        }
      } else if (c == '"') {
        quoted = true;
      } else if (c == '[') {
        depth++;
      } else if (c == ']') {
        depth--;
      } else if (c == ' ' && depth == 0) {
        return i;
      }
    }
    return i;
  }

  /** The modified UTF-8 bytes of s, as the JNI gives them. */
  public static byte[] modifiedUtf8(String s) {
    try {
      ByteArrayOutputStream bytes = new ByteArrayOutputStream();
      new DataOutputStream(bytes).writeUTF(s);
      byte[] all = bytes.toByteArray();
      return Arrays.copyOfRange(all, 2, all.length);
    } catch (IOException e) {
      throw new UncheckedIOException(e);
    }
  }

  /** The journal's form of a solver text: s's bytes cut or blank-filled to n. */
  public static String text(String s, int n) {
    byte[] utf = modifiedUtf8(s);
    byte[] fixed = new byte[n];
    Arrays.fill(fixed, (byte) ' ');
    System.arraycopy(utf, 0, fixed, 0, Math.min(n, utf.length));
    return quote(fixed);
  }

  /** The journal's quoting of raw bytes. */
  public static String quote(byte[] bytes) {
    StringBuilder out = new StringBuilder("\"");
    for (byte b : bytes) {
      int c = b & 0xff;
      if (c == '"' || c == '\\') {
        out.append('\\').append((char) c);
      } else if (c >= 0x20 && c <= 0x7e) {
        out.append((char) c);
      } else {
        out.append(String.format("\\x%02x", c));
      }
    }
    return out.append('"').toString();
  }

  /** A list of texts as the journal writes it. */
  public static String texts(int n, String... names) {
    StringBuilder out = new StringBuilder("[");
    for (int i = 0; i < names.length; i++) {
      if (i > 0) {
        out.append(',');
      }
      out.append(text(names[i], n));
    }
    return out.append(']').toString();
  }

  public static String ints(int... values) {
    StringBuilder out = new StringBuilder("[");
    for (int i = 0; i < values.length; i++) {
      if (i > 0) {
        out.append(',');
      }
      out.append(values[i]);
    }
    return out.append(']').toString();
  }

  /** The values of a journal list of numbers, parsed back bit for bit. */
  public static double[] doublesOf(String list) {
    String body = list.substring(1, list.length() - 1);
    if (body.isEmpty()) {
      return new double[0];
    }
    return Arrays.stream(body.split(",")).mapToDouble(Double::parseDouble).toArray();
  }

  public static int[] intsOf(String list) {
    String body = list.substring(1, list.length() - 1);
    if (body.isEmpty()) {
      return new int[0];
    }
    return Arrays.stream(body.split(",")).mapToInt(Integer::parseInt).toArray();
  }
}
