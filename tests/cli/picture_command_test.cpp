// veridrift-series --picture and --csv as users run them, with no display:
// what an SVG holds, what the CSV says, and how bad requests are refused.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <string>
#include <vector>

#include "core/numbers/series.h"
#include "picture/picture_export.h"
#include "picture/vector/vector_encoder.h"

namespace {

struct Outcome {
  int status = -1;
  QString out;
  QString err;
};

Outcome RunTool(const QStringList& arguments, const QStringList& unset = {}) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const QString& name : QStringList{"DISPLAY", "WAYLAND_DISPLAY"} + unset) {
    environment.remove(name);
  }
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(VERIDRIFT_SERIES_EXE), arguments);
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

// One straight line of a picture: where it starts and ends (pixels, top-left
// origin) and its colour as #rrggbb.
struct Line {
  QPointF from;
  QPointF to;
  QString colour;
};

std::vector<Line> LinesOfSvg(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  std::vector<QString> strokes{QStringLiteral("none")};
  std::vector<Line> lines;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == QLatin1String("g")) {
      strokes.pop_back();
    }
    if (!xml.isStartElement()) {
      continue;
    }
    const QXmlStreamAttributes attributes = xml.attributes();
    if (xml.name() == QLatin1String("g")) {
      strokes.push_back(attributes.hasAttribute("stroke") ? attributes.value("stroke").toString()
                                                          : strokes.back());
    } else if (xml.name() == QLatin1String("polyline")) {
      std::vector<QPointF> points;
      for (const QString& pair :
           attributes.value("points").toString().split(' ', Qt::SkipEmptyParts)) {
        const QStringList xy = pair.split(',');
        points.emplace_back(xy.value(0).toDouble(), xy.value(1).toDouble());
      }
      for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        lines.push_back({points[i], points[i + 1], strokes.back()});
      }
    } else if (xml.name() == QLatin1String("line")) {
      lines.push_back({{attributes.value("x1").toDouble(), attributes.value("y1").toDouble()},
                       {attributes.value("x2").toDouble(), attributes.value("y2").toDouble()},
                       strokes.back()});
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return lines;
}

// What OpenGL draws of the strokes: each segment that has a length, in the
// colour of the vertex it ends at, in the order sent.
std::vector<Line> LinesOfStrokes(const std::vector<Stroke>& strokes, QSizeF size) {
  std::vector<Line> lines;
  for (const Stroke& stroke : strokes) {
    const std::size_t step = stroke.primitive == Primitive::kLines ? 2 : 1;
    for (std::size_t i = 0; i + 1 < stroke.vertices.size(); i += step) {
      const ColouredVertex& a = stroke.vertices[i];
      const ColouredVertex& b = stroke.vertices[i + 1];
      if (a.x == b.x && a.y == b.y) {
        continue;
      }
      const QColor colour = QColor::fromRgbF(b.colour.r, b.colour.g, b.colour.b);
      lines.push_back({PicturePoint(a.x, a.y, size), PicturePoint(b.x, b.y, size), colour.name()});
    }
  }
  return lines;
}

bool Close(QPointF a, QPointF b) {
  // An SVG gives six significant digits.
  return std::abs(a.x() - b.x()) < 2e-3 && std::abs(a.y() - b.y()) < 2e-3;
}

struct SvgCase {
  const char* name;
  const char* view;
  int step;
  const char* size;  // "" for the default
  SentenceKind sentence;
};

class PictureCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  QString File(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
  QStringList Entries() const {
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
  }
  QTemporaryDir folder;
};

