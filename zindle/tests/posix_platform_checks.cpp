// The POSIX platform's registry and process layers on the real system:
// .reg files, the view of installed runtimes, program resolution, exit
// statuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/posix_registry_state.h"
#include "platform/system_platform.h"

namespace zindle {
namespace {

namespace reg = posix_registry;

// A fresh directory below the test's working directory.
std::string freshDir(const std::string& name) {
  std::string dir = std::string(::testing::TempDir()) + "zindle-posix-" + name +
                    "-" + std::to_string(getpid());
  std::string command = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  return dir;
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

void writeScript(const std::string& path, const std::string& body) {
  writeText(path, "#!/bin/sh\n" + body + "\n");
  chmod(path.c_str(), 0755);
}

std::string valueOf(const reg::Tree& tree, const std::string& path,
                    const std::string& name) {
  auto it = tree.find(reg::normalizeKeyPath(path));
  if (it == tree.end()) return "<no key>";
  for (const auto& [n, v] : it->second.values)
    if (n == name) return v;
  return "<no value>";
}

std::vector<std::string> subkeysOf(const reg::Tree& tree,
                                   const std::string& path) {
  auto it = tree.find(reg::normalizeKeyPath(path));
  return it == tree.end() ? std::vector<std::string>{} : it->second.subkeys;
}

const std::string kRoot = "SOFTWARE\\JavaSoft\\Java Runtime Environment";

std::string cwdOfTest() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? buffer : "";
}

TEST(RegFile, ReadsKeysAndStringValuesInFileOrder) {
  reg::Tree tree;
  std::string error;
  ASSERT_TRUE(reg::parseRegFile(
      "REGEDIT4\r\n\r\n"
      "; a comment\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment]\r\n"
      "\"CurrentVersion\"=\"1.8\"\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime "
      "Environment\\1.8]\r\n"
      "\"JavaHome\"=\"C:\\\\Program Files\\\\Java \\\"8\\\"\"\r\n"
      "\"Size\"=dword:00000010\r\n"
      "\"Bytes\"=hex:01,02,\\\r\n  03,04\r\n"
      "@=\"default\"\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime "
      "Environment\\1.6.0_20]\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime "
      "Environment\\1.7]\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\JavaSoft\\Java Runtime "
      "Environment\\user]\r\n"
      "\"JavaHome\"=\"not the machine's\"\r\n",
      &tree, &error))
      << error;
  EXPECT_EQ(valueOf(tree, kRoot, "CurrentVersion"), "1.8");
  EXPECT_EQ(valueOf(tree, kRoot + "\\1.8", "JavaHome"),
            "C:\\Program Files\\Java \"8\"");
  EXPECT_EQ(valueOf(tree, kRoot + "\\1.8", ""), "default");
  EXPECT_EQ(valueOf(tree, kRoot + "\\1.8", "Size"), "<no value>");
  EXPECT_EQ(valueOf(tree, kRoot + "\\1.8", "Bytes"), "<no value>");
  EXPECT_EQ(subkeysOf(tree, kRoot),
            (std::vector<std::string>{"1.8", "1.6.0_20", "1.7"}));
  EXPECT_EQ(valueOf(tree, kRoot + "\\user", "JavaHome"), "<no key>");
}

TEST(RegFile, ReadsTheThirtyTwoBitViewUnicodeFilesAndDeletions) {
  std::string utf8 =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\JavaSoft\\Java Runtime "
      "Environment\\1.6.0_7]\r\n"
      "\"JavaHome\"=\"C:\\\\j7\"\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\JavaSoft\\Java Runtime "
      "Environment\\Gone]\r\n"
      "\"JavaHome\"=\"x\"\r\n"
      "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\JavaSoft\\Java Runtime "
      "Environment\\Gone]\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\JavaSoft\\Java Runtime "
      "Environment\\1.6.0_7]\r\n"
      "\"Extra\"=\"e\"\r\n"
      "\"Extra\"=-\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char c : utf8) {
    utf16 += c;
    utf16 += '\0';
  }
  reg::Tree tree;
  std::string error;
  ASSERT_TRUE(reg::parseRegFile(utf16, &tree, &error)) << error;
  EXPECT_EQ(valueOf(tree, kRoot + "\\1.6.0_7", "JavaHome"), "C:\\j7");
  EXPECT_EQ(valueOf(tree, kRoot + "\\1.6.0_7", "Extra"), "<no value>");
  EXPECT_EQ(subkeysOf(tree, kRoot), std::vector<std::string>{"1.6.0_7"});
  EXPECT_EQ(valueOf(tree, kRoot + "\\Gone", "JavaHome"), "<no key>");
  // Key names ignore case.
  EXPECT_EQ(
      valueOf(tree, "software\\JAVASOFT\\java runtime environment\\1.6.0_7",
              "JavaHome"),
      "C:\\j7");
}

TEST(RegFile, KeepsEachViewAndTheUserHiveApart) {
  reg::Tree tree;
  std::string error;
  ASSERT_TRUE(reg::parseRegFile(
      "REGEDIT4\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\JDK\\21]\r\n"
      "\"JavaHome\"=\"C:\\\\j64\"\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\JavaSoft\\JDK\\8]\r\n"
      "\"JavaHome\"=\"C:\\\\j32\"\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\JavaSoft\\JDK\\17]\r\n"
      "\"JavaHome\"=\"C:\\\\user\"\r\n"
      "[-HKEY_CURRENT_USER\\SOFTWARE\\JavaSoft\\JDK\\17]\r\n",
      &tree, &error))
      << error;
  const std::string jdk = "SOFTWARE\\JavaSoft\\JDK";
  const struct {
    RegistryPlace place;
    const char* subkeys;
  } places[] = {
      {{RegistryRoot::kMachine, RegistryView::kOwn}, "21 8"},
      {{RegistryRoot::kMachine, RegistryView::k64}, "21"},
      {{RegistryRoot::kMachine, RegistryView::k32}, "8"},
      {{RegistryRoot::kUser, RegistryView::kOwn}, ""},
  };
  for (const auto& p : places) {
    auto it = tree.find(reg::placeKeyPath(p.place, jdk));
    std::string names;
    if (it != tree.end())
      for (const std::string& name : it->second.subkeys)
        names += (names.empty() ? "" : " ") + name;
    EXPECT_EQ(names, p.subkeys);
  }
  auto home = tree.find(reg::placeKeyPath(
      {RegistryRoot::kMachine, RegistryView::k32}, jdk + "\\8"));
  ASSERT_NE(home, tree.end());
  EXPECT_EQ(home->second.values.at(0).second, "C:\\j32");
}

TEST(RegFile, RefusesTextWithoutTheHeader) {
  for (const char* text :
       {"", "\r\n\r\n", "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n", "REGEDIT5\n"}) {
    reg::Tree tree;
    std::string error;
    EXPECT_FALSE(reg::parseRegFile(text, &tree, &error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

TEST(JvmView, OneSubkeyPerRuntimeNamedByItsRelease) {
  const std::string jvm = freshDir("jvm");
  auto runtime = [&](const std::string& name, const char* release) {
    ASSERT_EQ(std::system(("mkdir -p '" + jvm + "/" + name + "/bin'").c_str()),
              0);
    writeScript(jvm + "/" + name + "/bin/java", "exit 0");
    if (release) writeText(jvm + "/" + name + "/release", release);
  };
  runtime("b-17", "IMPLEMENTOR=\"x\"\nJAVA_VERSION=\"17.0.15\"\n");
  runtime("a-21", "JAVA_VERSION=\"21.0.2\"\n");
  runtime("c-norelease", nullptr);
  ASSERT_EQ(symlink("b-17", (jvm + "/0-link-to-17").c_str()), 0);
  ASSERT_EQ(std::system(("mkdir -p '" + jvm + "/no-java/bin'").c_str()), 0);

  reg::Tree tree = reg::jvmView(jvm, jvm + "/0-link-to-17/bin/java");
  EXPECT_EQ(subkeysOf(tree, kRoot),
            (std::vector<std::string>{"21.0.2", "17.0.15", "c-norelease"}));
  // The directory itself, not the link to it.
  EXPECT_EQ(valueOf(tree, kRoot + "\\17.0.15", "JavaHome"), jvm + "/b-17");
  EXPECT_EQ(valueOf(tree, kRoot + "\\21.0.2", "JavaHome"), jvm + "/a-21");
  EXPECT_EQ(valueOf(tree, kRoot, "CurrentVersion"), "17.0.15");

  reg::Tree none = reg::jvmView(jvm, "/bin/sh");
  EXPECT_EQ(valueOf(none, kRoot, "CurrentVersion"), "<no value>");
  reg::Tree empty = reg::jvmView(jvm + "/missing", "");
  EXPECT_TRUE(subkeysOf(empty, kRoot).empty());
}

TEST(PosixRegistry, ReadsThroughThePlatformWithTheRegistryLimits) {
  const std::string dir = freshDir("reg");
  writeText(dir + "/r.reg",
            "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + kRoot + "]\n" +
                "\"CurrentVersion\"=\"" + std::string(254, 'v') + "\"\n" +
                "[HKEY_LOCAL_MACHINE\\" + kRoot + "\\" + std::string(256, 'n') +
                "]\n" + "[HKEY_LOCAL_MACHINE\\" + kRoot + "\\1.8]\n");
  setenv("ZINDLE_REGISTRY", (dir + "/r.reg").c_str(), 1);
  SystemPlatform os;
  RegKey root = 0;
  ASSERT_TRUE(os.regOpenKey(kRoot, &root));
  std::string value;
  EXPECT_FALSE(os.regQueryString(root, "CurrentVersion", 254, &value));
  EXPECT_TRUE(os.regQueryString(root, "currentversion", 255, &value));
  EXPECT_EQ(value.size(), 254u);
  unsigned count = 0;
  ASSERT_TRUE(os.regQuerySubkeyCount(root, &count));
  EXPECT_EQ(count, 2u);
  std::string name;
  EXPECT_FALSE(os.regEnumSubkey(root, 0, 255, &name));
  EXPECT_TRUE(os.regEnumSubkey(root, 1, 255, &name));
  EXPECT_EQ(name, "1.8");
  EXPECT_FALSE(os.regEnumSubkey(root, 2, 255, &name));
  os.regCloseKey(root);
  EXPECT_FALSE(os.regQuerySubkeyCount(root, &count));
  RegKey missing = 0;
  EXPECT_FALSE(os.regOpenKey(kRoot + "\\1.9", &missing));
  unsetenv("ZINDLE_REGISTRY");
}

TEST(PosixRegistry, ARelativeFileIsTakenFromTheStartDirectory) {
  const std::string dir = freshDir("relreg");
  writeText(dir + "/r.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + kRoot + "]\n");
  char start[4096];
  ASSERT_NE(getcwd(start, sizeof start), nullptr);
  const std::string cwd = start;
  ASSERT_EQ(chdir(dir.c_str()), 0);
  setenv("ZINDLE_REGISTRY", "r.reg", 1);
  SystemPlatform os;
  // The launcher changes into its own directory before the first read.
  ASSERT_EQ(chdir("/"), 0);
  RegKey root = 0;
  EXPECT_TRUE(os.regOpenKey(kRoot, &root));
  unsetenv("ZINDLE_REGISTRY");
  ASSERT_EQ(chdir(cwd.c_str()), 0);
}

TEST(PosixRegistry, AnUnreadableFileIsAnEmptyRegistry) {
  const std::string dir = freshDir("badreg");
  writeText(dir + "/bad.reg", "[HKEY_LOCAL_MACHINE\\" + kRoot + "]\n");
  for (const std::string& file : {dir + "/bad.reg", dir + "/missing.reg"}) {
    setenv("ZINDLE_REGISTRY", file.c_str(), 1);
    SystemPlatform os;
    ::testing::internal::CaptureStderr();
    RegKey root = 0;
    EXPECT_FALSE(os.regOpenKey(kRoot, &root)) << file;
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("ZINDLE_REGISTRY: " + file + ": ", 0), 0u) << err;
  }
  unsetenv("ZINDLE_REGISTRY");
}

class PosixProcess : public ::testing::Test {
 protected:
  // Starts a command line and waits; -1000 when it could not start.
  int run(const std::string& commandLine, const std::string& workingDir = "") {
    ProcessRequest request;
    request.commandLine = commandLine;
    request.workingDir = workingDir;
    ProcessHandle process = 0;
    unsigned error = 0;
    if (!os.startProcess(request, &process, &error)) {
      lastError = error;
      return -1000;
    }
    int code = os.waitForExit(process);
    os.closeProcess(process);
    return code;
  }
  SystemPlatform os;
  unsigned lastError = 0;
};

TEST_F(PosixProcess, ReportsExitCodesAnd231AsTheRestartCode) {
  struct Case {
    const char* script;
    int code;
  } cases[] = {
      {"exit 0", 0},     {"exit 1", 1},       {"exit 231", 999},
      {"exit 230", 230}, {"kill -9 $$", 137}, {"kill -15 $$", 143},
  };
  for (const Case& c : cases)
    EXPECT_EQ(run(std::string("/bin/sh -c \"") + c.script + "\""), c.code)
        << c.script;
}

TEST_F(PosixProcess, ResolvesTheProgramLikeCreateProcess) {
  const std::string dir = freshDir("bin");
  ASSERT_EQ(std::system(("mkdir -p '" + dir + "/home/bin' '" + dir +
                         "/other' '" + dir + "/work dir'")
                            .c_str()),
            0);
  // Only bin/java exists: javaw.exe, javaw and java.exe all lead to it.
  writeScript(dir + "/home/bin/java",
              "pwd > \"$ZPROBE_OUT\"; for a; do echo \"[$a]\"; done >> "
              "\"$ZPROBE_OUT\"; echo \"$ZPROBE_VALUE\" >> \"$ZPROBE_OUT\"");
  const std::string out = dir + "/out.txt";
  setenv("ZPROBE_OUT", out.c_str(), 1);
  setenv("ZPROBE_VALUE", "inherited", 1);
  auto report = [&] {
    std::ifstream in(out);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::string home = dir + "/home";
  for (std::string program :
       {"\"" + home + "\\bin\\javaw.exe\"", home + "/bin/javaw",
        home + "/bin/java.exe", home + "/bin/java"}) {
    std::remove(out.c_str());
    EXPECT_EQ(run(program + " a \"b c\" d\\\"e", dir + "/work dir"), 0)
        << program;
    EXPECT_EQ(report(), dir + "/work dir\n[a]\n[b c]\n[d\"e]\ninherited\n")
        << program;
  }
  // A class path is passed as written: the launcher joins its entries with
  // this platform's separator, ":".
  EXPECT_EQ(os.pathListSeparator(), ':');
  struct ClassPathCase {
    const char* args;
    const char* received;
  } classPathCases[] = {
      {" -Da;b -classpath \"x y;z\" M -classpath a;b",
       "[-Da;b]\n[-classpath]\n[x y;z]\n[M]\n[-classpath]\n[a;b]\n"},
      {" -classpath", "[-classpath]\n"},
  };
  for (const ClassPathCase& c : classPathCases) {
    std::remove(out.c_str());
    EXPECT_EQ(run(home + "/bin/java" + c.args), 0);
    EXPECT_EQ(report(), cwdOfTest() + "\n" + c.received + "inherited\n");
  }
  // A bare name is searched on PATH.
  std::string path = std::getenv("PATH");
  setenv("PATH", (dir + "/other:" + home + "/bin:" + path).c_str(), 1);
  EXPECT_EQ(run("javaw.exe -version"), 0);
  setenv("PATH", path.c_str(), 1);
  // A relative path is taken from the launcher's directory.
  std::string cwd = os.currentDirectory();
  ASSERT_EQ(chdir(dir.c_str()), 0);
  EXPECT_EQ(run("home\\bin\\javaw.exe", dir + "/other"), 0);
  ASSERT_EQ(chdir(cwd.c_str()), 0);

  EXPECT_EQ(run(dir + "/nothing/java.exe"), -1000);
  EXPECT_EQ(lastError, unsigned(ENOENT));
  EXPECT_FALSE(os.systemErrorText(lastError).empty());
  EXPECT_EQ(run(home + "/bin/java", dir + "/no such dir"), -1000);
  EXPECT_EQ(run("   "), -1000);
}

}  // namespace
}  // namespace zindle
