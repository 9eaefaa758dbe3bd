#pragma once

#include <QString>

namespace ombrisa {

// The program's version ("0.1.0"): the build's project version, the one number that --version of both
// programs, the information and splash screens and a backup's description show.
QString programVersion();

} // namespace ombrisa
