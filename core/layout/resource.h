// Resource and control ids of the main window and the About box.
#pragma once

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_SENTENCE_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDB_FORMULA = 132;
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
// Window-menu commands of the tool's own small windows, beside About.
inline constexpr unsigned IDM_RUNREPORT = 0x0100;
inline constexpr unsigned IDM_SAVEDIAGRAMS = 0x0110;
inline constexpr unsigned IDM_ORBITDIAGRAM = 0x0120;
// Stepping through a run by hand, and f∘f on the web diagram.
inline constexpr unsigned IDM_STEPFORWARD = 0x0130;
inline constexpr unsigned IDM_STEPBACK = 0x0140;
inline constexpr unsigned IDM_GOTOSTEP = 0x0150;
inline constexpr unsigned IDM_SECONDITERATE = 0x0160;

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDC_WEB_PLACEHOLDER = 1000;
inline constexpr int IDC_SERIES_PLACEHOLDER = 1001;
inline constexpr int IDC_SENTENCE_COMBO = 1002;
inline constexpr int IDC_ESTIMATE_EDIT = 1003;
inline constexpr int IDC_DEGREE_EDIT = 1004;
inline constexpr int IDC_GRAPH_BUTTON = 1005;
inline constexpr int IDC_RESTART_BUTTON = 1006;
inline constexpr int IDC_TRUTH_WORD = 1012;
inline constexpr int IDC_DEGREE_LABEL = 1013;
inline constexpr int IDC_OUTPUT = 1014;
inline constexpr int IDC_SHOW_OUTPUT = 1015;
inline constexpr int IDC_FORMULA_PICTURE = 1016;
inline constexpr int IDC_ABOUT_VERSION = 1019;
