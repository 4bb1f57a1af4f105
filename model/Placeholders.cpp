#include "model/Placeholders.h"

namespace {

// Goes through `text`, handing each stretch of plain text to `text` and each placeholder's name
// to `name`.
template <class Text, class Name>
void Scan(const QString& input, Text text, Name name) {
  qsizetype plain = 0;  // where the plain text not yet handed over begins
  for (qsizetype i = 0; i < input.size(); ++i) {
    const QChar c = input[i];
    if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && i + 1 < input.size() && input[i + 1] == c) {
      text(QStringView(input).sliced(plain, i - plain + 1));
      plain = ++i + 1;
    } else if (c == QLatin1Char('{')) {
      qsizetype end = i + 1;
      while (end < input.size() && input[end] != QLatin1Char('}') && input[end] != QLatin1Char('{')) ++end;
      if (end == input.size() || input[end] != QLatin1Char('}')) continue;
      text(QStringView(input).sliced(plain, i - plain));
      name(QStringView(input).sliced(i + 1, end - i - 1).toString());
      i = end;
      plain = end + 1;
    }
  }
  text(QStringView(input).sliced(plain));
}

}  // namespace

QStringList PlaceholderNames(const QString& text) {
  QStringList names;
  Scan(
      text, [](QStringView) {},
      [&names](const QString& name) {
        if (!names.contains(name)) names.append(name);
      });
  return names;
}

QString FillPlaceholders(const QString& text, const std::function<QString(const QString& name)>& value) {
  QString filled;
  filled.reserve(text.size());
  Scan(
      text, [&filled](QStringView plain) { filled += plain; }, [&](const QString& name) { filled += value(name); });
  return filled;
}

void FillPlaceholders(TZeltoZelto& composition, const std::function<QString(const QString& name)>& value) {
  for (int32_t i = 0; i < composition.LayerCount(); ++i) {
    TZeltoLayer& layer = composition.GetLayer(i);
    const QString shown = ShownText(layer.GetText());
    if (PlaceholderNames(shown).isEmpty()) continue;
    layer.SetText(TypedText(FillPlaceholders(shown, value)));
    if (layer.Anchor) layer.AlignToAnchor(*layer.Anchor);
  }
}
