// veridrift-series: the listings come from the model alone; only --picture
// brings up the headless drawing, so the text modes need no display and
// start nothing graphical.
#include <iostream>

#include "orbit_command.h"
#include "orbit_picture_command.h"
#include "picture_command.h"
#include "resource.h"
#include "series_command.h"
#include "view_sizes.h"

int main(int argc, char** argv) {
  if (IsOrbitCommand(argc, argv)) {
    return RunOrbitCommand(argc, argv, std::cout, std::cerr);
  }
  if (IsPictureCommand(argc, argv)) {
    return RunPictureCommand(argc, argv, std::cerr, [](int mode) {
      return DiagramViewPlace(mode == 1 ? IDC_WEB_PLACEHOLDER : IDC_SERIES_PLACEHOLDER);
    });
  }
  return RunSeriesCommand(argc, argv, std::cout, std::cerr);
}
