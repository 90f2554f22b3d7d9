// The sentence picker: a drop-down list that tells its owner when its list
// is about to open (CBN_DROPDOWN), whether or not a sentence is then chosen.
#pragma once

#include <QComboBox>

class CSentenceCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit CSentenceCombo(QWidget* parent = nullptr);

  // CB_SETITEMHEIGHT for the selection field: the field shows itemHeight
  // pixels of text inside its frame.
  void SetSelectionFieldHeight(int itemHeight);

  void showPopup() override;

 protected:
  // A drop-down list has no menu of its own: the request goes on to the
  // window, as a right click or Shift+F10 on a button does.
  void contextMenuEvent(QContextMenuEvent* event) override;

 signals:
  void dropDown();
};
