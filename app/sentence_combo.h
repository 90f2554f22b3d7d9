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

 signals:
  void dropDown();
};
