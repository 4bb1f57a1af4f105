#pragma once
// The program's command line. Without options it starts the windows, with the document a path
// names open. With --render it writes the picture of a document, or with --data one picture per
// row of a table; with --thumbnail a small picture for file managers. These make their pictures
// without windows or a display, exactly as the windows' canvas shows them.
//
// Exit codes: 0 when every picture was written; 1 when some failed (each reported on standard
// error, the others written); 2 for a command line that cannot run, or a document or table that
// cannot be read (nothing written). Every message is one line, naming the file, row and column
// concerned.
#include "app/Batch.h"
#include "app/Render.h"

#include <QString>
#include <QStringList>

#include <optional>

struct TCommandLine {
  enum class TMode : uint8_t { Windows, Render, Thumbnail };
  TMode Mode = TMode::Windows;
  QString Document;  // the windows open it where it is given
  QString Output;    // a path, a pattern with --data, or "-" for standard output
  TBackground Background;
  QString Table;     // --data
  int FirstRow = 0;  // --rows, from 1; 0 for all
  int LastRow = 0;
  int Jobs = 1;
  int ThumbnailSize = 0;
};

// Reads the arguments (the program's name first), those that Qt left where an application
// object took its own (-platform, -style, ...). --help and --version print and end the program,
// as QCommandLineParser does; anything else wrong raises EUsage.
TCommandLine ParseCommandLine(const QStringList& arguments);

// ParseCommandLine's command line; a usage error is said on standard error, with where to find
// the options, and gives none.
std::optional<TCommandLine> ReadCommandLine(const QStringList& arguments);

// Makes the pictures that a render or thumbnail command line asks for; returns the exit code.
// Needs an application object, but no display.
int RunCommandLine(const TCommandLine& line);
