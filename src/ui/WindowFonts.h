#pragma once

#include <QFont>

// The window's design names MS Sans Serif and Fixedsys; the system's sans-serif and
// monospace families stand in for them by substitution.
QFont sansSerifFont(double pointSize, bool bold = false);
QFont monospaceFont(double pointSize);
