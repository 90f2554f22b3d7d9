// veridrift-series: the listings come from the model alone; only --picture
// brings up the headless drawing, so the text modes need no display and
// start nothing graphical.
#include <QRect>
#include <iostream>

#include "cli/orbit_command.h"
#include "cli/orbit_picture_command.h"
#include "cli/picture_command.h"
#include "cli/series_command.h"
#include "core/layout/dialog_rects.h"
#include "core/layout/resource.h"

int main(int argc, char** argv) {
  if (IsOrbitCommand(argc, argv)) {
    return RunOrbitCommand(argc, argv, std::cout, std::cerr);
  }
  if (IsPictureCommand(argc, argv)) {
    return RunPictureCommand(argc, argv, std::cerr, [](int mode) {
      const DialogRect rect =
          DiagramViewRect(mode == 1 ? IDC_WEB_PLACEHOLDER : IDC_SERIES_PLACEHOLDER);
      return QRect(rect.x, rect.y, rect.width, rect.height);
    });
  }
  return RunSeriesCommand(argc, argv, std::cout, std::cerr);
}
