#pragma once

#include <QString>

// An amount in Russian words, as the commercial documents print it. kind 0: roubles with
// kopecks, 1: a count of items, 2: kilograms. Amounts below 0, from 10^15 on, or not a number
// give "0.00"; the function never fails.
QString SumInWords(int kind, double amount);
