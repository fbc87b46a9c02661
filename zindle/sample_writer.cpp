// The "-sample" template: a commented configuration that sets nothing until
// the user removes the "#" of the directives wanted.
#include "sample_writer.h"

#include "version.h"

namespace zindle {

namespace {

// Lines 2 to 43 of the template; line 1 names the version.
const char* const kSampleLines[] = {
    "",
    "# Remove the '#' to uncomment a line",
    "",
    ("# Rename this file to the same name as the .exe (if test.exe then "
     "rename to text.config"),
    "",
    "# To set what the main class to run is, use:",
    "#mainclass <main class>",
    "",
    "# Configuring the class path",
    "# To add a folder to the classpath, use:",
    "#addpath <folder>",
    "# To add all jars in a folder, use:",
    "#addjars <folder>",
    "# To add a single jar, use:",
    "#addjar <jarfile>",
    "",
    "# To set VM parameters like -D options use:",
    "#vmparam <-Dsomething=true>",
    "",
    "# To set what instanceof of Java (or JavaW) to run with, use:",
    "#javapath <absolute or relative path to java or just 'java' or 'javaw'>",
    "",
    "# To make a console window show, use:",
    "#showConsole true",
    "# To set the Console Title (used with 'showConsole true'), use",
    "#consoleTitle <title of Console>",
    "",
    "# To include another config file in this one, use:",
    "#include <another config file>",
    "",
    "# To add an argument that's passed to the JVM on the command line, use:",
    "#argument <arg>",
    "",
    "# To set the minimum Java version to use:",
    "#javaVersion <java version>",
    "# To Set the Application Name used in messages and such, use:",
    "#appname <application name>",
    "",
    "# To Set the working directory of the JVM, use:",
    "#workingDir <working directory>",
    "# To set the outputfile for debug info, use:",
    "#outputFile <output file>",
};

}  // namespace

std::string sampleConfigText() {
  // CR LF throughout, as Windows text mode writes it, so that the file is
  // the same on every system.
  std::string text = "#Created with version " + versionRecord() + "\r\n";
  for (const char* line : kSampleLines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

ExitStatus writeSampleConfig(Launcher& launcher) {
  return launcher.os.writeFile("sample.config", sampleConfigText(), false)
             ? kExitSuccess
             : kExitSampleNotWritten;
}

}  // namespace zindle
