#pragma once

#include <QString>
#include <ostream>

// gtest prints QString values as text. The one definition for every test
// program: the files of a program are compiled together in batches, so each
// file must not bring its own.
inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}
