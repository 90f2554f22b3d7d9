#include "desktop/windows/about_dlg.h"

#include "core/layout/resource.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(IDD_ABOUTBOX, parent) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(bool saveAndValidate) {
  DDX_Text(saveAndValidate, GetDlgItem(IDC_ABOUT_VERSION), m_strVersion);
}
