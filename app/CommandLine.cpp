#include "app/CommandLine.h"

#include "app/PictureFile.h"
#include "model/Placeholders.h"
#include "toolkit/PngWriter.h"
#include "toolkit/WholeFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace {

// The messages of the command line: one line each on standard error, after the program's name.
void Say(const QString& message) { std::fprintf(stderr, "ZeltoZelto: %s\n", message.toLocal8Bit().constData()); }

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

int Number(const QString& text, const char* option, int min, int max) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < min || value > max)
    throw EUsage(QStringLiteral("%1 takes a whole number from %2 to %3, not \"%4\"")
                     .arg(QLatin1String(option))
                     .arg(min)
                     .arg(max)
                     .arg(text)
                     .toStdString());
  return value;
}

// The document `path` names, its notes said; raises EDocument.
TZeltoDocument Open(const QString& path) {
  TDocumentRead read = ReadDocumentFile(path);
  const QStringList missing = MissingFaces(read.Document.Content);
  if (!missing.isEmpty())
    Say(QStringLiteral("%1: these fonts are not installed, and another stands in for them: %2")
            .arg(Native(path), missing.join(QStringLiteral(", "))));
  if (!read.Unconverted.isEmpty())
    Say(QStringLiteral("%1: characters of %2 have no form in this system's code page and show as \"?\"")
            .arg(Native(path), read.Unconverted.join(QStringLiteral(", "))));
  return std::move(read.Document);
}

QImage Picture(const TZeltoDocument& document, const TBackground& background) {
  TZeltoZelto composition(document.Content.Canvas.Width, document.Content.Canvas.Height);
  composition.Replace(document.Content, document.Selection);
  return PaintPicture(composition, background);
}

