#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "picture/vector_writer.h"

namespace {

VectorEncoder g_encoder = nullptr;

// Where the module is installed: the same place relative to the program in
// the build folder and under any prefix.
std::string ModulePath() {
  char program[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
  if (length <= 0) {
    return "veridrift-vector.so";
  }
  std::string folder(program, static_cast<std::size_t>(length));
  folder.erase(folder.rfind('/'));
  return folder + "/../" VERIDRIFT_VECTOR_MODULE_DIR "/veridrift-vector.so";
}

}  // namespace

void UseVectorEncoder(VectorEncoder encoder) {
  g_encoder = encoder;
}

VectorEncoder LoadVectorEncoder(std::string* why) {
  if (g_encoder != nullptr) {
    return g_encoder;
  }
  const std::string path = ModulePath();
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    *why = "the SVG and PDF writer cannot be loaded: " + std::string(dlerror());
    return nullptr;
  }
  using Entry = VectorEncoder (*)();
  auto entry = reinterpret_cast<Entry>(dlsym(module, kVectorEncoderSymbol));
  if (entry == nullptr) {
    *why = "the SVG and PDF writer " + path + " has no entry point";
    return nullptr;
  }
  // Kept for the process: the encoder's code lives in the module.
  g_encoder = entry();
  return g_encoder;
}
