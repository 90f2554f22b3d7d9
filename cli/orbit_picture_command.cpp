#include "cli/orbit_picture_command.h"

#include <unistd.h>

#include <memory>
#include <ostream>
#include <string>

#include "cli/orbit_command.h"
#include "cli/series_command.h"
#include "core/orbit/orbit_image.h"
#include "core/orbit/orbit_raster.h"
#include "picture/picture_export.h"

namespace {

std::shared_ptr<OrbitPicture> ComputePicture(const OrbitView& view) {
  const OrbitRequest& request = view.request;
  OrbitRaster raster(request.columns, view.rows, view.low, view.high);
  auto picture = std::make_shared<OrbitPicture>();
  picture->view = view;
  picture->columns = ComputeOrbitForCommand(
      request,
      [&](int column, const float* kept) { raster.CountColumn(column, kept, request.keep); },
      STDERR_FILENO);
  picture->dots = ShadeOrbitRaster(raster, picture->columns, request.keep);
  picture->strip = ShadeLyapunovStrip(picture->columns, view.stripRows);
  return picture;
}

}  // namespace

int RunOrbitCommand(int argc, char** argv, std::ostream& out, std::ostream& err) {
  OrbitArguments args;
  if (!ParseOrbitArguments(argc, argv, &args, err)) {
    return kSeriesCommandUsageError;
  }
  if (args.output != OrbitOutput::kPicture) {
    return RunOrbitListing(args, out);
  }
  // Drawn without any application, display or font: the picture is the
  // model's own pixels.
  const OrbitFrame frame = OrbitFrameFor(args.width, args.height, args.scale);
  const OrbitView view = OrbitViewForFrame(args.request, 0.0, 1.0, frame, args.columnsGiven);
  const std::shared_ptr<OrbitPicture> picture = ComputePicture(view);
  const OrbitRequest& request = args.request;
  const std::vector<std::uint8_t> pixels = ComposeOrbitImage(
      *picture, frame, {request.axis == OrbitAxis::kDegree ? request.degree : request.estimate});
  std::string error;
  if (WriteIndexedPngFile(args.path, pixels, frame.width, frame.height, OrbitPalette(), &error) !=
      WriteOutcome::kWritten) {
    err << "veridrift-series: " << error << '\n';
    return kSeriesCommandUsageError;
  }
  return 0;
}
