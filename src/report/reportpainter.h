#pragma once

#include "report/preparedreport.h"

#include <QFont>

class QPagedPaintDevice;
class QPainter;

namespace ombrisa::report {

// The face used for a family named by a layout: "Arial" and "Courier New" map to their
// metric-compatible Liberation faces when installed, "Verdana" and "Tahoma" to DejaVu Sans; any
// other family, or a missing face, falls back to DejaVu Sans (or DejaVu Sans Mono for fixed pitch).
QString resolveFamily(const QString& family);
QFont resolveFont(const FontDef& wanted);

// Draws one page with `painter` set up on a device whose origin is the printable area's top left;
// `dotsPerUnit` is the device's dots per report unit (its dots per inch / 96).
void paintPage(QPainter& painter, const PreparedPage& page, double dotsPerUnit);

// Sets the device's page layout to the report's and paints every page. False when painting could not
// start (for example, the file behind a PDF writer cannot be written).
bool paintReport(const PreparedReport& report, QPagedPaintDevice& device);
// Paints on a painter already active on a paged device (the preview window's printer).
void paintReport(const PreparedReport& report, QPainter& painter, QPagedPaintDevice& device);

} // namespace ombrisa::report
