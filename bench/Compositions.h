#pragma once
// Compositions of a given scale for the benchmarks: layers of printable ASCII spread over the
// canvas, every other one in a font of its own and with spans.
#include "model/Zelto.h"

#include <algorithm>
#include <memory>
#include <string>

inline std::unique_ptr<TZeltoZelto> MakeComposition(int layers, int charsPerLayer, int32_t width, int32_t height,
                                                    TTextEngine& engine = TTextEngine::Raster()) {
  auto zelto = std::make_unique<TZeltoZelto>(width, height, engine);
  for (int i = 0; i < layers; ++i) {
    std::string text;
    for (int c = 0; c < charsPerLayer; ++c) {
      if (c > 0 && c % 25 == 0) text += "\r\n";
      text += static_cast<char>('!' + (i * 7 + c * 13) % 94);
    }
    TZeltoLayer& layer = zelto->GetLayer(zelto->AddLayer(text));
    layer.Left = (i * 37) % width - 20;
    layer.Top = (i * 53) % height;
    if (i % 2 == 1) {
      layer.UseDefaultFont = false;
      layer.Font.Size = 8 + i % 10;
      layer.Font.Color = RGBToColor(static_cast<uint8_t>(i * 40), 0, 128);
      layer.LineSpan = i % 5 - 2;
      layer.CharSpan = i % 3 - 1;
    }
  }
  return zelto;
}

// About `totalChars` characters in layers of 50 to 200, own fonts and the default font mixed,
// every other layer with spans (`withSpans`) over the whole canvas.
inline std::unique_ptr<TZeltoZelto> MakeMixedComposition(int totalChars, int32_t width, int32_t height,
                                                         bool withSpans = true) {
  auto zelto = std::make_unique<TZeltoZelto>(width, height);
  int placed = 0;
  for (int i = 0; placed < totalChars; ++i) {
    const int chars = std::min(50 + (i * 37) % 151, totalChars - placed);
    std::string text;
    for (int c = 0; c < chars; ++c) {
      if (c > 0 && c % 40 == 0) text += "\r\n";
      text += static_cast<char>('!' + (i * 11 + c * 17) % 94);
    }
    placed += chars;
    TZeltoLayer& layer = zelto->GetLayer(zelto->AddLayer(text));
    layer.Left = (i * 97) % width - 40;
    layer.Top = (i * 61) % height - 10;
    if (i % 2 == 1) {
      layer.UseDefaultFont = false;
      layer.Font.Size = 8 + i % 12;
      layer.Font.Color = RGBToColor(static_cast<uint8_t>(i * 40), 0, 128);
    }
    if (withSpans && i % 4 >= 2) {
      layer.LineSpan = i % 7 - 3;
      layer.CharSpan = i % 5 - 2;
    }
  }
  return zelto;
}