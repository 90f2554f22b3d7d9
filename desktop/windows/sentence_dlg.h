// The main window and the controller of the whole tool: it owns the two
// diagram views, keeps the entered run parameters, and turns every user
// action into Refresh, StartGraphing, PauseGraphing or RestartGraphing.
#pragma once

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "core/numbers/sentence.h"
#include "desktop/controls/color_static.h"
#include "desktop/controls/pretranslate.h"
#include "desktop/controls/unit_edit.h"
#include "desktop/windows/dialog.h"
#include "desktop/windows/sentence_combo.h"
#include "desktop/windows/window_menu.h"

class CDiagramView;

// What the user has entered; RunParams receives a copy on every Refresh.
// User interface thread only.
extern SentenceKind g_selectedSentence;
extern float g_enteredDegree;
extern float g_enteredEstimate;

class CSentenceDlg : public CDialog, public CPreTranslate {
  Q_OBJECT

 public:
  explicit CSentenceDlg(QWidget* parent = nullptr);
  ~CSentenceDlg() override;

  void Refresh();
  void StartGraphing();
  void PauseGraphing();
  void RestartGraphing();

  void OnGraph();
  void OnSentenceChanged();
  void OnSentenceDropDown();
  void OnDegreeChanged();
  void OnEstimateChanged();
  // WM_TIMER: the time-series worker has taken a step.
  void OnTimer(int timerId);
  void OnSysCommand(unsigned nID, long lParam);
  // The window menu's "Run Report...", "Save Diagrams..." and "Orbit Diagram...".
  void OnRunReport();
  void OnSaveDiagrams();
  void OnOrbitDiagram();
  // The window menu's stepping entries. Each pauses a running animation,
  // then shows the step as an uninterrupted run from step 0 shows it: both
  // diagrams, their words and the log.
  void StepForward();
  void StepBack();
  void OnGoToStep();
  void ShowStep(int step);
  // "Show f∘f": on or off on the web diagram.
  void ToggleSecondIterate();
  // The step count both views show.
  int ShownStep() const;

  // Enter and Escape are consumed; G and R act and pass on; J, and outside
  // the value fields "," and ".", step and are consumed.
  bool PreTranslateMessage(QKeyEvent* keyDown) override;

  // The window menu as it stands after initialisation.
  const WindowMenu& SystemMenu() const { return m_systemMenu; }

  bool m_paused = true;
  CDiagramView* m_webView = nullptr;
  CDiagramView* m_seriesView = nullptr;
  QLabel m_formulaPicture;
  CUnitEdit m_degreeEdit;
  CUnitEdit m_estimateEdit;
  CColorStatic m_output{0, 0};
  QPushButton m_graphButton;
  CSentenceCombo m_sentenceCombo;
  QString m_truthWord;
  QString m_outputText;
  int m_showOutput = 0;
  QPixmap m_formulaBitmap;
  QIcon m_hIcon;

 Q_SIGNALS:
  // The last step of every Refresh: the series and the texts are up to date.
  void refreshed();

 protected:
  QWidget* CreateControl(const DialogItemTemplate& item) override;
  void DoDataExchange(bool saveAndValidate) override;
  bool OnInitDialog() override;

  void timerEvent(QTimerEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void AddAboutToSystemMenu();
  void AddToolsToSystemMenu();
  void AddStepsToSystemMenu();
  void SetFormulaImage(const QPixmap& picture);
  void RedrawFormulaPicture();
  // From the keyboard the first entry starts selected, so that a screen
  // reader has an entry to speak.
  void ShowSystemMenu(const QPoint& globalPos, bool fromKeyboard);
  void NameControlsForScreenReaders();
  QLabel* StaticWithText(const char* text) const;
  void DefaultSysCommand(unsigned nID);
  bool IsOverDiagram(const QPoint& pos) const;

  WindowMenu m_systemMenu;
};
