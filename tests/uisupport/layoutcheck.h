#pragma once

// Layout checks shared by the screens' layout tests: the controls a person sees, each inside the window,
// whole, and clear of the others.

#include <QList>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

class QWidget;

namespace ombrisa::test {

// Where `w` stands in `window`'s coordinates.
QRect onScreen(const QWidget* w, const QWidget* window);

// The visible children of `screen` (of some size) whose object name starts with one of `prefixes` or is one of `names`,
// and every visible caption label (property caption=true).
QList<QWidget*> layoutControls(const QWidget* screen, const QStringList& prefixes, const QStringList& names = {});

// Expects each control inside the screen, no caption, button or list narrower than its text needs, none
// lower than its minimum, and no two controls (one not inside the other) overlapping.
void expectFitsWithoutOverlap(const QWidget* screen, const QList<QWidget*>& controls);

// The name of a layout case: the window size, 1366x690.
inline std::string windowSizeName(const ::testing::TestParamInfo<QSize>& info) {
    return std::to_string(info.param.width()) + 'x' + std::to_string(info.param.height());
}

} // namespace ombrisa::test
