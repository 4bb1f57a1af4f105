#include "app/Batch.h"

#include "app/PictureFile.h"
#include "model/Placeholders.h"
#include "toolkit/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThreadPool>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace {

const QString kRow = QStringLiteral("row");

// A picture is written into a temporary file first, named "<name>.XXXXXX" (TWholeFileGroups),
// which then takes its name: the temporary name is the longer by these bytes.
constexpr qsizetype kTemporarySuffix = 7;

// The longest file name the folder's file system takes, in bytes.
qsizetype NameMax(const QString& folder) {
  const long max = pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
  return max > 0 ? max : 255;
}

// A value as a message of one line shows it: control characters written out, a long one cut.
QString Quoted(const QString& text) {
  QString shown;
  for (const QChar c : text.left(60)) {
    if (c == QLatin1Char('\n'))
      shown += QStringLiteral("\\n");
    else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    else
      shown += c;
  }
  if (text.size() > 60) shown += QChar(0x2026);
  return QStringLiteral("\u201c%1\u201d").arg(shown);
}

// What a picture's name is made with, as a row's message names it: the table's columns in it,
// or the output's pattern alone.
QString MadeWith(const QStringList& columns) {
  if (columns.isEmpty()) return QStringLiteral("the output's pattern");
  QStringList quoted;
  for (const QString& column : columns) quoted.append(Quoted(column));
  return QLatin1String(columns.size() == 1 ? "column " : "columns ") + quoted.join(QStringLiteral(", "));
}

}  // namespace

TBatch::TBatch(const TZeltoDocument& document, const TCsvTable& table, const QString& pattern,
               TBackground background, int first, int last)
    : document_(document), table_(table), background_(background), folder_(QFileInfo(pattern).path()) {
  const auto known = [&table](const QString& name) { return name == kRow || table.Header.contains(name); };
  TZeltoZelto composition(document.Content.Canvas.Width, document.Content.Canvas.Height);
  composition.Replace(document.Content, {});
  for (int32_t i = 0; i < composition.LayerCount(); ++i)
    for (const QString& name : PlaceholderNames(ShownText(composition.GetLayer(i).GetText())))
      if (!known(name))
        throw EUsage(QStringLiteral("layer %1 names the column %2, which the table does not have")
                         .arg(i + 1)
                         .arg(Quoted(name))
                         .toStdString());

  const QFileInfo output(pattern);
  if (!PlaceholderNames(folder_).isEmpty())
    throw EUsage("only the file name of the output may hold placeholders, not its folder");
  const QString name = output.fileName();
  for (const QString& column : PlaceholderNames(name))
    if (!known(column))
      throw EUsage(QStringLiteral("the output's name names the column %1, which the table does not have")
                       .arg(Quoted(column))
                       .toStdString());

  QStringList columns = PlaceholderNames(name);
  columns.removeIf([&table](const QString& column) { return !table.Header.contains(column); });
  const QString madeWith = MadeWith(columns);
  const qsizetype nameMax = NameMax(QDir(folder_).exists() ? folder_ : QStringLiteral(".")) - kTemporarySuffix;
  QSet<QString> written;
  for (int number = first; number <= last; ++number) {
    TRow row{number, {}, {}};
    const QString filled = FillPlaceholders(name, [&](const QString& column) {
      const QString value = Value(row, column);
      if (column == kRow && !table.Header.contains(kRow)) return value;
      const auto refuse = [&](const char* what) {
        if (row.Failure.isEmpty())
          row.Failure = QStringLiteral("the value %1 of column %2 %3").arg(Quoted(value), Quoted(column), QLatin1String(what));
      };
      if (value.contains(QLatin1Char('/'))) refuse("holds a \"/\", which would name another folder");
      if (value.contains(QStringLiteral(".."))) refuse("holds \"..\", which would name another folder");
      if (value.contains(QChar(0))) refuse("holds a NUL");
      if (std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }))
        refuse("holds a line break or another control character");
      if (value.startsWith(QLatin1Char('-'))) refuse("begins with \"-\"");
      return value;
    });
    if (row.Failure.isEmpty()) {
      if (filled.isEmpty())
        row.Failure = QStringLiteral("with %1, its picture's name is empty").arg(madeWith);
      else if (QFile::encodeName(filled).size() > nameMax)
        row.Failure = QStringLiteral("with %1, its picture's name is longer than the %2 bytes a picture's name may "
                                     "have here (%3 fewer than a file's, for the temporary name written first)")
                          .arg(madeWith)
                          .arg(nameMax)
                          .arg(kTemporarySuffix);
      else if (!PictureFormatOf(filled))
        row.Failure = QStringLiteral("with %1, its picture's name %2 ends in none of the picture types (.png, .bmp, .jpg)")
                          .arg(madeWith, Quoted(filled));
    }
    if (row.Failure.isEmpty()) {
      row.Path = QDir(folder_).filePath(filled);
      if (written.contains(row.Path))
        row.Failure = QStringLiteral("with %1, it would write %2, as an earlier row does").arg(madeWith, Quoted(row.Path));
      written.insert(row.Path);
    }
    rows_.push_back(std::move(row));
  }
}

