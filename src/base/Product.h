// Product identity: the table of product records and the build's own product number.
#pragma once

#include <QString>

inline constexpr int PRODUCT_NUMBER = 26;
inline constexpr int PRODUCT_COUNT = 27;

struct ProductRecord {
    const char* title;   // application name and window titles
    const char* caption; // the one line under the version in the main window
};

// Texts of record n; empty for records that are not filled or out of range.
QString GetProductTitle(int n);
QString GetProductCaption(int n);
