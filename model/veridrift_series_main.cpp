#include <iostream>

#include "series_command.h"

int main(int argc, char** argv) {
  return RunSeriesCommand(argc, argv, std::cout, std::cerr);
}
