// The window menu and the About box: which system commands open it, what it
// shows, and where the window menu can be opened.
#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "core/layout/resource.h"
#include "desktop/windows/about_dlg.h"
#include "desktop/windows/window_menu.h"
#include "main_window_fixture.h"

namespace {

using WindowMenuAndAbout = MainWindowTest;

// Stands in for the person in front of the About box: records what opened.
struct AboutRecorder {
  AboutRecorder() {
    CDialog::SetModalHook([this](CDialog& box) {
      ++opened;
      title = box.windowTitle();
      if (auto* version = qobject_cast<QLabel*>(box.GetDlgItem(IDC_ABOUT_VERSION))) {
        versionLine = version->text();
      }
      return IDOK;
    });
  }
  ~AboutRecorder() { CDialog::SetModalHook(nullptr); }
  int opened = 0;
  QString title;
  QString versionLine;
};

struct SysCommandCase {
  const char* name;
  unsigned command;
  bool opensAbout;
};

class SystemCommand : public MainWindowTest,
                      public ::testing::WithParamInterface<SysCommandCase> {};

TEST_P(SystemCommand, OnlyTheAboutCommandsOpenTheAboutBox) {
  AboutRecorder about;
  dialog->OnSysCommand(GetParam().command, 0);
  EXPECT_EQ(about.opened, GetParam().opensAbout ? 1 : 0);
  EXPECT_TRUE(dialog->isVisible());
  if (GetParam().opensAbout) {
    EXPECT_EQ(about.title, "About Veridrift");
    EXPECT_EQ(about.versionLine, "Sep 28 2003 Build");
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, SystemCommand,
                         ::testing::Values(SysCommandCase{"about", IDM_ABOUTBOX, true},
                                           SysCommandCase{"about_low_bits_ignored", 0x001F, true},
                                           SysCommandCase{"next_command", 0x0020, false},
                                           SysCommandCase{"below", 0x000F, false},
                                           SysCommandCase{"unknown_system_command", 0xF180, false}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(WindowMenuAndAbout, MinimizeCommandMinimisesTheWindow) {
  dialog->OnSysCommand(SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitFor([&] { return dialog->isMinimized(); }));
  dialog->OnSysCommand(SC_RESTORE, 0);
  EXPECT_TRUE(WaitFor([&] { return !dialog->isMinimized(); }));
}

TEST_F(WindowMenuAndAbout, CloseCommandEndsTheModalLoop) {
  int result = -100;
  QTimer::singleShot(50, dialog.get(), [&] { dialog->OnSysCommand(SC_CLOSE, 0); });
  QTimer::singleShot(5000, dialog.get(), [&] { dialog->done(-2); });  // never hang
  result = dialog->exec();
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(dialog->isVisible());
}

TEST_F(WindowMenuAndAbout, WindowMenuEntriesAfterInitialisation) {
  std::vector<unsigned> commands;
  for (const auto& entry : dialog->SystemMenu()) {
    commands.push_back(entry.command);
  }
  EXPECT_EQ(commands,
            (std::vector<unsigned>{SC_RESTORE, SC_MOVE, SC_MINIMIZE, IDM_ABOUTBOX, IDM_RUNREPORT,
                                   IDM_ORBITDIAGRAM, IDM_SAVEDIAGRAMS, IDM_STEPFORWARD,
                                   IDM_STEPBACK, IDM_GOTOSTEP, IDM_SECONDITERATE, 0, SC_CLOSE}));
  EXPECT_EQ(dialog->SystemMenu()[3].text, "&About Veridrift...");
}

// Opens a context menu at `local` of `target` as a right click does, and
// returns the texts of the popup that shows, choosing the entry `choose`
// (or none). An empty list: no menu opened.
QStringList RightClick(QWidget* target, QPoint local, const QString& choose = {},
                       QContextMenuEvent::Reason reason = QContextMenuEvent::Mouse) {
  QStringList texts;
  bool done = false;
  QTimer::singleShot(0, target, [&] {
    (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 500);
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      QAction* chosen = nullptr;
      for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (!choose.isEmpty() && action->text() == choose) {
          chosen = action;
        }
      }
      if (chosen != nullptr) {
        menu->setActiveAction(chosen);
        QTest::keyClick(menu, Qt::Key_Return);
      } else {
        menu->close();
      }
    }
    done = true;
  });
  QContextMenuEvent event(reason, local, target->mapToGlobal(local));
  QApplication::sendEvent(target, &event);
  (void)QTest::qWaitFor([&] { return done; }, 2000);
  return texts;
}

TEST_F(WindowMenuAndAbout, RightClickOnTheFreeAreaOffersMinimizeAboutAndClose) {
  const QStringList expected = {"Mi&nimize",         "&About Veridrift...",
                                "&Run Report...",    "&Orbit Diagram...",
                                "&Save Diagrams...", "Step &Forward\t.",
                                "Step &Back\t,",     "&Go to Step...\tJ",
                                "Show f&∘f",         "-",
                                "&Close\tAlt+F4"};
  EXPECT_EQ(RightClick(dialog.get(), QPoint(2, 2)), expected);
  QWidget* label = Item(IDC_DEGREE_LABEL);
  EXPECT_EQ(RightClick(label, label->rect().center()), expected) << "a static text is free area";
}

TEST_F(WindowMenuAndAbout, AboutEntryOfTheWindowMenuOpensTheAboutBox) {
  AboutRecorder about;
  RightClick(dialog.get(), QPoint(2, 2), "&About Veridrift...");
  EXPECT_TRUE(WaitFor([&] { return about.opened == 1; }));
  EXPECT_EQ(about.versionLine, "Sep 28 2003 Build");
}

TEST_F(WindowMenuAndAbout, RightClickOnADiagramOpensNothing) {
  for (int id : {IDC_WEB_PLACEHOLDER, IDC_SERIES_PLACEHOLDER}) {
    QWidget* placeholder = Item(id);
    QWidget* view = placeholder->childAt(placeholder->rect().center());
    QWidget* target = view != nullptr ? view : placeholder;
    EXPECT_TRUE(RightClick(target, target->rect().center()).isEmpty()) << id;
  }
}

TEST_F(WindowMenuAndAbout, ShiftF10OnAButtonOpensTheWindowMenu) {
  QWidget* graph = Item(IDC_GRAPH_BUTTON);
  graph->setFocus();
  ASSERT_TRUE(WaitFor([&] { return graph->hasFocus(); }));
  QStringList texts;
  QTimer::singleShot(0, graph, [&] {
    (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 1000);
    if (QWidget* popup = QApplication::activePopupWidget()) {
      for (QAction* action : popup->actions()) {
        texts << action->text();
      }
      popup->close();
    }
  });
  QTest::keyClick(graph, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(texts.contains("&About Veridrift..."));
  EXPECT_EQ(qobject_cast<QPushButton*>(graph)->text(), "&Graph") << "no key reached the button";
}

TEST(AboutBox, ShowsNameVersionCreditAndIcon) {
  CAboutDlg about;
  about.m_strVersion = "Sep 28 2003 Build";
  ASSERT_TRUE(about.Create());
  EXPECT_EQ(about.windowTitle(), "About Veridrift");
  EXPECT_EQ(about.size(), about.MapDialogRect(QRect(0, 0, 235, 55)).size());
  EXPECT_EQ(qobject_cast<QLabel*>(about.GetDlgItem(IDC_ABOUT_VERSION))->text(),
            "Sep 28 2003 Build");
  QStringList texts;
  for (QLabel* label : about.findChildren<QLabel*>()) {
    if (!label->pixmap().isNull()) {
      EXPECT_EQ(label->pixmap().size(), QSize(32, 32)) << "the icon at its large size";
    } else {
      texts << label->text();
    }
  }
  EXPECT_TRUE(texts.contains("Veridrift"));
  EXPECT_EQ(texts.size(), 3) << "name, version and credit line";
  auto* ok = qobject_cast<QPushButton*>(about.GetDlgItem(IDOK));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isDefault());
}

TEST(AboutBox, EnterClosesItAndReadsTheVersionBack) {
  CAboutDlg about;
  about.m_strVersion = "Sep 28 2003 Build";
  QTimer::singleShot(0, &about, [&] {
    (void)QTest::qWaitForWindowExposed(&about);
    QTest::keyClick(&about, Qt::Key_Return);
  });
  QTimer::singleShot(5000, &about, [&] { about.done(-2); });  // never hang
  EXPECT_EQ(about.DoModal(), IDOK);
  EXPECT_EQ(about.m_strVersion, "Sep 28 2003 Build");
}

TEST(AboutBox, EscapeCancelsIt) {
  CAboutDlg about;
  QTimer::singleShot(0, &about, [&] {
    (void)QTest::qWaitForWindowExposed(&about);
    QTest::keyClick(&about, Qt::Key_Escape);
  });
  QTimer::singleShot(5000, &about, [&] { about.done(-2); });
  EXPECT_EQ(about.DoModal(), IDCANCEL);
}

}  // namespace
