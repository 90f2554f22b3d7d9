#include "orbit_picture_command.h"

#include <unistd.h>

#include <QGuiApplication>
#include <QPainter>
#include <cstdlib>
#include <ostream>

#include "orbit_command.h"
#include "orbit_picture.h"
#include "orbit_raster.h"
#include "picture_export.h"
#include "series_command.h"

namespace {

void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

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
  // Fonts need an application, a display they do not; Qt's own warnings are
  // not the user's business here.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(DropMessage);
  int appArgc = 1;
  QGuiApplication application(appArgc, argv);

  const QSize size(args.width, args.height);
  const OrbitView view = OrbitViewFor(args.request, 0.0, 1.0, size, 1.0, args.columnsGiven);
  const std::shared_ptr<OrbitPicture> picture = ComputePicture(view);
  QImage image(size, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    const OrbitRequest& request = args.request;
    PaintOrbitDiagram(painter, size, *picture,
                      {request.axis == OrbitAxis::kDegree ? request.degree : request.estimate});
  }
  // Every colour of the picture is in the palette, so the PNG can hold one
  // byte a pixel, a quarter of the data to compress.
  const QList<QRgb> palette(OrbitPalette().begin(), OrbitPalette().end());
  const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, palette,
                                               Qt::ThresholdDither | Qt::AvoidDither);
  QString error;
  if (WritePngImage(QString::fromLocal8Bit(args.path.c_str()), indexed, &error) !=
      WriteOutcome::kWritten) {
    err << "veridrift-series: " << error.toLocal8Bit().constData() << '\n';
    return kSeriesCommandUsageError;
  }
  return 0;
}
