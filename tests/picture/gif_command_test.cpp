// veridrift-series --picture ... --output FILE.gif as users run it, with no
// display: every frame, decoded by giflib, is the PNG of the same step pixel
// for pixel; delays and loops as asked; bad requests and failed writes leave
// nothing new behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "gif_frames.h"

namespace {

struct Outcome {
  int status = -1;
  QString err;
};

Outcome RunTool(const QStringList& arguments, const QStringList& environment = {}) {
  QProcess process;
  QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
  variables.remove(QStringLiteral("DISPLAY"));
  variables.remove(QStringLiteral("WAYLAND_DISPLAY"));
  for (const QString& setting : environment) {
    variables.insert(setting.section('=', 0, 0), setting.section('=', 1));
  }
  process.setProcessEnvironment(variables);
  process.start(QStringLiteral(VERIDRIFT_SERIES_EXE), arguments);
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError())};
}

class GifCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  QString File(const QString& name) const { return folder.filePath(name); }
  QStringList Entries() const {
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
  }
  QTemporaryDir folder;
};

struct FramesCase {
  const char* name;
  QStringList run;  // SENTENCE DEGREE ESTIMATE
  const char* view;
  int first;
  int last;
  QStringList pace;  // --delay and --loop as given
  int delay;         // hundredths of a second expected
  int loops;
};

TEST_F(GifCommand, FramesAreThePngsOfTheSameSteps) {
  const FramesCase cases[] = {
      // from step 0, frame and curve alone, then the trace a step at a time
      {"WebFromZero", {"0", "0.30", "0.90"}, "web", 0, 6, {}, 50, 0},
      // a page of the series ends and the next begins
      {"SeriesAcrossAPage", {"3", "0.30", "0.90"}, "series", 47, 53, {"--loop", "2"}, 50, 2},
      // both views, up to the last step, the slowest pace and most loops
      {"BothToTheEnd",
       {"9", "0.30", "0.91"},
       "both",
       995,
       1000,
       {"--delay", "60000", "--loop", "65535"},
       6000,
       65535},
      // a whole run, the web's trace drawn on top step by step
      {"WebWholeRun", {"3", "0.30", "0.90"}, "web", 0, 1000, {"--delay", "10"}, 1, 0},
      // --step with a .gif: one frame
      {"OneFrame", {"0", "0.30", "0.90"}, "both", 7, 7, {"--delay", "120"}, 12, 0},
  };
  for (const FramesCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QString gif = File(QStringLiteral("%1.gif").arg(c.name));
    const QStringList steps =
        c.first == c.last
            ? QStringList{"--step", QString::number(c.first)}
            : QStringList{"--steps", QStringLiteral("%1..%2").arg(c.first).arg(c.last)};
    const Outcome animation =
        RunTool(QStringList{"--picture", c.view, "--output", gif} + steps + c.pace + c.run);
    ASSERT_EQ(animation.status, 0) << animation.err.toStdString();
    EXPECT_TRUE(animation.err.isEmpty()) << animation.err.toStdString();
    const QString pngs = File(QStringLiteral("%1-%d.png").arg(c.name));
    const Outcome pictures =
        RunTool(QStringList{"--picture", c.view, "--output", pngs, "--steps",
                            QStringLiteral("%1..%2").arg(c.first).arg(c.last)} +
                c.run);
    ASSERT_EQ(pictures.status, 0) << pictures.err.toStdString();

    const GifFrames read = ReadGifFrames(gif);
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.version, QByteArray("GIF89a"));
    EXPECT_EQ(read.loops, c.loops);
    ASSERT_EQ(static_cast<int>(read.frames.size()), c.last - c.first + 1);
    for (int step = c.first; step <= c.last; ++step) {
      const std::size_t i = static_cast<std::size_t>(step - c.first);
      const QImage png = QImage(QString(pngs).replace("%d", QString::number(step)))
                             .convertToFormat(QImage::Format_RGB32);
      ASSERT_FALSE(png.isNull()) << "step " << step;
      ASSERT_EQ(read.frames[i].size(), png.size()) << "step " << step;
      ASSERT_TRUE(read.frames[i] == png) << "step " << step;
      ASSERT_EQ(read.delays[i], c.delay) << "step " << step;
    }
  }
}

TEST_F(GifCommand, RefusedRequestsAndFailedWritesLeaveNothingNew) {
  struct Bad {
    const char* name;
    QStringList arguments;
    QStringList environment;
    int status;
    const char* says;
  };
  const QString gif = File("old.gif");
  const QStringList web{"--picture", "web", "--steps", "0..9"};
  const Bad cases[] = {
      {"DelayTooShort", web + QStringList{"--delay", "0", "--output", gif}, {}, 2, "--delay"},
      {"DelayBetweenHundredths",
       web + QStringList{"--delay", "15", "--output", gif},
       {},
       2,
       "in steps of 10"},
      {"DelayTooLong", web + QStringList{"--delay", "60010", "--output", gif}, {}, 2, "--delay"},
      {"LoopBelowZero", web + QStringList{"--loop", "-1", "--output", gif}, {}, 2, "--loop"},
      {"PaceForAPng",
       web + QStringList{"--delay", "100", "--output", File("w%d.png")},
       {},
       2,
       "for a .gif"},
      {"SizeOfBoth",
       {"--picture", "both", "--step", "3", "--size", "20x20", "--output", gif},
       {},
       2,
       "--size"},
      {"FolderNotThere",
       web + QStringList{"--output", File("none/d.gif")},
       {},
       2,
       "no such folder"},
      // Even root cannot make files there.
      {"FolderNobodyWrites",
       web + QStringList{"--output", "/proc/d.gif"},
       {},
       2,
       "cannot write /proc/d.gif"},
  };
  for (const Bad& bad : cases) {
    SCOPED_TRACE(bad.name);
    {
      QFile old(gif);
      ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
      old.write("an old file");
    }
    const Outcome outcome =
        RunTool(bad.arguments + QStringList{"0", "0.30", "0.90"}, bad.environment);
    EXPECT_EQ(outcome.status, bad.status);
    EXPECT_TRUE(outcome.err.startsWith("veridrift-series: ")) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(QLatin1String(bad.says))) << outcome.err.toStdString();
    EXPECT_EQ(outcome.err.count('\n'), 1) << outcome.err.toStdString();
    EXPECT_EQ(Entries(), QStringList{"old.gif"}) << Entries().join(' ').toStdString();
    QFile old(gif);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("an old file"));
  }
}

}  // namespace
