#include <QFileDialog>
#include <QMessageBox>

#include "diagram_view.h"
#include "picture_export.h"
#include "save_diagrams.h"
#include "sentence_dlg.h"

namespace {

// Each view's place in the window, in the window's device pixels.
QRect PlaceOf(const CDiagramView& view, const QWidget& window) {
  const qreal ratio = view.devicePixelRatioF();
  const QPoint topLeft = view.mapTo(&window, QPoint(0, 0));
  return QRect((QPointF(topLeft) * ratio).toPoint(), (QSizeF(view.size()) * ratio).toSize());
}

}  // namespace

bool SaveDiagrams(const CSentenceDlg& dialog, const QString& path, QString* error) {
  const std::optional<PictureFormat> format = PictureFormatOfPath(path);
  if (!format) {
    *error = QStringLiteral("%1 does not end in .png, .svg or .pdf").arg(path);
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
  Sheet both{{{dialog.m_seriesView->m_mode, seriesCounter, seriesPlace.translated(-origin)},
              {dialog.m_webView->m_mode, webCounter, webPlace.translated(-origin)}},
             QString()};
  return WriteDiagramFiles({{path, *format, {both}}}, sheet.size(), GlSource::kApplication,
                           error) == WriteOutcome::kWritten;
}

void CSentenceDlg::OnSaveDiagrams() {
  QString filter;
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save Diagrams"), QString(),
      QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"), &filter);
  if (path.isEmpty()) {
    return;
  }
  if (!PictureFormatOfPath(path)) {
    // A name typed without a suffix takes the chosen filter's.
    path += filter.contains(QLatin1String("svg"))   ? QStringLiteral(".svg")
            : filter.contains(QLatin1String("pdf")) ? QStringLiteral(".pdf")
                                                    : QStringLiteral(".png");
  }
  QString error;
  if (!SaveDiagrams(*this, path, &error)) {
    QMessageBox::warning(this, QStringLiteral("Save Diagrams"),
                         QStringLiteral("The diagrams were not saved: %1.").arg(error));
  }
}
