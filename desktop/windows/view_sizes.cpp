#include "desktop/windows/view_sizes.h"

#include "core/layout/dialog_templates.h"
#include "core/layout/resource.h"
#include "desktop/windows/dialog_units.h"

QSize DiagramViewSize(int placeholderId) {
  return DiagramViewPlace(placeholderId).size();
}

QRect DiagramViewPlace(int placeholderId) {
  const DialogTemplate* dialog = FindDialogTemplate(IDD_SENTENCE_DIALOG);
  if (dialog == nullptr) {
    return QRect();
  }
  for (const DialogItemTemplate& item : dialog->items) {
    if (item.id == placeholderId) {
      // A black-rectangle placeholder has no frame: its client area is all of it.
      return TemplateRectInPixels(IDD_SENTENCE_DIALOG, QRect(item.x, item.y, item.cx, item.cy));
    }
  }
  return QRect();
}
