// A static text panel painted in its own colours and font.
#pragma once

#include <QLabel>

class CColorStatic : public QLabel {
  Q_OBJECT

 public:
  // Two zero arguments select white text on black.
  CColorStatic(unsigned backColor = 0, unsigned textColor = 0, QWidget* parent = nullptr);
  ~CColorStatic() override;

  void SetTextFont(int tenthsOfPoint, const char* faceName);
};
