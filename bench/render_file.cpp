// Renders the voice into a 16-bit stereo 44100 Hz WAV file, block by block as
// the stream does, starting a note whenever the last one has ended as the
// auto-play does. bench/side_by_side times it beside sox and csound.
//
//   render_file [--all-lfos] out.wav [seconds]     (default 600)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "synth/frame_renderer.h"
#include "synth/voice.h"
#include "tests/support/fresh_voice.h"

namespace {

constexpr int64_t kBlockFrames = 8192;

void putLittleEndian(unsigned char* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    at[i] = static_cast<unsigned char>(value >> (8 * i));
  }
}

// The 44-byte header of a PCM WAV file of `frames` 16-bit stereo frames.
std::vector<unsigned char> wavHeader(int64_t frames) {
  const auto dataBytes = static_cast<uint32_t>(frames * 4);
  std::vector<unsigned char> h(44);
  std::memcpy(h.data(), "RIFF", 4);
  putLittleEndian(&h[4], 36 + dataBytes, 4);
  std::memcpy(&h[8], "WAVEfmt ", 8);
  putLittleEndian(&h[16], 16, 4);  // format chunk length
  putLittleEndian(&h[20], 1, 2);   // PCM
  putLittleEndian(&h[22], 2, 2);   // channels
  putLittleEndian(&h[24], kMixRate, 4);
  putLittleEndian(&h[28], kMixRate * 4, 4);  // bytes per second
  putLittleEndian(&h[32], 4, 2);             // bytes per frame
  putLittleEndian(&h[34], 16, 2);            // bits per sample
  std::memcpy(&h[36], "data", 4);
  putLittleEndian(&h[40], dataBytes, 4);
  return h;
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  const bool allLfos = arg < argc && std::strcmp(argv[arg], "--all-lfos") == 0;
  arg += allLfos ? 1 : 0;
  if (arg >= argc) {
    std::fprintf(stderr, "usage: %s [--all-lfos] out.wav [seconds]\n", argv[0]);
    return 2;
  }
  const char* path = argv[arg];
  const double seconds = arg + 1 < argc ? std::atof(argv[arg + 1]) : 600.0;
  const auto frames = static_cast<int64_t>(seconds * kMixRate);

  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::perror(path);
    return 1;
  }
  const std::vector<unsigned char> header = wavHeader(frames);
  bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size();

  freshVoice();
  if (allLfos) {
    activateAllLfos();
  }
  std::vector<unsigned char> block(kBlockFrames * 4);
  for (int64_t done = 0; done < frames && written; done += kBlockFrames) {
    if (vca->gate == 0) {
      vca->noteOn();
    }
    const int64_t count = std::min(kBlockFrames, frames - done);
    renderFrames(block.data(), static_cast<int32_t>(count * 4));
    written = std::fwrite(block.data(), 4, count, file) == static_cast<size_t>(count);
  }
  if (std::fclose(file) != 0 || !written) {
    std::perror(path);
    return 1;
  }
  return 0;
}
