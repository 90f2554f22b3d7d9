#include "view_sizes.h"

#include <QFont>

#include "dialog_templates.h"
#include "dialog_units.h"
#include "resource.h"

namespace {
constexpr int kScaleOneDotsPerInch = 96;
}

QSize DiagramViewSize(int placeholderId) {
  const DialogTemplate* dialog = FindDialogTemplate(IDD_SENTENCE_DIALOG);
  if (dialog == nullptr) {
    return QSize();
  }
  const DialogBaseUnits base =
      BaseUnitsOfFont(DialogFont(dialog->fontFace, dialog->pointSize, kScaleOneDotsPerInch));
  for (const DialogItemTemplate& item : dialog->items) {
    if (item.id == placeholderId) {
      // A black-rectangle placeholder has no frame: its client area is all of it.
      return MapDialogRect(QRect(item.x, item.y, item.cx, item.cy), base).size();
    }
  }
  return QSize();
}
