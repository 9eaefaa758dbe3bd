#pragma once

#include <QImage>

namespace ombrisa::report {

// The product logo printed at the top left of the client card: the program's logo (the blue speech
// bubble of every screen), built into the program, so the layout needs no file beside it.
QImage productLogo();
// The picture printed in place of an agent's photo when the card screen's photo cannot be copied.
QImage photoPlaceholder();

} // namespace ombrisa::report
