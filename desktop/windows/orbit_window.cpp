#include "desktop/windows/orbit_window.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "core/numbers/number_text.h"
#include "core/numbers/series.h"
#include "core/report/run_report.h"
#include "desktop/windows/sentence_dlg.h"
#include "desktop/windows/side_window.h"

namespace {

constexpr int kProgressAfterMs = 100;
constexpr int kProgressPollMs = 40;
constexpr int kWorkerNiceness = 10;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

void NameSpinBox(QSpinBox* box, const QString& name, int low, int high, int value) {
  box->setRange(low, high);
  box->setValue(value);
  box->setAccessibleName(name);
  box->setKeyboardTracking(false);
}

}  // namespace

COrbitWindow::COrbitWindow(CSentenceDlg* owner)
    : QWidget(owner, Qt::Window),
      m_owner(owner),
      m_runner(
          [this] {
            QMetaObject::invokeMethod(
                this, [this] { TakePicture(); }, Qt::QueuedConnection);
          },
          [] {
            // Behind the main window's animation: its steps keep their pace
            // while the diagram takes whatever processor time is left. On
            // Linux the niceness is the thread's own, and the helpers it
            // starts inherit it.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNiceness);
          }) {
  // A child of the main window: its modal loop lets this take input, and it
  // goes when the main window goes.
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Orbit Diagram"));
  setAccessibleName(QStringLiteral("Orbit Diagram"));

  auto* transientLabel = new QLabel(QStringLiteral("&T:"), this);
  auto* keepLabel = new QLabel(QStringLiteral("&N:"), this);
  NameSpinBox(&m_transient, QStringLiteral("Transient T"), 1, kOrbitLongestRun, 500);
  NameSpinBox(&m_keep, QStringLiteral("Kept values N"), 1, kOrbitLongestRun, 500);
  transientLabel->setBuddy(&m_transient);
  keepLabel->setBuddy(&m_keep);
  m_back.setText(QStringLiteral("&Back"));
  m_back.setAccessibleName(QStringLiteral("Back"));
  m_reset.setText(QStringLiteral("&Reset"));
  m_reset.setAccessibleName(QStringLiteral("Reset"));
  for (QPushButton* button : {&m_back, &m_reset}) {
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
  }
  m_progress.setRange(0, 1000);
  m_progress.setTextVisible(false);
  m_progress.setAccessibleName(QStringLiteral("Computing"));
  m_progress.setMaximumWidth(80);
  m_progress.hide();
  m_pointer.setAccessibleName(QStringLiteral("Pointer"));

  // Two short rows, so that the window fits beside the main window on a
  // small screen.
  auto* counts = new QHBoxLayout;
  counts->addWidget(transientLabel);
  counts->addWidget(&m_transient);
  counts->addWidget(keepLabel);
  counts->addWidget(&m_keep);
  counts->addStretch();
  auto* views = new QHBoxLayout;
  views->addWidget(&m_back);
  views->addWidget(&m_reset);
  views->addWidget(&m_progress);
  views->addStretch();
  views->addWidget(&m_pointer);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(&m_plot, 1);
  layout->addLayout(counts);
  layout->addLayout(views);
  setTabOrder(&m_plot, &m_transient);
  setTabOrder(&m_transient, &m_keep);

  connect(&m_plot, &COrbitPlot::zoomTo, this, &COrbitWindow::ShowTo);
  connect(&m_plot, &COrbitPlot::backRequested, this, &COrbitWindow::Back);
  connect(&m_plot, &COrbitPlot::resetRequested, this, &COrbitWindow::Reset);
  connect(&m_plot, &COrbitPlot::columnChosen, this, &COrbitWindow::ChooseColumn);
  connect(&m_plot, &COrbitPlot::pointerMoved, &m_pointer, &QLabel::setText);
  connect(&m_plot, &COrbitPlot::cursorMoved, this, &COrbitWindow::Describe);
  connect(&m_back, &QPushButton::clicked, this, &COrbitWindow::Back);
  connect(&m_reset, &QPushButton::clicked, this, &COrbitWindow::Reset);
  connect(&m_transient, &QSpinBox::valueChanged, this, &COrbitWindow::Recompute);
  connect(&m_keep, &QSpinBox::valueChanged, this, &COrbitWindow::Recompute);
  connect(&m_plot, &COrbitPlot::resized, this, &COrbitWindow::Recompute);
  connect(&m_progressTimer, &QTimer::timeout, this, &COrbitWindow::ShowProgress);
  connect(owner, &CSentenceDlg::refreshed, this, &COrbitWindow::FollowRun);
  connect(owner, &QDialog::finished, this, &QWidget::close);
  m_progressTimer.setInterval(kProgressPollMs);
  resize(720, 480);
  FollowRun();
}

