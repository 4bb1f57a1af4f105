#pragma once
// Tables of text in CSV (RFC 4180), read from bytes that come from other people and written back.
//
// Reading:
// - The bytes are UTF-8; a leading byte-order mark is skipped. An invalid UTF-8 sequence (a
//   stray, overlong or cut-off sequence, a surrogate, a code point past U+10FFFF) is an error.
// - Values are separated by commas. A record ends with CR LF or with a lone LF; a CR that no LF
//   follows outside a quoted value is an error. The last record may end with a line break or not.
// - A value that starts with a quote is quoted: it ends at the next quote that is not doubled,
//   "" stands for one quote, and commas, CRs and LFs inside stay in it exactly as written (a CR LF
//   stays CR LF). Only a comma, a line break or the end of the table may follow its closing
//   quote. A quoted value still open at the end of the table is an error, and so is a quote
//   anywhere in an unquoted value. Spaces belong to the value, quoted or not.
// - The first record is the header: the column names, each non-empty and unique (compared
//   exactly). Every later record is a data row with exactly as many values as the header has
//   names. A line with nothing on it is a record of one empty value, as RFC 4180's grammar has it,
//   so it is an error unless the table has one column; a line break at the very end of the table
//   starts no further record.
// - Every error is an ECsvError whose text is one line: "line 3, column 7: " and the reason.
//   Lines are counted by their LFs, those inside quoted values too; the column is one more than
//   the Unicode characters before it on its line, the byte-order mark not among them.
// Reading takes time linear in the size of the bytes.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <string>

struct TCsvTable {
  QStringList Header;       // the column names, in order
  QList<QStringList> Rows;  // each with as many values as Header has names

  bool operator==(const TCsvTable&) const = default;
};

// What a table may hold; reaching past one limit is an error that names it. The defaults take
// every real table and keep the memory a table takes within about a gigabyte.
struct TCsvLimits {
  qsizetype MaxBytes = qsizetype(256) << 20;  // the whole table, the byte-order mark included
  qsizetype MaxRows = 1'000'000;              // data rows, the header not counted
  qsizetype MaxColumns = 1'000;               // values in any one record, the header's too
  qsizetype MaxValueLength = 1 << 20;         // bytes of one value's UTF-8, its quotes taken off
  qsizetype MaxValues = 10'000'000;           // values of all records together
};

// Bytes that are no table within the limits: where (1-based) and why.
class ECsvError : public std::runtime_error {
 public:
  ECsvError(qsizetype line, qsizetype column, const std::string& reason);

  qsizetype Line() const { return line_; }
  qsizetype Column() const { return column_; }

 private:
  qsizetype line_;
  qsizetype column_;
};

// The table that `utf8` holds, by the rules above; raises ECsvError. Bytes longer than
// `limits.MaxBytes` are refused before anything else, so the caller need read no more of a file.
TCsvTable ReadCsv(QByteArrayView utf8, const TCsvLimits& limits = {});

// `table` as UTF-8 CSV without a byte-order mark, every record ended by CR LF. A value is quoted
// exactly when it would not read back otherwise: when it holds a comma, a quote, a CR or an LF,
// when it is the only value of its record and empty (other readers often skip empty lines), and
// when it is the first header name and begins with U+FEFF (which would read as a byte-order
// mark). Every table that ReadCsv returns reads back the same from what this writes.
QByteArray WriteCsv(const TCsvTable& table);