// Writes all of `bytes` to standard output; the system's reason where it cannot.
QString WriteStandardOutput(const QByteArray& bytes) {
  for (qsizetype done = 0; done < bytes.size();) {
    const ssize_t written = ::write(STDOUT_FILENO, bytes.constData() + done, std::size_t(bytes.size() - done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return qt_error_string(errno);
    done += written;
  }
  return {};
}

int RenderOne(const TCommandLine& line) {
  const QImage picture = Picture(Open(line.Document), line.Background);
  const bool alpha = line.Background.Kind == TBackground::TKind::Transparent;
  try {
    if (line.Output == QLatin1String("-")) {
      const QString reason = WriteStandardOutput(EncodePng(picture, alpha));
      if (!reason.isEmpty()) throw EPictureWrite(("The picture could not be written to standard output: " + reason).toStdString());
    } else {
      WritePicture(picture, line.Output, alpha);
    }
  } catch (const std::exception& error) {
    Say(QString::fromUtf8(error.what()));
    return 1;
  }
  return 0;
}

// Says each failed row of `rows`; the exit code.
int Failures(const QString& table, const std::vector<TBatch::TRow>& rows) {
  int failed = 0;
  for (const TBatch::TRow& row : rows) {
    if (row.Failure.isEmpty()) continue;
    Say(QStringLiteral("%1: row %2: %3").arg(table).arg(row.Number).arg(row.Failure));
    ++failed;
  }
  return failed > 0 ? 1 : 0;
}

int RenderTable(const TCommandLine& line) {
  const TZeltoDocument document = Open(line.Document);
  const QString table = Native(line.Table);
  constexpr qsizetype kMaxBytes = TCsvLimits{}.MaxBytes;
  const TFileRead file = ReadWholeFile(line.Table, kMaxBytes, QStringLiteral("the %1 MiB a table may have").arg(kMaxBytes >> 20));
  if (!file.Failure.isEmpty()) throw EUsage(QStringLiteral("%1: %2").arg(table, file.Failure).toStdString());
  TCsvTable rows;
  try {
    rows = ReadCsv(file.Bytes);
  } catch (const ECsvError& error) {
    throw EUsage(QStringLiteral("%1: %2").arg(table, QString::fromUtf8(error.what())).toStdString());
  }
  const int count = static_cast<int>(rows.Rows.size());
  int first = 1, last = count;
  if (line.FirstRow > 0) {
    // A table shared out in slices of equal size: the last slice ends with the table.
    if (line.FirstRow > count)
      throw EUsage(QStringLiteral("--rows %1-%2: %3 has %4 data rows").arg(line.FirstRow).arg(line.LastRow).arg(table).arg(count).toStdString());
    first = line.FirstRow;
    last = std::min(line.LastRow, count);
  }
  std::optional<TBatch> batch;
  try {
    batch.emplace(document, rows, line.Output, line.Background, first, last);
  } catch (const EUsage& error) {
    throw EUsage(QStringLiteral("%1: %2").arg(table, QString::fromUtf8(error.what())).toStdString());
  }
  // A folder is made only for pictures to write.
  const auto& planned = batch->Rows();
  if (std::all_of(planned.begin(), planned.end(), [](const TBatch::TRow& row) { return !row.Failure.isEmpty(); }))
    return Failures(table, planned);
  const QString folder = QFileInfo(line.Output).path();
  if (!QDir().mkpath(folder))
    throw EUsage(QStringLiteral("the folder %1 cannot be made").arg(Native(folder)).toStdString());
  batch->Run(line.Jobs);
  return Failures(table, batch->Rows());
}

int RenderThumbnail(const TCommandLine& line) {
  const QImage thumbnail = Thumbnail(Picture(Open(line.Document), {}), line.ThumbnailSize);
  // A file manager names the file it wants; it is PNG whatever its name.
  const QString reason = WriteWholeFile(line.Output, EncodePng(thumbnail, false));
  if (reason.isEmpty()) return 0;
  Say(QStringLiteral("The thumbnail could not be saved as \"%1\": %2").arg(Native(line.Output), reason));
  return 1;
}

}  // namespace

std::optional<TCommandLine> ReadCommandLine(const QStringList& arguments) {
  try {
    return ParseCommandLine(arguments);
  } catch (const EUsage& error) {
    std::fprintf(stderr, "ZeltoZelto: %s\nTry 'ZeltoZelto --help' for the options.\n", error.what());
    return std::nullopt;
  }
}

TCommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Composes a picture out of text layers."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption render(QStringLiteral("render"), QStringLiteral("Writes the picture of the document FILE."),
                                  QStringLiteral("FILE.zelto"));
  const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                  QStringLiteral("Where --render writes: a file whose extension (.png, .bmp, .jpg) "
                                                 "names its type, \"-\" for PNG on standard output, or with --data a "
                                                 "name with placeholders {column} and {row}."),
                                  QStringLiteral("OUT"));
  const QCommandLineOption background(QStringLiteral("background"),
                                      QStringLiteral("The picture's background: \"transparent\" (PNG with alpha) or "
                                                     "#rrggbb; white without it, as in the windows."),
                                      QStringLiteral("COLOUR"));
  const QCommandLineOption data(QStringLiteral("data"),
                                QStringLiteral("One picture per data row of TABLE (CSV, UTF-8, a header row): "
                                               "{column} in the layers' texts is that row's value."),
                                QStringLiteral("TABLE.csv"));
  const QCommandLineOption rows(QStringLiteral("rows"), QStringLiteral("Only the data rows FROM to TO, from 1."),
                                QStringLiteral("FROM-TO"));
  const QCommandLineOption jobs(QStringLiteral("jobs"), QStringLiteral("Renders on N cores (default: all)."),
                                QStringLiteral("N"));
  const QCommandLineOption thumbnail(
      QStringLiteral("thumbnail"),
      QStringLiteral("Writes the picture of FILE.zelto scaled to fit SIZE x SIZE into OUT.png, for file managers."),
      QStringLiteral("SIZE"));
  parser.addOptions({render, output, background, data, rows, jobs, thumbnail});
  parser.addPositionalArgument(QStringLiteral("FILE.zelto"),
                               QStringLiteral("The document to open in the windows; with --thumbnail, the document "
                                              "and the PNG to write."),
                               QStringLiteral("[FILE.zelto] [OUT.png]"));
  if (!parser.parse(arguments)) throw EUsage(parser.errorText().toStdString());
  if (parser.isSet(help)) parser.showHelp(0);
  if (parser.isSet(version)) parser.showVersion();

  TCommandLine line;
  const QStringList positional = parser.positionalArguments();
  const auto renderOnly = [&](const QCommandLineOption& option) {
    if (parser.isSet(option) && !parser.isSet(render))
      throw EUsage(QStringLiteral("--%1 goes with --render").arg(option.names().last()).toStdString());
  };
  for (const QCommandLineOption* option : {&output, &background, &data, &rows, &jobs}) renderOnly(*option);
  if (parser.isSet(render) && parser.isSet(thumbnail)) throw EUsage("--render and --thumbnail do not go together");

  if (parser.isSet(thumbnail)) {
    if (positional.size() != 2) throw EUsage("--thumbnail SIZE takes a document and the PNG to write");
    line.Mode = TCommandLine::TMode::Thumbnail;
    line.ThumbnailSize = Number(parser.value(thumbnail), "--thumbnail", 1, 4096);
    line.Document = positional[0];
    line.Output = positional[1];
    return line;
  }
  if (!parser.isSet(render)) {
    if (positional.size() > 1) throw EUsage("the windows open one document at most");
    line.Document = positional.value(0);
    return line;
  }

  line.Mode = TCommandLine::TMode::Render;
  line.Document = parser.value(render);
  if (!positional.isEmpty()) throw EUsage(QStringLiteral("--render takes no further file (\"%1\")").arg(positional[0]).toStdString());
  if (!parser.isSet(output)) throw EUsage("--render needs -o OUT, where the picture goes");
  line.Output = parser.value(output);
  if (parser.isSet(background)) {
    const std::optional<TBackground> parsed = TBackground::Parse(parser.value(background));
    if (!parsed)
      throw EUsage(QStringLiteral("--background is \"transparent\" or #rrggbb, not \"%1\"").arg(parser.value(background)).toStdString());
    line.Background = *parsed;
  }
  line.Table = parser.value(data);
  if (parser.isSet(rows)) {
    if (!parser.isSet(data)) throw EUsage("--rows goes with --data");
    static const QRegularExpression range(QStringLiteral("^(\\d{1,9})(?:-(\\d{1,9}))?$"));
    const QRegularExpressionMatch match = range.match(parser.value(rows));
    line.FirstRow = match.captured(1).toInt();
    line.LastRow = match.lastCapturedIndex() == 2 ? match.captured(2).toInt() : line.FirstRow;
    if (!match.hasMatch() || line.FirstRow < 1 || line.LastRow < line.FirstRow)
      throw EUsage(QStringLiteral("--rows takes FROM-TO, data rows from 1, not \"%1\"").arg(parser.value(rows)).toStdString());
  }
  line.Jobs = parser.isSet(jobs) ? Number(parser.value(jobs), "--jobs", 1, 1024) : std::max(1, QThread::idealThreadCount());

  const bool toStandardOutput = line.Output == QLatin1String("-");
  if (toStandardOutput && !line.Table.isEmpty()) throw EUsage("with --data, -o names the pictures' files, not \"-\"");
  // With --data, the pictures' type is settled already where the name's extension is written
  // out after the last placeholder rather than made by one: then no row could be written. With
  // each placeholder "/x", what follows the last "/" is that end, after a stand-in for the value.
  const QString end = line.Table.isEmpty()
                          ? line.Output
                          : FillPlaceholders(QFileInfo(line.Output).fileName(), [](const QString&) { return QStringLiteral("/x"); })
                                .section(QLatin1Char('/'), -1);
  if (!toStandardOutput && (line.Table.isEmpty() || end.contains(QLatin1Char('.'))) && !PictureFormatOf(end))
    throw EUsage(QStringLiteral("-o %1 ends in none of the picture types (.png, .bmp, .jpg)").arg(line.Output).toStdString());
  const TPictureFormat* format = toStandardOutput ? &PictureFormats().first() : PictureFormatOf(line.Output);
  if (line.Background.Kind == TBackground::TKind::Transparent && format && format->Writer != "png")
    throw EUsage("a transparent background needs a PNG picture");
  return line;
}

int RunCommandLine(const TCommandLine& line) {
  try {
    switch (line.Mode) {
      case TCommandLine::TMode::Render:
        return line.Table.isEmpty() ? RenderOne(line) : RenderTable(line);
      case TCommandLine::TMode::Thumbnail:
        return RenderThumbnail(line);
      case TCommandLine::TMode::Windows:
        break;
    }
  } catch (const std::exception& error) {
    // A command line that cannot run, or a document or table that cannot be read: nothing written.
    Say(QString::fromUtf8(error.what()));
  }
  return 2;
}
