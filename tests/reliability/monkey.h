// A randomized user of the real main window: a seeded sequence of keys,
// clicks, pastes, picker changes and focus changes, and after each of them a
// look at everything that must always hold.
#pragma once

#include <cstdint>
#include <random>
#include <string>

class CSentenceDlg;
class QWidget;

class Monkey {
 public:
  Monkey(CSentenceDlg& dialog, std::uint32_t seed);

  // Takes one random action and returns what it did, for the replay log. The
  // random draws depend on the seed alone, never on what the window shows,
  // so that a seed replays the same actions.
  std::string Act();
  // Every rule that must hold between actions; empty when all hold.
  std::string Check() const;

  // How often each kind of action was taken, for the report.
  std::string Tally() const;

 private:
  std::string TypeKey();
  std::string ClickButton();
  std::string ClickField();
  std::string PickerKeys();
  std::string PickerPopup();
  std::string Paste();
  std::string Wait();
  std::string WindowMenu();
  std::string RunToTheEnd();
  std::string HoldKey();

  int Draw(int below) { return static_cast<int>(m_random() % static_cast<unsigned>(below)); }
  std::string RandomClipboardText();
  QWidget* Item(int id) const;
  QWidget* FocusTarget() const;
  // Lets the workers' repaints and notifications through, as the event loop
  // between two user actions would.
  void Settle(int ms) const;

  CSentenceDlg& m_dialog;
  std::mt19937 m_random;
  static constexpr int kKinds = 10;
  int m_counts[kKinds] = {};
};
