#include "core/version.h"

namespace ombrisa {

QString programVersion() {
    return QStringLiteral(OMBRISA_VERSION); // given by the build from the project's version
}

} // namespace ombrisa
