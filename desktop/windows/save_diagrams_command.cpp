#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <algorithm>
#include <optional>

#include "desktop/views/diagram_view.h"
#include "desktop/windows/save_diagrams.h"
#include "desktop/windows/sentence_dlg.h"
#include "picture/picture_export.h"
#include "picture/vector/vector_encoder.h"

namespace {

// Each view's place in the window, in the window's device pixels.
QRect PlaceOf(const CDiagramView& view, const QWidget& window) {
  const qreal ratio = view.devicePixelRatioF();
  const QPoint topLeft = view.mapTo(&window, QPoint(0, 0));
  return QRect((QPointF(topLeft) * ratio).toPoint(), (QSizeF(view.size()) * ratio).toSize());
}

PixelRect PixelsOf(const QRect& rect) {
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}

}  // namespace

bool SaveDiagrams(const CSentenceDlg& dialog, const QString& path, QString* error,
                  const SheetProgress& progress) {
  const std::optional<PictureFormat> format = PictureFormatOfPath(path.toStdString());
  if (!format) {
    *error = QStringLiteral("%1 does not end in .png, .svg, .pdf or .gif").arg(path);
    return false;
  }
  if (dialog.m_webView == nullptr || dialog.m_seriesView == nullptr) {
    *error = QStringLiteral("the diagrams are not there");
    return false;
  }
  // Each counter read once, now: the file shows the steps on screen at this
  // moment while the animation goes on.
  const int seriesCounter = dialog.m_seriesView->m_stepCounter.load();
  const int webCounter = dialog.m_webView->m_stepCounter.load();
  const QRect seriesPlace = PlaceOf(*dialog.m_seriesView, dialog);
  const QRect webPlace = PlaceOf(*dialog.m_webView, dialog);
  const QRect sheet = seriesPlace.united(webPlace);
  const QPoint origin = sheet.topLeft();
  const auto bothAt = [&](int step) {
    return Sheet{{{dialog.m_seriesView->m_mode, std::min(step, seriesCounter),
                   PixelsOf(seriesPlace.translated(-origin))},
                  {dialog.m_webView->m_mode, std::min(step, webCounter),
                   PixelsOf(webPlace.translated(-origin)), dialog.m_webView->SecondIterateShown()}},
                 std::string()};
  };
  OutputFile file{QFile::encodeName(path).toStdString(), *format, {}};
  if (*format == PictureFormat::kGif) {
    // The run so far, a frame a step, each view stopping at the step it shows.
    for (int step = 0; step <= std::max(seriesCounter, webCounter); ++step) {
      file.sheets.push_back(bothAt(step));
    }
  } else {
    file.sheets.push_back(bothAt(std::max(seriesCounter, webCounter)));
  }
  // The window draws its SVG and PDF files with the encoder linked in.
  UseVectorEncoder(EncodeVectorFile);
  std::string why;
  const WriteOutcome outcome =
      WriteDiagramFiles({file}, sheet.width(), sheet.height(), &why, FramePace(), progress);
  *error = QString::fromLocal8Bit(why.c_str());
  return outcome == WriteOutcome::kWritten;
}

void CSentenceDlg::OnSaveDiagrams() {
  QString filter;
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save Diagrams"), QString(),
      QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf);;"
                     "GIF animation (*.gif)"),
      &filter);
  if (path.isEmpty()) {
    return;
  }
  if (!PictureFormatOfPath(path.toStdString())) {
    // A name typed without a suffix takes the chosen filter's.
    path += filter.contains(QLatin1String("svg"))   ? QStringLiteral(".svg")
            : filter.contains(QLatin1String("pdf")) ? QStringLiteral(".pdf")
            : filter.contains(QLatin1String("gif")) ? QStringLiteral(".gif")
                                                    : QStringLiteral(".png");
  }
  // An animation is drawn a frame at a time; between frames the window's
  // events run, so the diagrams go on stepping and Cancel is heard. The
  // dialog shows itself only when the write takes a while.
  std::optional<QProgressDialog> progress;
  SheetProgress step;
  if (PictureFormatOfPath(path.toStdString()) == PictureFormat::kGif) {
    progress.emplace(QStringLiteral("Writing the animation..."), QStringLiteral("Cancel"), 0, 1,
                     this);
    progress->setWindowTitle(QStringLiteral("Save Diagrams"));
    progress->setWindowModality(Qt::WindowModal);
    step = [&progress](int done, int total) {
      if (done == 1) {
        progress->setMaximum(total);
        progress->setValue(0);  // starts the dialog's clock
      }
      progress->setValue(done);
      if (!progress->isVisible()) {
        // Until the dialog shows (and then blocks the window), only the
        // animation's own events run: a key or a click now could change the
        // run being written.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      }
      return !progress->wasCanceled();
    };
  }
  QString error;
  if (!SaveDiagrams(*this, path, &error, step) && !(progress && progress->wasCanceled())) {
    QMessageBox::warning(this, QStringLiteral("Save Diagrams"),
                         QStringLiteral("The diagrams were not saved: %1.").arg(error));
  }
}
