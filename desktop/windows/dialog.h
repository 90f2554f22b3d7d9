// A dialog window built from one of the application's templates: the
// controls are created in template order (which is also the tab order) at
// their rectangles in dialog units of the template's font, and values move
// between members and controls by data exchange, as desktop dialogs do.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "core/layout/dialog_templates.h"
#include "desktop/windows/dialog_units.h"

class QAbstractButton;

class CDialog : public QDialog {
  Q_OBJECT

 public:
  CDialog(int templateId, QWidget* parent);
  ~CDialog() override;

  // Creates the window's controls and runs OnInitDialog, once; false when the
  // template does not exist.
  bool Create();
  // Creates the window if needed and runs it modally: IDOK, IDCANCEL, or -1
  // when it could not be created.
  int DoModal();

  // Lets tests stand in for a person: while set, DoModal creates the window
  // and hands it to the hook instead of running the modal loop itself.
  using ModalHook = std::function<int(CDialog&)>;
  static void SetModalHook(ModalHook hook);

  // The control with the given template id (the first, for -1); null if none.
  QWidget* GetDlgItem(int id) const;
  // true: read the controls into the members; false: show the members.
  void UpdateData(bool saveAndValidate);

  DialogBaseUnits BaseUnits() const { return m_baseUnits; }
  QRect MapDialogRect(const QRect& units) const { return ::MapDialogRect(units, m_baseUnits); }
  int TemplateId() const { return m_templateId; }

  // The id a control was created with; IDC_STATIC for anything else.
  static int ControlId(const QWidget* control);

 protected:
  // The control for a template item. The default makes the standard control
  // of the item's class and style; a subclass returns its own member objects
  // for the controls it binds.
  virtual QWidget* CreateControl(const DialogItemTemplate& item);
  virtual void DoDataExchange(bool saveAndValidate);
  // Runs after the controls exist; true gives the focus to the first control
  // in the tab order.
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  static void DDX_Text(bool saveAndValidate, QWidget* control, QString& value);
  static void DDX_Check(bool saveAndValidate, QWidget* control, int& value);

  void setVisible(bool visible) override;
  // Closing the window, Escape and a template's OK button end the modal
  // loop through OnCancel and OnOK, with IDCANCEL and IDOK.
  void accept() override;
  void reject() override;

 private:
  void CreateControls(const DialogTemplate& dialogTemplate);
  void PlaceControl(QWidget* control, const DialogItemTemplate& item);

  int m_templateId;
  bool m_created = false;
  DialogBaseUnits m_baseUnits;
};
