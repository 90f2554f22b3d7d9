#include "core/layout/dialog_templates.h"

#include "core/layout/resource.h"
#include "core/numbers/sentence.h"

namespace {

constexpr unsigned kChild = WS_CHILD | WS_VISIBLE;

constexpr DialogItemTemplate kSentenceItems[] = {
    {IDC_SENTENCE_COMBO, ControlClass::kComboBox, 83, 7, 221, 130,
     kChild | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT, "", 0},
    {IDC_DEGREE_EDIT, ControlClass::kEdit, 256, 29, 29, 12,
     kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, "", 0},
    {IDC_ESTIMATE_EDIT, ControlClass::kEdit, 256, 46, 30, 12,
     kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, "", 0},
    {IDC_GRAPH_BUTTON, ControlClass::kButton, 196, 69, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON,
     "&Graph", 0},
    {IDC_RESTART_BUTTON, ControlClass::kButton, 252, 69, 50, 14,
     kChild | WS_TABSTOP | BS_PUSHBUTTON, "&Restart", 0},
    {IDC_SHOW_OUTPUT, ControlClass::kButton, 189, 95, 60, 10, kChild | WS_TABSTOP | BS_AUTOCHECKBOX,
     "Show Output", 0},
    {IDC_STATIC, ControlClass::kStatic, 22, 9, 58, 8, kChild | WS_GROUP | SS_LEFT,
     "Pick a sentence:", 0},
    {IDC_SERIES_PLACEHOLDER, ControlClass::kStatic, 7, 26, 175, 61, kChild | SS_BLACKRECT, "", 0},
    {IDC_WEB_PLACEHOLDER, ControlClass::kStatic, 7, 93, 175, 161, kChild | SS_BLACKRECT, "", 0},
    {IDC_OUTPUT, ControlClass::kStatic, 189, 111, 128, 143, kChild | WS_GROUP | SS_LEFT, "Static",
     0},
    {IDC_DEGREE_LABEL, ControlClass::kStatic, 198, 31, 56, 8, kChild | WS_GROUP | SS_LEFT,
     "This sentence is", 0},
    {IDC_STATIC, ControlClass::kStatic, 198, 47, 52, 8, kChild | WS_GROUP | SS_LEFT,
     "Initial estimate:", 0},
    {IDC_TRUTH_WORD, ControlClass::kStatic, 288, 31, 19, 8, kChild | WS_GROUP | SS_LEFT, "true", 0},
    {IDC_FORMULA_PICTURE, ControlClass::kStatic, 189, 112, 11, 11, kChild | SS_BITMAP, "", 0},
};

constexpr DialogItemTemplate kAboutItems[] = {
    {IDC_STATIC, ControlClass::kStatic, 11, 17, 20, 20, kChild | SS_ICON, "", IDR_MAINFRAME},
    {IDOK, ControlClass::kButton, 178, 7, 50, 14, kChild | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON,
     "OK", 0},
    {IDC_STATIC, ControlClass::kStatic, 41, 11, 119, 8, kChild | WS_GROUP | SS_LEFT | SS_NOPREFIX,
     "Veridrift", 0},
    {IDC_ABOUT_VERSION, ControlClass::kStatic, 41, 23, 119, 8, kChild | WS_GROUP | SS_LEFT,
     "<version / date>", 0},
    {IDC_STATIC, ControlClass::kStatic, 41, 34, 85, 8, kChild | WS_GROUP | SS_LEFT,
     "Truth in degrees", 0},
};

std::vector<std::string> TemplateCaptions() {
  std::vector<std::string> captions;
  for (SentenceKind i = 0; i < kSentenceCount; ++i) {
    captions.emplace_back(TemplateCaption(i));
  }
  return captions;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int templateId) {
  static const DialogTemplate kSentenceDialog{
      "Veridrift",
      0,
      0,
      324,
      261,
      "Verdana",
      10,
      WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT,
      WS_EX_APPWINDOW,
      kSentenceItems,
      IDC_SENTENCE_COMBO,
      TemplateCaptions()};
  static const DialogTemplate kAboutBox{
      "About Veridrift",
      0,
      0,
      235,
      55,
      "MS Sans Serif",
      8,
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
      0,
      kAboutItems,
      0,
      {}};
  switch (templateId) {
    case IDD_SENTENCE_DIALOG:
      return &kSentenceDialog;
    case IDD_ABOUTBOX:
      return &kAboutBox;
    default:
      return nullptr;
  }
}
