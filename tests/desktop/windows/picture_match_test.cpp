// The command's PNG of a diagram at step n is, pixel for pixel, what the
// real main window shows of that view at step n after stepping there as the
// animation does; and Save Diagrams writes the same pixels from the window.
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <string>
#include <vector>

#include "core/layout/resource.h"
#include "core/numbers/number_text.h"
#include "desktop/views/diagram_view.h"
#include "desktop/windows/save_diagrams.h"
#include "gif_frames.h"
#include "main_window_fixture.h"

namespace {

struct RunCase {
  const char* name;
  SentenceKind sentence;
  float degree;
  float estimate;
};

// The trace closes into a rectangle drawn again at every step; a run that
// never repeats; one that converges.
const RunCase kRuns[] = {{"Rectangle", 0, 0.30f, 0.90f},
                         {"NeverRepeating", 3, 0.30f, 0.90f},
                         {"Converging", 9, 0.30f, 0.91f}};
const int kChecked[] = {0, 2, 3, 51, 1000};

QImage OnScreen(const QWidget* view) {
  const QWidget* window = view->window();
  const QPoint origin = view->mapTo(window, QPoint(0, 0));
  return window->screen()
      ->grabWindow(window->winId(), origin.x(), origin.y(), view->width(), view->height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

// The command as a user runs it over SSH: no display of any kind.
QImage CommandPicture(const RunCase& run, const char* view, int step, const QString& path,
                      QString* errors) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("DISPLAY"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(VERIDRIFT_SERIES_EXE),
                {"--picture", view, "--step", QString::number(step), "--output", path,
                 QString::number(run.sentence), QString::fromStdString(FormatFixed2(run.degree)),
                 QString::fromStdString(FormatFixed2(run.estimate))});
  if (!process.waitForFinished(30000) || process.exitCode() != 0) {
    *errors = QString::fromLocal8Bit(process.readAllStandardError());
    return QImage();
  }
  *errors = QString::fromLocal8Bit(process.readAllStandardError());
  return QImage(path).convertToFormat(QImage::Format_RGB32);
}

class PictureMatch : public MainWindowTest {};

TEST_F(PictureMatch, CommandPngIsTheWindowsPictureAtEachStep) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  CDiagramView* web = dialog->m_webView;
  CDiagramView* series = dialog->m_seriesView;
  for (const RunCase& run : kRuns) {
    web->ComputeSeries(run.degree, run.estimate, run.sentence);
    std::size_t next = 0;
    // Every step the animation paints, each picture built on the last.
    for (int counter = 0; counter <= kSeriesLength && next < std::size(kChecked);
         counter += counter == 0 ? 2 : 1) {
      web->m_stepCounter = counter;
      series->m_stepCounter = counter;
      web->repaint();
      series->repaint();
      if (counter != kChecked[next]) {
        continue;
      }
      ++next;
      for (const auto& [name, view] : {std::pair{"web", web}, std::pair{"series", series}}) {
        const QString path = folder.filePath(QStringLiteral("%1-%2.png").arg(name).arg(counter));
        QString errors;
        const QImage exported = CommandPicture(run, name, counter, path, &errors);
        const QImage shown = OnScreen(view);
        SCOPED_TRACE(std::string(run.name) + " " + name + " step " + std::to_string(counter));
        EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
        ASSERT_FALSE(exported.isNull());
        // The default size is the window's own, found without a window.
        EXPECT_EQ(exported.size(), shown.size());
        EXPECT_TRUE(exported == shown);
      }
    }
  }
}

TEST_F(PictureMatch, SaveDiagramsWritesBothViewsAsShown) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  CDiagramView* web = dialog->m_webView;
  CDiagramView* series = dialog->m_seriesView;
  web->ComputeSeries(0.30f, 0.90f, 3);
  for (int counter = 2; counter <= 77; ++counter) {
    web->m_stepCounter = counter;
    series->m_stepCounter = counter;
    web->repaint();
    series->repaint();
  }
  const QString path = folder.filePath(QStringLiteral("both.png"));
  QString error;
  ASSERT_TRUE(SaveDiagrams(*dialog, path, &error)) << error.toStdString();
  const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
  // The time series above the web, where the window has them.
  const QPoint seriesAt = series->mapTo(dialog.get(), QPoint(0, 0));
  const QPoint webAt = web->mapTo(dialog.get(), QPoint(0, 0));
  EXPECT_TRUE(saved.copy(QRect(QPoint(0, 0), series->size())) == OnScreen(series));
  EXPECT_TRUE(saved.copy(QRect(webAt - seriesAt, web->size())) == OnScreen(web));

