#pragma once

#include <QImage>

namespace ombrisa::report {

// The product logo printed at the top left of the client card (drawn here, so the layout needs no
// file beside the program).
QImage productLogo();
// The picture printed in place of an agent's photo when the card screen's photo cannot be copied.
QImage photoPlaceholder();

} // namespace ombrisa::report
