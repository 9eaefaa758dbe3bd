#pragma once

// Call durations as operators type them in the call card's free-text "Durata" box.

#include <QStringView>
#include <optional>

namespace ombrisa {

// The duration in seconds, or nothing when the text is not one of the forms below. Case, blanks,
// "circa" / "ca." and a final full stop do not matter; "," and "." are both decimal separators.
//
//   form                                   example                      seconds
//   a number alone: minutes                "15", "7,5"                  900, 450
//   number + minutes word or sign          "4 minuti", "4 min", "4m", "10'"   240, 240, 240, 600
//   number + hours word                    "2 ore", "1 ora", "1h", "1,5 ore"  7200, 3600, 3600, 5400
//   number + seconds word or sign          "90 secondi", "90 sec", "90s", "30\"", "30''"
//   several parts, "e" between them        "1h 10m", "1 ora e 10 minuti", "2 minuti e 30 secondi"
//   a bare number after a part: the next   "1 ora e 10" (70 min), "2 min 30" (150 s), "10'30"
//   smaller unit
//   half, quarters                         "mezz'ora", "un quarto d'ora", "tre quarti d'ora",
//                                          "1 ora e mezza", "2 minuti e mezzo", "un'ora"
//   number words                           "un minuto", "due minuti", "dieci minuti", "venti minuti"
//   clock, hours:minutes:seconds           "00:07:30", "1:02:03", "0:00:45"   450, 3723, 45
//   clock, minutes:seconds (a call timer)  "7:30", "59:59", "0:00", "75:10"   450, 3599, 0, 4510
//
// Not read: empty text, words it does not know ("breve", "lunga"), negative numbers, a unit without a
// number before it, clock forms whose minutes or seconds are not two digits below 60 ("7:75", "1:2",
// ":30") or that carry anything but "circa" besides them ("7:30 minuti").
std::optional<int> parseDuration(QStringView text);

} // namespace ombrisa
