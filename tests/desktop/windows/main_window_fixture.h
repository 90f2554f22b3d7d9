// A fresh main window for each test, shown on the X display, with the
// process-wide values it reads set back to their start-up state.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>

#include "core/log/output_log.h"
#include "desktop/animation/start_event.h"
#include "desktop/windows/sentence_dlg.h"
#include "hang_bound.h"

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

// This test program's own start event (a running application has another).
const std::string& TestStartEventName();

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_selectedSentence = 0;
    g_logLineOpen = false;
    // A window of an earlier test may have left the animation signalled.
    OpenStartEvent(TestStartEventName())->Reset();
    dialog = std::make_unique<CSentenceDlg>();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get(), HangBoundMs(5000)));
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get(), HangBoundMs(5000)));
  }
  void TearDown() override {
    CDialog::SetModalHook(nullptr);
    dialog.reset();
  }

  QWidget* Item(int id) const { return dialog->GetDlgItem(id); }
  static int IdOf(const QWidget* widget) { return CDialog::ControlId(widget); }

  // Waits on the event loop until the condition holds; timeoutMs is a hang
  // bound's base figure.
  static bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 3000) {
    return QTest::qWaitFor(condition, HangBoundMs(timeoutMs));
  }

  std::unique_ptr<CSentenceDlg> dialog;
};
