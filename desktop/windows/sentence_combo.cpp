#include "desktop/windows/sentence_combo.h"

#include <QContextMenuEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

CSentenceCombo::CSentenceCombo(QWidget* parent) : QComboBox(parent) {
  // Every caption stays visible when the list drops down.
  setMaxVisibleItems(10);
}

void CSentenceCombo::SetSelectionFieldHeight(int itemHeight) {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QSize content(width(), itemHeight);
  const int frameHeight =
      style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, this).height();
  setFixedHeight(frameHeight);
}

void CSentenceCombo::showPopup() {
  emit dropDown();
  QComboBox::showPopup();
}

void CSentenceCombo::contextMenuEvent(QContextMenuEvent* event) {
  event->ignore();
}
