// A static text panel painted in its own colours and font, as the output log
// shows it: text from the top-left corner, broken at each line feed and
// wrapped at word boundaries, the background filling the whole panel.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

class CColorStatic : public QLabel {
  Q_OBJECT

 public:
  // Two zero arguments select white text on black. Any other pair gives the
  // colours as 0x00BBGGRR values, background first.
  CColorStatic(unsigned backColor = 0, unsigned textColor = 0, QWidget* parent = nullptr);
  ~CColorStatic() override;

  // The panel's own font, a point size given in tenths of a point; it stays
  // whatever font the window around the panel uses. A face that is not
  // installed is substituted by the font configuration.
  void SetTextFont(int tenthsOfPoint, const char* faceName);
  // Makes the font smaller, a pixel at a time, until lineCount lines laid out
  // as the panel lays out its text fit its height: a substitute face can be
  // taller than the one the panel was drawn up for. Never below a legible
  // floor.
  void FitTextLines(int lineCount);

  QColor BackColor() const { return m_backColor; }
  QColor TextColor() const { return m_textColor; }

 private:
  QColor m_backColor;
  QColor m_textColor;
  QFont m_font;
};
