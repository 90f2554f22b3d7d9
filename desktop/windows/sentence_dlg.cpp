#include "desktop/windows/sentence_dlg.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimerEvent>

#include "core/layout/resource.h"
#include "core/log/output_log.h"
#include "core/numbers/series.h"
#include "core/numbers/step_rules.h"
#include "desktop/animation/animation_worker.h"
#include "desktop/resources/resources.h"
#include "desktop/views/diagram_view.h"
#include "desktop/windows/about_dlg.h"
#include "desktop/windows/go_to_step_dlg.h"

SentenceKind g_selectedSentence = 0;
float g_enteredDegree = 0.0f;
float g_enteredEstimate = 0.0f;

namespace {

constexpr int kSelectionFieldHeight = 18;
constexpr int kLogFontTenthsOfPoint = 80;

// On a scaled screen the pixel letters grow with the window, each pixel
// becoming a block: Qt would smooth them into a blur.
QPixmap ForScreen(const QPixmap& picture, qreal ratio) {
  if (picture.isNull() || ratio == 1.0) {
    return picture;
  }
  const QSize pixels = (QSizeF(picture.size()) * ratio).toSize();
  QPixmap scaled = QPixmap::fromImage(
      picture.toImage().scaled(pixels, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  scaled.setDevicePixelRatio(ratio);
  return scaled;
}

std::string CurrentFormula() {
  std::string formula;
  FormatFormula(formula);
  return formula;
}

}  // namespace

CSentenceDlg::CSentenceDlg(QWidget* parent) : CDialog(IDD_SENTENCE_DIALOG, parent) {
  m_truthWord = QStringLiteral("true");
  m_hIcon = LoadIcon(IDR_MAINFRAME);
  m_webView = new CDiagramView;
  m_seriesView = new CDiagramView;

  connect(&m_graphButton, &QPushButton::clicked, this, [this] { OnGraph(); });
  connect(&m_sentenceCombo, &QComboBox::activated, this, [this] { OnSentenceChanged(); });
  connect(&m_sentenceCombo, &CSentenceCombo::dropDown, this, [this] { OnSentenceDropDown(); });
  connect(&m_degreeEdit, &CUnitEdit::changed, this, [this] { OnDegreeChanged(); });
  connect(&m_estimateEdit, &CUnitEdit::changed, this, [this] { OnEstimateChanged(); });
}

CSentenceDlg::~CSentenceDlg() {
  // The workers hold pointers to the views: they end before the views go.
  ShutdownAnimationWorkers();
  delete m_webView;
  delete m_seriesView;
}

QWidget* CSentenceDlg::CreateControl(const DialogItemTemplate& item) {
  switch (item.id) {
    case IDC_FORMULA_PICTURE:
      return &m_formulaPicture;
    case IDC_DEGREE_EDIT:
      return &m_degreeEdit;
    case IDC_ESTIMATE_EDIT:
      return &m_estimateEdit;
    case IDC_OUTPUT:
      return &m_output;
    case IDC_GRAPH_BUTTON: {
      m_graphButton.setAutoDefault(false);
      m_graphButton.setDefault(false);
      return &m_graphButton;
    }
    case IDC_SENTENCE_COMBO:
      return &m_sentenceCombo;
    default: {
      QWidget* control = CDialog::CreateControl(item);
      if (item.id == IDC_RESTART_BUTTON) {
        connect(qobject_cast<QPushButton*>(control), &QPushButton::clicked, this,
                [this] { RestartGraphing(); });
      }
      return control;
    }
  }
}

void CSentenceDlg::DoDataExchange(bool saveAndValidate) {
  DDX_Text(saveAndValidate, GetDlgItem(IDC_TRUTH_WORD), m_truthWord);
  DDX_Text(saveAndValidate, &m_output, m_outputText);
  DDX_Check(saveAndValidate, GetDlgItem(IDC_SHOW_OUTPUT), m_showOutput);
  // The truth word completes the degree field's sentence; a screen reader
  // hears it with the field.
  if (!saveAndValidate && m_degreeEdit.accessibleDescription() != m_truthWord) {
    m_degreeEdit.setAccessibleDescription(m_truthWord);
  }
}

bool CSentenceDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  AddAboutToSystemMenu();
  AddToolsToSystemMenu();
  AddStepsToSystemMenu();
  setWindowIcon(m_hIcon);
  m_webView->CreateInPlaceholder(GetDlgItem(IDC_WEB_PLACEHOLDER), 1, this);
  m_seriesView->CreateInPlaceholder(GetDlgItem(IDC_SERIES_PLACEHOLDER), 0, nullptr);
  m_sentenceCombo.setCurrentIndex(g_selectedSentence);
  m_sentenceCombo.SetSelectionFieldHeight(kSelectionFieldHeight);
  m_output.SetTextFont(kLogFontTenthsOfPoint, "Verdana");
  // A page of the log is read whole, so it must fit the panel.
  m_output.FitTextLines(kLogPageLines);
  m_paused = true;
  g_enteredDegree = 0.3f;
  m_degreeEdit.SetValue(0.3f);
  g_enteredEstimate = 0.9f;
  m_estimateEdit.SetValue(0.9f);
  m_formulaBitmap = QPixmap::fromImage(LoadBitmapImage(IDB_FORMULA));
  NameControlsForScreenReaders();
  Refresh();
  return true;
}

QLabel* CSentenceDlg::StaticWithText(const char* text) const {
  for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    if (label->text() == QLatin1String(text)) {
      return label;
    }
  }
  return nullptr;
}

