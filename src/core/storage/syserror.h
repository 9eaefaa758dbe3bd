#pragma once

#include <QString>

namespace ombrisa {

// The Italian words for a system error number (errno), whatever the process's locale: the program and
// ombrisa-tool speak Italian also where the system's own messages would come in English. An unusual
// number reads "errore di sistema n. N".
QString systemErrorText(int err);

} // namespace ombrisa
