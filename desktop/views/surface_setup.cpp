#include "desktop/views/surface_setup.h"

#include <QMessageBox>
#include <optional>
#include <utility>

namespace {

// Only the user interface thread creates views, so these need no lock.
SurfaceFailureReporter g_failureReporter;
std::optional<SurfaceFailure> g_forcedFailure;

void ShowFailureMessageBox(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok);
  box.exec();
}

SurfaceFailure FailureFromEnvironment() {
  const QString wanted = qEnvironmentVariable("VERIDRIFT_FORCE_SURFACE_FAILURE");
  if (wanted == QLatin1String("choose")) {
    return SurfaceFailure::kNoFormat;
  }
  if (wanted == QLatin1String("set")) {
    return SurfaceFailure::kCannotActivate;
  }
  return SurfaceFailure::kNone;
}

}  // namespace

QSurfaceFormat RequestedSurfaceFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setDepthBufferSize(32);
  format.setStencilBufferSize(0);
  return format;
}

QString SurfaceFailureText(SurfaceFailure failure) {
  switch (failure) {
    case SurfaceFailure::kNoFormat:
      return QStringLiteral("ChoosePixelFormat Failed");
    case SurfaceFailure::kCannotActivate:
      return QStringLiteral("SetPixelFormat Failed");
    case SurfaceFailure::kNone:
      break;
  }
  return QString();
}

void SetSurfaceFailureReporter(SurfaceFailureReporter reporter) {
  g_failureReporter = std::move(reporter);
}

void ReportSurfaceFailure(SurfaceFailure failure) {
  if (failure == SurfaceFailure::kNone) {
    return;
  }
  const QString text = SurfaceFailureText(failure);
  if (g_failureReporter) {
    g_failureReporter(text);
  } else {
    ShowFailureMessageBox(text);
  }
}

void ForceSurfaceFailure(SurfaceFailure failure) {
  g_forcedFailure = failure;
}

SurfaceFailure ForcedSurfaceFailure() {
  return g_forcedFailure ? *g_forcedFailure : FailureFromEnvironment();
}
