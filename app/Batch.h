#pragma once
// One picture per data row of a table: the document's layer texts with their placeholders filled
// from the row (model/Placeholders.h), written to a file named by a pattern whose placeholders
// name columns and "{row}", the row's number from 1, zero-padded to the width of the table's row
// count.
//
// The table comes from other people, and its values never write outside the pattern's folder: a
// value put into a file name may hold no "/", no "..", no NUL or other control character (a line
// break), may not begin with "-", and the name, with the temporary name's suffix that a picture
// is written under first, may not be longer than the file system allows. A row whose name breaks
// a rule fails, as does a row that would write the same file as an earlier one; its message names
// the columns that made the name. Every name is settled before anything is written, so that
// which rows fail never depends on how many threads render.
#include "app/Render.h"
#include "model/Document.h"
#include "toolkit/Csv.h"

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

// A command line that cannot run as given: what() says why, one line.
class EUsage : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

class TBatch {
 public:
  struct TRow {
    int Number;      // from 1, in the table
    QString Path;    // of the picture, where it could be named
    QString Failure; // empty while the row is fine
  };

  // Plans the rows `first` to `last` (from 1) of `table`. Raises EUsage where a placeholder of a
  // layer or of `pattern` names no column of the table, or the pattern's folder holds one.
  TBatch(const TZeltoDocument& document, const TCsvTable& table, const QString& pattern, TBackground background,
         int first, int last);

  // Renders the rows not failed yet on `jobs` threads, and writes them.
  void Run(int jobs);

  const std::vector<TRow>& Rows() const { return rows_; }

 private:
  // How many pictures take their names after each sync.
  static constexpr std::size_t kFilesASync = 64;

  // The row's picture, encoded; empty where it failed.
  QByteArray Render(TRow& row, TZeltoZelto& composition) const;
  QString Value(const TRow& row, const QString& name) const;

  const TZeltoDocument& document_;
  const TCsvTable& table_;
  TBackground background_;
  QString folder_;  // where the pictures go
  std::vector<TRow> rows_;
};
