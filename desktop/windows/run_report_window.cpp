#include "desktop/windows/run_report_window.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "core/report/run_report.h"
#include "desktop/windows/sentence_dlg.h"
#include "desktop/windows/side_window.h"

namespace {

// Narrow enough to fit beside a centred main window on a 1280-pixel screen.
constexpr int kTextWidth = 260;

}  // namespace

CRunReportWindow::CRunReportWindow(CSentenceDlg* owner) : QWidget(owner, Qt::Window) {
  // A child of the main window, so the main window's modal loop lets it take
  // input, and it goes when the main window goes.
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Run Report"));
  setAccessibleName(QStringLiteral("Run Report"));
  setAccessibleDescription(QStringLiteral("What the run in the main window does"));

  m_text.setWordWrap(true);
  m_text.setFixedWidth(kTextWidth);
  m_text.setTextFormat(Qt::PlainText);
  m_text.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  m_text.setFocusPolicy(Qt::StrongFocus);
  m_text.setAccessibleName(QStringLiteral("Report"));
  m_close.setText(QStringLiteral("&Close"));
  m_close.setAccessibleName(QStringLiteral("Close"));
  m_close.setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(&m_text);
  layout->addWidget(&m_close, 0, Qt::AlignRight);

  connect(&m_close, &QPushButton::clicked, this, &QWidget::close);
  connect(owner, &CSentenceDlg::refreshed, this, &CRunReportWindow::ShowCurrentRun);
  connect(owner, &QDialog::finished, this, &QWidget::close);
  ShowCurrentRun();
}

CRunReportWindow* CRunReportWindow::Find(const CSentenceDlg* owner) {
  return owner->findChild<CRunReportWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

CRunReportWindow* CRunReportWindow::Open(CSentenceDlg* owner) {
  CRunReportWindow* window = Find(owner);
  if (window == nullptr) {
    window = new CRunReportWindow(owner);
    window->adjustSize();
    window->PlaceBeside(owner);
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

void CRunReportWindow::ShowCurrentRun() {
  m_text.setText(QString::fromStdString(FormatReportSentences(AnalyseRun())));
}

void CRunReportWindow::PlaceBeside(const QWidget* owner) {
  PlaceBesideOwner(*this, *owner);
}

void CRunReportWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}
