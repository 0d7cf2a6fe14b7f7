// The git commit this build was made from, as the build found it (cmake/Commit.cmake).
#include "cli/options/CliOptions.h"

#include "Commit.h"

std::string CliCommit() { return ETB_COMMIT; }
