// `cmake --install` into a fresh prefix: the program, its desktop menu entry, the icon the
// entry names, and the file types the entry says it opens, known to the desktop's type
// database.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::map<std::string, std::string> desktopEntry(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    auto eq = line.find('=');
    if (eq != std::string::npos && line[0] != '#') keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return keys;
}

std::set<std::string> split(const std::string& list) {
  std::set<std::string> out;
  std::istringstream in(list);
  std::string item;
  while (std::getline(in, item, ';'))
    if (!item.empty()) out.insert(item);
  return out;
}

TEST(Install, DesktopEntryIconAndFileTypes) {
  quova::test::TempDir prefix;
  const std::string cmd = std::string("'") + QUOVA_CMAKE + "' --install '" + QUOVA_BUILD_DIR + "' --prefix '" +
                          prefix.path() + "' > /dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const std::string program = prefix.file("bin/quova");
  EXPECT_EQ(access(program.c_str(), X_OK), 0);
  // The repair tool lies beside it, and a root the installed program makes links it in.
  EXPECT_EQ(access(prefix.file("bin/mendora-window").c_str(), X_OK), 0);
  ASSERT_EQ(std::system(("'" + program + "' --init-root '" + prefix.file("root") + "' > /dev/null").c_str()), 0);
  EXPECT_EQ(std::filesystem::read_symlink(prefix.file("root/Utilities/Mendora")), prefix.file("bin/Mendora"));

  const std::string entryText = readFile(prefix.file("share/applications/quova.desktop"));
  ASSERT_EQ(entryText.rfind("[Desktop Entry]\n", 0), 0u) << entryText;
  auto entry = desktopEntry(entryText);
  EXPECT_EQ(entry["Type"], "Application");
  EXPECT_EQ(entry["Exec"], program + " %F");
  EXPECT_EQ(entry["Terminal"], "false");
  EXPECT_EQ(entry["Icon"], "quova");
  EXPECT_EQ(split(entry["MimeType"]),
            (std::set<std::string>{"application/x-quova-quotelist", "application/x-quova-quotefile"}));
  EXPECT_EQ(readFile(prefix.file("share/icons/hicolor/scalable/apps/" + entry["Icon"] + ".svg")).find("<svg"),
            std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n").size());

  // The installed type definitions give each type of the entry its file name pattern.
  const std::string types = readFile(prefix.file("share/mime/packages/quova.xml"));
  EXPECT_NE(types.find("<mime-type type=\"application/x-quova-quotelist\">"), std::string::npos);
  EXPECT_NE(types.find("<glob pattern=\"*.qtl\"/>"), std::string::npos);
  EXPECT_NE(types.find("<mime-type type=\"application/x-quova-quotefile\">"), std::string::npos);
  EXPECT_NE(types.find("<glob pattern=\"*.day\"/>"), std::string::npos);
  // Where the desktop's tool is there, the install ran it and it understood the definitions.
  if (access("/usr/bin/update-mime-database", X_OK) == 0) {
    const std::string globs = readFile(prefix.file("share/mime/globs2"));
    EXPECT_NE(globs.find("application/x-quova-quotelist:*.qtl"), std::string::npos) << globs;
    EXPECT_NE(globs.find("application/x-quova-quotefile:*.day"), std::string::npos) << globs;
  }
}

}  // namespace