void CSentenceDlg::NameControlsForScreenReaders() {
  // Each label names the control it stands in front of. None of the texts
  // carries a mnemonic, so a buddy adds no key and changes no text.
  const std::pair<QLabel*, QWidget*> labelled[] = {
      {StaticWithText("Pick a sentence:"), &m_sentenceCombo},
      {qobject_cast<QLabel*>(GetDlgItem(IDC_DEGREE_LABEL)), &m_degreeEdit},
      {StaticWithText("Initial estimate:"), &m_estimateEdit},
  };
  for (const auto& [label, control] : labelled) {
    if (label != nullptr) {
      label->setBuddy(control);
    }
  }
  // The picture supplies the left-hand side of the log's formula.
  m_formulaPicture.setAccessibleName(QStringLiteral("x(n+1)"));
}

void CSentenceDlg::AddAboutToSystemMenu() {
  m_systemMenu = StandardWindowMenu();
  const std::string aboutText = LoadResourceString(IDS_ABOUTBOX);
  if (!aboutText.empty()) {
    // Size and Maximize go (this window can do neither); About goes between
    // Minimize and the separator above Close.
    DeleteMenuAt(m_systemMenu, 2);
    DeleteMenuAt(m_systemMenu, 3);
    InsertMenuAt(m_systemMenu, 3, {IDM_ABOUTBOX, aboutText});
  }
}

void CSentenceDlg::AddToolsToSystemMenu() {
  // The tool's own windows sit together above the separator, after About.
  std::size_t separator = 0;
  while (separator < m_systemMenu.size() && m_systemMenu[separator].command != 0) {
    ++separator;
  }
  InsertMenuAt(m_systemMenu, separator, {IDM_RUNREPORT, "&Run Report..."});
  InsertMenuAt(m_systemMenu, separator + 1, {IDM_SAVEDIAGRAMS, "&Save Diagrams..."});
  InsertMenuAt(m_systemMenu, separator + 1, {IDM_ORBITDIAGRAM, "&Orbit Diagram..."});
}

void CSentenceDlg::AddStepsToSystemMenu() {
  // After the tool's windows, still above the separator; the keys stand
  // after a tab, as Close shows its own.
  std::size_t separator = 0;
  while (separator < m_systemMenu.size() && m_systemMenu[separator].command != 0) {
    ++separator;
  }
  InsertMenuAt(m_systemMenu, separator, {IDM_STEPFORWARD, "Step &Forward\t."});
  InsertMenuAt(m_systemMenu, separator + 1, {IDM_STEPBACK, "Step &Back\t,"});
  InsertMenuAt(m_systemMenu, separator + 2, {IDM_GOTOSTEP, "&Go to Step...\tJ"});
  InsertMenuAt(m_systemMenu, separator + 3, {IDM_SECONDITERATE, "Show f&∘f"});
}

int CSentenceDlg::ShownStep() const {
  return m_seriesView->m_stepCounter.load();
}

void CSentenceDlg::StepForward() {
  ShowStep(NextShownStep(ShownStep()));
}

void CSentenceDlg::StepBack() {
  ShowStep(PreviousShownStep(ShownStep()));
}

void CSentenceDlg::OnGoToStep() {
  if (!m_paused || !m_webView->IsStopped()) {
    PauseGraphing();
  }
  CGoToStepDlg dialog(ShownStep(), this);
  if (dialog.exec() == QDialog::Accepted) {
    ShowStep(dialog.Step());
  }
}

void CSentenceDlg::ShowStep(int step) {
  if (!m_paused || !m_webView->IsStopped()) {
    PauseGraphing();
  }
  const int shown = step < 0 ? 0 : (step > kSeriesLength ? kSeriesLength : step);
  // The workers step on from here when Graph is pressed; a step a worker
  // was taking as the pause came is dropped by its compare-and-swap.
  m_webView->m_stepCounter = shown;
  m_seriesView->m_stepCounter = shown;
  UpdateData(true);
  const LogAtStep log = RebuildLogAtStep(shown, m_showOutput != 0, CurrentFormula(), g_series);
  g_logLineOpen = log.lineOpen;
  m_outputText = QString::fromStdString(log.text);
  m_webView->SendPaint();
  m_seriesView->SendPaint();
  RedrawFormulaPicture();
  UpdateData(false);
}

