// Reading any bytes as a CSV table: they read or raise a one-line error that says where, a table
// read keeps to its limits and to the header's and rows' rules, the generous default limits read
// it the same, and what it writes reads back to the same table.
#include "toolkit/Csv.h"

#include <QSet>

#include <cstdlib>
#include <string_view>

namespace {

// Small enough that short inputs reach every limit.
const TCsvLimits kLimits{.MaxBytes = 2048, .MaxRows = 40, .MaxColumns = 12, .MaxValueLength = 200, .MaxValues = 150};

bool KeepsTheRules(const TCsvTable& table) {
  const qsizetype columns = table.Header.size();
  if (columns == 0 || columns > kLimits.MaxColumns || table.Rows.size() > kLimits.MaxRows) return false;
  if (columns * (table.Rows.size() + 1) > kLimits.MaxValues) return false;
  if (QSet<QString>(table.Header.begin(), table.Header.end()).size() != columns) return false;
  if (table.Header.contains(QString())) return false;
  for (const QStringList& row : table.Rows) {
    if (row.size() != columns) return false;
    for (const QString& value : row)
      if (value.toUtf8().size() > kLimits.MaxValueLength) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const QByteArrayView bytes(data, size);
  TCsvTable table;
  try {
    table = ReadCsv(bytes, kLimits);
  } catch (const ECsvError& error) {
    const std::string_view text = error.what();
    if (!text.starts_with("line ") || text.find_first_of("\r\n") != std::string_view::npos) std::abort();
    if (error.Line() < 1 || error.Line() > bytes.count('\n') + 1 || error.Column() < 1) std::abort();
    return 0;
  }
  if (!KeepsTheRules(table)) std::abort();
  if (ReadCsv(bytes) != table) std::abort();
  if (ReadCsv(WriteCsv(table)) != table) std::abort();
  return 0;
}
