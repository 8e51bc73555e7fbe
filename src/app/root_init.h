// A fresh root as an installation ships it: the settings files with their values before
// loading, the text templates built into the program, and the folders the program uses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quova {

struct InitRootResult {
  std::vector<std::string> created;  // files and folders made, in order
  std::vector<std::string> failed;   // ones that could not be made
};

// Creates what is missing under dir (dir itself too); never overwrites an existing file or
// folder, whatever its letter case. With repairTool (the path of the Mendora program) the
// root's Utilities/Mendora becomes a link to it when missing (or a link that leads nowhere).
InitRootResult initRoot(const std::string& dir, const std::string& repairTool = {});
// The repair tool beside the running program; empty when there is none.
std::string repairToolBesideProgram();

// "--init-root DIR": runs initRoot, prints each created path; 0 on success.
int initRootCommand(int argc, char** argv);

// The templates built into the program from root/: path relative to the root ("/" between
// folders) and content.
struct RootTemplate {
  std::string_view path;
  std::string_view content;
};
const std::vector<RootTemplate>& rootTemplates();

}  // namespace quova
