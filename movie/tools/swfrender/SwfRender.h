#pragma once

#include <string>
#include <vector>

namespace movie {

// The command line renderer: swfrender MOVIE.swf OUT.png [--advance N | --frame N] [--size WxH].
// `args` excludes the program name. Returns the process exit code.
int swfrender(const std::vector<std::string>& args);

}
