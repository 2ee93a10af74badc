// Replays every file of the given corpus directories (or files) through the fuzz target,
// so the seed corpora run in every build without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <boost/filesystem.hpp>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Replay(const boost::filesystem::path& file) {
  std::ifstream in(file.string(), std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int inputs = 0;
  for (int i = 1; i < argc; ++i) {
    const boost::filesystem::path path(argv[i]);
    if (boost::filesystem::is_directory(path)) {
      for (const auto& entry : boost::filesystem::directory_iterator(path)) {
        Replay(entry.path());
        ++inputs;
      }
    } else {
      Replay(path);
      ++inputs;
    }
  }
  std::printf("replayed %d inputs\n", inputs);
  return inputs > 0 ? 0 : 1;
}