QString TBatch::Value(const TRow& row, const QString& name) const {
  const qsizetype column = table_.Header.indexOf(name);
  if (column >= 0) return table_.Rows[row.Number - 1][column];
  // The row's number, zero-padded to the width of the table's last.
  const int width = static_cast<int>(QString::number(table_.Rows.size()).size());
  return QStringLiteral("%1").arg(row.Number, width, 10, QLatin1Char('0'));
}

void TBatch::Run(int jobs) {
  // Each picture is written under a temporary name as soon as it is rendered, and every so many
  // take their names together after one sync, which waits for the disk: on a thread of its own,
  // so that the rendering keeps the cores busy.
  TWholeFileGroups files(folder_);
  QThreadPool committer;
  committer.setMaxThreadCount(1);
  using TGroup = std::vector<std::pair<TRow*, TWholeFileGroups::TPending>>;
  const auto commit = [&](TGroup group) {
    committer.start([&files, group = std::move(group)] {
      std::vector<TWholeFileGroups::TPending> pending;
      for (const auto& [row, file] : group) pending.push_back(file);
      const std::vector<QString> reasons = files.Commit(pending);
      for (std::size_t i = 0; i < group.size(); ++i)
        if (!reasons[i].isEmpty()) group[i].first->Failure = PictureNotSaved(group[i].first->Path, reasons[i]);
    });
  };
  std::mutex mutex;
  TGroup written;
  std::atomic<std::size_t> next = 0;
  const auto work = [&] {
    const std::unique_ptr<TTextEngine> engine = TTextEngine::NewRaster();
    TZeltoZelto composition(document_.Content.Canvas.Width, document_.Content.Canvas.Height, *engine);
    for (std::size_t i; (i = next++) < rows_.size();) {
      TRow& row = rows_[i];
      if (!row.Failure.isEmpty()) continue;
      const QByteArray picture = Render(row, composition);
      if (picture.isNull()) continue;
      TWholeFileGroups::TPending file;
      const QString reason = files.Write(row.Path, picture, file);
      if (!reason.isEmpty()) {
        row.Failure = PictureNotSaved(row.Path, reason);
        continue;
      }
      const std::lock_guard lock(mutex);
      written.emplace_back(&row, file);
      if (written.size() >= kFilesASync) commit(std::exchange(written, {}));
    }
  };
  std::vector<std::thread> threads;
  for (int n = 1; n < jobs; ++n) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();
  commit(std::move(written));
  committer.waitForDone();
}

QByteArray TBatch::Render(TRow& row, TZeltoZelto& composition) const {
  try {
    composition.Replace(document_.Content, {});
    // A value's line breaks, whichever the table wrote, are lines of the layer.
    FillPlaceholders(composition, [&](const QString& name) {
      return QString(Value(row, name)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    });
    return EncodePicture(PaintPicture(composition, background_), *PictureFormatOf(row.Path),
                         background_.Kind == TBackground::TKind::Transparent);
  } catch (const std::exception& error) {
    row.Failure = QString::fromUtf8(error.what());
    return {};
  }
}
