// The wider Java search on the fake platform: version reading, the places
// and keys searched, which runtime wins, and the two directives that use it.
#include "java_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "java_discovery.h"
#include "launcher_fixture.h"

namespace zindle {
namespace {

using testing::FakePlatform;
using Registry = std::map<std::string, testing::FakeRegistryKey>;

TEST(JavaVersion, ReadsNumbersAndCompares) {
  for (auto [text, numbers] : std::vector<std::pair<const char*, const char*>>{
           {"1.8.0_301", "8.0.301"},
           {"17.0.9.9", "17.0.9.9"},
           {"1", "1"},
           {"zulu-21", "21"},
           {"21.0.1+12-LTS", "21.0.1.12"},
           {"17.0.2b7", "17.0.2"},
           {"17..2", "17"},
           {"none", ""},
           {"99999999999.1", "999999999.1"}})
    EXPECT_EQ(javaVersionText(readJavaVersion(text)), numbers) << text;
  for (auto [a, b, sign] :
       std::vector<std::tuple<const char*, const char*, int>>{
           {"17", "17.0.0", 0},
           {"1.8.0_301", "11", -1},
           {"17.0.10", "17.0.9", 1}}) {
    int result = compareJavaVersions(readJavaVersion(a), readJavaVersion(b));
    EXPECT_EQ((result > 0) - (result < 0), sign) << a << " " << b;
  }
  EXPECT_EQ(
      releaseJavaVersion("IMPLEMENTOR=\"X\"\nJAVA_VERSION=\"21.0.1\"\r\n"),
      "21.0.1");
  EXPECT_FALSE(releaseJavaVersion("XJAVA_VERSION=\"17\"\n"));
}

// One registered runtime: where, its key below SOFTWARE, its subkey name and
// its home, which holds javaw.exe unless `present` is false.
struct Entry {
  Registry FakePlatform::*place;
  std::string key;
  std::string name;
  std::string home;
  bool present = true;
};

void add(FakePlatform& os, const Entry& e) {
  Registry& reg = os.*(e.place);
  reg["SOFTWARE\\" + e.key].subkeys.push_back(e.name);
  const std::string path = "SOFTWARE\\" + e.key + "\\" + e.name;
  if (e.key.find("JavaSoft") == 0) {
    reg[path].values["JavaHome"] = e.home;
  } else if (e.key.find("Zulu") != std::string::npos) {
    reg[path].values["InstallationPath"] = e.home;
  } else {  // MSI layout: the level below the version names the VM
    reg[path].subkeys.push_back("openj9");
    reg[path + "\\openj9\\MSI"].values["Path"] = e.home + "\\";
  }
  if (e.present) os.files[e.home + "\\bin\\javaw.exe"] = "";
}

constexpr auto kOwn = &FakePlatform::registry;  // HKLM, 64-bit view
constexpr auto kOther = &FakePlatform::otherView;
constexpr auto kUser = &FakePlatform::currentUser;
const char* const kJdk = "JavaSoft\\JDK";

TEST(JavaSearch, OrderViewsVersionsAndStaleHomes) {
  const struct {
    std::vector<Entry> entries;
    const char* javaHome;  // JAVA_HOME, its release version after "|"
    const char* chosen;
  } cases[] = {
      {{{kOwn, "Eclipse Adoptium\\JDK", "17.0.9.9", "C:\\tem"}},
       nullptr,
       "C:\\tem"},
      {{{kOwn, kJdk, "11", "C:\\a"},
        {kUser, "Azul Systems\\Zulu", "zulu-21", "C:\\z"}},
       nullptr,
       "C:\\z"},
      // 32-bit only when the 64-bit view and HKCU give none present.
      {{{kOwn, kJdk, "11", "C:\\a"}, {kOther, kJdk, "21", "C:\\x86"}},
       nullptr,
       "C:\\a"},
      {{{kOwn, kJdk, "21", "C:\\gone", false}, {kOther, kJdk, "8", "C:\\x86"}},
       nullptr,
       "C:\\x86"},
      // A tie goes to the earlier place.
      {{{kUser, kJdk, "17", "C:\\user"},
        {kOwn, "Microsoft\\JDK", "17.0.0", "C:\\ms"}},
       nullptr,
       "C:\\ms"},
      {{{kOwn, kJdk, "11", "C:\\a"}}, "C:\\jh|17", "C:\\jh"},
      // JAVA_HOME without a version only when nothing else is found.
      {{{kOther, kJdk, "1.8.0_5", "C:\\x86"}}, "C:\\jh|", "C:\\x86"},
      {{}, "C:\\jh\\|", "C:\\jh"},
      {{{kOwn, kJdk, "17", "C:\\gone", false}}, nullptr, "none"},
  };
  for (const auto& c : cases) {
    // From a 32-bit launcher, whose own view is the 32-bit one, alike.
    for (RegistryView own : {RegistryView::k64, RegistryView::k32}) {
      FakePlatform os;
      os.ownView = own;
      for (Entry e : c.entries) {
        if (own == RegistryView::k32 && e.place != kUser)
          e.place = e.place == kOwn ? kOther : kOwn;
        add(os, e);
      }
      if (c.javaHome) {
        const std::string homeAndVersion = c.javaHome;
        const std::size_t bar = homeAndVersion.find('|');
        os.startupEnv["JAVA_HOME"] = homeAndVersion.substr(0, bar);
        os.files["C:\\jh\\bin\\javaw.exe"] = "";
        if (bar + 1 < homeAndVersion.size())
          os.files["C:\\jh\\release"] =
              "JAVA_VERSION=" + homeAndVersion.substr(bar + 1);
      }
      Launcher l(os);
      EXPECT_EQ(searchJavaHome(l, nullptr).value_or("none"), c.chosen)
          << c.chosen << " " << static_cast<int>(own);
    }
  }
}

class JavaSearchRun : public testing::LauncherTest {};

TEST_F(JavaSearchRun, CurrentKeyCostsFourReadsAndNothingElse) {
  os.registry[kJavaRootKey].values["CurrentVersion"] = "1.8";
  os.registry[std::string(kJavaRootKey) + "\\1.8"].values["JavaHome"] =
      "C:\\gone";  // returned unchecked
  add(os, {kUser, kJdk, "21", "C:\\jh"});
  startupEnvironment({{"JAVA_HOME", "C:\\jh"}});
  EXPECT_EQ(findCurrentJava(launcher), "C:\\gone\\bin\\javaw.exe");
  // Two opens, two reads, two closes.
  EXPECT_EQ(os.events.size(), 6u);
  EXPECT_EQ(os.eventsOf("regQuery").size(), 2u);
  EXPECT_EQ(os.startupEnvLookups + os.filesRead, 0);
}

TEST_F(JavaSearchRun, FallbackAfterTheFailingStepsDebugBox) {
  settings.debug = true;
  add(os, {kOwn, "Eclipse Adoptium\\JRE", "17.0.9.9", "C:\\tem"});
  os.files["C:\\tem\\bin\\java.exe"] = "";  // debug mode checks java.exe
  EXPECT_EQ(findCurrentJava(launcher), "C:\\tem\\bin\\java.exe");
  EXPECT_EQ(os.boxes(),
            (std::vector<std::string>{
                "Error Accessing Registry!|" + std::string(kJavaRootKey),
                "Java Search|HKLM 64-bit SOFTWARE\\Eclipse Adoptium\\JRE\\"
                "17.0.9.9\\openj9\\MSI: C:\\tem (version 17.0.9.9)\n"
                "Chosen: C:\\tem"}));
}

TEST_F(JavaSearchRun, MinVersionDirective) {
  add(os, {kOwn, kJdk, "11.0.2", "C:\\j11"});
  add(os, {kOther, kJdk, "21", "C:\\j21"});
  startupEnvironment({{"JAVA_HOME", "C:\\jh"}});
  os.files["C:\\jh\\bin\\javaw.exe"] = "";  // no release: never for a minimum
  const struct {
    const char* config;
    const char* javaPath;  // or the text the prompt ends the run with (5)
  } cases[] = {
      {"javaMinVersion 1.8.0_202\n", "C:\\j11\\bin\\javaw.exe"},
      {"javaMinVersion 17.0.2\n", "C:\\j21\\bin\\javaw.exe"},
      {"javapath C:\\p\njavaMinVersion 11\njavapath C:\\last\n", "C:\\last"},
      {"appname Model\njavaMinVersion 22\nmainclass never.Read\n",
       "Model requires the Java Runtime Environment version 22\n"},
      {"javaMinVersion none\n", " version none\n"},
  };
  for (const auto& c : cases) {
    for (bool quiet : {false, true}) {
      os.events.clear();
      settings = {};
      settings.quiet = quiet;
      const bool found = c.javaPath[1] == ':';
      os.files["C:\\start\\app.config"] = c.config;
      EXPECT_EQ(readConfigFile(launcher, "C:\\start\\app.config").earlyExit,
                found ? std::nullopt : std::optional<int>(5));
      EXPECT_EQ(settings.javaPath.value_or(c.javaPath), c.javaPath);
      EXPECT_FALSE(settings.mainClass);
      const std::vector<std::string> boxes = os.boxes();
      ASSERT_EQ(boxes.size(), found || quiet ? 0u : 1u) << c.config;
      if (!boxes.empty()) {
        EXPECT_EQ(boxes[0].find("Java Runtime Environment Not Found|"), 0u);
        EXPECT_NE(boxes[0].find(c.javaPath), std::string::npos);
      }
    }
  }
}

TEST_F(JavaSearchRun, DownloadUrlDirective) {
  for (auto [address, taken] : std::vector<std::pair<const char*, bool>>{
           {"HTTPS://example.org/j?a=1&b=2", true},
           {"C:\\Windows\\calc.exe", false},
           {"file:///C:/calc.exe", false},
           {"https://example.org/a\"b", false},
           {"https://example.org/a b", false}}) {
    for (bool debug : {false, true}) {  // Yes answered; the debug box
      os.events.clear();
      settings = {};
      settings.debug = debug;
      if (!debug) os.boxAnswers = {kIdYes};
      readText(std::string("javaDownloadUrl https://first/\njavaDownloadUrl ") +
               address + "\njavaMinVersion 99\n");
      const std::vector<std::string> boxes = os.boxes();
      const std::string ignored =
          std::string("javaDownloadUrl ignored|") + address;
      if (debug)
        EXPECT_EQ(std::count(boxes.begin(), boxes.end(), ignored),
                  taken ? 0 : 1);
      else
        EXPECT_EQ(os.eventsOf("open").at(0).text,
                  taken ? address : "https://first/");
    }
  }
  EXPECT_TRUE(isDownloadAddress("https://" + std::string(464, 'a')));
  EXPECT_FALSE(isDownloadAddress("https://" + std::string(465, 'a')));
}

}  // namespace
}  // namespace zindle