void CSentenceDlg::ToggleSecondIterate() {
  m_webView->ShowSecondIterate(!m_webView->SecondIterateShown());
  m_webView->SendPaint();
}

void CSentenceDlg::Refresh() {
  if (!m_webView->IsStopped()) {
    PauseGraphing();
  }
  UpdateData(true);
  m_webView->ComputeSeries(g_enteredDegree, g_enteredEstimate, g_selectedSentence);
  m_seriesView->ComputeSeries(g_enteredDegree, g_enteredEstimate, g_selectedSentence);
  m_webView->SendPaint();
  m_seriesView->SendPaint();
  m_outputText =
      QString::fromStdString(FormatRefreshedLog(CurrentFormula(), SeriesAt(0), SeriesAt(1)));
  SetFormulaImage(m_formulaBitmap);
  const int count = m_sentenceCombo.count();
  std::string caption;
  for (int i = 0; i < count; ++i) {
    m_sentenceCombo.removeItem(i);
    FormatSentenceCaption(caption, i);
    m_sentenceCombo.insertItem(i, QString::fromStdString(caption));
  }
  m_sentenceCombo.setCurrentIndex(g_selectedSentence);
  RedrawFormulaPicture();
  UpdateData(false);
  emit refreshed();
}

void CSentenceDlg::SetFormulaImage(const QPixmap& picture) {
  // A bitmap static takes the size of its picture, at its own position.
  m_formulaPicture.setPixmap(ForScreen(picture, m_formulaPicture.devicePixelRatioF()));
  if (!picture.isNull()) {
    m_formulaPicture.resize(picture.size());
  }
}

void CSentenceDlg::RedrawFormulaPicture() {
  m_formulaPicture.hide();
  m_formulaPicture.show();
}

void CSentenceDlg::StartGraphing() {
  m_paused = false;
  m_webView->SignalStart();
  m_graphButton.setText(QStringLiteral("Pause"));
}

void CSentenceDlg::PauseGraphing() {
  m_paused = true;
  m_webView->RequestStop();
  m_graphButton.setText(QStringLiteral("Graph"));
}

void CSentenceDlg::RestartGraphing() {
  Refresh();
  m_webView->RequestRestart();
}

void CSentenceDlg::OnGraph() {
  UpdateData(true);
  if (m_paused) {
    StartGraphing();
  } else {
    PauseGraphing();
  }
}

void CSentenceDlg::OnSentenceChanged() {
  // Read the screen first: "Show Output" may have been checked since the last
  // exchange, and showing the members below must not uncheck it.
  UpdateData(true);
  g_selectedSentence = m_sentenceCombo.currentIndex();
  m_truthWord = QString::fromLatin1(TruthWord(g_selectedSentence));
  // Sentences 6 to 9 carry no degree; "no selection" (-1) counts as above 5.
  GetDlgItem(IDC_DEGREE_EDIT)->setEnabled(SentenceUsesDegree(g_selectedSentence));
  UpdateData(false);
  Refresh();
  m_seriesView->update();
}

void CSentenceDlg::OnSentenceDropDown() {
  PauseGraphing();
}

void CSentenceDlg::OnDegreeChanged() {
  UpdateData(true);
  g_enteredDegree = static_cast<float>(m_degreeEdit.GetValue());
  Refresh();
}

void CSentenceDlg::OnEstimateChanged() {
  UpdateData(true);
  g_enteredEstimate = static_cast<float>(m_estimateEdit.GetValue());
  Refresh();
}

void CSentenceDlg::OnTimer(int) {
  UpdateData(true);
  if (m_showOutput == 0) {
    return;
  }
  // The step of the view whose worker sent the notification: read from the
  // other view it could repeat or skip values, or be 0 and wipe the page.
  const int step = m_seriesView->m_stepCounter.load();
  std::string log = m_outputText.toStdString();
  if (!AppendStepToLog(log, g_logLineOpen, step, CurrentFormula(), g_series)) {
    return;
  }
  m_outputText = QString::fromStdString(log);
  RedrawFormulaPicture();
  UpdateData(false);
}

void CSentenceDlg::timerEvent(QTimerEvent* event) {
  if (event->timerId() == 0) {
    OnTimer(0);
    return;
  }
  CDialog::timerEvent(event);
}

