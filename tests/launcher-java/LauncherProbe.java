// Started by the launcher in the end-to-end tests: reports what it received
// and ends with a scripted exit code.
//
// Every line of the report begins with "probe: ". The system property
// probe.exits lists exit codes, one per start ("999,0"); the run count is
// kept in the file probe.count of the working directory.
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;

public final class LauncherProbe {
  public static void main(String[] args) throws IOException {
    Path cwd = Paths.get("").toAbsolutePath();
    Path counter = cwd.resolve("probe.count");
    int run = 0;
    if (Files.exists(counter)) {
      run = Integer.parseInt(
          new String(Files.readAllBytes(counter), StandardCharsets.UTF_8).trim());
    }
    Files.write(counter, Integer.toString(run + 1).getBytes(StandardCharsets.UTF_8));

    StringBuilder out = new StringBuilder();
    out.append("probe: run=").append(run).append('\n');
    out.append("probe: argc=").append(args.length).append('\n');
    for (int i = 0; i < args.length; ++i) {
      out.append("probe: arg[").append(i).append("]=").append(args[i]).append('\n');
    }
    out.append("probe: cwd=").append(cwd).append('\n');
    out.append("probe: env ZPROBE=").append(System.getenv("ZPROBE")).append('\n');
    out.append("probe: prop probe.flag=")
        .append(System.getProperty("probe.flag")).append('\n');
    out.append("probe: classpath=")
        .append(System.getProperty("java.class.path")).append('\n');
    out.append("probe: java.home=").append(System.getProperty("java.home")).append('\n');
    System.out.print(out);
    System.out.flush();

    String[] exits = System.getProperty("probe.exits", "0").split(",");
    int code = Integer.parseInt(exits[Math.min(run, exits.length - 1)].trim());
    System.exit(code);
  }
}
