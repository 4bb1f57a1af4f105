#include "toolkit/Csv.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";

std::string Number(qsizetype n) { return std::to_string(n); }

// "1 value", "2 values".
std::string Count(qsizetype n, const std::string& noun) { return Number(n) + " " + noun + (n == 1 ? "" : "s"); }

// Bytes of the valid UTF-8 sequence that starts at `pos` of `text`, or 0 when none does.
qsizetype Utf8SequenceLength(QByteArrayView text, qsizetype pos) {
  const auto byte = [&](qsizetype i) { return pos + i < text.size() ? uchar(text[pos + i]) : 0; };
  const uchar lead = byte(0);
  const auto continues = [&](qsizetype i) { return (byte(i) & 0xC0) == 0x80; };
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continues(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    // E0 would start an overlong sequence below A0, ED a surrogate from A0 on.
    const uchar low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    return byte(1) >= low && byte(1) <= high && continues(2) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    // F0 would start an overlong sequence below 90, F4 a code point past U+10FFFF from 90 on.
    const uchar low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    return byte(1) >= low && byte(1) <= high && continues(2) && continues(3) ? 4 : 0;
  }
  return 0;
}

class TCsvReader {
 public:
  TCsvReader(QByteArrayView text, const TCsvLimits& limits) : text_(text), limits_(limits) {}

  TCsvTable Read() {
    if (text_.startsWith(kByteOrderMark)) bodyStart_ = pos_ = kByteOrderMark.size();
    if (text_.size() > limits_.MaxBytes)
      Fail(limits_.MaxBytes, "the table is longer than the limit of " + Number(limits_.MaxBytes) + " bytes");
    if (AtEnd()) Fail(pos_, "the table is empty: it has no header");

    TCsvTable table;
    QList<qsizetype> starts;
    table.Header = ReadRecord(starts);
    CheckHeader(table.Header, starts);
    while (!AtEnd()) {
      if (table.Rows.size() == limits_.MaxRows)
        Fail(pos_, "more data rows than the limit of " + Number(limits_.MaxRows));
      QStringList row = ReadRecord(starts);
      if (row.size() != table.Header.size())
        Fail(starts.front(), "data row " + Number(table.Rows.size() + 1) + " has " + Count(row.size(), "value") +
                                 " where the header has " + Count(table.Header.size(), "name"));
      table.Rows.append(std::move(row));
    }
    return table;
  }

 private:
  bool AtEnd() const { return pos_ == text_.size(); }
  char Next() const { return text_[pos_]; }

  // The values of the record at the reading position, whose offsets go into `starts`; reads past
  // the line break that ends it.
  QStringList ReadRecord(QList<qsizetype>& starts) {
    QStringList values;
    starts.clear();
    for (;;) {
      if (values.size() == limits_.MaxColumns)
        Fail(pos_, "a record of more values than the limit of " + Number(limits_.MaxColumns) + " columns");
      if (valueCount_ == limits_.MaxValues)
        Fail(pos_, "more values than the limit of " + Number(limits_.MaxValues) + " in the table");
      starts.append(pos_);
      values.append(ReadValue());
      ++valueCount_;
      if (AtEnd()) return values;
      const char separator = Next();
      ++pos_;
      if (separator == ',') continue;
      if (separator == '\r') {
        if (AtEnd() || Next() != '\n') Fail(pos_ - 1, "a carriage return without a line feed after it");
        ++pos_;
      }
      return values;
    }
  }

  // The value at the reading position; stops at the comma, line break or end after it.
  QString ReadValue() {
    const qsizetype start = pos_;
    QByteArray quoted;
    const QByteArrayView value = !AtEnd() && Next() == '"' ? ReadQuoted(quoted) : ReadUnquoted();
    if (value.size() > limits_.MaxValueLength)
      Fail(start, "a value longer than the limit of " + Number(limits_.MaxValueLength) + " bytes");
    return decoder_.decode(value);
  }

  QByteArrayView ReadUnquoted() {
    const qsizetype start = pos_;
    while (!AtEnd() && Next() != ',' && Next() != '\r' && Next() != '\n') {
      if (Next() == '"') Fail(pos_, "a quote inside an unquoted value");
      SkipCharacter();
    }
    return text_.sliced(start, pos_ - start);
  }

