#include "desktop/windows/sentence_app.h"

int main(int argc, char** argv) {
  return RunApplication(argc, argv);
}