bool CSentenceDlg::PreTranslateMessage(QKeyEvent* keyDown) {
  // With Alt held a key is a menu or mnemonic key, not a key-down of its own.
  if ((keyDown->modifiers() & Qt::AltModifier) != 0) {
    return false;
  }
  if (keyDown->key() == Qt::Key_F10 && keyDown->modifiers() == Qt::ShiftModifier) {
    // The desktop's keyboard equivalent of a right click: the focused control
    // shows its own menu if it has one, the window menu otherwise.
    if (QWidget* focus = QApplication::focusWidget()) {
      QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(0, 0),
                                focus->mapToGlobal(QPoint(0, 0)));
      QApplication::sendEvent(focus, &request);
    }
    return true;
  }
  switch (keyDown->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      return true;
    case Qt::Key_G:
      OnGraph();
      return false;
    case Qt::Key_R:
      RestartGraphing();
      return false;
    case Qt::Key_J:
      OnGoToStep();
      return true;
    case Qt::Key_Period:
    case Qt::Key_Comma: {
      // In a value field "." starts a number; there the keys keep their
      // meaning, as they do in any text field.
      const QWidget* focus = QApplication::focusWidget();
      if (focus == &m_degreeEdit || focus == &m_estimateEdit) {
        return false;
      }
      if (keyDown->key() == Qt::Key_Period) {
        StepForward();
      } else {
        StepBack();
      }
      return true;
    }
    default:
      return false;
  }
}

void CSentenceDlg::OnSysCommand(unsigned nID, long) {
  if ((nID & kSystemCommandMask) == IDM_ABOUTBOX) {
    CAboutDlg about(this);
    about.m_strVersion = QString::fromLatin1(kVersionText);
    about.DoModal();
    return;
  }
  switch (nID & kSystemCommandMask) {
    case IDM_RUNREPORT:
      OnRunReport();
      return;
    case IDM_SAVEDIAGRAMS:
      OnSaveDiagrams();
      return;
    case IDM_ORBITDIAGRAM:
      OnOrbitDiagram();
      return;
    case IDM_STEPFORWARD:
      StepForward();
      return;
    case IDM_STEPBACK:
      StepBack();
      return;
    case IDM_GOTOSTEP:
      OnGoToStep();
      return;
    case IDM_SECONDITERATE:
      ToggleSecondIterate();
      return;
    default:
      DefaultSysCommand(nID);
  }
}

void CSentenceDlg::DefaultSysCommand(unsigned nID) {
  switch (nID & kSystemCommandMask) {
    case SC_MINIMIZE:
      showMinimized();
      break;
    case SC_RESTORE:
      showNormal();
      break;
    case SC_CLOSE:
      close();
      break;
    default:
      break;
  }
}

bool CSentenceDlg::IsOverDiagram(const QPoint& pos) const {
  for (int id : {IDC_WEB_PLACEHOLDER, IDC_SERIES_PLACEHOLDER}) {
    const QWidget* placeholder = GetDlgItem(id);
    if (placeholder != nullptr && placeholder->geometry().contains(pos)) {
      return true;
    }
  }
  return false;
}

void CSentenceDlg::contextMenuEvent(QContextMenuEvent* event) {
  // The window menu on the dialog's own area and its static texts; the
  // diagrams take no input, so a right click there opens nothing.
  if (event->reason() == QContextMenuEvent::Mouse && IsOverDiagram(event->pos())) {
    event->accept();
    return;
  }
  const QPoint at =
      event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(QPoint(0, 0));
  event->accept();
  ShowSystemMenu(at, event->reason() != QContextMenuEvent::Mouse);
}

void CSentenceDlg::ShowSystemMenu(const QPoint& globalPos, bool fromKeyboard) {
  QMenu menu(this);
  for (const WindowMenuEntry& entry : m_systemMenu) {
    if (entry.command == 0) {
      menu.addSeparator();
    } else if (OfferedOnThisPlatform(entry.command)) {
      QAction* action = menu.addAction(QString::fromStdString(entry.text));
      action->setData(entry.command);
      if (entry.command == IDM_SECONDITERATE) {
        action->setCheckable(true);
        action->setChecked(m_webView->SecondIterateShown());
      }
    }
  }
  // The menu goes with its window, as the desktop's window menu does: a close
  // that arrives while it is open would otherwise leave it on screen, its
  // loop holding the process with no window left.
  connect(this, &QDialog::finished, &menu, &QMenu::close);
  if (fromKeyboard) {
    for (QAction* action : menu.actions()) {
      if (!action->isSeparator() && action->isEnabled()) {
        connect(&menu, &QMenu::aboutToShow, &menu,
                [&menu, action] { menu.setActiveAction(action); });
        break;
      }
    }
  }
  const QAction* chosen = menu.exec(globalPos);
  if (chosen != nullptr) {
    OnSysCommand(chosen->data().toUInt(), 0);
  }
}
