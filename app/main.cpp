#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle("Veridrift");
  dialog.exec();
  return 0;
}
