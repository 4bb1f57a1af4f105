// Storing and reading a layer's text: trimmed, every CR LF held as the marker, and read back
// as given for texts without the marker's byte.
#include "fuzz/FuzzInput.h"
#include "model/Zelto.h"
#include "tests/support/FixedMetricsEngine.h"

#include <cstdlib>

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static FixedMetricsEngine engine;
  static TZeltoZelto zelto(8, 8, engine);
  const std::string given(reinterpret_cast<const char*>(data), size);
  const int32_t index = zelto.AddLayer(given);
  const TZeltoLayer& layer = zelto.GetLayer(index);

  const std::string& text = layer.Text;
  if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) std::abort();
  if (text.find("\r\n") != std::string::npos) std::abort();

  std::string_view trimmed = given;
  while (!trimmed.empty() && IsBlank(trimmed.front())) trimmed.remove_prefix(1);
  while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.remove_suffix(1);
  // The marker's byte stands for a line break wherever it comes; other texts read back as
  // given, and storing what was read back keeps the text as it is.
  if (given.find('\xFF') == std::string::npos) {
    if (layer.GetText() != trimmed) std::abort();
    const std::string before = text;
    zelto.GetLayer(index).SetText(layer.GetText());
    if (layer.Text != before) std::abort();
  }

  zelto.DeleteLayer(index);
  return 0;
}
