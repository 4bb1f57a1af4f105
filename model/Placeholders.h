#pragma once
// Placeholders in the layers' texts, which a table's row fills: "{column}" stands for that row's
// value of the column; "{{" and "}}" stand for "{" and "}". A "{" that no "}" closes before the
// next "{" is a "{" of the text, as is a "}" that closes nothing.
#include "model/Zelto.h"

#include <QString>
#include <QStringList>

#include <functional>

// The columns that `text` names, each once, in the order of their first place.
QStringList PlaceholderNames(const QString& text);

// `text` with each placeholder replaced by `value(name)`, and "{{" and "}}" by single braces.
QString FillPlaceholders(const QString& text, const std::function<QString(const QString& name)>& value);

// Fills the placeholders of every layer of `composition` as if the user typed each layer's new
// text into it: converted to the system code page, stored as SetText stores a text. A layer that
// an alignment button placed at an anchor is placed there again for its new text. Layers without
// placeholders stay as they are.
void FillPlaceholders(TZeltoZelto& composition, const std::function<QString(const QString& name)>& value);