COrbitWindow* COrbitWindow::Find(const CSentenceDlg* owner) {
  return owner->findChild<COrbitWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

COrbitWindow* COrbitWindow::Open(CSentenceDlg* owner) {
  COrbitWindow* window = Find(owner);
  if (window == nullptr) {
    window = new COrbitWindow(owner);
    window->PlaceBeside(owner);
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

void COrbitWindow::FollowRun() {
  const RunParams run = g_runParams;
  const OrbitAxis axis = DefaultOrbitAxis(run.sentence);
  if (axis != m_request.axis || run.sentence != m_request.sentence) {
    m_box = {};  // another sentence starts from the whole square
    m_history.clear();
  }
  m_request.sentence = run.sentence;
  m_request.degree = run.degree;
  m_request.estimate = run.estimate;
  m_request.axis = axis;
  m_plot.SetMarker(axis == OrbitAxis::kDegree ? run.degree : run.estimate);
  Recompute();
}

void COrbitWindow::Recompute() {
  // Closed it costs nothing (the first showing asks); with no sentence
  // chosen there is nothing to draw.
  if (!isVisible() || m_request.sentence < 0 || m_request.sentence >= kSentenceCount) {
    return;
  }
  m_request.from = m_box.from;
  m_request.to = m_box.to;
  m_request.transient = m_transient.value();
  m_request.keep = std::min(m_keep.value(), kOrbitLongestRun + 1 - m_request.transient);
  const OrbitView view =
      OrbitViewFor(m_request, m_box.low, m_box.high, m_plot.size(), m_plot.devicePixelRatioF());
  const OrbitRequest& a = view.request;
  const OrbitRequest& b = m_asked.request;
  // Over the degree a new degree only moves the marker.
  const bool same = m_askedAny && a.sentence == b.sentence && a.axis == b.axis &&
                    (a.axis == OrbitAxis::kEstimate || a.estimate == b.estimate) &&
                    (a.axis == OrbitAxis::kDegree || a.degree == b.degree) && a.from == b.from &&
                    a.to == b.to && a.columns == b.columns && a.transient == b.transient &&
                    a.keep == b.keep && view.low == m_asked.low && view.high == m_asked.high &&
                    view.rows == m_asked.rows && view.stripRows == m_asked.stripRows;
  if (same) {
    Describe();
    return;
  }
  m_asked = view;
  m_askedAny = true;
  m_runner.Submit(view);
  m_since.start();
  m_progressTimer.start();
}

void COrbitWindow::ShowTo(OrbitBox box) {
  m_history.push_back(m_box);
  m_box = box;
  Recompute();
}

void COrbitWindow::Back() {
  if (!m_history.empty()) {
    m_box = m_history.back();
    m_history.pop_back();
    Recompute();
  }
}

void COrbitWindow::Reset() {
  if (!(m_box == OrbitBox{})) {
    m_history.push_back(m_box);
    m_box = {};
    Recompute();
  }
}

void COrbitWindow::TakePicture() {
  std::shared_ptr<const OrbitPicture> picture = m_runner.TakeReady();
  if (picture == nullptr) {
    return;  // superseded on its way here
  }
  m_progressTimer.stop();
  m_progress.hide();
  m_plot.SetPicture(std::move(picture));
  Describe();
}

void COrbitWindow::ShowProgress() {
  if (!m_runner.Busy()) {
    m_progressTimer.stop();
    m_progress.hide();
    return;
  }
  if (m_since.elapsed() > kProgressAfterMs) {
    m_progress.setValue(static_cast<int>(m_runner.Progress() * 1000));
    m_progress.show();
  }
}

void COrbitWindow::ChooseColumn(int column) {
  const OrbitPicture* picture = m_plot.Picture();
  if (picture == nullptr) {
    return;
  }
  // The two-decimal value nearest the column, set as if typed into the field.
  const float parameter = OrbitParameter(picture->view.request, column);
  const auto value = static_cast<float>(ParseDouble(FormatFixed2(parameter)));
  if (picture->view.request.axis == OrbitAxis::kDegree) {
    m_owner->m_degreeEdit.SetValue(value);
  } else {
    m_owner->m_estimateEdit.SetValue(value);
  }
}

void COrbitWindow::Describe() {
  const OrbitPicture* picture = m_plot.Picture();
  if (picture == nullptr) {
    return;
  }
  const OrbitRequest& request = picture->view.request;
  const bool overDegree = request.axis == OrbitAxis::kDegree;
  OrbitVerdict verdict;
  double at = 0.0;
  const int cursor = m_plot.CursorColumn();
  if (cursor >= 0 && cursor < static_cast<int>(picture->columns.size())) {
    const OrbitColumn& column = picture->columns[static_cast<std::size_t>(cursor)];
    verdict = column.verdict;
    at = column.parameter;
  } else {
    const RunReport report = AnalyseRun();
    verdict = {report.behaviour, report.fromStep, report.period, report.lyapunov,
               report.roundedOntoFixedPoint};
    at = overDegree ? g_runParams.degree : g_runParams.estimate;
  }
  const double l = verdict.lyapunov;
  const std::string text = "sentence " + std::to_string(request.sentence) + " over the " +
                           (overDegree ? "degree " : "estimate ") + FormatFixed2(request.from) +
                           " to " + FormatFixed2(request.to) + "; at " +
                           OrbitAxisSymbol(request.axis) + " = " + FormatFixed2(at) + ": " +
                           RunBehaviourWords(verdict.behaviour) + ", Lyapunov exponent " +
                           FormatFixed3(l);
  m_plot.setAccessibleDescription(Text(text));
}

void COrbitWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void COrbitWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Recompute();
}

void COrbitWindow::PlaceBeside(const QWidget* owner) {
  // Narrower, down to its smallest, rather than over the main window.
  if (OwnerScreenArea(*owner).isValid()) {
    const int room = RoomBesideOwner(*this, *owner);
    if (room < width()) {
      resize(std::max(room, minimumSizeHint().width()), height());
    }
  }
  PlaceBesideOwner(*this, *owner);
}
