#include "toolkit/Csv.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

// Tables show in failures as the CSV they write.
static void PrintTo(const TCsvTable& table, std::ostream* out) { *out << WriteCsv(table).toStdString(); }

namespace {

// Text as given; QString::fromUtf8 and fromUtf16 would take a leading U+FEFF for a byte-order mark.
QString U(const char16_t* utf16) { return QStringView(utf16).toString(); }

// The error text that reading `bytes` raises, or a text saying that it reads.
std::string ReadError(QByteArrayView bytes, const TCsvLimits& limits = {}) {
  try {
    ReadCsv(bytes, limits);
  } catch (const ECsvError& error) {
    return error.what();
  }
  return "(reads)";
}

struct ReadCase {
  const char* name;
  QByteArray bytes;
  TCsvTable table;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

class ReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadTest, ReadsTheTable) { EXPECT_EQ(ReadCsv(GetParam().bytes), GetParam().table); }

INSTANTIATE_TEST_SUITE_P(
    Tables, ReadTest,
    testing::Values(ReadCase{"CrLf", "a,b\r\n1,2\r\n3,4\r\n", {{"a", "b"}, {{"1", "2"}, {"3", "4"}}}},
                    ReadCase{"NoFinalLineBreak", "a,b\r\n1,2", {{"a", "b"}, {{"1", "2"}}}},
                    ReadCase{"LoneLf", "a,b\n1,2\n", {{"a", "b"}, {{"1", "2"}}}},
                    ReadCase{"HeaderOnly", "a,b\r\n", {{"a", "b"}, {}}},
                    ReadCase{"HeaderOnlyNoLineBreak", "a", {{"a"}, {}}},
                    ReadCase{"ByteOrderMark", "\xEF\xBB\xBF" "a,b\n1,2", {{"a", "b"}, {{"1", "2"}}}},
                    ReadCase{"ByteOrderMarksPastTheFirstStay",
                             "\xEF\xBB\xBF\xEF\xBB\xBF" "a,b\n\xEF\xBB\xBF,\xEF\xBB\xBF" "c",
                             {{U(u"\uFEFFa"), "b"}, {{U(u"\uFEFF"), U(u"\uFEFFc")}}}},
                    ReadCase{"QuotedComma", "a,b\n\"1,5\",2\n", {{"a", "b"}, {{"1,5", "2"}}}},
                    ReadCase{"DoubledQuotes", "a\n\"say \"\"hi\"\"\"\n\"\"\"\"\n", {{"a"}, {{"say \"hi\""}, {"\""}}}},
                    ReadCase{"LineBreaksInsideQuotesStayAsWritten",
                             "a,b,c\n\"x\r\ny\",\"p\nq\",\"r\rs\"\n",
                             {{"a", "b", "c"}, {{"x\r\ny", "p\nq", "r\rs"}}}},
                    ReadCase{"QuotedHeader", "\"a,b\",\"c\"\"\"\n1,2", {{"a,b", "c\""}, {{"1", "2"}}}},
                    ReadCase{"EmptyValues",
                             "a,b,c\n,,\n\"\",x,\"\"\n,,",
                             {{"a", "b", "c"}, {{"", "", ""}, {"", "x", ""}, {"", "", ""}}}},
                    ReadCase{
                        "EmptyLinesAreEmptyValuesOfOneColumn", "a\n\nx\r\n\r\n\n", {{"a"}, {{""}, {"x"}, {""}, {""}}}},
                    ReadCase{"SpacesBelongToTheValue", "a, b \n x ,\" y \"", {{"a", " b "}, {{" x ", " y "}}}},
                    ReadCase{"NonAscii",
                             "名前,値\r\n日本,\"😀,é\"\r\nÅ,\xEF\xBF\xBF",
                             {{U(u"名前"), U(u"値")}, {{U(u"日本"), U(u"😀,é")}, {U(u"Å"), U(u"\uFFFF")}}}},
                    ReadCase{"NulIsAValueCharacter", QByteArray("a\n\0b", 4), {{"a"}, {{QString(QChar(0)) + "b"}}}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

struct BadCase {
  QByteArray bytes;
  std::string error;
};

TEST(CsvTest, BadTablesNameWhereAndWhy) {
  const BadCase cases[] = {
      {"", "line 1, column 1: the table is empty: it has no header"},
      {"\xEF\xBB\xBF", "line 1, column 1: the table is empty: it has no header"},
      {"\n", "line 1, column 1: header column 1 has no name"},
      {"a,,c", "line 1, column 3: header column 2 has no name"},
      {"a,b,\n", "line 1, column 5: header column 3 has no name"},
      {"x,y,\"x\"", "line 1, column 5: header column 3 has the same name as header column 1"},
      {"a,b\n1,2\n3\n", "line 3, column 1: data row 2 has 1 value where the header has 2 names"},
      {"a\n1,2", "line 2, column 1: data row 1 has 2 values where the header has 1 name"},
      {"a,b\n1,2\n\n3,4", "line 3, column 1: data row 2 has 1 value where the header has 2 names"},
      {"a,b\n1,\"x\ny\"\n2", "line 4, column 1: data row 2 has 1 value where the header has 2 names"},
      {"a\nb\"c", "line 2, column 2: a quote inside an unquoted value"},
      {"\xEF\xBB\xBF" "a\"", "line 1, column 2: a quote inside an unquoted value"},
      {"a,b\n\"1\n2\",3\"", "line 3, column 5: a quote inside an unquoted value"},
      {"a\n\"b\"c",
       "line 2, column 4: text after the closing quote of a value, where only a comma or a line break may follow"},
      {"a\n\"b\" \n",
       "line 2, column 4: text after the closing quote of a value, where only a comma or a line break may follow"},
      {"a,b\n1,\"x\ny", "line 2, column 3: a quoted value that is never closed"},
      {"a\n\"x\"\"", "line 2, column 1: a quoted value that is never closed"},
      {"a\rb", "line 1, column 2: a carriage return without a line feed after it"},
      {"a\n1\r", "line 2, column 2: a carriage return without a line feed after it"},
      {"a\n\"1\"\r,", "line 2, column 4: a carriage return without a line feed after it"},
      {"a\nné\xFFx", "line 2, column 3: bytes that are not valid UTF-8"},
      {"日本,\xC0\x80", "line 1, column 4: bytes that are not valid UTF-8"},        // overlong NUL
      {"a\n\xE0\x9F\xBF", "line 2, column 1: bytes that are not valid UTF-8"},      // overlong U+07FF
      {"a\n\xED\xA0\x80", "line 2, column 1: bytes that are not valid UTF-8"},      // a surrogate
      {"a\n\xF4\x90\x80\x80", "line 2, column 1: bytes that are not valid UTF-8"},  // past U+10FFFF
      {"a\n\xF5\x80\x80\x80", "line 2, column 1: bytes that are not valid UTF-8"},
      {"a\n\xE3\x81", "line 2, column 1: bytes that are not valid UTF-8"},    // cut off by the end
      {"a\nx\xE3\x81,", "line 2, column 2: bytes that are not valid UTF-8"},  // cut off by a comma
      {"a\n\x80", "line 2, column 1: bytes that are not valid UTF-8"},
      {"a\n\"x\n\xC3\"", "line 3, column 1: bytes that are not valid UTF-8"},
  };
  for (const BadCase& c : cases) EXPECT_EQ(ReadError(c.bytes), c.error) << c.bytes.toStdString();
}

TEST(CsvTest, ErrorsTellTheirLineAndColumn) {
  try {
    ReadCsv("a,b\n1,2\n\"é\",x\"");
    FAIL() << "reads";
  } catch (const ECsvError& error) {
    EXPECT_EQ(error.Line(), 3);
    EXPECT_EQ(error.Column(), 6);
  }
}

struct LimitCase {
  TCsvLimits limits;
  QByteArray within;  // a table right at the limit
  QByteArray beyond;
  std::string error;
};

TEST(CsvTest, TablesPastALimitAreRefusedWithItsName) {
  const LimitCase cases[] = {
      {{.MaxBytes = 8}, "a,b\n1,2\n", "a,b\n1,2\n3", "line 3, column 1: the table is longer than the limit of 8 bytes"},
      {{.MaxBytes = 6}, "\xEF\xBB\xBF" "a\nb", "\xEF\xBB\xBF" "éaé",
       "line 1, column 3: the table is longer than the limit of 6 bytes"},
      {{.MaxRows = 2}, "a\n1\n2\n", "a\n1\n2\n3", "line 4, column 1: more data rows than the limit of 2"},
      {{.MaxColumns = 2}, "a,b\n1,2", "a,b,c\n1,2,3",
       "line 1, column 5: a record of more values than the limit of 2 columns"},
      {{.MaxColumns = 2}, "a,b\n1,2", "a,b\n1,2,3",
       "line 2, column 5: a record of more values than the limit of 2 columns"},
      {{.MaxValueLength = 3}, "abc\n\"x\"\"y\"", "abc\né€",
       "line 2, column 1: a value longer than the limit of 3 bytes"},
      {{.MaxValueLength = 3}, "abc\n\"x,y\"", "abc\n\"x,yz\"",
       "line 2, column 1: a value longer than the limit of 3 bytes"},
      {{.MaxValues = 4}, "a,b\n1,2", "a,b\n1,2\n3,4", "line 3, column 1: more values than the limit of 4 in the table"},
  };
  for (const LimitCase& c : cases) {
    EXPECT_EQ(ReadError(c.within, c.limits), "(reads)") << c.within.toStdString();
    EXPECT_EQ(ReadError(c.beyond, c.limits), c.error) << c.beyond.toStdString();
  }
}

TEST(CsvTest, WritesQuotesExactlyWhereTheyAreNeeded) {
  const TCsvTable table{{U(u"\uFEFFa"), "b c", U(u"日")},
                        {{"", "x,y", "say \"hi\""}, {"p\r\nq", "r\rs", "t\nu"}, {U(u"\uFEFFv"), " ", ""}}};
  EXPECT_EQ(WriteCsv(table), "\"\xEF\xBB\xBF" "a\",b c,日\r\n"
                             ",\"x,y\",\"say \"\"hi\"\"\"\r\n"
                             "\"p\r\nq\",\"r\rs\",\"t\nu\"\r\n"
                             "\xEF\xBB\xBF" "v, ,\r\n");
  const TCsvTable oneColumn{{"a"}, {{""}, {"b"}, {""}}};
  EXPECT_EQ(WriteCsv(oneColumn), "a\r\n\"\"\r\nb\r\n\"\"\r\n");
}

// A value made of pieces that matter to the format, now and then long.
QString RandomValue(std::mt19937& random) {
  static const char16_t* const pieces[] = {u"a", u"Z9", u",", u"\"", u"\"\"", u"\r", u"\n",
                                           u"\r\n", u" ", u"é", u"日本", u"😀", u"\uFEFF"};
  std::uniform_int_distribution<int> piece(0, std::size(pieces) - 1);
  const int count = std::uniform_int_distribution<int>(0, 9)(random) == 0 ? 3000 : random() % 6;
  QString value;
  for (int i = 0; i < count; ++i) value += U(pieces[piece(random)]);
  return value;
}

TEST(CsvTest, EveryTableReadsBackAsWritten) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    const int columns = 1 + random() % 5;
    TCsvTable table;
    // The '#' and the number make the names unique, since no piece holds a '#'.
    for (int c = 0; c < columns; ++c) table.Header.append(RandomValue(random) + "#" + QString::number(c));
    for (int r = 0, rows = random() % 8; r < rows; ++r) {
      QStringList row;
      for (int c = 0; c < columns; ++c) row.append(RandomValue(random));
      table.Rows.append(row);
    }
    const QByteArray written = WriteCsv(table);
    EXPECT_EQ(ReadCsv(written), table) << "seed " << seed;
  }
}

TEST(CsvTest, HeaderNamesAndEmptyValuesAloneInTheirRecordReadBack) {
  const TCsvTable tables[] = {
      {{U(u"\uFEFF")}, {{""}}},
      {{U(u"\uFEFF\uFEFF"), "b"}, {{U(u"\uFEFF"), ""}}},
      {{"a"}, {{""}, {""}}},
      {{" "}, {{" "}}},
  };
  for (const TCsvTable& table : tables) EXPECT_EQ(ReadCsv(WriteCsv(table)), table) << WriteCsv(table).toStdString();
}

}  // namespace