  // A folder that is not there: the reason, and nothing written.
  EXPECT_FALSE(SaveDiagrams(*dialog, folder.filePath(QStringLiteral("none/both.png")), &error));
  EXPECT_TRUE(error.contains(QLatin1String("no such folder"))) << error.toStdString();
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(PictureMatch, SaveDiagramsWritesTheRunSoFarAsAGif) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  CDiagramView* web = dialog->m_webView;
  CDiagramView* series = dialog->m_seriesView;
  const RunCase run = kRuns[1];
  web->ComputeSeries(run.degree, run.estimate, run.sentence);
  const int shown = 12;
  for (int counter = 2; counter <= shown; ++counter) {
    web->m_stepCounter = counter;
    series->m_stepCounter = counter;
    web->repaint();
    series->repaint();
  }
  const QString path = folder.filePath(QStringLiteral("run.gif"));
  QString error;
  int told = 0;
  ASSERT_TRUE(SaveDiagrams(*dialog, path, &error, [&told](int done, int total) {
    EXPECT_EQ(done, ++told);
    EXPECT_EQ(total, shown + 1);
    return true;
  })) << error.toStdString();
  const GifFrames gif = ReadGifFrames(path);
  ASSERT_TRUE(gif.error.isEmpty()) << gif.error.toStdString();
  // Step 0 to the step shown, at the window's pace, forever.
  ASSERT_EQ(gif.frames.size(), static_cast<std::size_t>(shown + 1));
  EXPECT_EQ(gif.delays, std::vector<int>(shown + 1, 50));
  EXPECT_EQ(gif.loops, 0);
  const QPoint seriesAt = series->mapTo(dialog.get(), QPoint(0, 0));
  const QPoint webAt = web->mapTo(dialog.get(), QPoint(0, 0));
  EXPECT_TRUE(gif.frames.back().copy(QRect(QPoint(0, 0), series->size())) == OnScreen(series));
  EXPECT_TRUE(gif.frames.back().copy(QRect(webAt - seriesAt, web->size())) == OnScreen(web));
  // Each frame is the command's sheet of both views at that step.
  for (int step : {0, 2, 7, shown}) {
    SCOPED_TRACE("step " + std::to_string(step));
    QString errors;
    const QImage sheet = CommandPicture(
        run, "both", step, folder.filePath(QStringLiteral("both-%1.png").arg(step)), &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    EXPECT_TRUE(gif.frames[static_cast<std::size_t>(step)] == sheet);
  }

  // Cancelled part way: nothing new, not even a temporary file.
  const QStringList before = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_FALSE(SaveDiagrams(*dialog, folder.filePath(QStringLiteral("stopped.gif")), &error,
                            [](int done, int) { return done < 3; }));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), before);
}

TEST_F(PictureMatch, SaveDiagramsMenuWritesAGifWhileTheAnimationRuns) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  CDiagramView* web = dialog->m_webView;
  QWidget* graph = Item(IDC_GRAPH_BUTTON);
  graph->setFocus();
  QTest::keyClick(graph, Qt::Key_G);
  ASSERT_TRUE(WaitFor([&] { return web->m_stepCounter.load() >= 3; }));
  // A name typed without a suffix, the GIF filter chosen, as a person would.
  const QString typed = folder.filePath(QStringLiteral("run"));
  QTimer answer;
  // Typed into the dialog's name field, as a person would: the dialog reads
  // its folder in the background and may clear a name given it before.
  int tries = 0;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (name == nullptr || ++tries > 250) {
        ADD_FAILURE() << "the dialog took no name";
        files->reject();  // a failure, not a test that never ends
        return;
      }
      files->selectNameFilter(QStringLiteral("GIF animation (*.gif)"));
      name->setText(typed);
      static_cast<QDialog*>(files)->accept();  // as the Save button does
    }
  });
  answer.start(20);
  dialog->OnSaveDiagrams();
  answer.stop();
  const int stepWhenSaved = web->m_stepCounter.load();

  const GifFrames gif = ReadGifFrames(typed + QStringLiteral(".gif"));
  ASSERT_TRUE(gif.error.isEmpty()) << gif.error.toStdString();
  EXPECT_GE(gif.frames.size(), 4u);
  EXPECT_LE(gif.frames.size(), static_cast<std::size_t>(stepWhenSaved + 1));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"run.gif"});
  // The animation went on, and no dialog was left behind.
  EXPECT_TRUE(WaitFor([&] { return web->m_stepCounter.load() > stepWhenSaved; }));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
