// Writes the application icon as PNG files for the desktop's icon theme, from
// the same pixels the window uses, so the two can never differ.
#include <QImage>
#include <cstdio>

#include "core/layout/resource.h"
#include "desktop/resources/resources.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_icons OUTPUT_DIRECTORY\n");
    return 2;
  }
  for (const int size : {16, 32}) {
    const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/icon-%1.png").arg(size);
    if (!LoadIconImage(IDR_MAINFRAME, size).save(path, "PNG")) {
      std::fprintf(stderr, "write_icons: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
