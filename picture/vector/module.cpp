// The entry point by which the command line finds the encoder once it has
// loaded this module.
#include "picture/vector/vector_encoder.h"

extern "C" __attribute__((visibility("default"))) VectorEncoder VeridriftVectorEncoder() {
  return EncodeVectorFile;
}
