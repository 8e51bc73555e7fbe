// Fuzz target: the session's QCF reader and the quote list window's reader on any bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "download/qcf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  static const std::string path = "/tmp/quova_qcf_fuzz_" + std::to_string(getpid()) + ".qcf";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  QcfInput in;
  in.configError = [](std::string_view) {};
  in.importMode = size > 0 && data[0] == 'I';
  in.options.fill(size > 1 && (data[1] & 1));
  DownloadSettings s;
  ReadSessionQCF(path, in, &s);
  ListQcf q;
  GetQCF(path, in.options, &q);
  return 0;
}
