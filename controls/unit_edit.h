// A single-line field that holds a value in [0,1] with two decimals.
#pragma once

#include <QLineEdit>

class CUnitEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CUnitEdit(QWidget* parent = nullptr);
  ~CUnitEdit() override;

  // Shows the value as two-decimal text, normalised.
  void SetValue(float value);
  // What the first four characters of the text read as (locale-independent atof).
  double GetValue() const;

 signals:
  // EN_CHANGE: every change of the text, also a text set equal to the old one.
  void changed();
};