TEST_F(PictureCommand, SvgLinesAreTheDiagramsVerticesThroughTheProjection) {
  const SvgCase cases[] = {
      // frame, diagonal and curve only
      {"WebAtZero", "web", 0, "", 0},
      // the first red line from (x0, 0) up to the curve
      {"WebFirstLine", "web", 2, "", 0},
      // an orange step after it
      {"WebFirstStep", "web", 3, "", 0},
      // 997 steps in turning colours, the last one drawn on top
      {"WebWholeRun", "web", 1000, "", 3},
      // another size stretches the same projection
      {"WebWide", "web", 40, "700x200", 9},
      // a page of one value draws nothing, the next adds a segment
      {"SeriesOneValue", "series", 51, "", 3},
      {"SeriesTwoValues", "series", 52, "", 3},
      {"SeriesFullPage", "series", 999, "", 3},
      {"SeriesBlankPage", "series", 1000, "", 3},
  };
  for (const SvgCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = File("d.svg");
    QStringList arguments{"--picture", c.view, "--step", QString::number(c.step), "--output", path};
    if (*c.size != '\0') {
      arguments << "--size" << c.size;
    }
    arguments << QString::number(c.sentence) << "0.30"
              << "0.90";
    const Outcome outcome = RunTool(arguments);
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    ComputeSeriesValues(0.30f, 0.90f, c.sentence);
    const QSizeF size = *c.size != '\0'                ? QSizeF(700, 200)
                        : std::string(c.view) == "web" ? QSizeF(350, 322)
                                                       : QSizeF(350, 122);
    const std::vector<Line> expected =
        LinesOfStrokes(DiagramStrokes(std::string(c.view) == "web" ? 1 : 0, c.step), size);
    const std::vector<Line> found = LinesOfSvg(path);
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
      ASSERT_TRUE(Close(found[i].from, expected[i].from) && Close(found[i].to, expected[i].to))
          << "line " << i;
      ASSERT_EQ(found[i].colour, expected[i].colour) << "line " << i;
    }
  }
}

TEST_F(PictureCommand, CsvHoldsTheListingsValues) {
  const Outcome csv = RunTool({"--csv", "3", "0.30", "0.90"});
  const Outcome tab = RunTool({"3", "0.30", "0.90"});
  ASSERT_EQ(csv.status, 0);
  ASSERT_EQ(tab.status, 0);
  EXPECT_TRUE(csv.err.isEmpty());
  QStringList rows = csv.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), kSeriesLength + 1);
  EXPECT_EQ(rows.takeFirst(), QStringLiteral("step,value"));
  QStringList listing;
  for (const QString& line : tab.out.split('\n', Qt::SkipEmptyParts)) {
    if (!line.startsWith('#')) {
      listing << QString(line).replace('\t', ',');
    }
  }
  EXPECT_EQ(rows, listing);
}

TEST_F(PictureCommand, BadRequestsAreRefusedAndLeaveNothing) {
  struct Bad {
    const char* name;
    QStringList arguments;
    const char* says;
  };
  const QString png = File("d.png");
  const Bad cases[] = {
      {"StepPastTheSeries", {"--picture", "web", "--step", "1001", "--output", png}, "--step"},
      {"EmptySize",
       {"--picture", "web", "--step", "3", "--size", "0x0", "--output", png},
       "--size must be WIDTHxHEIGHT"},
      {"UnknownSuffix", {"--picture", "web", "--step", "3", "--output", File("d.bmp")}, ".bmp"},
      {"FolderNotThere",
       {"--picture", "web", "--step", "3", "--output", File("none/d.png")},
       "no such folder"},
      // Even root cannot make files there.
      {"FolderNobodyWrites",
       {"--picture", "web", "--step", "3", "--output", "/proc/d.png"},
       "cannot write /proc/d.png"},
      {"SequenceWithoutPlace",
       {"--picture", "series", "--steps", "2..4", "--output", png},
       "must contain %d"},
      {"RangeBackwards", {"--picture", "web", "--steps", "9..4", "--output", png}, "--steps"},
      {"NoSuchView", {"--picture", "cobweb", "--step", "3", "--output", png}, "--picture"},
      {"BadEstimate", {"--picture", "web", "--step", "3", "--output", png}, "ESTIMATE"},
  };
  for (const Bad& bad : cases) {
    SCOPED_TRACE(bad.name);
    QStringList arguments = bad.arguments;
    arguments << "0"
              << "0.30" << (std::string(bad.name) == "BadEstimate" ? "1.5" : "0.90");
    const Outcome outcome = RunTool(arguments);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(outcome.err.startsWith("veridrift-series: ")) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(QLatin1String(bad.says))) << outcome.err.toStdString();
    EXPECT_EQ(outcome.err.count('\n'), 1) << outcome.err.toStdString();
    EXPECT_TRUE(Entries().isEmpty()) << Entries().join(' ').toStdString();
  }
}

TEST_F(PictureCommand, NormalRunsSayNothingWithoutADisplay) {
  // No display, no runtime folder: nothing Qt or the driver might mention.
  const Outcome outcome = RunTool(
      {"--picture", "web", "--steps", "7..9", "--output", File("w%d.png"), "0", "0.30", "0.90"},
      {"XDG_RUNTIME_DIR"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err.toStdString(), "");
  EXPECT_EQ(Entries(), (QStringList{"w7.png", "w8.png", "w9.png"}));
}

}  // namespace
