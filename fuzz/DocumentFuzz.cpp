// Opening any bytes as a document, as the system's code page a double-byte one and UTF-8 in turn,
// and applying it to a composition as the windows do. What opens writes again, opens to the same
// content and selection, and written once more gives the same bytes; the composition becomes the
// document. What is refused, by the reader or by the composition (a canvas whose bitmap cannot
// be made), raises an error whose reason is one line, and leaves the composition as it was.
#include "model/Document.h"
#include "model/Zelto.h"
#include "tests/support/FixedMetricsEngine.h"
#include "tests/support/ScopedCodePage.h"

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// What a document or a composition holds, to compare the two.
struct TOpened {
  TZeltoCanvasFields Canvas;
  std::vector<TZeltoLayerFields> Layers;
  std::vector<int32_t> Selection;
  bool operator==(const TOpened&) const = default;
};

TOpened OpenedOf(const TZeltoDocument& document) {
  TOpened opened{document.Content.Canvas, {}, document.Selection};
  for (const auto& layer : document.Content.Layers) opened.Layers.push_back(*layer);
  return opened;
}

TOpened OpenedOf(const TZeltoZelto& zelto) {
  TOpened opened{zelto.CanvasFields(), {}, zelto.SelectionIndexes()};
  for (int32_t i = 0; i < zelto.LayerCount(); ++i) opened.Layers.push_back(zelto.GetLayer(i).Fields());
  return opened;
}

// The composition every input is applied to, and the content it holds between inputs: layers of
// every kind, two of them selected.
TZeltoZelto& Composed() {
  static FixedMetricsEngine engine;
  static TZeltoZelto zelto(40, 30, engine);
  return zelto;
}

const TZeltoDocument& Known() {
  static const TZeltoDocument known = [] {
    TZeltoDocument document;
    document.Content.Canvas = {40, 30, TFont{}};
    TZeltoLayerFields plain;
    plain.Text = "known";
    TZeltoLayerFields own = plain;
    own.UseDefaultFont = false;
    own.Font.Style = fsItalic;
    own.Left = -7;
    own.Anchor = 4;
    TZeltoLayerFields hidden = plain;
    hidden.Visible = false;
    hidden.Text = "two\xFF\xFFlines";
    for (const TZeltoLayerFields& layer : {plain, own, hidden})
      document.Content.Layers.push_back(std::make_shared<const TZeltoLayerFields>(layer));
    document.Selection = {2, 0};
    return document;
  }();
  return known;
}

// Neither a line break nor the UTF-8 of a next-line, line or paragraph separator.
bool OneLine(std::string_view text) {
  return !text.empty() && text.find_first_of("\r\n") == std::string_view::npos &&
         text.find("\xC2\x85") == std::string_view::npos && text.find("\xE2\x80\xA8") == std::string_view::npos &&
         text.find("\xE2\x80\xA9") == std::string_view::npos;
}

void Open(QByteArrayView bytes) {
  TZeltoZelto& zelto = Composed();
  std::optional<TDocumentRead> read;
  try {
    read = ReadDocument(bytes);
    zelto.History.Start(read->Document.Content, read->Document.Selection);
  } catch (const std::exception& error) {
    if (!OneLine(error.what())) std::abort();
    if (OpenedOf(zelto) != OpenedOf(Known())) std::abort();
    return;
  } catch (...) {
    std::abort();
  }
  const TZeltoDocument& document = read->Document;
  if (OpenedOf(zelto) != OpenedOf(document)) std::abort();
  zelto.History.Start(Known().Content, Known().Selection);

  // In the code page it was read in, the document writes again exactly.
  const QByteArray written = WriteDocument(document.Content, document.Selection, document.RecoveryOf);
  const TDocumentRead again = ReadDocument(written);
  if (OpenedOf(again.Document) != OpenedOf(document) || again.Document.RecoveryOf != document.RecoveryOf)
    std::abort();
  if (!again.Unconverted.isEmpty()) std::abort();
  if (WriteDocument(again.Document.Content, again.Document.Selection, again.Document.RecoveryOf) != written)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Composition = &Composed();
  Composition->History.Start(Known().Content, Known().Selection);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  for (const char* codePage : {"CP932", "UTF-8"}) {
    const ScopedCodePage system(codePage);
    Open(QByteArrayView(data, qsizetype(size)));
  }
  return 0;
}
