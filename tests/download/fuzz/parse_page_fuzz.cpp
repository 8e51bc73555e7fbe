// Fuzz target: ParseQuotesQCF over any page bytes under fixed QCFs (a line-mode table with
// AutoDate, ReplaceAll and modifiers, and an end-of-line-string page by options).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "download/page_parser.h"
#include "download/qcf.h"

namespace {

struct Sink : quova::ParseHooks {
  bool SaveQuoteLine(quova::QuoteData*, long& saved, int, long) override {
    ++saved;
    return true;
  }
};

void put(const std::string& path, const void* data, std::size_t size) {
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
}

const char* kQcfs[2] = {
    "ScreenForNumerics\nNoFractions\nReplaceAll=\"&amp;\" with \"&\"\nPage=x\nby_symbol\n+\n"
    "GroupTrigger=Last\nTriggerString=None\n3\nAutoDate\nAutoTime\n"
    "Symbol  Co_name  Last Close  Hi<  Vol Volume  1  Date  Time\nClose/3\nVolume*2\n"
    "GroupTrigger=Second\nQuoteType=AddOn\nNoTrigger\n1\nNoDate\nNoTime\nClose\n",
    "EndOfLineString=</tr>\nPage=x\nby_options\nGroupTrigger=Underlying\nTriggerString=None\n1\n"
    "NoDate\nNoTime\nCo_name  Close\nGroupTrigger=Calls\nTriggerString=None\n2\nNoDate\nNoTime\n"
    "ExpChar  ExpYr  Close\n"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  static const std::string dir = "/tmp/quova_page_fuzz_" + std::to_string(getpid());
  static quova::DownloadSettings settings[2];
  static bool ready = false;
  if (!ready) {
    for (int i = 0; i < 2; ++i) {
      put(dir + ".qcf", kQcfs[i], std::char_traits<char>::length(kQcfs[i]));
      QcfInput in;
      in.configError = [](std::string_view) {};
      ReadSessionQCF(dir + ".qcf", in, &settings[i]);
    }
    ready = true;
  }
  put(dir + ".htm", data, size);
  Sink sink;
  PageParser parser(settings[size > 0 ? data[0] & 1 : 0], sink, ParseSwitches{false, true, false});
  std::string notes;
  parser.parsed = [&](std::string_view t) { notes.append(t.substr(0, 64)); };
  parser.ParseQuotesQCF(dir + ".htm");
  return 0;
}
