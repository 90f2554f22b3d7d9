// What an orbit picture shows and what it holds once computed: plain data,
// shared by the composition of the picture and the threads that compute it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/orbit/orbit_columns.h"

// What to draw: the columns of `request` over the values [low, high] in
// `rows` rows of dots and `stripRows` rows of Lyapunov strip.
struct OrbitView {
  OrbitRequest request;
  double low = 0.0;
  double high = 1.0;
  int rows = 1;
  int stripRows = 1;
};

struct OrbitPicture {
  OrbitView view;
  std::uint64_t generation = 0;
  std::vector<OrbitColumn> columns;
  std::vector<std::uint8_t> dots;   // request.columns x rows, row 0 on top; OrbitPalette()
  std::vector<std::uint8_t> strip;  // request.columns x stripRows
};
