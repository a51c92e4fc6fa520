#pragma once
#include <QImage>
#include <QString>

// A PNG picture compiled into the program. Told the format, Qt decodes it
// with its own PNG reader at once, instead of first asking every installed
// image plugin whether it knows the data, which loads them all.
QImage readPng(const QString &path);
