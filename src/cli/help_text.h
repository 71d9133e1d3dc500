// What raysketcher-cli --help prints, in the language in use.
#pragma once

#include <string>

namespace rs::cli {

std::string HelpText();

}  // namespace rs::cli