  // Reads from the opening quote past the closing one; the value goes into `value`.
  QByteArrayView ReadQuoted(QByteArray& value) {
    const qsizetype opening = pos_++;
    qsizetype piece = pos_;  // where the text not yet in `value` begins
    for (;;) {
      if (AtEnd()) Fail(opening, "a quoted value that is never closed");
      if (Next() != '"') {
        SkipCharacter();
        continue;
      }
      value.append(text_.sliced(piece, pos_ - piece));
      ++pos_;
      if (AtEnd() || Next() != '"') break;
      piece = pos_++;  // the second quote of a pair begins the next piece
    }
    if (!AtEnd() && Next() != ',' && Next() != '\r' && Next() != '\n')
      Fail(pos_, "text after the closing quote of a value, where only a comma or a line break may follow");
    return value;
  }

  void SkipCharacter() {
    const qsizetype length = Utf8SequenceLength(text_, pos_);
    if (length == 0) Fail(pos_, "bytes that are not valid UTF-8");
    pos_ += length;
  }

  void CheckHeader(const QStringList& names, const QList<qsizetype>& starts) {
    QHash<QString, qsizetype> columns;
    for (qsizetype i = 0; i < names.size(); ++i) {
      if (names[i].isEmpty()) Fail(starts[i], "header column " + Number(i + 1) + " has no name");
      const auto earlier = columns.constFind(names[i]);
      if (earlier != columns.cend())
        Fail(starts[i],
             "header column " + Number(i + 1) + " has the same name as header column " + Number(*earlier + 1));
      columns.insert(names[i], i);
    }
  }

  [[noreturn]] void Fail(qsizetype offset, const std::string& reason) const {
    const QByteArrayView before = text_.first(offset);
    const qsizetype lineBreak = before.lastIndexOf('\n');
    const qsizetype lineStart = lineBreak >= 0 ? lineBreak + 1 : std::min(bodyStart_, offset);
    const QByteArrayView line = before.sliced(lineStart);
    const auto isLead = [](char c) { return (uchar(c) & 0xC0) != 0x80; };
    throw ECsvError(before.count('\n') + 1, std::count_if(line.begin(), line.end(), isLead) + 1, reason);
  }

  QByteArrayView text_;
  const TCsvLimits& limits_;
  qsizetype pos_ = 0;
  qsizetype bodyStart_ = 0;  // past the byte-order mark
  qsizetype valueCount_ = 0;
  // Keeps a value's leading U+FEFF, which QString::fromUtf8 would drop as a byte-order mark.
  QStringDecoder decoder_{QStringDecoder::Utf8,
                          QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless};
};

// Whether `value` reads back as itself only between quotes. `alone`: it is its record's only
// value; `first`: it begins the table.
bool NeedsQuotes(const QString& value, bool alone, bool first) {
  if (alone && value.isEmpty()) return true;
  if (first && value.startsWith(QChar(0xFEFF))) return true;
  return std::any_of(value.begin(), value.end(),
                     [](QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; });
}

void WriteRecord(QByteArray& out, const QStringList& values, bool first) {
  for (qsizetype i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    QByteArray utf8 = values[i].toUtf8();
    if (NeedsQuotes(values[i], values.size() == 1, first && i == 0)) {
      out += '"';
      out += utf8.replace('"', "\"\"");
      out += '"';
    } else {
      out += utf8;
    }
  }
  out += "\r\n";
}

}  // namespace

ECsvError::ECsvError(qsizetype line, qsizetype column, const std::string& reason)
    : std::runtime_error("line " + Number(line) + ", column " + Number(column) + ": " + reason),
      line_(line),
      column_(column) {}

TCsvTable ReadCsv(QByteArrayView utf8, const TCsvLimits& limits) { return TCsvReader(utf8, limits).Read(); }

QByteArray WriteCsv(const TCsvTable& table) {
  QByteArray out;
  WriteRecord(out, table.Header, true);
  for (const QStringList& row : table.Rows) WriteRecord(out, row, false);
  return out;
}
