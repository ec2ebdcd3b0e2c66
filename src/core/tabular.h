// Card tables as data for other programs: CSV (RFC 4180), tab-separated
// values and JSON, each with the 19 field names as its columns or keys, and
// the way back from CSV and JSON into cards.
#pragma once

#include "card.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringView>
#include <array>
#include <span>
#include <vector>

// The 19 field names as the field lists show them, without their numbers:
// "Title1" ... "Memo", "Card ID". They head the CSV and TSV columns and are
// the JSON keys.
extern const std::array<QString, FieldCount> FieldColumnNames;

enum class TableFormat { Csv, Tsv, Json };

// Writes the cards onto an open device as UTF-8 without a byte-order mark:
//   Csv   a header row of the names, then a row per card; rows end in CR LF;
//         a field holding a comma, a double quote, a CR or an LF is quoted,
//         its double quotes doubled; every other field is written bare;
//   Tsv   the same rows separated by tabs and ended by LF; inside a field a
//         backslash is written \\, a tab \t, an LF \n and a CR \r;
//   Json  an array of objects, one line per card, each with the 19 keys in
//         field order and the texts as JSON strings.
// Every text is written to the character; an unpaired surrogate becomes
// U+FFFD. Returns true only when the device took every byte.
bool WriteCardTable(QIODevice& device, std::span<const Card> cards, TableFormat format);

// What reading a CSV or JSON table of cards came to.
struct TableReadResult {
    bool ok = false;
    QString error;  // why the table was refused; empty when ok
    CardRows cards;  // ok: one card per row or object, in order
    // ok: true for each card whose Card ID was absent or empty
    std::vector<bool> needsCardId;
};

// Reads a CSV table: UTF-8 (a byte-order mark at the start is skipped),
// rows ended by CR LF, LF or CR, quoted fields as RFC 4180 has them. The
// first row names the columns, each one of FieldColumnNames, in any order and
// each at most once; a field without a column stays empty. Every row must
// have as many fields as the header.
TableReadResult ReadCsvCards(const QByteArray& bytes);

// Reads a JSON array of objects whose keys are field names and whose values
// are strings; a key that is left out gives an empty field.
TableReadResult ReadJsonCards(const QByteArray& bytes);

// A Memo's line breaks as the card file holds them: a lone CR or a lone LF
// becomes CR LF.
QString MemoLineBreaks(QStringView memo);
