// veridrift-series: the listings come from the core alone, the pictures from
// the core's pixels; only an SVG or PDF loads the module that draws them
// with Qt.
#include <iostream>

#include "cli/orbit_command.h"
#include "cli/orbit_picture_command.h"
#include "cli/picture_command.h"
#include "cli/series_command.h"

int main(int argc, char** argv) {
  if (IsOrbitCommand(argc, argv)) {
    return RunOrbitCommand(argc, argv, std::cout, std::cerr);
  }
  if (IsPictureCommand(argc, argv)) {
    return RunPictureCommand(argc, argv, std::cerr);
  }
  return RunSeriesCommand(argc, argv, std::cout, std::cerr);
}
