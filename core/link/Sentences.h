// Sentences put one after another, as each language writes them.
#pragma once

#include <QString>

// English puts a space between two sentences, Chinese none; an empty one adds nothing.
QString Then(const QString& first, const QString& second);
