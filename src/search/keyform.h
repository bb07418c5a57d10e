#pragma once

#include <QString>

// The key form of a part number, in which catalogue rows and basket lines are compared: blanks,
// "(", ")", ",", "-", "." and every form of the letter x (Latin and Cyrillic, either case) are
// dropped, and a Latin capital I becomes the digit 1. Everything else, wildcards included, is
// kept as it is.
QString keyForm(const QString& number);
