#pragma once
#include <QString>

namespace talu::lookup {

// The small files in the program directory that remember the last search
// term of a search mode ("letzterort.txt", "letztesgrundstück.txt").

// As many characters (UTF-16 units) as the search field holds.
inline constexpr int kHoechstZeichen = 200;

// The term of the file's first line. A missing, empty, unreadable or binary
// file (or one that is no UTF-8 text), anything but a regular file, and a
// term longer than kHoechstZeichen give an empty term: the remembered
// term is a convenience and must never stop the search form.
QString leseMerkbegriff(const QString& pfad);

// Replaces the file with one line: the term followed by CR LF, in UTF-8.
// Returns false when the file could not be written.
bool schreibeMerkbegriff(const QString& pfad, const QString& begriff);

}  // namespace talu::lookup
