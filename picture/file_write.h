// Files written whole or not at all: each first to a temporary file beside
// its place, all renamed into place only when every one is written.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// How a write of picture files ended.
enum class WriteOutcome {
  kWritten,     // every file in place
  kNotDrawn,    // a picture could not be drawn
  kNotWritten,  // a file could not be made or put in place
  kCancelled,   // the progress callback stopped it
};

// What one file is to hold, or why it cannot.
struct FileContent {
  WriteOutcome outcome = WriteOutcome::kWritten;
  std::vector<unsigned char> bytes;
  std::string why;  // for kNotDrawn and kNotWritten
};

// Makes the content of the index-th path, once, when its turn comes.
using ContentMaker = std::function<FileContent(std::size_t index)>;

// A failure leaves no new file and every old one as it was, with *error
// saying why in a line: "cannot write PATH: ...", "cannot draw PATH: ..."
// or "cancelled".
WriteOutcome WriteFilesInPlace(const std::vector<std::string>& paths, const ContentMaker& make,
                               std::string* error);
