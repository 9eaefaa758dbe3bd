#include "core/records/fieldtable.h"

namespace ombrisa {

int fieldIndex(FieldTable fields, QStringView name) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (name.compare(QLatin1String(fields[i].name), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

} // namespace ombrisa
