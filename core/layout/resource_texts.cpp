#include "core/layout/resource_texts.h"

#include "core/layout/resource.h"

std::string LoadResourceString(int stringId) {
  return stringId == IDS_ABOUTBOX ? "&About Veridrift..." : "";
}

const std::array<const char*, kFormulaBitmapHeight> kFormulaBitmapRows = {
    "............................",  //
    "....#...#...................",  //
    "....#...#...................",  //
    ".....#.#....####.....#....##",  //
    "......#.....#...#....#.....#",  //
    ".....#.#....#...#..#####...#",  //
    "....#...#...#...#....#.....#",  //
    "....#...#...#...#....#.....#",  //
    "............................",  //
    "............................",  //
    "............................",  //
};
